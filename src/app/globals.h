// The program-wide globals through which the windows reach each other and the board.
#pragma once

class TDisplayWnd;
class TSettingWnd;
class KIVODLL;

extern TDisplayWnd* DisplayWnd;  // the main window, set before its constructor runs
extern TSettingWnd* SettingWnd;  // the settings window, null until it is created
extern KIVODLL* BoardDll;        // the board controller while the board is open
extern int StartupFailed;        // 1 when the board could not be opened
