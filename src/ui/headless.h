// A backend without any window, for tests: a modal showing runs the script
// the test registered for that form (by the form's name) and then closes the
// form if the script left it open; message boxes and dialogs take queued
// answers and record what they showed.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui {

class HeadlessBackend : public Backend {
 public:
  struct Message {
    Text text, caption;
    Buttons buttons;
    DialogKind kind;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  // What runs while a form is shown modally (called once per showing).
  std::map<std::string, std::function<void(Form&)>> scripts;
  // The main form's script; the main form is closed after it when still open.
  std::function<void(Form&)> mainScript;
  // Answers for message boxes, in order; when empty, Ok for an OK box and
  // the first button otherwise (Yes / Ok).
  std::deque<ModalResult> messageAnswers;
  // Answers for the file and folder dialogs; when empty, cancelled.
  std::deque<std::optional<std::string>> dialogAnswers;

  // What was shown.
  std::vector<Message> messages;
  std::vector<std::string> modalShown;  // form names, in order
  std::vector<std::string> urlsOpened;
  std::vector<std::string> imagesCopied;  // names of the components copied
  std::vector<FileDialogOptions> dialogsShown;

  void RunModal(Form& form) override;
  void EndModal(Form& form) override;
  void RunMain(Form& form) override;
  ModalResult MessageBox(const Text& text, const Text& caption, Buttons buttons, DialogKind kind) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& o) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& o) override;
  std::optional<std::string> SelectFolder(const Text& title, const std::string& start) override;
  void OpenUrl(const std::string& url) override;
  void CopyImage(Component& component) override;

 private:
  std::optional<std::string> NextDialogAnswer();
};

}  // namespace ui
