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
  // A form was shown or hidden outside a modal start or end.
  virtual void VisibilityChanged(Form& form) {}
  // A form that was not showing modally closed (the main form's close ends
  // the program's main loop).
  virtual void FormClosed(Form& form) { VisibilityChanged(form); }
};

void SetBackend(Backend* b);
Backend& GetBackend();

// The application title (the text of the task-bar button).
void SetApplicationTitle(const Text& t);
const Text& ApplicationTitle();

// Message boxes. The caption defaults to the application title.
void ShowMessage(const Text& text);
ModalResult MessageDlg(const Text& text, DialogKind kind, Buttons buttons, const Text& caption = {});

// The event boundary. Runs `fn`; an exception that escapes it is shown in
// one message box with its text, every registered clean-up runs (the data
// store closes a file set left open), and the program goes on. Returns
// false when an exception was caught.
bool RunGuarded(const std::function<void()>& fn);
// Registers a clean-up that the boundary runs after a caught exception.
void AddBoundaryCleanup(std::function<void()> fn);

}  // namespace ui
