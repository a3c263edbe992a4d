// Arbitrary UTF-16 text, valid or not, must answer with a catalogue value or the not-found
// message, and with the matching row's value when the text is a key. Random bytes almost never
// spell a Chinese name, so half of the inputs are edits of a real key: a few code units cut out
// of it at some position and the fuzzer's own code units put in their place.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/lookup.h"

namespace {

std::u16string asUtf16(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    return text;
}

std::u16string editedKey(const std::uint8_t* data, std::size_t size) {
    const auto rows = talmiro::catalogueRows();
    const std::u16string_view key = rows[data[1] % rows.size()].key;
    const std::size_t at = data[2] % (key.size() + 1);
    const std::size_t cut = std::min<std::size_t>(data[3] % 3, key.size() - at);
    std::u16string text(key.substr(0, at));
    text += asUtf16(data + 4, size - 4);
    text += key.substr(at + cut);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool editAKey = size >= 4 && (data[0] & 1) != 0;
    const std::u16string text = editAKey ? editedKey(data, size) : asUtf16(data, size);

    const std::u16string_view answer = talmiro::lookup(text);
    const auto rows = talmiro::catalogueRows();
    const auto match =
        std::ranges::find(rows, std::u16string_view(text), &talmiro::CatalogueRow::key);
    const std::u16string_view expected =
        match != rows.end() ? match->value : talmiro::notFoundMessage;
    if (answer != expected) {
        std::abort();
    }
    return 0;
}
