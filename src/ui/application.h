// The services the forms call on, and the event boundary.
//
// One Backend serves the whole program: the Qt front end in the desktop
// program, ui::HeadlessBackend (ui/headless.h) in tests. Forms reach it
// through the free functions below.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/form.h"

namespace ui {

enum class Buttons { Ok, YesNo, YesNoCancel, YesNoYesToAll, OkCancel };

enum class DialogKind { Information, Warning, Error, Confirmation };

struct FileDialogOptions {
  Text title;
  // Filter entries as "Description|*.ext;*.ext2".
  std::vector<Text> filters;
  Text defaultExtension;  // without the dot
  std::string initialFolder;  // UTF-8 path
  Text fileName;              // initial name
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Shows `form` and returns when form.Close() (or EndModal) ends it. The
  // form's activation has already run.
  virtual void RunModal(Form& form) = 0;
  // Ends the loop RunModal runs for `form`.
  virtual void EndModal(Form& form) = 0;
  // Shows the main form and runs until it closes.
  virtual void RunMain(Form& form) = 0;
  virtual ModalResult MessageBox(const Text& text, const Text& caption, Buttons buttons, DialogKind kind) = 0;
  // Paths are UTF-8; nullopt when the user cancelled.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& o) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& o) = 0;
  virtual std::optional<std::string> SelectFolder(const Text& title, const std::string& start) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  // Copies the picture of a component (a chart) to the clipboard.
  virtual void CopyImage(Component& component) = 0;
  // A form was shown or hidden outside a modal start or end.
  virtual void VisibilityChanged(Form& form) {}
  // A form that was not showing modally closed (the main form's close ends
  // the program's main loop).
  virtual void FormClosed(Form& form) { VisibilityChanged(form); }
  // Long work (ui/longwork.h): from Begin to End the wait cursor shows and
  // no user input reaches the forms; a tick may repaint.
  virtual void LongWorkBegin() {}
  virtual void LongWorkTick() {}
  virtual void LongWorkEnd() {}
};

void SetBackend(Backend* b);
Backend& GetBackend();
// The backend in use, or null while none is set.
Backend* CurrentBackend();

// The application title (the text of the task-bar button).
void SetApplicationTitle(const Text& t);
const Text& ApplicationTitle();

// Message boxes. The caption defaults to the application title.
void ShowMessage(const Text& text);
// Copies the picture of `component` as the front end draws it to the
// clipboard (the headless backend records it).
void CopyImage(Component& component);
ModalResult MessageDlg(const Text& text, DialogKind kind, Buttons buttons, const Text& caption = {});

// The event boundary. Runs `fn`; an exception that escapes it is shown in
// one message box with its text, the registered clean-ups undo what the
// failed action left behind (the data store closes the file-set levels the
// action opened), and the program goes on. Returns false when an exception
// was caught. Boundaries nest (a handler shows a form modally, and that
// form's handlers run in boundaries of their own): an error inside the inner
// one undoes only what the inner action left, never the outer action's state.
bool RunGuarded(const std::function<void()>& fn);

// What the boundary undoes after an error. `mark` runs when a boundary is
// entered and notes the state; after a caught error `restore` gets the note
// back and brings the state back to it. Neither may throw (an exception from
// them is ignored).
struct BoundaryCleanup {
  std::function<int()> mark;
  std::function<void(int mark)> restore;
};
// Registers `c` under `name`; a registration under a name already used
// replaces the earlier one, so registering again is harmless.
void SetBoundaryCleanup(const std::string& name, BoundaryCleanup c);
// Resets the unit: no clean-up registered, an empty application title.
void ResetApplicationState();

}  // namespace ui
