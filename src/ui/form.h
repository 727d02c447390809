// A form: a top-level window of the program, created once and shown and
// hidden for the rest of the run.
//
// Showing a form modally runs the backend's own loop until the form closes.
// Hiding a form inside its modal loop (to show help, say) does not end the
// loop; showing it again does not run its activation again. OnShow and
// OnActivate run once, in that order, when ShowModal starts, before any user
// input. Keys reach the form before its controls: the form's OnKeyDown and
// OnKeyPress run first (when KeyPreview is on, the default) and may consume
// the key by setting it to 0.
#pragma once

#include <string>

#include "ui/component.h"
#include "ui/controls.h"

namespace ui {

enum class ModalResult { None, Ok, Cancel, Yes, No, YesToAll, Close };

class Form : public Container {
 public:
  // `name` is the name of the form's global ("Startscherm"); `className`
  // the form class ("TStartscherm").
  Form(std::string name, std::string className);
  ~Form() override;

  const std::string& ClassName() const { return className_; }
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);
  // Preferred client size in pixels (0: from the layout).
  int width = 0, height = 0;
  bool keyPreview = true;

  // Shows the form modally and returns when it closes.
  ModalResult ShowModal();
  // Makes the form visible again (after Hide) without activating it.
  void Show();
  // Hides the form; a modal loop goes on.
  void Hide();
  // Closes the form: OnCloseQuery may refuse; then OnClose runs, the form
  // is hidden and its modal loop ends.
  void Close();
  void SetModalResult(ModalResult r) { modalResult_ = r; }
  ModalResult GetModalResult() const { return modalResult_; }
  bool Showing() const { return showing_; }
  bool InModalLoop() const { return modal_; }

  Component* ActiveControl() const { return active_; }

  Event OnCreate, OnShow, OnActivate, OnClose, OnHide;
  std::function<void(bool& canClose)> OnCloseQuery;

  // Key handling, reported by the front end: the form's handler first, then
  // the focused control's. Returns true when a handler consumed the key.
  bool UserKeyDown(uint16_t key, unsigned shift = ShiftNone);
  // Returns the character after the handlers, 0 when they consumed it.
  char UserKeyPress(char key);
  // The user closed the window (title-bar button).
  void UserClose();

  // Runs OnShow and OnActivate as a modal showing does; the backend's main
  // loop calls it for the main form.
  void Activate();

 private:
  friend class Component;
  void MoveFocus(Component* to);
  std::string className_;
  Text caption_;
  Color color_;
  bool showing_ = false;
  bool modal_ = false;
  ModalResult modalResult_ = ModalResult::None;
  Component* active_ = nullptr;
};

}  // namespace ui
