// The 19 entry points of QORDCI32.DLL: the open board, the knobs read from
// the environment and the call trace.
#include "kivo/qordci32.h"

#include "board.h"
#include "trace.h"
#include "win/win.h"

#include <dlfcn.h>

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace {

using kivo::Board;
using kivo::TraceLine;

// Results of QOR_Init_32 besides a handle.
constexpr std::int32_t kAlreadyOpen = -2;
constexpr std::int32_t kOutOfResources = -3;

// What the Get calls of a value answer when refused: no valid index.
constexpr std::int32_t kNoValue = -1;

// The program passes a 128-byte buffer to the settings calls.
constexpr std::size_t kSettingsBuffer = 128;

// The one board that can be open.
std::mutex registryLock;
std::shared_ptr<Board> openBoard;
std::int32_t openHandle = -1;
std::int32_t nextHandle = 0;

template <class Integer>
std::optional<Integer> EnvInteger(const char* name) {
    const char* text = std::getenv(name);
    if (!text || !*text) return std::nullopt;
    Integer value{};
    const char* end = text + std::strlen(text);
    auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string OwnPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&QOR_Init_32), &info) && info.dli_fname && *info.dli_fname)
        return info.dli_fname;
    return "QORDCI32.DLL";
}

std::string WithIniExtension(std::string path) {
    auto slash = path.rfind('/');
    auto dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
    return path + ".ini";
}

// KIVO_SETTINGS_FILE; else, installed, QORDCI32.ini in the user's settings
// folder, made on the first save; else beside the library.
kivo::BoardConfig ConfigFromEnvironment() {
    kivo::BoardConfig config;
    const std::string library = OwnPath();
    const char* file = std::getenv("KIVO_SETTINGS_FILE");
    if (file && *file) {
        config.settingsPath = file;
    } else if (win::IsInstalledLibrary(library)) {
        std::string name = WithIniExtension(library.substr(library.rfind('/') + 1));
        config.settingsPath = win::UserSettingsFolder() + "/" + name;
        config.makeSettingsFolder = true;
    } else {
        config.settingsPath = WithIniExtension(library);
    }
    auto frame = EnvInteger<std::int64_t>("KIVO_FIXED_FRAME");
    if (frame && *frame >= 0) config.fixedFrame = frame;
    return config;
}

std::shared_ptr<Board> Find(std::int32_t h) {
    std::lock_guard guard(registryLock);
    return openBoard && h == openHandle ? openBoard : nullptr;
}

// Runs an operation on the board `h` names; `refused` when it names none (or
// the operation fails to get memory: no exception leaves the library).
template <class Operation>
std::int32_t WithBoard(std::int32_t h, std::int32_t refused, Operation operation) {
    try {
        std::shared_ptr<Board> board = Find(h);
        return board ? operation(*board) : refused;
    } catch (...) {
        return refused;
    }
}

std::int32_t Init() {
    auto injected = EnvInteger<std::int32_t>("KIVO_INIT_RESULT");
    if (injected && *injected < 0) return *injected;
    std::lock_guard guard(registryLock);
    if (openBoard) return kAlreadyOpen;
    try {
        openBoard = std::make_shared<Board>(ConfigFromEnvironment());
    } catch (...) {
        return kOutOfResources;
    }
    openHandle = nextHandle;
    nextHandle = nextHandle == INT32_MAX ? 0 : nextHandle + 1;
    return openHandle;
}

std::int32_t DeInit(std::int32_t h) {
    std::shared_ptr<Board> board;
    {
        std::lock_guard guard(registryLock);
        if (!openBoard || h != openHandle) return 0;
        board = std::move(openBoard);
        openHandle = -1;
    }
    try {
        board->Close();  // stops and joins the frame thread
    } catch (...) {
        // Only a failed join can throw here; the board is released all the same.
    }
    return 1;
}

}  // namespace

extern "C" {

std::int32_t QOR_Init_32(void) {
    TraceLine trace("QOR_Init_32");
    std::int32_t result = Init();
    trace.Finish(result);
    return result;
}

std::int32_t QOR_DeInit_32(std::int32_t h) {
    TraceLine trace("QOR_DeInit_32");
    std::int32_t result = DeInit(h);
    trace.Int(h).Finish(result);
    return result;
}

std::int32_t QOR_SaveIniFile_32(std::int32_t h, char* buffer) {
    TraceLine trace("QOR_SaveIniFile_32");
    std::int32_t result = WithBoard(h, 0, [](Board& b) { return b.SaveSettings(); });
    trace.Int(h).Text(buffer, kSettingsBuffer).Finish(result);
    return result;
}

std::int32_t QOR_GetIniFile_32(std::int32_t h, char* buffer) {
    TraceLine trace("QOR_GetIniFile_32");
    std::int32_t result =
        WithBoard(h, 0, [](Board& b) { return b.ReadSettings(EnvInteger<std::int32_t>("KIVO_SETTINGS_READ")); });
    trace.Int(h).Text(buffer, kSettingsBuffer).Finish(result);
    return result;
}

std::int32_t QOR_SetActiveSource_32(std::int32_t h, std::int32_t connector) {
    TraceLine trace("QOR_SetActiveSource_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.SetActiveSource(connector); });
    trace.Int(h).Int(connector).Finish(result);
    return result;
}

std::int32_t QOR_GetActiveSource_32(std::int32_t h) {
    TraceLine trace("QOR_GetActiveSource_32");
    std::int32_t result = WithBoard(h, kNoValue, [](Board& b) { return b.GetActiveSource(); });
    trace.Int(h).Finish(result);
    return result;
}

std::int32_t QOR_SetSourceSystem_32(std::int32_t h, std::int32_t connector, std::int32_t standard) {
    TraceLine trace("QOR_SetSourceSystem_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.SetSourceSystem(connector, standard); });
    trace.Int(h).Int(connector).Int(standard).Finish(result);
    return result;
}

std::int32_t QOR_GetSourceSystem_32(std::int32_t h, std::int32_t connector) {
    TraceLine trace("QOR_GetSourceSystem_32");
    std::int32_t result = WithBoard(h, kNoValue, [&](Board& b) { return b.GetSourceSystem(connector); });
    trace.Int(h).Int(connector).Finish(result);
    return result;
}

std::int32_t QOR_SetVideoColor_32(std::int32_t h, std::int32_t control, std::int32_t value) {
    TraceLine trace("QOR_SetVideoColor_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.SetVideoColor(control, value); });
    trace.Int(h).Int(control).Int(value).Finish(result);
    return result;
}

std::int32_t QOR_GetVideoColor_32(std::int32_t h, std::int32_t control, std::int32_t* value, std::int32_t* max,
                                  std::int32_t* min) {
    TraceLine trace("QOR_GetVideoColor_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.GetVideoColor(control, value, max, min); });
    trace.Int(h).Int(control).Ints(value, 1).Ints(max, 1).Ints(min, 1).Finish(result);
    return result;
}

std::int32_t QOR_SetCurInputViewport_32(std::int32_t h, RECT* rect) {
    TraceLine trace("QOR_SetCurInputViewport_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.SetInputViewport(rect); });
    trace.Int(h).Rect(rect).Finish(result);
    return result;
}

std::int32_t QOR_GetCurInputViewport_32(std::int32_t h, RECT* rect) {
    TraceLine trace("QOR_GetCurInputViewport_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.GetInputViewport(rect); });
    trace.Int(h).Rect(rect).Finish(result);
    return result;
}

std::int32_t QOR_SetOutputWindow_32(std::int32_t h, HWND window, std::int32_t* x, std::int32_t* y,
                                    std::int32_t* width, std::int32_t* height) {
    TraceLine trace("QOR_SetOutputWindow_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.SetOutputWindow(window, x, y, width, height); });
    trace.Int(h).Address(window).Ints(x, 1).Ints(y, 1).Ints(width, 1).Ints(height, 1).Finish(result);
    return result;
}

std::int32_t QOR_GetOutputWindow_32(std::int32_t h, HWND* window, std::int32_t* x, std::int32_t* y,
                                    std::int32_t* width, std::int32_t* height) {
    TraceLine trace("QOR_GetOutputWindow_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.GetOutputWindow(window, x, y, width, height); });
    trace.Int(h).Window(window).Ints(x, 1).Ints(y, 1).Ints(width, 1).Ints(height, 1).Finish(result);
    return result;
}

std::int32_t QOR_Freeze_32(std::int32_t h) {
    TraceLine trace("QOR_Freeze_32");
    std::int32_t result = WithBoard(h, 0, [](Board& b) { return b.Freeze(); });
    trace.Int(h).Finish(result);
    return result;
}

std::int32_t QOR_UnFreeze_32(std::int32_t h) {
    TraceLine trace("QOR_UnFreeze_32");
    std::int32_t result = WithBoard(h, 0, [](Board& b) { return b.UnFreeze(); });
    trace.Int(h).Finish(result);
    return result;
}

std::int32_t QOR_FreezeAndGrabFrame_32(std::int32_t h, std::int32_t format) {
    TraceLine trace("QOR_FreezeAndGrabFrame_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.FreezeAndGrab(format); });
    trace.Int(h).Int(format).Finish(result);
    return result;
}

std::int32_t QOR_GrabFrameToBuff_32(std::int32_t h, void* buffer, std::int32_t size) {
    TraceLine trace("QOR_GrabFrameToBuff_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.GrabToBuffer(buffer, size); });
    trace.Int(h).Address(buffer).Int(size).Finish(result);
    return result;
}

std::int32_t QOR_GrabFrameToFile_32(std::int32_t h, const char* path) {
    TraceLine trace("QOR_GrabFrameToFile_32");
    std::int32_t result = WithBoard(h, 0, [&](Board& b) { return b.GrabToFile(path); });
    trace.Int(h).Text(path, 4096).Finish(result);
    return result;
}

}  // extern "C"
