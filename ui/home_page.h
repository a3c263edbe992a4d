#pragma once

#include <string_view>

namespace talmiro {

inline constexpr std::string_view homePageAddress = "http://www.example.com/xiaolin/";
inline constexpr std::string_view shellOpenVerb = "Open";

}  // namespace talmiro
