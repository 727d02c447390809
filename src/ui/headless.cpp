#include "ui/headless.h"

namespace ui {

HeadlessBackend::HeadlessBackend() { SetBackend(this); }

HeadlessBackend::~HeadlessBackend() { SetBackend(nullptr); }

void HeadlessBackend::RunModal(Form& form) {
  modalShown.push_back(form.Name());
  auto it = scripts.find(form.Name());
  if (it != scripts.end() && it->second) RunGuarded([&] { it->second(form); });
  if (form.InModalLoop()) form.Close();
  // A form that refuses to close ends its showing all the same: nobody is
  // left to close it.
  if (form.InModalLoop()) EndModal(form);
}

void HeadlessBackend::EndModal(Form& form) {}

void HeadlessBackend::RunMain(Form& form) {
  // As in the desktop main loop: an error in the activation is shown and
  // the main form stays, for its script to use.
  RunGuarded([&] { form.Activate(); });
  if (mainScript) RunGuarded([&] { mainScript(form); });
  if (form.Showing()) form.Close();
}

ModalResult HeadlessBackend::MessageBox(const Text& text, const Text& caption, Buttons buttons, DialogKind kind) {
  messages.push_back({text, caption, buttons, kind});
  if (!messageAnswers.empty()) {
    ModalResult r = messageAnswers.front();
    messageAnswers.pop_front();
    return r;
  }
  switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
      return ModalResult::Ok;
    default:
      return ModalResult::Yes;
  }
}

std::optional<std::string> HeadlessBackend::NextDialogAnswer() {
  if (dialogAnswers.empty()) return std::nullopt;
  auto r = dialogAnswers.front();
  dialogAnswers.pop_front();
  return r;
}

std::optional<std::string> HeadlessBackend::OpenFileDialog(const FileDialogOptions& o) {
  dialogsShown.push_back(o);
  return NextDialogAnswer();
}

std::optional<std::string> HeadlessBackend::SaveFileDialog(const FileDialogOptions& o) {
  dialogsShown.push_back(o);
  return NextDialogAnswer();
}

std::optional<std::string> HeadlessBackend::SelectFolder(const Text& title, const std::string& start) {
  FileDialogOptions o;
  o.title = title;
  o.initialFolder = start;
  dialogsShown.push_back(o);
  return NextDialogAnswer();
}

void HeadlessBackend::OpenUrl(const std::string& url) { urlsOpened.push_back(url); }

void HeadlessBackend::CopyImage(Component& component) { imagesCopied.push_back(component.Name()); }

}  // namespace ui
