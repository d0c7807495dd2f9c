// The output page: the board's five picture controls and the live window's size.
#include "app/globals.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "settings/place.h"
#include "settings/setting.h"

using namespace vcl;

namespace {

constexpr int kMinUserWidth = 80;
constexpr int kMaxUserWidth = 720;
constexpr int kMinUserHeight = 60;
constexpr int kMaxUserHeight = 480;

}  // namespace

void TSettingWnd::LayOutOutputPage() {
    struct RowDesign {
        const char* caption;
        int top, labelWidth, barHeight, largeChange, minLeft;
    };
    const RowDesign rows[kColorCount] = {
        {"明るさ", 6, 31, 16, 16, 173},  {"色の濃さ", 26, 45, 15, 16, 173}, {"色相", 45, 24, 15, 16, 160},
        {"シャープ", 64, 44, 15, 1, 173}, {"コントラスト", 83, 57, 15, 1, 173},
    };
    TLabel** labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
    TScrollBar** bars[] = {&Value1, &Value2, &Value3, &Value4, &Value5};
    TLabel** mins[] = {&min1, &min2, &min3, &min4, &min5};
    TLabel** maxes[] = {&max1, &max2, &max3, &max4, &max5};
    TEdit** edits[] = {&pos1, &pos2, &pos3, &pos4, &pos5};
    void (TSettingWnd::*changes[])(TObject*) = {&TSettingWnd::Value1Change, &TSettingWnd::Value2Change,
                                               &TSettingWnd::Value3Change, &TSettingWnd::Value4Change,
                                               &TSettingWnd::Value5Change};
    void (TSettingWnd::*exits[])(TObject*) = {&TSettingWnd::pos1Exit, &TSettingWnd::pos2Exit, &TSettingWnd::pos3Exit,
                                             &TSettingWnd::pos4Exit, &TSettingWnd::pos5Exit};
    for (int i = 0; i < kColorCount; ++i) {
        const RowDesign& row = rows[i];
        std::string n = IntToStr(i + 1);

        TLabel* label = *labels[i] = Place<TLabel>(*this, TabSheetOutput, ("Label" + n).c_str(), 109, row.top,
                                                   row.labelWidth, 12);
        label->SetCaption(row.caption);

        TScrollBar* bar = *bars[i] = Place<TScrollBar>(*this, TabSheetOutput, ("Value" + n).c_str(), 192, row.top,
                                                       110, row.barHeight);
        bar->SmallChange = 1;
        bar->LargeChange = row.largeChange;
        bar->PageSize = 0;
        bar->TabOrder = i;
        bar->OnChange = Bind(this, changes[i]);

        TLabel* minLabel = *mins[i] = Place<TLabel>(*this, TabSheetOutput, ("min" + n).c_str(), row.minLeft, row.top,
                                                    24, 12);
        minLabel->SetCaption("min" + n);

        TLabel* maxLabel = *maxes[i] = Place<TLabel>(*this, TabSheetOutput, ("max" + n).c_str(), 307, row.top, 27, 12);
        maxLabel->SetCaption("max" + n);

        TEdit* edit = *edits[i] = Place<TEdit>(*this, TabSheetOutput, ("pos" + n).c_str(), 339, row.top, 27, 23);
        edit->TabOrder = 11 + i;
        edit->OnExit = Bind(this, exits[i]);
    }

    OutSizeRadio1 = Place<TRadioButton>(*this, TabSheetOutput, "OutSizeRadio1", 13, 13, 13, 13);
    OutSizeRadio1->TabOrder = 5;
    OutSizeRadio1->OnClick = Bind(this, &TSettingWnd::OutWidthEditClick);

    OutWidthEdit = Place<TEdit>(*this, TabSheetOutput, "OutWidthEdit", 26, 13, 26, 23);
    OutWidthEdit->SetText("480");
    OutWidthEdit->TabOrder = 9;
    OutWidthEdit->OnClick = Bind(this, &TSettingWnd::OutWidthEditClick);
    OutWidthEdit->OnEnter = Bind(this, &TSettingWnd::OutWidthEditClick);
    OutWidthEdit->OnExit = Bind(this, &TSettingWnd::OutWidthEditExit);

    OutHeightEdit = Place<TEdit>(*this, TabSheetOutput, "OutHeightEdit", 58, 13, 26, 23);
    OutHeightEdit->SetText("360");
    OutHeightEdit->TabOrder = 10;
    OutHeightEdit->OnClick = Bind(this, &TSettingWnd::OutWidthEditClick);
    OutHeightEdit->OnEnter = Bind(this, &TSettingWnd::OutWidthEditClick);
    OutHeightEdit->OnExit = Bind(this, &TSettingWnd::OutWidthEditExit);

    OutSizeRadio2 = Place<TRadioButton>(*this, TabSheetOutput, "OutSizeRadio2", 13, 38, 77, 14);
    OutSizeRadio2->SetCaption("160 x 120");
    OutSizeRadio2->TabOrder = 6;
    OutSizeRadio2->OnClick = Bind(this, &TSettingWnd::OutSizeRadio2Click);

    OutSizeRadio3 = Place<TRadioButton>(*this, TabSheetOutput, "OutSizeRadio3", 13, 58, 77, 13);
    OutSizeRadio3->SetCaption("320 x 240");
    OutSizeRadio3->TabOrder = 7;
    OutSizeRadio3->OnClick = Bind(this, &TSettingWnd::OutSizeRadio3Click);

    OutSizeRadio4 = Place<TRadioButton>(*this, TabSheetOutput, "OutSizeRadio4", 13, 77, 77, 13);
    OutSizeRadio4->SetCaption("640 x 480");
    OutSizeRadio4->SetChecked(true);
    OutSizeRadio4->TabOrder = 8;
    OutSizeRadio4->OnClick = Bind(this, &TSettingWnd::OutSizeRadio4Click);

    TabSheetOutput->PopupMenu = DisplayWnd ? DisplayWnd->DisplayPopup : nullptr;
}

TSettingWnd::ColorRow TSettingWnd::Row(int index) const {
    const ColorRow rows[kColorCount] = {
        {Value1, min1, max1, pos1}, {Value2, min2, max2, pos2}, {Value3, min3, max3, pos3},
        {Value4, min4, max4, pos4}, {Value5, min5, max5, pos5},
    };
    return rows[index];
}

// Setting the range and position runs the rows' change handlers, which send
// values back; the last one sent is the board's own value.
void TSettingWnd::InitColorControls() {
    for (int i = 0; i < kColorCount; ++i) {
        ColorRow row = Row(i);
        int value = 0, min = 0, max = 0;
        BoardDll->GetVideoColor(i, value, min, max);
        row.bar->SetMin(min);
        row.bar->SetMax(max);
        row.bar->SetPosition(value);
        row.minLabel->SetCaption(IntToStr(min));
        row.maxLabel->SetCaption(IntToStr(max));
        row.edit->SetText(IntToStr(value));
    }
}

void TSettingWnd::ColorChange(int index) {
    ColorRow row = Row(index);
    BoardDll->SetVideoColor(index, row.bar->Position());
    row.edit->SetText(IntToStr(row.bar->Position()));
}

// The bar keeps the number in its range; when its position does not move,
// nothing is sent and the edit keeps the typed text.
void TSettingWnd::ColorExit(int index) {
    ColorRow row = Row(index);
    row.bar->SetPosition(StrToInt(row.edit->Text()));
}

void TSettingWnd::Value1Change(TObject*) { ColorChange(0); }
void TSettingWnd::Value2Change(TObject*) { ColorChange(1); }
void TSettingWnd::Value3Change(TObject*) { ColorChange(2); }
void TSettingWnd::Value4Change(TObject*) { ColorChange(3); }
void TSettingWnd::Value5Change(TObject*) { ColorChange(4); }
void TSettingWnd::pos1Exit(TObject*) { ColorExit(0); }
void TSettingWnd::pos2Exit(TObject*) { ColorExit(1); }
void TSettingWnd::pos3Exit(TObject*) { ColorExit(2); }
void TSettingWnd::pos4Exit(TObject*) { ColorExit(3); }
void TSettingWnd::pos5Exit(TObject*) { ColorExit(4); }

void TSettingWnd::OutSizeRadio2Click(TObject*) { DisplayWnd->ResizeDisplay(160, 120); }
void TSettingWnd::OutSizeRadio3Click(TObject*) { DisplayWnd->ResizeDisplay(320, 240); }
void TSettingWnd::OutSizeRadio4Click(TObject*) { DisplayWnd->ResizeDisplay(640, 480); }

// Also the click of OutSizeRadio1: selecting it here runs this once more,
// nested, when it was not selected; both runs apply the same size.
void TSettingWnd::OutWidthEditClick(TObject*) {
    OutSizeRadio1->SetChecked(true);
    TDisplayWnd& display = *DisplayWnd;
    display.SetClientWidth(StrToInt(OutWidthEdit->Text()));
    display.SetClientHeight(StrToInt(OutHeightEdit->Text()));
    BoardDll->SetOutputWindow(display.Handle(), display.Left(), display.Top(), display.ClientWidth(),
                              display.ClientHeight());
    BoardDll->UnFreeze();
}

// Both texts are converted before anything changes; a size out of its limits
// falls back to the live window's current one, unchecked.
void TSettingWnd::OutWidthEditExit(TObject*) {
    TDisplayWnd& display = *DisplayWnd;
    int w = StrToInt(OutWidthEdit->Text());
    int h = StrToInt(OutHeightEdit->Text());
    if (w < kMinUserWidth || w > kMaxUserWidth) {
        w = display.ClientWidth();
        OutWidthEdit->SetText(IntToStr(w));
    }
    if (h < kMinUserHeight || h > kMaxUserHeight) {
        h = display.ClientHeight();
        OutHeightEdit->SetText(IntToStr(h));
    }
    display.ResizeDisplay(w, h);
    display.userW = w;
    display.userH = h;
}
