#include "windows_internal.h"

#include <deque>
#include <unordered_map>

namespace win::detail {
namespace {

struct Posted {
    HWND hWnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::mutex tableLock;
std::unordered_map<HWND, std::shared_ptr<Window>> windows;
std::uintptr_t nextSerial = 1;

std::mutex queueLock;
std::deque<Posted> queue;

}  // namespace

std::shared_ptr<Window> FindWindow(HWND hWnd) {
    std::lock_guard lock(tableLock);
    auto found = windows.find(hWnd);
    return found == windows.end() ? nullptr : found->second;
}

}  // namespace win::detail

namespace win {

using namespace detail;

int ClampWindowSide(int side) {
    if (side < 0) return 0;
    return side > kMaxWindowSide ? kMaxWindowSide : side;
}

HWND CreateWindowHandle(WindowProcedure procedure) {
    auto window = std::make_shared<Window>();
    window->procedure = std::move(procedure);
    std::lock_guard lock(tableLock);
    // A handle is a number never given out twice, so a stale one finds no window.
    HWND handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(nextSerial++));
    windows.emplace(handle, std::move(window));
    return handle;
}

void DestroyWindowHandle(HWND hWnd) {
    {
        std::lock_guard lock(tableLock);
        if (windows.erase(hWnd) == 0) return;
    }
    {
        std::lock_guard lock(queueLock);
        std::erase_if(queue, [hWnd](const Posted& p) { return p.hWnd == hWnd; });
    }
}

bool IsWindowHandle(HWND hWnd) { return FindWindow(hWnd) != nullptr; }

int DispatchPostedMessages() {
    std::deque<Posted> batch;
    {
        std::lock_guard lock(queueLock);
        batch.swap(queue);
    }
    for (const Posted& p : batch) SendMessageA(p.hWnd, p.msg, p.wParam, p.lParam);
    return static_cast<int>(batch.size());
}

bool HasPostedMessages() {
    std::lock_guard lock(queueLock);
    return !queue.empty();
}

}  // namespace win

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!win::IsWindowHandle(hWnd)) return FALSE;
    {
        std::lock_guard lock(win::detail::queueLock);
        win::detail::queue.push_back({hWnd, Msg, wParam, lParam});
    }
    win::CurrentBackend().MessagePosted();
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto window = win::detail::FindWindow(hWnd);
    if (!window || !window->procedure) return 0;
    // A copy, so the procedure may destroy its own window.
    win::WindowProcedure procedure = window->procedure;
    return procedure(Msg, wParam, lParam);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    auto window = win::detail::FindWindow(hWnd);
    if (!window) return FALSE;
    bool wasVisible = window->visible;
    window->visible = nCmdShow != SW_HIDE;
    if (wasVisible != window->visible) win::CurrentBackend().WindowShown(hWnd, window->visible);
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd) {
    auto window = win::detail::FindWindow(hWnd);
    return window && window->visible ? TRUE : FALSE;
}
