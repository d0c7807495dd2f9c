#include "windows_internal.h"

#include <algorithm>
#include <cstring>

struct HICON__ {
    win::IconPicture picture;
};

namespace win {

HICON CreateIconFromPixels(int width, int height, const std::uint32_t* pixels) {
    if (!pixels || width < 1 || height < 1 || width > 256 || height > 256) return nullptr;
    auto* icon = new HICON__{{width, height, {}}};
    icon->picture.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
    return icon;
}

IconPicture IconPixels(HICON icon) { return icon ? icon->picture : IconPicture{}; }

namespace {

std::mutex lock;
std::vector<TrayIcon> icons;

std::vector<TrayIcon>::iterator FindIcon(HWND owner, UINT id) {
    return std::find_if(icons.begin(), icons.end(),
                        [&](const TrayIcon& icon) { return icon.owner == owner && icon.id == id; });
}

void Apply(TrayIcon& icon, const NOTIFYICONDATAA& data) {
    if (data.uFlags & NIF_MESSAGE) icon.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) icon.icon = data.hIcon;
    if (data.uFlags & NIF_TIP) icon.tip.assign(data.szTip, strnlen(data.szTip, sizeof data.szTip));
}

bool Change(DWORD message, const NOTIFYICONDATAA& data) {
    std::lock_guard guard(lock);
    auto found = FindIcon(data.hWnd, data.uID);
    switch (message) {
        case NIM_ADD:
            if (found != icons.end() || !IsWindowHandle(data.hWnd)) return false;
            icons.push_back({data.hWnd, data.uID, 0, nullptr, {}});
            Apply(icons.back(), data);
            return true;
        case NIM_MODIFY:
            if (found == icons.end()) return false;
            Apply(*found, data);
            return true;
        case NIM_DELETE:
            if (found == icons.end()) return false;
            icons.erase(found);
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<TrayIcon> TrayIcons() {
    std::lock_guard guard(lock);
    return icons;
}

bool PressTrayIcon(UINT id, UINT buttonMessage) {
    TrayIcon target{};
    {
        std::lock_guard guard(lock);
        auto found = std::find_if(icons.begin(), icons.end(), [id](const TrayIcon& icon) { return icon.id == id; });
        if (found == icons.end()) return false;
        target = *found;
    }
    if (target.callbackMessage == 0) return false;
    return PostMessageA(target.owner, target.callbackMessage, target.id, static_cast<LPARAM>(buttonMessage)) == TRUE;
}

}  // namespace win

BOOL Shell_NotifyIconA(DWORD dwMessage, NOTIFYICONDATAA* lpData) {
    if (!lpData || lpData->cbSize != NOTIFYICONDATA_V1_SIZE) return FALSE;
    if (!win::Change(dwMessage, *lpData)) return FALSE;
    win::CurrentBackend().TrayIconsChanged();
    return TRUE;
}
