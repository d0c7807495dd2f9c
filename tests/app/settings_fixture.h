// The program with the recording fake driver, run in a fresh folder that is
// also the working folder, with a session of user actions on the settings window.
#pragma once

#include "app/globals.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "fake_driver.h"
#include "program.h"
#include "settings/setting.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

class SettingsWindow : public ::testing::Test {
protected:
    SettingsWindow() { fake::Install(); }
    ~SettingsWindow() override { fake::Uninstall(); }

    // Starts the program (with `settings` as its settings file when given), shows
    // the settings window by a double click on the live picture, runs `session`
    // on it with the board's calls recorded from there on, then exits.
    void Session(const std::function<void(TSettingWnd&)>& session, const std::string& settings = "") {
        if (!settings.empty()) sim::WriteFile(program.SettingsPath(), settings);
        program.RunWith([&] {
            user.DoubleClick(*DisplayWnd, 20, 20);
            EXPECT_TRUE(SettingWnd->Visible());
            fake::board().calls.clear();
            session(*SettingWnd);
            program.ExitThroughMenu();
        });
    }
    // The board's calls so far, and none from now on.
    Names TakeCalls() {
        Names calls;
        calls.swap(fake::board().calls);
        return calls;
    }

    sim::TempDir dir;
    sim::WorkingFolder here{dir.Path()};
    sim::Program program{dir};
    sim::Simulator& user = program.user;
};

// Texts a user may type into any edit, with the message the integer
// conversion gives for the ones that are no integer.
struct TypedText {
    std::string text;
    bool integer;
};
inline std::vector<TypedText> BadAndOddTexts() {
    return {{"", false}, {"abc", false}, {"12x", false}, {" 7", false}, {"-5", true}, {"99999999999", false},
            {std::string(10000, '4'), false}};
}
inline std::string ConversionMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }
