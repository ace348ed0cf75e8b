#pragma once
// The hint language every picker shares: a format text whose placeholders ("%h", "%hex", ...) are
// replaced by the pointed value. Each picker lists its own placeholders in the order they are
// replaced; the order matters, since "%h" would otherwise eat the start of "%hex".
#include <initializer_list>
#include <string>
#include <string_view>

namespace tintara {

struct HintField {
    std::string_view placeholder;
    std::string_view value;
};

// Every occurrence of placeholder in text replaced by value, literally and case-sensitively, scanning
// left to right and not rescanning what was inserted. An empty placeholder leaves the text alone.
std::string replaceAll(std::string_view text, std::string_view placeholder, std::string_view value);

// format with each field replaced in turn, each pass working on the result of the previous one.
// Placeholders without a field stay as typed.
std::string formatHint(std::string_view format, std::initializer_list<HintField> fields);

// A carriage return breaks a hint into lines; tool tips break at line feeds. A CR LF pair is one break.
std::string hintLinesForDisplay(std::string_view hint);

} // namespace tintara
