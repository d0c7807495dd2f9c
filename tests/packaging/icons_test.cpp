// The installed icons are the tray icon's picture: at each size of the hicolor
// theme, every pixel of it a square block of whole pixels, centred on a clear
// square, with nothing blurred or blended.
#include "app/program_icon.h"

#include <QImage>

#include <string>

#include <gtest/gtest.h>

TEST(Icons, EachSizeIsTheTrayIconScaledByAWholeFactorAndCentred) {
    const win::IconPicture tray = win::IconPixels(ProgramIcon());
    ASSERT_EQ(tray.width, 16);
    ASSERT_EQ(tray.height, 16);
    struct Case {
        int side, factor, margin;
    };
    const Case cases[] = {{16, 1, 0}, {22, 1, 3}, {24, 1, 4}, {32, 2, 0}, {48, 3, 0}, {64, 4, 0}, {128, 8, 0}, {256, 16, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        const std::string size = std::to_string(c.side) + "x" + std::to_string(c.side);
        QImage icon(QString::fromStdString(std::string(ICON_FOLDER) + "/" + size + "/apps/org.example.duvez.png"));
        ASSERT_FALSE(icon.isNull());
        ASSERT_EQ(icon.width(), c.side);
        ASSERT_EQ(icon.height(), c.side);
        icon = icon.convertToFormat(QImage::Format_ARGB32);
        int wrong = 0;
        for (int y = 0; y < c.side; ++y)
            for (int x = 0; x < c.side; ++x) {
                int px = (x - c.margin) / c.factor, py = (y - c.margin) / c.factor;
                bool inside = x >= c.margin && y >= c.margin && px < 16 && py < 16;
                std::uint32_t expected = inside ? tray.pixels[static_cast<std::size_t>(py * 16 + px)] : 0;
                std::uint32_t got = icon.pixel(x, y);
                if (qAlpha(got) == 0) got = 0;  // clear is clear, whatever its colour
                if (got != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "pixels unlike the tray icon's";
    }
}
