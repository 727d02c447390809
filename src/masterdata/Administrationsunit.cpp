#include "masterdata/Administrationsunit.h"

#include <algorithm>
#include <utility>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "shell/builtintext.h"
#include "shell/fileset.h"
#include "formkit/filesetscope.h"
#include "shell/languagetext.h"
#include "shell/session.h"
#include "shell/textroutines.h"
#include "shell/systemsettings.h"
#include "ui/application.h"
#include "formkit/website.h"

namespace masterdata {

using shell::Cut;

namespace {

// The English of the unit's own messages and hints, which the language file
// has no text for; ApplyLanguageTexts gives them in Dutch and German as well.
constexpr const char* kShortNameNotAFolderNameEnglish =
    "This short name cannot name a folder: no \".\" or \"..\", none of / \\ : * ? \" < > |, no control "
    "characters, no blank or dot at the end";
constexpr const char* kFolderNotCreatedEnglish = "The data folder of the administration could not be created:";
constexpr const char* kSelectHintEnglish = "Select: the current row into the edit fields";
constexpr const char* kAddHintEnglish = "Add: the edit fields into the list at the current row";

}  // namespace

std::string MsgAdministrationEntryPending = "An entry is still held in the edit fields; add or delete it first";
std::string MsgShortNameExists = "This short name is already in the list";
std::string MsgShortNameEmpty = "The short name must be filled in";
std::string MsgAdministrationFirstRow = "This is already the first row";
std::string MsgAdministrationLastRow = "This is already the last row";
std::string MsgShortNameNotAFolderName = kShortNameNotAFolderNameEnglish;
std::string MsgFolderNotCreated = kFolderNotCreatedEnglish;
std::string CopyOverwriteQuestion = "exists already. Overwrite it?";
std::string CopyOverwriteCaption = "Copy administration";
std::string CopyDoneText = "The administration has been copied.";
std::string CopyDoneCaption = "Copy administration";

bool CalledFromPrepareCopy = false;
records::AdministrationRec AdministrationBuffer;
shell::HelpCaptionBlockRec AdministrationsHelpCaptionBlock;

TAdministrations* Administrations = nullptr;


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
  const std::string& root = shell::DataRoot();
  return (root.empty() ? shell::WorkingFolder() : root) + std::string(shortName) + "/";
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
  BrenvickAdministrationshelp1.OnClick = [this] { BrenvickAdministrationshelp1Click(); };
  ToolButton7.OnClick = [this] { BrenvickAdministrationshelp1Click(); };
  Brenvickhelp1.OnClick = [this] { Brenvickhelp1Click(); };
  About1.OnClick = [this] { About1Click(); };
  utorial1.OnClick = [this] { utorial1Click(); };
  Brenvickhomepage1.OnClick = [this] { Brenvickhomepage1Click(); };
  Button6.OnClick = [this] { Button6Click(); };
}

void TAdministrations::FormCreate() { LoadAdministrationList(); }

void TAdministrations::FormActivate() {
  LoadAdministrationList();
  CalledFromPrepareCopy = false;
  ResetCopyPanel();
}

void TAdministrations::LoadAdministrationList() {
  shell::FileSetScope scope("ADM");
  if (!scope.Ok()) return;
  const int count = shell::RecordCount(shell::FileCode::ADM);
  std::vector<records::AdministrationRec> loaded;
  loaded.reserve(count);
  for (int i = 0; i < count; ++i) {
    shell::ReadRecord(shell::FileCode::ADM, i, AdministrationBuffer);
    loaded.push_back(AdministrationBuffer);
  }
  scope.Close();

  // Every row below the heading is emptied, also the hidden columns, so
  // that nothing of an earlier list stays behind; so are all five edit
  // fields (an entry held there belonged to the list that is dropped).
  for (int r = 1; r < StringGrid1.RowCount(); ++r) {
    for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, r, {});
    StringGrid1.SetRowData(r, 0);
  }
  FitGridRows(count + 2);
  loaded_ = std::move(loaded);
  AdministrationCount = 0;
  for (const auto& rec : loaded_) {
    ++AdministrationCount;
    StringGrid1.SetCell(ColShortName, AdministrationCount, rec.ShortName());
    StringGrid1.SetCell(ColName, AdministrationCount, rec.Name());
    StringGrid1.SetCell(ColMemo, AdministrationCount, rec.Memo());
    StringGrid1.SetCell(ColCreatedBy, AdministrationCount, rec.CreatedBy());
    StringGrid1.SetCell(ColCreatedAt, AdministrationCount, rec.CreatedAt());
    StringGrid1.SetRowData(AdministrationCount, AdministrationCount);
  }
  // The current row is the empty row after the last administration, where
  // an addition is appended.
  StringGrid1.SetRow(AdministrationCount + 1);
  InsertRow = AdministrationCount + 1;
  ClearEditFields();
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
  Edit1.SetText(StringGrid1.Cell(ColShortName, r));
  Edit2.SetText(StringGrid1.Cell(ColName, r));
  Edit3.SetText(StringGrid1.Cell(ColMemo, r));
  Edit4.SetText(StringGrid1.Cell(ColCreatedBy, r));
  Edit5.SetText(StringGrid1.Cell(ColCreatedAt, r));
  // A row taken out and added again counts as a new row (Add).
  for (int i = r + 1; i <= AdministrationCount + 1; ++i) CopyRow(i, i - 1);
  AdministrationCount = std::max(0, AdministrationCount - 1);
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
  for (int r = AdministrationCount; r >= 0; --r) {
    if (StringGrid1.Cell(ColShortName, r) == shortName) {
      ShowStatus(MsgShortNameExists, ui::colors::Red);
      return;
    }
  }
  InsertRow = std::clamp(StringGrid1.Row(), 1, AdministrationCount + 1);
  FitGridRows(AdministrationCount + 3);
  for (int r = AdministrationCount; r >= InsertRow; --r) CopyRow(r, r + 1);
  StringGrid1.SetCell(ColShortName, InsertRow, shortName);
  StringGrid1.SetCell(ColName, InsertRow, Cut(Edit2.GetText(), kAdministrationNameRoom));
  StringGrid1.SetCell(ColMemo, InsertRow, Cut(Edit3.GetText(), kAdministrationMemoRoom));
  StringGrid1.SetCell(ColCreatedBy, InsertRow, {});
  StringGrid1.SetCell(ColCreatedAt, InsertRow, {});
  StringGrid1.SetRowData(InsertRow, 0);
  ++AdministrationCount;
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
  SwapRows(r - 1, r);
  StringGrid1.SetRow(r - 1);
}

void TAdministrations::Image2Click() {
  ClearStatus();
  const int r = StringGrid1.Row();
  if (r < 1) return;
  if (r < AdministrationCount) {
    SwapRows(r, r + 1);
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
  shell::FileSetScope scope("ADM");
  if (!scope.Ok()) return false;

  // Every record first: the rows that came from the file as they were read,
  // the added ones stamped with the current user and now.
  const std::string now = platform::DateTimeToText(platform::Now());
  std::vector<records::AdministrationRec> recs;
  std::vector<std::string> newFolders;
  recs.reserve(AdministrationCount);
  for (int r = 1; r <= AdministrationCount; ++r) {
    const int64_t origin = StringGrid1.RowData(r);
    if (origin >= 1 && origin <= static_cast<int64_t>(loaded_.size())) {
      recs.push_back(loaded_[origin - 1]);
      continue;
    }
    records::AdministrationRec rec;
    rec.SetShortName(StringGrid1.Cell(ColShortName, r));
    rec.SetName(StringGrid1.Cell(ColName, r));
    rec.SetMemo(StringGrid1.Cell(ColMemo, r));
    rec.SetCreatedBy(shell::SystemSettings.CurrentUser);
    rec.SetCreatedAt(now);
    recs.push_back(rec);
    newFolders.push_back(AdministrationFolder(rec.ShortName()));
  }

  // Then every new data folder; an existing one is kept as it is.
  auto& fs = platform::Fs();
  for (const std::string& folder : newFolders) {
    const std::string path = cp1252::ToUtf8(folder);
    if (fs.IsFolder(path)) continue;
    const int code = fs.MakeFolders(path);
    if (code != platform::kNoError) {
      ui::ShowMessage(MsgFolderNotCreated + " " + folder + "  " + platform::OsErrorText(code));
      return false;
    }
  }

  // Only now the file, whole, in one step.
  shell::RewriteFile(shell::FileCode::ADM, recs);
  scope.Close();

  // The grid now holds what the file holds.
  loaded_ = recs;
  for (int r = 1; r <= AdministrationCount; ++r) {
    StringGrid1.SetCell(ColCreatedBy, r, recs[r - 1].CreatedBy());
    StringGrid1.SetCell(ColCreatedAt, r, recs[r - 1].CreatedAt());
    StringGrid1.SetRowData(r, r);
  }
  if (!CalledFromPrepareCopy) Close();
  return true;
}

void TAdministrations::DeleteExecute() {
  ClearEditFields();
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
  shell::ShowHelpFrom(*this, "<ADM00>", AdministrationsHelpCaptionBlock);
}
void TAdministrations::Brenvickhelp1Click() { shell::ShowHelpFrom(*this, "", AdministrationsHelpCaptionBlock); }
void TAdministrations::About1Click() { shell::ShowHelpFrom(*this, "<ABO00>", AdministrationsHelpCaptionBlock); }
void TAdministrations::utorial1Click() { shell::ShowHelpFrom(*this, "<TUT00>", AdministrationsHelpCaptionBlock); }
void TAdministrations::Brenvickhomepage1Click() { ui::GetBackend().OpenUrl(shell::HomePageUrl(AdministrationsHelpCaptionBlock.LanguageName)); }

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

void TAdministrations::ApplyLanguageTexts() {
  using shell::L;
  SetCaption(shell::ProductTitle + " : " + L(1110) + " / " + L(1058));
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
  CopyOverwriteQuestion = L(10877);
  CopyOverwriteCaption = L(10938);
  CopyDoneText = L(7580);
  CopyDoneCaption = L(10964);

  // The program's own messages and hints.
  using shell::BuiltInText;
  MsgShortNameNotAFolderName = BuiltInText(
      kShortNameNotAFolderNameEnglish,
      "Deze korte naam is geen geldige mapnaam: geen \".\" of \"..\", geen / \\ : * ? \" < > |, geen "
      "stuurtekens, geen spatie of punt aan het eind",
      cp1252::L("Dieser Kurzname ist kein zulässiger Ordnername: kein \".\" oder \"..\", keins von / \\ : * ? \" < > |, "
                "keine Steuerzeichen, kein Leerzeichen oder Punkt am Ende"));
  MsgFolderNotCreated = BuiltInText(kFolderNotCreatedEnglish,
                                    "De gegevensmap van de administratie kon niet worden aangemaakt:",
                                    "Der Datenordner des Mandanten konnte nicht angelegt werden:");
  Image4.SetHint(BuiltInText(kSelectHintEnglish, "Selecteer: de huidige regel naar de invoervelden",
                             cp1252::L("Auswählen: die aktuelle Zeile in die Eingabefelder")));
  Image3.SetHint(BuiltInText(kAddHintEnglish, "Toevoegen: de invoervelden op de huidige regel in de lijst",
                             cp1252::L("Hinzufügen: die Eingabefelder an der aktuellen Zeile in die Liste")));
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

void TAdministrations::FitGridRows(int rows) {
  const int wanted = std::max(rows, kMinGridRows);
  if (StringGrid1.RowCount() < wanted) StringGrid1.SetRowCount(wanted);
}

void TAdministrations::CopyRow(int from, int to) {
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, to, StringGrid1.Cell(c, from));
  StringGrid1.SetRowData(to, StringGrid1.RowData(from));
}

void TAdministrations::SwapRows(int a, int b) {
  for (int c = 0; c < ColumnCount; ++c) {
    const std::string t = StringGrid1.Cell(c, a);
    StringGrid1.SetCell(c, a, StringGrid1.Cell(c, b));
    StringGrid1.SetCell(c, b, t);
  }
  const int64_t d = StringGrid1.RowData(a);
  StringGrid1.SetRowData(a, StringGrid1.RowData(b));
  StringGrid1.SetRowData(b, d);
}

// The "Prepare copy" button and its menu item follow the Save action.
void TAdministrations::FollowSaveState() {
  Button1.SetEnabled(Save.Enabled());
  Preparecopy1.SetEnabled(Save.Enabled());
}

}  // namespace masterdata
