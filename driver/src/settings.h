// The board's own settings and their file.
#pragma once

#include "picture.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kivo {

struct BoardSettings {
    int connector = 0;
    std::array<int, kConnectors> standards{0, 0, 0};
    std::array<std::int32_t, kControls> controls{0, 256, 0, 0, 256};
    RECT viewport{16, 16, 736, 496};

    friend bool operator==(const BoardSettings& a, const BoardSettings& b) {
        return a.connector == b.connector && a.standards == b.standards && a.controls == b.controls &&
               a.viewport.left == b.viewport.left && a.viewport.top == b.viewport.top &&
               a.viewport.right == b.viewport.right && a.viewport.bottom == b.viewport.bottom;
    }
};

bool IsValid(const BoardSettings& settings);

// The file: UTF-8 text, one "key=value" a line under a "[KIVO]" heading;
// blank lines and lines starting with ';' or '#' are comments.
std::string FormatSettings(const BoardSettings& settings);
// Parses a whole file over `settings`: keys it lacks keep their value. False,
// with `settings` untouched, when any line is not understood, a key is
// unknown or repeated, or a value is out of range.
bool ParseSettings(std::string_view text, BoardSettings& settings);

enum class SettingsRead { Read, Missing, Unreadable, Corrupt };
// Missing: `settings` becomes the defaults. Unreadable, Corrupt: untouched.
SettingsRead ReadSettingsFile(const std::string& path, BoardSettings& settings);
// Atomic: the old file stays as it was when this fails.
bool SaveSettingsFile(const std::string& path, const BoardSettings& settings);

}  // namespace kivo
