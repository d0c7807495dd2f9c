#include "display/display.h"

#include "app/globals.h"
#include "app/settings_file.h"
#include "board/kivodll.h"
#include "settings/setting.h"

#include <cstring>
#include <new>

using namespace vcl;

namespace {

constexpr UINT kTrayIconId = 210;
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

NOTIFYICONDATAA TrayRecord(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATA_V1_SIZE;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

}  // namespace

TDisplayWnd::TDisplayWnd(TComponent* Owner)
    : TForm(Owner),
      dragging(0),
      dragX(0),
      dragY(0),
      settingWasShown(0),
      sizeMode(0),
      userW(0),
      userH(0),
      saveFormat(0),
      fileNumber(0) {
    Name = "DisplayWnd";
    SetCaption("DUVEZ");
    BorderStyle = bsNone;
    FormStyle = fsStayOnTop;
    Color = clBackground;
    Cursor = crCross;
    Font = {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET};
    Icon = Application->Icon;
    SetBounds(274, 112, 0, 0);
    SetClientWidth(512);
    SetClientHeight(384);
    OnCreate = Bind(this, &TDisplayWnd::FormCreate);
    OnClose = Bind(this, &TDisplayWnd::FormClose);
    OnMouseDown = Bind(this, &TDisplayWnd::FormMouseDown);
    OnMouseMove = Bind(this, &TDisplayWnd::FormMouseMove);
    OnMouseUp = Bind(this, &TDisplayWnd::FormMouseUp);
    OnDblClick = Bind(this, &TDisplayWnd::FormDblClick);

    DisplayPopup = new TPopupMenu(this);
    DisplayPopup->Name = "DisplayPopup";
    DisplayPopup->AutoPopup = false;
    PopSet = DisplayPopup->Add("PopSet", "設定", Bind(this, &TDisplayWnd::FormDblClick));
    PopExit = DisplayPopup->Add("PopExit", "終了", Bind(this, &TDisplayWnd::PopExitClick));

    TaskPopup = new TPopupMenu(this);
    TaskPopup->Name = "TaskPopup";
    TaskPopup->AutoPopup = false;
    TaskPopOnOff = TaskPopup->Add("TaskPopOnOff", "非表示", Bind(this, &TDisplayWnd::TaskPopOnOffClick));
    N2 = TaskPopup->Add("N2", "-");
    TaskPop640 = TaskPopup->Add("TaskPop640", "640x480", Bind(this, &TDisplayWnd::TaskPop640Click));
    TaskPop320 = TaskPopup->Add("TaskPop320", "320x240", Bind(this, &TDisplayWnd::TaskPop320Click));
    TaskPop160 = TaskPopup->Add("TaskPop160", "160x120", Bind(this, &TDisplayWnd::TaskPop160Click));
    TaskPopUser = TaskPopup->Add("TaskPopUser", "", Bind(this, &TDisplayWnd::TaskPopUserClick));
    N3 = TaskPopup->Add("N3", "-");
    TaskPopSet = TaskPopup->Add("TaskPopSet", "設定", Bind(this, &TDisplayWnd::FormDblClick));
    TaskPopExit = TaskPopup->Add("TaskPopExit", "終了", Bind(this, &TDisplayWnd::PopExitClick));

    fileName = "";
    BoardDll = nullptr;
}

void TDisplayWnd::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_TRAYNOTIFY)
        OnTrayMessage(Message);
    else
        TForm::Dispatch(Message);
}

TDisplayWnd::~TDisplayWnd() = default;

void TDisplayWnd::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    Params.Style |= WS_DLGFRAME;  // a thin dialog frame around the borderless window
}

void TDisplayWnd::ResizeDisplay(int width, int height) {
    SetClientWidth(width);
    SetClientHeight(height);
    BoardDll->SetOutputWindow(Handle(), Left(), Top(), width, height);
}

void TDisplayWnd::FormCreate(TObject*) {
    BoardDll = new (std::nothrow) KIVODLL;
    if (!BoardDll || !BoardDll->Open()) {
        delete BoardDll;
        BoardDll = nullptr;
        StartupFailed = 1;
        return;
    }
    BoardDll->SetOutputWindow(Handle(), Left(), Top(), ClientWidth(), ClientHeight());
    ReadSettingsFile(*this);
    AddTrayIcon();
}

void TDisplayWnd::FormClose(TObject*, TCloseAction&) {
    if (BoardDll) {
        delete BoardDll;
        BoardDll = nullptr;
    }
    WriteSettingsFile(*this);
    RemoveTrayIcon();
}

void TDisplayWnd::FormMouseDown(TObject*, TMouseButton Button, int X, int Y) {
    if (Button == mbLeft) {
        dragging = 1;
        dragX = X;
        dragY = Y;
    }
    if (Button == mbRight) DisplayPopup->Popup(Left() + X - 12, Top() + Y + 12);
}

void TDisplayWnd::FormMouseMove(TObject*, int X, int Y) {
    if (dragging != 1) return;
    SetLeft(Left() + X - dragX);
    SetTop(Top() + Y - dragY);
}

void TDisplayWnd::FormMouseUp(TObject*, TMouseButton Button, int, int) {
    if (Button == mbLeft) dragging = 0;
}

void TDisplayWnd::FormDblClick(TObject*) {
    if (!SettingWnd) return;
    if (SettingWnd->Visible())
        SettingWnd->Hide();
    else
        SettingWnd->Show();
}

void TDisplayWnd::PopExitClick(TObject*) { Close(); }

// A right press opens the task menu beside the cursor, with the user size as
// the size edits hold it now; a left press hides or shows the windows.
void TDisplayWnd::OnTrayMessage(TMessage& Message) {
    if (Message.LParam == WM_RBUTTONDOWN) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (SettingWnd) TaskPopUser->Caption = SettingWnd->OutWidthEdit->Text() + "x" + SettingWnd->OutHeightEdit->Text();
        TaskPopup->Popup(cursor.x + 8, cursor.y - 8);
    }
    if (Message.LParam == WM_LBUTTONDOWN) ToggleDisplay();
}

void TDisplayWnd::ToggleDisplay() {
    if (Visible()) {
        Hide();
        TaskPopOnOff->Caption = "表示";
        if (SettingWnd && SettingWnd->Visible()) {
            SettingWnd->Hide();
            settingWasShown = 1;
        }
    } else {
        Show();
        TaskPopOnOff->Caption = "非表示";
        if (settingWasShown == 1) {
            if (SettingWnd) SettingWnd->Show();
            settingWasShown = 0;
        }
    }
}

void TDisplayWnd::TaskPopOnOffClick(TObject*) { ToggleDisplay(); }

// Each size entry resizes at once, then checks its size button; a button not
// checked before runs its own click, which resizes to the same size again.
void TDisplayWnd::TaskPop640Click(TObject*) {
    ResizeDisplay(640, 480);
    SettingWnd->OutSizeRadio4->SetChecked(true);
}

void TDisplayWnd::TaskPop320Click(TObject*) {
    ResizeDisplay(320, 240);
    SettingWnd->OutSizeRadio3->SetChecked(true);
}

void TDisplayWnd::TaskPop160Click(TObject*) {
    ResizeDisplay(160, 120);
    SettingWnd->OutSizeRadio2->SetChecked(true);
}

void TDisplayWnd::TaskPopUserClick(TObject*) {
    int width = StrToInt(SettingWnd->OutWidthEdit->Text());
    int height = StrToInt(SettingWnd->OutHeightEdit->Text());
    ResizeDisplay(width, height);
    SettingWnd->OutSizeRadio1->SetChecked(true);
}

void TDisplayWnd::AddTrayIcon() {
    NOTIFYICONDATAA data = TrayRecord(Handle());
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = Application->Icon;
    std::strcpy(data.szTip, "DUVEZ");
    Shell_NotifyIconA(NIM_ADD, &data);
}

void TDisplayWnd::RemoveTrayIcon() {
    NOTIFYICONDATAA data = TrayRecord(Handle());
    Shell_NotifyIconA(NIM_DELETE, &data);
}
