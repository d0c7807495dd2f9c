#include "app/globals.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "fake_driver.h"
#include "program.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;
using vcl::mbLeft;
using vcl::mbMiddle;
using vcl::mbRight;

namespace {

class Display : public ::testing::Test {
protected:
    Display() { fake::Install(); }
    ~Display() override { fake::Uninstall(); }

    // Runs the program with `session` on its display window, then exits.
    void Session(const std::function<void(TDisplayWnd&)>& session) {
        program.RunWith([&] {
            fake::board().calls.clear();
            session(*DisplayWnd);
            program.ExitThroughMenu();
        });
    }
    sim::TempDir dir;
    sim::Program program{dir};
};

}  // namespace

TEST_F(Display, TheWindowIsBorderlessOnTopWithAThinFrameAndTheDesignedLook) {
    Session([](TDisplayWnd& w) {
        EXPECT_EQ(w.Caption(), "DUVEZ");
        EXPECT_EQ(w.BorderStyle, vcl::bsNone);
        EXPECT_EQ(w.FormStyle, vcl::fsStayOnTop);
        EXPECT_EQ(w.Cursor, vcl::crCross);
        EXPECT_EQ(w.Color, vcl::clBackground);
        EXPECT_EQ(w.ClientWidth(), 640);  // the default size choice
        EXPECT_EQ(w.ClientHeight(), 480);
        EXPECT_EQ(w.Width(), 640 + 6);  // the dialog frame, 3 pixels a side
        EXPECT_EQ(w.Icon, vcl::Application->Icon);
        EXPECT_EQ(w.DisplayPopup->AutoPopup, false);
    });
}

TEST_F(Display, ADragMovesTheWindowWithoutTellingTheBoardAndTheNextResizeDoes) {
    Session([&](TDisplayWnd& w) {
        program.user.MouseDown(w, mbLeft, 10, 10);
        program.user.MouseMove(w, 30, 15);
        program.user.MouseMove(w, 25, 20);
        program.user.MouseUp(w, mbLeft, 25, 20);
        program.user.MouseMove(w, 90, 90);  // the button is up: no move
        EXPECT_EQ(w.Left(), 50 + 20 + 15);
        EXPECT_EQ(w.Top(), 50 + 5 + 10);
        EXPECT_TRUE(fake::board().calls.empty());

        w.ResizeDisplay(160, 120);
        EXPECT_EQ(w.ClientWidth(), 160);
        EXPECT_EQ(w.ClientHeight(), 120);
        EXPECT_EQ(fake::board().calls, (Names{"QOR_SetOutputWindow_32(0, window, 85, 65, 160, 120)"}));
    });
}

TEST_F(Display, ARightPressOpensTheMenuBesideTheCursorAndADragGoesOn) {
    Session([&](TDisplayWnd& w) {
        program.user.MouseDown(w, mbLeft, 10, 10);
        program.user.DismissMenu();
        program.user.MouseDown(w, mbRight, 40, 30);
        program.user.MouseDown(w, mbMiddle, 40, 30);
        program.user.MouseMove(w, 11, 12);  // still dragging
        program.user.MouseUp(w, mbLeft, 11, 12);
        ASSERT_EQ(program.user.Popups().size(), 1u);
        EXPECT_EQ(program.user.Popups()[0].menu, w.DisplayPopup);
        EXPECT_EQ(program.user.Popups()[0].x, 50 + 40 - 12);
        EXPECT_EQ(program.user.Popups()[0].y, 50 + 30 + 12);
        EXPECT_EQ(program.user.Popups()[0].captions, (std::vector<std::string>{"設定", "終了"}));
        EXPECT_EQ(w.Left(), 51);
        EXPECT_EQ(w.Top(), 52);
    });
}

TEST_F(Display, ADoubleClickStartsAndEndsADragWithoutMovingTheWindow) {
    Session([&](TDisplayWnd& w) {
        program.user.DoubleClick(w, 100, 100);
        EXPECT_EQ(w.dragging, 0);
        EXPECT_EQ(w.Left(), 50);
        EXPECT_EQ(w.Top(), 50);
    });
}

TEST_F(Display, ResizeDisplayPassesAnySizeAsAskedAndTheWindowKeepsASaneOne) {
    Session([&](TDisplayWnd& w) {
        w.ResizeDisplay(100000, -100);
        EXPECT_EQ(fake::board().calls, (Names{"QOR_SetOutputWindow_32(0, window, 50, 50, 100000, -100)"}));
        EXPECT_LE(w.Width(), win::kMaxWindowSide);
        EXPECT_EQ(w.ClientHeight(), 0);
    });
}
