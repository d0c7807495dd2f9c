// What a screen does for the framework: mirror the controls, deliver input,
// show modal menus. The headless backend does it without a screen.
#pragma once

#include "vcl/menus.h"
#include "win/win.h"

namespace vcl {

class Backend : public win::Backend {
public:
    virtual void ControlChanged(TControl&, TChange) {}
    virtual void ControlDestroyed(TControl&) {}
    // Waits for input and turns it into user actions; false when no input
    // will ever come again.
    virtual bool WaitForInput() = 0;
    // Shows the menu modally; the item the user picked, or null.
    virtual TMenuItem* TrackPopup(TPopupMenu& menu, int x, int y) = 0;
};

// Installs the backend for the framework and the system API alike (null: the
// headless one). Returns the previous one.
Backend* SetBackend(Backend* backend);
Backend& CurrentBackend();

}  // namespace vcl
