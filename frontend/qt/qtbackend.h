// The desktop backend: renders the component model with Qt 6 Widgets and
// provides the services the forms call on (modal showing, message boxes,
// file dialogs, the web browser).
//
// Modality: a modal showing runs its own QEventLoop until the form closes.
// Hiding the form inside that loop only hides its window; the loop goes on
// until form.Close() (EndModal). Keys: an application-wide filter hands the
// keys of a form's window to the form (Form::UserKeyDown, Form::UserKeyPress)
// before the focused widget sees them; an open combo list keeps its own keys
// (Escape, Enter, moving and searching) and passes function keys to the form.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/application.h"

class QAction;
class QEventLoop;
class QWidget;

namespace qtfront {

class FormWindow;
class Peer;
class EventRouter;

class QtBackend : public ui::Backend {
 public:
  // A QApplication must exist. Makes itself the program's backend.
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // The backend in use, or null.
  static QtBackend* Instance();

  void RunModal(ui::Form& form) override;
  void EndModal(ui::Form& form) override;
  void RunMain(ui::Form& form) override;
  ui::ModalResult MessageBox(const ui::Text& text, const ui::Text& caption, ui::Buttons buttons,
                             ui::DialogKind kind) override;
  std::optional<std::string> OpenFileDialog(const ui::FileDialogOptions& o) override;
  std::optional<std::string> SaveFileDialog(const ui::FileDialogOptions& o) override;
  std::optional<std::string> SelectFolder(const ui::Text& title, const std::string& start) override;
  void OpenUrl(const std::string& url) override;
  void CopyImage(ui::Component& component) override;
  void VisibilityChanged(ui::Form& form) override;
  void FormClosed(ui::Form& form) override;
  // Long work: the wait cursor, no user input to the forms' windows (a
  // close is refused), and at a tick the deferred changes shown and the
  // windows repainted, at most every longWorkRepaintMs.
  void LongWorkBegin() override;
  void LongWorkTick() override;
  void LongWorkEnd() override;
  bool Busy() const { return busy_; }
  int longWorkRepaintMs = 100;

  // The form's window, built on first use.
  FormWindow& WindowFor(ui::Form& form);
  FormWindow* ExistingWindow(const ui::Form& form) const;
  // The widget of a component (its form's window is built if needed); null
  // for menu items and components outside a form.
  QWidget* WidgetFor(const ui::Component& c);
  // The action of a menu item or of a member of a tool bar.
  QAction* ActionFor(const ui::Component& c);

  // Instead of a real dialog, when set (tests, scripted runs): return a
  // value to answer, nullopt to show the dialog after all.
  std::function<std::optional<ui::ModalResult>(const ui::Text& text, const ui::Text& caption, ui::Buttons,
                                               ui::DialogKind)>
      messageHook;
  // kind is "open", "save" or "folder"; the outer optional as above.
  std::function<std::optional<std::optional<std::string>>(const std::string& kind, const ui::FileDialogOptions&)>
      dialogHook;
  // Takes the picture CopyImage would put on the clipboard (tests).
  std::function<void(const QImage&)> copyHook;

  // Front end internals.
  void Register(QWidget* w, Peer* p);
  void Unregister(QWidget* w);
  // The peer of `w` or of the nearest widget above it in the same window.
  Peer* NearestPeer(QWidget* w) const;
  void WindowGone(FormWindow* w);

 private:
  struct ModalFrame {
    ui::Form* form;
    QEventLoop* loop;
    bool ended = false;
  };
  QWidget* DialogParent() const;
  void RepaintDuringLongWork();

  std::unordered_map<const ui::Form*, FormWindow*> windows_;
  std::vector<QPointer<FormWindow>> dying_;
  std::unordered_map<const QWidget*, Peer*> peers_;
  std::vector<ModalFrame*> modal_;
  ui::Form* mainForm_ = nullptr;
  QEventLoop* mainLoop_ = nullptr;
  bool mainClosed_ = false;
  bool busy_ = false;
  QElapsedTimer repainted_;
  std::unique_ptr<EventRouter> router_;
};

// While it lives a dialog waits for the user: the pointer is the normal
// arrow, also when long work has put up the wait cursor.
class DialogCursor {
 public:
  DialogCursor();
  ~DialogCursor();
  DialogCursor(const DialogCursor&) = delete;
  DialogCursor& operator=(const DialogCursor&) = delete;

 private:
  bool pushed_ = false;
};

// Builds the form's window if needed, lays it out and grabs it as an image
// (offscreen or not, the window need not be shown).
QImage RenderForm(ui::Form& form);
// The widget of the component called `name` in `form`, or null.
QWidget* FindWidget(ui::Form& form, const std::string& name);

}  // namespace qtfront
