#include "win/win.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

NOTIFYICONDATAA Record(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = 88;
    data.hWnd = window;
    data.uID = 210;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_USER + 1;
    std::strcpy(data.szTip, "DUVEZ");
    return data;
}

}  // namespace

TEST(NotifyIcon, AddPressAndDeleteTheIcon) {
    std::vector<std::pair<UINT, LPARAM>> received;
    HWND window = win::CreateWindowHandle([&](UINT msg, WPARAM wParam, LPARAM lParam) {
        EXPECT_EQ(wParam, 210u);
        received.emplace_back(msg, lParam);
        return LRESULT{0};
    });
    NOTIFYICONDATAA data = Record(window);
    ASSERT_EQ(Shell_NotifyIconA(NIM_ADD, &data), TRUE);
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &data), FALSE);  // one icon per window and id
    auto icons = win::TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].tip, "DUVEZ");
    EXPECT_EQ(icons[0].callbackMessage, 1025u);

    EXPECT_TRUE(win::PressTrayIcon(210, WM_RBUTTONDOWN));
    EXPECT_TRUE(win::PressTrayIcon(210, WM_LBUTTONDOWN));
    win::DispatchPostedMessages();
    EXPECT_EQ(received, (std::vector<std::pair<UINT, LPARAM>>{{1025u, 516}, {1025u, 513}}));

    NOTIFYICONDATAA removal{};
    removal.cbSize = 88;
    removal.hWnd = window;
    removal.uID = 210;
    EXPECT_EQ(Shell_NotifyIconA(NIM_DELETE, &removal), TRUE);
    EXPECT_TRUE(win::TrayIcons().empty());
    EXPECT_FALSE(win::PressTrayIcon(210, WM_LBUTTONDOWN));
    win::DestroyWindowHandle(window);
}

TEST(NotifyIcon, RefusesARecordOfAnotherSizeOrNone) {
    HWND window = win::CreateWindowHandle({});
    NOTIFYICONDATAA data = Record(window);
    data.cbSize = 96;
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &data), FALSE);
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, nullptr), FALSE);
    data = Record(nullptr);
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &data), FALSE);
    EXPECT_TRUE(win::TrayIcons().empty());
    win::DestroyWindowHandle(window);
}

TEST(NotifyIcon, TheTipIsReadWithinItsFieldEvenWithoutATerminator) {
    HWND window = win::CreateWindowHandle({});
    NOTIFYICONDATAA data = Record(window);
    std::memset(data.szTip, 'x', sizeof data.szTip);
    ASSERT_EQ(Shell_NotifyIconA(NIM_ADD, &data), TRUE);
    EXPECT_EQ(win::TrayIcons().at(0).tip, std::string(64, 'x'));
    data.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
    win::DestroyWindowHandle(window);
}
