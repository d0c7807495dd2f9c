#include "bitmap.h"

#include <cstring>

namespace kivo {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

int BitsPerPixel(int format) {
    switch (format) {
        case 0:
        case 1: return 16;
        case 3: return 32;
        default: return 24;
    }
}

GrabbedFrame ConvertFrame(const std::uint32_t* pixels, int width, int height, int format) {
    GrabbedFrame frame;
    frame.format = format >= 0 && format < kFormats ? format : kDefaultFormat;
    frame.width = width;
    frame.height = height;
    const std::size_t stride = frame.Stride();
    frame.bits.assign(stride * static_cast<std::size_t>(height), 0);
    const std::size_t w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = pixels + static_cast<std::size_t>(y) * w;
        std::uint8_t* out = frame.bits.data() + stride * static_cast<std::size_t>(height - 1 - y);
        switch (frame.format) {
            case 0:
                for (std::size_t x = 0; x < w; ++x) {
                    std::uint32_t p = in[x];
                    std::uint32_t v = (p >> 9 & 0x7C00) | (p >> 6 & 0x03E0) | (p >> 3 & 0x001F);
                    out[2 * x] = static_cast<std::uint8_t>(v);
                    out[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                }
                break;
            case 1:
                for (std::size_t x = 0; x < w; ++x) {
                    std::uint32_t p = in[x];
                    std::uint32_t v = (p >> 8 & 0xF800) | (p >> 5 & 0x07E0) | (p >> 3 & 0x001F);
                    out[2 * x] = static_cast<std::uint8_t>(v);
                    out[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                }
                break;
            case 3:
                for (std::size_t x = 0; x < w; ++x) {
                    std::uint32_t p = in[x] | 0xFF000000u;
                    std::memcpy(out + 4 * x, &p, 4);  // blue, green, red, 0xFF on this little-endian host
                }
                break;
            default:
                for (std::size_t x = 0; x < w; ++x) {
                    std::uint32_t p = in[x];
                    out[3 * x] = static_cast<std::uint8_t>(p);
                    out[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
                    out[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
                }
                break;
        }
    }
    return frame;
}

std::vector<std::uint8_t> BmpHeaders(const GrabbedFrame& frame) {
    const bool masks = frame.format == 1;
    const std::uint32_t headers = 14 + 40 + (masks ? 12 : 0);
    const auto imageSize = static_cast<std::uint32_t>(frame.bits.size());
    std::vector<std::uint8_t> out;
    out.reserve(headers);
    // BITMAPFILEHEADER
    Put16(out, 0x4D42);  // "BM"
    Put32(out, headers + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, headers);
    // BITMAPINFOHEADER; a positive height: rows bottom first, as every reader takes them
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(frame.width));
    Put32(out, static_cast<std::uint32_t>(frame.height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(BitsPerPixel(frame.format)));
    Put32(out, masks ? 3u /* BI_BITFIELDS */ : 0u /* BI_RGB */);
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots an inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    if (masks) {
        Put32(out, 0xF800);
        Put32(out, 0x07E0);
        Put32(out, 0x001F);
    }
    return out;
}

}  // namespace kivo
