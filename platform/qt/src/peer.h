// A control as the screen shows it: its widget, kept in line with the model,
// and the user's input on it turned into user actions.
#pragma once

#include "vcl/controls.h"

#include <QObject>
#include <QWidget>

#include <functional>

namespace vcl::qt {

class ScreenBackend;

// Lives as a child of its widget, so it goes when the widget goes.
class Peer : public QObject {
public:
    Peer(ScreenBackend& screen, TControl& control, QWidget* widget);
    ~Peer() override;

    // Null once the control is gone; the peer then waits to be deleted.
    TControl* Control() const { return control_; }
    void Detach() { control_ = nullptr; }
    QWidget* Widget() const { return widget_; }
    // Where the control's children are placed.
    virtual QWidget* Container() const { return widget_; }
    // What takes the keyboard while the control holds the focus.
    virtual QWidget* FocusTarget() const { return widget_; }
    // Whether a left press and release on it are the control's click; the
    // buttons click through Qt's own signal instead.
    virtual bool ClicksOnRelease() const { return false; }
    // Places the peer of a child control inside this one.
    virtual void AddChild(Peer& child);

    // Shows the model's state; Qt's signals stay blocked meanwhile, so the
    // change never comes back as a user action.
    void Mirror(TChange what);
    void MirrorAll();

    // Runs a user action on this control, then puts back what Qt changed on
    // its own where the model disagrees, and shows the form's focus.
    void Act(const std::function<void()>& action);

protected:
    ScreenBackend& Screen() const { return screen_; }
    virtual void MirrorGeometry();
    virtual void MirrorVisibility();
    // Text, state and items: what each kind shows of its own.
    virtual void MirrorContent() {}
    virtual void MirrorFont();

private:
    void MirrorOne(TChange what);
    ScreenBackend& screen_;
    TControl* control_;
    QWidget* widget_;
};

// The font a control shows: its own name and height where it sets them,
// otherwise its parent's; a height of 0 is the user-interface default.
QFont EffectiveFont(const TControl& control);

QString ToQString(const AnsiString& text);
AnsiString ToAnsi(const QString& text);

}  // namespace vcl::qt
