#include "app/winmain.h"

#include "app/globals.h"
#include "app/program_icon.h"
#include "display/display.h"
#include "settings/setting.h"
#include "vcl/forms.h"

using namespace vcl;

int WinMain() {
    StartupFailed = 0;
    try {
        Application->Initialize();
        Application->Icon = ProgramIcon();
        Application->CreateForm(DisplayWnd);
        if (StartupFailed) return 0;
        Application->CreateForm(SettingWnd);  // hidden; sizes the live window
        ShowWindow(Application->Handle(), SW_HIDE);  // no taskbar button
        Application->Run();
    } catch (const std::exception&) {
        ShowMessage("This");
    }
    return 0;
}
