#include "settings/setting.h"

#include "app/globals.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "settings/folder.h"
#include "settings/place.h"

#include <algorithm>
#include <memory>

using namespace vcl;

namespace {

// The board's grab lands here, in the working folder, before it gets its name.
constexpr const char* kTempFile = "KIVOTEMP.BMP";
constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 999;

AnsiString NumberText(int number) { return Format("%03d", {number}); }

AnsiString LowerCase(AnsiString text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return text;
}

// The name with ".bmp" added unless it already ends in it (in any case),
// without blanks and control codes at its ends.
AnsiString CaptureFileName(AnsiString name) {
    if (LowerCase(ExtractFileExt(name)) != ".bmp") name += ".bmp";
    return Trim(name);
}

}  // namespace

TSettingWnd::TSettingWnd(TComponent* Owner) : TForm(Owner) {
    LayOutFrame();
    LayOutSavePage();
    LayOutInputPage();
    LayOutOutputPage();
}

void TSettingWnd::LayOutFrame() {
    Name = "SettingWnd";
    SetCaption("DUVEZ Setting");
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    SetClientWidth(390);
    SetClientHeight(170);
    OnCreate = Bind(this, &TSettingWnd::FormCreate);

    Panel1 = Place<TPanel>(*this, this, "Panel1", 0, 0, 390, 137);
    Panel1->Align = alClient;
    Panel1->BevelOuter = bvNone;
    Panel1->BorderWidth = 5;
    Panel1->TabOrder = 0;

    SettingTab = Place<TPageControl>(*this, Panel1, "SettingTab", 5, 5, 380, 127);
    SettingTab->MultiLine = true;
    SettingTab->TabOrder = 0;

    TabSheetSave = new TTabSheet(this);
    TabSheetSave->Name = "TabSheetSave";
    TabSheetSave->SetPageControl(SettingTab);
    TabSheetSave->SetCaption("保存設定");

    TabSheetInput = new TTabSheet(this);
    TabSheetInput->Name = "TabSheetInput";
    TabSheetInput->SetPageControl(SettingTab);
    TabSheetInput->SetCaption("入力設定");

    TabSheetOutput = new TTabSheet(this);
    TabSheetOutput->Name = "TabSheetOutput";
    TabSheetOutput->SetPageControl(SettingTab);
    TabSheetOutput->SetCaption("出力設定");

    Panel2 = Place<TPanel>(*this, this, "Panel2", 0, 137, 390, 33);
    Panel2->Align = alBottom;
    Panel2->BevelOuter = bvNone;
    Panel2->TabOrder = 1;

    FreezeBtn = Place<TButton>(*this, Panel2, "FreezeBtn", 8, 2, 75, 25);
    FreezeBtn->SetCaption("フリーズ");
    FreezeBtn->Default = true;
    FreezeBtn->TabOrder = 0;
    FreezeBtn->OnClick = Bind(this, &TSettingWnd::FreezeBtnClick);

    CaptureBtn = Place<TButton>(*this, Panel2, "CaptureBtn", 312, 2, 75, 25);
    CaptureBtn->SetCaption("キャプチャー");
    CaptureBtn->Cancel = true;
    CaptureBtn->TabOrder = 1;
    CaptureBtn->OnClick = Bind(this, &TSettingWnd::CaptureBtnClick);
}

void TSettingWnd::LayOutSavePage() {
    SaveRadio1 = Place<TRadioButton>(*this, TabSheetSave, "SaveRadio1", 13, 13, 90, 13);
    SaveRadio1->SetCaption("メモリ保存");
    SaveRadio1->SetEnabled(false);
    SaveRadio1->TabOrder = 0;
    SaveRadio1->OnClick = Bind(this, &TSettingWnd::SaveRadio1Click);

    SaveRadio2 = Place<TRadioButton>(*this, TabSheetSave, "SaveRadio2", 13, 32, 90, 14);
    SaveRadio2->SetCaption("ファイル保存");
    SaveRadio2->SetChecked(true);
    SaveRadio2->TabOrder = 1;
    SaveRadio2->OnClick = Bind(this, &TSettingWnd::SaveRadio2Click);

    FileNameEdit = Place<TEdit>(*this, TabSheetSave, "FileNameEdit", 122, 32, 199, 20);
    FileNameEdit->TabOrder = 2;

    DirectryBtn = Place<TBitBtn>(*this, TabSheetSave, "DirectryBtn", 326, 32, 46, 20);
    DirectryBtn->SetCaption("参照");
    DirectryBtn->TabOrder = 3;
    DirectryBtn->OnClick = Bind(this, &TSettingWnd::DirectryBtnClick);

    FileNameMake = Place<TCheckBox>(*this, TabSheetSave, "FileNameMake", 122, 58, 122, 13);
    FileNameMake->SetCaption("ファイル名自動生成");
    FileNameMake->SetChecked(true);
    FileNameMake->TabOrder = 4;
    FileNameMake->OnClick = Bind(this, &TSettingWnd::FileNameMakeClick);

    FileNameNumber = Place<TEdit>(*this, TabSheetSave, "FileNameNumber", 250, 58, 26, 20);
    FileNameNumber->SetText("001");
    FileNameNumber->TabOrder = 5;
    FileNameNumber->OnExit = Bind(this, &TSettingWnd::FileNameNumberExit);

    ResetBtn = Place<TButton>(*this, TabSheetSave, "ResetBtn", 282, 58, 39, 20);
    ResetBtn->SetCaption("Reset");
    ResetBtn->TabOrder = 6;
    ResetBtn->OnClick = Bind(this, &TSettingWnd::ResetBtnClick);

    FormatLabel = Place<TLabel>(*this, TabSheetSave, "FormatLabel", 70, 83, 60, 12);
    FormatLabel->SetCaption("フォーマット");

    FormatCombo = Place<TComboBox>(*this, TabSheetSave, "FormatCombo", 134, 83, 116, 20);
    FormatCombo->Items = {"RGB [15bit]", "RGB [16bit]", "RGB [24bit]", "RGB [32bit]"};
    FormatCombo->TabOrder = 7;
    FormatCombo->OnChange = Bind(this, &TSettingWnd::FormatComboChange);
}

void TSettingWnd::FormCreate(TObject*) {
    if (!BoardDll || !BoardDll->IsOpen()) return;
    InitFileAndSizeControls();
    InitColorControls();
    InitInputControls();
}

void TSettingWnd::InitFileAndSizeControls() {
    TDisplayWnd& display = *DisplayWnd;
    FileNameNumber->SetText(NumberText(display.fileNumber));
    FormatCombo->SetItemIndex(display.saveFormat);
    FileNameEdit->SetText(display.fileName);
    OutWidthEdit->SetText(IntToStr(display.userW));
    OutHeightEdit->SetText(IntToStr(display.userH));
    switch (display.sizeMode) {
        case 0:
            OutSizeRadio1->SetChecked(true);
            display.ResizeDisplay(StrToInt(OutWidthEdit->Text()), StrToInt(OutHeightEdit->Text()));
            break;
        case 1:
            OutSizeRadio2->SetChecked(true);
            display.ResizeDisplay(160, 120);
            break;
        case 2:
            OutSizeRadio3->SetChecked(true);
            display.ResizeDisplay(320, 240);
            break;
        default:
            OutSizeRadio4->SetChecked(true);
            display.ResizeDisplay(640, 480);
            break;
    }
    BoardDll->SetFrameFormat(FormatCombo->ItemIndex());
}

void TSettingWnd::FreezeBtnClick(TObject*) { BoardDll->ToggleFreeze(); }

// The name is the edit's text, then the number edit's text as it stands; the
// number advances only when the frame was saved under it.
void TSettingWnd::CaptureBtnClick(TObject*) {
    if (SaveRadio2->Checked() && !FileNameEdit->Text().empty()) {
        bool numbered = FileNameMake->Checked();
        AnsiString name = CaptureFileName(FileNameEdit->Text() + (numbered ? FileNameNumber->Text() : AnsiString()));
        if (!SaveGrabbedFrame(name)) {
            AnsiString text = "ファイルを保存できませんでした [" + name + "]";
            MessageBoxA(Handle(), text.c_str(), "DUVEZ", MB_OK | MB_ICONERROR);
        } else if (numbered) {
            DisplayWnd->fileNumber += 1;
            FileNameNumber->SetText(NumberText(DisplayWnd->fileNumber));
        }
    }
    BoardDll->UnFreeze();
}

// A frame left by an earlier capture must never pass for this one, and a
// grab that wrote nothing must never cost the user an existing file.
bool TSettingWnd::SaveGrabbedFrame(const AnsiString& name) {
    DeleteFile(kTempFile);
    if (FileExists(kTempFile)) return false;
    BoardDll->GrabToFile(kTempFile);
    if (FileExists(kTempFile) && MoveFileReplacing(kTempFile, name)) return true;
    DeleteFile(kTempFile);
    return false;
}

void TSettingWnd::SaveRadio1Click(TObject*) {
    FileNameEdit->SetEnabled(false);
    FileNameMake->SetEnabled(false);
    FileNameNumber->SetEnabled(false);
    ResetBtn->SetEnabled(false);
}

void TSettingWnd::SaveRadio2Click(TObject*) {
    FileNameEdit->SetEnabled(true);
    FileNameMake->SetEnabled(true);
    FileNameNumber->SetEnabled(true);
    ResetBtn->SetEnabled(true);
}

// A fresh chooser each time; it writes the new name itself on OK.
void TSettingWnd::DirectryBtnClick(TObject*) {
    std::unique_ptr<TFolderWnd> chooser(Create<TFolderWnd>(this));
    chooser->ShowModal();
}

void TSettingWnd::FileNameMakeClick(TObject*) {
    bool ticked = FileNameMake->Checked();
    FileNameNumber->SetEnabled(ticked);
    ResetBtn->SetEnabled(ticked);
}

void TSettingWnd::FileNameNumberExit(TObject*) {
    int number = LeadingInteger(FileNameNumber->Text(), 0);
    if (number < kFirstNumber || number > kLastNumber) number = kFirstNumber;
    DisplayWnd->fileNumber = number;
    FileNameNumber->SetText(NumberText(number));
}

void TSettingWnd::ResetBtnClick(TObject*) {
    FileNameNumber->SetText("001");
    DisplayWnd->fileNumber = 1;
}

void TSettingWnd::FormatComboChange(TObject*) {
    BoardDll->SetFrameFormat(FormatCombo->ItemIndex());
    DisplayWnd->saveFormat = FormatCombo->ItemIndex();
}
