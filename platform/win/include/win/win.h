// The system API DUVEZ and the board's library stand on: window handles and
// messages, message boxes, formatting, dynamic libraries, the notification
// icon, window visibility, the cursor and device contexts.
//
// The calls carry the names and argument shapes the program expects of a
// desktop system; the `win` namespace holds what a backend or a test needs
// beyond them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using BOOL = std::int32_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct HWND__;
using HWND = HWND__*;
struct HDC__;
using HDC = HDC__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HICON__;
using HICON = HICON__*;
using FARPROC = void (*)();

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct RECT {
    LONG left, top, right, bottom;
};

struct POINT {
    LONG x, y;
};

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_USER = 0x0400;

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessage(HWND h, UINT m, WPARAM w, LPARAM l) { return PostMessageA(h, m, w, l); }
inline LRESULT SendMessage(HWND h, UINT m, WPARAM w, LPARAM l) { return SendMessageA(h, m, w, l); }

// Message boxes.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_ICONERROR = 0x0010;
constexpr UINT MB_ICONSTOP = MB_ICONERROR;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType);

// Formats %s, %d, %i, %u, %x, %X, %c and %% with flags and width; writes at
// most 1024 bytes including the terminating NUL and returns the length.
int wsprintfA(char* buffer, const char* format, ...);

// Dynamic libraries.
HMODULE LoadLibraryA(const char* lpLibFileName);
FARPROC GetProcAddress(HMODULE hModule, const char* lpProcName);
BOOL FreeLibrary(HMODULE hLibModule);

// The notification icon, in its first, 88-byte version.
constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 1;
constexpr UINT NIF_ICON = 2;
constexpr UINT NIF_TIP = 4;
// The first version's size as the 32-bit system lays the record out; cbSize
// carries it on every build so the record says which version it is.
constexpr DWORD NOTIFYICONDATA_V1_SIZE = 88;

struct NOTIFYICONDATAA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[64];
};

BOOL Shell_NotifyIconA(DWORD dwMessage, NOTIFYICONDATAA* lpData);

// Visibility.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL IsWindowVisible(HWND hWnd);

BOOL GetCursorPos(POINT* lpPoint);

// Device contexts and device-independent bitmaps.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: rows bottom-up; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[3];  // room for the three masks of BI_BITFIELDS
};

static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAPINFOHEADER) == 40);

HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
// Paints a 24- or 32-bit uncompressed bitmap into the window's surface,
// scaled from the source rectangle to the destination rectangle and clipped
// to the client area. The source rectangle's ySrc counts rows from the
// picture's top. Returns the number of scan lines painted, 0 on failure.
int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                  int SrcWidth, int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                  DWORD rop);

namespace win {

// Sizes of a window side are held in 0..kMaxWindowSide.
constexpr int kMaxWindowSide = 16384;
int ClampWindowSide(int side);

// A window's procedure: the owner receives every message sent or posted to
// its handle on the thread that pumps messages.
using WindowProcedure = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;
HWND CreateWindowHandle(WindowProcedure procedure);
void DestroyWindowHandle(HWND hWnd);
bool IsWindowHandle(HWND hWnd);

// Delivers the messages posted so far, in order; returns how many.
int DispatchPostedMessages();
bool HasPostedMessages();

// The client surface of a window: what device contexts paint into.
void SetClientSize(HWND hWnd, int width, int height);
struct SurfaceView {
    const std::uint32_t* pixels;  // 0x..RRGGBB (top byte unused), rows top first
    int width;
    int height;
    std::uint64_t generation;  // grows with every change: a paint or a resize
};
// Calls `reader` with the surface under its lock; `pixels` is null while
// nothing has been painted. The reader must not keep the pointer.
void ReadSurface(HWND hWnd, const std::function<void(const SurfaceView&)>& reader);

// Modules registered in-process stand in for library files of that name.
using ModuleTable = std::vector<std::pair<std::string, FARPROC>>;
void RegisterModule(const std::string& name, ModuleTable functions);
void UnregisterModule(const std::string& name);
// The executable's path decides the folders searched first for a library:
// its own folder, then its private library folder.
void SetExecutablePath(const std::string& path);
std::string ExecutablePath();

// Where the program's files stand. Installed, DUVEZ is laid out as
//   <prefix>/bin/DUVEZ
//   <prefix>/lib/duvez/libduvez_win.so and QORDCI32.DLL (its private library folder)
// and a file counts as installed when it stands in that layout. Anywhere else
// (a build folder, a copied folder) the program and the board keep their
// settings beside themselves; installed, in the user's settings folder.
constexpr const char* kSystemLibraryName = "libduvez_win.so";
// "<the executable's folder>/../lib/duvez/"
std::string PrivateLibraryFolder(const std::string& executablePath);
// Its private library folder holds the system-API library.
bool IsInstalledExecutable(const std::string& executablePath);
// It stands in a folder named lib/duvez that holds the system-API library.
bool IsInstalledLibrary(const std::string& libraryPath);

// Reads one environment variable: null when it is not set.
using Environment = std::function<const char*(const char*)>;
const char* ProcessEnvironment(const char* name);
// "<config>/DUVEZ", where an installed DUVEZ and its board keep their settings.
// The config folder is $XDG_CONFIG_HOME when that is absolute (a relative value
// does not count), else <home>/.config; the home is $HOME when that is
// absolute, else the account's home folder, else "/".
std::string UserSettingsFolder(const Environment& environment = ProcessEnvironment);
// Creates `folder` and each missing folder above it, for its user alone
// (mode 0700). True when `folder` is a folder afterwards.
bool CreateFolders(const std::string& folder);

// Icons: a small picture of 0xAARRGGBB pixels, rows top first; alpha 0 is clear.
HICON CreateIconFromPixels(int width, int height, const std::uint32_t* pixels);
struct IconPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
IconPicture IconPixels(HICON icon);

// The icons in the notification area.
struct TrayIcon {
    HWND owner;
    UINT id;
    UINT callbackMessage;
    HICON icon;
    std::string tip;
};
std::vector<TrayIcon> TrayIcons();
// A press on the icon with the given button message (WM_LBUTTONDOWN, ...):
// posts the icon's callback message to its owner, as the shell does.
bool PressTrayIcon(UINT id, UINT buttonMessage);

void SetCursorPos(int x, int y);

// What a screen does for the system API. Every call but the surface and
// wake-up notices comes on the GUI thread.
class Backend {
public:
    virtual ~Backend() = default;
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    virtual void TrayIconsChanged() {}
    virtual void WindowShown(HWND, bool) {}
    // From any thread: a message was posted; a waiting loop should wake.
    virtual void MessagePosted() {}
    // From any thread: the window's surface has a new picture.
    virtual void SurfacePainted(HWND) {}
    virtual bool CursorPosition(POINT&) { return false; }
};
// Installs the backend (null: the built-in one, which writes message boxes
// to standard error and answers OK). Returns the previous one.
Backend* SetBackend(Backend* backend);
Backend& CurrentBackend();

}  // namespace win
