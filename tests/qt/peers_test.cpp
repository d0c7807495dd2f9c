// The peers mirror the model: each control stands at its designed place with
// its texts and state, and a change made by the program shows without
// coming back as a user action.
#include "sample_form.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

using namespace vcl;
using screen_test::PeerAs;
using screen_test::SampleForm;

namespace {

QRect DesignedRect(const TControl& control) {
    return {control.Left(), control.Top(), control.Width(), control.Height()};
}

QStringList RadioTexts(const QWidget& group) {
    QStringList texts;
    for (const QRadioButton* button : group.findChildren<QRadioButton*>()) texts << button->text();
    return texts;
}

int CheckedRadio(const QWidget& group) {
    auto buttons = group.findChildren<QRadioButton*>();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked()) return i;
    return -1;
}

QStringList ListTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text().trimmed();
    return texts;
}

// A folder with two subfolders, removed at the end.
struct TempFolders {
    TempFolders() {
        std::filesystem::create_directories(root / "alpha" / "inner");
        std::filesystem::create_directories(root / "beta");
    }
    ~TempFolders() { std::filesystem::remove_all(root); }
    std::filesystem::path root = std::filesystem::temp_directory_path() / ("duvez-qt-" + std::to_string(getpid()));
};

TEST(Peers, StandAtTheirDesignedPlacesWithTheirTexts) {
    auto form = screen_test::ShowSampleForm();
    struct Case {
        TControl* control;
        QString text;
    };
    auto text = [](QWidget* widget) -> QString {
        if (auto* label = dynamic_cast<QLabel*>(widget)) return label->text();
        if (auto* button = dynamic_cast<QAbstractButton*>(widget)) return button->text();
        if (auto* edit = dynamic_cast<QLineEdit*>(widget)) return edit->text();
        if (auto* combo = dynamic_cast<QComboBox*>(widget)) return combo->currentText();
        return {};
    };
    for (const Case& c : std::initializer_list<Case>{{form->Label, "フォーマット"},
                                                      {form->Edit1, "one"},
                                                      {form->Edit2, "two"},
                                                      {form->RadioA, "Alpha"},
                                                      {form->RadioB, "Beta"},
                                                      {form->Check, "Tick"},
                                                      {form->Combo, "RGB [15bit]"},
                                                      {form->Bar, ""},
                                                      {form->Group, ""},
                                                      {form->Pages, ""},
                                                      {form->Panel, ""},
                                                      {form->OkButton, "フリーズ"},
                                                      {form->CancelButton, "キャプチャー"},
                                                      {form->Folders, ""},
                                                      {form->Drives, QString::fromStdString(form->Drives->Items[0])}}) {
        SCOPED_TRACE(c.control->Name);
        QWidget* widget = vcl::qt::PeerWidget(*c.control);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), DesignedRect(*c.control));
        if (!c.text.isEmpty()) {
            EXPECT_EQ(text(widget), c.text);
        }
    }
    EXPECT_TRUE(PeerAs<QRadioButton>(*form->RadioA)->isChecked());
    EXPECT_FALSE(PeerAs<QRadioButton>(*form->RadioB)->isChecked());
    auto* bar = PeerAs<QScrollBar>(*form->Bar);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(std::make_tuple(bar->minimum(), bar->maximum(), bar->value(), bar->singleStep(), bar->pageStep()),
              std::make_tuple(1, 255, 1, 2, 16));
    auto* combo = PeerAs<QComboBox>(*form->Combo);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 4);
    auto* group = PeerAs<QGroupBox>(*form->Group);
    EXPECT_EQ(RadioTexts(*group), QStringList({"NTSC", "PAL", "SECAM"}));
    EXPECT_EQ(CheckedRadio(*group), 0);
    for (const QRadioButton* button : group->findChildren<QRadioButton*>())
        EXPECT_TRUE(group->rect().contains(button->geometry())) << button->text().toStdString();
    EXPECT_TRUE(PeerAs<QPushButton>(*form->OkButton)->isDefault());
}

TEST(Peers, TheFormIsAFixedDialogWithoutTaskbarButton) {
    auto form = screen_test::ShowSampleForm();
    QWidget* window = vcl::qt::PeerWidget(*form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowTitleHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->windowTitle(), "Sample window");
    EXPECT_EQ(window->pos(), QPoint(100, 80));
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(vcl::qt::ClientAreaWidget(*form)->geometry(), QRect(0, 0, 400, 300));
}

TEST(Peers, OnlyTheActivePageIsVisible) {
    auto form = screen_test::ShowSampleForm();
    auto* tabs = PeerAs<QTabWidget>(*form->Pages);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "保存設定");
    EXPECT_EQ(tabs->tabText(1), "Second");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(vcl::qt::PeerWidget(*form->Edit1)->isVisible());
    EXPECT_FALSE(vcl::qt::PeerWidget(*form->PageBLabel)->isVisible());
}

TEST(Peers, JapaneseTextFindsAFaceThatHasItsCharacters) {
    auto form = screen_test::ShowSampleForm();
    auto* label = PeerAs<QLabel>(*form->Label);
    EXPECT_EQ(label->font().pixelSize(), 12);
    EXPECT_EQ(label->font().family(), "ＭＳ Ｐゴシック");
    // The edit sets no font: the user-interface default at the screen's resolution.
    EXPECT_EQ(vcl::qt::PeerWidget(*form->Edit1)->font().pixelSize(), 12 * Screen.PixelsPerInch / 96);

    QTextLayout layout(label->text(), label->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<QGlyphRun> runs = layout.glyphRuns();
    ASSERT_FALSE(runs.isEmpty());
    for (const QGlyphRun& run : runs) {
        SCOPED_TRACE(run.rawFont().familyName().toStdString());
        EXPECT_FALSE(run.glyphIndexes().contains(0u));  // glyph 0 is the missing-character box
        EXPECT_TRUE(QFontDatabase::writingSystems(run.rawFont().familyName()).contains(QFontDatabase::Japanese));
    }
}

TEST(Peers, AppearWhenTheFormIsFirstShown) {
    std::unique_ptr<SampleForm> form(Create<SampleForm>(Application));
    EXPECT_EQ(vcl::qt::PeerWidget(*form), nullptr);
    EXPECT_EQ(vcl::qt::PeerWidget(*form->Edit1), nullptr);
    form->Show();
    EXPECT_NE(vcl::qt::PeerWidget(*form), nullptr);
    EXPECT_NE(vcl::qt::PeerWidget(*form->Edit1), nullptr);
}

TEST(Peers, FollowControlsAddedAndDestroyedWhileShown) {
    auto form = screen_test::ShowSampleForm();
    auto* late = new TLabel(form.get());
    late->SetParent(form->PageA);
    late->SetBounds(200, 100, 80, 12);
    late->SetCaption("late");
    auto* shown = PeerAs<QLabel>(*late);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), "late");
    EXPECT_EQ(shown->geometry(), QRect(200, 100, 80, 12));
    EXPECT_TRUE(shown->isVisible());

    QPointer<QWidget> gone = shown;
    delete late;
    EXPECT_TRUE(gone.isNull());
}

TEST(Peers, GoWithTheirForm) {
    auto form = screen_test::ShowSampleForm();
    QPointer<QWidget> window = vcl::qt::PeerWidget(*form);
    QPointer<QWidget> edit = vcl::qt::PeerWidget(*form->Edit1);
    form.reset();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(edit.isNull());
}

TEST(Peers, HidingAndShowingTheForm) {
    auto form = screen_test::ShowSampleForm();
    QWidget* window = vcl::qt::PeerWidget(*form);
    form->Hide();
    EXPECT_FALSE(window->isVisible());
    form->Edit1->SetText("while hidden");
    form->Show();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(PeerAs<QLineEdit>(*form->Edit1)->text(), "while hidden");
}

// Each change is made from code while the OK button holds the focus: a Qt
// signal that leaked back as a user action would move the focus (and log
// OkButton.Exit) or raise the event a second time.
TEST(Peers, ShowModelChangesWithoutRaisingTheirEventsAgain) {
    TempFolders folders;
    struct Case {
        const char* name;
        std::function<void(SampleForm&)> change;
        std::function<void(SampleForm&)> expectShown;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {"edit text", [](SampleForm& f) { f.Edit1->SetText("typed"); },
         [](SampleForm& f) { EXPECT_EQ(PeerAs<QLineEdit>(*f.Edit1)->text(), "typed"); },
         {"Edit1.Change:typed"}},
        {"scroll position", [](SampleForm& f) { f.Bar->SetPosition(101); },
         [](SampleForm& f) { EXPECT_EQ(PeerAs<QScrollBar>(*f.Bar)->value(), 101); },
         {"Bar.Change:101"}},
        {"scroll range below the position",
         [](SampleForm& f) {
             f.Bar->SetPosition(101);
             f.ClearLog();
             f.Bar->SetMax(50);
         },
         [](SampleForm& f) {
             auto* bar = PeerAs<QScrollBar>(*f.Bar);
             EXPECT_EQ(std::make_pair(bar->maximum(), bar->value()), std::make_pair(50, 50));
         },
         {"Bar.Change:50"}},
        {"radio button", [](SampleForm& f) { f.RadioB->SetChecked(true); },
         [](SampleForm& f) {
             EXPECT_TRUE(PeerAs<QRadioButton>(*f.RadioB)->isChecked());
             EXPECT_FALSE(PeerAs<QRadioButton>(*f.RadioA)->isChecked());
         },
         {"RadioB.Click"}},
        {"check box", [](SampleForm& f) { f.Check->SetChecked(true); },
         [](SampleForm& f) { EXPECT_TRUE(PeerAs<QAbstractButton>(*f.Check)->isChecked()); },
         {"Check.Click"}},
        {"radio group", [](SampleForm& f) { f.Group->SetItemIndex(2); },
         [](SampleForm& f) { EXPECT_EQ(CheckedRadio(*vcl::qt::PeerWidget(*f.Group)), 2); },
         {"Group.Click"}},
        {"combo index", [](SampleForm& f) { f.Combo->SetItemIndex(2); },
         [](SampleForm& f) { EXPECT_EQ(PeerAs<QComboBox>(*f.Combo)->currentIndex(), 2); },
         {}},
        {"active page", [](SampleForm& f) { f.Pages->SetActivePage(f.PageB); },
         [](SampleForm& f) {
             EXPECT_EQ(PeerAs<QTabWidget>(*f.Pages)->currentIndex(), 1);
             EXPECT_TRUE(vcl::qt::PeerWidget(*f.PageBLabel)->isVisible());
             EXPECT_FALSE(vcl::qt::PeerWidget(*f.Edit1)->isVisible());
         },
         {}},
        {"caption", [](SampleForm& f) { f.Label->SetCaption("新しい"); },
         [](SampleForm& f) { EXPECT_EQ(PeerAs<QLabel>(*f.Label)->text(), "新しい"); },
         {}},
        {"page caption", [](SampleForm& f) { f.PageB->SetCaption("入力設定"); },
         [](SampleForm& f) { EXPECT_EQ(PeerAs<QTabWidget>(*f.Pages)->tabText(1), "入力設定"); },
         {}},
        {"enabled", [](SampleForm& f) { f.Check->SetEnabled(false); },
         [](SampleForm& f) { EXPECT_FALSE(vcl::qt::PeerWidget(*f.Check)->isEnabled()); },
         {}},
        {"visible", [](SampleForm& f) { f.Edit2->SetVisible(false); },
         [](SampleForm& f) { EXPECT_FALSE(vcl::qt::PeerWidget(*f.Edit2)->isVisible()); },
         {}},
        {"bounds", [](SampleForm& f) { f.Edit2->SetBounds(1, 2, 30, 40); },
         [](SampleForm& f) { EXPECT_EQ(vcl::qt::PeerWidget(*f.Edit2)->geometry(), QRect(1, 2, 30, 40)); },
         {}},
        {"client size",
         [](SampleForm& f) {
             f.SetClientWidth(300);
             f.SetClientHeight(200);
         },
         [](SampleForm& f) {
             EXPECT_EQ(vcl::qt::PeerWidget(f)->size(), QSize(300, 200));
             EXPECT_EQ(vcl::qt::ClientAreaWidget(f)->size(), QSize(300, 200));
         },
         {}},
        {"directory", [&](SampleForm& f) { f.Folders->SetDirectory(folders.root.string()); },
         [&](SampleForm& f) {
             QStringList shown = ListTexts(*PeerAs<QListWidget>(*f.Folders));
             ASSERT_GE(shown.size(), 3);
             EXPECT_EQ(shown.front(), "/");
             EXPECT_EQ(shown.mid(shown.size() - 3),
                       QStringList({QString::fromStdString(folders.root.filename().string()), "alpha", "beta"}));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = screen_test::ShowSampleForm();
        form->FocusControl(form->OkButton);
        form->ClearLog();
        c.change(*form);
        c.expectShown(*form);
        EXPECT_EQ(form->Log, c.log);
        EXPECT_EQ(form->ActiveControl(), form->OkButton);
    }
}

}  // namespace
