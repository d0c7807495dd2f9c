#include "kivodll.h"

#include <cstring>

namespace {

constexpr const char* kLibraryName = "QORDCI32.DLL";
constexpr std::int32_t kNoBoard = -16;

bool InRange(int index, int count) { return index >= 0 && index < count; }

}  // namespace

KIVODLL::KIVODLL()
    : iniLoaded(0),
      iniName{},
      hLibrary(nullptr),
      hBoard(kNoBoard),
      frozen(0),
      inputRect{},
      outX(0),
      outY(0),
      outWidth(0),
      outHeight(0),
      sourceSystem(0),
      frameFormat(2),  // 24-bit until the settings window chooses
      activeSource(0),
      colors{},
      QOR_Init_32(nullptr),
      QOR_DeInit_32(nullptr),
      QOR_SaveIniFile_32(nullptr),
      QOR_GetIniFile_32(nullptr),
      QOR_SetActiveSource_32(nullptr),
      QOR_GetActiveSource_32(nullptr),
      QOR_SetSourceSystem_32(nullptr),
      QOR_GetSourceSystem_32(nullptr),
      QOR_SetVideoColor_32(nullptr),
      QOR_GetVideoColor_32(nullptr),
      QOR_SetCurInputViewport_32(nullptr),
      QOR_GetCurInputViewport_32(nullptr),
      QOR_SetOutputWindow_32(nullptr),
      QOR_GetOutputWindow_32(nullptr),
      QOR_Freeze_32(nullptr),
      QOR_UnFreeze_32(nullptr),
      QOR_FreezeAndGrabFrame_32(nullptr),
      QOR_GrabFrameToBuff_32(nullptr),
      QOR_GrabFrameToFile_32(nullptr) {}

KIVODLL::~KIVODLL() {
    if (iniLoaded == 1) QOR_SaveIniFile_32(hBoard, iniName);
    if (hBoard >= 0) {
        QOR_DeInit_32(hBoard);
        hBoard = kNoBoard;
    }
    if (hLibrary) FreeLibrary(hLibrary);
}

int KIVODLL::Open() {
    hLibrary = LoadLibraryA(kLibraryName);
    if (!hLibrary) {
        ReportError("ライブラリが見つかりません", kLibraryName, 0);
        return 0;
    }
    if (!ResolveEntryPoints()) {
        ReportError("ライブラリが正しくありません", kLibraryName, 0);
        return 0;
    }
    hBoard = QOR_Init_32();
    if (hBoard < 0) {
        ReportError("ボードの初期化に失敗しました", nullptr, hBoard);
        return 0;
    }
    iniLoaded = QOR_GetIniFile_32(hBoard, iniName);
    if (iniLoaded == 0) {
        ReportError("INIファイルが読み込めませんでした", nullptr, 0);
        return 0;
    }
    for (int i = 0; i < kColorCount; ++i) RefreshVideoColor(i);
    return 1;
}

int KIVODLL::IsOpen() { return hBoard >= 0 ? 1 : 0; }

namespace {

// Looks one name up into `slot`; false when the library lacks it.
template <class Function>
bool Resolve(HMODULE library, const char* name, Function& slot) {
    slot = reinterpret_cast<Function>(GetProcAddress(library, name));
    return slot != nullptr;
}

}  // namespace

int KIVODLL::ResolveEntryPoints() {
    bool found = Resolve(hLibrary, "QOR_Init_32", QOR_Init_32) &&
                 Resolve(hLibrary, "QOR_DeInit_32", QOR_DeInit_32) &&
                 Resolve(hLibrary, "QOR_SaveIniFile_32", QOR_SaveIniFile_32) &&
                 Resolve(hLibrary, "QOR_GetIniFile_32", QOR_GetIniFile_32) &&
                 Resolve(hLibrary, "QOR_SetActiveSource_32", QOR_SetActiveSource_32) &&
                 Resolve(hLibrary, "QOR_GetActiveSource_32", QOR_GetActiveSource_32) &&
                 Resolve(hLibrary, "QOR_SetSourceSystem_32", QOR_SetSourceSystem_32) &&
                 Resolve(hLibrary, "QOR_GetSourceSystem_32", QOR_GetSourceSystem_32) &&
                 Resolve(hLibrary, "QOR_SetVideoColor_32", QOR_SetVideoColor_32) &&
                 Resolve(hLibrary, "QOR_GetVideoColor_32", QOR_GetVideoColor_32) &&
                 Resolve(hLibrary, "QOR_SetCurInputViewport_32", QOR_SetCurInputViewport_32) &&
                 Resolve(hLibrary, "QOR_GetCurInputViewport_32", QOR_GetCurInputViewport_32) &&
                 Resolve(hLibrary, "QOR_SetOutputWindow_32", QOR_SetOutputWindow_32) &&
                 Resolve(hLibrary, "QOR_GetOutputWindow_32", QOR_GetOutputWindow_32) &&
                 Resolve(hLibrary, "QOR_Freeze_32", QOR_Freeze_32) &&
                 Resolve(hLibrary, "QOR_UnFreeze_32", QOR_UnFreeze_32) &&
                 Resolve(hLibrary, "QOR_FreezeAndGrabFrame_32", QOR_FreezeAndGrabFrame_32) &&
                 Resolve(hLibrary, "QOR_GrabFrameToBuff_32", QOR_GrabFrameToBuff_32) &&
                 Resolve(hLibrary, "QOR_GrabFrameToFile_32", QOR_GrabFrameToFile_32);
    return found ? 1 : 0;
}

void KIVODLL::ReportError(const char* message, const char* detail, int code) {
    char text[128];
    if (detail)
        wsprintfA(text, "%s [%s](%d)", message, detail, code);
    else
        wsprintfA(text, "%s (%d)", message, code);
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}

namespace {

// A value below min becomes min, then one above max becomes max.
std::int32_t Clamp(std::int32_t value, std::int32_t min, std::int32_t max) {
    if (value < min) value = min;
    if (value > max) value = max;
    return value;
}

}  // namespace

void KIVODLL::SetVideoColor(int index, int value) {
    if (!InRange(index, kColorCount)) return;
    Color& color = colors[index];
    color.value = Clamp(value, color.min, color.max);
    QOR_SetVideoColor_32(hBoard, index, color.value);
}

void KIVODLL::GetVideoColor(int index, int& value, int& min, int& max) {
    if (!InRange(index, kColorCount)) return;
    value = colors[index].value;
    min = colors[index].min;
    max = colors[index].max;
}

void KIVODLL::RefreshVideoColor(int index) {
    if (!InRange(index, kColorCount)) return;
    Color& color = colors[index];
    QOR_GetVideoColor_32(hBoard, index, &color.value, &color.max, &color.min);
    color.value = Clamp(color.value, color.min, color.max);
}

int KIVODLL::GetActiveSource() {
    activeSource = QOR_GetActiveSource_32(hBoard);
    return activeSource;
}

void KIVODLL::SetActiveSource(int connector) {
    if (!InRange(connector, kConnectorCount)) return;
    activeSource = connector;
    QOR_SetActiveSource_32(hBoard, connector);
}

int KIVODLL::GetSourceSystem() {
    sourceSystem = QOR_GetSourceSystem_32(hBoard, activeSource);
    return sourceSystem;
}

void KIVODLL::SetSourceSystem(int standard) {
    if (!InRange(standard, kStandardCount)) return;
    QOR_SetSourceSystem_32(hBoard, activeSource, standard);
}

void KIVODLL::SetFrameFormat(int format) {
    if (InRange(format, kFrameFormatCount)) frameFormat = format;
}

void KIVODLL::GetInputViewport(int& x, int& y, int& width, int& height) {
    QOR_GetCurInputViewport_32(hBoard, &inputRect);
    x = inputRect.left;
    y = inputRect.top;
    width = inputRect.right - inputRect.left;
    height = inputRect.bottom - inputRect.top;
    if (x < 1) x = 1;
    if (y < 1) y = 1;
    if (x > 255) x = 255;
    if (y > 255) y = 255;
}

void KIVODLL::SetInputViewport(int x, int y, int width, int height) {
    inputRect = {x, y, x + width, y + height};
    QOR_SetCurInputViewport_32(hBoard, &inputRect);
}

void KIVODLL::SetOutputWindow(HWND window, int x, int y, int width, int height) {
    outX = x;
    outY = y;
    outWidth = width;
    outHeight = height;
    std::int32_t copyX = x, copyY = y, copyWidth = width, copyHeight = height;
    QOR_SetOutputWindow_32(hBoard, window, &copyX, &copyY, &copyWidth, &copyHeight);
}

void KIVODLL::ToggleFreeze() {
    if (frozen == 1) {
        QOR_UnFreeze_32(hBoard);
        frozen = 0;
    } else {
        QOR_Freeze_32(hBoard);
        frozen = 1;
    }
}

void KIVODLL::UnFreeze() {
    QOR_UnFreeze_32(hBoard);
    frozen = 0;
}

void KIVODLL::GrabToFile(const char* path) {
    QOR_FreezeAndGrabFrame_32(hBoard, frameFormat);
    QOR_GrabFrameToFile_32(hBoard, path);
}
