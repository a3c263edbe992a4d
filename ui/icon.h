#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ui/form.h"

namespace talmiro {

// The window and executable icon: 32 x 32 pixels, 8 bits per pixel into a 256-colour palette,
// fully opaque. Rows run top to bottom. Every toolkit and resource file is made from this.
struct IndexedIcon {
    static constexpr int size = 32;
    std::array<form::Rgb, 256> palette;
    std::array<std::uint8_t, size * size> pixels;
};

const IndexedIcon& windowIcon();

// The same picture in full colour at any size, rows top to bottom, for desktops that show
// icons larger than the window's own.
std::vector<form::Rgb> paintIcon(int size);

}  // namespace talmiro
