// The save page and the capture: names, numbering, keys, and a capture that
// cannot save keeping the user's files.
#include "settings_fixture.h"

#include <sys/stat.h>

#include <filesystem>

using vcl::TKey;

namespace {

const Names kGrab = {"QOR_FreezeAndGrabFrame_32(0, 2)", "QOR_GrabFrameToFile_32(0, KIVOTEMP.BMP)",
                     "QOR_UnFreeze_32(0)"};
const std::string kFrame = "BM a grabbed frame";

}  // namespace

TEST_F(SettingsWindow, ACaptureNamesTheFileFromTheNameAndTheNumberEditAsTheyStand) {
    struct Case {
        const char* name;
        bool numbered;
        const char* number;  // typed into the number edit and confirmed; null: left as it is
        const char* file;    // the file expected
        const char* after;   // the number edit afterwards
    };
    const Case cases[] = {
        {"TempFile", true, "001", "TempFile001.bmp", "002"},
        {"shot.bmp", true, "001", "shot.bmp001.bmp", "002"},  // the number ends the name, not ".bmp"
        {"SHOT.BMP", false, "001", "SHOT.BMP", "001"},        // the extension test ignores case
        {"a.b/shot", false, "001", "a.b/shot.bmp", "001"},    // a dot in a folder is no extension
        {"a\\b:c", false, "001", "a\\b:c.bmp", "001"},         // backslash and colon are plain characters
        {"   ", true, "001", "001.bmp", "002"},               // blanks count as a name, then go
        {" shot", false, "001", "shot.bmp", "001"},
        {"n", true, "999", "n999.bmp", "1000"},
        {"n", true, nullptr, "n1000.bmp", "1001"},  // no upper limit while capturing
    };
    std::filesystem::create_directory(dir / "a.b");
    Session([&](TSettingWnd& w) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            if (!w.FileNameMake->Checked()) user.Click(*w.FileNameMake);  // the number edit takes typing
            if (c.number) user.Type(*w.FileNameNumber, c.number);
            user.Type(*w.FileNameEdit, c.name);
            if (!c.numbered) user.Click(*w.FileNameMake);
            user.Click(*w.CaptureBtn);
            EXPECT_EQ(sim::ReadFile(c.file), kFrame);
            EXPECT_EQ(w.FileNameNumber->Text(), c.after);
            EXPECT_EQ(w.FileNameEdit->Text(), c.name) << "a capture never changes the name";
            EXPECT_FALSE(sim::Exists("KIVOTEMP.BMP"));
            EXPECT_EQ(TakeCalls(), kGrab);
            std::filesystem::remove(c.file);
        }
        EXPECT_TRUE(user.BoxTexts().empty());
    });
}

TEST_F(SettingsWindow, AnyTypedNameIsCapturedUnderItsTrimmedTextOrReported) {
    Session([&](TSettingWnd& w) {
        for (const TypedText& t : BadAndOddTexts()) {
            SCOPED_TRACE(t.text.substr(0, 20));
            user.Type(*w.FileNameEdit, t.text);
            user.Click(*w.CaptureBtn);
            std::string file = vcl::Trim(t.text + "001.bmp");
            if (t.text.empty()) {
                EXPECT_TRUE(user.BoxTexts().empty()) << "no name: nothing saved and nothing said";
            } else if (t.text.size() > 255) {
                EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{"ファイルを保存できませんでした [" + file + "]"}));
            } else {
                EXPECT_EQ(sim::ReadFile(file), kFrame);
                std::filesystem::remove(file);
                user.Click(*w.ResetBtn);
            }
            EXPECT_EQ(w.FileNameNumber->Text(), "001");
            EXPECT_FALSE(sim::Exists("KIVOTEMP.BMP"));
            user.backend().Boxes.clear();
        }
    });
}

TEST_F(SettingsWindow, TheNumberAdvancesFromTheLastConfirmedValueWhileTheNameTakesTheTypedText) {
    Session([&](TSettingWnd& w) {
        user.Type(*w.FileNameNumber, "7");
        user.Key(w, TKey::Escape);  // the focus stays in the number edit: no exit rule
        EXPECT_TRUE(sim::Exists("TempFile7.bmp"));
        EXPECT_EQ(DisplayWnd->fileNumber, 2);
        EXPECT_EQ(w.FileNameNumber->Text(), "002");
        EXPECT_EQ(w.ActiveControl(), w.FileNameNumber);
    });
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Number=2\n"), std::string::npos);
}

TEST_F(SettingsWindow, EscCapturesFromAnywhereAndEnterFreezesUnlessAButtonHasTheFocus) {
    Session([&](TSettingWnd& w) {
        user.Focus(*w.FileNameEdit);
        user.Key(w, TKey::Escape);
        user.Focus(*w.FreezeBtn);
        user.Key(w, TKey::Escape);
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        user.Focus(*w.Value1);
        user.Key(w, TKey::Escape);
        EXPECT_TRUE(sim::Exists("TempFile001.bmp") && sim::Exists("TempFile002.bmp") && sim::Exists("TempFile003.bmp"));
        EXPECT_EQ(w.ActiveControl(), w.Value1);
        TakeCalls();

        user.Key(w, TKey::Enter);  // on a scroll bar: the default button
        user.SelectPage(*w.SettingTab, *w.TabSheetSave);
        user.Focus(*w.FileNameEdit);
        user.Key(w, TKey::Enter);
        EXPECT_EQ(TakeCalls(), (Names{"QOR_Freeze_32(0)", "QOR_UnFreeze_32(0)"}));

        user.Focus(*w.ResetBtn);
        user.Key(w, TKey::Enter);  // presses Reset, not the freeze
        EXPECT_EQ(w.FileNameNumber->Text(), "001");
        user.Focus(*w.CaptureBtn);
        user.Key(w, TKey::Enter);
        EXPECT_EQ(TakeCalls(), kGrab);
        EXPECT_TRUE(sim::Exists("TempFile001.bmp"));
    });
}

TEST_F(SettingsWindow, ACaptureWithoutANameSavesNothingSaysNothingAndResumesThePicture) {
    Session([&](TSettingWnd& w) {
        user.Click(*w.FreezeBtn);
        user.Type(*w.FileNameEdit, "");
        user.Click(*w.CaptureBtn);
        EXPECT_EQ(TakeCalls(), (Names{"QOR_Freeze_32(0)", "QOR_UnFreeze_32(0)"}));
        EXPECT_EQ(w.FileNameNumber->Text(), "001");
        EXPECT_TRUE(user.BoxTexts().empty());
        user.Click(*w.FreezeBtn);  // the picture is live again: this freezes it
        EXPECT_EQ(TakeCalls(), (Names{"QOR_Freeze_32(0)"}));
    });
}

TEST_F(SettingsWindow, ACaptureReplacesAnExistingFileOfItsName) {
    sim::WriteFile(dir / "TempFile001.bmp", "an older frame");
    Session([&](TSettingWnd& w) { user.Click(*w.CaptureBtn); });
    EXPECT_EQ(sim::ReadFile(dir / "TempFile001.bmp"), kFrame);
}

// Whatever keeps the frame from its name, the user's files stay as they were,
// the user is told which file was not saved, and the number stays.
TEST_F(SettingsWindow, ACaptureThatSavesNothingKeepsTheFilesTellsTheUserAndKeepsTheNumber) {
    struct Case {
        const char* what;
        std::string name;                 // typed into the name edit, numbering ticked
        std::function<void(const sim::TempDir&)> arrange;
    };
    auto nothing = [](const sim::TempDir&) {};
    const Case cases[] = {
        {"the grab writes nothing", "TempFile", [](const sim::TempDir&) { fake::board().grabbedFile.reset(); }},
        {"the folder is missing", "nowhere/shot", nothing},
        {"the folder cannot be written", "/proc/shot", nothing},
        {"the name is too long", std::string(10000, 'n'), nothing},
        {"a folder stands in the name's place", "taken",
         [](const sim::TempDir& folder) { std::filesystem::create_directory(folder / "taken001.bmp"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::TempDir folder;
        sim::WorkingFolder there(folder.Path());
        sim::WriteFile(folder / "TempFile001.bmp", "the user's frame");
        sim::WriteFile(folder / "KIVOTEMP.BMP", "a stale frame from an earlier failed capture");
        sim::Program run(folder);
        fake::Install();
        c.arrange(folder);
        run.RunWith([&] {
            TSettingWnd& w = *SettingWnd;
            run.user.Type(*w.FileNameEdit, c.name);
            run.user.Click(*w.CaptureBtn);
            std::string expected = c.name + "001.bmp";
            EXPECT_EQ(run.user.BoxTexts(), (std::vector<std::string>{"ファイルを保存できませんでした [" + expected + "]"}));
            EXPECT_EQ(w.FileNameNumber->Text(), "001");
            EXPECT_EQ(DisplayWnd->fileNumber, 1);
            EXPECT_EQ(sim::ReadFile(folder / "TempFile001.bmp"), "the user's frame");
            EXPECT_FALSE(sim::Exists(folder / "KIVOTEMP.BMP")) << "a temporary file was left";
            EXPECT_EQ(fake::board().Names().back(), "QOR_UnFreeze_32");
            run.ExitThroughMenu();
        });
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}),
                  std::ptrdiff_t{2} + (std::string(c.what) == "a folder stands in the name's place"))
            << "only the user's frame, the settings file and what the test made";
    }
}

TEST_F(SettingsWindow, TheNumberEditTakesTheLeadingNumberOnExitAndFallsBackToOne) {
    struct Case {
        std::string typed;
        const char* shown;
        int number;
    };
    const Case cases[] = {
        {"7", "007", 7},     {" 12x", "012", 12},      {"abc", "001", 1},   {"0", "001", 1},
        {"-5", "001", 1},    {"1000", "001", 1},       {"999", "999", 999}, {"", "001", 1},
        {"12x", "012", 12},  {" 7", "007", 7},         {"99999999999", "001", 1},
        {"4294967297", "001", 1},  // 2^32 + 1 would wrap to 1 in 32 bits
        {std::string(10000, '4'), "001", 1},
    };
    Session([&](TSettingWnd& w) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed.substr(0, 20));
            user.Type(*w.FileNameNumber, c.typed);
            user.Focus(*w.FileNameEdit);
            EXPECT_EQ(w.FileNameNumber->Text(), c.shown);
            EXPECT_EQ(DisplayWnd->fileNumber, c.number);
        }
        EXPECT_TRUE(user.BoxTexts().empty());
        user.Type(*w.FileNameNumber, "42");
        user.Click(*w.ResetBtn);
        EXPECT_EQ(w.FileNameNumber->Text(), "001");
        EXPECT_EQ(DisplayWnd->fileNumber, 1);
    });
}

TEST_F(SettingsWindow, TheSavePageEnablesItsControlsByTheSaveModeAndTheNumbering) {
    Session([&](TSettingWnd& w) {
        EXPECT_FALSE(w.SaveRadio1->Enabled());
        EXPECT_TRUE(w.SaveRadio2->Checked());
        user.Click(*w.FileNameMake);
        EXPECT_FALSE(w.FileNameNumber->Enabled());
        EXPECT_FALSE(w.ResetBtn->Enabled());
        EXPECT_TRUE(w.FileNameEdit->Enabled());
        user.Click(*w.FileNameMake);
        EXPECT_TRUE(w.FileNameNumber->Enabled() && w.ResetBtn->Enabled());

        w.SaveRadio1Click(nullptr);
        EXPECT_FALSE(w.FileNameEdit->Enabled() || w.FileNameMake->Enabled() || w.FileNameNumber->Enabled() ||
                     w.ResetBtn->Enabled());
        EXPECT_TRUE(w.DirectryBtn->Enabled() && w.FormatCombo->Enabled());
        user.Click(*w.FileNameMake);  // disabled: the click does nothing
        EXPECT_TRUE(w.FileNameMake->Checked());
        user.Click(*w.SaveRadio2);  // already checked: no click runs
        w.SaveRadio2Click(nullptr);
        EXPECT_TRUE(w.FileNameEdit->Enabled() && w.FileNameMake->Enabled() && w.FileNameNumber->Enabled() &&
                    w.ResetBtn->Enabled());
    });
}

TEST_F(SettingsWindow, TheFormatListSetsTheGrabsFormatAndIsKept) {
    Session([&](TSettingWnd& w) {
        EXPECT_EQ(w.FormatCombo->Text(), "RGB [24bit]");
        user.Pick(*w.FormatCombo, 3);
        user.Click(*w.CaptureBtn);
        EXPECT_EQ(TakeCalls().front(), "QOR_FreezeAndGrabFrame_32(0, 3)");
        EXPECT_EQ(DisplayWnd->saveFormat, 3);
    });
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Format=3\n"), std::string::npos);
}

TEST_F(SettingsWindow, AFormatOutsideTheListSelectsNoneAndTheBoardKeepsItsOwnUntilAPick) {
    Session([&](TSettingWnd& w) {
        EXPECT_EQ(w.FormatCombo->ItemIndex(), -1);
        EXPECT_EQ(BoardDll->frameFormat, 2) << "the board keeps the format the controller started with";
        user.Pick(*w.FormatCombo, 1);
        EXPECT_EQ(BoardDll->frameFormat, 1);
    }, "[FILE]\nFormat=9\n");
}
