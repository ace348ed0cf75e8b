#pragma once
#include "colormodel/TColor.h"

#include <string>

namespace tintara {

// Six upper-case hex digits RRGGBB (red first although TColor stores red lowest).
std::string ColorToHexText(TColor c);

// The same six digits written into out[0..5], for callers that must not allocate.
void ColorToHexChars(TColor c, char out[6]);

// The value of one hexadecimal digit of either case, or -1 for any other character.
constexpr int hexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

} // namespace tintara
