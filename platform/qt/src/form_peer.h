// A form on the screen: a top-level window whose client area holds the
// form's controls and shows what was painted into the form's surface.
#pragma once

#include "peer.h"
#include "vcl/forms.h"

class QMouseEvent;

namespace vcl::qt {

class FormPeer;

class FormWindow : public QWidget {
public:
    explicit FormWindow(FormPeer& owner);
    // The dialog frame a borderless form draws around its client area.
    int frame = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FormPeer& owner_;
};

class ClientArea : public QWidget {
public:
    ClientArea(FormPeer& owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    FormPeer& owner_;
};

class FormPeer : public Peer {
public:
    FormPeer(ScreenBackend& screen, TForm& form);

    // Only while the form is there.
    TForm& Form() const { return static_cast<TForm&>(*Control()); }
    // The form's window handle, also once the form is gone.
    HWND Handle() const { return handle_; }
    QWidget* Container() const override { return client_; }
    QWidget* FocusTarget() const override { return client_; }
    ClientArea* Client() const { return client_; }
    QColor Background() const;

    void Show();
    void Hide();
    void CloseBox();

    // The mouse on the client area, as the form's mouse events.
    void Press(const QMouseEvent& event);
    void DoublePress(const QMouseEvent& event);
    void Move(const QMouseEvent& event);
    void Release(const QMouseEvent& event);

protected:
    void MirrorGeometry() override;
    // The system's ShowWindow shows and hides a form.
    void MirrorVisibility() override {}
    void MirrorContent() override;

private:
    bool Decorated() const { return Form().BorderStyle != bsNone; }
    void ApplyWindowFlags();
    QPoint ClientPoint(const QMouseEvent& event) const;

    FormWindow* window_;
    ClientArea* client_;
    HWND handle_;
    // Client coordinates start here inside the window.
    QPoint clientOrigin_;
    bool doublePressed_ = false;  // the left button went down for a double click
};

}  // namespace vcl::qt
