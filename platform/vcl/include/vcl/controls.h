// Components and controls: the tree of a form and the state each control holds.
#pragma once

#include "vcl/sysutils.h"

#include <functional>
#include <vector>

namespace vcl {

class TObject {
public:
    virtual ~TObject() = default;
};

class TControl;
class TWinControl;
class TForm;
class TPopupMenu;

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, int X, int Y)>;

// Binds a member function as an event handler: Bind(this, &TForm1::Button1Click).
template <class Owner, class Handler>
auto Bind(Owner* owner, Handler handler) {
    return [owner, handler](auto&&... args) { (owner->*handler)(std::forward<decltype(args)>(args)...); };
}

enum class TFontCharset { DEFAULT_CHARSET, SHIFTJIS_CHARSET };
using enum TFontCharset;

struct TFont {
    AnsiString Name = "";  // empty: the default user-interface font
    int Height = 0;        // negative: character height in pixels; 0: default
    TFontCharset Charset = DEFAULT_CHARSET;
};

enum class TCursor { crDefault, crCross };
using enum TCursor;

// An owner destroys the components it owns, the last created first.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    AnsiString Name;
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const AnsiString& name) const;

protected:
    // Destroys the owned components now, while the owner is still whole.
    void DestroyComponents();

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

// What changed in a control, for the backend that mirrors it.
enum class TChange { Geometry, Text, State, Visibility, Items, Focus, Font };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);
    // The form the control stands on (the form itself for a form).
    virtual TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& caption);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    // Visible, and so are all its parents.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TFont Font;
    TCursor Cursor = crDefault;
    TPopupMenu* PopupMenu = nullptr;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Runs the control's click: OnClick for most controls.
    virtual void Click();
    void DblClick();
    void MouseDown(TMouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(TMouseButton button, int x, int y);

    // Whether the control can hold the focus at all (by kind).
    virtual bool IsFocusable() const { return false; }

protected:
    // Tells the backend that mirrors the control.
    void Changed(TChange what);

private:
    friend class TWinControl;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    AnsiString caption_;
    bool visible_ = true;
    bool enabled_ = true;
};

// A control that can contain others and hold the focus.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    const std::vector<TControl*>& Controls() const { return controls_; }
    int TabOrder = -1;
    bool TabStop = false;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    bool Focused() const;
    // Moves the form's focus here: OnExit of the old control, then OnEnter.
    void SetFocus();
    // Visible, enabled, on the shown page, and of a focusable kind.
    bool CanFocus() const;

private:
    friend class TControl;
    std::vector<TControl*> controls_;
};

}  // namespace vcl
