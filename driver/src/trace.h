// The call trace: with KIVO_TRACE=<file>, one line per entry-point call,
// "Name(arg, arg, ...) = result", appended to the file.
#pragma once

#include "win/win.h"

#include <cstdint>
#include <string>

namespace kivo {

class TraceLine {
public:
    // Empty (and every method a no-op) when KIVO_TRACE is not set.
    explicit TraceLine(const char* name) noexcept;
    TraceLine& Int(std::int64_t value) noexcept;
    // A window handle or another pointer shown by its address: 0x... or 0.
    TraceLine& Address(const void* pointer) noexcept;
    // What a pointer points to, in braces: {v} or {v, v, ...}; 0 for null.
    TraceLine& Ints(const std::int32_t* values, int count) noexcept;
    TraceLine& Rect(const RECT* rect) noexcept;
    TraceLine& Window(const HWND* window) noexcept;
    // A NUL-terminated text of at most `limit` bytes, quoted; 0 for null.
    TraceLine& Text(const char* text, std::size_t limit) noexcept;
    // Appends the line with its result in one write.
    void Finish(std::int64_t result) noexcept;

    bool Active() const { return active_; }

private:
    void Separate();
    // Runs a step of the line; a failure (out of memory) drops the line, so
    // no exception ever leaves an entry point through the trace.
    template <class Step>
    TraceLine& Guard(Step step) noexcept {
        if (!active_) return *this;
        try {
            step();
        } catch (...) {
            active_ = false;
        }
        return *this;
    }

    bool active_ = false;
    bool first_ = true;
    std::string path_;
    std::string line_;
};

}  // namespace kivo
