// Grabbed frames in the board's four pixel formats, and their BMP files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivo {

// Pixel formats: 0 16-bit 5-5-5, 1 16-bit 5-6-5, 2 24-bit, 3 32-bit.
constexpr int kFormats = 4;
constexpr int kDefaultFormat = 2;  // what a format outside 0..3 takes
int BitsPerPixel(int format);

// A frame as a device-independent bitmap: rows bottom first, each padded to
// a multiple of four bytes, the way a BMP file holds them.
struct GrabbedFrame {
    int format = kDefaultFormat;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;

    std::size_t Stride() const { return (static_cast<std::size_t>(width) * BitsPerPixel(format) + 31) / 32 * 4; }
};

// Converts a picture of 0xXXRRGGBB pixels, rows top first, to `format`
// (16-bit channels are the top bits of the 8-bit ones; the unused byte of a
// 32-bit pixel is 0xFF, so readers that take it for alpha see it opaque).
GrabbedFrame ConvertFrame(const std::uint32_t* pixels, int width, int height, int format);

// The BMP file's headers for the frame (file header, BITMAPINFOHEADER and,
// for 5-6-5, the three colour masks); the pixel array follows them.
std::vector<std::uint8_t> BmpHeaders(const GrabbedFrame& frame);

}  // namespace kivo
