// The input page: what the fill sends back to the board, the odd-X rule and
// the viewport's size by standard.
#include "settings_fixture.h"

namespace {

std::string Viewport(int left, int top, int right, int bottom) {
    return "QOR_SetCurInputViewport_32(0, {" + std::to_string(left) + " " + std::to_string(top) + " " +
           std::to_string(right) + " " + std::to_string(bottom) + "})";
}

// The board's calls during start-up that set something on the input side.
Names InputSends(const Names& calls) {
    Names sends;
    for (const std::string& call : calls)
        if (call.find("SetActiveSource") != std::string::npos || call.find("SetSourceSystem") != std::string::npos ||
            call.find("SetCurInputViewport") != std::string::npos)
            sends.push_back(call);
    return sends;
}

}  // namespace

TEST_F(SettingsWindow, TheFillShowsTheBoardsInputAndSendsBackOnlyWhatDiffersFromTheForm) {
    struct Case {
        const char* what;
        int source;
        int standard;  // of that connector
        RECT viewport;
        int sourceIndex, standardIndex, x, y;  // what the page shows
        Names sent;
    };
    const Case cases[] = {
        {"the form's own values", 1, 0, {1, 1, 721, 481}, 1, 0, 1, 1, {}},
        {"a viewport far right and low", 1, 0, {300, 20, 1020, 500}, 1, 0, 255, 20,
         {Viewport(255, 1, 975, 481), Viewport(255, 20, 975, 500)}},
        {"an even left edge", 1, 0, {100, 1, 820, 481}, 1, 0, 101, 1,
         {Viewport(101, 1, 821, 481), Viewport(101, 1, 821, 481)}},
        {"a left edge of 0", 1, 0, {0, 1, 720, 481}, 1, 0, 1, 1, {}},
        {"S-VIDEO in PAL", 2, 1, {11, 20, 779, 596}, 2, 1, 11, 20,
         {"QOR_SetActiveSource_32(0, 2)", "QOR_SetSourceSystem_32(0, 2, 1)", Viewport(11, 1, 779, 577),
          Viewport(11, 20, 779, 596)}},
        {"a connector the page does not know", 5, 0, {1, 1, 721, 481}, -1, -1, 1, 1, {}},
        {"a standard the page does not know", 0, 7, {3, 1, 723, 481}, 0, -1, 3, 1,
         {"QOR_SetActiveSource_32(0, 0)", Viewport(3, 1, 771, 577)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::TempDir folder;
        sim::Program run(folder);
        fake::Install();
        fake::board().activeSource = c.source;
        if (c.source >= 0 && c.source < 3) fake::board().standards[c.source] = c.standard;
        fake::board().viewport = c.viewport;
        run.RunWith([&] {
            TSettingWnd& w = *SettingWnd;
            EXPECT_EQ(w.InSourceRadio->ItemIndex(), c.sourceIndex);
            EXPECT_EQ(w.InFormatRadio->ItemIndex(), c.standardIndex);
            EXPECT_EQ(w.InValueX->Position(), c.x);
            EXPECT_EQ(w.InValueY->Position(), c.y);
            EXPECT_EQ(InputSends(fake::board().calls), c.sent);
            run.ExitThroughMenu();
        });
    }
}

TEST_F(SettingsWindow, XStaysOddAndEveryMoveSendsTheViewportOfTheChosenStandard) {
    Session([&](TSettingWnd& w) {
        user.SelectPage(*w.SettingTab, *w.TabSheetInput);
        user.ScrollTo(*w.InValueX, 100);
        EXPECT_EQ(w.InValueX->Position(), 101);
        EXPECT_EQ(TakeCalls(), (Names{Viewport(101, 1, 821, 481), Viewport(101, 1, 821, 481)}));
        user.ScrollTo(*w.InValueX, 254);
        EXPECT_EQ(w.InValueX->Position(), 255);
        user.ScrollTo(*w.InValueX, 300);
        EXPECT_EQ(w.InValueX->Position(), 255);
        TakeCalls();
        user.ScrollTo(*w.InValueY, 100);
        EXPECT_EQ(TakeCalls(), (Names{Viewport(255, 100, 975, 580)})) << "an even Y is kept";

        user.Pick(*w.InFormatRadio, 1);
        EXPECT_EQ(TakeCalls(), (Names{"QOR_SetSourceSystem_32(0, 1, 1)"})) << "only the standard";
        user.Drag(*w.InValueY, {101, 102});
        EXPECT_EQ(TakeCalls(), (Names{Viewport(255, 101, 1023, 677), Viewport(255, 102, 1023, 678)}));

        user.Pick(*w.InSourceRadio, 0);
        EXPECT_EQ(TakeCalls(), (Names{"QOR_SetActiveSource_32(0, 0)"}));
        EXPECT_EQ(w.InFormatRadio->ItemIndex(), 1) << "the standard's choice stays as it was";
        user.Pick(*w.InFormatRadio, 2);
        EXPECT_EQ(TakeCalls(), (Names{"QOR_SetSourceSystem_32(0, 0, 2)"}));
    });
}
