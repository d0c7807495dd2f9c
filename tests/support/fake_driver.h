// The recording fake driver: an in-process module named QORDCI32.DLL whose
// entry points record each call and answer from a board the test sets up.
#pragma once

#include "win/win.h"

#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Board {
    int initResult = 0;
    int iniResult = 1;
    struct Color {
        int value, max, min;
    };
    Color colors[5] = {{128, 255, 0}, {64, 127, 0}, {0, 127, -128}, {3, 7, 0}, {100, 200, 0}};
    RECT viewport = {1, 1, 721, 481};
    int activeSource = 1;
    int standards[3] = {0, 0, 0};
    // What a grab to file writes; none: the grab writes nothing.
    std::optional<std::string> grabbedFile = std::string("BM a grabbed frame");
    // Every call, as "Name(arg, arg)"; pointers show what they point to.
    std::vector<std::string> calls;
    // The calls' names alone.
    std::vector<std::string> Names() const;
};

// The board behind the module; reset by Install.
Board& board();

// Registers the module, without the entry point named `missing` if one is given.
void Install(const std::string& missing = "");
void Uninstall();

}  // namespace fake
