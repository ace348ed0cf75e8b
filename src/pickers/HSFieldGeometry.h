#pragma once
// Window-free arithmetic of the hue-saturation field: the field image (hue across, saturation up,
// all at half luminance on Scale240), where the cross-hair goes for a colour, what the arrow keys
// aim at, and the hint text. THSColorPicker turns Qt events into these calls.
#include "colormodel/TColor.h"
#include "pickers/TrackBarGeometry.h"
#include "raster/Bitmap32.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tintara {

// The field image: hues 0..238 left to right, saturations 240 (top row) down to 1 (bottom row).
inline constexpr int kHsFieldWidth = 239;
inline constexpr int kHsFieldHeight = 240;
// The luminance every pixel of the field is formed with.
inline constexpr int kHsFieldLuminance = 120;

void buildHsField(Bitmap32& field);
// The field image, built on first use and shared: it never changes.
const Bitmap32& hsField();

// What a control of the given size shows: the field stretched (nearest neighbour) over it.
// Reuses the bitmap's memory; a size of 0 in either direction leaves it empty.
void stretchHsField(Bitmap32& shown, int width, int height);

// Where the marker goes for a hue and saturation (Scale240) at the given size. Not limited to the
// field: a saturation of 0 lands one row below it; painting limits it.
TPoint hsMarkerFromValues(int hue, int saturation, int width, int height);

// The point held within 0..width - 1 and 0..height - 1 (and never negative, even for an empty field).
TPoint hsLimitToField(TPoint p, int width, int height);

// The colour the field shows at p (limited to the field first), read from the field image without
// the cross-hair. Nothing for an empty field.
std::optional<TColor> hsShownColorAt(const Bitmap32& shown, TPoint p);

// The four arms of the cross-hair at `at` (left, top, right, bottom); the 9 x 9 square around the
// point stays uncovered so the chosen colour shows.
std::array<TRect, 4> hsCrossHairArms(TPoint at);
// The square the cross-hair at `at` covers.
TRect hsCrossHairBounds(TPoint at);

// Where an arrow key moves the point from where the marker was drawn: 1 px, 10 px with Ctrl.
// Nothing for other keys. Not limited: taking the colour there holds it on the field.
std::optional<TPoint> hsKeyTarget(TPoint drawn, TrackKey key, bool ctrl);

// The hint colour: the hovered colour's hue and saturation at the composite's luminance.
TColor hsHintColor(TColor hover, int hintLuminance);
// format with "%hex", "%h", "%s" of the hint colour replaced, in that order.
std::string hsHintText(std::string_view format, TColor hover, int hintLuminance);

} // namespace tintara
