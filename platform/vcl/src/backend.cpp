#include "vcl/backend.h"

#include "vcl/forms.h"
#include "vcl/headless.h"

namespace vcl {
namespace {
Backend* current = nullptr;
}  // namespace

Backend* SetBackend(Backend* backend) {
    Backend* previous = current;
    current = backend ? backend : &Headless();
    win::SetBackend(current);
    return previous;
}

Backend& CurrentBackend() {
    if (!current) SetBackend(nullptr);
    return *current;
}

HeadlessBackend& Headless() {
    static HeadlessBackend backend;
    return backend;
}

void HeadlessBackend::Then(std::function<void()> action) { script_.push_back({Step::Action, std::move(action), {}, IDOK}); }

void HeadlessBackend::ThenChoose(const std::string& caption) { script_.push_back({Step::Menu, {}, caption, IDOK}); }

void HeadlessBackend::ThenDismissMenu() { script_.push_back({Step::Menu, {}, {}, IDOK}); }

void HeadlessBackend::ThenAnswer(int button) { script_.push_back({Step::Answer, {}, {}, button}); }

bool HeadlessBackend::WaitForInput() {
    if (script_.empty()) return false;
    Step step = std::move(script_.front());
    script_.pop_front();
    if (step.kind == Step::Action)
        Application->DispatchUserAction(step.action);
    else
        ScriptErrors.push_back(step.kind == Step::Menu ? "no menu to choose \"" + step.caption + "\" from"
                                                       : "no message box to answer");
    return true;
}

TMenuItem* HeadlessBackend::TrackPopup(TPopupMenu& menu, int x, int y) {
    Popup shown{&menu, x, y, {}};
    for (TMenuItem* item : menu.Items) shown.captions.push_back(item->Caption);
    Popups.push_back(shown);
    if (script_.empty() || script_.front().kind != Step::Menu) return nullptr;
    std::string caption = script_.front().caption;
    script_.pop_front();
    if (caption.empty()) return nullptr;
    for (TMenuItem* item : menu.Items)
        if (item->Caption == caption && !item->IsSeparator()) return item;
    ScriptErrors.push_back("no menu item \"" + caption + "\"");
    return nullptr;
}

int HeadlessBackend::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    Boxes.push_back({owner, text, caption, type});
    if (script_.empty() || script_.front().kind != Step::Answer) return IDOK;
    int answer = script_.front().answer;
    script_.pop_front();
    return answer;
}

}  // namespace vcl
