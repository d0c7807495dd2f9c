// The input page: the board's connector, video standard and input viewport.
#include "app/globals.h"
#include "board/kivodll.h"
#include "settings/place.h"
#include "settings/setting.h"

using namespace vcl;

namespace {

const TFont kFixedPitchFont = {"ＭＳ ゴシック", -12, SHIFTJIS_CHARSET};

}  // namespace

void TSettingWnd::LayOutInputPage() {
    InFormatRadio = Place<TRadioGroup>(*this, TabSheetInput, "InFormatRadio", 13, 6, 77, 59);
    InFormatRadio->Items = {"NTSC", "PAL", "SECAM"};
    InFormatRadio->SetItemIndex(0);
    InFormatRadio->TabOrder = 0;
    InFormatRadio->OnClick = Bind(this, &TSettingWnd::InFormatRadioClick);

    InSourceRadio = Place<TRadioGroup>(*this, TabSheetInput, "InSourceRadio", 96, 6, 78, 59);
    InSourceRadio->Items = {"CCD", "VIDEO", "S-VIDEO"};
    InSourceRadio->SetItemIndex(1);
    InSourceRadio->TabOrder = 1;
    InSourceRadio->OnClick = Bind(this, &TSettingWnd::InSourceRadioClick);

    Label6 = Place<TLabel>(*this, TabSheetInput, "Label6", 186, 13, 24, 12);
    Label6->SetCaption("X  1");
    Label6->Font = kFixedPitchFont;

    InValueX = Place<TScrollBar>(*this, TabSheetInput, "InValueX", 218, 13, 128, 15);
    InValueX->SetMin(1);
    InValueX->SetMax(255);
    InValueX->SetPosition(1);
    InValueX->SmallChange = 2;
    InValueX->LargeChange = 16;
    InValueX->PageSize = 0;
    InValueX->TabOrder = 2;
    InValueX->OnChange = Bind(this, &TSettingWnd::InValueXChange);

    maxx = Place<TLabel>(*this, TabSheetInput, "maxx", 352, 13, 18, 12);
    maxx->SetCaption("255");

    Label7 = Place<TLabel>(*this, TabSheetInput, "Label7", 186, 32, 24, 12);
    Label7->SetCaption("Y  1");
    Label7->Font = kFixedPitchFont;

    InValueY = Place<TScrollBar>(*this, TabSheetInput, "InValueY", 218, 32, 128, 15);
    InValueY->SetMin(1);
    InValueY->SetMax(255);
    InValueY->SetPosition(1);
    InValueY->SmallChange = 1;
    InValueY->LargeChange = 16;
    InValueY->PageSize = 0;
    InValueY->TabOrder = 3;
    InValueY->OnChange = Bind(this, &TSettingWnd::InValueXChange);

    maxy = Place<TLabel>(*this, TabSheetInput, "maxy", 352, 32, 18, 12);
    maxy->SetCaption("255");
}

// The connector first: the board answers the standard of the connector it
// last read or set.
void TSettingWnd::InitInputControls() {
    InSourceRadio->SetItemIndex(BoardDll->GetActiveSource());
    InFormatRadio->SetItemIndex(BoardDll->GetSourceSystem());
    int x = 0, y = 0, width = 0, height = 0;
    BoardDll->GetInputViewport(x, y, width, height);
    InValueX->SetPosition(x);
    InValueY->SetPosition(y);
}

void TSettingWnd::InFormatRadioClick(TObject*) { BoardDll->SetSourceSystem(InFormatRadio->ItemIndex()); }

void TSettingWnd::InSourceRadioClick(TObject*) { BoardDll->SetActiveSource(InSourceRadio->ItemIndex()); }

// The viewport's left edge is always odd; an even X is moved on by one, which
// runs this handler once more, nested, before this run sends the same viewport.
void TSettingWnd::InValueXChange(TObject*) {
    if (InValueX->Position() % 2 != 1) InValueX->SetPosition(InValueX->Position() + 1);
    bool ntsc = InFormatRadio->ItemIndex() == 0;
    BoardDll->SetInputViewport(InValueX->Position(), InValueY->Position(), ntsc ? 720 : 768, ntsc ? 480 : 576);
}
