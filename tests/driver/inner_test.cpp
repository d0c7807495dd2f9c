// The board's inner parts, linked directly: rates, sizes, the renderer's
// limits, the pixel formats and the settings text.
#include "bitmap.h"
#include "picture.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace kivo {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(Inner, StandardsHaveTheirSizeAndRate) {
    EXPECT_EQ(StandardSize(0).width, 720);
    EXPECT_EQ(StandardSize(0).height, 480);
    for (int s : {1, 2}) {
        EXPECT_EQ(StandardSize(s).width, 768);
        EXPECT_EQ(StandardSize(s).height, 576);
    }
    EXPECT_EQ(FramePeriod(0).count(), 33366666);  // 1001/30000 s
    EXPECT_EQ(FramePeriod(1).count(), 40000000);
    EXPECT_EQ(FrameAt(0, seconds(1001)), 30000);
    EXPECT_EQ(FrameAt(0, seconds(1)), 29);
    EXPECT_EQ(FrameAt(1, seconds(1)), 25);
    EXPECT_EQ(FrameAt(2, milliseconds(39)), 0);
    EXPECT_EQ(FrameAt(0, std::chrono::hours(24 * 365)), 945'134'865) << "no overflow in a year";
}

TEST(Inner, TheRawAreaHoldsEveryViewportTheProgramSends) {
    for (int s = 0; s < 3; ++s)
        for (LONG x : {1, 255})
            for (LONG y : {1, 255}) {
                RECT r{x, y, x + StandardSize(s).width, y + StandardSize(s).height};
                EXPECT_TRUE(IsValidViewport(r)) << s << " " << x << " " << y;
            }
    RECT moved = StandardViewport(1, 1000, 800);
    EXPECT_EQ(moved.right, kRawWidth);
    EXPECT_EQ(moved.bottom, kRawHeight);
}

TEST(Inner, TheRendererRefusesSizesOutsideOneTo2048) {
    Renderer renderer;
    Shot shot;
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 10}, {2049, 10}, {10, 100000}})
        EXPECT_EQ(renderer.Render(shot, w, h), nullptr) << w << " x " << h;
    EXPECT_NE(renderer.Render(shot, 1, 1), nullptr);
    EXPECT_NE(renderer.Render(shot, 2048, 1), nullptr);
    shot.viewport = {0, 0, 0, 10};
    EXPECT_EQ(renderer.Render(shot, 10, 10), nullptr);
    shot = Shot{};
    shot.connector = 3;
    EXPECT_EQ(renderer.Render(shot, 10, 10), nullptr);
}

TEST(Inner, FormatsKeepTheTopBitsOfEachChannel) {
    const std::uint32_t pixels[2] = {0xFF123456, 0x00FFFFFF};  // the top byte is not read
    struct Case {
        int format;
        std::vector<std::uint8_t> first;
    };
    // 0x12, 0x34, 0x56: 5-5-5 = 00010 00110 01010, 5-6-5 = 00010 001101 01010.
    const Case cases[] = {{0, {0xCA, 0x08}}, {1, {0xAA, 0x11}}, {2, {0x56, 0x34, 0x12}}, {3, {0x56, 0x34, 0x12, 0xFF}}};
    for (const Case& c : cases) {
        GrabbedFrame frame = ConvertFrame(pixels, 2, 1, c.format);
        ASSERT_EQ(frame.format, c.format);
        ASSERT_EQ(frame.bits.size(), frame.Stride());
        EXPECT_EQ(std::vector<std::uint8_t>(frame.bits.begin(), frame.bits.begin() + c.first.size()), c.first)
            << "format " << c.format;
    }
    EXPECT_EQ(ConvertFrame(pixels, 2, 1, 0).bits[3], 0x7F) << "white in 5-5-5 is 0x7FFF";
    EXPECT_EQ(ConvertFrame(pixels, 2, 1, 9).format, 2);
}

TEST(Inner, RowsGoBottomFirstPaddedToFourBytes) {
    const std::uint32_t pixels[6] = {1, 2, 3, 4, 5, 6};  // 3 x 2
    GrabbedFrame frame = ConvertFrame(pixels, 3, 2, 2);
    EXPECT_EQ(frame.Stride(), 12u);
    ASSERT_EQ(frame.bits.size(), 24u);
    EXPECT_EQ(frame.bits[0], 4) << "the bottom row first";
    EXPECT_EQ(frame.bits[12], 1);
    EXPECT_EQ(frame.bits[9], 0) << "padding";
    std::vector<std::uint8_t> headers = BmpHeaders(frame);
    EXPECT_EQ(headers.size(), 54u);
    EXPECT_EQ(headers[2], 54 + 24);
}

TEST(Inner, SettingsTextRoundTrips) {
    BoardSettings s;
    s.connector = 2;
    s.standards = {1, 2, 0};
    s.controls = {-128, 0, 127, -8, 511};
    s.viewport = {255, 255, 1023, 831};
    BoardSettings back;
    ASSERT_TRUE(ParseSettings(FormatSettings(s), back)) << FormatSettings(s);
    EXPECT_EQ(back, s);
}

TEST(Inner, ASettingsValueTakesOneSignAtMost) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"-20", -20},          {"+20", 20},           {" +20 ", 20},         {"+-20", std::nullopt},
        {"-+20", std::nullopt}, {"--20", std::nullopt}, {"++20", std::nullopt}, {"+", std::nullopt},
        {"- 20", std::nullopt},
    };
    for (const auto& [value, brightness] : cases) {
        BoardSettings s;
        EXPECT_EQ(ParseSettings(std::string("[KIVO]\nbrightness=") + value + "\n", s), brightness.has_value()) << value;
        EXPECT_EQ(s.controls[kBrightness], brightness.value_or(0)) << value;
    }
}

}  // namespace
}  // namespace kivo
