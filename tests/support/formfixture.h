// Showing a form in a test the way the start screen's function tree does:
// the tree opens the file set the form works in, shows the form modally,
// and the form's activation ends that set. The script runs while the form
// is shown; the headless backend closes the form after it when the script
// left it open.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>

#include "store/fileset.h"
#include "ui/form.h"
#include "ui/headless.h"

namespace support {

// Opens `files` (none when empty), shows `form` and runs `script` inside
// it. Fails the test when the set cannot be opened, when the form closed in
// its activation before the script could run, or when the set is still
// open afterwards.
template <class F>
void ShowAsTreeDoes(ui::HeadlessBackend& backend, F& form, const std::string& files,
                    const std::type_identity_t<std::function<void(F&)>>& script) {
  bool shown = false;
  backend.scripts[form.Name()] = [&script, &shown](ui::Form& f) {
    shown = true;
    script(static_cast<F&>(f));
  };
  if (!files.empty()) {
    int result = -1;
    store::OpenFileSet(files, result);
    if (result != 0) backend.scripts.erase(form.Name());
    ASSERT_EQ(result, 0) << files << ": " << store::FileErrorText;
  }
  form.ShowModal();
  // The script refers to this call's locals: a later showing runs without it.
  backend.scripts.erase(form.Name());
  EXPECT_TRUE(shown) << form.Name() << " closed in its activation";
  EXPECT_FALSE(store::FileSetOpen) << "the activation of " << form.Name() << " left the set open";
}

}  // namespace support
