#include "screen_backend.h"

#include "control_peers.h"
#include "form_peer.h"
#include "tray_area.h"
#include "vcl/input.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>

namespace vcl::qt {

namespace {

// Sees the input of the whole application before the widgets do.
class InputFilter : public QObject {
public:
    explicit InputFilter(ScreenBackend& screen) : screen_(screen) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                return screen_.KeyPressed(receiver, static_cast<const QKeyEvent&>(*event));
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return screen_.ControlPressed(receiver, static_cast<const QMouseEvent&>(*event));
            case QEvent::MouseButtonRelease:
                screen_.ControlReleased(receiver, static_cast<const QMouseEvent&>(*event));
                return false;
            default:
                return false;
        }
    }

private:
    ScreenBackend& screen_;
};

bool KeyOf(const QKeyEvent& event, TKey& key) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = TKey::Enter;
            return true;
        case Qt::Key_Escape:
            key = TKey::Escape;
            return true;
        case Qt::Key_Tab:
            key = event.modifiers() & Qt::ShiftModifier ? TKey::ShiftTab : TKey::Tab;
            return true;
        case Qt::Key_Backtab:
            key = TKey::ShiftTab;
            return true;
        default:
            return false;
    }
}

// No child widget takes the focus or moves it on its own: the model's focus
// is the only one, and the widgets follow it.
void PrepareChildWidget(QWidget& widget, const TControl& control) {
    widget.setFocusPolicy(Qt::NoFocus);
    for (QWidget* part : widget.findChildren<QWidget*>()) part->setFocusPolicy(Qt::NoFocus);
    // The mouse on a control is the control's, never its form's.
    widget.setAttribute(Qt::WA_NoMousePropagation);
    if (control.Cursor == crCross) widget.setCursor(Qt::CrossCursor);
}

}  // namespace

ScreenBackend& ScreenBackend::Instance() {
    static ScreenBackend screen;
    return screen;
}

void ScreenBackend::Open() {
    inputFilter_ = std::make_unique<InputFilter>(*this);
    QCoreApplication::instance()->installEventFilter(inputFilter_.get());
    tray_ = std::make_unique<TrayArea>();
    std::lock_guard lock(wakeLock_);
    receiver_ = inputFilter_.get();
    pendingRepaints_.clear();
    wakePending_ = false;
}

void ScreenBackend::Close() {
    {
        std::lock_guard lock(wakeLock_);
        receiver_ = nullptr;
    }
    tray_.reset();
    QuietScope quiet(*this);
    std::vector<QWidget*> windows;
    for (const auto& [control, peer] : peers_)
        if (dynamic_cast<FormPeer*>(peer)) windows.push_back(peer->Widget());
    for (QWidget* window : windows) delete window;
    DeleteBuried();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    forms_.clear();
    inputFilter_.reset();
}

Peer* ScreenBackend::PeerOf(const TControl& control) const {
    auto found = peers_.find(&control);
    return found == peers_.end() ? nullptr : found->second;
}

FormPeer* ScreenBackend::FormPeerOf(const TForm& form) const { return dynamic_cast<FormPeer*>(PeerOf(form)); }

void ScreenBackend::Register(Peer& peer) {
    peers_[peer.Control()] = &peer;
    peersByWidget_[peer.Widget()] = &peer;
}

void ScreenBackend::Unregister(Peer& peer) {
    peersByWidget_.erase(peer.Widget());
    if (!peer.Control()) return;
    auto found = peers_.find(peer.Control());
    if (found != peers_.end() && found->second == &peer) peers_.erase(found);
}

Peer* ScreenBackend::EnsurePeer(TControl& control) {
    if (Peer* peer = PeerOf(control)) return peer;
    // A form comes on the screen when it is shown.
    if (dynamic_cast<TForm*>(&control)) return nullptr;
    TWinControl* parent = control.Parent();
    Peer* parentPeer = parent ? PeerOf(*parent) : nullptr;
    if (!parentPeer) return nullptr;
    QuietScope quiet(*this);
    Peer* peer = MakeControlPeer(*this, control, parentPeer->Container());
    PrepareChildWidget(*peer->Widget(), control);
    Register(*peer);
    parentPeer->AddChild(*peer);
    peer->MirrorAll();
    if (auto* container = dynamic_cast<TWinControl*>(&control))
        for (TControl* child : container->Controls()) EnsurePeer(*child);
    return peer;
}

FormPeer& ScreenBackend::EnsureFormPeer(TForm& form) {
    if (FormPeer* peer = FormPeerOf(form)) return *peer;
    QuietScope quiet(*this);
    auto* peer = new FormPeer(*this, form);
    Register(*peer);
    peer->MirrorAll();
    for (TControl* child : form.Controls()) EnsurePeer(*child);
    return *peer;
}

void ScreenBackend::ControlChanged(TControl& control, TChange what) {
    auto* form = dynamic_cast<TForm*>(&control);
    if (form) forms_[form->Handle()] = form;
    Peer* peer = PeerOf(control);
    if (!peer) {
        // Created now, it shows the control as it is.
        EnsurePeer(control);
        return;
    }
    if (what == TChange::Focus && form)
        ApplyFocus(*form);
    else
        peer->Mirror(what);
}

void ScreenBackend::ControlDestroyed(TControl& control) {
    // The control is partly destroyed already: its address is only a key.
    std::erase_if(forms_, [&](const auto& entry) { return entry.second == &control; });
    Peer* peer = PeerOf(control);
    if (!peer) return;
    peers_.erase(&control);
    peer->Detach();
    Bury(*peer);
}

void ScreenBackend::Bury(Peer& peer) {
    QuietScope quiet(*this);
    peer.Widget()->hide();
    buried_.emplace_back(peer.Widget());
    // A user action may be running inside the widget's own event handler.
    if (actions_ == 0) DeleteBuried();
}

void ScreenBackend::DeleteBuried() {
    QuietScope quiet(*this);
    std::vector<QPointer<QWidget>> buried;
    buried.swap(buried_);
    for (const QPointer<QWidget>& widget : buried) delete widget.data();
}

void ScreenBackend::WindowShown(HWND window, bool shown) {
    auto found = forms_.find(window);
    if (found == forms_.end()) return;
    TForm& form = *found->second;
    if (shown)
        EnsureFormPeer(form).Show();
    else if (FormPeer* peer = FormPeerOf(form))
        peer->Hide();
}

void ScreenBackend::ApplyFocus(TForm& form) {
    FormPeer* formPeer = FormPeerOf(form);
    if (!formPeer) return;
    QWidget* target = formPeer->FocusTarget();
    if (TWinControl* active = form.ActiveControl())
        if (Peer* peer = PeerOf(*active)) target = peer->FocusTarget();
    if (target->window()->focusWidget() != target) target->setFocus(Qt::OtherFocusReason);
}

bool ScreenBackend::WaitForInput() {
    if (!QCoreApplication::instance()) return false;
    // Outside every user action no widget's handler is running, so what
    // waits to be deleted can go.
    if (actions_ == 0) {
        DeleteBuried();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return true;
}

TMenuItem* ScreenBackend::TrackPopup(TPopupMenu& menu, int x, int y) {
    QMenu popup;
    std::vector<std::pair<QAction*, TMenuItem*>> choices;
    for (TMenuItem* item : menu.Items) {
        if (item->IsSeparator())
            popup.addSeparator();
        else
            choices.emplace_back(popup.addAction(ToQString(item->Caption)), item);
    }
    QAction* chosen = popup.exec(QPoint(x, y));
    for (const auto& [action, item] : choices)
        if (action == chosen) return item;
    return nullptr;
}

int ScreenBackend::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    QWidget* parent = nullptr;
    if (auto found = forms_.find(owner); found != forms_.end())
        if (FormPeer* peer = FormPeerOf(*found->second); peer && peer->Widget()->isVisible()) parent = peer->Widget();
    QMessageBox box(type & MB_ICONERROR ? QMessageBox::Critical : QMessageBox::NoIcon, ToQString(caption),
                    ToQString(text), (type & 0xF) == MB_OKCANCEL ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    parent);
    // A tool window, as the forms are: no taskbar button.
    box.setWindowFlags((box.windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    return box.exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
}

void ScreenBackend::TrayIconsChanged() {
    if (tray_) tray_->Sync();
}

void ScreenBackend::MessagePosted() {
    std::lock_guard lock(wakeLock_);
    if (!receiver_ || wakePending_) return;
    wakePending_ = true;
    // Any event wakes the waiting loop, which then delivers the messages.
    QMetaObject::invokeMethod(
        receiver_,
        [this] {
            std::lock_guard lock(wakeLock_);
            wakePending_ = false;
        },
        Qt::QueuedConnection);
}

void ScreenBackend::SurfacePainted(HWND window) {
    std::lock_guard lock(wakeLock_);
    // One repaint waits per window, however fast the board paints.
    if (!receiver_ || !pendingRepaints_.insert(window).second) return;
    QMetaObject::invokeMethod(receiver_, [this, window] { Repaint(window); }, Qt::QueuedConnection);
}

void ScreenBackend::Repaint(HWND window) {
    {
        std::lock_guard lock(wakeLock_);
        pendingRepaints_.erase(window);
    }
    auto found = forms_.find(window);
    if (found == forms_.end()) return;
    if (FormPeer* peer = FormPeerOf(*found->second)) peer->Client()->update();
}

bool ScreenBackend::CursorPosition(POINT& point) {
    QPoint at = QCursor::pos();
    point = {at.x(), at.y()};
    return true;
}

Peer* ScreenBackend::PeerContaining(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    for (; widget; widget = widget->parentWidget()) {
        auto found = peersByWidget_.find(widget);
        if (found != peersByWidget_.end()) return found->second;
        // A pop-up, such as a combo box's list, is no part of the control.
        if (widget->isWindow()) break;
    }
    return nullptr;
}

bool ScreenBackend::KeyPressed(QObject* receiver, const QKeyEvent& event) {
    TKey key;
    if (QApplication::activePopupWidget() || !KeyOf(event, key)) return false;
    auto* widget = qobject_cast<QWidget*>(receiver);
    auto* formPeer = widget ? dynamic_cast<FormPeer*>(PeerContaining(widget->window())) : nullptr;
    if (!formPeer || !formPeer->Control()) return false;
    formPeer->Act([formPeer, key] { input::Key(formPeer->Form(), key); });
    return true;
}

// A press on a control moves the focus there first; when the focus cannot
// move (the old control's exit failed), the press does nothing more.
bool ScreenBackend::ControlPressed(QObject* receiver, const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return false;
    Peer* peer = PeerContaining(receiver);
    if (!peer || dynamic_cast<FormPeer*>(peer)) return false;
    if (!peer->Control()) return true;
    pressed_ = peer;
    auto* control = dynamic_cast<TWinControl*>(peer->Control());
    if (!control || !control->CanFocus() || control->Focused()) return false;
    peer->Act([control] { input::Focus(*control); });
    if (peer->Control() && control->Focused()) return false;
    pressed_ = nullptr;
    return true;
}

void ScreenBackend::ControlReleased(QObject* receiver, const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return;
    Peer* pressed = pressed_;
    pressed_ = nullptr;
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || !pressed || PeerContaining(widget) != pressed) return;
    if (!pressed->ClicksOnRelease() || !pressed->Control()) return;
    QPoint at = widget->mapTo(pressed->Widget(), event.position().toPoint());
    if (!pressed->Widget()->rect().contains(at)) return;
    pressed->Act([pressed] { input::Click(*pressed->Control()); });
}

}  // namespace vcl::qt
