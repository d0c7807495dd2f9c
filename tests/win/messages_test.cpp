#include "win/win.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Received {
    std::vector<std::pair<WPARAM, LPARAM>> messages;
};

HWND Recorder(Received& received) {
    return win::CreateWindowHandle([&received](UINT, WPARAM w, LPARAM l) {
        received.messages.emplace_back(w, l);
        return static_cast<LRESULT>(l * 2);
    });
}

}  // namespace

TEST(Messages, PostedFromManyThreadsArriveWholeAndInEachThreadsOrder) {
    Received received;
    HWND window = Recorder(received);
    constexpr int kThreads = 4, kEach = 2000;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t)
        posters.emplace_back([=] {
            for (int i = 0; i < kEach; ++i) PostMessageA(window, WM_USER, static_cast<WPARAM>(t), i);
        });
    for (auto& poster : posters) poster.join();
    EXPECT_EQ(win::DispatchPostedMessages(), kThreads * kEach);

    std::vector<LPARAM> last(kThreads, -1);
    for (auto [thread, index] : received.messages) {
        EXPECT_EQ(index, last[thread] + 1);
        last[thread] = index;
    }
    EXPECT_EQ(received.messages.size(), static_cast<std::size_t>(kThreads * kEach));
    win::DestroyWindowHandle(window);
}

TEST(Messages, SendDeliversAtOnceAndAGoneWindowGetsNothing) {
    Received received;
    HWND window = Recorder(received);
    EXPECT_EQ(SendMessageA(window, WM_USER, 1, 21), 42);
    ASSERT_EQ(received.messages.size(), 1u);

    EXPECT_EQ(PostMessageA(window, WM_USER, 2, 0), TRUE);
    win::DestroyWindowHandle(window);
    EXPECT_EQ(win::DispatchPostedMessages(), 0);
    EXPECT_EQ(PostMessageA(window, WM_USER, 3, 0), FALSE);
    EXPECT_EQ(PostMessageA(nullptr, WM_USER, 3, 0), FALSE);
    EXPECT_EQ(SendMessageA(window, WM_USER, 4, 0), 0);
    EXPECT_EQ(received.messages.size(), 1u);
}

TEST(Messages, AHandleIsNeverGivenOutTwice) {
    HWND first = win::CreateWindowHandle({});
    win::DestroyWindowHandle(first);
    HWND second = win::CreateWindowHandle({});
    EXPECT_NE(first, second);
    EXPECT_FALSE(win::IsWindowHandle(first));
    EXPECT_EQ(GetDC(first), nullptr);
    win::DestroyWindowHandle(second);
}

TEST(Messages, ShowWindowTellsWhetherTheWindowWasVisible) {
    HWND window = win::CreateWindowHandle({});
    EXPECT_EQ(IsWindowVisible(window), FALSE);
    EXPECT_EQ(ShowWindow(window, SW_SHOW), FALSE);
    EXPECT_EQ(IsWindowVisible(window), TRUE);
    EXPECT_EQ(ShowWindow(window, SW_HIDE), TRUE);
    EXPECT_EQ(IsWindowVisible(window), FALSE);
    win::DestroyWindowHandle(window);
}

TEST(MessageBox, ANullCaptionShowsTheSystemsDefaultCaption) {
    struct Recording : win::Backend {
        std::vector<std::string> shown;
        int ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT) override {
            shown.push_back(caption + "|" + text);
            return IDOK;
        }
    } recording;
    win::Backend* previous = win::SetBackend(&recording);
    EXPECT_EQ(MessageBoxA(nullptr, "ライブラリが見つかりません [QORDCI32.DLL](0)", nullptr, MB_OK), IDOK);
    MessageBoxA(nullptr, "text", "DUVEZ", MB_OK);
    win::SetBackend(previous);
    EXPECT_EQ(recording.shown,
              (std::vector<std::string>{"Error|ライブラリが見つかりません [QORDCI32.DLL](0)", "DUVEZ|text"}));
}

TEST(Cursor, ReadsThePositionTheScreenReports) {
    win::SetCursorPos(640, 300);
    POINT point{};
    EXPECT_EQ(GetCursorPos(&point), TRUE);
    EXPECT_EQ(point.x, 640);
    EXPECT_EQ(point.y, 300);
    EXPECT_EQ(GetCursorPos(nullptr), FALSE);
}
