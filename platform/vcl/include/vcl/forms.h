// Forms, the application object and the screen.
#pragma once

#include "vcl/controls.h"
#include "win/win.h"

#include <memory>
#include <new>

namespace vcl {

class TButton;

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_CAPTION = WS_BORDER | WS_DLGFRAME;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_POPUP = 0x80000000;

struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
};

enum class TFormBorderStyle { bsNone, bsSingle, bsDialog };
using enum TFormBorderStyle;
enum class TFormStyle { fsNormal, fsStayOnTop };
using enum TFormStyle;
enum class TPosition { poDesigned, poScreenCenter };
using enum TPosition;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;
enum class TKey { Enter, Escape, Tab, ShiftTab };
// clBtnFace: the dialog colour; clBackground: the desktop's.
enum class TColor { clBtnFace, clBackground };
using enum TColor;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    TForm* ParentForm() const override { return const_cast<TForm*>(this); }
    HWND Handle() const { return handle_; }

    TFormBorderStyle BorderStyle = bsSingle;
    TFormStyle FormStyle = fsNormal;
    TPosition Position = poDesigned;
    // The resolution the form was designed at; the form is scaled to the
    // screen's when it is constructed.
    int PixelsPerInch = 96;
    HICON Icon = nullptr;
    TColor Color = clBtnFace;
    // Whether the form shows its caption's icon buttons (system menu, minimise).
    bool SystemMenu = true;
    bool MinimizeBox = true;

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;

    // The client area; the outer size follows from the frame.
    int ClientWidth() const { return Width() - 2 * FrameSize(); }
    int ClientHeight() const { return Height() - 2 * FrameSize() - CaptionHeight(); }
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    void SetBounds(int left, int top, int width, int height) override;
    // The frame on each side and the title bar, in pixels.
    int FrameSize() const;
    int CaptionHeight() const;

    void SetVisible(bool visible) override;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Runs OnClose; the main form's close ends the application, another
    // form's hides it, a modal form's ends its modal loop.
    void Close();
    TModalResult ShowModal();
    TModalResult ModalResult = mrNone;
    bool Modal() const { return modal_; }

    TWinControl* ActiveControl() const { return active_; }
    // Focus moves: OnExit of the old control, then OnEnter of the new. An
    // exception from OnExit keeps the focus where it was.
    void FocusControl(TWinControl* control);
    // The next control in tab order that can take the focus.
    TWinControl* FindNextControl(TWinControl* current, bool forward) const;
    void SelectNext(bool forward);
    TButton* DefaultButton() const;
    TButton* CancelButton() const;
    void KeyPress(TKey key);

    // Runs when construction is complete: scales a form designed at another
    // resolution, centres it if asked, then runs OnCreate.
    virtual void AfterConstruction();
    // The message handling of the form's window.
    virtual void Dispatch(TMessage& Message);
    virtual void CreateParams(TCreateParams& Params);
    void DefaultHandler(TMessage& Message);

private:
    void Forget(TControl* control);
    friend class TControl;
    HWND handle_;
    TWinControl* active_ = nullptr;
    bool modal_ = false;
};

// Constructs a component and completes it as the framework does.
template <class T, class... Args>
T* Create(Args&&... args) {
    T* instance = new T(std::forward<Args>(args)...);
    instance->AfterConstruction();
    return instance;
}

struct TScreen {
    int Width = 1920;
    int Height = 1080;
    int PixelsPerInch = 96;
};
extern TScreen Screen;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    // Assigns `reference` before the form's constructor runs, then completes
    // the form; the first form created becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        void* storage = ::operator new(sizeof(T));
        reference = static_cast<T*>(storage);
        try {
            new (storage) T(this);
        } catch (...) {
            ::operator delete(storage);
            reference = nullptr;
            throw;
        }
        Adopt(reference);
        reference->AfterConstruction();
    }

    // Shows the main form and handles messages and input until Terminate.
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Delivers what has arrived, without waiting.
    void ProcessMessages();
    // Waits for and handles one batch of messages or input; false when no
    // input will ever come again.
    bool HandleMessage();

    TForm* MainForm() const { return mainForm_; }
    HWND Handle() const { return handle_; }
    AnsiString Title;
    HICON Icon = nullptr;
    AnsiString ExeName() const;
    void SetExeName(const AnsiString& path);

    // Runs one user action; an exception escaping it is shown and ends it.
    void DispatchUserAction(const std::function<void()>& action);
    void HandleException(const std::exception& error);
    void ShowException(const std::exception& error);

private:
    void Adopt(TForm* form);
    HWND handle_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;
// A fresh application object in place of the old one, whose forms it destroys.
void ResetApplication();

// A message box with one OK button and the application's title.
void ShowMessage(const AnsiString& text);

}  // namespace vcl
