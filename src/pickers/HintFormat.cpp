#include "pickers/HintFormat.h"

namespace tintara {

std::string replaceAll(std::string_view text, std::string_view placeholder, std::string_view value)
{
    if (placeholder.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(placeholder); at != std::string_view::npos; at = text.find(placeholder, from)) {
        out.append(text.substr(from, at - from));
        out.append(value);
        from = at + placeholder.size();
    }
    out.append(text.substr(from));
    return out;
}

std::string formatHint(std::string_view format, std::initializer_list<HintField> fields)
{
    std::string text(format);
    for (const HintField& f : fields)
        text = replaceAll(text, f.placeholder, f.value);
    return text;
}

std::string hintLinesForDisplay(std::string_view hint)
{
    std::string out;
    out.reserve(hint.size());
    for (std::size_t i = 0; i < hint.size(); ++i) {
        if (hint[i] != '\r') {
            out.push_back(hint[i]);
            continue;
        }
        out.push_back('\n');
        if (i + 1 < hint.size() && hint[i + 1] == '\n')
            ++i;
    }
    return out;
}

} // namespace tintara
