#include "program/mainblock.h"
#include "books/closing/closingintent.h"

#include <cerrno>
#include <functional>
#include <memory>

#include "journal/boekingstuk.h"
#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/adminsettings.h"
#include "masterdata/fixedassets.h"
#include "masterdata/ledgercatunit.h"
#include "masterdata/unitpartners.h"
#include "platform/errors.h"
#include "platform/oserror.h"
#include "reports/Rapport1unit.h"
#include "reports/impexp.h"
#include "reports/managementcockpit.h"
#include "store/fileset.h"
#include "store/startfilecheck.h"
#include "formkit/helpunit.h"
#include "program/startschermunit.h"
#include "system/startuperrorunit.h"
#include "system/systemscreen.h"
#include "system/userunit.h"
#include "ui/application.h"

namespace program {

std::string StartupFileCodes;

void ResetMainBlockState() { StartupFileCodes.clear(); }

namespace {

struct CreatedForm {
  std::unique_ptr<ui::Form> form;
  std::function<void()> clearGlobal;
};

std::vector<CreatedForm>& Created() {
  static std::vector<CreatedForm> c;
  return c;
}

std::vector<ui::Form*>& FormList() {
  static std::vector<ui::Form*> f;
  return f;
}

// Creates one form, sets its global and runs its creation handler.
template <typename T>
T* CreateForm(T*& global) {
  auto form = std::make_unique<T>();
  T* raw = form.get();
  global = raw;
  Created().push_back({std::move(form), [&global] { global = nullptr; }});
  FormList().push_back(raw);
  // An error in a creation handler is shown and the program goes on, as
  // with any other handler.
  if (raw->OnCreate) ui::RunGuarded(raw->OnCreate);
  return raw;
}

}  // namespace

void RegisterEventBoundary() {
  // An error that escapes a user action must not leave a file-set level
  // open (every later open would nest in it and open nothing), nor close
  // the levels of an outer action that showed the failed one's form
  // modally: the boundary ends the levels the failed action opened.
  ui::SetBoundaryCleanup(
      "file set", {[] { return store::FileSetLevels(); }, [](int levels) { store::CloseFileSetDownTo(levels); }});
}

const std::vector<ui::Form*>& ProgramForms() { return FormList(); }

void CreateForms() {
  CreateForm(Startscherm);
  CreateForm(masterdata::Ledgercategory);
  CreateForm(masterdata::Ledger);
  CreateForm(reports::Rapport1);
  CreateForm(systemforms::systemscherm);
  CreateForm(systemforms::Users);
  CreateForm(masterdata::Administrations);
  CreateForm(masterdata::administrationsetting);
  CreateForm(journal::boeking);
  CreateForm(reports::cockpit);
  CreateForm(formkit::helpform);
  CreateForm(masterdata::partners2);
  CreateForm(masterdata::Fixedassetsform);
  CreateForm(reports::ExportImport);
}

void DestroyForms() {
  auto& c = Created();
  while (!c.empty()) {
    c.back().clearGlobal();
    c.pop_back();
  }
  FormList().clear();
}

int RunProgram(const std::string& startFolder) {
  RegisterEventBoundary();
  // A period closing that stopped part-way is finished at the next open of
  // its files.
  books::closing::InstallClosingIntentHook();
  store::StartFolder = startFolder;
  store::ForceCloseFileSet();
  ui::SetApplicationTitle("Ombrelo Account");

  StartupFileCodes = "USE;SYS;ADM;LAN;INS";
  int result = 0;
  try {
    store::OpenFileSet(StartupFileCodes, result);
  } catch (const platform::IoError& e) {
    // A start-up file that cannot even be created is reported like any
    // other start-up failure instead of ending the program. The data store
    // has put the file's error text in place; keep it.
    result = 1;
    if (store::FileErrorText.empty()) {
      store::FileErrorText = e.what();
      store::FileErrorCode = e.Code();
    }
  }

  if (result != 0) {
    systemforms::StartupErrorText = store::FileErrorText;
    systemforms::StartupErrorCode = store::FileErrorCode;
  } else {
    // A user or system-parameter file that holds less than one whole record
    // is damaged, not new: the program does not start on it (a first run
    // would overwrite it), and nothing is written to it.
    for (store::FileCode code : {store::FileCode::USE, store::FileCode::SYS}) {
      if (auto text = store::TornStartFileText(code)) {
        systemforms::StartupErrorText = *text;
        systemforms::StartupErrorCode = platform::kErrnoBase + EBADMSG;
        result = 1;
        store::ForceCloseFileSet();
        break;
      }
    }
  }

  if (result != 0) {
    CreateForm(Startscherm);
    CreateForm(systemforms::startuperror);
    systemforms::startuperror->ShowModal();
    DestroyForms();
    return 1;
  }

  CreateForms();
  ui::GetBackend().RunMain(*Startscherm);
  store::ForceCloseFileSet();
  DestroyForms();
  return 0;
}

}  // namespace program
