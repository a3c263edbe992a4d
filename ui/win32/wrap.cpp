#include "ui/win32/wrap.h"

namespace talmiro::win32 {
namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\u3000';
}

// East Asian wide characters: CJK ideographs, full-width forms and CJK punctuation.
bool isWide(char16_t c) {
    return (c >= u'\u2E80' && c <= u'\u9FFF') || (c >= u'\uF900' && c <= u'\uFAFF') ||
           (c >= u'\uFF00' && c <= u'\uFFEF');
}

bool mayNotStartALine(char16_t c) {
    return std::u16string_view(u"，。、；：！？）」』”’》〉】,.;:!?)").find(c) !=
           std::u16string_view::npos;
}

bool mayBreakBefore(std::u16string_view text, std::size_t at) {
    const char16_t before = text[at - 1];
    const char16_t after = text[at];
    if (mayNotStartALine(after)) {
        return false;
    }
    return isBlank(before) || isWide(before) || isWide(after);
}

std::size_t skipBlanks(std::u16string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

std::u16string_view trimEnd(std::u16string_view line) {
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

std::vector<std::u16string_view> wrapLines(std::u16string_view text, int width,
                                           const std::function<int(std::u16string_view)>& measure) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t fits = start;
        while (fits < text.size() && measure(text.substr(start, fits + 1 - start)) <= width) {
            ++fits;
        }
        if (fits == text.size()) {
            lines.push_back(trimEnd(text.substr(start)));
            break;
        }
        std::size_t end = fits;
        if (!isBlank(text[fits])) {
            while (end > start && !mayBreakBefore(text, end)) {
                --end;
            }
            if (end == start) {  // nothing breakable: cut where it overflows, at least one unit
                end = fits > start ? fits : start + 1;
            }
        }
        lines.push_back(trimEnd(text.substr(start, end - start)));
        start = skipBlanks(text, end);
    }
    return lines;
}

}  // namespace talmiro::win32
