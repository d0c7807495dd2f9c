// The board's knobs: the call trace (KIVO_TRACE) and the failure injection of
// QOR_Init_32 (KIVO_INIT_RESULT). The settings knobs are in settings_test,
// the fixed frame in picture_test.
#include "driver_fixture.h"

#include <regex>
#include <sstream>

namespace kivo::test {
namespace {

using Knobs = BoardTest;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

TEST_F(Knobs, TheTraceHasOneLinePerCallWithItsArgumentsAndResult) {
    SetEnv("KIVO_TRACE", Path("trace.txt").string());
    SetEnv("KIVO_FIXED_FRAME", "0");
    HWND window = MakeWindow(640, 480);
    std::int32_t h = Open();
    const std::string b = std::to_string(h);
    char buffer[128] = {};
    std::int32_t value = 0, max = 0, min = 0, x = 10, y = 20, w = 640, hh = 480;
    RECT r{11, 20, 731, 500};
    HWND out = nullptr;
    std::vector<std::uint8_t> bytes(720 * 480 * 4);
    const std::string file = Path("cap \"1\".bmp").string();

    EXPECT_EQ(qor.GetIniFile(h, buffer), 1);
    EXPECT_EQ(qor.SetActiveSource(h, 1), 1);
    EXPECT_EQ(qor.GetActiveSource(h), 1);
    EXPECT_EQ(qor.SetSourceSystem(h, 1, 0), 1);
    EXPECT_EQ(qor.GetSourceSystem(h, 1), 0);
    EXPECT_EQ(qor.SetVideoColor(h, 0, -5), 1);
    EXPECT_EQ(qor.GetVideoColor(h, 0, &value, &max, &min), 1);
    EXPECT_EQ(qor.SetCurInputViewport(h, &r), 1);
    EXPECT_EQ(qor.GetCurInputViewport(h, &r), 1);
    EXPECT_EQ(qor.SetOutputWindow(h, window, &x, &y, &w, &hh), 1);
    EXPECT_EQ(qor.GetOutputWindow(h, &out, &x, &y, &w, &hh), 1);
    EXPECT_EQ(qor.Freeze(h), 1);
    EXPECT_EQ(qor.UnFreeze(h), 1);
    EXPECT_EQ(qor.FreezeAndGrabFrame(h, 7), 1);
    EXPECT_EQ(qor.GrabFrameToBuff(h, bytes.data(), 100), 0);
    EXPECT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1);
    EXPECT_EQ(qor.SetVideoColor(h, 9, 0), 0);
    EXPECT_EQ(qor.GetVideoColor(h, 0, nullptr, &max, &min), 0);
    EXPECT_EQ(qor.SaveIniFile(h, buffer), 1);
    EXPECT_EQ(qor.SetActiveSource(h + 1, 0), 0);
    Close();

    char address[32];
    std::snprintf(address, sizeof address, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    std::string escaped;
    for (char c : file) escaped += c == '"' ? std::string("\\\"") : std::string(1, c);
    const std::vector<std::string> expected = {
        "QOR_Init_32() = " + b,
        "QOR_GetIniFile_32(" + b + ", \"\") = 1",
        "QOR_SetActiveSource_32(" + b + ", 1) = 1",
        "QOR_GetActiveSource_32(" + b + ") = 1",
        "QOR_SetSourceSystem_32(" + b + ", 1, 0) = 1",
        "QOR_GetSourceSystem_32(" + b + ", 1) = 0",
        "QOR_SetVideoColor_32(" + b + ", 0, -5) = 1",
        "QOR_GetVideoColor_32(" + b + ", 0, {-5}, {127}, {-128}) = 1",
        "QOR_SetCurInputViewport_32(" + b + ", {11, 20, 731, 500}) = 1",
        "QOR_GetCurInputViewport_32(" + b + ", {11, 20, 731, 500}) = 1",
        "QOR_SetOutputWindow_32(" + b + ", " + address + ", {10}, {20}, {640}, {480}) = 1",
        "QOR_GetOutputWindow_32(" + b + ", {" + address + "}, {10}, {20}, {640}, {480}) = 1",
        "QOR_Freeze_32(" + b + ") = 1",
        "QOR_UnFreeze_32(" + b + ") = 1",
        "QOR_FreezeAndGrabFrame_32(" + b + ", 7) = 1",
        "QOR_GrabFrameToBuff_32(" + b + ", BUFFER, 100) = 0",
        "QOR_GrabFrameToFile_32(" + b + ", \"" + escaped + "\") = 1",
        "QOR_SetVideoColor_32(" + b + ", 9, 0) = 0",
        "QOR_GetVideoColor_32(" + b + ", 0, 0, {127}, {-128}) = 0",
        "QOR_SaveIniFile_32(" + b + ", \"\") = 1",
        "QOR_SetActiveSource_32(" + std::to_string(h + 1) + ", 0) = 0",
        "QOR_DeInit_32(" + b + ") = 1",
    };
    std::vector<std::string> lines = Lines(sim::ReadFile(Path("trace.txt")));
    ASSERT_EQ(lines.size(), expected.size()) << sim::ReadFile(Path("trace.txt"));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (expected[i].find("BUFFER") != std::string::npos) {
            EXPECT_TRUE(std::regex_match(lines[i], std::regex("QOR_GrabFrameToBuff_32\\(" + b + ", 0x[0-9a-f]+, 100\\) = 0")))
                << lines[i];
            continue;
        }
        EXPECT_EQ(lines[i], expected[i]);
    }
    // All 19 entry points are in the trace, each line starting with the
    // name and '(' (what the program's tests rely on).
    for (const std::string& name : EntryPointNames()) {
        bool found = false;
        for (const std::string& line : lines) found = found || line.rfind(name + "(", 0) == 0;
        EXPECT_TRUE(found) << name;
    }
}

TEST_F(Knobs, TheTraceAppends) {
    SetEnv("KIVO_TRACE", Path("trace.txt").string());
    sim::WriteFile(Path("trace.txt"), "earlier line\n");
    std::int32_t h = Open();
    Close();
    std::vector<std::string> lines = Lines(sim::ReadFile(Path("trace.txt")));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "earlier line");
    EXPECT_EQ(lines[1], "QOR_Init_32() = " + std::to_string(h));
    EXPECT_EQ(lines[2], "QOR_DeInit_32(" + std::to_string(h) + ") = 1");
}

TEST_F(Knobs, TheTraceKeepsEachCallOnOneLine) {
    SetEnv("KIVO_TRACE", Path("trace.txt").string());
    std::int32_t h = OpenAndRead();
    char buffer[128] = "tab\there, line\nbreak, \\ and \"";
    EXPECT_EQ(qor.SaveIniFile(h, buffer), 1);
    Close();
    std::vector<std::string> lines = Lines(sim::ReadFile(Path("trace.txt")));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "QOR_SaveIniFile_32(" + std::to_string(h) +
                            ", \"tab\\x09here, line\\x0abreak, \\\\ and \\\"\") = 1");
}

TEST_F(Knobs, WithoutTheKnobThereIsNoTrace) {
    std::int32_t h = OpenAndRead();
    EXPECT_EQ(qor.SetActiveSource(h, 1), 1);
    Close();
    EXPECT_EQ(FolderEntries(Folder()), std::vector<std::string>{});
}

TEST_F(Knobs, InitFailsWithTheGivenNegativeCode) {
    SetEnv("KIVO_TRACE", Path("trace.txt").string());
    for (std::int32_t code : {-5, -1, -16, INT32_MIN}) {
        SCOPED_TRACE(code);
        SetEnv("KIVO_INIT_RESULT", std::to_string(code));
        EXPECT_EQ(qor.Init(), code);
    }
    EXPECT_EQ(Lines(sim::ReadFile(Path("trace.txt"))).front(), "QOR_Init_32() = -5");
    UnsetEnv("KIVO_INIT_RESULT");
    std::int32_t h = Open();
    EXPECT_GE(h, 0) << "no board was left open by the failures";
}

TEST_F(Knobs, AnInitResultThatIsNoNegativeNumberIsIgnored) {
    for (const char* text : {"0", "3", "abc", "-5x", ""}) {
        SCOPED_TRACE(text);
        SetEnv("KIVO_INIT_RESULT", text);
        std::int32_t h = Open();
        EXPECT_GE(h, 0);
        Close();
    }
}

TEST_F(Knobs, AFixedFrameThatIsNoNumberIsIgnored) {
    SetEnv("KIVO_FIXED_FRAME", "soon");
    std::int32_t h = OpenAndRead();
    EXPECT_EQ(qor.FreezeAndGrabFrame(h, 2), 1);
}

}  // namespace
}  // namespace kivo::test
