#pragma once
// The window-free half of the hexagon picker: the layout of its three areas, the 127 colour combs
// of the honeycomb and the 17 white, grey and black combs, their grid numbers, hit tests, the
// selection, the intensity, what the mouse, the arrow keys and the wheel do, and the hint texts.
// THexaColorPicker turns Qt events into calls on HexaCombModel and paints what it holds.
#include "colormodel/TColor.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintara {

struct TCombEntry {
    TPoint Position; // centre, relative to its area's origin
    TColor Color = 0;
    int GridNumber = 0;
    friend bool operator==(const TCombEntry&, const TCombEntry&) = default;
};
using TCombArray = std::vector<TCombEntry>;

inline constexpr int kHexaLevels = 7;
inline constexpr int kHexaColorCombCount = kHexaLevels * (kHexaLevels - 1) / 2 * 6 + 1; // 127
inline constexpr int kHexaBWCombCount = 17;
inline constexpr int kHexaMinWidth = 93;
inline constexpr int kHexaMinHeight = 85;
inline constexpr int kHexaInitialRadius = 90;
inline constexpr int kHexaDefaultSliderWidth = 12;
inline constexpr int kHexaDefaultWidth = 204;
inline constexpr int kHexaDefaultHeight = 206;

// The three areas for a radius and slider width.
struct HexaLayout {
    int CombSize = 0;
    TRect ColorCombRect;
    TRect BWCombRect;
    TRect SliderRect;
    friend bool operator==(const HexaLayout&, const HexaLayout&) = default;
};
HexaLayout CalculateLayout(int radius, int sliderWidth);

// The radius a control of this size takes, or nothing when it keeps the one it has (smaller than
// 93 x 85, or so narrow for its slider that no honeycomb would be left).
std::optional<int> radiusForSize(int width, int height, int sliderWidth);

// Red, green and blue of a comb colour, 0..1.
using CombColor = std::array<float, 3>;
TColor combColorToTColor(const CombColor& c);

// The honeycomb's combs around its centre for a radius and centre colour, in array order.
TCombArray buildColorCombs(int radius, const CombColor& center);
// White, the fifteen greys and black, relative to the grey area's top-left, for a comb size.
TCombArray buildBWCombs(int combSize);
// Grid numbers of both arrays in reading order (the arrays must have their full sizes).
void AssignGridNumbers(TCombArray& colorCombs, TCombArray& bwCombs);

// The six vertices of a comb of size a centred at (x, y): pointy-topped, one vertex straight below.
std::array<TPoint, 6> combPolygon(int a, TPoint centre);

// combPolygon for one size, worked out once: moving the centre by an even distance moves every vertex
// by the same distance, halves included, so two parities per axis cover every centre.
class CombShape {
public:
    explicit CombShape(int a);
    int size() const { return size_; }
    std::array<TPoint, 6> at(TPoint centre) const;

private:
    int size_;
    std::array<std::array<int, 6>, 2> dx_{}; // by the parity of the centre's x
    std::array<std::array<int, 6>, 2> dy_{};
};

// Grey level of row k (0..n) of the slider gradient: white at the top, black at the bottom.
int sliderGreyLevel(int n, int k);
// The intensity marker, placed from the control's width and height; n is the gradient's last row.
std::array<TPoint, 7> sliderMarker(int width, int height, float intensityFactor, int n);

// The hint text of a comb: "%r", "%g", "%b" and "%h" (hex) replaced in that order.
std::string FormatHint(std::string_view format, TColor c);
// "Intensity: 75%".
std::string intensityHintText(int intensity);

// A system-colour constant (high bit set, the low byte its index).
constexpr bool isSystemColor(TColor c)
{
    return (c & 0x80000000u) != 0;
}

// Next and previous comb for the Right and Left keys: the honeycomb 1..127, then the greys -1..-15.
int NextGridNumber(int g);
int PrevGridNumber(int g);

enum class HexaTrackArea { None, ColorCombs, GreyCombs, Slider };
enum class HexaKey { Left, Up, Right, Down };

// What the hint shows for a cursor position.
struct HexaHint {
    enum class Kind {
        Untouched, // nothing under the cursor: the request is left to the toolkit
        Intensity, // over the slider: text at `at` (client pixels)
        Comb,      // a comb: its formatted colour
        NoComb,    // in a comb area but no comb found: the owner may supply a text (cell -1)
    };
    Kind kind = Kind::Untouched;
    std::string text;
    TPoint at;
};

class HexaCombModel {
public:
    HexaCombModel();

    // --- layout -----------------------------------------------------------------------------
    int Radius() const { return radius_; }
    int SliderWidth() const { return sliderWidth_; }
    int CombSize() const { return layout_.CombSize; }
    const TRect& ColorCombRect() const { return layout_.ColorCombRect; }
    const TRect& BWCombRect() const { return layout_.BWCombRect; }
    const TRect& SliderRect() const { return layout_.SliderRect; }
    const HexaLayout& layout() const { return layout_; }

    void SetRadius(int r);
    // A negative width counts as 0. The owner then resizes the control to the new layout.
    void setSliderWidth(int width);
    // Resize: the radius for the new size, when the size allows one.
    void resizeTo(int width, int height);

    // --- combs ------------------------------------------------------------------------------
    const TCombArray& ColorCombs() const { return colorCombs_; }
    const TCombArray& BWCombs() const { return bwCombs_; }
    void BuildCombs();
    // Bumped by every rebuild of the combs or change of the layout: what a cached image depends on.
    std::uint64_t combsVersion() const { return combsVersion_; }

    // Index of the comb under a client point, or -1.
    int FindColorComb(int x, int y) const;
    int FindBWComb(int x, int y) const;

    // --- selection --------------------------------------------------------------------------
    TColor SelectedColor() const { return selectedColor_; }
    // Stores v, locates it and fires OnChange, also when nothing changed.
    void setSelectedColor(TColor v);
    void LocateColor(TColor v);
    void ReselectComb();
    int SelectedComb() const { return selectedComb_; }
    int KeyComb() const { return keyComb_; }
    bool SelectionMatched() const { return selectionMatched_; }
    // Whether the centre comb is outlined with the white or black comb.
    bool centerOutlined() const;

    // --- intensity --------------------------------------------------------------------------
    int Intensity() const;
    void setIntensity(int v);
    float IntensityFactor() const { return intensityFactor_; }
    const CombColor& CenterColor() const { return centerColor_; }
    int IntensityIncrement() const { return intensityIncrement_; }
    void setIntensityIncrement(int increment) { intensityIncrement_ = increment; }
    void StepIntensity(bool up);

    // --- keys -------------------------------------------------------------------------------
    int CurrentGridNumber() const;
    void SelectByGridNumber(int g);
    void arrowKey(HexaKey key, bool ctrl);

    // --- mouse ------------------------------------------------------------------------------
    // The hover state first, then the left-button handling when the button is held.
    void mouseMove(TPoint p, bool leftHeld);
    // Left button pressed at p inside the client area.
    void mouseDown(TPoint p, const TRect& client);
    void mouseUp();
    // A drag that ends without a release (the control was hidden): nothing is tracked any more.
    void cancelDrag() { trackArea_ = HexaTrackArea::None; }
    void handleMouse(TPoint p);
    HexaTrackArea TrackArea() const { return trackArea_; }
    TPoint LastMousePos() const { return lastMousePos_; }
    TColor ColorUnderCursor() const { return colorUnderCursor_; }
    bool InCombArea() const { return inCombArea_; }

    // --- hint -------------------------------------------------------------------------------
    HexaHint hint(TPoint cursor, bool leftHeld, std::string_view format) const;

    // --- events -----------------------------------------------------------------------------
    std::function<void()> OnChange;
    std::function<void()> OnIntensityChange;
    // Something the frame shows changed: the combs, the layout or the selection.
    std::function<void()> OnInvalidate;
    // The current RGB value of a system-colour constant; without one they resolve to black.
    std::function<TColor(TColor)> ResolveSystemColor;

private:
    void CalculateLayout();
    void applyIntensityFactor(float factor);
    void setSelectedComb(int comb);
    void invalidate();

    int radius_ = kHexaInitialRadius;
    int sliderWidth_ = kHexaDefaultSliderWidth;
    HexaLayout layout_;
    TCombArray colorCombs_;
    TCombArray bwCombs_;
    std::uint64_t combsVersion_ = 0;

    float intensityFactor_ = 1.0f;
    CombColor centerColor_{1.0f, 1.0f, 1.0f};
    int intensityIncrement_ = 1;

    TColor selectedColor_ = 0;
    int selectedComb_ = 0;
    int keyComb_ = 0;
    bool selectionMatched_ = false;

    HexaTrackArea trackArea_ = HexaTrackArea::None;
    TPoint lastMousePos_;
    TColor colorUnderCursor_ = clNone;
    bool inCombArea_ = false;
};

} // namespace tintara
