// The output page: the picture rows and the live window's size.
#include "settings_fixture.h"

using vcl::TKey;

namespace {

std::string Output(int x, int y, int w, int h) {
    return "QOR_SetOutputWindow_32(0, window, " + std::to_string(x) + ", " + std::to_string(y) + ", " +
           std::to_string(w) + ", " + std::to_string(h) + ")";
}
std::string Color(int index, int value) {
    return "QOR_SetVideoColor_32(0, " + std::to_string(index) + ", " + std::to_string(value) + ")";
}

}  // namespace

TEST_F(SettingsWindow, PictureRowsShowTheBoardsRangesAndTheBoardEndsWhereItWas) {
    struct Row {
        fake::Board::Color reported;  // value, max, min
        const char* minText;
        const char* maxText;
        int barMin, barMax, position;
        Names sent;  // during the fill
    };
    const Row rows[] = {
        {{150, 200, 10}, "10", "200", 10, 200, 150, {Color(0, 10), Color(0, 150)}},
        {{200, 300, 150}, "150", "300", 150, 300, 200, {Color(1, 150), Color(1, 200)}},  // wholly above 100
        {{-150, -100, -200}, "-200", "-100", -200, -100, -150, {Color(2, -100), Color(2, -150)}},  // below 0
        // A minimum above the maximum: the bar's range is the maximum alone,
        // which is what the controller makes of every value.
        {{45, 40, 50}, "50", "40", 40, 40, 40, {Color(3, 40), Color(3, 40)}},
        {{0, 100, 0}, "0", "100", 0, 100, 0, {}},                 // the form's own range: nothing sent
    };
    for (int i = 0; i < 5; ++i) fake::board().colors[i] = rows[i].reported;
    Names fill;
    program.RunWith([&] {
        fill = fake::board().calls;
        TSettingWnd& w = *SettingWnd;
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            auto* bar = dynamic_cast<vcl::TScrollBar*>(w.FindComponent("Value" + std::to_string(i + 1)));
            auto* minLabel = dynamic_cast<vcl::TLabel*>(w.FindComponent("min" + std::to_string(i + 1)));
            auto* maxLabel = dynamic_cast<vcl::TLabel*>(w.FindComponent("max" + std::to_string(i + 1)));
            auto* edit = dynamic_cast<vcl::TEdit*>(w.FindComponent("pos" + std::to_string(i + 1)));
            ASSERT_TRUE(bar && minLabel && maxLabel && edit);
            EXPECT_EQ(minLabel->Caption(), rows[i].minText);
            EXPECT_EQ(maxLabel->Caption(), rows[i].maxText);
            EXPECT_EQ(bar->Min(), rows[i].barMin);
            EXPECT_EQ(bar->Max(), rows[i].barMax);
            EXPECT_EQ(bar->Position(), rows[i].position);
            EXPECT_EQ(edit->Text(), std::to_string(rows[i].position));
            int clamped = std::min(std::max(rows[i].reported.value, rows[i].reported.min), rows[i].reported.max);
            EXPECT_EQ(fake::board().colors[i].value, clamped) << "the board ends at its own value";
        }
        program.ExitThroughMenu();
    });
    std::erase_if(fill, [](const std::string& call) { return call.rfind("QOR_SetVideoColor_32", 0) != 0; });
    Names sent;
    for (const Row& row : rows) sent.insert(sent.end(), row.sent.begin(), row.sent.end());
    EXPECT_EQ(fill, sent);
}

TEST_F(SettingsWindow, ATypedPictureValueMovesTheBarWithinItsRangeAndSendsOnlyAMove) {
    fake::board().colors[0] = {150, 200, 10};
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        struct Step {
            const char* typed;
            const char* shown;  // the edit after leaving it
            Names sent;
        };
        const Step steps[] = {
            {"250", "200", {Color(0, 200)}},  // above the range: the maximum
            {"300", "300", {}},               // the bar stands at the maximum already
            {"200", "200", {}},               // equal to the position
            {"5", "10", {Color(0, 10)}},
            {"-0", "-0", {}},                 // 0 lies below the range; the bar stays at its minimum
            {"77", "77", {Color(0, 77)}},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.typed);
            user.Type(*w.pos1, step.typed);
            user.Focus(*w.pos2);
            EXPECT_EQ(w.pos1->Text(), step.shown);
            EXPECT_EQ(TakeCalls(), step.sent);
        }
        user.Drag(*w.Value1, {78, 79, 80});
        EXPECT_EQ(TakeCalls(), (Names{Color(0, 78), Color(0, 79), Color(0, 80)}));
        EXPECT_EQ(w.pos1->Text(), "80");
        EXPECT_TRUE(user.BoxTexts().empty());
    });
}

TEST_F(SettingsWindow, ATypedPictureValueThatIsNoIntegerIsReportedAndChangesNothing) {
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        vcl::TEdit* edits[] = {w.pos1, w.pos2, w.pos3, w.pos4, w.pos5};
        vcl::TScrollBar* bars[] = {w.Value1, w.Value2, w.Value3, w.Value4, w.Value5};
        for (int row = 0; row < 5; ++row) {
            int position = bars[row]->Position();
            for (const TypedText& t : BadAndOddTexts()) {
                if (t.integer) continue;
                SCOPED_TRACE(edits[row]->Name + ": " + t.text.substr(0, 20));
                user.Type(*edits[row], t.text);
                user.Focus(*w.OutSizeRadio4);
                EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{ConversionMessage(t.text)}));
                EXPECT_EQ(edits[row]->Text(), t.text);
                EXPECT_EQ(w.ActiveControl(), edits[row]) << "a failed exit keeps the focus";
                EXPECT_EQ(bars[row]->Position(), position);
                EXPECT_TRUE(TakeCalls().empty());
                user.backend().Boxes.clear();
            }
            edits[row]->SetText(std::to_string(position));
            user.Focus(*w.OutSizeRadio4);
        }
    });
}

TEST_F(SettingsWindow, AFixedSizeResizesTheLiveWindowOnlyAndTheChoiceIsKept) {
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        user.Click(*w.OutSizeRadio3);
        EXPECT_EQ(TakeCalls(), (Names{Output(50, 50, 320, 240)}));
        EXPECT_EQ(DisplayWnd->ClientWidth(), 320);
        EXPECT_EQ(DisplayWnd->ClientHeight(), 240);
        EXPECT_EQ(w.OutWidthEdit->Text(), "480");
        EXPECT_EQ(DisplayWnd->userW, 480);
        user.Click(*w.OutSizeRadio2);
        user.Click(*w.OutSizeRadio2);  // checked already: nothing more
        EXPECT_EQ(TakeCalls(), (Names{Output(50, 50, 160, 120)}));
    });
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Size=1\n"), std::string::npos);
}

TEST_F(SettingsWindow, EnteringASizeEditAppliesTheTextsAndResumesThePicture) {
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        user.Click(*w.FreezeBtn);
        TakeCalls();
        user.Focus(*w.OutWidthEdit);
        EXPECT_TRUE(w.OutSizeRadio1->Checked());
        // Selecting the user size runs the same handler nested: it applies twice.
        const Names applied = {Output(50, 50, 480, 360), "QOR_UnFreeze_32(0)"};
        EXPECT_EQ(TakeCalls(), (Names{applied[0], applied[1], applied[0], applied[1]}));
        user.Type(*w.OutWidthEdit, "300");
        EXPECT_TRUE(TakeCalls().empty()) << "typing alone changes nothing";
        user.Click(*w.OutWidthEdit);
        EXPECT_EQ(TakeCalls(), (Names{Output(50, 50, 300, 360), "QOR_UnFreeze_32(0)"}));
        EXPECT_EQ(DisplayWnd->userW, 480) << "only leaving the edit keeps the size";
    });
}

TEST_F(SettingsWindow, LeavingASizeEditChecksEachSideAndFallsBackToTheLiveWindowsSize) {
    struct Case {
        const char* width;
        const char* height;
        bool clickedInside;  // the texts applied by a click inside the edit before leaving it
        int w, h;            // the size applied and kept
    };
    // Entering the width edit first applies the texts as they stand; each
    // fallback is the size the live window has then.
    const Case cases[] = {
        {"80", "60", false, 80, 60},      {"720", "480", false, 720, 480}, {"79", "300", false, 720, 300},
        {"500", "481", false, 500, 300},  {"721", "59", false, 500, 300},
        // The live window takes no side above 16384, frame included.
        {"20000", "100", true, win::kMaxWindowSide - 6, 100},
    };
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.width) + "x" + c.height);
            user.Focus(*w.OutWidthEdit);
            w.OutWidthEdit->SetText(c.width);
            w.OutHeightEdit->SetText(c.height);
            if (c.clickedInside) user.Click(*w.OutWidthEdit);
            TakeCalls();
            user.Focus(*w.FreezeBtn);
            EXPECT_EQ(w.OutWidthEdit->Text(), std::to_string(c.w));
            EXPECT_EQ(w.OutHeightEdit->Text(), std::to_string(c.h));
            EXPECT_EQ(DisplayWnd->userW, c.w);
            EXPECT_EQ(DisplayWnd->userH, c.h);
            EXPECT_EQ(TakeCalls(), (Names{Output(50, 50, c.w, c.h)}));
        }
    });
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Size=0\nUserW=16378\nUserH=100\n"), std::string::npos);
}

TEST_F(SettingsWindow, ASizeTextThatIsNoIntegerIsReportedAndChangesNothingMore) {
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        for (const TypedText& t : BadAndOddTexts()) {
            if (t.integer) continue;
            SCOPED_TRACE(t.text.substr(0, 20));
            for (vcl::TEdit* edit : {w.OutWidthEdit, w.OutHeightEdit}) {
                user.Type(*edit, t.text);
                TakeCalls();
                user.Focus(*w.FreezeBtn);  // leaving the edit
                EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{ConversionMessage(t.text)}));
                EXPECT_EQ(w.ActiveControl(), edit);
                EXPECT_EQ(DisplayWnd->userW, 480);
                EXPECT_EQ(DisplayWnd->userH, 360);
                EXPECT_TRUE(TakeCalls().empty());
                user.backend().Boxes.clear();
                edit->SetText(edit == w.OutWidthEdit ? "480" : "360");
                user.Focus(*w.FreezeBtn);
                TakeCalls();
            }

            // Entering with it: the width is applied, then the height fails.
            w.OutHeightEdit->SetText("360");
            user.Focus(*w.FreezeBtn);
            w.OutHeightEdit->SetText(t.text);
            w.OutWidthEdit->SetText("400");
            user.Click(*w.OutSizeRadio4);
            TakeCalls();
            user.Focus(*w.OutWidthEdit);
            EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{ConversionMessage(t.text)}));
            EXPECT_TRUE(w.OutSizeRadio1->Checked());
            EXPECT_EQ(DisplayWnd->ClientWidth(), 400);
            EXPECT_EQ(DisplayWnd->ClientHeight(), 480);
            EXPECT_TRUE(TakeCalls().empty()) << "nothing reaches the board";
            user.backend().Boxes.clear();
            w.OutHeightEdit->SetText("360");
            w.OutWidthEdit->SetText("480");
            user.Focus(*w.FreezeBtn);
            TakeCalls();
        }
    });
}

TEST_F(SettingsWindow, MovingFromASizeEditToAFixedSizeChecksTheEditFirst) {
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetOutput);
        user.Type(*w.OutWidthEdit, "100");
        TakeCalls();
        user.Click(*w.OutSizeRadio3);
        EXPECT_EQ(TakeCalls(), (Names{Output(50, 50, 100, 360), Output(50, 50, 320, 240)}));
        EXPECT_EQ(DisplayWnd->ClientWidth(), 320);
        EXPECT_EQ(DisplayWnd->userW, 100);
        EXPECT_TRUE(w.OutSizeRadio3->Checked());
    });
    EXPECT_NE(sim::ReadFile(program.SettingsPath()).find("Size=2\nUserW=100\nUserH=360\n"), std::string::npos);
}
