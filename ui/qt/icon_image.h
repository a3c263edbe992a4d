#pragma once

#include <QImage>
#include <QList>
#include <vector>

#include "ui/icon.h"

// The icon painter's pictures as Qt images: for the window, and for the icon theme's PNG files.
namespace talmiro::qt {

inline QImage imageOf(const IndexedIcon& icon) {
    QImage image(IndexedIcon::size, IndexedIcon::size, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const form::Rgb& c : icon.palette) {
        colours.append(qRgb(c.red, c.green, c.blue));
    }
    image.setColorTable(colours);
    for (int i = 0; i < IndexedIcon::size * IndexedIcon::size; ++i) {
        image.setPixel(i % IndexedIcon::size, i / IndexedIcon::size,
                       icon.pixels[static_cast<std::size_t>(i)]);
    }
    return image;
}

inline QImage imageOf(const std::vector<form::Rgb>& pixels, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    for (int i = 0; i < size * size; ++i) {
        const form::Rgb c = pixels[static_cast<std::size_t>(i)];
        image.setPixel(i % size, i / size, qRgb(c.red, c.green, c.blue));
    }
    return image;
}

}  // namespace talmiro::qt
