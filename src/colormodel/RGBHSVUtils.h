#pragma once
// HSV on the fixed scale hue 0..360, saturation 0..255, value 0..255.
#include "colormodel/RGBHSLUtils.h"

namespace tintara {

// Computed in doubles and rounded half to even, so the hue can be 360 (e.g. for (255, 0, 1)).
Hsv HsvFromRgb(int R, int G, int B);
// No clamping: 360 is taken as 0, a hue above 360 (or below 0) gives black, channels keep their low byte.
RGBTriple TripleFromHsv(int h, int s, int v);
TColor ColorFromHsv(int h, int s, int v);

} // namespace tintara
