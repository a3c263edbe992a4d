// Build tool: paints the program icon at one size into a PNG for the desktop's icon theme.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "ui/icon.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size <= 0) {
        std::fprintf(stderr, "write_icon_png: bad size '%s'\n", argv[1]);
        return 2;
    }
    QImage image(size, size, QImage::Format_RGB32);
    const auto pixels = talmiro::paintIcon(size);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const auto& c = pixels[static_cast<std::size_t>(row * size + column)];
            image.setPixel(column, row, qRgb(c.red, c.green, c.blue));
        }
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "write_icon_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
