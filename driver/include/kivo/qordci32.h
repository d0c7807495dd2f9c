// The 19 entry points of the KIVO board's driver library QORDCI32.DLL
// as the virtual board exports them: C linkage, 32-bit signed
// integers, pointer-sized window handles and pointers.
//
// Indices: connector 0 CCD, 1 VIDEO, 2 S-VIDEO; standard 0 NTSC, 1 PAL,
// 2 SECAM; picture control 0 brightness, 1 colour saturation, 2 hue,
// 3 sharpness, 4 contrast; pixel format 0 16-bit 5-5-5, 1 16-bit 5-6-5,
// 2 24-bit, 3 32-bit. Set, freeze and grab calls answer 1 when done and 0
// when refused; see docs/virtual-board.md.
#pragma once

#include "win/win.h"

#include <cstdint>

#if defined(KIVO_BUILDING_DRIVER)
#define KIVO_EXPORT __attribute__((visibility("default")))
#else
#define KIVO_EXPORT
#endif

extern "C" {

KIVO_EXPORT std::int32_t QOR_Init_32(void);
KIVO_EXPORT std::int32_t QOR_DeInit_32(std::int32_t h);
KIVO_EXPORT std::int32_t QOR_SaveIniFile_32(std::int32_t h, char* buffer);
KIVO_EXPORT std::int32_t QOR_GetIniFile_32(std::int32_t h, char* buffer);
KIVO_EXPORT std::int32_t QOR_SetActiveSource_32(std::int32_t h, std::int32_t connector);
KIVO_EXPORT std::int32_t QOR_GetActiveSource_32(std::int32_t h);
KIVO_EXPORT std::int32_t QOR_SetSourceSystem_32(std::int32_t h, std::int32_t connector, std::int32_t standard);
KIVO_EXPORT std::int32_t QOR_GetSourceSystem_32(std::int32_t h, std::int32_t connector);
KIVO_EXPORT std::int32_t QOR_SetVideoColor_32(std::int32_t h, std::int32_t control, std::int32_t value);
KIVO_EXPORT std::int32_t QOR_GetVideoColor_32(std::int32_t h, std::int32_t control, std::int32_t* value,
                                              std::int32_t* max, std::int32_t* min);
KIVO_EXPORT std::int32_t QOR_SetCurInputViewport_32(std::int32_t h, RECT* rect);
KIVO_EXPORT std::int32_t QOR_GetCurInputViewport_32(std::int32_t h, RECT* rect);
KIVO_EXPORT std::int32_t QOR_SetOutputWindow_32(std::int32_t h, HWND window, std::int32_t* x, std::int32_t* y,
                                                std::int32_t* width, std::int32_t* height);
KIVO_EXPORT std::int32_t QOR_GetOutputWindow_32(std::int32_t h, HWND* window, std::int32_t* x, std::int32_t* y,
                                                std::int32_t* width, std::int32_t* height);
KIVO_EXPORT std::int32_t QOR_Freeze_32(std::int32_t h);
KIVO_EXPORT std::int32_t QOR_UnFreeze_32(std::int32_t h);
KIVO_EXPORT std::int32_t QOR_FreezeAndGrabFrame_32(std::int32_t h, std::int32_t format);
KIVO_EXPORT std::int32_t QOR_GrabFrameToBuff_32(std::int32_t h, void* buffer, std::int32_t size);
KIVO_EXPORT std::int32_t QOR_GrabFrameToFile_32(std::int32_t h, const char* path);

}  // extern "C"
