#include "ui/application.h"

#include <exception>

namespace ui {
namespace {

Backend* g_backend = nullptr;
Text g_title;

std::vector<std::function<void()>>& Cleanups() {
  static std::vector<std::function<void()>> c;
  return c;
}

}  // namespace

void SetBackend(Backend* b) { g_backend = b; }

Backend& GetBackend() {
  if (!g_backend) std::terminate();  // a program without a backend cannot show anything
  return *g_backend;
}

void SetApplicationTitle(const Text& t) { g_title = t; }
const Text& ApplicationTitle() { return g_title; }

void ShowMessage(const Text& text) {
  GetBackend().MessageBox(text, g_title, Buttons::Ok, DialogKind::Information);
}

ModalResult MessageDlg(const Text& text, DialogKind kind, Buttons buttons, const Text& caption) {
  return GetBackend().MessageBox(text, caption.empty() ? g_title : caption, buttons, kind);
}

void AddBoundaryCleanup(std::function<void()> fn) { Cleanups().push_back(std::move(fn)); }

bool RunGuarded(const std::function<void()>& fn) {
  Text what;
  try {
    fn();
    return true;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "Unknown error";
  }
  for (auto& c : Cleanups()) {
    try {
      c();
    } catch (...) {
    }
  }
  if (g_backend) g_backend->MessageBox(what, g_title, Buttons::Ok, DialogKind::Error);
  return false;
}

}  // namespace ui
