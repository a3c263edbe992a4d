// Build tool: writes the icon's RT_ICON and RT_GROUP_ICON data into a folder, with icon.rc
// naming them under their resource numbers, for the resource compiler to include, and the same
// icon as talmiro.ico for the installer.
#include <cstdio>
#include <fstream>
#include <string>

#include "ui/win32/icon_resource.h"

namespace {

bool write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

std::string bytesOf(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const auto& icon = talmiro::windowIcon();
    const std::string image = folder + "/icon_image.bin";
    const std::string group = folder + "/icon_group.bin";
    const std::string script = std::to_string(talmiro::iconImageId) + " 3 \"" + image + "\"\n" +
                               std::to_string(talmiro::iconGroupId) + " 14 \"" + group + "\"\n";
    if (!write(image, bytesOf(talmiro::iconImageResource(icon))) ||
        !write(group, bytesOf(talmiro::iconGroupResource(icon))) ||
        !write(folder + "/icon.rc", script) ||
        !write(folder + "/talmiro.ico", bytesOf(talmiro::iconFile(icon)))) {
        std::perror("write_icon_resources");
        return 1;
    }
    return 0;
}
