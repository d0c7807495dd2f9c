#include "qt/shown_widgets.h"

#include "form_peer.h"
#include "screen_backend.h"
#include "tray_area.h"

namespace vcl::qt {

QWidget* PeerWidget(const TControl& control) {
    Peer* peer = ScreenBackend::Instance().PeerOf(control);
    return peer ? peer->Widget() : nullptr;
}

QWidget* ClientAreaWidget(const TForm& form) {
    FormPeer* peer = ScreenBackend::Instance().FormPeerOf(form);
    return peer ? peer->Client() : nullptr;
}

std::vector<QSystemTrayIcon*> NotificationIcons() {
    TrayArea* tray = ScreenBackend::Instance().Tray();
    return tray ? tray->Icons() : std::vector<QSystemTrayIcon*>{};
}

}  // namespace vcl::qt
