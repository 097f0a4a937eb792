// screenshot_check FILE.png: exit 0 when the picture is not blank, that is when it has at least
// MIN_COLOURS colours and at least a fiftieth of it differs from its commonest colour; 1 when
// it is blank, 2 when it cannot be read.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr std::size_t MIN_COLOURS = 16;
constexpr double MIN_OTHER_SHARE = 0.02;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot_check FILE.png\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::fprintf(stderr, "screenshot_check: %s: %s\n", argv[1], image.message);
        return 2;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "screenshot_check: %s: %s\n", argv[1], image.message);
        return 2;
    }
    std::map<std::uint32_t, std::size_t> colours;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
        ++colours[static_cast<std::uint32_t>(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2])];
    }
    std::size_t commonest = 0;
    for (const auto& [colour, count] : colours) {
        commonest = std::max(commonest, count);
    }
    const std::size_t total = pixels.size() / 3;
    const double otherShare = total == 0 ? 0.0 : 1.0 - static_cast<double>(commonest) / total;
    std::printf("%s: %u x %u, %zu colours, %.1f %% away from the commonest\n", argv[1], image.width,
                image.height, colours.size(), otherShare * 100.0);
    return colours.size() >= MIN_COLOURS && otherShare >= MIN_OTHER_SHARE ? 0 : 1;
}
