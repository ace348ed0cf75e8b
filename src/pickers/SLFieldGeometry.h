#pragma once
// Window-free arithmetic of the saturation-luminance field, an HSV square for one hue: HSV
// saturation 0..255 grows to the right, HSV value 0..255 grows upwards. Marker and values map to
// each other with MulDiv; the field image, the arrow-key rule, the marker's pen and the hint
// (which speaks HSL on Scale360) live here too. TSLColorPicker turns Qt events into these calls.
#include "colormodel/TColor.h"
#include "pickers/TrackBarGeometry.h"
#include "raster/Bitmap32.h"

#include <optional>
#include <string>
#include <string_view>

namespace tintara {

// The field image is 256 x 256: column j is saturation j, row i is value 255 - i.
inline constexpr int kSlFieldSize = 256;

// Where the marker goes for the values at the given size: (MulDiv(s, W, 255), MulDiv(255 - l, H, 255)).
TPoint slMarkerFromValues(int saturation, int luminance, int width, int height);

// The values a point stands for, unclamped (the setters clamp): MulDiv(255, x, W), MulDiv(255, H - y, H).
// An empty size gives -1, which the setters turn into 0.
struct SlValues {
    int saturation = 0;
    int luminance = 0;
    friend constexpr bool operator==(const SlValues&, const SlValues&) = default;
};
SlValues slValuesFromPoint(TPoint p, int width, int height);

// The colour a point stands for at the field's hue (the clamped HSV conversion).
TColor slColorAt(int hue, TPoint p, int width, int height);

// The marker after an arrow key: 1 px, 10 with Ctrl. Nothing for other keys and for a step that
// would take the marker below 0 or beyond W or H (W and H themselves are allowed).
std::optional<TPoint> slKeyStep(TPoint marker, TrackKey key, bool ctrl, int width, int height);

// The circle's bounding rectangle (right and bottom exclusive).
TRect slMarkerRect(TPoint at);

// White over a dark colour (at least two channels at most 190), black otherwise.
bool slMarkerPenIsWhite(TColor under);

// format with "%hex", "%h", "%s", "%l" of c replaced in that order (HSL on Scale360).
std::string slHintText(std::string_view format, TColor c);

// The full field image for a hue.
void buildSlField(Bitmap32& field, int hue);

// What the full image stretched (nearest neighbour) over width x height shows, computed for those
// pixels only: pixel (x, y) is the image's (x * 256 / W, y * 256 / H). Reuses the bitmap's memory;
// an empty size leaves it empty.
void buildSlFieldShown(Bitmap32& shown, int hue, int width, int height);

} // namespace tintara
