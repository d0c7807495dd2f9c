// The notification icon: its task menu, the hide/show toggle and the size entries.
#include "settings_fixture.h"

namespace {

constexpr unsigned kIcon = 210;
constexpr unsigned kLeft = WM_LBUTTONDOWN;
constexpr unsigned kRight = WM_RBUTTONDOWN;
constexpr unsigned kLeftDouble = 0x0203;  // WM_LBUTTONDBLCLK
constexpr unsigned kLeftUp = 0x0202;      // WM_LBUTTONUP

const std::vector<std::string> kTaskCaptions(const std::string& user, const std::string& onOff = "非表示") {
    return {onOff, "-", "640x480", "320x240", "160x120", user, "-", "設定", "終了"};
}

std::string Output(int w, int h) {
    return "QOR_SetOutputWindow_32(0, window, 50, 50, " + std::to_string(w) + ", " + std::to_string(h) + ")";
}

}  // namespace

TEST_F(SettingsWindow, ARightPressOnTheIconOpensTheTaskMenuWithTheUserSizeAsTheEditsHoldIt) {
    Session([&](TSettingWnd& w) {
        win::SetCursorPos(1000, 700);
        user.DismissMenu();
        ASSERT_TRUE(user.PressTrayIcon(kIcon, kRight));
        w.OutWidthEdit->SetText("640");
        w.OutHeightEdit->SetText("48");
        user.DismissMenu();
        user.PressTrayIcon(kIcon, kRight);
        w.OutHeightEdit->SetText("4x");  // shown as it stands, not converted
        user.DismissMenu();
        user.PressTrayIcon(kIcon, kRight);
        ASSERT_EQ(user.Popups().size(), 3u);
        EXPECT_EQ(user.Popups()[0].menu, DisplayWnd->TaskPopup);
        EXPECT_EQ(user.Popups()[0].x, 1008);
        EXPECT_EQ(user.Popups()[0].y, 692);
        EXPECT_EQ(user.Popups()[0].captions, kTaskCaptions("480x360"));
        EXPECT_EQ(user.Popups()[1].captions, kTaskCaptions("640x48"));
        EXPECT_EQ(user.Popups()[2].captions, kTaskCaptions("640x4x"));
        EXPECT_TRUE(fake::board().calls.empty()) << "hiding, showing and the menu never reach the board";
        EXPECT_TRUE(user.ScriptErrors().empty());
    });
}

TEST_F(SettingsWindow, OnlyTheFirstLeftPressOfADoubleClickTogglesTheWindows) {
    Session([&](TSettingWnd& w) {
        for (unsigned press : {kLeft, kLeftUp, kLeftDouble, kLeftUp}) user.PressTrayIcon(kIcon, press);
        EXPECT_FALSE(DisplayWnd->Visible());
        EXPECT_FALSE(w.Visible());
        EXPECT_EQ(DisplayWnd->TaskPopOnOff->Caption, "表示");
        EXPECT_EQ(DisplayWnd->settingWasShown, 1);
        user.PressTrayIcon(kIcon, kLeft);
        EXPECT_TRUE(DisplayWnd->Visible());
        EXPECT_TRUE(w.Visible()) << "the settings window comes back with the live window";
        EXPECT_EQ(DisplayWnd->TaskPopOnOff->Caption, "非表示");
        EXPECT_EQ(DisplayWnd->settingWasShown, 0);
    });
}

TEST_F(SettingsWindow, TheSettingsWindowComesBackOnlyWhenHidingTheLiveWindowHidItToo) {
    struct Case {
        const char* what;
        std::vector<std::string> whileHidden;  // task menu entries chosen while both are hidden
        bool settingsShownAfter;
        int wasShownAfter;
    };
    const Case cases[] = {
        {"the settings window was hidden", {}, false, 0},
        {"shown again through the menu", {"設定"}, true, 0},
        {"shown, then hidden again", {"設定", "設定"}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::TempDir folder;
        sim::Program run(folder);
        fake::Install();
        run.RunWith([&] {
            bool startShown = std::string(c.what) != "the settings window was hidden";
            if (startShown) run.user.DoubleClick(*DisplayWnd, 5, 5);
            run.user.PressTrayIcon(kIcon, kLeft);
            for (const std::string& entry : c.whileHidden) {
                run.user.ChooseMenu(entry);
                run.user.PressTrayIcon(kIcon, kRight);
            }
            run.user.ChooseMenu("表示");
            run.user.PressTrayIcon(kIcon, kRight);
            EXPECT_TRUE(DisplayWnd->Visible());
            EXPECT_EQ(SettingWnd->Visible(), c.settingsShownAfter);
            EXPECT_EQ(DisplayWnd->settingWasShown, c.wasShownAfter);
            EXPECT_TRUE(run.user.ScriptErrors().empty());
            run.ExitThroughMenu();
        });
    }
}

TEST_F(SettingsWindow, ASizeEntryResizesOnceOrTwiceAndChecksItsSizeButton) {
    Session([&](TSettingWnd& w) {
        struct Step {
            const char* entry;
            const char* checked;
            Names calls;
        };
        const Step steps[] = {
            {"640x480", "OutSizeRadio4", {Output(640, 480)}},  // checked already: once
            {"320x240", "OutSizeRadio3", {Output(320, 240), Output(320, 240)}},
            {"160x120", "OutSizeRadio2", {Output(160, 120), Output(160, 120)}},
            // The user size: the entry's resize, then the button's own handler.
            {"480x360", "OutSizeRadio1", {Output(480, 360), Output(480, 360), "QOR_UnFreeze_32(0)"}},
            {"640x480", "OutSizeRadio4", {Output(640, 480), Output(640, 480)}},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.entry);
            user.ChooseMenu(step.entry);
            user.PressTrayIcon(kIcon, kRight);
            EXPECT_EQ(TakeCalls(), step.calls);
            EXPECT_TRUE(dynamic_cast<vcl::TRadioButton*>(w.FindComponent(step.checked))->Checked());
        }
        EXPECT_EQ(DisplayWnd->sizeMode, 3) << "the size choice is taken from the buttons at exit";
        EXPECT_TRUE(user.ScriptErrors().empty());
    }, "[SYSTEM]\nSize=3\n");
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Size=3\n"), std::string::npos);
}

TEST_F(SettingsWindow, AUserSizeEntryWhoseEditsHoldNoIntegerIsReportedAndChangesNothing) {
    Session([&](TSettingWnd& w) {
        for (const TypedText& t : BadAndOddTexts()) {
            if (t.integer) continue;
            SCOPED_TRACE(t.text.substr(0, 20));
            w.OutHeightEdit->SetText(t.text);
            user.ChooseMenu("480x" + t.text);
            user.PressTrayIcon(kIcon, kRight);
            EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{ConversionMessage(t.text)}));
            EXPECT_TRUE(w.OutSizeRadio4->Checked());
            EXPECT_EQ(DisplayWnd->ClientWidth(), 640);
            EXPECT_TRUE(TakeCalls().empty());
            user.backend().Boxes.clear();
        }
        EXPECT_TRUE(user.ScriptErrors().empty());
    });
}

TEST_F(SettingsWindow, ExitFromTheTaskMenuWhileHiddenKeepsTheHiddenWindowsPlaceAndRemovesTheIcon) {
    program.RunWith([&] {
        user.MouseDown(*DisplayWnd, vcl::mbLeft, 10, 10);
        user.MouseMove(*DisplayWnd, 40, 30);
        user.MouseUp(*DisplayWnd, vcl::mbLeft, 40, 30);
        user.PressTrayIcon(kIcon, kLeft);
        EXPECT_FALSE(DisplayWnd->Visible());
        EXPECT_EQ(win::TrayIcons().size(), 1u);
        user.ChooseMenu("終了");
        user.PressTrayIcon(kIcon, kRight);
    });
    EXPECT_TRUE(win::TrayIcons().empty());
    std::string file = sim::ReadFile(program.SettingsPath());
    EXPECT_NE(file.find("X=80\nY=70\n"), std::string::npos) << file;
    EXPECT_TRUE(user.ScriptErrors().empty());
}
