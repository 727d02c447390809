#include "ui/form.h"

#include "ui/application.h"

namespace ui {

Form::Form(std::string name, std::string className)
    : Container(nullptr, std::move(name), Kind::Form), className_(std::move(className)) {}

Form::~Form() = default;

void Form::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}

void Form::SetBackColor(Color c) {
  color_ = c;
  Changed();
}

void Form::Activate() {
  showing_ = true;
  Changed();
  if (OnShow) OnShow();
  if (OnActivate) OnActivate();
}

ModalResult Form::ShowModal() {
  modalResult_ = ModalResult::None;
  modal_ = true;
  try {
    Activate();
  } catch (...) {
    // An activation that fails leaves the form unshown.
    modal_ = false;
    showing_ = false;
    Changed();
    throw;
  }
  // The activation may already have closed the form.
  if (modal_) GetBackend().RunModal(*this);
  modal_ = false;
  showing_ = false;
  Changed();
  if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
  return modalResult_;
}

void Form::Show() {
  if (showing_) return;
  showing_ = true;
  Changed();
  GetBackend().VisibilityChanged(*this);
}

void Form::Hide() {
  if (!showing_) return;
  showing_ = false;
  if (OnHide) OnHide();
  Changed();
  GetBackend().VisibilityChanged(*this);
}

void Form::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  if (!canClose) return;
  if (OnClose) OnClose();
  if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Close;
  showing_ = false;
  Changed();
  if (modal_) {
    modal_ = false;
    GetBackend().EndModal(*this);
  } else {
    GetBackend().FormClosed(*this);
  }
}

void Form::UserClose() {
  RunGuarded([this] { Close(); });
}

void Form::MoveFocus(Component* to) {
  if (active_ == to) return;
  Component* from = active_;
  active_ = to;
  if (from && from->OnExit) from->OnExit();
  if (to && to->OnEnter && active_ == to) to->OnEnter();
  if (from && from->Peer()) from->Peer()->Sync();
  if (to && to->Peer()) to->Peer()->Sync();
}

bool Form::UserKeyDown(uint16_t key, unsigned shift) {
  bool consumed = false;
  RunGuarded([&] {
    if (keyPreview && OnKeyDown) OnKeyDown(key, shift);
    if (key != 0 && active_ && active_->OnKeyDown && active_->Reachable()) active_->OnKeyDown(key, shift);
    consumed = key == 0;
  });
  return consumed;
}

char Form::UserKeyPress(char key) {
  if (!RunGuarded([&] {
        if (keyPreview && OnKeyPress) OnKeyPress(key);
        if (key != 0 && active_ && active_->OnKeyPress && active_->Reachable()) active_->OnKeyPress(key);
      }))
    return 0;
  return key;
}

}  // namespace ui
