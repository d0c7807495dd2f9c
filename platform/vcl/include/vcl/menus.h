// Pop-up menus.
#pragma once

#include "vcl/controls.h"

namespace vcl {

class TMenuItem : public TComponent {
public:
    using TComponent::TComponent;
    AnsiString Caption;
    TNotifyEvent OnClick;
    bool IsSeparator() const { return Caption == "-"; }
    void Click();
};

class TPopupMenu : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<TMenuItem*> Items;
    bool AutoPopup = true;
    // Adds an item owned by this menu.
    TMenuItem* Add(const AnsiString& name, const AnsiString& caption, TNotifyEvent onClick = {});
    // Modal: returns after the user picked an item, whose OnClick then runs,
    // or dismissed the menu. The point is in screen coordinates.
    void Popup(int x, int y);
};

}  // namespace vcl
