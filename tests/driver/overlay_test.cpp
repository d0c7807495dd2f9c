// The live overlay: the frame thread paints the picture into the output
// window at the standard's rate; freeze keeps the last frame, unfreeze
// resumes, and DeInit stops and joins the thread. These cases are the ones
// to run under the sanitizers (address, undefined, thread).
#include "driver_fixture.h"

#include <sys/resource.h>

#include <chrono>
#include <thread>

namespace kivo::test {
namespace {

using namespace std::chrono_literals;
using Overlay = BoardTest;

std::uint64_t Painted(HWND window) {
    std::uint64_t generation = 0;
    win::ReadSurface(window, [&](const win::SurfaceView& view) { generation = view.generation; });
    return generation;
}

// Waits until the window has been painted `more` times after `from`.
bool WaitForPaints(HWND window, std::uint64_t from, std::uint64_t more, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (Painted(window) >= from + more) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

std::int32_t Set(const Driver& qor, std::int32_t h, HWND window, std::int32_t width, std::int32_t height) {
    std::int32_t x = 0, y = 0;
    return qor.SetOutputWindow(h, window, &x, &y, &width, &height);
}

TEST_F(Overlay, SettingTheWindowPaintsOneFrameAtOnce) {
    SetEnv("KIVO_FIXED_FRAME", "3");
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(720, 480);
    ASSERT_EQ(Set(qor, h, window, 720, 480), 1);
    Picture shown = ReadWindow(window);
    ASSERT_EQ(shown.width, 720);
    ASSERT_EQ(shown.height, 480);
    ASSERT_EQ(qor.Freeze(h), 1);
    Picture grabbed = Grab32(h);
    ASSERT_EQ(grabbed.width, 720);
    EXPECT_EQ(ReadWindow(window).pixels, grabbed.pixels) << "the window shows the frame a grab takes";
}

TEST_F(Overlay, ThePictureIsScaledToTheOutputSize) {
    SetEnv("KIVO_FIXED_FRAME", "3");
    for (int connector = 0; connector < 3; ++connector) {
        SCOPED_TRACE(connector);
        std::int32_t h = OpenAndRead();
        ASSERT_EQ(qor.SetActiveSource(h, connector), 1);
        HWND window = MakeWindow(400, 400);
        ASSERT_EQ(Set(qor, h, window, 360, 240), 1);  // half the viewport's 720 x 480
        ASSERT_EQ(qor.Freeze(h), 1);
        Picture shown = ReadWindow(window);
        ASSERT_EQ(shown.width, 360) << "the surface covers just the output size";
        ASSERT_EQ(shown.height, 240);
        Picture grabbed = Grab32(h);
        ASSERT_EQ(grabbed.width, 720);
        int mismatches = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 360; ++x)
                if (shown.At(x, y) != grabbed.At(2 * x + 1, 2 * y + 1)) ++mismatches;
        EXPECT_EQ(mismatches, 0) << "each output pixel shows the viewport pixel under its centre";
        Close();
    }
}

TEST_F(Overlay, TheFrameThreadPaintsFreezeKeepsUnfreezeResumesDeInitStops) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(160, 120);
    std::uint64_t before = Generation(window);
    ASSERT_EQ(Set(qor, h, window, 160, 120), 1);
    std::uint64_t first = Generation(window);
    EXPECT_GT(first, before) << "setting the window paints at once";
    // Live: the thread paints on its own, a frame every 1/29.97 s.
    EXPECT_TRUE(WaitForPaints(window, first, 3, 3000ms)) << "the live picture does not move on";

    ASSERT_EQ(qor.Freeze(h), 1);
    std::uint64_t frozen = Generation(window);
    Picture still = ReadWindow(window);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Generation(window), frozen) << "a frozen picture is not painted again";
    EXPECT_EQ(ReadWindow(window).pixels, still.pixels);

    ASSERT_EQ(qor.UnFreeze(h), 1);
    EXPECT_GT(Generation(window), frozen) << "unfreeze paints one frame at once";
    std::uint64_t resumed = Generation(window);
    EXPECT_TRUE(WaitForPaints(window, resumed, 3, 3000ms)) << "the live picture does not resume";
    EXPECT_NE(ReadWindow(window).pixels, still.pixels) << "the scene moves";

    Close();
    std::uint64_t stopped = Generation(window);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(Generation(window), stopped) << "DeInit stops the frame thread";
}

TEST_F(Overlay, PaintsComeAtTheStandardsRate) {
    std::int32_t h = OpenAndRead();
    for (int standard : {0, 1}) {
        SCOPED_TRACE(standard);
        ASSERT_EQ(qor.SetSourceSystem(h, 0, standard), 1);
        HWND window = MakeWindow(64, 48);
        ASSERT_EQ(Set(qor, h, window, 64, 48), 1);
        std::uint64_t start = Generation(window);
        auto begin = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(1000ms);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        double rate = static_cast<double>(Generation(window) - start) / seconds;
        double expected = standard == 0 ? 29.97 : 25.0;
        EXPECT_LE(rate, expected + 2.5) << "never faster than the standard";
        EXPECT_GE(rate, expected / 3) << "a loaded machine may drop frames, but not most of them";
    }
}

TEST_F(Overlay, FreezeWhileSettingsChangedShowsTheFrozenPicture) {
    SetEnv("KIVO_FIXED_FRAME", "9");
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(720, 480);
    ASSERT_EQ(Set(qor, h, window, 720, 480), 1);
    ASSERT_EQ(qor.SetVideoColor(h, 0, 100), 1);  // not yet shown
    ASSERT_EQ(qor.Freeze(h), 1);
    Picture grabbed = Grab32(h);
    EXPECT_EQ(ReadWindow(window).pixels, grabbed.pixels);
}

TEST_F(Overlay, ChangesWhileFrozenWaitForTheUnfreeze) {
    SetEnv("KIVO_FIXED_FRAME", "9");
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(320, 240);
    ASSERT_EQ(Set(qor, h, window, 320, 240), 1);
    ASSERT_EQ(qor.Freeze(h), 1);
    Picture frozen = ReadWindow(window);
    ASSERT_EQ(qor.SetActiveSource(h, 2), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(ReadWindow(window).pixels, frozen.pixels);
    // A new output size while frozen shows the frozen frame at that size.
    ASSERT_EQ(Set(qor, h, window, 160, 120), 1);
    Picture smaller = ReadWindow(window);  // its top left 160 x 120 are new
    Picture grabbed = Grab32(h);             // the frozen frame, CCD still
    ASSERT_EQ(grabbed.width, 720);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(smaller.At(x, y), grabbed.At((2 * x + 1) * 720 / 320, (2 * y + 1) * 480 / 240))
                << x << ", " << y << ": the frozen frame at the new size";
    ASSERT_EQ(qor.UnFreeze(h), 1);
    Picture live = ReadWindow(window);
    EXPECT_NE(live.pixels, smaller.pixels) << "the new connector shows after the unfreeze";
}

TEST_F(Overlay, ANullWindowTurnsTheOverlayOff) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(160, 120);
    ASSERT_EQ(Set(qor, h, window, 160, 120), 1);
    ASSERT_EQ(Set(qor, h, nullptr, 160, 120), 1);
    std::uint64_t off = Generation(window);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(Generation(window), off) << "nothing is painted without a window";
    EXPECT_EQ(qor.UnFreeze(h), 1);
    EXPECT_EQ(Generation(window), off);
    HWND out = window;
    std::int32_t x = 1, y = 1, w = 1, hh = 1;
    ASSERT_EQ(qor.GetOutputWindow(h, &out, &x, &y, &w, &hh), 1);
    EXPECT_EQ(out, nullptr);
}

TEST_F(Overlay, AbsurdSizesPaintNothingAndAllocateNothingLarge) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(640, 480);
    const std::uint64_t unpainted = Generation(window);
    struct rusage before {};
    ::getrusage(RUSAGE_SELF, &before);
    const std::pair<std::int32_t, std::int32_t> sizes[] = {{0, 480},      {640, 0},         {-1, 480},
                                                           {640, -480},   {100000, 480},    {640, 100000},
                                                           {100000, 100000}, {2049, 10},    {INT32_MIN, INT32_MAX}};
    for (auto [w, hh] : sizes) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(hh));
        EXPECT_EQ(Set(qor, h, window, w, hh), 0);
        EXPECT_EQ(Generation(window), unpainted);
        EXPECT_EQ(qor.UnFreeze(h), 1);
        EXPECT_EQ(Generation(window), unpainted);
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Generation(window), unpainted);
    EXPECT_TRUE(ReadWindow(window).pixels.empty());
    struct rusage after {};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes more at the peak";
    // The largest size taken: 2048 a side.
    EXPECT_EQ(Set(qor, h, window, 2048, 2048), 1);
    EXPECT_GT(Generation(window), unpainted);
}

TEST_F(Overlay, ADestroyedWindowIsNoHarm) {
    std::int32_t h = OpenAndRead();
    HWND window = win::CreateWindowHandle([](UINT, WPARAM, LPARAM) { return LRESULT{0}; });
    win::SetClientSize(window, 160, 120);
    ASSERT_EQ(Set(qor, h, window, 160, 120), 1);
    win::DestroyWindowHandle(window);  // the thread keeps trying, and paints nowhere
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(qor.UnFreeze(h), 1);
    EXPECT_EQ(qor.Freeze(h), 1);
}

TEST_F(Overlay, CallsFromManyThreadsAtOnce) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(160, 120);
    ASSERT_EQ(Set(qor, h, window, 160, 120), 1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                switch ((i + t) % 6) {
                    case 0: qor.Freeze(h); break;
                    case 1: qor.UnFreeze(h); break;
                    case 2: qor.SetVideoColor(h, i % 5, 0); break;
                    case 3: Set(qor, h, window, 80 + 8 * t, 60); break;
                    case 4: qor.FreezeAndGrabFrame(h, i % 4); break;
                    default: qor.SetActiveSource(h, i % 3); break;
                }
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(qor.UnFreeze(h), 1);
    EXPECT_TRUE(WaitForPaints(window, Generation(window), 2, 3000ms));
}

}  // namespace
}  // namespace kivo::test
