#include "vcl/backend.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

#include <algorithm>

namespace vcl {

TScreen Screen;

namespace {

constexpr int kDialogFrame = 3;
constexpr int kThinBorder = 1;
constexpr int kCaptionHeight = 19;

int Scale(int value, int to, int from) { return static_cast<int>(static_cast<long long>(value) * to / from); }

void ScaleChildren(TWinControl& parent, int to, int from) {
    for (TControl* child : parent.Controls()) {
        child->SetBounds(Scale(child->Left(), to, from), Scale(child->Top(), to, from), Scale(child->Width(), to, from),
                         Scale(child->Height(), to, from));
        child->Font.Height = Scale(child->Font.Height, to, from);
        if (auto* container = dynamic_cast<TWinControl*>(child)) ScaleChildren(*container, to, from);
    }
}

void CollectTabOrder(const TWinControl& parent, std::vector<TWinControl*>& list) {
    std::vector<TWinControl*> children;
    for (TControl* child : parent.Controls())
        if (auto* win = dynamic_cast<TWinControl*>(child)) children.push_back(win);
    std::stable_sort(children.begin(), children.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder < b->TabOrder; });
    for (TWinControl* child : children) {
        list.push_back(child);
        CollectTabOrder(*child, list);
    }
}

template <class Predicate>
TButton* FindButton(const TWinControl& parent, Predicate wanted) {
    for (TControl* child : parent.Controls()) {
        if (auto* button = dynamic_cast<TButton*>(child); button && wanted(*button) && button->CanFocus())
            return button;
        if (auto* container = dynamic_cast<TWinControl*>(child))
            if (TButton* found = FindButton(*container, wanted)) return found;
    }
    return nullptr;
}

}  // namespace

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    handle_ = win::CreateWindowHandle([this](UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage message{msg, wParam, lParam, 0};
        try {
            Dispatch(message);
        } catch (const std::exception& error) {
            Application->HandleException(error);
        }
        return message.Result;
    });
    SetVisible(false);
}

TForm::~TForm() {
    DestroyComponents();
    win::DestroyWindowHandle(handle_);
}

void TForm::SetClientWidth(int width) {
    SetBounds(Left(), Top(), win::ClampWindowSide(width) + 2 * FrameSize(), Height());
}

void TForm::SetClientHeight(int height) {
    SetBounds(Left(), Top(), Width(), win::ClampWindowSide(height) + 2 * FrameSize() + CaptionHeight());
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    win::SetClientSize(handle_, ClientWidth(), ClientHeight());
}

void TForm::CreateParams(TCreateParams& Params) {
    Params.Caption = Caption();
    Params.Style = BorderStyle == bsNone ? WS_POPUP : WS_CAPTION | WS_SYSMENU;
}

int TForm::FrameSize() const {
    TCreateParams params;
    const_cast<TForm*>(this)->CreateParams(params);
    if (params.Style & WS_DLGFRAME) return kDialogFrame;
    return params.Style & WS_BORDER ? kThinBorder : 0;
}

int TForm::CaptionHeight() const {
    TCreateParams params;
    const_cast<TForm*>(this)->CreateParams(params);
    return (params.Style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
}

void TForm::SetVisible(bool visible) {
    if (visible == Visible()) return;
    TWinControl::SetVisible(visible);
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TForm::Close() {
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

TModalResult TForm::ShowModal() {
    modal_ = true;
    ModalResult = mrNone;
    Show();
    while (true) {
        if (ModalResult == mrNone && (Application->Terminated() || !Application->HandleMessage()))
            ModalResult = mrCancel;
        if (ModalResult == mrNone) continue;
        TCloseAction action = caHide;
        if (OnClose) OnClose(this, action);
        if (action != caNone) break;
        ModalResult = mrNone;
    }
    Hide();
    modal_ = false;
    return ModalResult;
}

void TForm::FocusControl(TWinControl* control) {
    if (control == active_) return;
    if (control && !control->CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    TWinControl* old = active_;
    if (old && old->OnExit) old->OnExit(old);
    active_ = control;
    Changed(TChange::Focus);
    if (control && control->OnEnter) control->OnEnter(control);
}

void TForm::Forget(TControl* control) {
    if (active_ == control) active_ = nullptr;
}

TWinControl* TForm::FindNextControl(TWinControl* current, bool forward) const {
    std::vector<TWinControl*> order;
    CollectTabOrder(*this, order);
    std::erase_if(order, [](TWinControl* c) { return !c->TabStop || !c->CanFocus(); });
    if (order.empty()) return nullptr;
    auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end()) return forward ? order.front() : order.back();
    std::size_t index = static_cast<std::size_t>(at - order.begin());
    std::size_t count = order.size();
    return order[forward ? (index + 1) % count : (index + count - 1) % count];
}

void TForm::SelectNext(bool forward) {
    if (TWinControl* next = FindNextControl(active_, forward)) FocusControl(next);
}

TButton* TForm::DefaultButton() const {
    return FindButton(*this, [](const TButton& b) { return b.Default; });
}

TButton* TForm::CancelButton() const {
    return FindButton(*this, [](const TButton& b) { return b.Cancel; });
}

void TForm::KeyPress(TKey key) {
    switch (key) {
        case TKey::Enter:
            if (auto* focused = dynamic_cast<TButton*>(active_))
                focused->Click();
            else if (TButton* button = DefaultButton())
                button->Click();
            break;
        case TKey::Escape:
            if (TButton* button = CancelButton()) button->Click();
            break;
        case TKey::Tab:
        case TKey::ShiftTab:
            SelectNext(key == TKey::Tab);
            break;
    }
}

void TForm::AfterConstruction() {
    if (PixelsPerInch != Screen.PixelsPerInch) {
        int to = Screen.PixelsPerInch, from = PixelsPerInch;
        ScaleChildren(*this, to, from);
        Font.Height = Scale(Font.Height, to, from);
        SetClientWidth(Scale(ClientWidth(), to, from));
        SetClientHeight(Scale(ClientHeight(), to, from));
        PixelsPerInch = to;
    }
    if (Position == poScreenCenter) SetBounds((Screen.Width - Width()) / 2, (Screen.Height - Height()) / 2, Width(), Height());
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (const std::exception& error) {
        Application->HandleException(error);
    }
}

void TForm::Dispatch(TMessage& Message) { DefaultHandler(Message); }

void TForm::DefaultHandler(TMessage& Message) {
    if (Message.Msg == WM_CLOSE) Close();
}

TApplication::TApplication() : TComponent(nullptr) {
    CurrentBackend();  // installs the headless backend unless a screen is set
    handle_ = win::CreateWindowHandle([](UINT, WPARAM, LPARAM) { return LRESULT{0}; });
    ShowWindow(handle_, SW_SHOW);
    Title = ChangeFileExt(ExtractFileName(ExeName()), "");
}

TApplication::~TApplication() {
    DestroyComponents();
    win::DestroyWindowHandle(handle_);
}

void TApplication::Adopt(TForm* form) {
    if (!mainForm_) mainForm_ = form;
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    while (!terminated_)
        if (!HandleMessage()) terminated_ = true;
}

void TApplication::ProcessMessages() { win::DispatchPostedMessages(); }

bool TApplication::HandleMessage() {
    if (win::DispatchPostedMessages() > 0) return true;
    return CurrentBackend().WaitForInput();
}

AnsiString TApplication::ExeName() const { return win::ExecutablePath(); }

void TApplication::SetExeName(const AnsiString& path) {
    win::SetExecutablePath(path);
    Title = ChangeFileExt(ExtractFileName(path), "");
}

void TApplication::DispatchUserAction(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

void TApplication::HandleException(const std::exception& error) { ShowException(error); }

void TApplication::ShowException(const std::exception& error) {
    MessageBoxA(nullptr, error.what(), Title.c_str(), MB_OK | MB_ICONSTOP);
}

TApplication* Application = new TApplication;

namespace {
// The application and its forms end with the program.
struct ApplicationEnd {
    ~ApplicationEnd() {
        delete Application;
        Application = nullptr;
    }
} applicationEnd;
}  // namespace

void ResetApplication() {
    delete Application;
    Application = new TApplication;
}

void ShowMessage(const AnsiString& text) { MessageBoxA(nullptr, text.c_str(), Application->Title.c_str(), MB_OK); }

}  // namespace vcl
