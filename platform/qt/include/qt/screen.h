// The screen: puts the program's forms, menus, message boxes and notification
// icon on the user's desktop through Qt 6 Widgets.
#pragma once

namespace vcl::qt {

// Connects to the user's display and installs the screen backend for the
// framework and the system API. Without a display it writes one line on
// standard error and returns false.
bool OpenScreen(int& argc, char** argv);
// Takes the program's windows off the screen and disconnects from the display.
void CloseScreen();

}  // namespace vcl::qt
