#include "win/win.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

BITMAPINFO Info(int width, int height, int bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::vector<std::uint32_t> Surface(HWND window, int& width, int& height) {
    std::vector<std::uint32_t> copy;
    win::ReadSurface(window, [&](const win::SurfaceView& view) {
        width = view.width;
        height = view.height;
        if (view.pixels) copy.assign(view.pixels, view.pixels + static_cast<std::size_t>(view.width) * view.height);
    });
    for (auto& pixel : copy) pixel &= 0xFFFFFF;
    return copy;
}

class Surfaces : public ::testing::Test {
protected:
    Surfaces() : window(win::CreateWindowHandle({})), dc(GetDC(window)) {}
    ~Surfaces() override {
        ReleaseDC(window, dc);
        win::DestroyWindowHandle(window);
    }
    HWND window;
    HDC dc;
};

}  // namespace

TEST_F(Surfaces, ABottomUpPictureIsScaledAndClippedToTheClientArea) {
    win::SetClientSize(window, 4, 4);
    // 2 x 2, 24 bits, rows padded to 4 bytes, bottom row first: blue white / red green.
    const BYTE bits[] = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    BITMAPINFO info = Info(2, 2, 24);
    EXPECT_EQ(StretchDIBits(dc, 1, 1, 4, 4, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 3);
    int width = 0, height = 0;
    auto pixels = Surface(window, width, height);
    ASSERT_EQ(width, 4);
    ASSERT_EQ(height, 4);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; };
    EXPECT_EQ(at(0, 0), 0u);  // outside the painted rectangle
    EXPECT_EQ(at(1, 1), kRed);
    EXPECT_EQ(at(2, 2), kRed);
    EXPECT_EQ(at(3, 1), kGreen);
    EXPECT_EQ(at(1, 3), kBlue);
    EXPECT_EQ(at(3, 3), kWhite);
}

TEST_F(Surfaces, ATopDownPictureOfTheSameSizeGoesAcrossAsItIs) {
    win::SetClientSize(window, 3, 2);
    const std::uint32_t bits[] = {kRed, kGreen, kBlue, kWhite, 0x123456, 0xABCDEF};
    BITMAPINFO info = Info(3, -2, 32);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 3, 2, 0, 0, 3, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 2);
    int width = 0, height = 0;
    EXPECT_EQ(Surface(window, width, height), std::vector<std::uint32_t>(bits, bits + 6));
}

TEST_F(Surfaces, AbsurdRequestsPaintNothingAndAllocateNothing) {
    win::SetClientSize(window, 100000, 100000);
    const std::uint32_t pixel = kRed;
    BITMAPINFO info = Info(1, 1, 32);
    struct Case {
        int x, y, width, height, srcX, srcY, srcWidth, srcHeight;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 0, 0, 1, 1},      {0, 0, -1, 1, 0, 0, 1, 1},     {0, 0, 100000, 1, 0, 0, 1, 1},
        {0, 0, 1, 1, 0, 0, 2, 1},      {0, 0, 1, 1, 1, 0, 1, 1},      {-5, -5, 5, 5, 0, 0, 1, 1},
        {200000, 0, 1, 1, 0, 0, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StretchDIBits(dc, c.x, c.y, c.width, c.height, c.srcX, c.srcY, c.srcWidth, c.srcHeight, &pixel,
                                &info, DIB_RGB_COLORS, SRCCOPY),
                  0);
    BITMAPINFO sixteen = Info(1, 1, 16);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, &pixel, &sixteen, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 1, 1, 0, 0, 1, 1, &pixel, &info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, nullptr, &info, DIB_RGB_COLORS, SRCCOPY), 0);
    int width = 0, height = 0;
    EXPECT_TRUE(Surface(window, width, height).empty());

    // The client size is held at 16384 a side, and a paint covers at most 4096 of it.
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 16384, 1, 0, 0, 1, 1, &pixel, &info, DIB_RGB_COLORS, SRCCOPY), 1);
    Surface(window, width, height);
    EXPECT_EQ(width, 4096);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
}

TEST_F(Surfaces, AResizeClearsThePictureAndEveryChangeIsCounted) {
    win::SetClientSize(window, 1, 1);
    const std::uint32_t pixel = kRed;
    BITMAPINFO info = Info(1, 1, 32);
    std::uint64_t before = 0, painted = 0, resized = 0;
    win::ReadSurface(window, [&](const win::SurfaceView& v) { before = v.generation; });
    StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, &pixel, &info, DIB_RGB_COLORS, SRCCOPY);
    win::ReadSurface(window, [&](const win::SurfaceView& v) { painted = v.generation; });
    win::SetClientSize(window, 2, 2);
    int width = 0, height = 0;
    win::ReadSurface(window, [&](const win::SurfaceView& v) { resized = v.generation; });
    EXPECT_TRUE(Surface(window, width, height).empty());
    EXPECT_LT(before, painted);
    EXPECT_LT(painted, resized);
}

TEST_F(Surfaces, PaintingFromAnotherThreadWhileTheScreenReads) {
    win::SetClientSize(window, 64, 48);
    std::atomic<bool> done{false};
    std::thread painter([&] {
        std::vector<std::uint32_t> frame(64 * 48);
        BITMAPINFO info = Info(64, -48, 32);
        HDC own = GetDC(window);
        for (std::uint32_t i = 0; i < 200; ++i) {
            std::fill(frame.begin(), frame.end(), i);
            StretchDIBits(own, 0, 0, 64, 48, 0, 0, 64, 48, frame.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        }
        ReleaseDC(window, own);
        done = true;
    });
    int uniform = 0;
    while (!done) {
        win::ReadSurface(window, [&](const win::SurfaceView& v) {
            if (!v.pixels) return;
            // A picture is never seen half painted.
            bool same = std::all_of(v.pixels, v.pixels + 64 * 48, [&](std::uint32_t p) { return p == v.pixels[0]; });
            uniform += same ? 1 : -1000;
        });
    }
    painter.join();
    EXPECT_GE(uniform, 0);
    int width = 0, height = 0;
    EXPECT_EQ(Surface(window, width, height).front(), 199u);
}
