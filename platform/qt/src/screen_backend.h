// The screen backend: peers for the framework's controls, real input turned
// into user actions, menus, message boxes and the notification icons.
#pragma once

#include "vcl/backend.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QKeyEvent;
class QMouseEvent;

namespace vcl::qt {

class Peer;
class FormPeer;
class TrayArea;

class ScreenBackend : public Backend {
public:
    // One for the process: the board's frame thread may still call it while
    // the screen closes, so it outlives the screen.
    static ScreenBackend& Instance();

    // Starts and ends the screen's part; the QApplication exists in between.
    void Open();
    void Close();

    void ControlChanged(TControl& control, TChange what) override;
    void ControlDestroyed(TControl& control) override;
    bool WaitForInput() override;
    TMenuItem* TrackPopup(TPopupMenu& menu, int x, int y) override;

    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    void TrayIconsChanged() override;
    void WindowShown(HWND window, bool shown) override;
    void MessagePosted() override;
    void SurfacePainted(HWND window) override;
    bool CursorPosition(POINT& point) override;

    Peer* PeerOf(const TControl& control) const;
    FormPeer* FormPeerOf(const TForm& form) const;
    // The peer of the control, created with its children when its parent is
    // on the screen; null otherwise.
    Peer* EnsurePeer(TControl& control);
    // Gives the keyboard to the peer of the form's active control.
    void ApplyFocus(TForm& form);
    // Null while the screen is closed.
    TrayArea* Tray() const { return tray_.get(); }

    // Bookkeeping of the peers themselves.
    void Register(Peer& peer);
    void Unregister(Peer& peer);
    // Counts the user actions under way; peers are deleted only when none is.
    void BeginAction() { ++actions_; }
    void EndAction() { --actions_; }
    // While the screen itself changes widgets, whatever Qt signals is no
    // user's input: a tab widget losing a page changes its current tab.
    bool Quiet() const { return quiet_ > 0; }
    class QuietScope {
    public:
        explicit QuietScope(ScreenBackend& screen) : screen_(screen) { ++screen_.quiet_; }
        ~QuietScope() { --screen_.quiet_; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        ScreenBackend& screen_;
    };

    bool KeyPressed(QObject* receiver, const QKeyEvent& event);
    bool ControlPressed(QObject* receiver, const QMouseEvent& event);
    void ControlReleased(QObject* receiver, const QMouseEvent& event);

private:
    ScreenBackend() = default;
    FormPeer& EnsureFormPeer(TForm& form);
    Peer* PeerContaining(QObject* receiver) const;
    // Takes a peer off the screen; it is deleted once no user action runs.
    void Bury(Peer& peer);
    void DeleteBuried();
    void Repaint(HWND window);

    std::unordered_map<const TControl*, Peer*> peers_;
    std::unordered_map<const QWidget*, Peer*> peersByWidget_;
    // Every form reports its hidden state from its constructor, so each one
    // is known here by its handle before it is shown.
    std::unordered_map<HWND, TForm*> forms_;
    std::vector<QPointer<QWidget>> buried_;
    int actions_ = 0;
    int quiet_ = 0;
    QPointer<Peer> pressed_;
    std::unique_ptr<QObject> inputFilter_;
    std::unique_ptr<TrayArea> tray_;

    // Reached from the board's frame thread and any thread that posts.
    std::mutex wakeLock_;
    QObject* receiver_ = nullptr;
    std::unordered_set<HWND> pendingRepaints_;
    bool wakePending_ = false;
};

}  // namespace vcl::qt
