// The backend without a screen: input comes from a script of user steps that
// the application's loops take in order; what the program shows is recorded.
#pragma once

#include "vcl/backend.h"

#include <deque>
#include <string>
#include <vector>

namespace vcl {

class HeadlessBackend : public Backend {
public:
    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };
    struct Popup {
        TPopupMenu* menu;
        int x, y;
        std::vector<std::string> captions;
    };

    // The next step of the script: a user action run when a loop waits for input.
    void Then(std::function<void()> action);
    // The next pop-up menu picks the item with this caption.
    void ThenChoose(const std::string& caption);
    void ThenDismissMenu();
    // The next message box is answered with this button.
    void ThenAnswer(int button);
    bool ScriptDone() const { return script_.empty(); }
    void ClearScript() { script_.clear(); }

    std::vector<Box> Boxes;
    std::vector<Popup> Popups;
    // Steps that found no loop to take them, for the tests to see.
    std::vector<std::string> ScriptErrors;

    bool WaitForInput() override;
    TMenuItem* TrackPopup(TPopupMenu& menu, int x, int y) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;

private:
    struct Step {
        enum Kind { Action, Menu, Answer } kind;
        std::function<void()> action;
        std::string caption;  // empty for a dismissed menu
        int answer = IDOK;
    };
    std::deque<Step> script_;
};

// The backend installed when no other is.
HeadlessBackend& Headless();

}  // namespace vcl
