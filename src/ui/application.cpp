#include "ui/application.h"

#include <algorithm>
#include <exception>

#include "platform/longwork.h"

namespace ui {
namespace {

Backend* g_backend = nullptr;
Text g_title;

struct NamedCleanup {
  std::string name;
  BoundaryCleanup cleanup;
};

std::vector<NamedCleanup>& Cleanups() {
  static std::vector<NamedCleanup> c;
  return c;
}

}  // namespace

void SetBackend(Backend* b) {
  g_backend = b;
  // The long-work scope of the logic below the forms reaches the backend
  // set at the moment it begins, ticks or ends.
  platform::SetLongWorkHooks({[] {
                                if (Backend* now = CurrentBackend()) now->LongWorkBegin();
                              },
                              [] {
                                if (Backend* now = CurrentBackend()) now->LongWorkTick();
                              },
                              [] {
                                if (Backend* now = CurrentBackend()) now->LongWorkEnd();
                              }});
}

Backend* CurrentBackend() { return g_backend; }

Backend& GetBackend() {
  if (!g_backend) std::terminate();  // a program without a backend cannot show anything
  return *g_backend;
}

void SetApplicationTitle(const Text& t) { g_title = t; }
const Text& ApplicationTitle() { return g_title; }

void CopyImage(Component& component) { GetBackend().CopyImage(component); }

void ShowMessage(const Text& text) {
  GetBackend().MessageBox(text, g_title, Buttons::Ok, DialogKind::Information);
}

ModalResult MessageDlg(const Text& text, DialogKind kind, Buttons buttons, const Text& caption) {
  return GetBackend().MessageBox(text, caption.empty() ? g_title : caption, buttons, kind);
}

void SetBoundaryCleanup(const std::string& name, BoundaryCleanup c) {
  for (NamedCleanup& n : Cleanups())
    if (n.name == name) {
      n.cleanup = std::move(c);
      return;
    }
  Cleanups().push_back({name, std::move(c)});
}

void ResetApplicationState() {
  Cleanups().clear();
  g_title.clear();
}

bool RunGuarded(const std::function<void()>& fn) {
  // The marks are taken before the action and kept by position: a handler
  // that registers a clean-up meanwhile gets no restore for this action.
  std::vector<int> marks;
  marks.reserve(Cleanups().size());
  for (const NamedCleanup& n : Cleanups()) {
    int m = 0;
    try {
      if (n.cleanup.mark) m = n.cleanup.mark();
    } catch (...) {
    }
    marks.push_back(m);
  }
  Text what;
  try {
    fn();
    return true;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "Unknown error";
  }
  // Innermost state first: the last registered clean-up undoes first.
  const std::size_t n = std::min(marks.size(), Cleanups().size());
  for (std::size_t i = n; i-- > 0;) {
    try {
      if (Cleanups()[i].cleanup.restore) Cleanups()[i].cleanup.restore(marks[i]);
    } catch (...) {
    }
  }
  if (g_backend) g_backend->MessageBox(what, g_title, Buttons::Ok, DialogKind::Error);
  return false;
}

}  // namespace ui
