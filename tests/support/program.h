// The whole program on the fake data store, without its main loop: every
// form created inside the start-up file set as the main block does it, and
// the start screen's first activation run (a first run shows the settings
// form first, which the headless backend closes unless a script says more).
// Tests then drive the start screen as a user would: log in, pick nodes of
// the function tree, press keys.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "records/adminsettingsrec.h"
#include "records/userrec.h"
#include "program/startschermunit.h"
#include "store/fileset.h"
#include "support/bookyear.h"
#include "support/fakefs.h"
#include "ui/controls.h"
#include "ui/headless.h"

namespace support {

class ProgramFixture {
 public:
  ProgramFixture();
  ~ProgramFixture();
  ProgramFixture(const ProgramFixture&) = delete;
  ProgramFixture& operator=(const ProgramFixture&) = delete;

  FakeDataStore store;
  ui::HeadlessBackend backend;

  // Creates the forms and activates the start screen (the program starts).
  void Start();
  // Ends the forms and starts the program again on the same files.
  void Restart();
  program::TStartscherm& Screen() const;

  // A user record with the password set at `setAt`; rights as three 'Y' or
  // 'N' (end user, end-user manager, system administrator).
  static records::UserRec MakeUser(const std::string& id, const std::string& password, const std::string& rights,
                                   const std::string& setAt = "01-02-2026 10:00:00");
  // Replaces the user file.
  void WriteUsers(const std::vector<records::UserRec>& users);
  // The user record of `id` as the file holds it (an empty record when none).
  records::UserRec ReadUser(const std::string& id);
  // Replaces the administrations file (short name and name per entry) and
  // makes each administration's folder.
  void WriteAdministrations(const std::vector<std::pair<std::string, std::string>>& administrations);
  // The user options in the live system parameters.
  void SetUserOptions(bool identification, bool password);

  // Fills the log-in panel (the administration box by text) and clicks OK.
  void LogIn(const std::string& id, const std::string& password, const std::string& administration);

  // The end-to-end tests' program: the one user "SYSTEM" (password
  // "kestal", all rights) and the one administration ACME "Acme Ltd",
  // started again with user identification and password asked. Nobody is
  // logged in yet: what the first log-in reads can still be written.
  void StartWithAcme();
  // "SYSTEM" logs in to "Acme Ltd".
  void LogInToAcme();
  // Takes up new administration settings as the program does: `settings`
  // written as ACME's settings file, then Switch administration and
  // "SYSTEM" logs in to "Acme Ltd" again, which reads them. Needs a log-in.
  void LogInAgainWith(const records::AdminSettingsRec& settings);

  // The node of a function, or nullptr.
  ui::TreeNode* Node(program::TreeFunction function) const;
  // Selects the node of `function` and double-clicks the tree; false when
  // the tree has no such node.
  bool DoubleClick(program::TreeFunction function);
  // Double-clicks the node of `function` and runs `script` in the form
  // named `form` while it shows. Fails the test when the tree has no such
  // node, when the form did not show, or when the file set is still open
  // after it.
  template <class F>
  void ShowFromTree(program::TreeFunction function, const std::string& form,
                    const std::type_identity_t<std::function<void(F&)>>& script) {
    bool shown = false;
    backend.scripts[form] = [&script, &shown](ui::Form& f) {
      shown = true;
      script(static_cast<F&>(f));
    };
    ASSERT_TRUE(DoubleClick(function)) << form;
    // The script refers to this call's locals: a later showing runs without it.
    backend.scripts.erase(form);
    EXPECT_TRUE(shown) << form;
    EXPECT_FALSE(store::FileSetOpen) << form;
  }
  // The tree, one line per node in display order: two blanks per level, the
  // text, " [image]" and, for a function node, " #id".
  std::vector<std::string> TreeLines() const;
  // The texts of the nodes directly below the root.
  std::vector<std::string> TopLevelTexts() const;

  // The file-system log entries "open rw P" since the last ClearLog, as P.
  std::vector<std::string> OpenedPaths() const;
};

}  // namespace support
