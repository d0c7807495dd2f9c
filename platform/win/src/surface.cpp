#include "windows_internal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

struct HDC__ {
    HWND hWnd;
};

namespace win {
namespace {

// The part of a client area that takes a picture; the rest stays unpainted,
// so no paint, however large its rectangle, allocates more than this.
constexpr int kMaxSurfaceSide = 4096;

struct Source {
    const BYTE* bits;
    int width;
    int height;
    int bytesPerPixel;
    std::size_t stride;
    bool bottomUp;

    const BYTE* Row(int y) const { return bits + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y); }
};

bool HasStandardMasks(const BITMAPINFO& info) {
    auto mask = [&](int i) {
        DWORD m;
        std::memcpy(&m, &info.bmiColors[i], sizeof m);
        return m;
    };
    return mask(0) == 0x00FF0000 && mask(1) == 0x0000FF00 && mask(2) == 0x000000FF;
}

bool ReadSource(const void* bits, const BITMAPINFO* info, Source& source) {
    if (!bits || !info) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1) return false;
    bool rgb = h.biCompression == BI_RGB && (h.biBitCount == 24 || h.biBitCount == 32);
    bool masked = h.biCompression == BI_BITFIELDS && h.biBitCount == 32 && HasStandardMasks(*info);
    if (!rgb && !masked) return false;
    long width = h.biWidth;
    long height = std::labs(static_cast<long>(h.biHeight));
    if (width < 1 || width > kMaxWindowSide || height < 1 || height > kMaxWindowSide) return false;
    source.bits = static_cast<const BYTE*>(bits);
    source.width = static_cast<int>(width);
    source.height = static_cast<int>(height);
    source.bytesPerPixel = h.biBitCount / 8;
    source.stride = (static_cast<std::size_t>(width) * h.biBitCount + 31) / 32 * 4;
    source.bottomUp = h.biHeight > 0;
    return true;
}

std::uint32_t PixelAt(const BYTE* row, int x, int bytesPerPixel) {
    const BYTE* p = row + static_cast<std::size_t>(x) * bytesPerPixel;
    return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

// Grows the surface to cover `right` x `bottom`, keeping what it shows.
void Cover(detail::Window& w, int right, int bottom) {
    if (right <= w.surfaceWidth && bottom <= w.surfaceHeight) return;
    int width = std::max(right, w.surfaceWidth);
    int height = std::max(bottom, w.surfaceHeight);
    std::vector<std::uint32_t> grown(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < w.surfaceHeight; ++y)
        std::copy_n(w.pixels.begin() + static_cast<std::ptrdiff_t>(y) * w.surfaceWidth, w.surfaceWidth,
                    grown.begin() + static_cast<std::ptrdiff_t>(y) * width);
    w.pixels.swap(grown);
    w.surfaceWidth = width;
    w.surfaceHeight = height;
}

}  // namespace

void SetClientSize(HWND hWnd, int width, int height) {
    auto window = detail::FindWindow(hWnd);
    if (!window) return;
    {
        std::lock_guard guard(window->surfaceLock);
        width = ClampWindowSide(width);
        height = ClampWindowSide(height);
        if (width == window->clientWidth && height == window->clientHeight) return;
        window->clientWidth = width;
        window->clientHeight = height;
        // A resized window shows nothing until it is painted again.
        window->pixels.clear();
        window->surfaceWidth = window->surfaceHeight = 0;
        ++window->generation;
    }
    CurrentBackend().SurfacePainted(hWnd);
}

void ReadSurface(HWND hWnd, const std::function<void(const SurfaceView&)>& reader) {
    auto window = detail::FindWindow(hWnd);
    if (!window) {
        reader({nullptr, 0, 0, 0});
        return;
    }
    std::lock_guard guard(window->surfaceLock);
    const std::uint32_t* pixels = window->pixels.empty() ? nullptr : window->pixels.data();
    reader({pixels, window->surfaceWidth, window->surfaceHeight, window->generation});
}

}  // namespace win

HDC GetDC(HWND hWnd) {
    if (!win::IsWindowHandle(hWnd)) return nullptr;
    return new HDC__{hWnd};
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    if (!hDC || hDC->hWnd != hWnd) return 0;
    delete hDC;
    return 1;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc, int SrcWidth,
                  int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop) {
    using win::kMaxWindowSide;
    if (!hdc || iUsage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
    win::Source source{};
    if (!win::ReadSource(lpBits, lpbmi, source)) return 0;
    if (DestWidth < 1 || DestHeight < 1 || DestWidth > kMaxWindowSide || DestHeight > kMaxWindowSide) return 0;
    if (SrcWidth < 1 || SrcHeight < 1 || xSrc < 0 || ySrc < 0 || xSrc > source.width - SrcWidth ||
        ySrc > source.height - SrcHeight)
        return 0;
    if (std::abs(xDest) > kMaxWindowSide || std::abs(yDest) > kMaxWindowSide) return 0;
    auto window = win::detail::FindWindow(hdc->hWnd);
    if (!window) return 0;

    int painted = 0;
    {
        std::lock_guard guard(window->surfaceLock);
        int right = std::min({xDest + DestWidth, window->clientWidth, win::kMaxSurfaceSide});
        int bottom = std::min({yDest + DestHeight, window->clientHeight, win::kMaxSurfaceSide});
        int left = std::max(xDest, 0);
        int top = std::max(yDest, 0);
        if (left >= right || top >= bottom) return 0;
        win::Cover(*window, right, bottom);

        std::vector<int> column(static_cast<std::size_t>(right - left));
        for (int x = left; x < right; ++x)
            column[static_cast<std::size_t>(x - left)] =
                xSrc + static_cast<int>(static_cast<long long>(x - xDest) * SrcWidth / DestWidth);
        bool straight = source.bytesPerPixel == 4 && SrcWidth == DestWidth;
        for (int y = top; y < bottom; ++y) {
            int sy = ySrc + static_cast<int>(static_cast<long long>(y - yDest) * SrcHeight / DestHeight);
            const BYTE* row = source.Row(sy);
            std::uint32_t* out = window->pixels.data() + static_cast<std::size_t>(y) * window->surfaceWidth + left;
            if (straight) {
                // Same width, 32 bits: the row goes across as it is (its top byte is unused).
                std::memcpy(out, row + static_cast<std::size_t>(column[0]) * 4,
                            static_cast<std::size_t>(right - left) * 4);
            } else {
                for (int x = left; x < right; ++x)
                    out[x - left] = win::PixelAt(row, column[static_cast<std::size_t>(x - left)], source.bytesPerPixel);
            }
        }
        painted = bottom - top;
        ++window->generation;
    }
    win::CurrentBackend().SurfacePainted(hdc->hWnd);
    return painted;
}
