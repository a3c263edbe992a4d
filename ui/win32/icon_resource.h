#pragma once

#include <cstdint>
#include <vector>

#include "ui/icon.h"

namespace talmiro {

// The icon in the layouts that Windows keeps in an executable's resources and in an .ico file.
inline constexpr std::uint16_t iconGroupId = 1;
inline constexpr std::uint16_t iconImageId = 30001;

// RT_ICON data: a BITMAPINFOHEADER, the palette, the pixels bottom-up and an all-clear AND mask.
std::vector<std::uint8_t> iconImageResource(const IndexedIcon& icon);

// RT_GROUP_ICON data: a directory naming the one image by iconImageId.
std::vector<std::uint8_t> iconGroupResource(const IndexedIcon& icon);

// An .ico file, for the installer: the directory, then the image where it says.
std::vector<std::uint8_t> iconFile(const IndexedIcon& icon);

}  // namespace talmiro
