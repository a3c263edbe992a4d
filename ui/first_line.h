#pragma once

#include <string_view>

namespace talmiro {

// What a single-line box keeps of a text pasted, dropped or committed into it: everything up to
// the first line break, CR or LF alike. The rest of a copied paragraph is no formula.
constexpr std::u16string_view firstLine(std::u16string_view text) {
    return text.substr(0, text.find_first_of(u"\r\n"));
}

constexpr bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// At most `room` code units of `text`, cut between characters: a pair the limit would split is
// left out whole, so that no half of a character ever stands in a box.
constexpr std::u16string_view wholeCharactersFitting(std::u16string_view text, std::size_t room) {
    if (text.size() <= room) {
        return text;
    }
    const bool splitsAPair =
        room > 0 && isHighSurrogate(text[room - 1]) && isLowSurrogate(text[room]);
    return text.substr(0, splitsAPair ? room - 1 : room);
}

}  // namespace talmiro
