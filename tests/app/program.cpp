#include "program.h"

#include "app/globals.h"
#include "app/winmain.h"
#include "board/kivodll.h"
#include "display/display.h"
#include "vcl/forms.h"

namespace sim {

namespace {
void ResetGlobals() {
    DisplayWnd = nullptr;
    SettingWnd = nullptr;
    BoardDll = nullptr;
    StartupFailed = 0;
}
}  // namespace

Program::Program(const TempDir& folder) : folder_(folder), savedExe_(win::ExecutablePath()) {
    vcl::ResetApplication();
    ResetGlobals();
    vcl::Application->SetExeName(folder_ / "DUVEZ");
}

Program::~Program() {
    delete BoardDll;  // left open only by a session that never ended the program
    vcl::ResetApplication();
    ResetGlobals();
    win::SetExecutablePath(savedExe_);
}

int Program::Run() { return WinMain(); }

int Program::RunWith(std::function<void()> session) {
    user.Then(std::move(session));
    return Run();
}

void Program::ExitThroughMenu() {
    user.ChooseMenu("終了");
    user.MouseDown(*DisplayWnd, vcl::mbRight, 5, 5);
}

}  // namespace sim
