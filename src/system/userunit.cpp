#include "system/userunit.h"

#include <algorithm>
#include <charconv>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "shell/builtintext.h"
#include "shell/fileset.h"
#include "formkit/filesetscope.h"
#include "shell/languagetext.h"
#include "shell/session.h"
#include "shell/systemsettings.h"
#include "shell/textroutines.h"
#include "ui/application.h"
#include "formkit/website.h"

namespace shell {

const std::string BuiltInUserMemo =
    "Change password, write on paper, and keep it in an closed envelope a save place. Change this memo text.";

int UserCount = 0;
std::string YesMark = "Yes";
std::string NoMark = "No";
std::string MsgUserIdTooShort = "The user id must have at least 6 characters";
std::string MsgPasswordTooShort = "The password must have at least 6 characters";
std::string MsgPasswordsDiffer = "The two passwords are not identical";
std::string MsgNoPassword = "Enter the new password twice";
std::string MsgSystemCannotBeDeleted = "The built-in user SYSTEM cannot be deleted";
std::string MsgEntryPending = "First add or delete the entry in the edit fields";
std::string MsgUserIdExists = "This user id exists already";
std::string MsgRequiredSuffix = " (required field)";
HelpCaptionBlockRec UsersHelpCaptionBlock;
TUsers* Users = nullptr;

namespace {

// The English of the two move hints, which the language file has no text
// for; ApplyLanguageTexts gives them in Dutch and German as well.
constexpr const char* kSelectHintEnglish = "Take the current row into the edit fields";
constexpr const char* kAddHintEnglish = "Put the edit fields into the list";

constexpr std::size_t kMinIdLength = 6, kMaxIdLength = 10;
constexpr std::size_t kMinPasswordLength = 6, kMaxPasswordLength = 12;

// The date-time text of now as the user record holds it.
std::string NowStamp() { return platform::DateTimeToText(platform::Now()).substr(0, 20); }

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
  rec.SetPasswordChecksum(StringChecksum(kDefaultPassword, setAt));
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

std::int32_t ChecksumFromText(const std::string& text) {
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty())
    throw platform::ConversionError("'" + text + "' is not a valid password checksum");
  return value;
}

}  // namespace

// --- the user-file routines -------------------------------------------------

int CountUsers() {
  FileSetScope scope("USE", FileSetReport::TextOnly);
  if (!scope.Ok()) return 0;
  const int count = RecordCount(FileCode::USE);
  scope.Close();
  return count;
}

void FindUser(std::uint8_t& Found, records::UserRec& Rec) {
  Found = 0;
  FileSetScope scope("USE", FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  const std::string wanted = Rec.UserId();
  // Always from the first record, wherever an enclosing set left the file.
  const int count = RecordCount(FileCode::USE);
  for (int i = 0; i < count; ++i) {
    ReadRecord(FileCode::USE, i, Rec);
    if (Rec.UserId() == wanted) {
      Found = 1;
      break;
    }
  }
  scope.Close();
}

void UpdateUser(std::uint8_t& Found, records::UserRec& Rec) {
  Found = 0;
  Rec.SetChangedBy(SystemSettings.CurrentUser);
  const std::string wanted = Rec.UserId();
  const int count = RecordCount(FileCode::USE);
  records::UserRec buffer;
  for (int i = 0; i < count; ++i) {
    ReadRecord(FileCode::USE, i, buffer);
    if (buffer.UserId() == wanted) {
      WriteRecord(FileCode::USE, i, Rec);
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
  BrenvickHelp1.OnClick = [this] { BrenvickHelp1Click(); };
  BrenvickUsersHelp1.OnClick = [this] { BrenvickUsersHelp1Click(); };
  Tutorial1.OnClick = [this] { Tutorial1Click(); };
  About1.OnClick = [this] { About1Click(); };
  Brenvickhomepage1.OnClick = [this] { Brenvickhomepage1Click(); };
  ToolButton3.OnClick = [this] { ToolButton3Click(); };
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

void TUsers::FitGridRows() { StringGrid1.SetRowCount(std::max(kMinGridRows, UserCount + 2)); }

void TUsers::ClearEditFields() {
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6}) e->SetText("");
  Memo2.Clear();
  for (ui::CheckBox* c : {&CheckBox1, &CheckBox2, &CheckBox3}) c->SetChecked(false);
}

// At start-up, inside the start-up set: an empty user file gets the built-in
// user with the default password.
void TUsers::FormCreate() {
  FileSetScope scope("USE", FileSetReport::TextOnly);
  if (!scope.Ok()) return;
  if (RecordCount(FileCode::USE) == 0) RewriteFile(FileCode::USE, std::vector<records::UserRec>{BuiltInUser()});
  scope.Close();
}

// The start screen has opened "USE"; this reads the whole file into the grid
// and ends that set.
void TUsers::FormActivate() {
  ClearEditFields();
  UnlockEntryFields();
  ClearStatus();

  // Rows of an earlier showing must not stay behind the users read now.
  for (int r = 1; r < StringGrid1.RowCount(); ++r) {
    for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, r, "");
    StringGrid1.SetRowData(r, 0);
  }
  UserCount = 0;
  loaded_.clear();
  loadedWhole_ = false;
  {
    FileSetScope scope("USE", FileSetReport::TextOnly);
    if (scope.Ok()) {
      const int count = RecordCount(FileCode::USE);
      StringGrid1.SetRowCount(std::max(kMinGridRows, count + 2));
      loaded_.resize(static_cast<std::size_t>(count));
      for (int i = 0; i < count; ++i) {
        records::UserRec& rec = loaded_[static_cast<std::size_t>(i)];
        ReadRecord(FileCode::USE, i, rec);
        const int r = i + 1;
        StringGrid1.SetCell(ColUserId, r, rec.UserId());
        StringGrid1.SetCell(ColUserName, r, rec.UserName());
        StringGrid1.SetCell(ColEndUser, r, rec.EndUser() == 'Y' ? YesMark : NoMark);
        StringGrid1.SetCell(ColEndUserManager, r, rec.EndUserManager() == 'Y' ? YesMark : NoMark);
        StringGrid1.SetCell(ColSystemAdministrator, r, rec.SystemAdministrator() == 'Y' ? YesMark : NoMark);
        StringGrid1.SetCell(ColMemo, r, rec.Memo());
        StringGrid1.SetCell(ColChangedBy, r, rec.ChangedBy());
        StringGrid1.SetCell(ColPasswordSetAt, r, rec.PasswordSetAt());
        StringGrid1.SetCell(ColChecksum, r, std::to_string(rec.PasswordChecksum()));
        StringGrid1.SetRowData(r, i + 1);
        UserCount = r;
      }
      loadedWhole_ = true;
      scope.Close();
    }
  }
  FitGridRows();
  StringGrid1.SetRow(UserCount + 1);
  CloseFileSet();
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
    ShowHelpFrom(*this, "<USE00>", UsersHelpCaptionBlock);
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
  if (r < 1 || r > UserCount || StringGrid1.Cell(ColUserId, r).empty()) return;

  const std::string id = StringGrid1.Cell(ColUserId, r);
  Edit1.SetText(id);
  Edit2.SetText(StringGrid1.Cell(ColUserName, r));
  Memo2.SetLines(SplitLines(StringGrid1.Cell(ColMemo, r)));
  Edit3.SetText(StringGrid1.Cell(ColChangedBy, r));
  Edit4.SetText(StringGrid1.Cell(ColPasswordSetAt, r));
  CheckBox1.SetChecked(StringGrid1.Cell(ColEndUser, r) == YesMark);
  CheckBox2.SetChecked(StringGrid1.Cell(ColEndUserManager, r) == YesMark);
  CheckBox3.SetChecked(StringGrid1.Cell(ColSystemAdministrator, r) == YesMark);

  if (id == kSystemUserId) {
    for (ui::Edit* e : {&Edit1, &Edit2}) {
      e->SetReadOnly(true);
      e->SetBackColor(ui::colors::SkyBlue);
    }
    for (ui::CheckBox* c : {&CheckBox1, &CheckBox2, &CheckBox3}) c->SetEnabled(false);
  }

  StringGrid1.DeleteRow(r);
  --UserCount;
  FitGridRows();
}

// Checks the edit fields and inserts them as a user at its place in user-id
// order, with the new password.
void TUsers::AddExecute() {
  ClearStatus();
  enum class Error { None, Required, IdLength, Password, PasswordLength, Duplicate };
  Error error = Error::None;
  int insertRow = UserCount + 1;

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
  for (int r = UserCount; r >= 1; --r) {
    const std::string& rowId = StringGrid1.Cell(ColUserId, r);
    if (rowId == id)
      error = Error::Duplicate;
    else if (cp1252::CompareOrdinal(rowId, id) > 0)
      insertRow = r;
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

  StringGrid1.InsertRow(insertRow);
  ++UserCount;
  FitGridRows();
  StringGrid1.SetCell(ColUserId, insertRow, id);
  StringGrid1.SetCell(ColUserName, insertRow, Edit2.GetText());
  StringGrid1.SetCell(ColEndUser, insertRow, CheckBox1.Checked() ? YesMark : NoMark);
  StringGrid1.SetCell(ColEndUserManager, insertRow, CheckBox2.Checked() ? YesMark : NoMark);
  StringGrid1.SetCell(ColSystemAdministrator, insertRow, CheckBox3.Checked() ? YesMark : NoMark);
  StringGrid1.SetCell(ColMemo, insertRow, JoinLines(Memo2.Lines()));
  StringGrid1.SetCell(ColChangedBy, insertRow, SystemSettings.CurrentUser);
  StringGrid1.SetCell(ColPasswordSetAt, insertRow, "");
  StringGrid1.SetCell(ColChecksum, insertRow, password);
  StringGrid1.SetRowData(insertRow, 0);

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
  ClearStatus();
}

// Rewrites the user file from the grid, in grid order, and closes the form.
void TUsers::SaveExecute() {
  if (!Edit1.GetText().empty()) {
    ShowStatus(MsgEntryPending, ui::colors::Red);
    return;
  }
  // A grid that was not read whole must never replace the file.
  if (!loadedWhole_) {
    Close();
    return;
  }
  FileSetScope scope("USE");
  if (!scope.Ok()) return;

  // Every record is built before the file is touched.
  const std::string setAt = NowStamp();
  std::vector<records::UserRec> recs;
  recs.reserve(static_cast<std::size_t>(UserCount));
  for (int r = 1; r <= UserCount; ++r) {
    const int64_t source = StringGrid1.RowData(r);
    const bool fromFile = source > 0 && source <= static_cast<int64_t>(loaded_.size());
    records::UserRec rec;
    if (fromFile) rec = loaded_[static_cast<std::size_t>(source - 1)];
    rec.SetUserId(StringGrid1.Cell(ColUserId, r));
    rec.SetUserName(StringGrid1.Cell(ColUserName, r));
    rec.SetEndUser(StringGrid1.Cell(ColEndUser, r) == YesMark ? 'Y' : 'N');
    rec.SetEndUserManager(StringGrid1.Cell(ColEndUserManager, r) == YesMark ? 'Y' : 'N');
    rec.SetSystemAdministrator(StringGrid1.Cell(ColSystemAdministrator, r) == YesMark ? 'Y' : 'N');
    rec.SetMemo(StringGrid1.Cell(ColMemo, r));
    rec.SetChangedBy(StringGrid1.Cell(ColChangedBy, r));
    if (fromFile) {
      // A user read from the file keeps its salt and checksum, even one
      // stored without a salt text.
      rec.SetPasswordSetAt(StringGrid1.Cell(ColPasswordSetAt, r));
      rec.SetPasswordChecksum(ChecksumFromText(StringGrid1.Cell(ColChecksum, r)));
    } else {
      rec.SetPasswordSetAt(setAt);
      rec.SetPasswordChecksum(StringChecksum(StringGrid1.Cell(ColChecksum, r), setAt));
    }
    recs.push_back(rec);
  }
  RewriteFile(FileCode::USE, recs);
  scope.Close();
  Close();
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

// The top of the help text.
void TUsers::BrenvickHelp1Click() { ShowHelpFrom(*this, "", UsersHelpCaptionBlock); }
void TUsers::BrenvickUsersHelp1Click() { ShowHelpFrom(*this, "<USE00>", UsersHelpCaptionBlock); }
void TUsers::Tutorial1Click() { ShowHelpFrom(*this, "<TUT00>", UsersHelpCaptionBlock); }
void TUsers::About1Click() { ShowHelpFrom(*this, "<ABO00>", UsersHelpCaptionBlock); }
void TUsers::ToolButton3Click() { ShowHelpFrom(*this, "<USE00>", UsersHelpCaptionBlock); }

void TUsers::Brenvickhomepage1Click() {
  ui::GetBackend().OpenUrl(HomePageUrl(UsersHelpCaptionBlock.LanguageName));
}

void TUsers::ApplyLanguageTexts() {
  SetCaption(ProductTitle + " : " + L(1110) + " / " + L(1159));
  Label2.SetCaption((" " + L(1159)).substr(0, 23));

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

  // Save reads the rights back from the marks: marks that are empty or the
  // same would turn every right on, so such texts are not taken.
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

  Select.SetHint(BuiltInText(kSelectHintEnglish, "De huidige regel naar de invoervelden halen",
                             "Die aktuelle Zeile in die Eingabefelder holen"));
  Add.SetHint(BuiltInText(kAddHintEnglish, "De invoervelden in de lijst zetten",
                          cp1252::L("Die Eingabefelder in die Liste übernehmen")));
}

}  // namespace shell
