#include "vcl/input.h"

namespace vcl::input {
namespace {

void Dispatch(const std::function<void()>& action) { Application->DispatchUserAction(action); }

// A press on a control that can take the focus gives it the focus first.
void FocusOnPress(TControl& control) {
    auto* win = dynamic_cast<TWinControl*>(&control);
    if (win && win->CanFocus() && !dynamic_cast<TForm*>(win)) win->ParentForm()->FocusControl(win);
}

bool Reachable(const TControl& control) { return control.Enabled(); }

}  // namespace

void Click(TControl& control) {
    if (!Reachable(control)) return;
    Dispatch([&] {
        FocusOnPress(control);
        control.Click();
    });
}

void DoubleClick(TControl& control, int x, int y) {
    if (!Reachable(control)) return;
    MouseDown(control, mbLeft, x, y);
    MouseUp(control, mbLeft, x, y);
    Dispatch([&] { control.Click(); });
    DoublePress(control, x, y);
    MouseUp(control, mbLeft, x, y);
}

void DoublePress(TControl& control, int x, int y) {
    if (!Reachable(control)) return;
    Dispatch([&] { control.DblClick(); });
    Dispatch([&] { control.MouseDown(mbLeft, x, y); });
}

void MouseDown(TControl& control, TMouseButton button, int x, int y) {
    if (!Reachable(control)) return;
    Dispatch([&] {
        FocusOnPress(control);
        control.MouseDown(button, x, y);
    });
}

void MouseMove(TControl& control, int x, int y) {
    Dispatch([&] { control.MouseMove(x, y); });
}

void MouseUp(TControl& control, TMouseButton button, int x, int y) {
    Dispatch([&] { control.MouseUp(button, x, y); });
}

void Key(TForm& form, TKey key) {
    Dispatch([&] { form.KeyPress(key); });
}

void Focus(TWinControl& control) {
    Dispatch([&] { control.SetFocus(); });
}

void Type(TEdit& edit, const AnsiString& text) {
    if (!Reachable(edit)) return;
    Dispatch([&] {
        edit.SetFocus();
        // Typing goes on only when the focus did arrive.
        if (edit.Focused()) edit.SetText(text);
    });
}

void Scroll(TScrollBar& bar, int position) {
    if (!Reachable(bar)) return;
    Dispatch([&] {
        FocusOnPress(bar);
        bar.SetPosition(position);
    });
}

void Pick(TComboBox& combo, int index) {
    if (!Reachable(combo)) return;
    Dispatch([&] {
        FocusOnPress(combo);
        combo.Pick(index);
    });
}

void Pick(TRadioGroup& group, int index) {
    if (!Reachable(group)) return;
    Dispatch([&] {
        FocusOnPress(group);
        group.SetItemIndex(index);
    });
}

void Pick(TDriveComboBox& drives, int index) {
    if (!Reachable(drives)) return;
    Dispatch([&] {
        FocusOnPress(drives);
        drives.Pick(index);
    });
}

void SelectPage(TPageControl& pages, TTabSheet& page) {
    Dispatch([&] {
        FocusOnPress(pages);
        pages.SetActivePage(&page);
    });
}

void OpenFolder(TDirectoryListBox& list, int index) {
    if (!Reachable(list)) return;
    Dispatch([&] {
        FocusOnPress(list);
        list.OpenItem(index);
    });
}

void CloseBox(TForm& form) {
    Dispatch([&] { form.Close(); });
}

}  // namespace vcl::input
