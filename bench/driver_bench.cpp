// The virtual board's costs: one frame of the picture pipeline (scene,
// picture controls, scale) at the live sizes, one live paint through the real
// QORDCI32.DLL (pipeline and the blit into a window), and a grab to a BMP
// file in each pixel format. The target: a 640 x 480 frame in at most 1 ms
// on one core, so a 30 fps live picture costs at most 3% of a core.
#include "kivo/qordci32.h"
#include "picture.h"
#include "win/win.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Args: standard, output width, output height, connector, controls (0
// neutral, 1 every control away from neutral).
void BM_Frame(benchmark::State& state) {
    kivo::Renderer renderer;
    kivo::Shot shot;
    shot.standard = static_cast<int>(state.range(0));
    kivo::VideoSize size = kivo::StandardSize(shot.standard);
    shot.viewport = {16, 16, 16 + size.width, 16 + size.height};
    const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
    shot.connector = static_cast<int>(state.range(3));
    if (state.range(4)) shot.controls = {20, 300, 10, 4, 300};
    for (auto _ : state) {
        const std::uint32_t* pixels = renderer.Render(shot, width, height);
        benchmark::DoNotOptimize(pixels);
        benchmark::ClobberMemory();
        ++shot.frame;  // a new frame each time, as the live picture has
    }
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * width * height,
                                                    benchmark::Counter::kIsRate);
    state.SetLabel(std::string(shot.standard == 0 ? "NTSC" : "PAL") + " to " + std::to_string(width) + "x" +
                   std::to_string(height) + (state.range(4) ? ", controls set" : ", neutral"));
}
BENCHMARK(BM_Frame)
    ->ArgNames({"standard", "w", "h", "connector", "controls"})
    ->ArgsProduct({{0}, {640}, {480}, {0, 1, 2}, {0, 1}})
    ->ArgsProduct({{1}, {768}, {576}, {0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// The real library, loaded as the program loads it.
struct Board {
    HMODULE module = nullptr;
    std::int32_t h = -1;
    decltype(&QOR_SetOutputWindow_32) SetOutputWindow = nullptr;
    decltype(&QOR_FreezeAndGrabFrame_32) FreezeAndGrab = nullptr;
    decltype(&QOR_GrabFrameToFile_32) GrabToFile = nullptr;
    decltype(&QOR_Freeze_32) Freeze = nullptr;
    decltype(&QOR_UnFreeze_32) UnFreeze = nullptr;
    decltype(&QOR_DeInit_32) DeInit = nullptr;

    explicit Board(benchmark::State& state) {
        ::setenv("KIVO_FIXED_FRAME", "100", 1);
        ::setenv("KIVO_SETTINGS_FILE", "/nonexistent/kivo-bench.ini", 1);
        module = LoadLibraryA("QORDCI32.DLL");
        if (!module) {
            state.SkipWithError("QORDCI32.DLL not found beside the benchmark");
            return;
        }
        auto init = reinterpret_cast<decltype(&QOR_Init_32)>(GetProcAddress(module, "QOR_Init_32"));
        SetOutputWindow = reinterpret_cast<decltype(SetOutputWindow)>(GetProcAddress(module, "QOR_SetOutputWindow_32"));
        FreezeAndGrab = reinterpret_cast<decltype(FreezeAndGrab)>(GetProcAddress(module, "QOR_FreezeAndGrabFrame_32"));
        GrabToFile = reinterpret_cast<decltype(GrabToFile)>(GetProcAddress(module, "QOR_GrabFrameToFile_32"));
        Freeze = reinterpret_cast<decltype(Freeze)>(GetProcAddress(module, "QOR_Freeze_32"));
        UnFreeze = reinterpret_cast<decltype(UnFreeze)>(GetProcAddress(module, "QOR_UnFreeze_32"));
        DeInit = reinterpret_cast<decltype(DeInit)>(GetProcAddress(module, "QOR_DeInit_32"));
        h = init();
        if (h < 0) state.SkipWithError("QOR_Init_32 failed");
    }
    ~Board() {
        if (h >= 0) DeInit(h);
        if (module) FreeLibrary(module);
        ::unsetenv("KIVO_FIXED_FRAME");
        ::unsetenv("KIVO_SETTINGS_FILE");
    }
};

// One live paint: the pipeline and StretchDIBits into the window's surface,
// as QOR_SetOutputWindow_32 does it at once (the board is frozen, so the
// frame thread stays out of the measurement).
void BM_LivePaint(benchmark::State& state) {
    Board board(state);
    if (board.h < 0) return;
    std::int32_t x = 0, y = 0, w = static_cast<std::int32_t>(state.range(0)), h = static_cast<std::int32_t>(state.range(1));
    HWND window = win::CreateWindowHandle([](UINT, WPARAM, LPARAM) { return LRESULT{0}; });
    win::SetClientSize(window, w, h);
    board.Freeze(board.h);
    for (auto _ : state) board.SetOutputWindow(board.h, window, &x, &y, &w, &h);
    board.SetOutputWindow(board.h, nullptr, &x, &y, &w, &h);
    win::DestroyWindowHandle(window);
}
BENCHMARK(BM_LivePaint)->ArgNames({"w", "h"})->Args({640, 480})->Args({768, 576})->Unit(benchmark::kMicrosecond);

// A grab to file: freeze-and-grab of the NTSC frame in the format, then the
// BMP written to a file (replaced each time).
void BM_GrabToFile(benchmark::State& state) {
    Board board(state);
    if (board.h < 0) return;
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kivo-bench-" + std::to_string(::getpid()) + ".bmp")).string();
    const auto format = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        board.FreezeAndGrab(board.h, format);
        if (board.GrabToFile(board.h, path.c_str()) != 1) {
            state.SkipWithError("the grab was not written");
            break;
        }
        board.UnFreeze(board.h);
    }
    std::filesystem::remove(path);
    const char* names[] = {"16-bit 5-5-5", "16-bit 5-6-5", "24-bit", "32-bit"};
    state.SetLabel(names[format]);
}
BENCHMARK(BM_GrabToFile)->ArgName("format")->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
