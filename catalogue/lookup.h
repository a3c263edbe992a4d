#pragma once

#include <string_view>

namespace talmiro {

inline constexpr std::u16string_view notFoundMessage = u"未找到记录!请与作者联系!";

// The other half of the pair whose key equals the input code unit for code unit, or
// notFoundMessage. The empty input answers with the empty text. The result always points at
// static storage, never into the input.
std::u16string_view lookup(std::u16string_view input);

}  // namespace talmiro
