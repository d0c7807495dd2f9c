// Shared by the virtual board's tests: the real QORDCI32.DLL loaded through
// LoadLibraryA with its 19 entry points, the board's knobs set and restored
// around each case, a temporary folder, windows, and ImageMagick as the
// independent reader of the board's BMP files.
#pragma once

#include "test_files.h"
#include "kivo/qordci32.h"
#include "win/win.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kivo::test {

// The entry points of one loaded copy of the library.
struct Driver {
    HMODULE module = nullptr;
    decltype(&QOR_Init_32) Init = nullptr;
    decltype(&QOR_DeInit_32) DeInit = nullptr;
    decltype(&QOR_SaveIniFile_32) SaveIniFile = nullptr;
    decltype(&QOR_GetIniFile_32) GetIniFile = nullptr;
    decltype(&QOR_SetActiveSource_32) SetActiveSource = nullptr;
    decltype(&QOR_GetActiveSource_32) GetActiveSource = nullptr;
    decltype(&QOR_SetSourceSystem_32) SetSourceSystem = nullptr;
    decltype(&QOR_GetSourceSystem_32) GetSourceSystem = nullptr;
    decltype(&QOR_SetVideoColor_32) SetVideoColor = nullptr;
    decltype(&QOR_GetVideoColor_32) GetVideoColor = nullptr;
    decltype(&QOR_SetCurInputViewport_32) SetCurInputViewport = nullptr;
    decltype(&QOR_GetCurInputViewport_32) GetCurInputViewport = nullptr;
    decltype(&QOR_SetOutputWindow_32) SetOutputWindow = nullptr;
    decltype(&QOR_GetOutputWindow_32) GetOutputWindow = nullptr;
    decltype(&QOR_Freeze_32) Freeze = nullptr;
    decltype(&QOR_UnFreeze_32) UnFreeze = nullptr;
    decltype(&QOR_FreezeAndGrabFrame_32) FreezeAndGrabFrame = nullptr;
    decltype(&QOR_GrabFrameToBuff_32) GrabFrameToBuff = nullptr;
    decltype(&QOR_GrabFrameToFile_32) GrabFrameToFile = nullptr;

    // Loads `name` with LoadLibraryA and looks up the 19 names; false (and
    // a test failure naming what is missing) when any step fails.
    bool Load(const std::string& name = "QORDCI32.DLL");
    void Unload();
};

// The 19 names in the order the program looks them up.
const std::vector<std::string>& EntryPointNames();

// A picture as 0xRRGGBB pixels, rows top first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

int Red(std::uint32_t p);
int Green(std::uint32_t p);
int Blue(std::uint32_t p);
double Luma(std::uint32_t p);
std::string Hex(std::uint32_t p);

// The board's knobs (every KIVO_* variable) and XDG_CONFIG_HOME are cleared
// for each case and restored after it; KIVO_SETTINGS_FILE points into the case's own folder, so
// no case writes beside the library unless it means to.
class BoardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the board (asserting a handle of 0 or more) and remembers it, so
    // that the case's end closes it.
    std::int32_t Open();
    // Opens the board and reads its settings (asserting 1).
    std::int32_t OpenAndRead();
    // Closes the remembered board now.
    void Close();

    // A window of the given client size, destroyed after the board closes.
    HWND MakeWindow(int width, int height);
    static Picture ReadWindow(HWND window, std::uint64_t* generation = nullptr);
    static std::uint64_t Generation(HWND window);

    // The grabbed frame in 32-bit format: freeze-and-grab, then the buffer.
    Picture Grab32(std::int32_t h);
    // The raw bytes of GrabFrameToBuff after a grab in `format`.
    std::vector<std::uint8_t> GrabBytes(std::int32_t h, std::int32_t format);

    void SetEnv(const std::string& name, const std::string& value);
    void UnsetEnv(const std::string& name);

    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }
    const std::filesystem::path& Folder() const { return folder_; }

    Driver qor;
    std::int32_t handle = -1;

private:
    std::filesystem::path folder_;
    std::map<std::string, std::optional<std::string>> savedEnv_;
    std::vector<HWND> windows_;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
// The files in a folder, by name.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// ImageMagick, found on PATH. Missing tools fail the calling test with a
// message that says how to install them: CI installs them, so their absence
// is an error, never a reason to skip.
std::string FindTool(const std::string& name);
struct Decoded {
    bool ok = false;
    std::string format;  // identify's %m, e.g. "BMP3"
    int width = 0;
    int height = 0;
    Picture picture;     // 8 bits a channel, as ImageMagick reads the file
};
Decoded DecodeWithImageMagick(const std::filesystem::path& file);


}  // namespace kivo::test
