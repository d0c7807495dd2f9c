#include "app/globals.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "fake_driver.h"
#include "program.h"
#include "settings/setting.h"

#include <filesystem>

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

namespace {

class Startup : public ::testing::Test {
protected:
    Startup() { fake::Install(); }
    ~Startup() override { fake::Uninstall(); }
    sim::TempDir dir;
    sim::Program program{dir};
};

const char* const kDefaultFile =
    "[SYSTEM]\nX=50\nY=50\nSize=3\nUserW=480\nUserH=360\n[FILE]\nFormat=2\nNumber=1\nName=TempFile\n";

}  // namespace

TEST_F(Startup, EachOpenFailureShowsOneMessageAndEndsWithoutATrace) {
    struct Case {
        const char* name;
        std::string missing;  // "*": no library at all
        int initResult, iniResult;
        const char* message;
    };
    const Case cases[] = {
        {"library missing", "*", 0, 1, "ライブラリが見つかりません [QORDCI32.DLL](0)"},
        {"entry point missing", "QOR_GrabFrameToFile_32", 0, 1, "ライブラリが正しくありません [QORDCI32.DLL](0)"},
        {"init fails", "", -5, 1, "ボードの初期化に失敗しました (-5)"},
        {"settings unread", "", 0, 0, "INIファイルが読み込めませんでした (0)"},
    };
    const std::string existing = "; mine\r\n[SYSTEM]\r\nX=7\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::TempDir folder;
        sim::WriteFile(folder / "DUVEZ.ini", existing);
        sim::Program run(folder);
        if (c.missing == "*")
            fake::Uninstall();
        else
            fake::Install(c.missing);
        fake::board().initResult = c.initResult;
        fake::board().iniResult = c.iniResult;

        EXPECT_EQ(run.Run(), 0);
        EXPECT_EQ(run.user.BoxTexts(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(sim::ReadFile(folder / "DUVEZ.ini"), existing);
        EXPECT_FALSE(IsWindowVisible(DisplayWnd->Handle()));
        EXPECT_TRUE(win::TrayIcons().empty());
        EXPECT_EQ(BoardDll, nullptr);
        EXPECT_EQ(SettingWnd, nullptr);
        EXPECT_EQ(StartupFailed, 1);
    }
}

TEST_F(Startup, AFirstRunStartsAtFiftyFiftyAndWritesTheEightKeysAtExit) {
    bool checked = false;
    int exitCode = program.RunWith([&] {
        EXPECT_EQ(DisplayWnd->Left(), 50);
        EXPECT_EQ(DisplayWnd->Top(), 50);
        EXPECT_EQ(DisplayWnd->ClientWidth(), 640);
        EXPECT_EQ(DisplayWnd->ClientHeight(), 480);
        EXPECT_FALSE(SettingWnd->Visible());
        EXPECT_TRUE(IsWindowVisible(DisplayWnd->Handle()));
        EXPECT_FALSE(IsWindowVisible(vcl::Application->Handle()));  // no taskbar button
        auto icons = win::TrayIcons();
        EXPECT_EQ(icons.size(), 1u);
        if (!icons.empty()) {
            EXPECT_EQ(icons[0].owner, DisplayWnd->Handle());
            EXPECT_EQ(icons[0].id, 210u);
            EXPECT_EQ(icons[0].callbackMessage, 1025u);
            EXPECT_EQ(icons[0].tip, "DUVEZ");
            EXPECT_NE(icons[0].icon, nullptr);
        }
        checked = true;
        program.ExitThroughMenu();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_EQ(sim::ReadFile(program.SettingsPath()), kDefaultFile);
    EXPECT_EQ(fake::board().calls,
              (Names{"QOR_Init_32()", "QOR_GetIniFile_32(0)", "QOR_GetVideoColor_32(0, 0)", "QOR_GetVideoColor_32(0, 1)",
                     "QOR_GetVideoColor_32(0, 2)", "QOR_GetVideoColor_32(0, 3)", "QOR_GetVideoColor_32(0, 4)",
                     "QOR_SetOutputWindow_32(0, window, 274, 112, 512, 384)",
                     // the settings window: the size, then the picture rows that differ from
                     // the form's 0..100 at 0, then the input page
                     "QOR_SetOutputWindow_32(0, window, 50, 50, 640, 480)", "QOR_SetVideoColor_32(0, 0, 128)",
                     "QOR_SetVideoColor_32(0, 1, 64)", "QOR_SetVideoColor_32(0, 3, 3)",
                     "QOR_SetVideoColor_32(0, 4, 100)", "QOR_GetActiveSource_32(0)", "QOR_GetSourceSystem_32(0, 1)",
                     "QOR_GetCurInputViewport_32(0)", "QOR_SaveIniFile_32(0)", "QOR_DeInit_32(0)"}));
    EXPECT_TRUE(program.user.BoxTexts().empty());
}

TEST_F(Startup, TheFileNumberOutsideOneTo999ReadsAsOne) {
    const std::pair<const char*, int> cases[] = {{"0", 1}, {"-3", 1}, {"1000", 1}, {"999", 999}, {"42", 42}};
    for (auto [stored, expected] : cases) {
        SCOPED_TRACE(stored);
        sim::TempDir folder;
        sim::WriteFile(folder / "DUVEZ.ini", std::string("[FILE]\nNumber=") + stored + "\n");
        sim::Program run(folder);
        int seen = 0;
        run.RunWith([&] {
            seen = DisplayWnd->fileNumber;
            run.ExitThroughMenu();
        });
        EXPECT_EQ(seen, expected);
        EXPECT_NE(sim::ReadFile(folder / "DUVEZ.ini").find("Number=" + std::to_string(expected) + "\n"),
                  std::string::npos);
    }
}

TEST_F(Startup, OddValuesAreTakenAsTheyStandAndNothingBreaks) {
    sim::WriteFile(program.SettingsPath(),
                   "garbage\n[SYSTEM]\nX=-5000\nY=99999\nSize=0\nUserW=100000\nUserH=-100\nnonsense line\n"
                   "[FILE]\nFormat=9\nNumber=abc\nName=");
    program.RunWith([&] {
        EXPECT_EQ(DisplayWnd->Left(), -5000);
        EXPECT_EQ(DisplayWnd->Top(), 99999);
        EXPECT_EQ(DisplayWnd->sizeMode, 0);
        EXPECT_EQ(DisplayWnd->userW, 100000);
        EXPECT_EQ(DisplayWnd->userH, -100);
        EXPECT_EQ(DisplayWnd->saveFormat, 9);
        EXPECT_EQ(DisplayWnd->fileNumber, 1);
        EXPECT_EQ(DisplayWnd->fileName, "");  // present but empty
        program.ExitThroughMenu();
    });
    EXPECT_EQ(sim::ReadFile(program.SettingsPath()),
              "garbage\n[SYSTEM]\nX=-5000\nY=99999\nSize=0\nUserW=100000\nUserH=-100\nnonsense line\n"
              "[FILE]\nFormat=9\nNumber=1\nName=\n");
}

TEST_F(Startup, ASettingsFileThatCannotBeWrittenIsReportedByName) {
    std::filesystem::create_directory(program.SettingsPath());  // a folder stands in its place
    int exitCode = program.RunWith([&] { program.ExitThroughMenu(); });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(program.user.Boxes().size(), 1u);
    EXPECT_NE(program.user.Boxes()[0].text.find(program.SettingsPath()), std::string::npos);
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_EQ(fake::board().Names().back(), "QOR_DeInit_32");
}

TEST_F(Startup, TheSettingsWindowSizesTheLiveWindowByTheSizeChoice) {
    struct Case {
        const char* file;
        int width, height;
        const char* checked;  // the size button selected
        const char* written;  // the size choice written at exit
    };
    const Case cases[] = {
        {"[SYSTEM]\nSize=0\nUserW=300\nUserH=200\n", 300, 200, "OutSizeRadio1", "Size=0"},
        {"[SYSTEM]\nSize=1\n", 160, 120, "OutSizeRadio2", "Size=1"},
        {"[SYSTEM]\nSize=2\n", 320, 240, "OutSizeRadio3", "Size=2"},
        {"[SYSTEM]\nSize=3\n", 640, 480, "OutSizeRadio4", "Size=3"},
        {"[SYSTEM]\nSize=7\n", 640, 480, "OutSizeRadio4", "Size=3"},
        {"[SYSTEM]\nSize=-1\n", 640, 480, "OutSizeRadio4", "Size=3"},
        // A user size read as it stands, beyond the page's limits: never a crash
        // or a huge window; the board is told, and refuses what it cannot show.
        {"[SYSTEM]\nSize=0\nUserW=2147483647\nUserH=-5\n", win::kMaxWindowSide - 6, 0, "OutSizeRadio1", "Size=0"},
        {"[SYSTEM]\nSize=0\nUserW=40\nUserH=1000\n", 40, 1000, "OutSizeRadio1", "Size=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        sim::TempDir folder;
        sim::WriteFile(folder / "DUVEZ.ini", c.file);
        sim::Program run(folder);
        fake::Install();
        run.RunWith([&] {
            EXPECT_EQ(DisplayWnd->ClientWidth(), c.width);
            EXPECT_EQ(DisplayWnd->ClientHeight(), c.height);
            auto* button = dynamic_cast<vcl::TRadioButton*>(SettingWnd->FindComponent(c.checked));
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->Checked());
            run.ExitThroughMenu();
        });
        EXPECT_NE(sim::ReadFile(folder / "DUVEZ.ini").find(std::string(c.written) + "\n"), std::string::npos);
        EXPECT_TRUE(run.user.BoxTexts().empty());
    }
}

TEST_F(Startup, EveryPersistedValueReachesItsControlAndComesBackUnchanged) {
    const std::string file =
        "[SYSTEM]\nX=120\nY=80\nSize=0\nUserW=400\nUserH=300\n[FILE]\nFormat=1\nNumber=42\nName=/tmp/shots/cam\n";
    sim::WriteFile(program.SettingsPath(), file);
    program.RunWith([&] {
        TSettingWnd& w = *SettingWnd;
        EXPECT_EQ(w.FileNameNumber->Text(), "042");
        EXPECT_EQ(w.FormatCombo->Text(), "RGB [16bit]");
        EXPECT_EQ(w.FileNameEdit->Text(), "/tmp/shots/cam");
        EXPECT_EQ(w.OutWidthEdit->Text(), "400");
        EXPECT_EQ(w.OutHeightEdit->Text(), "300");
        EXPECT_TRUE(w.OutSizeRadio1->Checked());
        EXPECT_TRUE(w.FileNameMake->Checked());
        EXPECT_EQ(w.SettingTab->ActivePage(), w.TabSheetSave);
        EXPECT_EQ(BoardDll->frameFormat, 1);
        EXPECT_EQ(DisplayWnd->Left(), 120);
        program.ExitThroughMenu();
    });
    EXPECT_EQ(sim::ReadFile(program.SettingsPath()), file);
}

TEST_F(Startup, TheSettingsWindowIsHiddenCentredAndShownAndHiddenByADoubleClick) {
    program.RunWith([&] {
        TSettingWnd& w = *SettingWnd;
        EXPECT_FALSE(w.Visible());
        EXPECT_EQ(w.Caption(), "DUVEZ Setting");
        EXPECT_EQ(w.ClientWidth(), 390);
        EXPECT_EQ(w.ClientHeight(), 170);
        EXPECT_EQ(w.Left(), (vcl::Screen.Width - w.Width()) / 2);
        EXPECT_EQ(w.Top(), (vcl::Screen.Height - w.Height()) / 2);
        program.user.DoubleClick(*DisplayWnd, 10, 10);
        EXPECT_TRUE(w.Visible());
        program.user.CloseBox(w);
        EXPECT_FALSE(w.Visible()) << "the close box hides it";
        EXPECT_TRUE(DisplayWnd->Visible());
        program.user.ChooseMenu("設定");
        program.user.MouseDown(*DisplayWnd, vcl::mbRight, 5, 5);
        EXPECT_TRUE(w.Visible());
        program.user.DoubleClick(*DisplayWnd, 10, 10);
        EXPECT_FALSE(w.Visible());
        program.ExitThroughMenu();
    });
}
