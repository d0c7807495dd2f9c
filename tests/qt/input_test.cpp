// Real input on the widgets reaches the model as the user's actions: the
// focus moves before a click, keys follow the form's rules, and Qt changes
// nothing on its own where the model decides.
#include "sample_form.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

using namespace vcl;
using screen_test::PeerAs;
using screen_test::SampleForm;
using Log = std::vector<std::string>;

namespace {

QWidget* Peer(const TControl& control) { return vcl::qt::PeerWidget(control); }

// The widget Qt gives the keyboard to in the form's window.
QWidget* QtFocus(const TForm& form) { return Peer(form)->focusWidget(); }

TWinControl* Named(const SampleForm& form, const std::string& name) {
    return dynamic_cast<TWinControl*>(form.FindComponent(name));
}

std::unique_ptr<SampleForm> FormWithFocusOn(const std::string& name) {
    auto form = screen_test::ShowSampleForm();
    form->FocusControl(Named(*form, name));
    form->ClearLog();
    return form;
}

TEST(Input, AClickMovesTheFocusFirstThenClicks) {
    struct Case {
        std::string target;
        Log log;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"OkButton",
              {"Edit1.Exit", "OkButton.Enter", "OkButton.Click"}},
             {"Check",
              {"Edit1.Exit", "Check.Enter", "Check.Click"}},
             {"RadioB",
              {"Edit1.Exit", "RadioB.Enter", "RadioB.Click"}},
             {"Edit2",
              {"Edit1.Exit", "Edit2.Enter", "Edit2.Click"}},
         }) {
        auto form = FormWithFocusOn("Edit1");
        TWinControl* target = Named(*form, c.target);
        SCOPED_TRACE(target->Name);
        QTest::mouseClick(Peer(*target), Qt::LeftButton);
        EXPECT_EQ(form->Log, c.log);
        EXPECT_EQ(form->ActiveControl(), target);
        EXPECT_EQ(QtFocus(*form), Peer(*target));
    }
}

TEST(Input, ClickingALabelLeavesTheFocus) {
    auto form = FormWithFocusOn("Edit1");
    QTest::mouseClick(Peer(*form->Label), Qt::LeftButton);
    EXPECT_EQ(form->Log, Log({"Label.Click"}));
    EXPECT_EQ(form->ActiveControl(), form->Edit1);
}

TEST(Input, ButtonStatesAreTheModels) {
    auto form = screen_test::ShowSampleForm();
    auto* check = PeerAs<QAbstractButton>(*form->Check);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(form->Check->Checked());
    EXPECT_TRUE(check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(form->Check->Checked());
    EXPECT_FALSE(check->isChecked());

    // A click on the checked radio button leaves it checked.
    auto* radio = PeerAs<QAbstractButton>(*form->RadioA);
    QTest::mouseClick(radio, Qt::LeftButton);
    EXPECT_TRUE(form->RadioA->Checked());
    EXPECT_TRUE(radio->isChecked());
    QTest::mouseClick(PeerAs<QAbstractButton>(*form->RadioB), Qt::LeftButton);
    EXPECT_FALSE(radio->isChecked());
    EXPECT_TRUE(PeerAs<QAbstractButton>(*form->RadioB)->isChecked());
}

TEST(Input, APressWhoseFocusMoveFailsDoesNothingMore) {
    auto form = FormWithFocusOn("Edit1");
    form->Edit1->OnExit = [](TObject*) { throw Exception("'x' is not a valid integer value"); };
    screen_test::BoxAnswerer answers(QMessageBox::Ok);
    QTest::mouseClick(Peer(*form->Check), Qt::LeftButton);
    EXPECT_EQ(answers.Texts, Log({"'x' is not a valid integer value"}));
    EXPECT_EQ(form->Log, Log{});
    EXPECT_FALSE(form->Check->Checked());
    EXPECT_FALSE(PeerAs<QAbstractButton>(*form->Check)->isChecked());
    EXPECT_EQ(form->ActiveControl(), form->Edit1);
    EXPECT_EQ(QtFocus(*form), Peer(*form->Edit1));

    QTest::mouseClick(PeerAs<QTabWidget>(*form->Pages)->tabBar(), Qt::LeftButton, {},
                      PeerAs<QTabWidget>(*form->Pages)->tabBar()->tabRect(1).center());
    EXPECT_EQ(answers.Texts.size(), 2u);
    EXPECT_EQ(form->Pages->ActivePage(), form->PageA);
    EXPECT_EQ(PeerAs<QTabWidget>(*form->Pages)->currentIndex(), 0);
}

TEST(Input, KeysFollowTheFormsRules) {
    struct Case {
        const char* name;
        std::string focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Log log;
        std::string focusAfter;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"Enter presses the default button", "Edit1", Qt::Key_Return, {}, {"OkButton.Click"},
              "Edit1"},
             {"Enter presses the focused button", "CancelButton", Qt::Key_Enter, {},
              {"CancelButton.Click"}, "CancelButton"},
             {"Esc presses the cancel button", "Edit1", Qt::Key_Escape, {}, {"CancelButton.Click"},
              "Edit1"},
             {"Tab moves on", "Edit1", Qt::Key_Tab, {}, {"Edit1.Exit", "Edit2.Enter"},
              "Edit2"},
             {"Shift+Tab moves back", "Edit2", Qt::Key_Backtab, Qt::ShiftModifier,
              {"Edit2.Exit", "Edit1.Enter"}, "Edit1"},
             {"an arrow key moves no focus", "RadioA", Qt::Key_Down, {}, {}, "RadioA"},
         }) {
        SCOPED_TRACE(c.name);
        auto form = FormWithFocusOn(c.focus);
        QTest::keyClick(QtFocus(*form), c.key, c.modifiers);
        EXPECT_EQ(form->Log, c.log);
        TWinControl* after = Named(*form, c.focusAfter);
        EXPECT_EQ(form->ActiveControl(), after);
        EXPECT_EQ(QtFocus(*form), Peer(*after));
    }
}

TEST(Input, TypingChangesTheEditsText) {
    auto form = FormWithFocusOn("Edit1");
    QTest::keyClicks(PeerAs<QLineEdit>(*form->Edit1), "ab");
    EXPECT_EQ(form->Edit1->Text(), "oneab");
    EXPECT_EQ(form->Log, Log({"Edit1.Change:onea", "Edit1.Change:oneab"}));
}

TEST(Input, EveryScrollStepIsOneChange) {
    auto form = FormWithFocusOn("Edit1");
    auto* bar = PeerAs<QScrollBar>(*form->Bar);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form->Log, Log({"Edit1.Exit", "Bar.Enter", "Bar.Change:3", "Bar.Change:19"}));

    // A thumb drag, with a handler that keeps the position odd as the input page does.
    form->Bar->OnChange = [&](TObject*) {
        form->Log.push_back("Bar.Change:" + IntToStr(form->Bar->Position()));
        if (form->Bar->Position() % 2 == 0) form->Bar->SetPosition(form->Bar->Position() + 1);
    };
    form->ClearLog();
    bar->setSliderDown(true);
    for (int position : {40, 41, 60}) bar->setSliderPosition(position);
    bar->setSliderDown(false);
    EXPECT_EQ(form->Log, Log({"Bar.Change:40", "Bar.Change:41", "Bar.Change:60", "Bar.Change:61"}));
    EXPECT_EQ(form->Bar->Position(), 61);
    EXPECT_EQ(bar->value(), 61);
}

TEST(Input, PicksInTheListsAndTabs) {
    auto form = FormWithFocusOn("Edit1");
    auto* combo = PeerAs<QComboBox>(*form->Combo);
    QTest::mousePress(combo, Qt::LeftButton);
    combo->hidePopup();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(form->Log, Log({"Edit1.Exit", "Combo.Enter", "Combo.Change:RGB [16bit]"}));
    EXPECT_EQ(form->Combo->ItemIndex(), 1);

    form->ClearLog();
    auto group = PeerAs<QGroupBox>(*form->Group)->findChildren<QRadioButton*>();
    QTest::mouseClick(group[1], Qt::LeftButton);
    EXPECT_EQ(form->Log, Log({"Combo.Exit", "Group.Enter", "Group.Click"}));
    EXPECT_EQ(form->Group->ItemIndex(), 1);
    EXPECT_TRUE(group[1]->isChecked());
    EXPECT_FALSE(group[0]->isChecked());

    form->ClearLog();
    QTabBar* tabs = PeerAs<QTabWidget>(*form->Pages)->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(form->Log, Log({"Group.Exit", "Pages.Enter"}));
    EXPECT_EQ(form->Pages->ActivePage(), form->PageB);
    EXPECT_TRUE(Peer(*form->PageBLabel)->isVisible());
}

TEST(Input, ADoubleClickOpensAFolderAndADrivePickShowsItsFolders) {
    std::filesystem::path root = std::filesystem::temp_directory_path() / ("duvez-qt-input-" + std::to_string(getpid()));
    std::filesystem::create_directories(root / "alpha" / "inner");
    auto form = screen_test::ShowSampleForm();
    form->Pages->SetActivePage(form->PageB);
    form->Folders->SetDirectory(root.string());
    form->ClearLog();

    auto* list = PeerAs<QListWidget>(*form->Folders);
    QListWidgetItem* alpha = list->item(list->count() - 1);
    ASSERT_EQ(alpha->text().trimmed(), "alpha");
    QPoint at = list->visualItemRect(alpha).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(form->Folders->ItemIndex, list->count() - 1);
    EXPECT_EQ(form->Folders->Directory(), root.string());  // highlighting opens nothing
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(form->Folders->Directory(), (root / "alpha").string());
    EXPECT_EQ(list->item(list->count() - 1)->text().trimmed(), "inner");
    EXPECT_EQ(form->Log, Log({"Edit1.Exit", "Folders.Enter"}));

    auto* drives = PeerAs<QComboBox>(*form->Drives);
    ASSERT_EQ(drives->itemText(0), "/");
    emit drives->activated(0);
    EXPECT_EQ(form->Folders->Directory(), "/");
    EXPECT_EQ(form->ActiveControl(), form->Drives);
    std::filesystem::remove_all(root);
}

TEST(Input, TheCloseBoxClosesThroughTheModel) {
    auto form = screen_test::ShowSampleForm();
    bool closed = false;
    form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    QWidget* window = Peer(*form);
    window->close();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(window->isVisible());
}

TEST(Input, AModalFormBlocksTheOthersUntilItCloses) {
    auto form = screen_test::ShowSampleForm();
    form->Hide();
    form->OkButton->ModalResult = mrOk;
    Qt::WindowModality whileShown = Qt::NonModal;
    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* window = Peer(*form);
        if (!window || !window->isVisible()) return;
        user.stop();
        whileShown = window->windowModality();
        QTest::mouseClick(Peer(*form->OkButton), Qt::LeftButton);
    });
    user.start();
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(whileShown, Qt::ApplicationModal);
    EXPECT_FALSE(Peer(*form)->isVisible());
    EXPECT_EQ(Peer(*form)->windowModality(), Qt::NonModal);
}

}  // namespace
