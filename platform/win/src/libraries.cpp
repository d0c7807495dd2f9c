#include "windows_internal.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

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

constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;

// The folders the loader searches for a bare name on the program's behalf:
// LD_LIBRARY_PATH's (where an empty entry means "."), the run path's and the
// system's, in its order; nothing when it does not say.
std::optional<std::vector<std::string>> LoaderSearchPath() {
    void* program = dlopen(nullptr, RTLD_NOW);
    if (!program) return std::nullopt;
    std::optional<std::vector<std::string>> folders;
    Dl_serinfo size{};
    if (dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
        std::vector<std::max_align_t> buffer(size.dls_size / sizeof(std::max_align_t) + 1);
        auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
        info->dls_size = size.dls_size;
        info->dls_cnt = size.dls_cnt;
        if (dlinfo(program, RTLD_DI_SERINFO, info) == 0) {
            folders.emplace();
            for (unsigned i = 0; i < info->dls_cnt; ++i) folders->emplace_back(info->dls_serpath[i].dls_name);
        }
    }
    dlclose(program);
    return folders;
}

// Where the system looks, but never in the current directory: while the
// loader's path holds a folder that is not absolute, the loader is not asked
// for the bare name; its absolute folders are tried one by one instead.
void* OpenFromSystemPath(const std::string& name) {
    auto folders = LoaderSearchPath();
    if (!folders) return nullptr;
    auto absolute = [](const std::string& folder) { return folder.starts_with('/'); };
    if (std::all_of(folders->begin(), folders->end(), absolute)) return dlopen(name.c_str(), kOpenFlags);
    for (const std::string& folder : *folders) {
        if (!absolute(folder)) continue;
        if (void* dl = dlopen((folder + "/" + name).c_str(), kOpenFlags)) return dl;
    }
    return nullptr;
}

void* OpenLibraryFile(const std::string& name) {
    if (name.find('/') != std::string::npos) return dlopen(name.c_str(), kOpenFlags);
    const std::string executable = ExecutablePath();
    if (!executable.empty()) {
        for (const std::string& folder : {detail::FolderOf(executable), PrivateLibraryFolder(executable)})
            if (void* dl = dlopen((folder + name).c_str(), kOpenFlags)) return dl;
    }
    return OpenFromSystemPath(name);
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
