#include "trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace kivo {

TraceLine::TraceLine(const char* name) noexcept {
    const char* path = std::getenv("KIVO_TRACE");
    if (!path || !*path) return;
    active_ = true;
    Guard([&] {
        path_ = path;
        line_ = name;
        line_ += '(';
    });
}

void TraceLine::Separate() {
    if (!first_) line_ += ", ";
    first_ = false;
}

TraceLine& TraceLine::Int(std::int64_t value) noexcept {
    return Guard([&] {
        Separate();
        line_ += std::to_string(value);
    });
}

TraceLine& TraceLine::Address(const void* pointer) noexcept {
    return Guard([&] {
        Separate();
        if (!pointer) {
            line_ += '0';
            return;
        }
        char text[32];
        std::snprintf(text, sizeof text, "0x%llx",
                      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
        line_ += text;
    });
}

TraceLine& TraceLine::Ints(const std::int32_t* values, int count) noexcept {
    return Guard([&] {
        Separate();
        if (!values) {
            line_ += '0';
            return;
        }
        line_ += '{';
        for (int i = 0; i < count; ++i) {
            if (i) line_ += ", ";
            line_ += std::to_string(values[i]);
        }
        line_ += '}';
    });
}

TraceLine& TraceLine::Rect(const RECT* rect) noexcept {
    if (!rect) return Ints(nullptr, 0);
    const std::int32_t values[4] = {rect->left, rect->top, rect->right, rect->bottom};
    return Ints(values, 4);
}

TraceLine& TraceLine::Window(const HWND* window) noexcept {
    if (!window) return Address(nullptr);
    return Guard([&] {
        Separate();
        line_ += '{';
        first_ = true;
        Address(*window);
        line_ += '}';
    });
}

TraceLine& TraceLine::Text(const char* text, std::size_t limit) noexcept {
    return Guard([&] {
        Separate();
        if (!text) {
            line_ += '0';
            return;
        }
        line_ += '"';
        for (std::size_t i = 0; i < limit && text[i]; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == '"' || c == '\\') {
                line_ += '\\';
                line_ += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
                line_ += escaped;
            } else {
                line_ += static_cast<char>(c);  // UTF-8 stays as it is
            }
        }
        line_ += '"';
    });
}

void TraceLine::Finish(std::int64_t result) noexcept {
    Guard([&] {
        line_ += ") = ";
        line_ += std::to_string(result);
        line_ += '\n';
    });
    if (!active_) return;
    // One write of the whole line to a file opened for appending: lines of
    // concurrent callers, also of other processes, never interleave.
    static std::mutex lock;
    std::lock_guard guard(lock);
    int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;
    const char* data = line_.data();
    std::size_t size = line_.size();
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n <= 0) break;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    ::close(fd);
}

}  // namespace kivo
