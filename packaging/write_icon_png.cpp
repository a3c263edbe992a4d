// Build tool: paints the program icon at one size into a PNG for the desktop's icon theme.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "ui/icon.h"
#include "ui/qt/icon_image.h"

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
    const QImage image = talmiro::qt::imageOf(talmiro::paintIcon(size), size);
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "write_icon_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
