// The settings window: a modeless, tabbed dialog with the save, input and
// output pages above the freeze and capture buttons. Created hidden at
// start-up; every change takes effect at once.
#pragma once

#include "vcl/stdctrls.h"

class TSettingWnd : public vcl::TForm {
public:
    explicit TSettingWnd(vcl::TComponent* Owner);

    vcl::TPanel* Panel1;
    vcl::TPageControl* SettingTab;
    vcl::TTabSheet* TabSheetSave;
    vcl::TTabSheet* TabSheetInput;
    vcl::TTabSheet* TabSheetOutput;
    vcl::TPanel* Panel2;
    vcl::TButton* FreezeBtn;
    vcl::TButton* CaptureBtn;

    // The save page.
    vcl::TRadioButton* SaveRadio1;
    vcl::TRadioButton* SaveRadio2;
    vcl::TEdit* FileNameEdit;
    vcl::TBitBtn* DirectryBtn;
    vcl::TCheckBox* FileNameMake;
    vcl::TEdit* FileNameNumber;
    vcl::TButton* ResetBtn;
    vcl::TLabel* FormatLabel;
    vcl::TComboBox* FormatCombo;

    // The input page.
    vcl::TRadioGroup* InFormatRadio;
    vcl::TRadioGroup* InSourceRadio;
    vcl::TLabel* Label6;
    vcl::TScrollBar* InValueX;
    vcl::TLabel* maxx;
    vcl::TLabel* Label7;
    vcl::TScrollBar* InValueY;
    vcl::TLabel* maxy;

    // The output page: five picture rows, then the size choice.
    vcl::TLabel* Label1;
    vcl::TLabel* Label2;
    vcl::TLabel* Label3;
    vcl::TLabel* Label4;
    vcl::TLabel* Label5;
    vcl::TScrollBar* Value1;
    vcl::TScrollBar* Value2;
    vcl::TScrollBar* Value3;
    vcl::TScrollBar* Value4;
    vcl::TScrollBar* Value5;
    vcl::TLabel* min1;
    vcl::TLabel* min2;
    vcl::TLabel* min3;
    vcl::TLabel* min4;
    vcl::TLabel* min5;
    vcl::TLabel* max1;
    vcl::TLabel* max2;
    vcl::TLabel* max3;
    vcl::TLabel* max4;
    vcl::TLabel* max5;
    vcl::TEdit* pos1;
    vcl::TEdit* pos2;
    vcl::TEdit* pos3;
    vcl::TEdit* pos4;
    vcl::TEdit* pos5;
    vcl::TRadioButton* OutSizeRadio1;
    vcl::TEdit* OutWidthEdit;
    vcl::TEdit* OutHeightEdit;
    vcl::TRadioButton* OutSizeRadio2;
    vcl::TRadioButton* OutSizeRadio3;
    vcl::TRadioButton* OutSizeRadio4;

    void FormCreate(vcl::TObject* Sender);
    void InitFileAndSizeControls();
    void FreezeBtnClick(vcl::TObject* Sender);
    void CaptureBtnClick(vcl::TObject* Sender);
    void SaveRadio1Click(vcl::TObject* Sender);
    void SaveRadio2Click(vcl::TObject* Sender);
    void DirectryBtnClick(vcl::TObject* Sender);
    void FileNameMakeClick(vcl::TObject* Sender);
    void FileNameNumberExit(vcl::TObject* Sender);
    void ResetBtnClick(vcl::TObject* Sender);
    void FormatComboChange(vcl::TObject* Sender);

    void InitInputControls();
    void InFormatRadioClick(vcl::TObject* Sender);
    void InSourceRadioClick(vcl::TObject* Sender);
    void InValueXChange(vcl::TObject* Sender);

    void InitColorControls();
    void Value1Change(vcl::TObject* Sender);
    void Value2Change(vcl::TObject* Sender);
    void Value3Change(vcl::TObject* Sender);
    void Value4Change(vcl::TObject* Sender);
    void Value5Change(vcl::TObject* Sender);
    void pos1Exit(vcl::TObject* Sender);
    void pos2Exit(vcl::TObject* Sender);
    void pos3Exit(vcl::TObject* Sender);
    void pos4Exit(vcl::TObject* Sender);
    void pos5Exit(vcl::TObject* Sender);
    void OutSizeRadio2Click(vcl::TObject* Sender);
    void OutSizeRadio3Click(vcl::TObject* Sender);
    void OutSizeRadio4Click(vcl::TObject* Sender);
    void OutWidthEditClick(vcl::TObject* Sender);
    void OutWidthEditExit(vcl::TObject* Sender);

private:
    void LayOutFrame();
    void LayOutSavePage();
    void LayOutInputPage();
    void LayOutOutputPage();

    // Moves a fresh grab to the capture's file name; false when no file resulted.
    bool SaveGrabbedFrame(const vcl::AnsiString& name);
    // One picture row: its bar, labels and edit, by board index.
    struct ColorRow {
        vcl::TScrollBar* bar;
        vcl::TLabel* minLabel;
        vcl::TLabel* maxLabel;
        vcl::TEdit* edit;
    };
    ColorRow Row(int index) const;
    void ColorChange(int index);
    void ColorExit(int index);
};
