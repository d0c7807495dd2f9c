// Shared between the parts of the system API: the window table and paths.
#pragma once

#include "win/win.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace win::detail {

struct Window {
    WindowProcedure procedure;
    bool visible = false;
    // Guarded by `surfaceLock`: the client surface, painted from any thread.
    std::mutex surfaceLock;
    int clientWidth = 0;
    int clientHeight = 0;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    std::vector<std::uint32_t> pixels;
    std::uint64_t generation = 0;
};

// The window behind a handle, or null when the handle is not a window.
std::shared_ptr<Window> FindWindow(HWND hWnd);

// The folder part of a path with its trailing "/"; empty when it has none.
std::string FolderOf(const std::string& path);

}  // namespace win::detail
