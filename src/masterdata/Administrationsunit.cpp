#include "masterdata/Administrationsunit.h"

#include <algorithm>
#include <utility>

#include "books/administration/admincopy.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "text/systemsettings.h"
#include "ui/application.h"
#include "formkit/website.h"

namespace masterdata {

using text::Cut;

namespace {

// The English of the unit's own messages and hints, which the language file
// has no text for; ApplyLanguageTexts gives them in Dutch and German as well.
const char* const kShortNameNotAFolderNameEnglish = text::BuiltInTextEnglish(text::BuiltIn::ShortNameNotAFolderName);
const char* const kFolderNotCreatedEnglish = text::BuiltInTextEnglish(text::BuiltIn::FolderNotCreated);
const char* const kShortNameExistsInOtherCaseEnglish =
    text::BuiltInTextEnglish(text::BuiltIn::ShortNameExistsInOtherCase);
const char* const kSelectHintEnglish = text::BuiltInTextEnglish(text::BuiltIn::SelectHint);
const char* const kAddHintEnglish = text::BuiltInTextEnglish(text::BuiltIn::AddHint);
const char* const kCopyEmptiesFilesEnglish = text::BuiltInTextEnglish(text::BuiltIn::CopyEmptiesFiles);
const char* const kCopyLogInFirstEnglish = text::BuiltInTextEnglish(text::BuiltIn::CopyLogInFirst);
const char* const kCopyIntoLoggedInEnglish = text::BuiltInTextEnglish(text::BuiltIn::CopyIntoLoggedIn);
const char* const kCopyStoppedEnglish = text::BuiltInTextEnglish(text::BuiltIn::CopyStopped);
const char* const kCopyFilesCopiedEnglish = text::BuiltInTextEnglish(text::BuiltIn::CopyFilesCopied);

}  // namespace

std::string MsgAdministrationEntryPending;
std::string MsgShortNameExists;
std::string MsgShortNameExistsInOtherCase;
std::string MsgShortNameEmpty;
std::string MsgAdministrationFirstRow;
std::string MsgAdministrationLastRow;
std::string MsgShortNameNotAFolderName;
std::string MsgFolderNotCreated;
std::string MsgCopyOverwriteQuestion;
std::string MsgCopyOverwriteCaption;
std::string MsgCopyDoneText;
std::string MsgCopyDoneCaption;
std::string MsgCopyEmptiesFiles;
std::string MsgCopyLogInFirst;
std::string MsgCopyIntoLoggedIn;
std::string MsgCopyStopped;
std::string MsgCopyFilesCopied;
std::string CopyAnswer;
std::string CopyFileTarget;

bool CalledFromPrepareCopy = false;
records::AdministrationRec AdministrationBuffer;
formkit::HelpCaptionBlockRec AdministrationsHelpCaptionBlock;

TAdministrations* Administrations = nullptr;

void ResetAdministrationsState() {
  MsgAdministrationEntryPending = "An entry is still held in the edit fields; add or delete it first";
  MsgShortNameExists = "This short name is already in the list";
  MsgShortNameExistsInOtherCase = kShortNameExistsInOtherCaseEnglish;
  MsgShortNameEmpty = "The short name must be filled in";
  MsgAdministrationFirstRow = "This is already the first row";
  MsgAdministrationLastRow = "This is already the last row";
  MsgShortNameNotAFolderName = kShortNameNotAFolderNameEnglish;
  MsgFolderNotCreated = kFolderNotCreatedEnglish;
  MsgCopyOverwriteQuestion = "exists already. Overwrite it?";
  MsgCopyOverwriteCaption = "Copy administration";
  MsgCopyDoneText = "The administration has been copied.";
  MsgCopyDoneCaption = "Copy administration";
  MsgCopyEmptiesFiles = kCopyEmptiesFilesEnglish;
  MsgCopyLogInFirst = kCopyLogInFirstEnglish;
  MsgCopyIntoLoggedIn = kCopyIntoLoggedInEnglish;
  MsgCopyStopped = kCopyStoppedEnglish;
  MsgCopyFilesCopied = kCopyFilesCopiedEnglish;
  CopyAnswer.clear();
  CopyFileTarget.clear();
  CalledFromPrepareCopy = false;
  AdministrationBuffer = records::AdministrationRec{};
  AdministrationsHelpCaptionBlock = formkit::HelpCaptionBlockRec{};
}

namespace {
// The unit state starts as ResetAdministrationsState leaves it.
const bool kUnitStateSet = (ResetAdministrationsState(), true);
}  // namespace


bool IsUsableShortName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    // The bytes the code page leaves undefined stand for C1 controls.
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return false;
    // Characters no folder name may hold where the books are also kept on
    // other systems.
    if (std::string_view(":*?\"<>|").find(ch) != std::string_view::npos) return false;
  }
  // Such systems drop a trailing blank or dot from a folder name.
  return name.back() != ' ' && name.back() != '.';
}

std::string AdministrationFolder(std::string_view shortName) {
  const std::string& root = store::DataRoot();
  return (root.empty() ? store::WorkingFolder() : root) + std::string(shortName) + "/";
}

void LoadAdministrationList() {
  if (Administrations) Administrations->LoadAdministrationList();
}

TAdministrations::TAdministrations() : ui::Form("Administrations", "TAdministrations") {
  width = 820;
  height = 560;

  Save1.SetAction(&Save);
  Save2.SetAction(&Save);
  ToolButton3.SetAction(&Save);
  Delete1.SetAction(&Delete);
  Button3.SetAction(&Delete);
  ToolButton4.SetAction(&Delete);
  Cancel1.SetAction(&Cancel);
  Button2.SetAction(&Cancel);
  ToolButton5.SetAction(&Cancel);
  Save.SetCaption("Save and Exit");
  Delete.SetCaption("Delete");
  Cancel.SetCaption("Cancel");

  Label7.SetBold(true);
  Body.SetBevel(false);
  Body.hints.stretch = 1;
  EntryPanel.gridColumns = 2;
  EntryPanel.hints.minWidth = 300;
  Edit1.SetMaxLength(kShortNameRoom);
  Edit2.SetMaxLength(kAdministrationNameRoom);
  Edit3.SetMaxLength(kAdministrationMemoRoom);
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3}) e->hints.minWidth = 200;
  Edit4.SetReadOnly(true);
  Edit5.SetReadOnly(true);
  MovePanel.SetBevel(false);
  for (ui::Button* b : {&Image4, &Image3, &Image1, &Image2}) b->hints.width = 80;
  Image4.SetHint(kSelectHintEnglish);
  Image3.SetHint(kAddHintEnglish);
  ListPanel.SetBevel(false);
  ListPanel.hints.stretch = 1;
  StringGrid1.hints.stretch = 1;
  StringGrid1.SetFixedRows(1);
  StringGrid1.SetColWidth(ColShortName, 100);
  StringGrid1.SetColWidth(ColName, 240);
  // The memo and the stamps travel with the row but are not shown.
  for (int c : {ColMemo, ColCreatedBy, ColCreatedAt}) StringGrid1.SetColWidth(c, 0);
  StringGrid1.SetCell(ColShortName, 0, "Short name");
  StringGrid1.SetCell(ColName, 0, "Administration name");
  ButtonPanel.SetBevel(false);

  Panel2.gridColumns = 2;
  RadioGroup1.SetItems({"Full copy of an administration", "General ledger in a new administration"});
  RadioGroup1.SetItemIndex(0);
  RadioGroup1.hints.colSpan = 2;
  RadioGroup1.hints.newRow = true;
  Label10.hints.newRow = true;
  const platform::TDateTime firstDate = platform::EncodeDate(2000, 1, 1);
  DateTimePicker1.SetDate(firstDate);
  DateTimePicker1.SetMinDate(firstDate);
  // The first date belongs to the general-ledger copy (item 1) only.
  Label10.SetVisible(false);
  DateTimePicker1.SetVisible(false);
  Button5.SetVisible(false);
  Panel2.SetVisible(false);

  OnCreate = [this] { FormCreate(); };
  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  OnKeyPress = [this](char& k) { FormKeyPress(k); };
  Save.OnExecute = [this] { SaveExecute(); };
  Delete.OnExecute = [this] { DeleteExecute(); };
  Cancel.OnExecute = [this] { CancelExecute(); };
  for (ui::Component* c : {static_cast<ui::Component*>(&Image4), static_cast<ui::Component*>(&ToolButton1),
                           static_cast<ui::Component*>(&Selectleft1)})
    c->OnClick = [this] { Image4Click(); };
  for (ui::Component* c : {static_cast<ui::Component*>(&Image3), static_cast<ui::Component*>(&ToolButton2),
                           static_cast<ui::Component*>(&Postright1)})
    c->OnClick = [this] { Image3Click(); };
  Image1.OnClick = [this] { Image1Click(); };
  Image2.OnClick = [this] { Image2Click(); };
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3}) e->OnChange = [this] { Edit1Change(); };
  formkit::BindHelpMenu(*this, AdministrationsHelpCaptionBlock,
                        {{&ToolButton7, "<ADM00>"}, {&Brenvickhelp1, ""}, {&About1, "<ABO00>"}, {&utorial1, "<TUT00>"}},
                        &Brenvickhomepage1);
  BrenvickAdministrationshelp1.OnClick = [this] { BrenvickAdministrationshelp1Click(); };
  Button6.OnClick = [this] { Button6Click(); };
  for (ui::Component* c : {static_cast<ui::Component*>(&Button1), static_cast<ui::Component*>(&Preparecopy1)})
    c->OnClick = [this] { Button1Click(); };
  for (ui::Component* c : {static_cast<ui::Component*>(&Button4), static_cast<ui::Component*>(&Startcopyproces1)})
    c->OnClick = [this] { Button4Click(); };
  Button5.OnClick = [this] { Button5Click(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox1.OnSelect = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  ComboBox2.OnSelect = [this] { ComboBox2Exit(); };
  RadioGroup1.OnClick = [this] { RadioGroup1Click(); };
}

void TAdministrations::FormCreate() { LoadAdministrationList(); }

void TAdministrations::ShowUnfinishedCopies() {
  std::string names;
  for (const AdministrationRow& row : rows_.Rows()) {
    const std::string shortName = row.rec.ShortName();
    if (IsUsableShortName(shortName) && books::administration::CarriesUnfinishedCopy(AdministrationFolder(shortName)))
      names += (names.empty() ? " " : ", ") + shortName;
  }
  if (!names.empty())
    ShowStatus(books::administration::UnfinishedCopyText() + ":" + names, ui::colors::Red);
  else if (StatusText.rfind(books::administration::UnfinishedCopyText(), 0) == 0)
    ClearStatus();  // the copy was made again
}

void TAdministrations::FormActivate() {
  LoadAdministrationList();
  CalledFromPrepareCopy = false;
  ResetCopyPanel();
  ShowUnfinishedCopies();
}

void TAdministrations::LoadAdministrationList() {
  formkit::FileSetScope scope("ADM");
  if (!scope.Ok()) return;
  std::vector<AdministrationRow> rows;
  store::FileSnapshot snapshot;
  try {
    for (records::AdministrationRec& rec :
         store::ReadAll<records::AdministrationRec>(store::FileCode::ADM, store::kSmallFileLimit))
      rows.push_back({rec, false});
    snapshot = store::SnapshotOf(store::FileCode::ADM);
    if (!rows.empty()) AdministrationBuffer = rows.back().rec;
  } catch (const platform::IoError& e) {
    // A file far larger than any list: the message names it, and the form
    // holds no list it could write back.
    scope.Close();
    ui::ShowMessage(e.what());
    rows_.Clear();
    loadedWhole_ = false;
    ShowRows();
    StringGrid1.SetRow(1);
    InsertRow = 1;
    ClearEditFields();
    return;
  }
  scope.Close();

  // The edit fields are emptied too: an entry held there belonged to the
  // list that is dropped.
  rows_.Load(std::move(rows), snapshot);
  loadedWhole_ = true;
  ShowRows();
  // The current row is the empty row after the last administration, where
  // an addition is appended.
  StringGrid1.SetRow(AdministrationCount + 1);
  InsertRow = AdministrationCount + 1;
  ClearEditFields();
}

void TAdministrations::ShowRows() {
  AdministrationCount = rows_.Count();
  if (StringGrid1.RowCount() < std::max(AdministrationCount + 2, kMinGridRows))
    StringGrid1.SetRowCount(std::max(AdministrationCount + 2, kMinGridRows));
  for (int r = 1; r < StringGrid1.RowCount(); ++r) {
    const records::AdministrationRec* rec = r <= AdministrationCount ? &rows_.At(r - 1).rec : nullptr;
    StringGrid1.SetCell(ColShortName, r, rec ? rec->ShortName() : std::string());
    StringGrid1.SetCell(ColName, r, rec ? rec->Name() : std::string());
    StringGrid1.SetCell(ColMemo, r, rec ? rec->Memo() : std::string());
    StringGrid1.SetCell(ColCreatedBy, r, rec ? rec->CreatedBy() : std::string());
    StringGrid1.SetCell(ColCreatedAt, r, rec ? rec->CreatedAt() : std::string());
  }
}

void TAdministrations::Image4Click() {
  ClearStatus();
  if (EntryHeld()) {
    ShowStatus(MsgAdministrationEntryPending, ui::colors::Red);
    return;
  }
  const int r = StringGrid1.Row();
  // Only an administration row can be taken out: neither the heading nor
  // the empty rows after the last administration.
  if (r < 1 || r > AdministrationCount) return;
  const records::AdministrationRec& rec = rows_.TakeOut(r - 1).rec;
  Edit1.SetText(rec.ShortName());
  Edit2.SetText(rec.Name());
  Edit3.SetText(rec.Memo());
  Edit4.SetText(rec.CreatedBy());
  Edit5.SetText(rec.CreatedAt());
  // A row taken out and added again counts as a new row (Add).
  ShowRows();
  if (AdministrationCount == 0) {
    Save.SetEnabled(false);
    FollowSaveState();
  }
}

void TAdministrations::Image3Click() {
  ClearStatus();
  if (Edit1.GetText().empty()) {
    ShowStatus(MsgShortNameEmpty, ui::colors::Red);
    return;
  }
  // What is stored is the text cut to its field, so the checks look at that.
  const std::string shortName = Cut(Edit1.GetText(), kShortNameRoom);
  if (!IsUsableShortName(shortName)) {
    ShowStatus(MsgShortNameNotAFolderName, ui::colors::Red);
    return;
  }
  // Every row and the heading take part; the same name in other capitals
  // would name the same folder where the file system ignores case.
  if (const std::optional<std::string> taken = ShortNameTaken(shortName)) {
    ShowStatus(*taken, ui::colors::Red);
    return;
  }
  InsertRow = std::clamp(StringGrid1.Row(), 1, AdministrationCount + 1);
  AdministrationRow row;
  row.added = true;
  row.rec.SetShortName(shortName);
  row.rec.SetName(Cut(Edit2.GetText(), kAdministrationNameRoom));
  row.rec.SetMemo(Cut(Edit3.GetText(), kAdministrationMemoRoom));
  rows_.Insert(InsertRow - 1, std::move(row));
  rows_.Release();
  ShowRows();
  Save.SetEnabled(true);
  ClearEditFields();
}

void TAdministrations::Image1Click() {
  ClearStatus();
  const int r = StringGrid1.Row();
  if (r < 1 || r > AdministrationCount || StringGrid1.Cell(ColShortName, r).empty()) return;
  if (r == 1) {
    ShowStatus(MsgAdministrationFirstRow, ui::colors::Lime);
    return;
  }
  rows_.Swap(r - 2, r - 1);
  ShowRows();
  StringGrid1.SetRow(r - 1);
}

void TAdministrations::Image2Click() {
  ClearStatus();
  const int r = StringGrid1.Row();
  if (r < 1) return;
  if (r < AdministrationCount) {
    rows_.Swap(r - 1, r);
    ShowRows();
    StringGrid1.SetRow(r + 1);
  } else {
    ShowStatus(MsgAdministrationLastRow, ui::colors::Lime);
  }
}

void TAdministrations::SaveExecute() { SaveAdministrationList(); }

bool TAdministrations::SaveAdministrationList() {
  if (EntryHeld()) {
    ShowStatus(MsgAdministrationEntryPending, ui::colors::Red);
    return false;
  }
  // Rows that were not read whole must never replace the file.
  if (!loadedWhole_) return false;

  // Every record first: the rows that came from the file as they were read,
  // the added ones stamped with the current user and now.
  const std::string now = platform::DateTimeToText(platform::Now());
  const auto toRec = [&](const AdministrationRow& row) {
    records::AdministrationRec rec = row.rec;
    if (row.added) {
      rec.SetCreatedBy(text::SystemSettings.CurrentUser);
      rec.SetCreatedAt(now);
    }
    return rec;
  };
  // Then, under the Save's lock and after the check that no other copy
  // changed the file, every new data folder; an existing one is kept.
  const auto makeFolders = [&] {
    auto& fs = platform::Fs();
    for (const AdministrationRow& row : rows_.Rows()) {
      if (!row.added) continue;
      const std::string folder = AdministrationFolder(row.rec.ShortName());
      const std::string path = cp1252::ToUtf8(folder);
      if (fs.IsFolder(path)) continue;
      const int code = fs.MakeFolders(path);
      if (code != platform::kNoError) {
        ui::ShowMessage(MsgFolderNotCreated + " " + folder + "  " + platform::OsErrorText(code));
        return false;
      }
    }
    return true;
  };
  // Only then the file, whole, in one step.
  if (rows_.Save<records::AdministrationRec>(store::FileCode::ADM, "ADM", toRec, makeFolders) !=
      formkit::SaveOutcome::Written)
    return false;

  // The rows now hold what the file holds.
  std::vector<AdministrationRow> saved;
  for (const AdministrationRow& row : rows_.Rows()) saved.push_back({toRec(row), false});
  rows_.Load(std::move(saved), rows_.Snapshot());
  ShowRows();
  if (!CalledFromPrepareCopy) Close();
  return true;
}

std::optional<std::string> TAdministrations::ShortNameTaken(const std::string& shortName) const {
  const std::string upper = cp1252::ToUpper(shortName);
  std::vector<std::string> names = {StringGrid1.Cell(ColShortName, 0)};
  for (const AdministrationRow& row : rows_.Rows()) names.push_back(row.rec.ShortName());
  bool otherCase = false;
  for (const std::string& name : names) {
    if (name == shortName) return MsgShortNameExists;
    if (cp1252::ToUpper(name) == upper) otherCase = true;
  }
  if (otherCase) return MsgShortNameExistsInOtherCase;
  return std::nullopt;
}

void TAdministrations::DeleteExecute() {
  ClearEditFields();
  rows_.Release();
  Save.SetEnabled(true);
  FollowSaveState();
}

void TAdministrations::CancelExecute() {
  FormActivate();
  Close();
}

void TAdministrations::Edit1Change() {
  Save.SetEnabled(Edit1.GetText().empty() && Edit2.GetText().empty() && Edit3.GetText().empty());
  FollowSaveState();
  ResetCopyPanel();
}

void TAdministrations::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::F1) {
    key = 0;
    BrenvickAdministrationshelp1Click();
  }
}

void TAdministrations::FormKeyPress(char& key) {
  if (key == 27) {
    key = 0;
    Cancel.Execute();
  }
}

void TAdministrations::BrenvickAdministrationshelp1Click() {
  formkit::ShowHelpFrom(*this, "<ADM00>", AdministrationsHelpCaptionBlock);
}
void TAdministrations::ResetCopyPanel() {
  for (ui::ComboBox* c : {&ComboBox1, &ComboBox2}) {
    c->SetEnabled(false);
    c->SetBackColor(ui::colors::SkyBlue);
  }
  DateTimePicker1.SetEnabled(false);
  DateTimePicker1.SetBackColor(ui::colors::SkyBlue);
  Button4.SetEnabled(false);
  Startcopyproces1.SetEnabled(false);
  Panel2.SetVisible(false);
}

void TAdministrations::Button6Click() { ResetCopyPanel(); }

void TAdministrations::Button1Click() {
  CalledFromPrepareCopy = true;
  const bool saved = SaveAdministrationList();
  CalledFromPrepareCopy = false;
  if (!saved) return;
  for (ui::ComboBox* c : {&ComboBox1, &ComboBox2}) {
    c->ClearItems();
    c->SetEnabled(true);
    c->SetBackColor(ui::colors::Cream);
  }
  DateTimePicker1.SetEnabled(true);
  DateTimePicker1.SetBackColor(ui::colors::Cream);
  RadioGroup1.SetItemIndex(0);
  if (DateTimePicker1.MinDate()) DateTimePicker1.SetDate(*DateTimePicker1.MinDate());
  Label10.SetVisible(false);
  DateTimePicker1.SetVisible(false);
  Panel2.SetVisible(true);
  // Each item carries its row, whose short name names the folder.
  const std::vector<AdministrationRow>& rows = rows_.Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string shortName = rows[i].rec.ShortName();
    if (shortName.empty()) continue;
    for (ui::ComboBox* c : {&ComboBox1, &ComboBox2})
      c->AddItem(shortName + " | " + rows[i].rec.Name(), static_cast<int64_t>(i));
  }
  if (ComboBox1.Count() > 0) ComboBox1.SetItemIndex(0);
  // "To" proposes the grid's current row.
  const int current = StringGrid1.Row() - 1;
  if (current >= 0 && current < ComboBox2.Count())
    ComboBox2.SetItemIndex(current);
  else
    ComboBox2.SetText(ComboBox1.GetText());
  FollowCopyChoices();
}

void TAdministrations::KeepCopyChoice(ui::ComboBox& box) {
  const int exact = box.IndexOf(box.GetText());
  const int other = exact >= 0 ? exact : box.IndexOfIgnoringCase(box.GetText());
  if (other >= 0)
    box.SetItemIndex(other);
  else if (box.Count() > 0)
    box.SetItemIndex(0);
  FollowCopyChoices();
}

void TAdministrations::FollowCopyChoices() {
  const bool differ = ComboBox1.ItemIndex() >= 0 && ComboBox2.ItemIndex() >= 0 &&
                      ComboBox1.ItemIndex() != ComboBox2.ItemIndex() && Panel2.Visible();
  Button4.SetEnabled(differ);
  Startcopyproces1.SetEnabled(differ);
}

void TAdministrations::ComboBox1Exit() { KeepCopyChoice(ComboBox1); }
void TAdministrations::ComboBox2Exit() { KeepCopyChoice(ComboBox2); }

void TAdministrations::RadioGroup1Click() {
  const bool ledgerOnly = RadioGroup1.ItemIndex() == 1;
  Label10.SetVisible(ledgerOnly);
  DateTimePicker1.SetVisible(ledgerOnly);
}

std::string TAdministrations::ChosenShortName(const ui::ComboBox& box) const {
  const int item = box.ItemIndex();
  if (item < 0 || item >= box.Count()) return {};
  const auto row = static_cast<std::size_t>(box.Items()[static_cast<std::size_t>(item)].data);
  if (row >= rows_.Rows().size()) return {};
  return rows_.Rows()[row].rec.ShortName();
}

void TAdministrations::Button5Click() {
  const ui::ModalResult r = ui::MessageDlg(CopyFileTarget + "  " + MsgCopyOverwriteQuestion, ui::DialogKind::Warning,
                                           ui::Buttons::YesNoYesToAll, MsgCopyOverwriteCaption);
  if (r == ui::ModalResult::Yes) CopyAnswer = books::administration::kAnswerYes;
  if (r == ui::ModalResult::No) CopyAnswer = books::administration::kAnswerNo;
  if (r == ui::ModalResult::YesToAll) CopyAnswer = books::administration::kAnswerYesToAll;
}

void TAdministrations::Button4Click() {
  CopyAnswer.clear();
  // A typed text not yet checked becomes an item first.
  KeepCopyChoice(ComboBox1);
  KeepCopyChoice(ComboBox2);
  if (!Button4.Enabled()) return;
  const std::string from = ChosenShortName(ComboBox1);
  const std::string to = ChosenShortName(ComboBox2);
  if (from.empty() || to.empty()) return;
  // Its files would change under the running session.
  if (to == store::CurrentAdministrationCode) {
    ui::ShowMessage(MsgCopyIntoLoggedIn);
    return;
  }
  books::administration::CopyRequest request;
  request.fromFolder = AdministrationFolder(from);
  request.toFolder = AdministrationFolder(to);
  const bool ledgerOnly = RadioGroup1.ItemIndex() == 1;
  request.kind = ledgerOnly ? books::administration::CopyKind::GeneralLedger : books::administration::CopyKind::Full;
  request.firstDate = text::DateToYmd(DateTimePicker1.Date());
  request.createdBy = Cut(text::SystemSettings.CurrentUser, 10);
  request.createdAt = Cut(platform::DateTimeToText(platform::Now()), 20);
  books::administration::CopyQuestions questions;
  questions.confirmEmptying = [&](const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& f : files) names += (names.empty() ? " " : ", ") + f;
    return ui::MessageDlg(MsgCopyEmptiesFiles + names + ".", ui::DialogKind::Confirmation, ui::Buttons::YesNo,
                          MsgCopyOverwriteCaption) == ui::ModalResult::Yes;
  };
  questions.askOverwrite = [&](const std::string& fileName) {
    CopyFileTarget = request.toFolder + fileName;
    // A dialog closed otherwise keeps the file: the answer starts empty.
    CopyAnswer.clear();
    Button5Click();
    return CopyAnswer;
  };
  const books::administration::CopyOutcome outcome = CopyAdministration(request, questions);
  // A period closing finished on the way.
  for (const std::string& note : outcome.notes) ui::ShowMessage(note);
  ShowUnfinishedCopies();
  switch (outcome.result) {
    case books::administration::CopyOutcome::Done:
      ui::MessageDlg(MsgCopyDoneText, ui::DialogKind::Warning, ui::Buttons::Ok, MsgCopyDoneCaption);
      if (!ledgerOnly) ResetCopyPanel();
      break;
    case books::administration::CopyOutcome::Declined:
      break;
    case books::administration::CopyOutcome::SourceNotCurrent:
    case books::administration::CopyOutcome::TargetNotCurrent: {
      const ui::ComboBox& which = outcome.result == books::administration::CopyOutcome::SourceNotCurrent ? ComboBox1 : ComboBox2;
      ui::ShowMessage(MsgCopyLogInFirst + " " + which.GetText());
      break;
    }
    case books::administration::CopyOutcome::Failed: {
      std::string copied;
      for (const std::string& f : outcome.copied) copied += (copied.empty() ? " " : ", ") + f;
      ui::ShowMessage(MsgCopyStopped + " " + outcome.fileName + ": " + outcome.errorText + ". " +
                      MsgCopyFilesCopied + (copied.empty() ? " -" : copied) + ".");
      break;
    }
  }
}

void TAdministrations::ApplyLanguageTexts() {
  using text::L;
  SetCaption(store::ProductTitle + " : " + L(1110) + " / " + L(1058));
  Label7.SetCaption(Cut(" " + L(1058), 21));

  File1.SetCaption(L(21));
  Save.SetCaption(L(54));
  Cancel.SetCaption(L(306));
  Delete.SetCaption(L(260));
  Actions1.SetCaption(L(247));
  Selectleft1.SetCaption(L(345));
  Postright1.SetCaption(L(424));
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  Brenvickhomepage1.SetCaption(L(486));
  Brenvickhelp1.SetCaption(L(514));
  BrenvickAdministrationshelp1.SetCaption(L(7292));
  utorial1.SetCaption(text::TutorialCaption());
  // The buttons and tool buttons beside the menu items say the same.
  ToolButton1.SetCaption(Selectleft1.Caption());
  ToolButton2.SetCaption(Postright1.Caption());
  ToolButton7.SetCaption(Help1.Caption());
  Image4.SetCaption(Selectleft1.Caption());
  Image3.SetCaption(Postright1.Caption());

  Label4.SetCaption(L(7205));
  Label5.SetCaption(L(7220));
  Label6.SetCaption(L(2163));
  Label3.SetCaption(L(7243));
  StringGrid1.SetCell(ColShortName, 0, L(7205));
  StringGrid1.SetCell(ColName, 0, L(7220));

  Button1.SetCaption(L(7335));
  Button4.SetCaption(L(7366));
  Preparecopy1.SetCaption(Button1.Caption());
  Startcopyproces1.SetCaption(Button4.Caption());
  Button6.SetCaption(L(306));
  Label8.SetCaption(L(173));
  Label9.SetCaption(L(194));
  Label10.SetCaption(L(6487));
  RadioGroup1.SetCaption(L(7397));
  RadioGroup1.SetItem(0, L(7428));
  RadioGroup1.SetItem(1, L(7479));

  MsgAdministrationEntryPending = L(9567);
  MsgShortNameExists = L(9648);
  // The text follows the field's label: "Short name (required field)".
  MsgShortNameEmpty = Label4.Caption() + L(9709);
  MsgAdministrationFirstRow = L(9384);
  MsgAdministrationLastRow = L(9445);
  MsgCopyOverwriteQuestion = L(10877);
  MsgCopyOverwriteCaption = L(10938);
  MsgCopyDoneText = L(7580);
  MsgCopyDoneCaption = L(10964);

  // The program's own messages and hints.
  using text::BuiltInText;
  MsgShortNameNotAFolderName = BuiltInText(text::BuiltIn::ShortNameNotAFolderName);
  MsgShortNameExistsInOtherCase = BuiltInText(text::BuiltIn::ShortNameExistsInOtherCase);
  MsgCopyEmptiesFiles = BuiltInText(text::BuiltIn::CopyEmptiesFiles);
  MsgCopyLogInFirst = BuiltInText(text::BuiltIn::CopyLogInFirst);
  MsgCopyIntoLoggedIn = BuiltInText(text::BuiltIn::CopyIntoLoggedIn);
  MsgCopyStopped = BuiltInText(text::BuiltIn::CopyStopped);
  MsgCopyFilesCopied = BuiltInText(text::BuiltIn::CopyFilesCopied);
  MsgFolderNotCreated = BuiltInText(text::BuiltIn::FolderNotCreated);
  Image4.SetHint(BuiltInText(text::BuiltIn::SelectHint));
  Image3.SetHint(BuiltInText(text::BuiltIn::AddHint));
}

void TAdministrations::ShowStatus(const std::string& text, ui::Color color) {
  StatusText = text;
  StatusBar1.Show(text, color);
}

void TAdministrations::ClearStatus() {
  StatusText.clear();
  StatusBar1.Show({}, ui::colors::Default);
}

void TAdministrations::ClearEditFields() {
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5}) e->SetText({});
}

// An entry is held while the short-name, name or memo field holds text (the
// same test that disables Save).
bool TAdministrations::EntryHeld() const {
  return !Edit1.GetText().empty() || !Edit2.GetText().empty() || !Edit3.GetText().empty();
}

// The "Prepare copy" button and its menu item follow the Save action.
void TAdministrations::FollowSaveState() {
  Button1.SetEnabled(Save.Enabled());
  Preparecopy1.SetEnabled(Save.Enabled());
}

}  // namespace masterdata
