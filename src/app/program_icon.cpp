#include "app/program_icon.h"

#include <array>
#include <cstdint>

namespace {

// The 16 colours of the classic palette, as 0xAARRGGBB.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

// A small camera in front of a screen; '.' is clear, hex digits index the palette.
constexpr const char* kPicture[16] = {
    "................",
    ".00000000000000.",
    ".0CCCCCCCCCCCC0.",
    ".0C6666666666C0.",
    ".0C6EEEEEEEE6C0.",
    ".0C6E888888E6C0.",
    ".0C6E8FFFF8E6C0.",
    ".0C6E8F99F8E6C0.",
    ".0C6E8F99F8E6C0.",
    ".0C6E8FFFF8E6C0.",
    ".0C6E888888E6C0.",
    ".0C6EEEEEEEE6C0.",
    ".0CCCCCCCCCCCC0.",
    ".00000000000000.",
    "......0770......",
    "....07777770....",
};

}  // namespace

HICON ProgramIcon() {
    static HICON icon = [] {
        std::array<std::uint32_t, 256> pixels{};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                char c = kPicture[y][x];
                int index = c >= 'A' ? c - 'A' + 10 : c - '0';
                pixels[static_cast<std::size_t>(y * 16 + x)] = c == '.' ? 0 : kPalette[static_cast<std::size_t>(index)];
            }
        return win::CreateIconFromPixels(16, 16, pixels.data());
    }();
    return icon;
}
