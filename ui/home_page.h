#pragma once

#include <string_view>

#include "ui/version_info.h"

namespace talmiro {

inline constexpr std::string_view homePageAddress = version::homePage;
inline constexpr std::string_view shellOpenVerb = "Open";

}  // namespace talmiro
