// Writes the program's picture as a square PNG icon of a given side:
//   duvez_icon_png SIDE FILE.png
// The picture is scaled by the largest whole factor that fits, each pixel
// becoming a block of pixels, and centred on a clear square: pixel art stays
// sharp at every size.
#include "app/program_picture.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

QImage Icon(int side) {
    constexpr auto pixels = program_picture::Pixels();
    const int factor = side / program_picture::kSide;
    const int margin = (side - factor * program_picture::kSide) / 2;
    QImage icon(side, side, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 0; y < factor * program_picture::kSide; ++y)
        for (int x = 0; x < factor * program_picture::kSide; ++x)
            icon.setPixel(margin + x, margin + y,
                          pixels[static_cast<std::size_t>(y / factor * program_picture::kSide + x / factor)]);
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    int side = argc == 3 ? std::atoi(argv[1]) : 0;
    if (side < program_picture::kSide || side > 1024) {
        std::fprintf(stderr, "usage: duvez_icon_png SIDE FILE.png (SIDE 16 to 1024)\n");
        return 2;
    }
    if (!Icon(side).save(argv[2], "PNG")) {
        std::fprintf(stderr, "duvez_icon_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
