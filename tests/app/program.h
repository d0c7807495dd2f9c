// Runs the whole program in a temporary folder, as a user would start it there.
#pragma once

#include "test_files.h"
#include "simulator.h"

#include <string>

namespace sim {

class Program {
public:
    // A fresh application whose executable is `folder`/DUVEZ.
    explicit Program(const TempDir& folder);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the entry point to its end; the exit code.
    int Run();
    // Runs the program with `session` as the user's first action; the session
    // ends it, usually through ExitThroughMenu.
    int RunWith(std::function<void()> session);
    // A right click on the display window and "終了" in its menu.
    void ExitThroughMenu();
    std::string SettingsPath() const { return folder_ / "DUVEZ.ini"; }
    Simulator user;

private:
    const TempDir& folder_;
    std::string savedExe_;
};

}  // namespace sim
