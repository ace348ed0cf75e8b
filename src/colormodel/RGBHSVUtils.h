#pragma once
// HSV on the fixed scale hue 0..360, saturation 0..255, value 0..255.
#include "colormodel/RGBHSLUtils.h"

namespace tintara {

Hsv HsvFromRgb(int R, int G, int B);
RGBTriple TripleFromHsv(int h, int s, int v);
TColor ColorFromHsv(int h, int s, int v);

} // namespace tintara
