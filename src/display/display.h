// The display window: the main window, whose client area the board's live
// picture fills. It holds the persisted values and the notification icon.
#pragma once

#include "vcl/menus.h"
#include "vcl/stdctrls.h"

class TDisplayWnd : public vcl::TForm {
public:
    explicit TDisplayWnd(vcl::TComponent* Owner);
    void Dispatch(vcl::TMessage& Message) override;
    ~TDisplayWnd() override;
    void CreateParams(vcl::TCreateParams& Params) override;

    // Sets the client size and binds the board's overlay to it.
    void ResizeDisplay(int width, int height);
    // Hides or shows the live window, and the settings window with it.
    void ToggleDisplay();

    vcl::TPopupMenu* DisplayPopup;
    vcl::TMenuItem* PopSet;
    vcl::TMenuItem* PopExit;
    vcl::TPopupMenu* TaskPopup;
    vcl::TMenuItem* TaskPopOnOff;
    vcl::TMenuItem* N2;
    vcl::TMenuItem* TaskPop640;
    vcl::TMenuItem* TaskPop320;
    vcl::TMenuItem* TaskPop160;
    vcl::TMenuItem* N3;
    vcl::TMenuItem* TaskPopSet;
    vcl::TMenuItem* TaskPopExit;
    vcl::TMenuItem* TaskPopUser;

    void FormCreate(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormMouseDown(vcl::TObject* Sender, vcl::TMouseButton Button, int X, int Y);
    void FormMouseMove(vcl::TObject* Sender, int X, int Y);
    void FormMouseUp(vcl::TObject* Sender, vcl::TMouseButton Button, int X, int Y);
    void FormDblClick(vcl::TObject* Sender);
    void PopExitClick(vcl::TObject* Sender);
    void OnTrayMessage(vcl::TMessage& Message);
    void TaskPopOnOffClick(vcl::TObject* Sender);
    void TaskPop640Click(vcl::TObject* Sender);
    void TaskPop320Click(vcl::TObject* Sender);
    void TaskPop160Click(vcl::TObject* Sender);
    void TaskPopUserClick(vcl::TObject* Sender);

    int dragging;
    int dragX;
    int dragY;
    int settingWasShown;
    int sizeMode;
    int userW;
    int userH;
    int saveFormat;
    int fileNumber;
    vcl::AnsiString fileName;

private:
    void AddTrayIcon();
    void RemoveTrayIcon();
};
