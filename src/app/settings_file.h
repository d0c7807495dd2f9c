// The settings file: the display window's position and the six persisted
// values, read once at start-up and written once at exit.
#pragma once

#include "vcl/sysutils.h"

class TDisplayWnd;

// The executable's path with the extension ".ini"; for an installed program,
// that file name in the user's settings folder (made by the first write).
vcl::AnsiString SettingsFilePath();
void ReadSettingsFile(TDisplayWnd& display);
// A file that cannot be written is reported in a message box that names it;
// it is replaced key by key, never left half-written.
void WriteSettingsFile(TDisplayWnd& display);
