#include "board/kivodll.h"

#include "fake_driver.h"
#include "test_files.h"
#include "simulator.h"

#include <memory>

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

namespace {

class BoardController : public ::testing::Test {
protected:
    // The executable stands in an empty folder, so no library file is found.
    BoardController() : savedExe_(win::ExecutablePath()) {
        win::SetExecutablePath(exeDir_ / "DUVEZ");
        fake::Install();
    }
    ~BoardController() override {
        fake::Uninstall();
        win::SetExecutablePath(savedExe_);
    }

    // An opened controller whose recorded calls start after the opening.
    std::unique_ptr<KIVODLL> Opened() {
        auto dll = std::make_unique<KIVODLL>();
        EXPECT_EQ(dll->Open(), 1);
        fake::board().calls.clear();
        return dll;
    }
    sim::Simulator user;

private:
    sim::TempDir exeDir_;
    std::string savedExe_;
};

}  // namespace

TEST_F(BoardController, OpensTheBoardReadsItsSettingsThenItsColours) {
    fake::board().colors[1] = {300, 255, 0};  // a value beyond its range
    auto dll = std::make_unique<KIVODLL>();
    ASSERT_EQ(dll->Open(), 1);
    EXPECT_EQ(dll->IsOpen(), 1);
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_EQ(fake::board().calls,
              (Names{"QOR_Init_32()", "QOR_GetIniFile_32(0)", "QOR_GetVideoColor_32(0, 0)", "QOR_GetVideoColor_32(0, 1)",
                     "QOR_GetVideoColor_32(0, 2)", "QOR_GetVideoColor_32(0, 3)", "QOR_GetVideoColor_32(0, 4)"}));
    int value = 0, min = 0, max = 0;
    dll->GetVideoColor(1, value, min, max);
    EXPECT_EQ(value, 255);  // clamped in the cache, not sent back
    EXPECT_EQ(fake::board().colors[1].value, 300);
    dll->GetVideoColor(2, value, min, max);
    EXPECT_EQ(min, -128);

    fake::board().calls.clear();
    dll.reset();
    EXPECT_EQ(fake::board().calls, (Names{"QOR_SaveIniFile_32(0)", "QOR_DeInit_32(0)"}));
}

TEST_F(BoardController, EachOpenFailureIsReportedOnceAndReleasedExactly) {
    struct Case {
        const char* name;
        std::string missing;  // "*": no library at all
        int initResult, iniResult;
        const char* message;
        int isOpen;
        Names destruction;
    };
    const Case cases[] = {
        {"library missing", "*", 0, 1, "ライブラリが見つかりません [QORDCI32.DLL](0)", 0, {}},
        {"entry point missing", "QOR_Freeze_32", 0, 1, "ライブラリが正しくありません [QORDCI32.DLL](0)", 0, {}},
        {"init fails", "", -5, 1, "ボードの初期化に失敗しました (-5)", 0, {}},
        {"settings unread", "", 0, 0, "INIファイルが読み込めませんでした (0)", 1, {"QOR_DeInit_32"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Simulator fresh;
        if (c.missing == "*")
            fake::Uninstall();
        else
            fake::Install(c.missing);
        fake::board().initResult = c.initResult;
        fake::board().iniResult = c.iniResult;
        auto dll = std::make_unique<KIVODLL>();
        EXPECT_EQ(dll->Open(), 0);
        EXPECT_EQ(dll->IsOpen(), c.isOpen);
        ASSERT_EQ(fresh.Boxes().size(), 1u);
        EXPECT_EQ(fresh.Boxes()[0].text, c.message);
        EXPECT_EQ(fresh.Boxes()[0].caption, "Error");
        EXPECT_EQ(fresh.Boxes()[0].owner, nullptr);
        fake::board().calls.clear();
        dll.reset();
        EXPECT_EQ(fake::board().Names(), c.destruction);
    }
}

TEST_F(BoardController, LooksEntryPointsUpInOrderAndStopsAtTheFirstMissing) {
    fake::Install("QOR_Freeze_32");
    KIVODLL dll;
    EXPECT_EQ(dll.Open(), 0);
    EXPECT_NE(dll.QOR_GetOutputWindow_32, nullptr);
    EXPECT_EQ(dll.QOR_Freeze_32, nullptr);
    EXPECT_EQ(dll.QOR_UnFreeze_32, nullptr);  // present, but never looked up
    EXPECT_EQ(dll.QOR_GrabFrameToFile_32, nullptr);
    EXPECT_TRUE(fake::board().calls.empty());
}

TEST_F(BoardController, SettingsThatReadAsTwoAreNotSavedAtTheEnd) {
    fake::board().iniResult = 2;
    auto dll = std::make_unique<KIVODLL>();
    EXPECT_EQ(dll->Open(), 1);
    fake::board().calls.clear();
    dll.reset();
    EXPECT_EQ(fake::board().Names(), (Names{"QOR_DeInit_32"}));
}

TEST_F(BoardController, ColourValuesAreClampedIntoTheCachedRangeBeforeTheyAreSent) {
    struct Case {
        int min, max, value, sent;
    };
    const Case cases[] = {{10, 200, 5, 10}, {10, 200, 250, 200}, {10, 200, 100, 100},
                          {50, 40, 45, 40},  {50, 40, 10, 40},    {50, 40, 99, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " " << c.value);
        fake::Install();
        fake::board().colors[3] = {c.min, c.max, c.min};
        auto dll = Opened();
        dll->SetVideoColor(3, c.value);
        EXPECT_EQ(fake::board().calls, (Names{"QOR_SetVideoColor_32(0, 3, " + std::to_string(c.sent) + ")"}));
        int value = 0, min = 0, max = 0;
        dll->GetVideoColor(3, value, min, max);
        EXPECT_EQ(value, c.sent);
    }
}

TEST_F(BoardController, IndicesOutsideTheirRangesAreDroppedSilently) {
    auto dll = Opened();
    dll->SetVideoColor(5, 1);
    dll->SetVideoColor(-1, 1);
    dll->SetActiveSource(3);
    dll->SetActiveSource(-1);
    dll->SetSourceSystem(3);
    dll->SetFrameFormat(-1);
    dll->SetFrameFormat(4);
    int value = 7, min = 7, max = 7;
    dll->GetVideoColor(5, value, min, max);
    dll->RefreshVideoColor(-1);
    EXPECT_TRUE(fake::board().calls.empty());
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(user.Boxes().empty());

    dll->GrabToFile("KIVOTEMP.BMP");  // the format never set stays 24-bit
    EXPECT_EQ(fake::board().calls,
              (Names{"QOR_FreezeAndGrabFrame_32(0, 2)", "QOR_GrabFrameToFile_32(0, KIVOTEMP.BMP)"}));
}

TEST_F(BoardController, TheStandardFollowsTheLastConnectorReadOrSet) {
    auto dll = Opened();
    fake::board().activeSource = 1;
    EXPECT_EQ(dll->GetActiveSource(), 1);
    dll->SetActiveSource(2);
    dll->SetSourceSystem(1);
    EXPECT_EQ(dll->GetSourceSystem(), 1);
    dll->SetFrameFormat(0);
    dll->GrabToFile("a.bmp");
    EXPECT_EQ(fake::board().calls,
              (Names{"QOR_GetActiveSource_32(0)", "QOR_SetActiveSource_32(0, 2)", "QOR_SetSourceSystem_32(0, 2, 1)",
                     "QOR_GetSourceSystem_32(0, 2)", "QOR_FreezeAndGrabFrame_32(0, 0)",
                     "QOR_GrabFrameToFile_32(0, a.bmp)"}));
    EXPECT_EQ(dll->sourceSystem, 1);
    EXPECT_EQ(dll->frozen, 0);  // a grab leaves the freeze flag alone
}

TEST_F(BoardController, TheViewportComesBackClampedAndGoesOutAsARectangle) {
    auto dll = Opened();
    fake::board().viewport = {0, 300, 720, 780};
    int x = 0, y = 0, width = 0, height = 0;
    dll->GetInputViewport(x, y, width, height);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{1, 255, 720, 480}));
    EXPECT_EQ(dll->inputRect.left, 0);  // the rectangle keeps what the board wrote

    dll->SetInputViewport(11, 20, 720, 480);
    EXPECT_EQ(fake::board().calls.back(), "QOR_SetCurInputViewport_32(0, {11 20 731 500})");
}

TEST_F(BoardController, TheOutputWindowGoesOutAsCopiesAndIsRememberedAsPassed) {
    auto dll = Opened();
    HWND window = win::CreateWindowHandle({});
    dll->SetOutputWindow(window, 274, 112, 512, 384);
    EXPECT_EQ(fake::board().calls, (Names{"QOR_SetOutputWindow_32(0, window, 274, 112, 512, 384)"}));
    EXPECT_EQ((std::vector<int>{dll->outX, dll->outY, dll->outWidth, dll->outHeight}),
              (std::vector<int>{274, 112, 512, 384}));
    win::DestroyWindowHandle(window);
}

TEST_F(BoardController, FreezeTogglesAndUnfreezeAlwaysResumes) {
    auto dll = Opened();
    dll->ToggleFreeze();
    EXPECT_EQ(dll->frozen, 1);
    dll->UnFreeze();
    dll->UnFreeze();
    EXPECT_EQ(dll->frozen, 0);
    dll->ToggleFreeze();
    EXPECT_EQ(fake::board().Names(), (Names{"QOR_Freeze_32", "QOR_UnFreeze_32", "QOR_UnFreeze_32", "QOR_Freeze_32"}));
}
