#include "tray_area.h"

#include "peer.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <algorithm>

namespace vcl::qt {

namespace {

QIcon IconPicture(HICON icon) {
    win::IconPicture picture = win::IconPixels(icon);
    if (picture.width == 0 || picture.height == 0) return {};
    QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                 static_cast<qsizetype>(picture.width) * 4, QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(image.copy()));
}

// A press on the icon reaches its owner as the shell's callback message.
void Press(UINT id, QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger)
        win::PressTrayIcon(id, WM_LBUTTONDOWN);
    else if (reason == QSystemTrayIcon::Context)
        win::PressTrayIcon(id, WM_RBUTTONDOWN);
}

}  // namespace

void TrayArea::Sync() {
    std::vector<win::TrayIcon> wanted = win::TrayIcons();
    std::erase_if(shown_, [&](const Shown& shown) {
        return std::none_of(wanted.begin(), wanted.end(), [&](const win::TrayIcon& icon) {
            return icon.owner == shown.owner && icon.id == shown.id;
        });
    });
    for (const win::TrayIcon& icon : wanted) {
        auto found = std::find_if(shown_.begin(), shown_.end(),
                                  [&](const Shown& shown) { return shown.owner == icon.owner && shown.id == icon.id; });
        Shown& shown = found != shown_.end() ? *found : Add(icon);
        if (shown.icon != icon.icon) {
            shown.view->setIcon(IconPicture(icon.icon));
            shown.icon = icon.icon;
        }
        shown.view->setToolTip(ToQString(icon.tip));
        shown.view->show();
    }
}

TrayArea::Shown& TrayArea::Add(const win::TrayIcon& icon) {
    auto view = std::make_unique<QSystemTrayIcon>();
    UINT id = icon.id;
    QObject::connect(view.get(), &QSystemTrayIcon::activated,
                     [id](QSystemTrayIcon::ActivationReason reason) { Press(id, reason); });
    shown_.push_back({icon.owner, icon.id, nullptr, std::move(view)});
    return shown_.back();
}

std::vector<QSystemTrayIcon*> TrayArea::Icons() const {
    std::vector<QSystemTrayIcon*> icons;
    for (const Shown& shown : shown_) icons.push_back(shown.view.get());
    return icons;
}

}  // namespace vcl::qt
