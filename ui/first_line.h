#pragma once

#include <string_view>

namespace talmiro {

// What a single-line box keeps of a text pasted, dropped or committed into it: everything up to
// the first line break, CR or LF alike. The rest of a copied paragraph is no formula.
constexpr std::u16string_view firstLine(std::u16string_view text) {
    return text.substr(0, text.find_first_of(u"\r\n"));
}

}  // namespace talmiro
