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

    fileName = "";
    BoardDll = nullptr;
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
