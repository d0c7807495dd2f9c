#include "app/globals.h"

TDisplayWnd* DisplayWnd = nullptr;
TSettingWnd* SettingWnd = nullptr;
KIVODLL* BoardDll = nullptr;
int StartupFailed = 0;
