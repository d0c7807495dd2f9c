// The notification icons the program added, as system tray icons.
#pragma once

#include "win/win.h"

#include <QSystemTrayIcon>

#include <memory>
#include <vector>

namespace vcl::qt {

class TrayArea {
public:
    // Shows the icons the system API holds now, and only those.
    void Sync();
    std::vector<QSystemTrayIcon*> Icons() const;

private:
    struct Shown {
        HWND owner;
        UINT id;
        HICON icon;
        std::unique_ptr<QSystemTrayIcon> view;
    };
    Shown& Add(const win::TrayIcon& icon);
    std::vector<Shown> shown_;
};

}  // namespace vcl::qt
