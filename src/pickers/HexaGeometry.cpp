#include "pickers/HexaGeometry.h"

#include "colormodel/HTMLColors.h"
#include "pickers/HintFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tintara {

namespace {

// Large enough for any screen, small enough that no coordinate of the layout leaves the int range.
constexpr int kMaxRadius = 1 << 16;

// cos 30 and sin 30. The corner table takes the exact values where they are exact (0, 1/4, 1/2):
// halves then round to even wherever a comb stands, as the arithmetic means, instead of tipping
// either way with the last bit of a sine.
constexpr long double kCos30 = 0.866025403784438646763723170752936183L; // sqrt(3) / 2
constexpr long double kSin30 = 0.5L;

struct CornerTable {
    std::array<long double, 6> a; // cos(90 - 60 i) / 2
    std::array<long double, 6> b; // sin(90 - 60 i) / 2
};

constexpr CornerTable kCorners{
    {0.0L, kCos30 / 2, kCos30 / 2, 0.0L, -kCos30 / 2, -kCos30 / 2},
    {0.5L, kSin30 / 2, -kSin30 / 2, -0.5L, -kSin30 / 2, kSin30 / 2},
};

// Magenta, red, yellow, green, cyan, blue: corner 0 east, then clockwise on the screen.
constexpr std::array<CombColor, 6> kCornerColors{{
    {1, 0, 1},
    {1, 0, 0},
    {1, 1, 0},
    {0, 1, 0},
    {0, 1, 1},
    {0, 0, 1},
}};

// The same directions on the exact lattice: rows of sqrt(3)/4 (the sign of a_i) and quarter units
// across (4 b_i). Reading order is decided on these, not on rounded pixels.
constexpr std::array<int, 6> kLatticeRow{0, 1, 1, 0, -1, -1};
constexpr std::array<int, 6> kLatticeQuarter{2, 1, -1, -2, -1, 1};

// Round to nearest, ties to even, in the precision the positions are accumulated in. Adding and
// removing 1.5 * 2^63 leaves no fraction bits of an extended real, so the FPU's own rounding does the
// work without the cost of switching its mode (nearbyint saves and restores it on every call).
int roundLong(long double x)
{
    constexpr long double kLimit = 1e9L;
    if (!(x > -kLimit && x < kLimit))
        return x > 0 ? 1000000000 : (x < 0 ? -1000000000 : 0);
    if (std::numeric_limits<long double>::digits < 64)
        return static_cast<int>(std::nearbyint(x));
    constexpr long double kShifter = 0x1.8p63L;
    return static_cast<int>((x + kShifter) - kShifter);
}

constexpr std::array<int, 15> kGreyGridNumbers{-1, -9, -2, -10, -3, -11, -4, -12, -5, -13, -6, -14, -7, -15, -8};

bool contains(const TCombEntry& comb, long long dx, long long dy, long long r)
{
    dx -= comb.Position.x;
    dy -= comb.Position.y;
    return dx * dx + dy * dy <= r * r;
}

} // namespace

// --- layout ---------------------------------------------------------------------------------------

HexaLayout CalculateLayout(int radius, int sliderWidth)
{
    HexaLayout l;
    const int r = radius;
    const int s = Round(static_cast<double>(r) / (kHexaLevels - 1) + 1);
    const int t = -(r / 8);
    l.CombSize = s;
    l.ColorCombRect = {0, t, 2 * r, 2 * r + t};
    const TRect& c = l.ColorCombRect;
    l.BWCombRect = {c.Left, c.Bottom - 4, roundLong(kCos30 * 17 * s / 2) + 6 * s, c.Bottom + 2 * s};
    l.SliderRect = {c.Right, s, c.Right + sliderWidth + 10, c.Bottom - s};
    return l;
}

std::optional<int> radiusForSize(int width, int height, int sliderWidth)
{
    if (width < kHexaMinWidth || height < kHexaMinHeight)
        return std::nullopt;
    const int byWidth = Round((static_cast<double>(width) - sliderWidth - 10) / 2);
    const int byHeight = Round((static_cast<double>(height) - 6) * 24 / 53);
    const int r = std::min(byWidth, byHeight);
    if (r < 1)
        return std::nullopt;
    return std::min(r, kMaxRadius);
}

// --- combs ----------------------------------------------------------------------------------------

TColor combColorToTColor(const CombColor& c)
{
    // The single-precision channel times 255 is exact in double; only the rounding remains.
    auto byte = [](float v) { return Round(static_cast<double>(v) * 255.0) & 0xFF; };
    return rgbColor(byte(c[0]), byte(c[1]), byte(c[2]));
}

TCombArray buildColorCombs(int radius, const CombColor& center)
{
    constexpr int L = kHexaLevels;
    const CornerTable& k = kCorners;
    const long double d = 2.0L * radius * kCos30;
    TCombArray combs;
    combs.reserve(kHexaColorCombCount);
    combs.push_back({{0, 0}, combColorToTColor(center), 0});
    for (int c = 0; c < 6; ++c) {
        const auto cs = static_cast<std::size_t>(c);
        const auto ns = static_cast<std::size_t>((c + 1) % 6);
        long double startX = 0, startY = 0, endX = 0, endY = 0;
        CombColor startColor = center;
        CombColor endColor = center;
        for (int r = 0; r < L; ++r) {
            if (r > 0) {
                const long double stepX = (endX - startX) / r;
                const long double stepY = (endY - startY) / r;
                CombColor colorStep{};
                for (std::size_t ch = 0; ch < 3; ++ch)
                    colorStep[ch] = static_cast<float>((static_cast<double>(endColor[ch]) - startColor[ch]) / r);
                long double x = startX;
                long double y = startY;
                CombColor color = startColor;
                for (int j = 0; j < r; ++j) {
                    combs.push_back({{roundLong(x), roundLong(y)}, combColorToTColor(color), 0});
                    x += stepX;
                    y += stepY;
                    for (std::size_t ch = 0; ch < 3; ++ch)
                        color[ch] += colorStep[ch];
                }
            }
            startX += k.b[cs] * d / (L - 1);
            startY += k.a[cs] * d / (L - 1);
            endX += k.b[ns] * d / (L - 1);
            endY += k.a[ns] * d / (L - 1);
            for (std::size_t ch = 0; ch < 3; ++ch) {
                startColor[ch] +=
                    static_cast<float>((static_cast<double>(kCornerColors[cs][ch]) - center[ch]) / (L - 1));
                endColor[ch] += static_cast<float>((static_cast<double>(kCornerColors[ns][ch]) - center[ch]) / (L - 1));
            }
        }
    }
    return combs;
}

TCombArray buildBWCombs(int combSize)
{
    const int s = combSize;
    const int w = roundLong(s * kCos30 / 2);
    const int h = roundLong((kSin30 + 1) * s / 2);
    const int y0 = 3 * (s / 4);
    TCombArray combs(kHexaBWCombCount);
    combs[0] = {{s, s}, clWhite, 0};
    for (int i = 1; i <= 15; ++i) {
        const int k = i - 1;
        const int g = 15 * (16 - i);
        const int y = k % 2 == 0 ? y0 : y0 + h;
        combs[static_cast<std::size_t>(i)] = {{k * w + 3 * s, y}, rgbColor(g, g, g), 0};
    }
    combs[16] = {{16 * w + 4 * s, s}, clBlack, 0};
    return combs;
}

namespace {

// The grid number of each colour comb by array index: its rank in reading order of the exact lattice
// positions. Fixed, so worked out once.
const std::array<int, kHexaColorCombCount>& colorGridNumbers()
{
    static const std::array<int, kHexaColorCombCount> numbers = [] {
        struct Cell {
            int row;
            int across;
            std::size_t index;
        };
        std::vector<Cell> cells;
        cells.reserve(kHexaColorCombCount);
        cells.push_back({0, 0, 0});
        for (int c = 0; c < 6; ++c) {
            const auto cs = static_cast<std::size_t>(c);
            const auto ns = static_cast<std::size_t>((c + 1) % 6);
            for (int r = 1; r < kHexaLevels; ++r) {
                for (int j = 0; j < r; ++j) {
                    cells.push_back({(r - j) * kLatticeRow[cs] + j * kLatticeRow[ns],
                                     (r - j) * kLatticeQuarter[cs] + j * kLatticeQuarter[ns], cells.size()});
                }
            }
        }
        std::sort(cells.begin(), cells.end(),
                  [](const Cell& p, const Cell& q) { return p.row != q.row ? p.row < q.row : p.across < q.across; });
        std::array<int, kHexaColorCombCount> out{};
        for (std::size_t n = 0; n < cells.size(); ++n)
            out[cells[n].index] = static_cast<int>(n) + 1;
        return out;
    }();
    return numbers;
}

} // namespace

void AssignGridNumbers(TCombArray& colorCombs, TCombArray& bwCombs)
{
    if (colorCombs.size() == static_cast<std::size_t>(kHexaColorCombCount)) {
        const auto& numbers = colorGridNumbers();
        for (std::size_t i = 0; i < colorCombs.size(); ++i)
            colorCombs[i].GridNumber = numbers[i];
    }
    if (bwCombs.size() == static_cast<std::size_t>(kHexaBWCombCount)) {
        bwCombs[0].GridNumber = 0;
        for (std::size_t i = 1; i <= 15; ++i)
            bwCombs[i].GridNumber = kGreyGridNumbers[i - 1];
        bwCombs[16].GridNumber = 64;
    }
}

std::array<TPoint, 6> combPolygon(int a, TPoint centre)
{
    const CornerTable& k = kCorners;
    std::array<TPoint, 6> v{};
    for (std::size_t i = 0; i < 6; ++i)
        v[i] = {roundLong(a * k.a[i] + centre.x), roundLong(a * k.b[i] + centre.y)};
    return v;
}

CombShape::CombShape(int a) : size_(a)
{
    for (int parity = 0; parity < 2; ++parity) {
        const std::array<TPoint, 6> v = combPolygon(a, {parity, parity});
        for (std::size_t i = 0; i < 6; ++i) {
            dx_[static_cast<std::size_t>(parity)][i] = v[i].x - parity;
            dy_[static_cast<std::size_t>(parity)][i] = v[i].y - parity;
        }
    }
}

std::array<TPoint, 6> CombShape::at(TPoint centre) const
{
    const auto px = static_cast<std::size_t>(centre.x & 1);
    const auto py = static_cast<std::size_t>(centre.y & 1);
    std::array<TPoint, 6> v{};
    for (std::size_t i = 0; i < 6; ++i)
        v[i] = {centre.x + dx_[px][i], centre.y + dy_[py][i]};
    return v;
}

int sliderGreyLevel(int n, int k)
{
    if (n <= 0)
        return 255;
    return std::clamp(Round(static_cast<double>(n - k) * 255 / n), 0, 255);
}

std::array<TPoint, 7> sliderMarker(int width, int height, float intensityFactor, int n)
{
    const int p = Round((1.0 - static_cast<double>(intensityFactor)) * (static_cast<double>(n) + 1));
    int a = std::max(p + 5, 6);
    a = std::min(a, height - 7);
    const int c = a + 5;
    const int w = width;
    return {
        {{w - 8, c}, {w - 4, c - 4}, {w - 2, c - 4}, {w - 1, c - 3}, {w - 1, c + 3}, {w - 2, c + 4}, {w - 4, c + 4}}};
}

std::string FormatHint(std::string_view format, TColor c)
{
    const std::string red = std::to_string(redOf(c));
    const std::string green = std::to_string(greenOf(c));
    const std::string blue = std::to_string(blueOf(c));
    const std::string hex = ColorToHexText(c);
    return formatHint(format, {{"%r", red}, {"%g", green}, {"%b", blue}, {"%h", hex}});
}

std::string intensityHintText(int intensity)
{
    return "Intensity: " + std::to_string(intensity) + "%";
}

int NextGridNumber(int g)
{
    if (g == kHexaColorCombCount)
        return -1;
    if (g == -15)
        return 1;
    return g > 0 ? g + 1 : g - 1;
}

int PrevGridNumber(int g)
{
    if (g == 1)
        return -15;
    if (g == -1)
        return kHexaColorCombCount;
    return g > 0 ? g - 1 : g + 1;
}

// --- the model ------------------------------------------------------------------------------------

HexaCombModel::HexaCombModel()
{
    CalculateLayout();
    BuildCombs();
}

void HexaCombModel::CalculateLayout()
{
    layout_ = tintara::CalculateLayout(radius_, sliderWidth_);
}

void HexaCombModel::invalidate()
{
    if (OnInvalidate)
        OnInvalidate();
}

void HexaCombModel::SetRadius(int r)
{
    r = std::clamp(r, 1, kMaxRadius);
    if (r == radius_)
        return;
    radius_ = r;
    CalculateLayout();
    BuildCombs();
}

void HexaCombModel::setSliderWidth(int width)
{
    sliderWidth_ = std::clamp(width, 0, kMaxRadius);
    CalculateLayout();
    BuildCombs();
}

void HexaCombModel::resizeTo(int width, int height)
{
    if (const std::optional<int> r = radiusForSize(width, height, sliderWidth_))
        SetRadius(*r);
}

void HexaCombModel::BuildCombs()
{
    colorCombs_ = buildColorCombs(radius_, centerColor_);
    bwCombs_ = buildBWCombs(layout_.CombSize);
    AssignGridNumbers(colorCombs_, bwCombs_);
    ++combsVersion_;
    invalidate();
}

int HexaCombModel::FindColorComb(int x, int y) const
{
    const long long dx = static_cast<long long>(x) - radius_ - layout_.ColorCombRect.Left;
    const long long dy = static_cast<long long>(y) - radius_ - layout_.ColorCombRect.Top;
    const long long r = layout_.CombSize / 2;
    for (std::size_t i = 0; i < colorCombs_.size(); ++i) {
        if (contains(colorCombs_[i], dx, dy, r))
            return static_cast<int>(i);
    }
    return -1;
}

int HexaCombModel::FindBWComb(int x, int y) const
{
    const long long dx = static_cast<long long>(x) - layout_.BWCombRect.Left;
    const long long dy = static_cast<long long>(y) - layout_.BWCombRect.Top;
    const int s = layout_.CombSize;
    for (std::size_t i = 0; i < bwCombs_.size(); ++i) {
        const bool big = i == 0 || i == 16;
        if (contains(bwCombs_[i], dx, dy, big ? s : s / 2))
            return static_cast<int>(i);
    }
    return -1;
}

// --- selection ------------------------------------------------------------------------------------

void HexaCombModel::setSelectedComb(int comb)
{
    // The arrow keys step from the comb that was last selected; nothing selected leaves that alone.
    if (comb > 0)
        keyComb_ = comb - 1;
    else if (comb < 0)
        keyComb_ = comb + 1; // -k for grey comb k
    if (comb == selectedComb_)
        return;
    selectedComb_ = comb;
    invalidate();
}

void HexaCombModel::setSelectedColor(TColor v)
{
    selectedColor_ = v;
    LocateColor(v);
    if (OnChange)
        OnChange();
}

void HexaCombModel::LocateColor(TColor v)
{
    if (isSystemColor(v))
        v = ResolveSystemColor ? ResolveSystemColor(v) : clBlack;
    if (colorCombs_.empty())
        BuildCombs();
    selectionMatched_ = false;
    for (std::size_t i = 0; i < bwCombs_.size(); ++i) {
        if (bwCombs_[i].Color == v) {
            selectionMatched_ = true;
            setSelectedComb(-(static_cast<int>(i) + 1));
            return;
        }
    }
    for (std::size_t j = 0; j < colorCombs_.size(); ++j) {
        if (colorCombs_[j].Color == v) {
            selectionMatched_ = true;
            setSelectedComb(static_cast<int>(j) + 1);
            return;
        }
    }
    setSelectedComb(0);
}

void HexaCombModel::ReselectComb()
{
    if (selectedComb_ < 0) {
        const auto k = static_cast<std::size_t>(-selectedComb_ - 1);
        setSelectedColor(k < bwCombs_.size() ? bwCombs_[k].Color : clNone);
    } else if (selectedComb_ == 0) {
        setSelectedColor(clNone);
    } else {
        const auto j = static_cast<std::size_t>(selectedComb_ - 1);
        setSelectedColor(j < colorCombs_.size() ? colorCombs_[j].Color : clNone);
    }
}

bool HexaCombModel::centerOutlined() const
{
    if (colorCombs_.empty())
        return false;
    const TColor centre = colorCombs_[0].Color;
    return (selectedComb_ == -1 && centre == clWhite) || (selectedComb_ == -kHexaBWCombCount && centre == clBlack);
}

// --- intensity ------------------------------------------------------------------------------------

int HexaCombModel::Intensity() const
{
    return Round(static_cast<double>(intensityFactor_) * 100);
}

void HexaCombModel::setIntensity(int v)
{
    applyIntensityFactor(static_cast<float>(v / 100.0));
}

void HexaCombModel::applyIntensityFactor(float factor)
{
    factor = std::clamp(factor, 0.0f, 1.0f);
    // The same factor gives the same combs; the events still follow.
    const bool rebuild = factor != intensityFactor_ || colorCombs_.empty();
    intensityFactor_ = factor;
    centerColor_ = {factor, factor, factor};
    if (rebuild)
        BuildCombs();
    ReselectComb();
    if (OnIntensityChange)
        OnIntensityChange();
}

void HexaCombModel::StepIntensity(bool up)
{
    const long long current = Intensity();
    const long long step = intensityIncrement_;
    const long long v = up ? std::min(current + step, 100LL) : std::max(current - step, 0LL);
    setIntensity(static_cast<int>(std::clamp(v, -1LL, 101LL)));
}

// --- keys -----------------------------------------------------------------------------------------

int HexaCombModel::CurrentGridNumber() const
{
    if (keyComb_ < 0) {
        const auto k = static_cast<std::size_t>(-keyComb_);
        return k < bwCombs_.size() ? bwCombs_[k].GridNumber : 64;
    }
    const auto j = static_cast<std::size_t>(keyComb_);
    return j < colorCombs_.size() ? colorCombs_[j].GridNumber : 64;
}

void HexaCombModel::SelectByGridNumber(int g)
{
    if (g > 0) {
        for (const TCombEntry& comb : colorCombs_) {
            if (comb.GridNumber == g) {
                setSelectedColor(comb.Color);
                return;
            }
        }
        return;
    }
    for (std::size_t i = 1; i + 1 < bwCombs_.size(); ++i) {
        if (bwCombs_[i].GridNumber == g) {
            setSelectedColor(bwCombs_[i].Color);
            return;
        }
    }
}

void HexaCombModel::arrowKey(HexaKey key, bool ctrl)
{
    switch (key) {
    case HexaKey::Left:
        if (ctrl)
            setSelectedColor(clWhite);
        else
            SelectByGridNumber(PrevGridNumber(CurrentGridNumber()));
        return;
    case HexaKey::Right:
        if (ctrl)
            setSelectedColor(clBlack);
        else
            SelectByGridNumber(NextGridNumber(CurrentGridNumber()));
        return;
    case HexaKey::Up:
        if (ctrl)
            setIntensity(100);
        else
            StepIntensity(true);
        return;
    case HexaKey::Down:
        if (ctrl)
            setIntensity(0);
        else
            StepIntensity(false);
        return;
    }
}

// --- mouse ----------------------------------------------------------------------------------------

void HexaCombModel::mouseMove(TPoint p, bool leftHeld)
{
    lastMousePos_ = p;
    colorUnderCursor_ = clNone;
    inCombArea_ = false;
    // The grey area first: it wins where the two overlap.
    if (PtInRect(layout_.BWCombRect, p)) {
        const int i = FindBWComb(p.x, p.y);
        if (i >= 0)
            colorUnderCursor_ = bwCombs_[static_cast<std::size_t>(i)].Color;
        inCombArea_ = true;
    } else if (PtInRect(layout_.ColorCombRect, p)) {
        const int i = FindColorComb(p.x, p.y);
        if (i >= 0)
            colorUnderCursor_ = colorCombs_[static_cast<std::size_t>(i)].Color;
        inCombArea_ = true;
    }
    if (leftHeld)
        handleMouse(p);
}

void HexaCombModel::mouseDown(TPoint p, const TRect& client)
{
    // Between presses no area is tracked; a drag whose release never arrived (the control was hidden
    // under the pointer) must not hold the next press to its area.
    trackArea_ = HexaTrackArea::None;
    if (PtInRect(client, p))
        handleMouse(p);
}

void HexaCombModel::mouseUp()
{
    const HexaTrackArea area = trackArea_;
    trackArea_ = HexaTrackArea::None;
    if (selectionMatched_ && selectedComb_ != 0 &&
        (area == HexaTrackArea::ColorCombs || area == HexaTrackArea::GreyCombs))
        ReselectComb();
}

void HexaCombModel::handleMouse(TPoint p)
{
    const TRect& slider = layout_.SliderRect;
    // A drag that began on the slider follows it while x stays within its columns; y clamps.
    if ((PtInRect(slider, p) && trackArea_ == HexaTrackArea::None) ||
        (slider.Left <= p.x && p.x <= slider.Right && trackArea_ == HexaTrackArea::Slider)) {
        trackArea_ = HexaTrackArea::Slider;
        const double span = slider.Bottom - slider.Top;
        float factor = p.y < slider.Top ? 1.0f : 0.0f;
        if (span > 0)
            factor = static_cast<float>(1.0 - (static_cast<double>(p.y) - slider.Top) / span);
        applyIntensityFactor(factor);
        return;
    }
    if (PtInRect(layout_.BWCombRect, p) &&
        (trackArea_ == HexaTrackArea::None || trackArea_ == HexaTrackArea::GreyCombs)) {
        trackArea_ = HexaTrackArea::GreyCombs;
        const int i = FindBWComb(p.x, p.y);
        if (i >= 0) {
            if (selectedComb_ != -(i + 1)) {
                setSelectedComb(-(i + 1));
                ReselectComb();
            }
            return;
        }
    }
    if (PtInRect(layout_.ColorCombRect, p) &&
        (trackArea_ == HexaTrackArea::None || trackArea_ == HexaTrackArea::ColorCombs)) {
        trackArea_ = HexaTrackArea::ColorCombs;
        const int i = FindColorComb(p.x, p.y);
        if (i >= 0 && selectedComb_ != i + 1) {
            setSelectedComb(i + 1);
            ReselectComb();
        }
    }
}

// --- hint -----------------------------------------------------------------------------------------

HexaHint HexaCombModel::hint(TPoint cursor, bool leftHeld, std::string_view format) const
{
    const TRect& slider = layout_.SliderRect;
    if (colorUnderCursor_ == clNone && !PtInRect(slider, lastMousePos_))
        return {};
    if (PtInRect(slider, cursor))
        return {HexaHint::Kind::Intensity, intensityHintText(Intensity()), {slider.Right, cursor.y - 8}};
    const TCombEntry* comb = nullptr;
    if (PtInRect(layout_.BWCombRect, cursor)) {
        const int i = leftHeld ? -selectedComb_ - 1 : FindBWComb(cursor.x, cursor.y);
        if (i >= 0 && i < static_cast<int>(bwCombs_.size()))
            comb = &bwCombs_[static_cast<std::size_t>(i)];
    } else if (PtInRect(layout_.ColorCombRect, cursor)) {
        const int j = leftHeld ? selectedComb_ - 1 : FindColorComb(cursor.x, cursor.y);
        if (j >= 0 && j < static_cast<int>(colorCombs_.size()))
            comb = &colorCombs_[static_cast<std::size_t>(j)];
    }
    if (comb != nullptr)
        return {HexaHint::Kind::Comb, FormatHint(format, comb->Color), {}};
    return {HexaHint::Kind::NoComb, {}, {}};
}

} // namespace tintara
