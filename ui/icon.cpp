#include "ui/icon.h"

#include <cmath>
#include <cstddef>

namespace talmiro {
namespace {

// Painted in floating point with 4 x 4 samples a pixel, then matched to the palette.
struct Colour {
    double red;
    double green;
    double blue;
};

Colour mix(Colour from, Colour to, double t) {
    return {from.red + (to.red - from.red) * t, from.green + (to.green - from.green) * t,
            from.blue + (to.blue - from.blue) * t};
}

double clamp01(double t) {
    return t < 0 ? 0 : (t > 1 ? 1 : t);
}

constexpr Colour white{255, 255, 255};
constexpr Colour yellow{255, 222, 0};
constexpr Colour heartRed{222, 18, 34};
constexpr Colour heartShadow{120, 0, 12};
constexpr Colour highlight{255, 214, 214};

// Heart coordinates: x to the right, y upwards; the heart spans about -1.14..1.14 by -1..1.24.
bool insideHeart(double x, double y) {
    const double a = x * x + y * y - 1;
    return a * a * a - x * x * y * y * y <= 0;
}

struct Point {
    double x;
    double y;
};

// A five-pointed star of radius 1 pointing up: outer and inner corners alternating.
constexpr std::array<Point, 10> unitStar{{{0, 1},
                                          {-0.22451, 0.30902},
                                          {-0.95106, 0.30902},
                                          {-0.36327, -0.11803},
                                          {-0.58779, -0.80902},
                                          {0, -0.38197},
                                          {0.58779, -0.80902},
                                          {0.36327, -0.11803},
                                          {0.95106, 0.30902},
                                          {0.22451, 0.30902}}};

struct Star {
    Point centre;
    double radius;
};

// One large star with four small ones in an arc beside it, in the heart's upper left lobe.
constexpr std::array<Star, 5> stars{{{{-0.56, 0.50}, 0.30},
                                     {{-0.20, 0.88}, 0.13},
                                     {{-0.08, 0.66}, 0.13},
                                     {{-0.08, 0.40}, 0.13},
                                     {{-0.20, 0.18}, 0.13}}};

bool insideStar(const Star& star, double x, double y) {
    const double px = (x - star.centre.x) / star.radius;
    const double py = (y - star.centre.y) / star.radius;
    if (px < -1 || px > 1 || py < -1 || py > 1) {  // the star lies within its unit circle
        return false;
    }
    bool inside = false;
    for (std::size_t i = 0, j = unitStar.size() - 1; i < unitStar.size(); j = i++) {
        const Point& a = unitStar[i];
        const Point& b = unitStar[j];
        if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

Colour heartShade(double x, double y) {
    // Light falls from the upper right: a bright spot there, shadow towards the point.
    const double dx = x - 0.50;
    const double dy = y - 0.72;
    const double distance = std::sqrt(dx * dx + dy * dy);
    const Colour lit = mix(highlight, heartRed, clamp01(distance / 0.32));
    return mix(lit, heartShadow, clamp01((distance - 0.5) / 1.6));
}

Colour sample(double x, double y) {
    if (!insideHeart(x, y)) {
        return white;
    }
    for (const Star& star : stars) {
        if (insideStar(star, x, y)) {
            return yellow;
        }
    }
    return heartShade(x, y);
}

// A 6 x 6 x 6 colour cube for the general case, then ramps for what the icon mostly shows:
// the heart's reds and the yellow of the stars blending into them.
std::array<form::Rgb, 256> makePalette() {
    std::array<form::Rgb, 256> palette{};
    std::size_t next = 0;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.at(next++) = {static_cast<std::uint8_t>(r * 51),
                                      static_cast<std::uint8_t>(g * 51),
                                      static_cast<std::uint8_t>(b * 51)};
            }
        }
    }
    const auto add = [&](Colour c) {
        palette.at(next++) = {static_cast<std::uint8_t>(c.red + 0.5),
                              static_cast<std::uint8_t>(c.green + 0.5),
                              static_cast<std::uint8_t>(c.blue + 0.5)};
    };
    for (int i = 0; i < 12; ++i) {
        add(mix(heartShadow, heartRed, i / 11.0));
    }
    for (int i = 1; i < 12; ++i) {
        add(mix(heartRed, highlight, i / 11.0));
    }
    for (int i = 1; i < 9; ++i) {
        add(mix(heartRed, yellow, i / 9.0));
    }
    for (int i = 1; i < 10; ++i) {
        add(mix(heartRed, white, i / 10.0));
    }
    return palette;
}

std::uint8_t nearest(const std::array<Colour, 256>& palette, Colour c) {
    std::size_t best = 0;
    double bestDistance = 1e300;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const double dr = palette[i].red - c.red;
        const double dg = palette[i].green - c.green;
        const double db = palette[i].blue - c.blue;
        const double distance = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

Colour pixelAt(int column, int row, int size) {
    // The heart fills a 32-pixel square at 13 pixels to the unit; other sizes scale that.
    constexpr int samples = 4;
    const double unitsPerPixel = 32.0 / (13.0 * size);
    Colour sum{0, 0, 0};
    for (int sy = 0; sy < samples; ++sy) {
        for (int sx = 0; sx < samples; ++sx) {
            const double px = column + (sx + 0.5) / samples;
            const double py = row + (sy + 0.5) / samples;
            const Colour c =
                sample((px - size / 2.0) * unitsPerPixel, (size / 2.0 - py) * unitsPerPixel + 0.12);
            sum = {sum.red + c.red, sum.green + c.green, sum.blue + c.blue};
        }
    }
    constexpr double count = samples * samples;
    return {sum.red / count, sum.green / count, sum.blue / count};
}

IndexedIcon paint() {
    IndexedIcon icon{makePalette(), {}};
    std::array<Colour, 256> palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {double(icon.palette[i].red), double(icon.palette[i].green),
                      double(icon.palette[i].blue)};
    }
    // Most pixels repeat the one before (the white ground, the stars' yellow): the palette is
    // searched only when the colour changes, which is most of the window's start-up arithmetic.
    Colour previous{-1, -1, -1};
    std::uint8_t match = 0;
    for (int row = 0; row < IndexedIcon::size; ++row) {
        for (int column = 0; column < IndexedIcon::size; ++column) {
            const Colour c = pixelAt(column, row, IndexedIcon::size);
            if (c.red != previous.red || c.green != previous.green || c.blue != previous.blue) {
                match = nearest(palette, c);
                previous = c;
            }
            icon.pixels[row * IndexedIcon::size + column] = match;
        }
    }
    return icon;
}

}  // namespace

std::vector<form::Rgb> paintIcon(int size) {
    std::vector<form::Rgb> pixels;
    pixels.reserve(static_cast<std::size_t>(size) * size);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const Colour c = pixelAt(column, row, size);
            pixels.push_back({static_cast<std::uint8_t>(c.red + 0.5),
                              static_cast<std::uint8_t>(c.green + 0.5),
                              static_cast<std::uint8_t>(c.blue + 0.5)});
        }
    }
    return pixels;
}

const IndexedIcon& windowIcon() {
    // About a millisecond of arithmetic, done once and only when an icon is first wanted.
    static const IndexedIcon icon = paint();
    return icon;
}

}  // namespace talmiro
