#include "system/userunit.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "formkit/filesetscope.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "store/startfilecheck.h"
#include "ui/application.h"
#include "formkit/helpmenu.h"
#include "formkit/website.h"

namespace systemforms {

using text::BuiltInText;
using text::L;

const std::string BuiltInUserMemo =
    "Change password, write on paper, and keep it in an closed envelope a save place. Change this memo text.";

int UserCount = 0;
std::string YesMark;
std::string NoMark;
std::string MsgUserIdTooShort;
std::string MsgPasswordTooShort;
std::string MsgPasswordsDiffer;
std::string MsgNoPassword;
std::string MsgSystemCannotBeDeleted;
std::string MsgEntryPending;
std::string MsgUserIdExists;
std::string MsgRequiredSuffix;
formkit::HelpCaptionBlockRec UsersHelpCaptionBlock;
TUsers* Users = nullptr;

void ResetUsersState() {
  UserCount = 0;
  YesMark = "Yes";
  NoMark = "No";
  MsgUserIdTooShort = "The user id must have at least 6 characters";
  MsgPasswordTooShort = "The password must have at least 6 characters";
  MsgPasswordsDiffer = "The two passwords are not identical";
  MsgNoPassword = "Enter the new password twice";
  MsgSystemCannotBeDeleted = "The built-in user SYSTEM cannot be deleted";
  MsgEntryPending = "First add or delete the entry in the edit fields";
  MsgUserIdExists = "This user id exists already";
  MsgRequiredSuffix = " (required field)";
  systemforms::UsersHelpCaptionBlock = formkit::HelpCaptionBlockRec{};
}

namespace {

// The unit state starts as ResetUsersState leaves it.
const bool kUnitStateSet = (ResetUsersState(), true);

// The English of the two move hints, which the language file has no text
// for; ApplyLanguageTexts gives them in Dutch and German as well.
const char* const kSelectHintEnglish = text::BuiltInTextEnglish(text::BuiltIn::SelectHintText);
const char* const kAddHintEnglish = text::BuiltInTextEnglish(text::BuiltIn::AddHintText);

constexpr std::size_t kMinIdLength = 6, kMaxIdLength = 10;
constexpr std::size_t kMinPasswordLength = 6, kMaxPasswordLength = 12;

// The date-time text of now as the user record holds it.
std::string NowStamp() { return text::Cut(platform::DateTimeToText(platform::Now()), 20); }

records::UserRec BuiltInUser() {
  records::UserRec rec;
  rec.SetUserId(kSystemUserId);
  rec.SetUserName(kSystemUserId);
  rec.SetEndUser('Y');
  rec.SetEndUserManager('Y');
  rec.SetSystemAdministrator('Y');
  rec.SetMemo(BuiltInUserMemo);
  rec.SetChangedBy(kSystemUserId);
  const std::string setAt = NowStamp();
  rec.SetPasswordSetAt(setAt);
  rec.SetPasswordChecksum(text::StringChecksum(kDefaultPassword, setAt));
  return rec;
}

// The lines of a memo text (CR LF, LF or CR between them).
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}

// The memo's lines as one text, CR LF between them (none after the last), so
// that a memo taken out of the grid and put back is the same text.
std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace

// --- the user-file routines -------------------------------------------------

int CountUsers() {
  formkit::FileSetScope scope("USE", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return 0;
  const int count = store::RecordCount(store::FileCode::USE);
  scope.Close();
  return count;
}

void FindUser(std::uint8_t& Found, records::UserRec& Rec) {
  Found = 0;
  formkit::FileSetScope scope("USE", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  const std::string wanted = Rec.UserId();
  // Always from the first record, wherever an enclosing set left the file.
  const std::vector<records::UserRec> users =
      store::ReadAll<records::UserRec>(store::FileCode::USE, store::kSmallFileLimit);
  scope.Close();
  for (const records::UserRec& user : users) {
    Rec = user;
    if (user.UserId() == wanted) {
      Found = 1;
      break;
    }
  }
}

void UpdateUser(std::uint8_t& Found, records::UserRec& Rec) {
  Found = 0;
  Rec.SetChangedBy(text::SystemSettings.CurrentUser);
  const std::string wanted = Rec.UserId();
  const std::vector<records::UserRec> users =
      store::ReadAll<records::UserRec>(store::FileCode::USE, store::kSmallFileLimit);
  for (std::size_t i = 0; i < users.size(); ++i) {
    if (users[i].UserId() == wanted) {
      store::WriteRecord(store::FileCode::USE, static_cast<int>(i), Rec);
      Found = 1;
      break;
    }
  }
}

// --- the form ---------------------------------------------------------------

TUsers::TUsers() : ui::Form("Users", "TUsers") {
  SetCaption("Users");
  width = 820;
  height = 640;

  Save.SetCaption("Save");
  Select.SetCaption("Up");
  Add.SetCaption("Down");
  Delete.SetCaption("Delete");
  Cancel.SetCaption("Cancel");
  Select.SetHint(kSelectHintEnglish);
  Add.SetHint(kAddHintEnglish);

  Save1.SetAction(&Save);
  Cancel1.SetAction(&Cancel);
  Up1.SetAction(&Select);
  Down1.SetAction(&Add);
  Delete1.SetAction(&Delete);
  ToolButton1.SetAction(&Save);
  ToolButton2.SetAction(&Delete);
  Image1.SetAction(&Select);
  Image2.SetAction(&Add);
  Button1.SetAction(&Delete);
  Button2.SetAction(&Save);
  Button3.SetAction(&Cancel);

  Label2.SetBold(true);

  StringGrid1.hints.stretch = 1;
  StringGrid1.hints.minWidth = 600;
  StringGrid1.SetFixedRows(1);
  const int widths[ColumnCount] = {80, 150, 32, 32, 32, 200, 80, 130, 0};
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetColWidth(c, widths[c]);
  StringGrid1.SetCell(ColUserId, 0, "User id");
  StringGrid1.SetCell(ColUserName, 0, "User name");
  StringGrid1.SetCell(ColEndUser, 0, "[1]");
  StringGrid1.SetCell(ColEndUserManager, 0, "[2]");
  StringGrid1.SetCell(ColSystemAdministrator, 0, "[3]");
  StringGrid1.SetCell(ColMemo, 0, "Memo");
  StringGrid1.SetCell(ColChangedBy, 0, "Changed by");
  StringGrid1.SetCell(ColPasswordSetAt, 0, "Password set at");

  Panel2.SetBevel(false);
  Image1.hints.width = 90;
  Image2.hints.width = 90;

  Panel1.gridColumns = 2;
  Panel3.SetBevel(false);
  Edit1.SetCharCase(ui::CharCase::Upper);
  Edit1.SetMaxLength(static_cast<int>(kMaxIdLength));
  Edit2.SetMaxLength(30);
  Edit2.hints.minWidth = 260;
  Memo2.hints.height = 60;
  Memo2.SetMaxLength(kUserMemoRoom);
  Edit3.SetReadOnly(true);
  Edit4.SetReadOnly(true);
  Edit3.SetBackColor(ui::colors::BtnFace);
  Edit4.SetBackColor(ui::colors::BtnFace);
  for (ui::Edit* e : {&Edit5, &Edit6}) {
    e->SetMaxLength(static_cast<int>(kMaxPasswordLength));
    e->SetPasswordChar('*');
  }
  UnlockEntryFields();

  Panel4.SetBevel(false);
  for (ui::Button* b : {&Button1, &Button2, &Button3}) b->hints.width = 90;

  OnCreate = [this] { FormCreate(); };
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  Save.OnExecute = [this] { SaveExecute(); };
  Select.OnExecute = [this] { SelectExecute(); };
  Add.OnExecute = [this] { AddExecute(); };
  Delete.OnExecute = [this] { DeleteExecute(); };
  Cancel.OnExecute = [this] { CancelExecute(); };
  Edit1.OnExit = [this] { Edit1Exit(); };
  Edit5.OnExit = [this] { Edit5Exit(); };
  Edit6.OnExit = [this] { Edit6Exit(); };
  formkit::BindHelpMenu(*this, systemforms::UsersHelpCaptionBlock,
                        {{&BrenvickHelp1, ""},
                         {&BrenvickUsersHelp1, "<USE00>"},
                         {&Tutorial1, "<TUT00>"},
                         {&About1, "<ABO00>"},
                         {&ToolButton3, "<USE00>"}},
                        &Brenvickhomepage1);
}

void TUsers::ShowStatus(const std::string& text, ui::Color color) { StatusBar1.Show(text, color); }
void TUsers::ClearStatus() { StatusBar1.Show("", ui::colors::Default); }

void TUsers::UnlockEntryFields() {
  for (ui::Edit* e : {&Edit1, &Edit2}) {
    e->SetReadOnly(false);
    e->SetBackColor(ui::colors::Cream);
  }
  for (ui::CheckBox* c : {&CheckBox1, &CheckBox2, &CheckBox3}) c->SetEnabled(true);
}

void TUsers::ShowRow(int index) {
  const UserRow& row = rows_.At(index);
  const records::UserRec& rec = row.rec;
  const int r = index + 1;
  StringGrid1.SetCell(ColUserId, r, rec.UserId());
  StringGrid1.SetCell(ColUserName, r, rec.UserName());
  StringGrid1.SetCell(ColEndUser, r, rec.EndUser() == 'Y' ? YesMark : NoMark);
  StringGrid1.SetCell(ColEndUserManager, r, rec.EndUserManager() == 'Y' ? YesMark : NoMark);
  StringGrid1.SetCell(ColSystemAdministrator, r, rec.SystemAdministrator() == 'Y' ? YesMark : NoMark);
  StringGrid1.SetCell(ColMemo, r, rec.Memo());
  StringGrid1.SetCell(ColChangedBy, r, rec.ChangedBy());
  StringGrid1.SetCell(ColPasswordSetAt, r, row.added ? std::string() : rec.PasswordSetAt());
  StringGrid1.SetCell(ColChecksum, r, row.added ? row.newPassword : std::to_string(rec.PasswordChecksum()));
}

void TUsers::ShowRows(int from) {
  UserCount = rows_.Count();
  StringGrid1.SetRowCount(std::max(kMinGridRows, UserCount + 2));
  for (int i = from; i < UserCount; ++i) ShowRow(i);
  // Rows a longer list showed before must not stay behind.
  for (int r = UserCount + 1; r < StringGrid1.RowCount(); ++r)
    for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, r, "");
}

void TUsers::ClearEditFields() {
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6}) e->SetText("");
  Memo2.Clear();
  for (ui::CheckBox* c : {&CheckBox1, &CheckBox2, &CheckBox3}) c->SetChecked(false);
}

// At start-up, inside the start-up set: an empty user file gets the built-in
// user with the default password. A file that holds bytes but not one whole
// record is damaged, not empty: it is reported and kept as it is.
void TUsers::FormCreate() {
  formkit::FileSetScope scope("USE", formkit::FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  if (store::RecordCount(store::FileCode::USE) == 0) {
    store::RefuseTornStartFile(store::FileCode::USE);
    store::RewriteFile(store::FileCode::USE, std::vector<records::UserRec>{BuiltInUser()});
  }
  scope.Close();
}

// The start screen has opened "USE"; this reads the whole file into the grid
// and ends that set.
void TUsers::FormActivate() {
  ClearEditFields();
  UnlockEntryFields();
  ClearStatus();

  rows_.Clear();
  loadedWhole_ = false;
  {
    formkit::FileSetScope scope("USE", formkit::FileSetReport::TextOnly);
    if (scope.Ok()) {
      try {
        std::vector<UserRow> rows;
        for (records::UserRec& rec : store::ReadAll<records::UserRec>(store::FileCode::USE, store::kSmallFileLimit))
          rows.push_back({rec, false, {}});
        rows_.Load(std::move(rows), store::SnapshotOf(store::FileCode::USE));
        loadedWhole_ = true;
      } catch (const platform::IoError& e) {
        ui::ShowMessage(e.what());
      }
      scope.Close();
    }
  }
  ShowRows();
  StringGrid1.SetRow(UserCount + 1);
  store::CloseFileSet();
  // Without the users the form has nothing to work on, and a Save would
  // lose them: it closes again (the message box has told why).
  if (!loadedWhole_) Close();
}

void TUsers::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::Escape) {
    key = 0;
    CancelExecute();
  } else if (key == ui::keys::F1) {
    key = 0;
    formkit::ShowHelpFrom(*this, "<USE00>", systemforms::UsersHelpCaptionBlock);
  }
}

// Takes the current row out of the grid into the edit fields.
void TUsers::SelectExecute() {
  ClearStatus();
  if (!Edit1.GetText().empty()) {
    ShowStatus(MsgEntryPending, ui::colors::Red);
    return;
  }
  const int r = StringGrid1.Row();
  // Only a row that holds a user: the empty row after the last one (where the
  // grid stands after it was loaded) must not drop the last user.
  if (r < 1 || r > rows_.Count() || rows_.At(r - 1).rec.UserId().empty()) return;

  const UserRow& row = rows_.TakeOut(r - 1);
  const records::UserRec& rec = row.rec;
  const std::string id = rec.UserId();
  Edit1.SetText(id);
  Edit2.SetText(rec.UserName());
  Memo2.SetLines(SplitLines(rec.Memo()));
  Edit3.SetText(rec.ChangedBy());
  Edit4.SetText(row.added ? std::string() : rec.PasswordSetAt());
  CheckBox1.SetChecked(rec.EndUser() == 'Y');
  CheckBox2.SetChecked(rec.EndUserManager() == 'Y');
  CheckBox3.SetChecked(rec.SystemAdministrator() == 'Y');

  if (id == kSystemUserId) {
    for (ui::Edit* e : {&Edit1, &Edit2}) {
      e->SetReadOnly(true);
      e->SetBackColor(ui::colors::SkyBlue);
    }
    for (ui::CheckBox* c : {&CheckBox1, &CheckBox2, &CheckBox3}) c->SetEnabled(false);
  }

  ShowRows(r - 1);
}

// Checks the edit fields and inserts them as a user at its place in user-id
// order, with the new password.
void TUsers::AddExecute() {
  ClearStatus();
  enum class Error { None, Required, IdLength, Password, PasswordLength, Duplicate };
  Error error = Error::None;
  int insertAt = rows_.Count();

  // Each check overrides the result of the one before.
  const std::string id = Edit1.GetText();
  if (id.empty()) {
    error = Error::Required;
  } else {
    if (Edit2.GetText().empty()) Edit2.SetText(id);
    // The length rules of the exit checks hold also when Add comes from the
    // menu or a tool button without the focus leaving a field.
    if (id.size() < kMinIdLength || id.size() > kMaxIdLength) error = Error::IdLength;
  }
  const std::string password = Edit5.GetText();
  const std::string reentered = Edit6.GetText();
  if (reentered.empty() || reentered != password)
    error = Error::Password;
  else if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength)
    error = Error::PasswordLength;
  for (int i = rows_.Count() - 1; i >= 0; --i) {
    const std::string rowId = rows_.At(i).rec.UserId();
    if (rowId == id)
      error = Error::Duplicate;
    else if (cp1252::CompareOrdinal(rowId, id) > 0)
      insertAt = i;
  }

  switch (error) {
    case Error::None:
      break;
    case Error::Duplicate:
      ShowStatus(MsgUserIdExists, ui::colors::Red);
      return;
    case Error::Required:
      ShowStatus(Userid.Caption() + MsgRequiredSuffix, ui::colors::Red);
      return;
    case Error::IdLength:
      ShowStatus(MsgUserIdTooShort, ui::colors::Red);
      return;
    case Error::Password:
      ShowStatus(password != reentered ? MsgPasswordsDiffer : MsgNoPassword, ui::colors::Red);
      return;
    case Error::PasswordLength:
      ShowStatus(MsgPasswordTooShort, ui::colors::Red);
      return;
  }

  UserRow row;
  row.added = true;
  row.newPassword = password;
  row.rec.SetUserId(id);
  row.rec.SetUserName(Edit2.GetText());
  row.rec.SetEndUser(CheckBox1.Checked() ? 'Y' : 'N');
  row.rec.SetEndUserManager(CheckBox2.Checked() ? 'Y' : 'N');
  row.rec.SetSystemAdministrator(CheckBox3.Checked() ? 'Y' : 'N');
  row.rec.SetMemo(JoinLines(Memo2.Lines()));
  row.rec.SetChangedBy(text::SystemSettings.CurrentUser);
  rows_.Insert(insertAt, std::move(row));
  rows_.Release();
  ShowRows(insertAt);

  ClearEditFields();
  UnlockEntryFields();
}

// Drops the user held in the edit fields (it is out of the grid already).
void TUsers::DeleteExecute() {
  if (Edit1.GetText() == kSystemUserId) {
    ShowStatus(MsgSystemCannotBeDeleted, ui::colors::Red);
    return;
  }
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4}) e->SetText("");
  for (ui::CheckBox* c : {&CheckBox1, &CheckBox2, &CheckBox3}) c->SetChecked(false);
  rows_.Release();
  ClearStatus();
}

// Writes the rows back as the whole user file, in grid order, and closes
// the form. A user read from the file goes back byte for byte (its salt and
// checksum too, even one stored without a salt text); an added one gets its
// salt and checksum now. When another copy changed the file since the form
// read it, nothing is written and the form stays open.
void TUsers::SaveExecute() {
  if (!Edit1.GetText().empty()) {
    ShowStatus(MsgEntryPending, ui::colors::Red);
    return;
  }
  // Rows that were not read whole must never replace the file.
  if (!loadedWhole_) {
    Close();
    return;
  }
  const std::string setAt = NowStamp();
  const formkit::SaveOutcome outcome =
      rows_.Save<records::UserRec>(store::FileCode::USE, "USE", [&](const UserRow& row) {
        if (!row.added) return row.rec;
        records::UserRec rec = row.rec;
        rec.SetPasswordSetAt(setAt);
        rec.SetPasswordChecksum(text::StringChecksum(row.newPassword, setAt));
        return rec;
      });
  if (outcome == formkit::SaveOutcome::Written) Close();
}

void TUsers::CancelExecute() { Close(); }

void TUsers::Edit1Exit() {
  if (Edit1.GetText().size() < kMinIdLength) {
    ShowStatus(MsgUserIdTooShort, ui::colors::Red);
    Edit1.SetText("");
  } else {
    ClearStatus();
  }
}

void TUsers::Edit5Exit() {
  if (Edit5.GetText().size() < kMinPasswordLength) {
    ShowStatus(MsgPasswordTooShort, ui::colors::Red);
    Edit5.SetText("");
    Edit6.SetText("");
  } else {
    ClearStatus();
  }
}

void TUsers::Edit6Exit() {
  if (Edit6.GetText() != Edit5.GetText()) {
    ShowStatus(MsgPasswordsDiffer, ui::colors::Red);
    Edit5.SetText("");
    Edit6.SetText("");
  } else {
    ClearStatus();
  }
}

void TUsers::ApplyLanguageTexts() {
  SetCaption(store::ProductTitle + " : " + L(1110) + " / " + L(1159));
  Label2.SetCaption(text::Cut(" " + L(1159), 23));

  File1.SetCaption(L(21));
  Save.SetCaption(L(54));
  Run1.SetCaption(L(247));
  Delete.SetCaption(L(260));
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  Cancel.SetCaption(L(306));
  Select.SetCaption(L(398));
  Add.SetCaption(L(411));
  Brenvickhomepage1.SetCaption(L(486));
  BrenvickHelp1.SetCaption(L(514));
  BrenvickUsersHelp1.SetCaption(L(2184));
  Tutorial1.SetCaption(text::TutorialCaption());

  Userid.SetCaption(L(1947));
  Username.SetCaption(L(1966));
  Label1.SetCaption(L(1981));
  CheckBox1.SetCaption(L(2002) + " [1]");
  CheckBox2.SetCaption(L(2018) + " [2]");
  CheckBox3.SetCaption(L(2043) + " [3]");
  Label3.SetCaption(L(2126));
  Label4.SetCaption(L(2147));
  Label7.SetCaption(L(2163));
  // The memo gets its caption too; the next activation empties it.
  Memo2.SetLines({L(2163)});
  // The labels of the two stamp fields say what their grid columns say.
  Label5.SetCaption(L(2095));
  Label6.SetCaption(L(2064));

  StringGrid1.SetCell(ColUserId, 0, L(1947));
  StringGrid1.SetCell(ColUserName, 0, L(1966));
  StringGrid1.SetCell(ColEndUser, 0, "[1]");
  StringGrid1.SetCell(ColEndUserManager, 0, "[2]");
  StringGrid1.SetCell(ColSystemAdministrator, 0, "[3]");
  StringGrid1.SetCell(ColMemo, 0, L(2163));
  StringGrid1.SetCell(ColChangedBy, 0, L(2095));
  StringGrid1.SetCell(ColPasswordSetAt, 0, L(2064));

  // The grid shows the rights as these marks: marks that are empty or alike
  // would show nothing readable, so such texts are not taken.
  const std::string yes = L(446), no = L(453);
  if (!yes.empty() && !no.empty() && yes != no) {
    YesMark = yes;
    NoMark = no;
  }

  MsgUserIdTooShort = L(9059);
  MsgPasswordTooShort = L(9120);
  MsgPasswordsDiffer = L(9181);
  MsgNoPassword = L(9242);
  MsgSystemCannotBeDeleted = L(9303);
  MsgEntryPending = L(9567);
  MsgUserIdExists = L(9648);
  MsgRequiredSuffix = L(9709);

  Select.SetHint(BuiltInText(text::BuiltIn::SelectHintText));
  Add.SetHint(BuiltInText(text::BuiltIn::AddHintText));
}

}  // namespace systemforms
