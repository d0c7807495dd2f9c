// The user simulator: a user's clicks, keys, drags and answers, through the
// same dispatch as real input, on the headless backend.
#pragma once

#include "vcl/headless.h"
#include "vcl/input.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace sim {

class Simulator {
public:
    // Starts from a clean headless backend: no script, nothing recorded.
    Simulator();
    ~Simulator();

    // Actions done now.
    void Click(vcl::TControl& control) { vcl::input::Click(control); }
    void DoubleClick(vcl::TControl& control, int x = 0, int y = 0) { vcl::input::DoubleClick(control, x, y); }
    void MouseDown(vcl::TControl& c, vcl::TMouseButton b, int x, int y) { vcl::input::MouseDown(c, b, x, y); }
    void MouseMove(vcl::TControl& c, int x, int y) { vcl::input::MouseMove(c, x, y); }
    void MouseUp(vcl::TControl& c, vcl::TMouseButton b, int x, int y) { vcl::input::MouseUp(c, b, x, y); }
    void Key(vcl::TForm& form, vcl::TKey key) { vcl::input::Key(form, key); }
    void Focus(vcl::TWinControl& control) { vcl::input::Focus(control); }
    void Type(vcl::TEdit& edit, const std::string& text) { vcl::input::Type(edit, text); }
    // A thumb drag: one change per position passed.
    void Drag(vcl::TScrollBar& bar, std::initializer_list<int> positions);
    void ScrollTo(vcl::TScrollBar& bar, int position) { vcl::input::Scroll(bar, position); }
    void Pick(vcl::TComboBox& combo, int index) { vcl::input::Pick(combo, index); }
    void Pick(vcl::TRadioGroup& group, int index) { vcl::input::Pick(group, index); }
    void Pick(vcl::TDriveComboBox& drives, int index) { vcl::input::Pick(drives, index); }
    void SelectPage(vcl::TPageControl& pages, vcl::TTabSheet& page) { vcl::input::SelectPage(pages, page); }
    void OpenFolder(vcl::TDirectoryListBox& list, int index) { vcl::input::OpenFolder(list, index); }
    void CloseBox(vcl::TForm& form) { vcl::input::CloseBox(form); }
    // A press on the notification icon, delivered through the message queue.
    bool PressTrayIcon(unsigned id, unsigned buttonMessage);

    // What the next loops (the message loop, a modal form, a menu, a message
    // box) will find the user doing, in order.
    void Then(std::function<void()> action) { backend().Then(std::move(action)); }
    void ChooseMenu(const std::string& caption) { backend().ThenChoose(caption); }
    void DismissMenu() { backend().ThenDismissMenu(); }
    void Answer(int button) { backend().ThenAnswer(button); }

    // What the program showed.
    std::vector<std::string> BoxTexts() const;
    const std::vector<vcl::HeadlessBackend::Box>& Boxes() const { return backend().Boxes; }
    const std::vector<vcl::HeadlessBackend::Popup>& Popups() const { return backend().Popups; }
    const std::vector<std::string>& ScriptErrors() const { return backend().ScriptErrors; }

    static vcl::HeadlessBackend& backend() { return vcl::Headless(); }
};

}  // namespace sim
