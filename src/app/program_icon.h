// The program's 16 x 16, 16-colour icon, shared by the windows and the notification area.
#pragma once

#include "win/win.h"

HICON ProgramIcon();
