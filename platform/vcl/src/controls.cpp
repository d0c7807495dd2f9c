#include "vcl/backend.h"
#include "vcl/forms.h"

#include <algorithm>

namespace vcl {

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) std::erase(owner_->components_, this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
    for (TComponent* component : components_)
        if (component->Name == name) return component;
    return nullptr;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
    CurrentBackend().ControlDestroyed(*this);
    if (TForm* form = ParentForm(); form && form != this) form->Forget(this);
    SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) std::erase(parent_->controls_, this);
    parent_ = parent;
    if (parent_) parent_->controls_.push_back(this);
    Changed(TChange::Geometry);
}

TForm* TControl::ParentForm() const {
    for (TWinControl* p = parent_; p; p = p->Parent())
        if (auto* form = dynamic_cast<TForm*>(p)) return form;
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = win::ClampWindowSide(width);
    height = win::ClampWindowSide(height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed(TChange::Geometry);
}

void TControl::SetCaption(const AnsiString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed(TChange::Text);
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(TChange::Visibility);
}

bool TControl::Showing() const { return visible_ && (!parent_ || parent_->Showing()); }

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(TChange::State);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, x, y);
}

void TControl::MouseMove(int x, int y) {
    if (OnMouseMove) OnMouseMove(this, x, y);
}

void TControl::MouseUp(TMouseButton button, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, x, y);
}

void TControl::Changed(TChange what) { CurrentBackend().ControlChanged(*this, what); }

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    for (TControl* child : controls_) child->parent_ = nullptr;
}

bool TWinControl::Focused() const {
    TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    if (TForm* form = ParentForm()) form->FocusControl(this);
}

bool TWinControl::CanFocus() const {
    if (!IsFocusable()) return false;
    for (const TControl* c = this; c && !dynamic_cast<const TForm*>(c); c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

}  // namespace vcl
