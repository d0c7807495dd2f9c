#include "fake_driver.h"

#include <cstdint>
#include <fstream>
#include <sstream>

namespace fake {
namespace {

Board current;

using I = std::int32_t;

template <class... Args>
void Record(const char* name, Args... args) {
    std::ostringstream line;
    line << name << '(';
    [[maybe_unused]] const char* separator = "";
    ((line << separator << args, separator = ", "), ...);
    line << ')';
    current.calls.push_back(line.str());
}

std::string Rect(const RECT* r) {
    std::ostringstream text;
    text << '{' << r->left << ' ' << r->top << ' ' << r->right << ' ' << r->bottom << '}';
    return text.str();
}

I Init() {
    Record("QOR_Init_32");
    return current.initResult;
}
I DeInit(I h) {
    Record("QOR_DeInit_32", h);
    return 1;
}
I SaveIniFile(I h, char*) {
    Record("QOR_SaveIniFile_32", h);
    return 1;
}
I GetIniFile(I h, char*) {
    Record("QOR_GetIniFile_32", h);
    return current.iniResult;
}
I SetActiveSource(I h, I connector) {
    Record("QOR_SetActiveSource_32", h, connector);
    current.activeSource = connector;
    return 1;
}
I GetActiveSource(I h) {
    Record("QOR_GetActiveSource_32", h);
    return current.activeSource;
}
I SetSourceSystem(I h, I connector, I standard) {
    Record("QOR_SetSourceSystem_32", h, connector, standard);
    if (connector >= 0 && connector < 3) current.standards[connector] = standard;
    return 1;
}
I GetSourceSystem(I h, I connector) {
    Record("QOR_GetSourceSystem_32", h, connector);
    return connector >= 0 && connector < 3 ? current.standards[connector] : -1;
}
I SetVideoColor(I h, I control, I value) {
    Record("QOR_SetVideoColor_32", h, control, value);
    if (control >= 0 && control < 5) current.colors[control].value = value;
    return 1;
}
I GetVideoColor(I h, I control, I* value, I* max, I* min) {
    Record("QOR_GetVideoColor_32", h, control);
    if (control < 0 || control >= 5) return 0;
    *value = current.colors[control].value;
    *max = current.colors[control].max;
    *min = current.colors[control].min;
    return 1;
}
I SetCurInputViewport(I h, RECT* rect) {
    Record("QOR_SetCurInputViewport_32", h, Rect(rect));
    current.viewport = *rect;
    return 1;
}
I GetCurInputViewport(I h, RECT* rect) {
    Record("QOR_GetCurInputViewport_32", h);
    *rect = current.viewport;
    return 1;
}
I SetOutputWindow(I h, HWND window, I* x, I* y, I* width, I* height) {
    Record("QOR_SetOutputWindow_32", h, window ? "window" : "null", *x, *y, *width, *height);
    *x = *y = *width = *height = -999;  // written back; the controller must not read it
    return 1;
}
I GetOutputWindow(I h, HWND*, I*, I*, I*, I*) {
    Record("QOR_GetOutputWindow_32", h);
    return 0;
}
I Freeze(I h) {
    Record("QOR_Freeze_32", h);
    return 1;
}
I UnFreeze(I h) {
    Record("QOR_UnFreeze_32", h);
    return 1;
}
I FreezeAndGrabFrame(I h, I format) {
    Record("QOR_FreezeAndGrabFrame_32", h, format);
    return 1;
}
I GrabFrameToBuff(I h, void*, I) {
    Record("QOR_GrabFrameToBuff_32", h);
    return 0;
}
I GrabFrameToFile(I h, const char* path) {
    Record("QOR_GrabFrameToFile_32", h, path);
    if (!current.grabbedFile) return 0;
    std::ofstream(path, std::ios::binary) << *current.grabbedFile;
    return 1;
}

template <class Function>
std::pair<std::string, FARPROC> Entry(const char* name, Function function) {
    return {name, reinterpret_cast<FARPROC>(function)};
}

}  // namespace

std::vector<std::string> Board::Names() const {
    std::vector<std::string> names;
    for (const auto& call : calls) names.push_back(call.substr(0, call.find('(')));
    return names;
}

Board& board() { return current; }

void Install(const std::string& missing) {
    current = Board{};
    win::ModuleTable table = {
        Entry("QOR_Init_32", &Init),
        Entry("QOR_DeInit_32", &DeInit),
        Entry("QOR_SaveIniFile_32", &SaveIniFile),
        Entry("QOR_GetIniFile_32", &GetIniFile),
        Entry("QOR_SetActiveSource_32", &SetActiveSource),
        Entry("QOR_GetActiveSource_32", &GetActiveSource),
        Entry("QOR_SetSourceSystem_32", &SetSourceSystem),
        Entry("QOR_GetSourceSystem_32", &GetSourceSystem),
        Entry("QOR_SetVideoColor_32", &SetVideoColor),
        Entry("QOR_GetVideoColor_32", &GetVideoColor),
        Entry("QOR_SetCurInputViewport_32", &SetCurInputViewport),
        Entry("QOR_GetCurInputViewport_32", &GetCurInputViewport),
        Entry("QOR_SetOutputWindow_32", &SetOutputWindow),
        Entry("QOR_GetOutputWindow_32", &GetOutputWindow),
        Entry("QOR_Freeze_32", &Freeze),
        Entry("QOR_UnFreeze_32", &UnFreeze),
        Entry("QOR_FreezeAndGrabFrame_32", &FreezeAndGrabFrame),
        Entry("QOR_GrabFrameToBuff_32", &GrabFrameToBuff),
        Entry("QOR_GrabFrameToFile_32", &GrabFrameToFile),
    };
    std::erase_if(table, [&](const auto& entry) { return entry.first == missing; });
    win::RegisterModule("QORDCI32.DLL", std::move(table));
}

void Uninstall() { win::UnregisterModule("QORDCI32.DLL"); }

}  // namespace fake
