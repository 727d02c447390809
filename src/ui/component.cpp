#include "ui/component.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/form.h"

namespace ui {

Component::Component(Container* parent, std::string name, Kind kind)
    : name_(std::move(name)), kind_(kind), parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Component::~Component() {
  if (peer_) peer_->ComponentDestroyed();
  if (parent_) {
    auto& c = parent_->children_;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
}

Form* Component::OwnerForm() const {
  const Component* c = this;
  while (c->parent_) c = c->parent_;
  return c->kind_ == Kind::Form ? static_cast<Form*>(const_cast<Component*>(c)) : nullptr;
}

void Component::Changed() const {
  if (peer_) peer_->Sync();
}

void Component::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  Changed();
}

void Component::SetEnabled(bool e) {
  if (enabled_ == e) return;
  enabled_ = e;
  Changed();
}

bool Component::Reachable() const {
  for (const Component* c = this; c; c = c->parent_) {
    if (c->kind_ == Kind::Form) break;
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void Component::SetHint(const Text& h) {
  hint_ = h;
  Changed();
}

void Component::SetFocus() {
  if (Form* f = OwnerForm(); f && f != this) f->MoveFocus(this);
}

bool Component::Focused() const {
  Form* f = OwnerForm();
  return f && f->ActiveControl() == this;
}

void Component::DoUserClick() {
  if (OnClick) OnClick();
}

void Component::UserClick() {
  if (!Reachable()) return;
  RunGuarded([this] { DoUserClick(); });
}

void Component::UserDblClick() {
  if (!Reachable()) return;
  RunGuarded([this] {
    if (OnDblClick) OnDblClick();
  });
}

void Component::UserFocus() {
  RunGuarded([this] { SetFocus(); });
}

Component* Container::Find(const std::string& name) const {
  for (Component* c : children_) {
    if (c->Name() == name) return c;
    if (auto* k = dynamic_cast<Container*>(c))
      if (Component* r = k->Find(name)) return r;
  }
  return nullptr;
}

}  // namespace ui
