#include "form_peer.h"

#include "screen_backend.h"
#include "vcl/input.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <qdrawutil.h>

namespace vcl::qt {

namespace {

// A window is never shown larger than the whole desktop: a bigger one would
// show nothing more and cost a backing store of its full size.
QSize Shown(QSize size) {
    QSize desktop = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->virtualSize() : size;
    return size.boundedTo(desktop.expandedTo(QSize(1, 1))).expandedTo(QSize(1, 1));
}

// The desktop's colour, shown where nothing was painted on a form of that colour.
const QColor kDesktopColour(0x3A, 0x6E, 0xA5);

bool ButtonOf(Qt::MouseButton qtButton, TMouseButton& button) {
    switch (qtButton) {
        case Qt::LeftButton:
            button = mbLeft;
            return true;
        case Qt::RightButton:
            button = mbRight;
            return true;
        case Qt::MiddleButton:
            button = mbMiddle;
            return true;
        default:
            return false;
    }
}

}  // namespace

FormWindow::FormWindow(FormPeer& owner) : owner_(owner) {}

void FormWindow::paintEvent(QPaintEvent*) {
    if (frame <= 0) return;
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The model decides: the main form ends the program, another one hides.
    event->ignore();
    owner_.CloseBox();
}

ClientArea::ClientArea(FormPeer& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    // Every pixel is painted here, from the surface or in the form's colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The form hears the mouse move also while no button is down.
    setMouseTracking(true);
}

void ClientArea::paintEvent(QPaintEvent*) {
    if (!owner_.Control()) return;
    QPainter painter(this);
    QRect painted;
    // The picture is drawn straight from the surface, under its lock.
    win::ReadSurface(owner_.Handle(), [&](const win::SurfaceView& view) {
        if (!view.pixels) return;
        QImage picture(reinterpret_cast<const uchar*>(view.pixels), view.width, view.height,
                       static_cast<qsizetype>(view.width) * 4, QImage::Format_RGB32);
        painter.drawImage(0, 0, picture);
        painted = QRect(0, 0, view.width, view.height);
    });
    QColor background = owner_.Background();
    for (const QRect& rest : QRegion(rect()).subtracted(painted)) painter.fillRect(rest, background);
}

void ClientArea::mousePressEvent(QMouseEvent* event) { owner_.Press(*event); }

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) { owner_.DoublePress(*event); }

void ClientArea::mouseMoveEvent(QMouseEvent* event) { owner_.Move(*event); }

void ClientArea::mouseReleaseEvent(QMouseEvent* event) { owner_.Release(*event); }

FormPeer::FormPeer(ScreenBackend& screen, TForm& form)
    : Peer(screen, form, new FormWindow(*this)),
      window_(static_cast<FormWindow*>(Widget())),
      client_(new ClientArea(*this, window_)),
      handle_(form.Handle()) {}

QColor FormPeer::Background() const {
    if (Control() && Form().Color == clBackground) return kDesktopColour;
    return client_->palette().color(QPalette::Window);
}

void FormPeer::Show() {
    ApplyWindowFlags();
    MirrorAll();
    window_->setWindowModality(Form().Modal() ? Qt::ApplicationModal : Qt::NonModal);
    window_->show();
    window_->raise();
    window_->activateWindow();
    Screen().ApplyFocus(Form());
}

void FormPeer::Hide() {
    window_->hide();
    window_->setWindowModality(Qt::NonModal);
}

void FormPeer::CloseBox() {
    Act([this] { input::CloseBox(Form()); });
}

// No form gets a taskbar button: each is a tool window. A borderless form
// draws its own frame; the others get the window manager's title bar and
// close box, at a fixed size.
void FormPeer::ApplyWindowFlags() {
    Qt::WindowFlags flags = Qt::Tool;
    if (Decorated())
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    else
        flags |= Qt::FramelessWindowHint;
    if (Form().FormStyle == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (window_->windowFlags() != flags) window_->setWindowFlags(flags);
}

void FormPeer::MirrorGeometry() {
    const TForm& form = Form();
    QSize client(form.ClientWidth(), form.ClientHeight());
    if (Decorated()) {
        window_->frame = 0;
        clientOrigin_ = QPoint(0, 0);
        window_->setFixedSize(Shown(client));
    } else {
        window_->frame = form.FrameSize();
        clientOrigin_ = QPoint(form.FrameSize(), form.FrameSize() + form.CaptionHeight());
        window_->setFixedSize(Shown(QSize(form.Width(), form.Height())));
    }
    client_->setGeometry(QRect(clientOrigin_, client));
    // The outer top-left, frame included, stands at Left, Top.
    window_->move(form.Left(), form.Top());
}

void FormPeer::MirrorContent() {
    window_->setWindowTitle(ToQString(Form().Caption()));
    window_->setCursor(Form().Cursor == crCross ? Qt::CrossCursor : Qt::ArrowCursor);
}

// A borderless window is where the form says it is: measuring from there
// keeps a dragged window's point under the cursor while the window manager
// has not moved it yet.
QPoint FormPeer::ClientPoint(const QMouseEvent& event) const {
    if (Decorated()) return event.position().toPoint();
    return event.globalPosition().toPoint() - QPoint(Form().Left(), Form().Top()) - clientOrigin_;
}

void FormPeer::Press(const QMouseEvent& event) {
    TMouseButton button;
    doublePressed_ = false;
    if (!Control() || !ButtonOf(event.button(), button)) return;
    QPoint at = ClientPoint(event);
    Act([this, button, at] { input::MouseDown(Form(), button, at.x(), at.y()); });
}

void FormPeer::DoublePress(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        Press(event);
        return;
    }
    if (!Control()) return;
    QPoint at = ClientPoint(event);
    Act([this, at] { input::DoublePress(Form(), at.x(), at.y()); });
    doublePressed_ = true;
}

void FormPeer::Move(const QMouseEvent& event) {
    if (!Control()) return;
    QPoint at = ClientPoint(event);
    Act([this, at] { input::MouseMove(Form(), at.x(), at.y()); });
}

void FormPeer::Release(const QMouseEvent& event) {
    TMouseButton button;
    if (!Control() || !ButtonOf(event.button(), button)) return;
    QPoint at = ClientPoint(event);
    Act([this, button, at] { input::MouseUp(Form(), button, at.x(), at.y()); });
    // The release of a double click's second press clicks nothing more.
    bool second = button == mbLeft && doublePressed_;
    if (button == mbLeft) doublePressed_ = false;
    if (button == mbLeft && !second && client_->rect().contains(event.position().toPoint()))
        Act([this] { input::Click(Form()); });
}

}  // namespace vcl::qt
