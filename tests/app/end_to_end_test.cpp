#include "app/globals.h"
#include "display/display.h"
#include "program.h"
#include "settings/setting.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#ifdef DRIVER_PATH

namespace {

std::vector<std::string> TracedNames(const std::string& trace) {
    std::vector<std::string> names;
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) names.push_back(line.substr(0, line.find('(')));
    return names;
}

}  // namespace

// The program with the virtual board, as a user starts it in a fresh folder.
TEST(EndToEnd, AWholeRunWithTheVirtualBoard) {
    sim::TempDir dir;
    std::filesystem::copy_file(DRIVER_PATH, dir / "QORDCI32.DLL");
    setenv("KIVO_TRACE", (dir / "trace.txt").c_str(), 1);
    sim::Program program(dir);
    bool painted = false;
    int exitCode = program.RunWith([&] {
        win::ReadSurface(DisplayWnd->Handle(), [&](const win::SurfaceView& view) {
            painted = view.pixels && view.width == 640 && view.height == 480;
        });
        program.ExitThroughMenu();
    });
    unsetenv("KIVO_TRACE");

    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(painted) << "the board painted nothing into the display window";
    EXPECT_TRUE(program.user.BoxTexts().empty());
    EXPECT_EQ(sim::ReadFile(program.SettingsPath()),
              "[SYSTEM]\nX=50\nY=50\nSize=3\nUserW=480\nUserH=360\n[FILE]\nFormat=2\nNumber=1\nName=TempFile\n");
    std::vector<std::string> names = TracedNames(sim::ReadFile(dir / "trace.txt"));
    ASSERT_GE(names.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 9),
              (std::vector<std::string>{"QOR_Init_32", "QOR_GetIniFile_32", "QOR_GetVideoColor_32",
                                        "QOR_GetVideoColor_32", "QOR_GetVideoColor_32", "QOR_GetVideoColor_32",
                                        "QOR_GetVideoColor_32", "QOR_SetOutputWindow_32", "QOR_SetOutputWindow_32"}));
    EXPECT_EQ(std::vector<std::string>(names.end() - 2, names.end()),
              (std::vector<std::string>{"QOR_SaveIniFile_32", "QOR_DeInit_32"}));
    EXPECT_TRUE(sim::Exists(dir / "QORDCI32.ini")) << "the board kept no settings beside itself";
}

// Esc in the settings window saves the live frame as a BMP in the working
// folder; a disk that fills up during the grab costs the user no file.
TEST(EndToEnd, EscSavesTheLiveFrameAndAFullDiskKeepsTheExistingFile) {
    sim::TempDir dir;
    sim::WorkingFolder here(dir.Path());
    std::filesystem::copy_file(DRIVER_PATH, dir / "QORDCI32.DLL");
    sim::WriteFile(dir / "TempFile002.bmp", "the user's frame");
    sim::Program program(dir);
    std::string first;
    program.RunWith([&] {
        program.user.DoubleClick(*DisplayWnd, 30, 30);
        program.user.Key(*SettingWnd, vcl::TKey::Escape);
        first = sim::ReadFile(dir / "TempFile001.bmp");
        {
            sim::FileSizeLimit full(4096);
            program.user.Key(*SettingWnd, vcl::TKey::Escape);
        }
        program.ExitThroughMenu();
    });
    // The board's NTSC frame, 720 x 480, at 24 bits: the headers and 720 * 3 bytes a row.
    ASSERT_EQ(first.size(), 54u + 720u * 3u * 480u);
    EXPECT_EQ(first.substr(0, 2), "BM");
    EXPECT_EQ(program.user.BoxTexts(), (std::vector<std::string>{"ファイルを保存できませんでした [TempFile002.bmp]"}));
    EXPECT_EQ(sim::ReadFile(dir / "TempFile002.bmp"), "the user's frame");
    EXPECT_FALSE(sim::Exists(dir / "KIVOTEMP.BMP"));
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Number=2\n"), std::string::npos);
}

#endif
