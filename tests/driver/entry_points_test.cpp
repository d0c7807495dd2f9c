// The 19 entry points through the real library: opening and closing, the
// values they keep, and every argument out of range refused without harm.
#include "driver_fixture.h"

#include <functional>

namespace kivo::test {
namespace {

using EntryPoints = BoardTest;

TEST_F(EntryPoints, AllNineteenAreExportedByName) {
    HMODULE module = LoadLibraryA("QORDCI32.DLL");
    ASSERT_NE(module, nullptr);
    ASSERT_EQ(EntryPointNames().size(), 19u);
    for (const std::string& name : EntryPointNames()) EXPECT_NE(GetProcAddress(module, name.c_str()), nullptr) << name;
    EXPECT_EQ(GetProcAddress(module, "QOR_Nothing_32"), nullptr);
    FreeLibrary(module);
}

TEST_F(EntryPoints, InitGivesAHandleAndOnlyOneBoardIsOpen) {
    std::int32_t h = Open();
    ASSERT_GE(h, 0);
    EXPECT_EQ(qor.Init(), -2) << "a second board while one is open";
    EXPECT_EQ(qor.GetActiveSource(h), 0) << "the first board is still open";
    Close();
    std::int32_t again = qor.Init();
    EXPECT_GE(again, 0) << "after DeInit the board opens again";
    handle = again;
}

TEST_F(EntryPoints, DeInitReleasesTheBoardAndItsHandleDoesNothingAfterwards) {
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.DeInit(h), 1);
    handle = -1;
    EXPECT_EQ(qor.DeInit(h), 0);
    std::int32_t value = 1234, max = 1234, min = 1234;
    EXPECT_EQ(qor.GetVideoColor(h, 0, &value, &max, &min), 0);
    EXPECT_EQ(value, 1234);
    EXPECT_EQ(max, 1234);
    EXPECT_EQ(min, 1234);
    RECT r{1, 2, 3, 4};
    EXPECT_EQ(qor.GetCurInputViewport(h, &r), 0);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(qor.GetActiveSource(h), -1);
    EXPECT_EQ(qor.GetSourceSystem(h, 0), -1);
    EXPECT_EQ(qor.SetActiveSource(h, 1), 0);
    EXPECT_EQ(qor.Freeze(h), 0);
    EXPECT_EQ(qor.UnFreeze(h), 0);
    EXPECT_EQ(qor.FreezeAndGrabFrame(h, 2), 0);
    char buffer[128] = {};
    EXPECT_EQ(qor.GetIniFile(h, buffer), 0);
    EXPECT_EQ(qor.SaveIniFile(h, buffer), 0);
    EXPECT_FALSE(std::filesystem::exists(Path("board.ini"))) << "a closed handle saved the settings";
}

TEST_F(EntryPoints, AHandleThatWasNeverOpenDoesNothing) {
    std::int32_t h = OpenAndRead();
    for (std::int32_t other : {h + 1, h - 1, -1, -16, 1000000}) {
        if (other == h) continue;
        SCOPED_TRACE(other);
        EXPECT_EQ(qor.SetActiveSource(other, 2), 0);
        EXPECT_EQ(qor.SetVideoColor(other, 0, 50), 0);
        RECT r{100, 100, 820, 580};
        EXPECT_EQ(qor.SetCurInputViewport(other, &r), 0);
        EXPECT_EQ(qor.DeInit(other), 0);
        EXPECT_EQ(qor.GetActiveSource(other), -1);
    }
    EXPECT_EQ(qor.GetActiveSource(h), 0);
    std::int32_t value = 0, max = 0, min = 0;
    EXPECT_EQ(qor.GetVideoColor(h, 0, &value, &max, &min), 1);
    EXPECT_EQ(value, 0);
    RECT r{};
    EXPECT_EQ(qor.GetCurInputViewport(h, &r), 1);
    EXPECT_EQ(r.left, 16);
}

TEST_F(EntryPoints, ConnectorAndAStandardPerConnector) {
    std::int32_t h = OpenAndRead();
    EXPECT_EQ(qor.GetActiveSource(h), 0);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(qor.GetSourceSystem(h, c), 0) << "NTSC by default";
    EXPECT_EQ(qor.SetSourceSystem(h, 1, 1), 1);
    EXPECT_EQ(qor.SetSourceSystem(h, 2, 2), 1);
    EXPECT_EQ(qor.SetActiveSource(h, 2), 1);
    EXPECT_EQ(qor.GetActiveSource(h), 2);
    EXPECT_EQ(qor.GetSourceSystem(h, 0), 0);
    EXPECT_EQ(qor.GetSourceSystem(h, 1), 1);
    EXPECT_EQ(qor.GetSourceSystem(h, 2), 2);
}

TEST_F(EntryPoints, PictureControlsReportTheirRangesValueMaxMin) {
    std::int32_t h = OpenAndRead();
    struct Expected {
        std::int32_t value, max, min;
    };
    const Expected expected[5] = {{0, 127, -128}, {256, 511, 0}, {0, 127, -128}, {0, 8, -8}, {256, 511, 0}};
    bool negative = false;
    for (int i = 0; i < 5; ++i) {
        std::int32_t value = -999, max = -999, min = -999;
        ASSERT_EQ(qor.GetVideoColor(h, i, &value, &max, &min), 1);
        EXPECT_EQ(value, expected[i].value) << i;
        EXPECT_EQ(max, expected[i].max) << i;
        EXPECT_EQ(min, expected[i].min) << i;
        negative = negative || min < 0;
        EXPECT_EQ(qor.SetVideoColor(h, i, min), 1);
        EXPECT_EQ(qor.SetVideoColor(h, i, max), 1);
        ASSERT_EQ(qor.GetVideoColor(h, i, &value, &max, &min), 1);
        EXPECT_EQ(value, max);
    }
    EXPECT_TRUE(negative) << "at least one control has a negative minimum";
}

TEST_F(EntryPoints, ViewportIsKeptAsLeftTopRightBottom) {
    std::int32_t h = OpenAndRead();
    RECT r{};
    ASSERT_EQ(qor.GetCurInputViewport(h, &r), 1);
    EXPECT_EQ(r.left, 16);
    EXPECT_EQ(r.top, 16);
    EXPECT_EQ(r.right - r.left, 720);
    EXPECT_EQ(r.bottom - r.top, 480);
    // What the program sends for X 11, Y 20 under NTSC, and the corners the
    // input tab can reach under each standard.
    for (RECT sent : {RECT{11, 20, 731, 500}, RECT{1, 1, 721, 481}, RECT{255, 255, 975, 735},
                      RECT{255, 255, 1023, 831}, RECT{0, 0, 1, 1}}) {
        ASSERT_EQ(qor.SetCurInputViewport(h, &sent), 1);
        RECT back{};
        ASSERT_EQ(qor.GetCurInputViewport(h, &back), 1);
        EXPECT_EQ(back.left, sent.left);
        EXPECT_EQ(back.top, sent.top);
        EXPECT_EQ(back.right, sent.right);
        EXPECT_EQ(back.bottom, sent.bottom);
    }
}

TEST_F(EntryPoints, TheViewportFollowsTheSizeOfTheStandardShown) {
    std::int32_t h = OpenAndRead();
    RECT r{40, 30, 760, 510};
    ASSERT_EQ(qor.SetCurInputViewport(h, &r), 1);
    ASSERT_EQ(qor.SetSourceSystem(h, 0, 1), 1);  // the active connector goes PAL
    ASSERT_EQ(qor.GetCurInputViewport(h, &r), 1);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 40 + 768);
    EXPECT_EQ(r.bottom, 30 + 576);
    ASSERT_EQ(qor.SetSourceSystem(h, 0, 2), 1);  // SECAM: the same size
    ASSERT_EQ(qor.GetCurInputViewport(h, &r), 1);
    EXPECT_EQ(r.right, 40 + 768);
    ASSERT_EQ(qor.SetSourceSystem(h, 1, 1), 1);  // another connector: no change
    ASSERT_EQ(qor.SetActiveSource(h, 2), 1);     // NTSC shown again
    ASSERT_EQ(qor.GetCurInputViewport(h, &r), 1);
    EXPECT_EQ(r.right, 40 + 720);
    EXPECT_EQ(r.bottom, 30 + 480);
}

// Each call out of range answers its refusal and changes nothing.
struct Refusal {
    const char* what;
    std::function<std::int32_t(const Driver&, std::int32_t)> call;
    std::int32_t result;
};

TEST_F(EntryPoints, ArgumentsOutOfRangeAreRefusedWithoutHarm) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(64, 48);
    const std::uint64_t unpainted = Generation(window);
    static std::int32_t zero = 0, size = 64, huge = 100000, negative = -5;
    static RECT rects[] = {{-1, 0, 719, 480},   {0, -1, 720, 479}, {300, 0, 1025, 480}, {0, 300, 720, 833},
                           {10, 10, 10, 490},   {10, 10, 730, 10}, {730, 10, 10, 490},  {INT32_MIN, 0, INT32_MAX, 1}};
    std::vector<Refusal> refusals = {
        {"connector -1", [](const Driver& d, std::int32_t b) { return d.SetActiveSource(b, -1); }, 0},
        {"connector 3", [](const Driver& d, std::int32_t b) { return d.SetActiveSource(b, 3); }, 0},
        {"standard of connector 3", [](const Driver& d, std::int32_t b) { return d.SetSourceSystem(b, 3, 0); }, 0},
        {"standard of connector -1", [](const Driver& d, std::int32_t b) { return d.SetSourceSystem(b, -1, 0); }, 0},
        {"standard 3", [](const Driver& d, std::int32_t b) { return d.SetSourceSystem(b, 0, 3); }, 0},
        {"standard -1", [](const Driver& d, std::int32_t b) { return d.SetSourceSystem(b, 0, -1); }, 0},
        {"get standard of connector 3", [](const Driver& d, std::int32_t b) { return d.GetSourceSystem(b, 3); }, -1},
        {"get standard of connector -1", [](const Driver& d, std::int32_t b) { return d.GetSourceSystem(b, -1); }, -1},
        {"control 5", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 5, 0); }, 0},
        {"control -1", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, -1, 0); }, 0},
        {"brightness 128", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 0, 128); }, 0},
        {"brightness -129", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 0, -129); }, 0},
        {"saturation 512", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 1, 512); }, 0},
        {"saturation -1", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 1, -1); }, 0},
        {"hue 128", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 2, 128); }, 0},
        {"sharpness 9", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 3, 9); }, 0},
        {"sharpness -9", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 3, -9); }, 0},
        {"contrast INT32_MAX", [](const Driver& d, std::int32_t b) { return d.SetVideoColor(b, 4, INT32_MAX); }, 0},
        {"get control 5",
         [](const Driver& d, std::int32_t b) {
             std::int32_t v = 7, x = 7, n = 7;
             std::int32_t r = d.GetVideoColor(b, 5, &v, &x, &n);
             return v == 7 && x == 7 && n == 7 ? r : 99;
         },
         0},
        {"get control with null pointers",
         [](const Driver& d, std::int32_t b) {
             std::int32_t v = 7;
             std::int32_t r = d.GetVideoColor(b, 0, &v, nullptr, nullptr);
             return v == 7 ? r : 99;
         },
         0},
        {"null viewport", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, nullptr); }, 0},
        {"get into a null viewport", [](const Driver& d, std::int32_t b) { return d.GetCurInputViewport(b, nullptr); },
         0},
        {"viewport left -1", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[0]); }, 0},
        {"viewport top -1", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[1]); }, 0},
        {"viewport right 1025", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[2]); },
         0},
        {"viewport bottom 833", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[3]); },
         0},
        {"viewport empty across", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[4]); },
         0},
        {"viewport empty down", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[5]); },
         0},
        {"viewport inside out", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[6]); },
         0},
        {"viewport of extremes", [](const Driver& d, std::int32_t b) { return d.SetCurInputViewport(b, &rects[7]); },
         0},
        {"output with null pointers",
         [window](const Driver& d, std::int32_t b) {
             return d.SetOutputWindow(b, window, nullptr, nullptr, nullptr, nullptr);
         },
         0},
        {"output width 0",
         [window](const Driver& d, std::int32_t b) { return d.SetOutputWindow(b, window, &zero, &zero, &zero, &size); },
         0},
        {"output height -5",
         [window](const Driver& d, std::int32_t b) {
             return d.SetOutputWindow(b, window, &zero, &zero, &size, &negative);
         },
         0},
        {"output width 100000",
         [window](const Driver& d, std::int32_t b) { return d.SetOutputWindow(b, window, &zero, &zero, &huge, &size); },
         0},
        {"output at x 100000",
         [window](const Driver& d, std::int32_t b) { return d.SetOutputWindow(b, window, &huge, &zero, &size, &size); },
         0},
        {"output into what is no window",
         [](const Driver& d, std::int32_t b) {
             static int notAWindow;
             return d.SetOutputWindow(b, reinterpret_cast<HWND>(&notAWindow), &zero, &zero, &size, &size);
         },
         0},
        {"get output into null pointers",
         [](const Driver& d, std::int32_t b) { return d.GetOutputWindow(b, nullptr, nullptr, nullptr, nullptr, nullptr); },
         0},
        {"buffer before any grab",
         [](const Driver& d, std::int32_t b) {
             std::uint8_t buffer[16];
             return d.GrabFrameToBuff(b, buffer, sizeof buffer);
         },
         0},
        {"file before any grab", [](const Driver& d, std::int32_t b) { return d.GrabFrameToFile(b, "/nonexistent/x.bmp"); },
         0},
        {"file with a null path", [](const Driver& d, std::int32_t b) { return d.GrabFrameToFile(b, nullptr); }, 0},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        EXPECT_EQ(refusal.call(qor, h), refusal.result);
        // Nothing changed.
        EXPECT_EQ(qor.GetActiveSource(h), 0);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(qor.GetSourceSystem(h, c), 0);
        const std::int32_t standards[5] = {0, 256, 0, 0, 256};
        for (int i = 0; i < 5; ++i) {
            std::int32_t value = 0, max = 0, min = 0;
            ASSERT_EQ(qor.GetVideoColor(h, i, &value, &max, &min), 1);
            EXPECT_EQ(value, standards[i]) << "control " << i;
        }
        RECT r{};
        ASSERT_EQ(qor.GetCurInputViewport(h, &r), 1);
        EXPECT_EQ(r.left, 16);
        EXPECT_EQ(r.top, 16);
        EXPECT_EQ(r.right, 736);
        EXPECT_EQ(r.bottom, 496);
        HWND out = reinterpret_cast<HWND>(1);
        std::int32_t x = 1, y = 1, w = 1, hh = 1;
        ASSERT_EQ(qor.GetOutputWindow(h, &out, &x, &y, &w, &hh), 1);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(Generation(window), unpainted) << "the window was painted";
        EXPECT_TRUE(ReadWindow(window).pixels.empty());
    }
}

TEST_F(EntryPoints, OutputWindowIsKept) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(320, 240);
    std::int32_t x = 100, y = 50, w = 320, hh = 240;
    ASSERT_EQ(qor.SetOutputWindow(h, window, &x, &y, &w, &hh), 1);
    EXPECT_EQ(x, 100) << "the write-back keeps what was asked";
    EXPECT_EQ(w, 320);
    HWND out = nullptr;
    std::int32_t ox = 0, oy = 0, ow = 0, oh = 0;
    ASSERT_EQ(qor.GetOutputWindow(h, &out, &ox, &oy, &ow, &oh), 1);
    EXPECT_EQ(out, window);
    EXPECT_EQ(ox, 100);
    EXPECT_EQ(oy, 50);
    EXPECT_EQ(ow, 320);
    EXPECT_EQ(oh, 240);
}

TEST_F(EntryPoints, AFormatOutsideZeroToThreeGrabsTwentyFourBits) {
    std::int32_t h = OpenAndRead();
    const std::size_t stride24 = 720 * 3, stride16 = 720 * 2, stride32 = 720 * 4;
    const std::pair<std::int32_t, std::size_t> cases[] = {{0, stride16}, {1, stride16}, {2, stride24},
                                                          {3, stride32}, {4, stride24}, {-1, stride24},
                                                          {99, stride24}, {INT32_MIN, stride24}};
    for (auto [format, stride] : cases) {
        SCOPED_TRACE(format);
        EXPECT_EQ(GrabBytes(h, format).size(), stride * 480);
    }
}

TEST_F(EntryPoints, GrabToBufferCopiesTheFrameWhenItFits) {
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.FreezeAndGrabFrame(h, 2), 1);
    const std::int32_t size = 720 * 3 * 480;
    std::vector<std::uint8_t> buffer(size + 10, 0xAB);
    EXPECT_EQ(qor.GrabFrameToBuff(h, buffer.data(), size - 1), 0) << "too small";
    EXPECT_EQ(buffer[0], 0xAB) << "nothing was written into a buffer too small";
    EXPECT_EQ(qor.GrabFrameToBuff(h, nullptr, size), 0);
    EXPECT_EQ(qor.GrabFrameToBuff(h, buffer.data(), -1), 0);
    EXPECT_EQ(qor.GrabFrameToBuff(h, buffer.data(), size + 10), size);
    EXPECT_EQ(buffer[size], 0xAB) << "nothing past the frame";
    // The buffer holds the BMP file's pixel array.
    ASSERT_EQ(qor.GrabFrameToFile(h, Path("frame.bmp").c_str()), 1);
    std::vector<std::uint8_t> file = ReadBytes(Path("frame.bmp"));
    ASSERT_EQ(file.size(), 54u + size);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + size, file.begin() + 54));
}

}  // namespace
}  // namespace kivo::test
