#include "vcl/menus.h"

#include "vcl/backend.h"

namespace vcl {

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

TMenuItem* TPopupMenu::Add(const AnsiString& name, const AnsiString& caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this);
    item->Name = name;
    item->Caption = caption;
    item->OnClick = std::move(onClick);
    Items.push_back(item);
    return item;
}

void TPopupMenu::Popup(int x, int y) {
    if (TMenuItem* chosen = CurrentBackend().TrackPopup(*this, x, y)) chosen->Click();
}

}  // namespace vcl
