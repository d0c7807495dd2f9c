// The program's picture, 16 x 16 in 16 colours: the tray icon and window icon
// draw it as it stands, the installed icons scale it. One picture for both,
// so they cannot drift apart.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace program_picture {

constexpr int kSide = 16;

// The 16 colours of the classic palette, as 0xAARRGGBB.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

// A small camera in front of a screen; '.' is clear, hex digits index the palette.
constexpr const char* kRows[kSide] = {
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

// The picture as 0xAARRGGBB pixels, rows top first; clear is 0.
constexpr std::array<std::uint32_t, kSide * kSide> Pixels() {
    std::array<std::uint32_t, kSide * kSide> pixels{};
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            char c = kRows[y][x];
            int index = c >= 'A' ? c - 'A' + 10 : c - '0';
            pixels[static_cast<std::size_t>(y * kSide + x)] =
                c == '.' ? 0 : kPalette[static_cast<std::size_t>(index)];
        }
    return pixels;
}

}  // namespace program_picture
