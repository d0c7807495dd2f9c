// The board's own settings file: read and save through the two settings
// calls, defaults when missing, 0 when unreadable or corrupt, atomic saves,
// its place (beside the library, or installed in the user's settings folder),
// and the knobs KIVO_SETTINGS_FILE and KIVO_SETTINGS_READ.
#include "driver_fixture.h"

#include <filesystem>

namespace kivo::test {
namespace {

namespace fs = std::filesystem;

using Settings = BoardTest;

struct Values {
    std::int32_t connector;
    std::int32_t standards[3];
    std::int32_t controls[5];
    RECT viewport;
};

Values ReadValues(const Driver& qor, std::int32_t h) {
    Values v{};
    v.connector = qor.GetActiveSource(h);
    for (int c = 0; c < 3; ++c) v.standards[c] = qor.GetSourceSystem(h, c);
    for (int i = 0; i < 5; ++i) {
        std::int32_t max = 0, min = 0;
        EXPECT_EQ(qor.GetVideoColor(h, i, &v.controls[i], &max, &min), 1);
    }
    EXPECT_EQ(qor.GetCurInputViewport(h, &v.viewport), 1);
    return v;
}

void ExpectDefaults(const Values& v) {
    EXPECT_EQ(v.connector, 0);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(v.standards[c], 0);
    const std::int32_t controls[5] = {0, 256, 0, 0, 256};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v.controls[i], controls[i]) << "control " << i;
    EXPECT_EQ(v.viewport.left, 16);
    EXPECT_EQ(v.viewport.top, 16);
    EXPECT_EQ(v.viewport.right, 736);
    EXPECT_EQ(v.viewport.bottom, 496);
}

// Settings unlike the defaults in every value.
void ChangeEverything(const Driver& qor, std::int32_t h) {
    ASSERT_EQ(qor.SetSourceSystem(h, 0, 2), 1);
    ASSERT_EQ(qor.SetSourceSystem(h, 1, 1), 1);
    ASSERT_EQ(qor.SetSourceSystem(h, 2, 1), 1);
    ASSERT_EQ(qor.SetActiveSource(h, 1), 1);
    const std::int32_t controls[5] = {-40, 300, 17, -3, 200};
    for (int i = 0; i < 5; ++i) ASSERT_EQ(qor.SetVideoColor(h, i, controls[i]), 1);
    RECT r{100, 200, 868, 776};
    ASSERT_EQ(qor.SetCurInputViewport(h, &r), 1);
}

void ExpectEverythingChanged(const Values& v) {
    EXPECT_EQ(v.connector, 1);
    EXPECT_EQ(v.standards[0], 2);
    EXPECT_EQ(v.standards[1], 1);
    EXPECT_EQ(v.standards[2], 1);
    const std::int32_t controls[5] = {-40, 300, 17, -3, 200};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v.controls[i], controls[i]) << "control " << i;
    EXPECT_EQ(v.viewport.left, 100);
    EXPECT_EQ(v.viewport.top, 200);
    EXPECT_EQ(v.viewport.right, 868);
    EXPECT_EQ(v.viewport.bottom, 776);
}

TEST_F(Settings, AMissingFileReadsAsTheDefaults) {
    std::int32_t h = Open();
    char buffer[128] = {};
    EXPECT_EQ(qor.GetIniFile(h, buffer), 1);
    ExpectDefaults(ReadValues(qor, h));
    EXPECT_FALSE(fs::exists(Path("board.ini"))) << "reading creates nothing";
    for (char c : buffer) ASSERT_EQ(c, 0) << "the buffer is left alone";
}

TEST_F(Settings, SavedSettingsComeBackOnTheNextOpen) {
    std::int32_t h = OpenAndRead();
    ChangeEverything(qor, h);
    char buffer[128] = {};
    ASSERT_EQ(qor.SaveIniFile(h, buffer), 1);
    Close();
    std::string text = sim::ReadFile(Path("board.ini"));
    EXPECT_NE(text.find("[KIVO]"), std::string::npos) << text;
    EXPECT_NE(text.find("connector=1"), std::string::npos) << text;
    EXPECT_NE(text.find("viewport=100,200,868,776"), std::string::npos) << text;
    EXPECT_EQ(FolderEntries(Folder()), std::vector<std::string>{"board.ini"}) << "no temporary file is left";

    h = Open();
    ExpectDefaults(ReadValues(qor, h));  // a new board starts from the defaults
    ASSERT_EQ(qor.GetIniFile(h, buffer), 1);
    ExpectEverythingChanged(ReadValues(qor, h));
}

TEST_F(Settings, AFileWithSomeKeysKeepsTheDefaultsOfTheOthers) {
    sim::WriteFile(Path("board.ini"), "[KIVO]\r\nconnector=2\r\nhue=-100\r\n; a comment\r\n\r\nstandard2 = 1\r\n");
    std::int32_t h = OpenAndRead();
    Values v = ReadValues(qor, h);
    EXPECT_EQ(v.connector, 2);
    EXPECT_EQ(v.controls[2], -100);
    EXPECT_EQ(v.standards[2], 1);
    EXPECT_EQ(v.controls[0], 0);
    EXPECT_EQ(v.viewport.left, 16);
}

struct Corrupt {
    const char* what;
    std::string text;
};

TEST_F(Settings, ACorruptFileReadsAsZeroAndKeepsTheDefaults) {
    const Corrupt cases[] = {
        {"empty", ""},
        {"no heading", "connector=1\n"},
        {"words", "this is not a settings file\n"},
        {"unknown key", "[KIVO]\nconnector=1\nwhiteness=3\n"},
        {"connector out of range", "[KIVO]\nconnector=3\n"},
        {"standard out of range", "[KIVO]\nstandard1=7\n"},
        {"brightness out of range", "[KIVO]\nbrightness=300\n"},
        {"sharpness not a number", "[KIVO]\nsharpness=high\n"},
        {"a number and more", "[KIVO]\ncontrast=12x\n"},
        {"too big for 32 bits", "[KIVO]\nhue=99999999999\n"},
        {"viewport outside the raw area", "[KIVO]\nviewport=0,0,2000,480\n"},
        {"viewport empty", "[KIVO]\nviewport=10,10,10,490\n"},
        {"viewport of three numbers", "[KIVO]\nviewport=10,10,730\n"},
        {"viewport of five numbers", "[KIVO]\nviewport=10,10,730,490,5\n"},
        {"a key twice", "[KIVO]\nconnector=1\nconnector=2\n"},
        {"a line without =", "[KIVO]\nconnector\n"},
        {"binary", std::string("[KIVO]\nconnector=1\n\0\x01\x02", 22)},
        {"huge", "[KIVO]\n" + std::string(100000, ';') + "\n"},
    };
    for (const Corrupt& c : cases) {
        SCOPED_TRACE(c.what);
        sim::WriteFile(Path("board.ini"), c.text);
        std::int32_t h = Open();
        char buffer[128] = {};
        EXPECT_EQ(qor.GetIniFile(h, buffer), 0);
        ExpectDefaults(ReadValues(qor, h));
        Close();
    }
}

TEST_F(Settings, AnUnreadableFileReadsAsZero) {
    fs::create_directory(Path("board.ini"));  // a folder where the file should be
    std::int32_t h = Open();
    char buffer[128] = {};
    EXPECT_EQ(qor.GetIniFile(h, buffer), 0);
    ExpectDefaults(ReadValues(qor, h));
}

TEST_F(Settings, ASaveThatFailsLeavesTheOldFileUntouched) {
    std::int32_t h = OpenAndRead();
    const std::string old = "[KIVO]\nconnector=2\n";
    sim::WriteFile(Path("board.ini"), old);
    ChangeEverything(qor, h);
    char buffer[128] = {};
    {
        sim::FileSizeLimit limit(16);  // the new file cannot be written whole
        EXPECT_EQ(qor.SaveIniFile(h, buffer), 0);
    }
    EXPECT_EQ(sim::ReadFile(Path("board.ini")), old);
    EXPECT_EQ(FolderEntries(Folder()), std::vector<std::string>{"board.ini"}) << "no temporary file is left";
    EXPECT_EQ(qor.SaveIniFile(h, buffer), 1) << "and the next save works";
    EXPECT_NE(sim::ReadFile(Path("board.ini")), old);
}

TEST_F(Settings, ASaveIntoAMissingFolderOrOverAFolderFails) {
    SetEnv("KIVO_SETTINGS_FILE", Path("missing/board.ini").string());
    std::int32_t h = OpenAndRead();
    char buffer[128] = {};
    EXPECT_EQ(qor.SaveIniFile(h, buffer), 0);
    EXPECT_FALSE(fs::exists(Path("missing")));
    Close();

    fs::create_directory(Path("folder.ini"));
    sim::WriteFile(Path("folder.ini/inside"), "x");
    SetEnv("KIVO_SETTINGS_FILE", Path("folder.ini").string());
    h = Open();
    EXPECT_EQ(qor.SaveIniFile(h, buffer), 0);
    EXPECT_TRUE(fs::is_directory(Path("folder.ini")));
    EXPECT_EQ(sim::ReadFile(Path("folder.ini/inside")), "x");
    EXPECT_EQ(FolderEntries(Folder()), std::vector<std::string>{"folder.ini"});
}

TEST_F(Settings, TheFileIsBesideTheLibraryByDefault) {
    // A copy of the library in a folder of its own: its settings file is
    // that folder's QORDCI32.ini.
    UnsetEnv("KIVO_SETTINGS_FILE");
    SetEnv("XDG_CONFIG_HOME", Path("config").string());
    fs::path binary = fs::path(win::ExecutablePath()).parent_path() / "QORDCI32.DLL";
    fs::create_directory(Path("lib"));
    fs::copy_file(binary, Path("lib/QORDCI32.DLL"));
    Driver copy;
    ASSERT_TRUE(copy.Load(Path("lib/QORDCI32.DLL").string()));
    std::int32_t h = copy.Init();
    ASSERT_GE(h, 0);
    char buffer[128] = {};
    EXPECT_EQ(copy.GetIniFile(h, buffer), 1);
    EXPECT_EQ(copy.SetActiveSource(h, 2), 1);
    EXPECT_EQ(copy.SaveIniFile(h, buffer), 1);
    EXPECT_EQ(copy.DeInit(h), 1);
    copy.Unload();
    EXPECT_NE(sim::ReadFile(Path("lib/QORDCI32.ini")).find("connector=2"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("config"))) << "the user's settings folder is for an installed board";
}

TEST_F(Settings, AnInstalledLibraryKeepsItsFileInTheUsersSettingsFolder) {
    // The library in the installed layout's private library folder, beside
    // the system-API library.
    UnsetEnv("KIVO_SETTINGS_FILE");
    SetEnv("XDG_CONFIG_HOME", Path("config").string());
    fs::path built = fs::path(win::ExecutablePath()).parent_path();
    fs::create_directories(Path("usr/lib/duvez"));
    for (const char* file : {"QORDCI32.DLL", win::kSystemLibraryName})
        fs::copy_file(built / file, Path("usr/lib/duvez") / file);
    const fs::path installed = Path("usr/lib/duvez/QORDCI32.DLL");
    char buffer[128] = {};

    Driver copy;
    ASSERT_TRUE(copy.Load(installed.string()));
    std::int32_t h = copy.Init();
    ASSERT_GE(h, 0);
    EXPECT_EQ(copy.GetIniFile(h, buffer), 1);
    EXPECT_FALSE(fs::exists(Path("config"))) << "a read makes no folder";
    EXPECT_EQ(copy.SetActiveSource(h, 2), 1);
    EXPECT_EQ(copy.SaveIniFile(h, buffer), 1);
    EXPECT_EQ(copy.DeInit(h), 1);
    EXPECT_NE(sim::ReadFile(Path("config/DUVEZ/QORDCI32.ini")).find("connector=2"), std::string::npos);
    EXPECT_EQ(FolderEntries(Path("usr/lib/duvez")), (std::vector<std::string>{"QORDCI32.DLL", "libduvez_win.so"}));

    h = copy.Init();
    ASSERT_GE(h, 0);
    EXPECT_EQ(copy.GetIniFile(h, buffer), 1);
    EXPECT_EQ(copy.GetActiveSource(h), 2) << "read back from the user's settings folder";
    EXPECT_EQ(copy.DeInit(h), 1);

    // The settings-file knob still names the file.
    SetEnv("KIVO_SETTINGS_FILE", Path("knob.ini").string());
    h = copy.Init();
    ASSERT_GE(h, 0);
    EXPECT_EQ(copy.SaveIniFile(h, buffer), 1);
    EXPECT_EQ(copy.DeInit(h), 1);
    copy.Unload();
    EXPECT_TRUE(fs::exists(Path("knob.ini")));
    EXPECT_EQ(FolderEntries(Path("config/DUVEZ")), std::vector<std::string>{"QORDCI32.ini"});
}

TEST_F(Settings, TheSettingsFileKnobNamesTheFile) {
    SetEnv("KIVO_SETTINGS_FILE", Path("elsewhere.txt").string());
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.SetActiveSource(h, 2), 1);
    char buffer[128] = {};
    ASSERT_EQ(qor.SaveIniFile(h, buffer), 1);
    EXPECT_TRUE(fs::exists(Path("elsewhere.txt")));
    EXPECT_FALSE(fs::exists(Path("board.ini")));
}

TEST_F(Settings, TheReadKnobInjectsZeroOrTwo) {
    sim::WriteFile(Path("board.ini"), "[KIVO]\nconnector=2\n");
    SetEnv("KIVO_SETTINGS_READ", "0");
    std::int32_t h = Open();
    char buffer[128] = {};
    EXPECT_EQ(qor.GetIniFile(h, buffer), 0);
    EXPECT_EQ(qor.GetActiveSource(h), 0) << "0: nothing was read";
    Close();

    SetEnv("KIVO_SETTINGS_READ", "2");
    h = Open();
    EXPECT_EQ(qor.GetIniFile(h, buffer), 2);
    EXPECT_EQ(qor.GetActiveSource(h), 2) << "2: the settings were read all the same";
    Close();

    fs::remove(Path("board.ini"));
    h = Open();
    EXPECT_EQ(qor.GetIniFile(h, buffer), 2) << "2 also for a missing file";
    Close();

    SetEnv("KIVO_SETTINGS_READ", "often");
    h = Open();
    EXPECT_EQ(qor.GetIniFile(h, buffer), 1) << "not a number: the knob is off";
}

}  // namespace
}  // namespace kivo::test
