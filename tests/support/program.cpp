#include "support/program.h"

#include <stdexcept>

#include "masterdata/Administrationsunit.h"
#include "records/administrationrec.h"
#include "store/fileset.h"
#include "program/mainblock.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "text/textroutines.h"
#include "support/records.h"
#include "ui/application.h"

namespace support {

namespace {

// Opens `list` as a set of its own, or throws.
struct OwnSet {
  explicit OwnSet(const std::string& list) {
    int result = 0;
    store::OpenFileSet(list, result);
    if (result != 0) throw std::runtime_error("file set " + list + ": " + store::FileErrorText);
  }
  ~OwnSet() { store::CloseFileSet(); }
};

}  // namespace

ProgramFixture::ProgramFixture() { program::RegisterEventBoundary(); }

ProgramFixture::~ProgramFixture() { program::DestroyForms(); }

void ProgramFixture::Start() {
  store::ForceCloseFileSet();
  int result = 0;
  store::OpenFileSet("USE;SYS;ADM;LAN;INS", result);
  if (result != 0) throw std::runtime_error("start-up set: " + store::FileErrorText);
  program::CreateForms();
  // As the main loop starts.
  program::Startscherm->Activate();
}

void ProgramFixture::Restart() {
  program::DestroyForms();
  Start();
}

program::TStartscherm& ProgramFixture::Screen() const {
  if (!program::Startscherm) throw std::logic_error("the program was not started");
  return *program::Startscherm;
}

records::UserRec ProgramFixture::MakeUser(const std::string& id, const std::string& password,
                                          const std::string& rights, const std::string& setAt) {
  records::UserRec rec;
  rec.SetUserId(id);
  rec.SetUserName(id);
  rec.SetEndUser(rights.at(0));
  rec.SetEndUserManager(rights.at(1));
  rec.SetSystemAdministrator(rights.at(2));
  rec.SetMemo("memo of " + id);
  rec.SetChangedBy("SYSTEM");
  rec.SetPasswordSetAt(setAt);
  rec.SetPasswordChecksum(text::StringChecksum(password, setAt));
  return rec;
}

void ProgramFixture::WriteUsers(const std::vector<records::UserRec>& users) {
  OwnSet set("USE");
  store::RewriteFile(store::FileCode::USE, users);
}

records::UserRec ProgramFixture::ReadUser(const std::string& id) {
  OwnSet set("USE");
  records::UserRec rec;
  for (int i = 0; i < store::RecordCount(store::FileCode::USE); ++i) {
    store::ReadRecord(store::FileCode::USE, i, rec);
    if (rec.UserId() == id) return rec;
  }
  rec.Clear();
  return rec;
}

void ProgramFixture::WriteAdministrations(const std::vector<std::pair<std::string, std::string>>& administrations) {
  std::vector<records::AdministrationRec> recs;
  for (const auto& [shortName, name] : administrations) {
    records::AdministrationRec rec;
    rec.SetShortName(shortName);
    rec.SetName(name);
    recs.push_back(rec);
  }
  OwnSet set("SYS;ADM");
  store::RewriteFile(store::FileCode::ADM, recs);
  // Each administration has its folder below the root, as the
  // administrations form makes it.
  for (const auto& rec : recs)
    if (masterdata::IsUsableShortName(rec.ShortName()))
      store.fs.AddFolder(masterdata::AdministrationFolder(rec.ShortName()));
}

void ProgramFixture::SetUserOptions(bool identification, bool password) {
  store::SystemParams.SetUserIdentification(identification);
  store::SystemParams.SetPasswordProtection(password);
}

void ProgramFixture::LogIn(const std::string& id, const std::string& password, const std::string& administration) {
  program::TStartscherm& s = Screen();
  s.Edit2.SetText(id);
  s.Edit3.SetText(password);
  s.ComboBox1.SetText(administration);
  s.Button1.UserClick();
}

void ProgramFixture::StartWithAcme() {
  Start();
  WriteUsers({MakeUser("SYSTEM", "kestal", "YYY")});
  WriteAdministrations({{"ACME", "Acme Ltd"}});
  Restart();
  SetUserOptions(true, true);
}

void ProgramFixture::LogInToAcme() { LogIn("SYSTEM", "kestal", "Acme Ltd"); }

void ProgramFixture::LogInAgainWith(const records::AdminSettingsRec& settings) {
  store.fs.SetFile(masterdata::AdministrationFolder("ACME") + "adminset.vlk", Bytes(settings));
  DoubleClick(program::TreeFunction::SwitchAdministration);
  LogInToAcme();
}

ui::TreeNode* ProgramFixture::Node(program::TreeFunction function) const {
  for (ui::TreeNode* n : Screen().TreeView1.AllNodes())
    if (n->data == static_cast<std::int64_t>(function) && function != program::TreeFunction::None) return n;
  return nullptr;
}

bool ProgramFixture::DoubleClick(program::TreeFunction function) {
  ui::TreeNode* n = Node(function);
  if (!n) return false;
  Screen().TreeView1.Select(n);
  Screen().TreeView1.UserDblClick();
  return true;
}

std::vector<std::string> ProgramFixture::TreeLines() const {
  std::vector<std::string> lines;
  for (const ui::TreeNode* n : Screen().TreeView1.AllNodes()) {
    std::string line(static_cast<std::size_t>(2 * n->Level()), ' ');
    line += n->GetText() + " [" + std::to_string(n->imageIndex) + "]";
    if (n->data != 0) line += " #" + std::to_string(n->data);
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> ProgramFixture::TopLevelTexts() const {
  std::vector<std::string> texts;
  const auto& roots = Screen().TreeView1.Roots();
  if (roots.empty()) return texts;
  for (const auto& c : roots.front()->Children()) texts.push_back(c->GetText());
  return texts;
}

std::vector<std::string> ProgramFixture::OpenedPaths() const { return store.fs.LogOf("open rw "); }

}  // namespace support
