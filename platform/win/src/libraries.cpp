#include "win/win.h"

#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <mutex>

struct HINSTANCE__ {
    void* dl = nullptr;       // a library file, or null for
    win::ModuleTable table;   // a module registered in-process (a copy of its table)
};

namespace win {
namespace {

std::mutex lock;
std::map<std::string, ModuleTable> registered;
std::string executablePath;

std::string ReadOwnExecutablePath() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void* OpenLibraryFile(const std::string& name) {
    if (name.find('/') != std::string::npos) return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    // The executable's own folder first, then the system's library path; the
    // current directory is never searched.
    std::string folder = FolderOf(ExecutablePath());
    if (!folder.empty()) {
        if (void* dl = dlopen((folder + name).c_str(), RTLD_NOW | RTLD_LOCAL)) return dl;
    }
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

void RegisterModule(const std::string& name, ModuleTable functions) {
    std::lock_guard guard(lock);
    registered[name] = std::move(functions);
}

void UnregisterModule(const std::string& name) {
    std::lock_guard guard(lock);
    registered.erase(name);
}

void SetExecutablePath(const std::string& path) {
    std::lock_guard guard(lock);
    executablePath = path;
}

std::string ExecutablePath() {
    std::lock_guard guard(lock);
    if (executablePath.empty()) executablePath = ReadOwnExecutablePath();
    return executablePath;
}

}  // namespace win

HMODULE LoadLibraryA(const char* lpLibFileName) {
    if (!lpLibFileName || !*lpLibFileName) return nullptr;
    {
        std::lock_guard guard(win::lock);
        auto found = win::registered.find(lpLibFileName);
        if (found != win::registered.end()) return new HINSTANCE__{nullptr, found->second};
    }
    void* dl = win::OpenLibraryFile(lpLibFileName);
    return dl ? new HINSTANCE__{dl, {}} : nullptr;
}

FARPROC GetProcAddress(HMODULE hModule, const char* lpProcName) {
    if (!hModule || !lpProcName) return nullptr;
    if (!hModule->dl) {
        for (const auto& [name, function] : hModule->table)
            if (name == lpProcName) return function;
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(dlsym(hModule->dl, lpProcName));
}

BOOL FreeLibrary(HMODULE hLibModule) {
    if (!hLibModule) return FALSE;
    if (hLibModule->dl) dlclose(hLibModule->dl);
    delete hLibModule;
    return TRUE;
}
