#include "pickers/HintFormat.h"

#include <gmock/gmock.h>

namespace tintara {
namespace {

TEST(HintFormat, ReplacesEveryOccurrenceLiterallyAndCaseSensitively)
{
    EXPECT_EQ(replaceAll("Value: %v", "%v", "200"), "Value: 200");
    EXPECT_EQ(replaceAll("%v/%v %V", "%v", "7"), "7/7 %V");
    EXPECT_EQ(replaceAll("%%vv", "%v", "1"), "%1v");
    // The inserted text is not scanned again within the same pass.
    EXPECT_EQ(replaceAll("%h", "%h", "%h%h"), "%h%h");
    EXPECT_EQ(replaceAll("no placeholder", "%h", "1"), "no placeholder");
    EXPECT_EQ(replaceAll("", "%h", "1"), "");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(HintFormat, FieldsApplyInTheirOrderEachOnThePreviousResult)
{
    // "%hex" before "%h", or "%h" would eat the start of "%hex".
    EXPECT_EQ(formatHint("H: %h S: %s\rHex: %hex", {{"%hex", "FF0000"}, {"%h", "0"}, {"%s", "240"}}),
              "H: 0 S: 240\rHex: FF0000");
    EXPECT_EQ(formatHint("%hex", {{"%h", "5"}, {"%hex", "FF0000"}}), "5ex");
    // A later pass sees what an earlier one inserted.
    EXPECT_EQ(formatHint("%s", {{"%s", "%h"}, {"%h", "5"}}), "5");
    // Placeholders the control does not know stay as typed.
    EXPECT_EQ(formatHint("Luminance: %l %q", {{"%l", "120"}}), "Luminance: 120 %q");
    EXPECT_EQ(formatHint("", {{"%l", "120"}}), "");
}

TEST(HintFormat, CarriageReturnsBecomeLineBreaks)
{
    EXPECT_EQ(hintLinesForDisplay("RGB(1, 2, 3)\rHex: 010203"), "RGB(1, 2, 3)\nHex: 010203");
    EXPECT_EQ(hintLinesForDisplay("a\r\nb"), "a\nb");
    EXPECT_EQ(hintLinesForDisplay("a\r\rb\r"), "a\n\nb\n");
    EXPECT_EQ(hintLinesForDisplay("a\nb"), "a\nb");
    EXPECT_EQ(hintLinesForDisplay(""), "");
}

} // namespace
} // namespace tintara
