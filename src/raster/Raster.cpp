#include "raster/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tintara {

namespace {

TRect intersect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

bool isEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

TRect boundsOf(const Bitmap32& b)
{
    return {0, 0, b.width(), b.height()};
}

// Same-size copy: destination pixel (x, y) takes source pixel (x + dx, y + dy).
void plainCopy(Bitmap32& dst, const TRect& area, const Bitmap32& src, int dx, int dy)
{
    // Only where the source exists; the rest of the area keeps its pixels.
    const TRect from = intersect({area.Left + dx, area.Top + dy, area.Right + dx, area.Bottom + dy}, boundsOf(src));
    if (isEmpty(from))
        return;
    const std::size_t bytes = static_cast<std::size_t>(from.width()) * sizeof(std::uint32_t);
    for (int sy = from.Top; sy < from.Bottom; ++sy)
        std::memcpy(dst.scanLine(sy - dy) + (from.Left - dx), src.scanLine(sy) + from.Left, bytes);
}

// Source index of destination index d (counted from the destination rectangle's start) is
// start + d * srcLen / dstLen; stepped incrementally so no division runs per pixel.
class NearestStepper {
public:
    NearestStepper(int start, int srcLen, int dstLen, int d0)
        : start_(start), dstLen_(dstLen), whole_(srcLen / dstLen), part_(srcLen % dstLen)
    {
        const long long num = static_cast<long long>(d0) * srcLen;
        q_ = num / dstLen;
        r_ = num % dstLen;
    }
    int value() const { return start_ + static_cast<int>(q_); }
    void next()
    {
        q_ += whole_;
        r_ += part_;
        if (r_ >= dstLen_) {
            r_ -= dstLen_;
            ++q_;
        }
    }

private:
    int start_;
    int dstLen_;
    long long whole_;
    long long part_;
    long long q_ = 0;
    long long r_ = 0;
};

// A run of destination columns that all show one source column.
struct ColumnRun {
    int source;
    int length;
};

// Runs of at most this many pixels are written as one block of this many, whose excess the next run
// overwrites: one wide store pair per run instead of a loop per pixel.
constexpr int kSpreadBlock = 8;

// The first `blocked` runs (all of at most kSpreadBlock pixels, and far enough from the row's end
// that no block spills past it) are written as blocks, the rest exactly.
void spreadRow(std::uint32_t* out, const std::uint32_t* in, const ColumnRun* runs, std::size_t blocked,
               std::size_t count)
{
    for (std::size_t i = 0; i < blocked; ++i) {
        const ColumnRun run = runs[i];
        const std::uint32_t v = in[run.source];
        for (int k = 0; k < kSpreadBlock; ++k)
            out[k] = v;
        out += run.length;
    }
    for (std::size_t i = blocked; i < count; ++i) {
        std::fill_n(out, runs[i].length, in[runs[i].source]);
        out += runs[i].length;
    }
}

void nearestCopy(Bitmap32& dst, const TRect& dstRect, const TRect& area, const Bitmap32& src, const TRect& srcRect)
{
    // Every row maps its columns alike, so the source column of each destination column is worked
    // out once: a row is then a plain gather, or, when the columns come in runs (an enlargement),
    // one value spread over each run. Kept between calls, so repeated copies of one size allocate
    // nothing.
    static thread_local std::vector<int> columns;
    static thread_local std::vector<ColumnRun> runs;
    columns.resize(static_cast<std::size_t>(area.width()));
    runs.clear();
    bool complete = true; // every column of the area falls inside the source
    NearestStepper column(srcRect.Left, srcRect.width(), dstRect.width(), area.Left - dstRect.Left);
    for (int& sx : columns) {
        sx = column.value();
        if (sx < 0 || sx >= src.width()) {
            sx = -1;
            complete = false;
        }
        if (!runs.empty() && runs.back().source == sx)
            ++runs.back().length;
        else
            runs.push_back({sx, 1});
        column.next();
    }

    // Locals: the stores below could alias the vectors' own fields.
    const int* const map = columns.data();
    const std::size_t n = columns.size();
    const ColumnRun* const spans = runs.data();
    const std::size_t spanCount = runs.size();
    // Runs of two or more on average beat the gather.
    const bool spread = complete && 2 * spanCount <= n;
    std::size_t blocked = 0;
    for (std::size_t end = 0; blocked < spanCount; ++blocked) {
        if (spans[blocked].length > kSpreadBlock || end + kSpreadBlock > n)
            break;
        end += static_cast<std::size_t>(spans[blocked].length);
    }
    NearestStepper row(srcRect.Top, srcRect.height(), dstRect.height(), area.Top - dstRect.Top);
    int lastSrcRow = 0;
    int lastDstRow = -1;
    for (int y = area.Top; y < area.Bottom; ++y, row.next()) {
        const int sy = row.value();
        if (sy < 0 || sy >= src.height())
            continue;
        std::uint32_t* out = dst.scanLine(y) + area.Left;
        if (lastDstRow >= 0 && sy == lastSrcRow) {
            // An enlargement repeats each source row; copying the finished row is cheaper still.
            std::memcpy(out, dst.scanLine(lastDstRow) + area.Left, n * sizeof(std::uint32_t));
            continue;
        }
        const std::uint32_t* in = src.scanLine(sy);
        if (spread) {
            spreadRow(out, in, spans, blocked, spanCount);
        } else if (complete) {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = in[map[i]];
        } else {
            for (std::size_t i = 0; i < n; ++i)
                if (map[i] >= 0)
                    out[i] = in[map[i]];
        }
        // A row with skipped pixels is not reused, so the skipped ones keep their own content.
        lastSrcRow = sy;
        lastDstRow = complete ? y : -1;
    }
}

// Mitchell-Netravali cubic with B = C = 1/3.
double mitchell(double x)
{
    x = std::fabs(x);
    if (x < 1.0)
        return (7.0 * x * x * x - 12.0 * x * x + 16.0 / 3.0) / 6.0;
    if (x < 2.0)
        return (-7.0 / 3.0 * x * x * x + 12.0 * x * x - 20.0 * x + 32.0 / 3.0) / 6.0;
    return 0.0;
}

struct Taps {
    int first;  // first source index, before clamping
    int count;  // number of weights
    int weight; // index of the first weight
};

// Filter taps for destination indices [from, to) of a destination run of dstLen mapped onto the
// source run [start, start + srcLen); indices outside [lo, hi] are clamped when read.
void buildTaps(std::vector<Taps>& taps, std::vector<double>& weights, int start, int srcLen, int dstLen, int from,
               int to)
{
    const double scale = static_cast<double>(srcLen) / dstLen;
    const double stretch = std::max(1.0, scale); // a reduction widens the kernel
    const double support = 2.0 * stretch;
    taps.clear();
    weights.clear();
    for (int d = from; d < to; ++d) {
        const double centre = start + (d + 0.5) * scale - 0.5;
        const int first = static_cast<int>(std::floor(centre - support)) + 1;
        const int last = static_cast<int>(std::floor(centre + support));
        const int at = static_cast<int>(weights.size());
        double sum = 0.0;
        for (int i = first; i <= last; ++i) {
            const double w = mitchell((i - centre) / stretch);
            weights.push_back(w);
            sum += w;
        }
        if (sum != 0.0)
            for (std::size_t k = static_cast<std::size_t>(at); k < weights.size(); ++k)
                weights[k] /= sum;
        taps.push_back({first, last - first + 1, at});
    }
}

std::uint32_t channel(double v)
{
    v = std::clamp(v, 0.0, 255.0);
    return static_cast<std::uint32_t>(v + 0.5);
}

void mitchellCopy(Bitmap32& dst, const TRect& dstRect, const TRect& area, const Bitmap32& src, const TRect& srcRect)
{
    // The taps never read outside both the source rectangle and the bitmap: edge pixels repeat.
    const TRect readable = intersect(srcRect, boundsOf(src));
    if (isEmpty(readable))
        return;

    // Scratch space lives on across calls so that a steady stream of same-size copies does not
    // allocate.
    thread_local std::vector<Taps> colTaps, rowTaps;
    thread_local std::vector<double> colWeights, rowWeights, rows;

    buildTaps(colTaps, colWeights, srcRect.Left, srcRect.width(), dstRect.width(), area.Left - dstRect.Left,
              area.Right - dstRect.Left);
    buildTaps(rowTaps, rowWeights, srcRect.Top, srcRect.height(), dstRect.height(), area.Top - dstRect.Top,
              area.Bottom - dstRect.Top);

    // Horizontal pass over the source rows the vertical pass will read.
    const int firstRow = std::clamp(rowTaps.front().first, readable.Top, readable.Bottom - 1);
    const int lastRow = std::clamp(rowTaps.back().first + rowTaps.back().count - 1, readable.Top, readable.Bottom - 1);
    const int outW = area.width();
    rows.resize(static_cast<std::size_t>(lastRow - firstRow + 1) * static_cast<std::size_t>(outW) * 3);
    for (int sy = firstRow; sy <= lastRow; ++sy) {
        const std::uint32_t* in = src.scanLine(sy);
        double* out = rows.data() + static_cast<std::size_t>(sy - firstRow) * static_cast<std::size_t>(outW) * 3;
        for (int x = 0; x < outW; ++x) {
            const Taps& t = colTaps[static_cast<std::size_t>(x)];
            double r = 0, g = 0, b = 0;
            for (int k = 0; k < t.count; ++k) {
                const int sx = std::clamp(t.first + k, readable.Left, readable.Right - 1);
                const double w = colWeights[static_cast<std::size_t>(t.weight + k)];
                const std::uint32_t p = in[sx];
                r += w * ((p >> 16) & 0xFF);
                g += w * ((p >> 8) & 0xFF);
                b += w * (p & 0xFF);
            }
            out[3 * x] = r;
            out[3 * x + 1] = g;
            out[3 * x + 2] = b;
        }
    }

    for (int y = area.Top; y < area.Bottom; ++y) {
        const Taps& t = rowTaps[static_cast<std::size_t>(y - area.Top)];
        std::uint32_t* out = dst.scanLine(y) + area.Left;
        for (int x = 0; x < outW; ++x) {
            double r = 0, g = 0, b = 0;
            for (int k = 0; k < t.count; ++k) {
                const int sy = std::clamp(t.first + k, firstRow, lastRow);
                const double w = rowWeights[static_cast<std::size_t>(t.weight + k)];
                const double* p =
                    rows.data() + (static_cast<std::size_t>(sy - firstRow) * static_cast<std::size_t>(outW) + x) * 3;
                r += w * p[0];
                g += w * p[1];
                b += w * p[2];
            }
            out[x] = (channel(r) << 16) | (channel(g) << 8) | channel(b);
        }
    }
}

} // namespace

void stretchCopy(Bitmap32& dst, const TRect& dstRect, const TRect& clip, const Bitmap32& src, const TRect& srcRect)
{
    if (isEmpty(dstRect) || isEmpty(srcRect))
        return;
    const TRect area = intersect(intersect(dstRect, clip), boundsOf(dst));
    if (isEmpty(area))
        return;
    if (dstRect.width() == srcRect.width() && dstRect.height() == srcRect.height())
        plainCopy(dst, area, src, srcRect.Left - dstRect.Left, srcRect.Top - dstRect.Top);
    else if (dst.resampler() == Resampler::Mitchell)
        mitchellCopy(dst, dstRect, area, src, srcRect);
    else
        nearestCopy(dst, dstRect, area, src, srcRect);
}

void drawOutlineRect(Bitmap32& dst, int x1, int y1, int x2, int y2, std::uint32_t pixel)
{
    if (x2 <= x1 || y2 <= y1)
        return;
    const int left = std::max(x1, 0), right = std::min(x2, dst.width()); // columns [left, right)
    const int top = std::max(y1, 0), bottom = std::min(y2, dst.height());
    if (left >= right || top >= bottom)
        return;
    auto row = [&](int y) {
        if (y >= 0 && y < dst.height())
            std::fill(dst.scanLine(y) + left, dst.scanLine(y) + right, pixel);
    };
    auto column = [&](int x) {
        if (x >= 0 && x < dst.width())
            for (int y = top; y < bottom; ++y)
                dst.setPixel(x, y, pixel);
    };
    row(y1);
    row(y2 - 1);
    column(x1);
    column(x2 - 1);
}

void copyBitmap(Bitmap32& dst, int x, int y, const Bitmap32& src)
{
    const TRect area = intersect({x, y, x + src.width(), y + src.height()}, boundsOf(dst));
    if (isEmpty(area))
        return;
    plainCopy(dst, area, src, -x, -y);
}

} // namespace tintara
