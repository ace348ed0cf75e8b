#pragma once
#include "colormodel/TColor.h"

#include <string>

namespace tintara {

// Six upper-case hex digits RRGGBB (red first although TColor stores red lowest).
std::string ColorToHexText(TColor c);

// The same six digits written into out[0..5], for callers that must not allocate.
void ColorToHexChars(TColor c, char out[6]);

} // namespace tintara
