// Loads a library by name as the program does, in a process of its own, so
// that a test can choose its LD_LIBRARY_PATH and its current directory:
//   win_load_library EXECUTABLE NAME
// takes EXECUTABLE as the program's path, prints the path of the file that
// LoadLibraryA loaded and ends with 0, or ends with 1 when it loaded none.
#include "win/win.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    win::SetExecutablePath(argv[1]);
    HMODULE module = LoadLibraryA(argv[2]);
    if (!module) return 1;
    Dl_info info{};
    FARPROC answer = GetProcAddress(module, "ProbeAnswer");
    std::string loaded = answer && dladdr(reinterpret_cast<void*>(answer), &info) ? info.dli_fname : "";
    FreeLibrary(module);
    if (loaded.empty()) return 3;
    std::printf("%s\n", loaded.c_str());
    return 0;
}
