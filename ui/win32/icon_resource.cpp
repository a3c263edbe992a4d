#include "ui/win32/icon_resource.h"

namespace talmiro {
namespace {

// Resource data is little-endian whatever the host.
struct Writer {
    std::vector<std::uint8_t> bytes;
    void u8(std::uint8_t value) { bytes.push_back(value); }
    void u16(std::uint16_t value) {
        u8(value & 0xFF);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
};

constexpr std::uint32_t headerSize = 40;
constexpr std::uint32_t maskRowBytes = IndexedIcon::size / 8;  // 4: already 32-bit aligned

constexpr std::uint32_t imageResourceSize(const IndexedIcon& icon) {
    return headerSize + 4 * icon.palette.size() + icon.pixels.size() +
           maskRowBytes * IndexedIcon::size;
}

}  // namespace

std::vector<std::uint8_t> iconImageResource(const IndexedIcon& icon) {
    Writer out;
    out.u32(headerSize);
    out.u32(IndexedIcon::size);
    out.u32(2 * IndexedIcon::size);  // colour image and mask stacked
    out.u16(1);                      // planes
    out.u16(8);                      // bits per pixel
    out.u32(0);                      // BI_RGB
    out.u32(icon.pixels.size() + maskRowBytes * IndexedIcon::size);
    out.u32(0);
    out.u32(0);
    out.u32(icon.palette.size());
    out.u32(0);
    for (const form::Rgb& colour : icon.palette) {
        out.u8(colour.blue);
        out.u8(colour.green);
        out.u8(colour.red);
        out.u8(0);
    }
    for (int row = IndexedIcon::size - 1; row >= 0; --row) {
        for (int column = 0; column < IndexedIcon::size; ++column) {
            out.u8(icon.pixels[row * IndexedIcon::size + column]);
        }
    }
    out.bytes.resize(out.bytes.size() + maskRowBytes * IndexedIcon::size, 0);
    return out.bytes;
}

namespace {

// The one image's entry in an icon directory, up to where a resource and a file part ways.
void iconDirectory(Writer& out, const IndexedIcon& icon) {
    out.u16(0);  // reserved
    out.u16(1);  // icons, not cursors
    out.u16(1);  // one image
    out.u8(IndexedIcon::size);
    out.u8(IndexedIcon::size);
    out.u8(0);  // 0 colours means 256
    out.u8(0);
    out.u16(1);
    out.u16(8);
    out.u32(imageResourceSize(icon));
}

}  // namespace

std::vector<std::uint8_t> iconGroupResource(const IndexedIcon& icon) {
    Writer out;
    iconDirectory(out, icon);
    out.u16(iconImageId);
    return out.bytes;
}

std::vector<std::uint8_t> iconFile(const IndexedIcon& icon) {
    Writer out;
    iconDirectory(out, icon);
    out.u32(static_cast<std::uint32_t>(out.bytes.size() + sizeof(std::uint32_t)));  // the image
    const std::vector<std::uint8_t> image = iconImageResource(icon);
    out.bytes.insert(out.bytes.end(), image.begin(), image.end());
    return out.bytes;
}

}  // namespace talmiro
