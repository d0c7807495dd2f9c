#include "sample_form.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

using namespace vcl;

namespace screen_test {

namespace {

template <class T>
T* Place(SampleForm& form, TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto* control = new T(&form);
    control->Name = name;
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

void Track(SampleForm& form, TWinControl& control) {
    std::string name = control.Name;
    control.OnEnter = [&form, name](TObject*) { form.Log.push_back(name + ".Enter"); };
    control.OnExit = [&form, name](TObject*) { form.Log.push_back(name + ".Exit"); };
    control.OnClick = [&form, name](TObject*) { form.Log.push_back(name + ".Click"); };
}

}  // namespace

SampleForm::SampleForm(TComponent* owner) : TForm(owner) {
    Name = "Sample";
    SetCaption("Sample window");
    BorderStyle = bsDialog;
    // Designed at the screen's resolution, so nothing is scaled.
    PixelsPerInch = Screen.PixelsPerInch;
    SetBounds(100, 80, 0, 0);
    SetClientWidth(400);
    SetClientHeight(300);

    Pages = Place<TPageControl>(*this, this, "Pages", 5, 5, 390, 240);
    Pages->TabOrder = 0;
    PageA = new TTabSheet(this);
    PageA->Name = "PageA";
    PageA->SetPageControl(Pages);
    PageA->SetCaption("保存設定");
    PageB = new TTabSheet(this);
    PageB->Name = "PageB";
    PageB->SetPageControl(Pages);
    PageB->SetCaption("Second");

    Label = Place<TLabel>(*this, PageA, "Label", 13, 13, 60, 12);
    Label->SetCaption("フォーマット");
    Label->Font = {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET};
    Edit1 = Place<TEdit>(*this, PageA, "Edit1", 80, 10, 100, 20);
    Edit1->SetText("one");
    Edit1->TabOrder = 0;
    Edit2 = Place<TEdit>(*this, PageA, "Edit2", 80, 35, 100, 20);
    Edit2->SetText("two");
    Edit2->TabOrder = 1;
    RadioA = Place<TRadioButton>(*this, PageA, "RadioA", 13, 60, 90, 14);
    RadioA->SetCaption("Alpha");
    RadioA->SetChecked(true);
    RadioB = Place<TRadioButton>(*this, PageA, "RadioB", 13, 80, 90, 14);
    RadioB->SetCaption("Beta");
    Check = Place<TCheckBox>(*this, PageA, "Check", 120, 60, 120, 14);
    Check->SetCaption("Tick");
    Check->TabOrder = 2;
    Group = Place<TRadioGroup>(*this, PageA, "Group", 250, 10, 100, 59);
    Group->Items = {"NTSC", "PAL", "SECAM"};
    Group->SetItemIndex(0);
    Combo = Place<TComboBox>(*this, PageA, "Combo", 120, 85, 116, 20);
    Combo->Items = {"RGB [15bit]", "RGB [16bit]", "RGB [24bit]", "RGB [32bit]"};
    Combo->SetItemIndex(0);
    Combo->TabOrder = 3;
    Bar = Place<TScrollBar>(*this, PageA, "Bar", 13, 110, 128, 15);
    Bar->SetMin(1);
    Bar->SetMax(255);
    Bar->SmallChange = 2;
    Bar->LargeChange = 16;
    Bar->TabOrder = 4;

    Folders = Place<TDirectoryListBox>(*this, PageB, "Folders", 5, 5, 200, 150);
    Drives = Place<TDriveComboBox>(*this, PageB, "Drives", 5, 160, 160, 21);
    Drives->DirList = Folders;
    PageBLabel = Place<TLabel>(*this, PageB, "PageBLabel", 220, 5, 100, 12);
    PageBLabel->SetCaption("page two");

    Panel = Place<TPanel>(*this, this, "Panel", 0, 250, 400, 50);
    Panel->BevelOuter = bvNone;
    Panel->TabOrder = 1;
    OkButton = Place<TButton>(*this, Panel, "OkButton", 8, 10, 75, 25);
    OkButton->SetCaption("フリーズ");
    OkButton->Default = true;
    OkButton->TabOrder = 0;
    CancelButton = Place<TBitBtn>(*this, Panel, "CancelButton", 312, 10, 75, 25);
    CancelButton->SetCaption("キャプチャー");
    CancelButton->Cancel = true;
    CancelButton->TabOrder = 1;

    for (TWinControl* control : std::initializer_list<TWinControl*>{Pages, Edit1, Edit2, RadioA, RadioB, Check, Group,
                                                                     Combo, Bar, OkButton, CancelButton, Folders, Drives})
        Track(*this, *control);
    Label->OnClick = [this](TObject*) { Log.push_back("Label.Click"); };
    Edit1->OnChange = [this](TObject*) { Log.push_back("Edit1.Change:" + Edit1->Text()); };
    Edit2->OnChange = [this](TObject*) { Log.push_back("Edit2.Change:" + Edit2->Text()); };
    Combo->OnChange = [this](TObject*) { Log.push_back("Combo.Change:" + Combo->Text()); };
    Bar->OnChange = [this](TObject*) { Log.push_back("Bar.Change:" + IntToStr(Bar->Position())); };
}

std::unique_ptr<SampleForm> ShowSampleForm() {
    std::unique_ptr<SampleForm> form(Create<SampleForm>(Application));
    // A dialog opens with its first control focused.
    form->FocusControl(form->Edit1);
    form->Show();
    form->ClearLog();
    return form;
}

BoxAnswerer::BoxAnswerer(int standardButton) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, standardButton] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        Texts.push_back(box->text().toStdString());
        Captions.push_back(box->windowTitle().toStdString());
        QTest::mouseClick(box->button(static_cast<QMessageBox::StandardButton>(standardButton)), Qt::LeftButton);
    });
    timer_.start();
}

MenuAnswerer::MenuAnswerer(std::function<void(QMenu&)> act) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, act] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        timer_.stop();
        answered_ = true;
        act(*menu);
    });
    timer_.start();
}

void ChooseEntry(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text) {
            QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
            return;
        }
}

}  // namespace screen_test
