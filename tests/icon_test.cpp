#include "ui/icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace talmiro {
namespace {

int difference(form::Rgb a, form::Rgb b) {
    return std::max(
        {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

// The desktop's larger icons are the window's icon painted at their size: at 32 pixels it
// differs from the window's 256-colour one only by the palette, at 64 each 2 x 2 block
// averages to the 32-pixel picture.
TEST(Icon, EverySizeShowsTheWindowsPicture) {
    const IndexedIcon& window = windowIcon();
    const std::vector<form::Rgb> small = paintIcon(32);
    const std::vector<form::Rgb> large = paintIcon(64);
    ASSERT_EQ(small.size(), 32u * 32u);
    ASSERT_EQ(large.size(), 64u * 64u);
    for (int i = 0; i < 32 * 32; ++i) {
        const int x = i % 32;
        const int y = i / 32;
        EXPECT_LE(difference(small[i], window.palette[window.pixels[i]]), 32) << x << "," << y;
        int sum[3] = {};
        for (int corner = 0; corner < 4; ++corner) {
            const form::Rgb c = large[(2 * y + corner / 2) * 64 + 2 * x + corner % 2];
            sum[0] += c.red;
            sum[1] += c.green;
            sum[2] += c.blue;
        }
        const form::Rgb average{static_cast<std::uint8_t>(sum[0] / 4),
                                static_cast<std::uint8_t>(sum[1] / 4),
                                static_cast<std::uint8_t>(sum[2] / 4)};
        EXPECT_LE(difference(average, small[i]), 40) << x << "," << y;
    }
}

}  // namespace
}  // namespace talmiro
