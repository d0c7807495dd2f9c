#include "win/win.h"

#include <atomic>
#include <cstdio>

namespace win {
namespace {

POINT cursor{0, 0};

// Without a screen a message box still reaches the user, on standard error.
class TextBackend : public Backend {
public:
    int ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return IDOK;
    }
};

TextBackend textBackend;
std::atomic<Backend*> current{&textBackend};

}  // namespace

Backend* SetBackend(Backend* backend) {
    return current.exchange(backend ? backend : &textBackend);
}

Backend& CurrentBackend() { return *current.load(); }

void SetCursorPos(int x, int y) { cursor = {x, y}; }

}  // namespace win

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType) {
    return win::CurrentBackend().ShowMessageBox(hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
}

BOOL GetCursorPos(POINT* lpPoint) {
    if (!lpPoint) return FALSE;
    if (!win::CurrentBackend().CursorPosition(*lpPoint)) *lpPoint = win::cursor;
    return TRUE;
}
