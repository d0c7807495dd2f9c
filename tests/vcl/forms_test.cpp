#include "vcl/menus.h"
#include "vcl/stdctrls.h"

#include "test_files.h"
#include "simulator.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

using namespace vcl;

namespace {

class MainWnd;
MainWnd* MainWndPtr = nullptr;
std::vector<std::string> events;

class MainWnd : public TForm {
public:
    explicit MainWnd(TComponent* owner) : TForm(owner) {
        events.push_back(MainWndPtr == this ? "constructed after the global was set" : "global not set");
        OnCreate = [](TObject*) { events.push_back("OnCreate"); };
        OnClose = [](TObject*, TCloseAction&) { events.push_back("OnClose"); };
    }
};

class Dialog : public TForm {
public:
    explicit Dialog(TComponent* owner) : TForm(owner) {
        Ok = new TButton(this);
        Ok->SetParent(this);
        Ok->ModalResult = mrOk;
    }
    TButton* Ok;
};

// A form designed at 120 pixels per inch.
class LargeFontDialog : public TForm {
public:
    explicit LargeFontDialog(TComponent* owner) : TForm(owner) {
        PixelsPerInch = 120;
        Font.Height = -15;
        SetClientWidth(295);
        SetClientHeight(248);
        Button = new TButton(this);
        Button->SetParent(this);
        Button->SetBounds(232, 216, 59, 25);
    }
    TButton* Button;
};

// A borderless window with a thin dialog frame.
class FramedWnd : public TForm {
public:
    explicit FramedWnd(TComponent* owner) : TForm(owner) { BorderStyle = bsNone; }
    void CreateParams(TCreateParams& Params) override {
        TForm::CreateParams(Params);
        Params.Style |= WS_DLGFRAME;
    }
};

class Forms : public ::testing::Test {
protected:
    Forms() {
        ResetApplication();
        events.clear();
    }
    ~Forms() override { ResetApplication(); }
    sim::Simulator user;
};

}  // namespace

TEST_F(Forms, CreateFormSetsTheGlobalFirstAndTheFirstFormIsTheMainForm) {
    Application->CreateForm(MainWndPtr);
    Dialog* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(events, (std::vector<std::string>{"constructed after the global was set", "OnCreate"}));
    EXPECT_EQ(Application->MainForm(), MainWndPtr);
    EXPECT_FALSE(MainWndPtr->Visible());
    EXPECT_FALSE(second->Visible());
}

TEST_F(Forms, RunShowsTheMainFormAndClosingItEndsTheRun) {
    Application->CreateForm(MainWndPtr);
    bool shownDuringRun = false;
    user.Then([&] { shownDuringRun = MainWndPtr->Visible() && IsWindowVisible(MainWndPtr->Handle()); });
    user.Then([&] { user.CloseBox(*MainWndPtr); });
    user.Then([] { events.push_back("ran after the close"); });
    Application->Run();
    EXPECT_TRUE(shownDuringRun);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(events.back(), "OnClose");
}

TEST_F(Forms, ShowModalRunsANestedLoopUntilAModalResultIsSet) {
    Application->CreateForm(MainWndPtr);
    auto* dialog = Create<Dialog>(MainWndPtr);
    TModalResult first = mrNone, second = mrNone;
    user.Then([&] {
        first = dialog->ShowModal();
        second = dialog->ShowModal();
    });
    user.Then([&] { user.Click(*dialog->Ok); });     // taken by the first modal loop
    user.Then([&] { user.CloseBox(*dialog); });      // by the second
    user.Then([&] { user.CloseBox(*MainWndPtr); });  // by the application's loop
    Application->Run();
    EXPECT_EQ(first, mrOk);
    EXPECT_EQ(second, mrCancel);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(user.ScriptErrors().empty());
}

TEST_F(Forms, APopupMenuIsModalAndRunsThePickedItemBeforeItReturns) {
    TPopupMenu menu(nullptr);
    std::vector<std::string> log;
    menu.Add("one", "設定", [&](TObject*) { log.push_back("設定"); });
    menu.Add("sep", "-", [&](TObject*) { log.push_back("separator"); });
    menu.Add("two", "終了", [&](TObject*) { log.push_back("終了"); });

    user.ChooseMenu("終了");
    menu.Popup(100, 200);
    log.push_back("returned");
    user.ChooseMenu("-");
    menu.Popup(0, 0);
    user.DismissMenu();
    menu.Popup(0, 0);
    menu.Popup(0, 0);  // nothing scripted: dismissed

    EXPECT_EQ(log, (std::vector<std::string>{"終了", "returned"}));
    ASSERT_EQ(user.Popups().size(), 4u);
    EXPECT_EQ(user.Popups()[0].x, 100);
    EXPECT_EQ(user.Popups()[0].y, 200);
    EXPECT_EQ(user.Popups()[0].captions, (std::vector<std::string>{"設定", "-", "終了"}));
    EXPECT_EQ(user.ScriptErrors(), (std::vector<std::string>{"no menu item \"-\""}));
}

TEST_F(Forms, TheOuterSizeFollowsTheClientSizeAndTheFrame) {
    auto* framed = Create<FramedWnd>(Application);
    framed->SetClientWidth(160);
    framed->SetClientHeight(120);
    EXPECT_EQ(framed->Width(), 166);
    EXPECT_EQ(framed->Height(), 126);
    EXPECT_EQ(framed->ClientWidth(), 160);

    auto* dialog = Create<Dialog>(Application);
    dialog->SetClientWidth(390);
    dialog->SetClientHeight(170);
    EXPECT_EQ(dialog->ClientWidth(), 390);
    EXPECT_EQ(dialog->ClientHeight(), 170);
    EXPECT_GT(dialog->Height() - dialog->ClientHeight(), dialog->Width() - dialog->ClientWidth());

    framed->SetClientWidth(100000);
    framed->SetClientHeight(-100);
    EXPECT_EQ(framed->Width(), win::kMaxWindowSide);
    EXPECT_EQ(framed->ClientHeight(), 0);
}

TEST_F(Forms, AFormDesignedAtAnotherResolutionIsScaledToTheScreens) {
    auto* dialog = Create<LargeFontDialog>(Application);
    EXPECT_EQ(dialog->ClientWidth(), 236);
    EXPECT_EQ(dialog->ClientHeight(), 198);
    EXPECT_EQ(dialog->Button->Left(), 185);
    EXPECT_EQ(dialog->Button->Top(), 172);
    EXPECT_EQ(dialog->Button->Width(), 47);
    EXPECT_EQ(dialog->Font.Height, -12);
    EXPECT_EQ(dialog->PixelsPerInch, 96);
}

TEST_F(Forms, AnExceptionFromAMessageHandlerIsShownByTheDefaultHandler) {
    struct Failing : TForm {
        using TForm::TForm;
        void Dispatch(TMessage& m) override {
            if (m.Msg == WM_USER + 1) StrToInt("x");
            TForm::Dispatch(m);
        }
    };
    auto* form = Create<Failing>(Application);
    PostMessageA(form->Handle(), WM_USER + 1, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(user.BoxTexts(), (std::vector<std::string>{"'x' is not a valid integer value"}));
}

TEST_F(Forms, TheFolderListOpensAFolderOnlyWhenAskedAndFollowsTheDrive) {
    sim::TempDir dir;
    std::filesystem::create_directories(dir / "pics/2026");
    std::filesystem::create_directories(dir / "docs");
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    auto* form = Create<Dialog>(Application);
    auto* tree = new TDirectoryListBox(form);
    auto* drives = new TDriveComboBox(form);
    tree->SetParent(form);
    drives->SetParent(form);
    drives->DirList = tree;
    std::filesystem::current_path(previous);

    std::string here = std::filesystem::canonical(dir.Path());
    EXPECT_EQ(tree->Directory(), here);
    const auto& items = tree->Items();
    auto pics = std::find(items.begin(), items.end(), here + "/pics");
    ASSERT_NE(pics, items.end());
    EXPECT_EQ(items.front(), "/");
    EXPECT_EQ(*(pics - 1), here + "/docs");

    tree->ItemIndex = static_cast<int>(pics - items.begin());  // highlighted only
    EXPECT_EQ(tree->Directory(), here);
    user.OpenFolder(*tree, tree->ItemIndex);
    EXPECT_EQ(tree->Directory(), here + "/pics");
    EXPECT_EQ(tree->Items().back(), here + "/pics/2026");

    auto root = std::find(drives->Items.begin(), drives->Items.end(), "/");
    ASSERT_NE(root, drives->Items.end());
    user.Pick(*drives, static_cast<int>(root - drives->Items.begin()));
    EXPECT_EQ(tree->Directory(), "/");
}
