// The board controller: the one object through which the program reaches the
// capture board, by way of the driver library QORDCI32.DLL loaded at run time.
#pragma once

#include "win/win.h"

#include <cstdint>

// The driver's entry points, in the order they are looked up.
extern "C" {
using QOR_Init_32_t = std::int32_t (*)();
using QOR_DeInit_32_t = std::int32_t (*)(std::int32_t board);
using QOR_SaveIniFile_32_t = std::int32_t (*)(std::int32_t board, char* iniName);
using QOR_GetIniFile_32_t = std::int32_t (*)(std::int32_t board, char* iniName);
using QOR_SetActiveSource_32_t = std::int32_t (*)(std::int32_t board, std::int32_t connector);
using QOR_GetActiveSource_32_t = std::int32_t (*)(std::int32_t board);
using QOR_SetSourceSystem_32_t = std::int32_t (*)(std::int32_t board, std::int32_t connector, std::int32_t standard);
using QOR_GetSourceSystem_32_t = std::int32_t (*)(std::int32_t board, std::int32_t connector);
using QOR_SetVideoColor_32_t = std::int32_t (*)(std::int32_t board, std::int32_t control, std::int32_t value);
using QOR_GetVideoColor_32_t = std::int32_t (*)(std::int32_t board, std::int32_t control, std::int32_t* value,
                                                std::int32_t* max, std::int32_t* min);
using QOR_SetCurInputViewport_32_t = std::int32_t (*)(std::int32_t board, RECT* rect);
using QOR_GetCurInputViewport_32_t = std::int32_t (*)(std::int32_t board, RECT* rect);
using QOR_SetOutputWindow_32_t = std::int32_t (*)(std::int32_t board, HWND window, std::int32_t* x, std::int32_t* y,
                                                  std::int32_t* width, std::int32_t* height);
using QOR_GetOutputWindow_32_t = std::int32_t (*)(std::int32_t board, HWND* window, std::int32_t* x, std::int32_t* y,
                                                  std::int32_t* width, std::int32_t* height);
using QOR_Freeze_32_t = std::int32_t (*)(std::int32_t board);
using QOR_UnFreeze_32_t = std::int32_t (*)(std::int32_t board);
using QOR_FreezeAndGrabFrame_32_t = std::int32_t (*)(std::int32_t board, std::int32_t format);
using QOR_GrabFrameToBuff_32_t = std::int32_t (*)(std::int32_t board, void* buffer, std::int32_t size);
using QOR_GrabFrameToFile_32_t = std::int32_t (*)(std::int32_t board, const char* path);
}

class KIVODLL {
public:
    KIVODLL();
    ~KIVODLL();
    KIVODLL(const KIVODLL&) = delete;
    KIVODLL& operator=(const KIVODLL&) = delete;

    // Loads the library, opens the board and reads its settings; on failure
    // shows why and returns 0.
    int Open();
    int IsOpen();

    void SetVideoColor(int index, int value);
    void GetVideoColor(int index, int& value, int& min, int& max);
    void RefreshVideoColor(int index);
    int GetActiveSource();
    void SetActiveSource(int connector);
    int GetSourceSystem();
    void SetSourceSystem(int standard);
    void SetFrameFormat(int format);
    void GetInputViewport(int& x, int& y, int& width, int& height);
    void SetInputViewport(int x, int y, int width, int height);
    void SetOutputWindow(HWND window, int x, int y, int width, int height);
    void ToggleFreeze();
    void UnFreeze();
    void GrabToFile(const char* path);

private:
    int ResolveEntryPoints();
    void ReportError(const char* message, const char* detail, int code);

    struct Color {
        std::int32_t value, max, min;
    };

public:
    // The controller's state, in the order the board's design declares it.
    std::int32_t iniLoaded;
    char iniName[128];
    HMODULE hLibrary;
    std::int32_t hBoard;
    std::int32_t frozen;
    RECT inputRect;
    std::int32_t outX, outY, outWidth, outHeight;
    std::int32_t sourceSystem;
    std::int32_t frameFormat;
    std::int32_t activeSource;
    Color colors[5];

    QOR_Init_32_t QOR_Init_32;
    QOR_DeInit_32_t QOR_DeInit_32;
    QOR_SaveIniFile_32_t QOR_SaveIniFile_32;
    QOR_GetIniFile_32_t QOR_GetIniFile_32;
    QOR_SetActiveSource_32_t QOR_SetActiveSource_32;
    QOR_GetActiveSource_32_t QOR_GetActiveSource_32;
    QOR_SetSourceSystem_32_t QOR_SetSourceSystem_32;
    QOR_GetSourceSystem_32_t QOR_GetSourceSystem_32;
    QOR_SetVideoColor_32_t QOR_SetVideoColor_32;
    QOR_GetVideoColor_32_t QOR_GetVideoColor_32;
    QOR_SetCurInputViewport_32_t QOR_SetCurInputViewport_32;
    QOR_GetCurInputViewport_32_t QOR_GetCurInputViewport_32;
    QOR_SetOutputWindow_32_t QOR_SetOutputWindow_32;
    QOR_GetOutputWindow_32_t QOR_GetOutputWindow_32;
    QOR_Freeze_32_t QOR_Freeze_32;
    QOR_UnFreeze_32_t QOR_UnFreeze_32;
    QOR_FreezeAndGrabFrame_32_t QOR_FreezeAndGrabFrame_32;
    QOR_GrabFrameToBuff_32_t QOR_GrabFrameToBuff_32;
    QOR_GrabFrameToFile_32_t QOR_GrabFrameToFile_32;
};

// The board's index vocabularies.
constexpr int kConnectorCount = 3;   // 0 CCD, 1 VIDEO, 2 S-VIDEO
constexpr int kStandardCount = 3;    // 0 NTSC, 1 PAL, 2 SECAM
constexpr int kColorCount = 5;       // brightness, saturation, hue, sharpness, contrast
constexpr int kFrameFormatCount = 4; // RGB 15, 16, 24, 32 bits
