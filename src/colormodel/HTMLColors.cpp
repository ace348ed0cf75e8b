#include "colormodel/HTMLColors.h"

namespace tintara {

void ColorToHexChars(TColor c, char out[6])
{
    static constexpr char digits[] = "0123456789ABCDEF";
    // Red first, although it is the lowest byte of the value; a high byte is ignored.
    const unsigned bytes[3] = {c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu};
    for (const unsigned byte : bytes) {
        *out++ = digits[byte >> 4];
        *out++ = digits[byte & 0xFu];
    }
}

std::string ColorToHexText(TColor c)
{
    std::string text(6, '0');
    ColorToHexChars(c, text.data());
    return text;
}

} // namespace tintara
