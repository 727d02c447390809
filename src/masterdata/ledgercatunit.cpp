#include "masterdata/ledgercatunit.h"

#include <algorithm>
#include <cstdint>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "text/systemsettings.h"
#include "ui/application.h"

namespace masterdata {

using text::Cut;

namespace {

// The English of the unit's own messages, which the language file has no
// text for; ApplyLanguageTexts gives them in Dutch and German as well.
const char* const kCategoryNameTooLongEnglish = text::BuiltInTextEnglish(text::BuiltIn::CategoryNameTooLong);
const char* const kCategoryNameSemicolonEnglish = text::BuiltInTextEnglish(text::BuiltIn::CategoryNameSemicolon);
// The language file's messages as the program starts, before the language
// routine.
constexpr const char* kNotPostedEnglish = "First post or delete the entry in the edit fields";
constexpr const char* kDuplicateEnglish = "This entry already exists";
constexpr const char* kLimitEnglish = "The list is full: no more than 400 entries";
constexpr const char* kTopEnglish = "This row is already the first one";
constexpr const char* kBottomEnglish = "This row is already the last one";

}  // namespace

std::string CategoryNotPostedText = kNotPostedEnglish;
std::string CategoryDuplicateText = kDuplicateEnglish;
std::string CategoryLimitText = kLimitEnglish;
std::string CategoryTopText = kTopEnglish;
std::string CategoryBottomText = kBottomEnglish;
std::string MsgCategoryNameTooLong = kCategoryNameTooLongEnglish;
std::string MsgCategoryNameSemicolon = kCategoryNameSemicolonEnglish;
const char* const CategoryInUseMarker = "in use !";
formkit::HelpCaptionBlockRec LedgercategoryHelpCaptions;
TLedgercategory* Ledgercategory = nullptr;

void ResetLedgercategoryState() {
  CategoryNotPostedText = kNotPostedEnglish;
  CategoryDuplicateText = kDuplicateEnglish;
  CategoryLimitText = kLimitEnglish;
  CategoryTopText = kTopEnglish;
  CategoryBottomText = kBottomEnglish;
  MsgCategoryNameTooLong = kCategoryNameTooLongEnglish;
  MsgCategoryNameSemicolon = kCategoryNameSemicolonEnglish;
  LedgercategoryHelpCaptions = {};
}

std::string MsgCategoryInUse(const std::string& name) {
  return text::BuiltInText(text::BuiltIn::CategoryInUse, {name});
}

namespace {

// Whether a GL account names the category; the names are compared exactly,
// byte for byte. An empty name is never in use. Needs GLA in the open set.
bool CategoryInUse(const std::string& name) {
  if (name.empty()) return false;
  for (const records::LedgerAccountRec& account :
       store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit))
    if (account.CategoryName() == name) return true;
  return false;
}

// The first name that occurs twice among the rows, compared ignoring case
// (the GL accounts form matches category names ignoring case); empty when
// every name is unique.
std::string FirstDuplicateName(const std::vector<CategoryRow>& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = i + 1; j < rows.size(); ++j)
      if (cp1252::EqualsIgnoringCase(rows[i].name, rows[j].name)) return rows[i].name;
  return {};
}

}  // namespace

TLedgercategory::TLedgercategory() : ui::Form("Ledgercategory", "TLedgercategory") {
  SetCaption("Ledger category");
  width = 640;
  height = 600;

  Save.SetCaption("Save");
  Delete.SetCaption("Delete");
  Cancel.SetCaption("Cancel");
  Save.OnExecute = [this] { SaveExecute(); };
  Delete.OnExecute = [this] { DeleteExecute(); };
  Cancel.OnExecute = [this] { CancelExecute(); };
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Save1, &ToolButton1, &Save2})
    c->SetAction(&Save);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Delete1, &ToolButton2, &Button3})
    c->SetAction(&Delete);
  for (ui::ActionClient* c : std::initializer_list<ui::ActionClient*>{&Cancel1, &ToolButton3, &Button2})
    c->SetAction(&Cancel);
  ToolButton1.SetImageIndex(0);
  ToolButton2.SetImageIndex(1);
  ToolButton3.SetImageIndex(2);
  ToolButton6.SetImageIndex(5);

  Label2.SetBold(true);

  Panel1.SetBevel(false);
  Panel1.hints.stretch = 1;
  StringGrid1.hints.stretch = 1;
  StringGrid1.hints.minWidth = 460;
  StringGrid1.SetCell(0, 0, "Kind");
  StringGrid1.SetCell(1, 0, "Category");
  StringGrid1.SetColWidth(0, 200);
  StringGrid1.SetColWidth(1, 280);
  // The stamp of each row rides along unseen.
  StringGrid1.SetColWidth(2, 0);
  StringGrid1.SetColWidth(3, 0);
  StringGrid1.SetRow(1);
  Panel2.SetBevel(false);
  Image1.hints.width = 70;
  Image2.hints.width = 70;

  Panel3.gridColumns = 2;
  Panel3.SetBevel(false);
  Edit1.SetMaxLength(kCategoryNameRoom);
  Edit1.hints.stretch = 1;
  RadioGroup1.hints.colSpan = 2;
  RadioGroup1.hints.newRow = true;
  RadioButton1.SetChecked(true);
  Panel4.hints.colSpan = 2;
  Panel4.hints.newRow = true;
  Panel4.SetBevel(false);
  for (ui::Edit* e : {&Edit2, &Edit3, &Edit4}) e->SetReadOnly(true);
  Edit2.hints.width = 110;
  Edit3.hints.width = 170;
  Edit4.hints.width = 90;

  Panel5.SetBevel(false);
  Panel6.SetBevel(false);
  for (ui::Button* b : {&Image4, &Image3, &Save2, &Button3, &Button2}) b->hints.width = 100;

  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  Image4.OnClick = [this] { Image4Click(); };
  Select1.OnClick = [this] { Image4Click(); };
  Image3.OnClick = [this] { Image3Click(); };
  Add1.OnClick = [this] { Image3Click(); };
  Image1.OnClick = [this] { Image1Click(); };
  Up1.OnClick = [this] { Image1Click(); };
  Image2.OnClick = [this] { Image2Click(); };
  Down1.OnClick = [this] { Image2Click(); };
  Edit1.OnChange = [this] { Edit1Change(); };
  StringGrid1.OnSelectCell = [this](int, int, bool&) { rowChosen_ = true; };
  formkit::BindHelpMenu(*this, LedgercategoryHelpCaptions,
                        {{&BrenvackGLcategoryHelp1, "<GLC00>"},
                         {&ToolButton6, "<GLC00>"},
                         {&BrenvickHelp1, ""},
                         {&utorial1, "<TUT00>"},
                         {&About1, "<ABO00>"}},
                        &Brenvickhomepage1);

  SetPostEnabled(false);
}

void TLedgercategory::ApplyLanguageTexts() {
  using text::L;
  // The form shows its own text alone, without the product and group.
  SetCaption(L(2220));
  std::string title = Cut(" " + L(1027), 31);
  title = Cut(title + " (", 33);
  title = Cut(title + store::CurrentAdministrationName, 63);
  Label2.SetCaption(Cut(title + ")", 64));
  Label1.SetCaption(L(2220));
  StringGrid1.SetCell(0, 0, L(2332));
  StringGrid1.SetCell(1, 0, L(2220));
  RadioGroup1.SetCaption(L(2332));
  RadioButton1.SetCaption(L(2255));
  RadioButton2.SetCaption(L(2284));

  File1.SetCaption(L(21));
  Save.SetCaption(L(54));  // Save1, Save2 and the tool button
  Run1.SetCaption(L(247));
  Delete.SetCaption(L(260));  // Button3, its menu item and tool button
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  Cancel.SetCaption(L(306));  // Cancel1, Button2 and the tool button
  Select1.SetCaption(L(345));
  Up1.SetCaption(L(398));
  Down1.SetCaption(L(411));
  Add1.SetCaption(L(424));
  Brenvickhomepage1.SetCaption(L(486));
  BrenvickHelp1.SetCaption(L(514));
  BrenvackGLcategoryHelp1.SetCaption(L(2348));
  utorial1.SetCaption(text::TutorialCaption());
  // The buttons beside the grid say what their menu items say.
  Image4.SetCaption(L(345));
  Image3.SetCaption(L(424));
  Image1.SetCaption(L(398));
  Image2.SetCaption(L(411));

  CategoryNotPostedText = L(9567);
  CategoryDuplicateText = L(9648);
  CategoryLimitText = L(9506);
  CategoryTopText = L(9384);
  CategoryBottomText = L(9445);
  MsgCategoryNameTooLong = text::BuiltInText(text::BuiltIn::CategoryNameTooLong);
  MsgCategoryNameSemicolon = text::BuiltInText(text::BuiltIn::CategoryNameSemicolon);

  // The kinds in the grid follow the new radio captions.
  ShowRows();
}

bool TLedgercategory::EntryHeld() const { return rows_.Held() || !text::TrimText(Edit1.GetText()).empty(); }

std::string TLedgercategory::KindCaption(const std::string& kind) const {
  return kind == records::kBalanceSheetKind ? RadioButton1.Caption() : RadioButton2.Caption();
}

std::string TLedgercategory::CheckedKind() const {
  return std::string(RadioButton1.Checked() ? records::kBalanceSheetKind : records::kProfitAndLossKind);
}

void TLedgercategory::ShowRows() {
  const int n = CategoryRowTotal();
  StringGrid1.SetRowCount(std::max(2, n + 1));
  for (int i = 0; i < n; ++i) {
    const CategoryRow& r = rows_.At(i);
    StringGrid1.SetCell(0, i + 1, KindCaption(r.kind));
    StringGrid1.SetCell(1, i + 1, r.name);
    StringGrid1.SetCell(2, i + 1, r.changedBy);
    StringGrid1.SetCell(3, i + 1, r.changedAt);
  }
  if (n == 0)
    for (int c = 0; c < 4; ++c) StringGrid1.SetCell(c, 1, {});
}

void TLedgercategory::SetSelectEnabled(bool e) {
  Image4.SetEnabled(e);
  Select1.SetEnabled(e);
}

void TLedgercategory::SetPostEnabled(bool e) {
  Image3.SetEnabled(e);
  Add1.SetEnabled(e);
}

void TLedgercategory::ClearStatus() { StatusBar1.Show({}, ui::colors::Default); }

void TLedgercategory::SetEntryEditable(bool e) {
  Edit1.SetEnabled(e);
  RadioButton1.SetEnabled(e);
  RadioButton2.SetEnabled(e);
}

void TLedgercategory::FormActivate() {
  rows_.Clear();
  loaded_.clear();
  ClearStatus();
  ClearEntryFields(ui::colors::Default);
  RadioButton1.SetChecked(true);
  Delete.SetEnabled(true);
  SetSelectEnabled(true);

  bool loaded = false;
  {
    // The start screen opened "GLC;" for this showing; the scope nests in
    // that set (or opens its own when the form is shown without it).
    formkit::FileSetScope scope("GLC;");
    if (scope.Ok()) {
      std::vector<CategoryRow> rows;
      for (const records::LedgerCategoryRec& rec :
           store::ReadAll<records::LedgerCategoryRec>(store::FileCode::GLC, store::kSmallFileLimit)) {
        // Any kind text other than the balance-sheet code counts as profit
        // and loss, and is written so at the next save.
        const bool balance = rec.CategoryKind() == records::kBalanceSheetKind;
        rows.push_back({std::string(balance ? records::kBalanceSheetKind : records::kProfitAndLossKind),
                        rec.CategoryName(), rec.ChangedBy(), rec.ChangedAt()});
      }
      loaded_ = rows;
      rows_.Load(std::move(rows), store::SnapshotOf(store::FileCode::GLC));
      loaded = true;
    }
  }
  // End the set the start screen opened for this showing.
  store::CloseFileSet();
  // Without the categories a Save would write an empty file: the form
  // closes again (the message box has told why).
  if (!loaded) {
    Close();
    return;
  }

  ShowRows();
  StringGrid1.SetRow(1);
  // Accounts refer to a category by its name alone: a name under both kinds
  // (or twice) in an older file is shown, not refused.
  const std::string dup = FirstDuplicateName(rows_.Rows());
  if (!dup.empty()) StatusBar1.Show(CategoryDuplicateText + ": " + dup, ui::colors::Yellow);
  Edit1Change();
}

void TLedgercategory::Image4Click() {
  ClearStatus();
  if (EntryHeld()) {
    StatusBar1.Show(CategoryNotPostedText, ui::colors::Red);
    SetSelectEnabled(false);
    return;
  }
  const int r = StringGrid1.Row();
  // Nothing to take: the blank row of an empty grid, or the heading.
  if (r < 1 || r > CategoryRowTotal()) return;

  const CategoryRow row = rows_.At(r - 1);
  bool inUse = false;
  {
    formkit::FileSetScope scope("GLA;GLC;");
    // A failed open leaves everything as it was.
    if (!scope.Ok()) return;
    inUse = CategoryInUse(row.name);
  }

  rows_.TakeOut(r - 1);
  takenFrom_ = r;
  rowChosen_ = false;
  ShowRows();

  Edit1.SetText(row.name);
  (row.kind == records::kBalanceSheetKind ? RadioButton1 : RadioButton2).SetChecked(true);
  Edit2.SetText(row.changedBy);
  Edit3.SetText(row.changedAt);
  Edit1.SetBackColor(ui::colors::Default);
  Delete.SetEnabled(!inUse);
  SetEntryEditable(!inUse);
  Edit4.SetText(inUse ? CategoryInUseMarker : "");
  Edit4.SetBackColor(inUse ? ui::colors::Red : ui::colors::Default);
  SetSelectEnabled(false);
}

void TLedgercategory::Image3Click() {
  ClearStatus();
  // A row Select took out may always go back, even beyond the limit (an
  // imported file can hold more rows than the form accepts).
  const bool putBack = rows_.Held();
  if (!putBack && CategoryRowTotal() >= kCategoryMaxRows) {
    StatusBar1.Show(CategoryLimitText, ui::colors::Red);
    return;
  }
  std::string name = Edit1.GetText();
  // A row put back unchanged keeps its name as stored: accounts refer to it.
  const bool unchanged = putBack && name == rows_.HeldRow().name;
  if (!unchanged) {
    name = text::TrimText(name);
    if (name.empty()) return;
    const char* refusal = nullptr;
    if (name.size() > static_cast<std::size_t>(kCategoryNameRoom))
      refusal = MsgCategoryNameTooLong.c_str();
    else if (name.find(';') != std::string::npos)
      refusal = MsgCategoryNameSemicolon.c_str();
    if (refusal) {
      StatusBar1.Show(refusal, ui::colors::Red);
      Edit1.SetBackColor(ui::colors::Yellow);
      return;
    }
  }

  // One name, one category: accounts name their category without its kind.
  // (A row put back unchanged cannot add a duplicate: nothing else was
  // posted while it was held.)
  const bool duplicate =
      !unchanged && rows_.Any([&](const CategoryRow& r) { return cp1252::EqualsIgnoringCase(r.name, name); });
  if (duplicate) {
    StatusBar1.Show(CategoryDuplicateText, ui::colors::Red);
    Edit1.SetBackColor(ui::colors::Yellow);
  } else {
    // Before the current row; a row taken out goes back where it was unless
    // the user has chosen another row (the grid moves off a vanished last
    // row by itself).
    const int current = putBack && !rowChosen_ ? takenFrom_ : StringGrid1.Row();
    const int p = std::clamp(current, 1, CategoryRowTotal() + 1);
    rows_.Insert(p - 1, CategoryRow{CheckedKind(), name, {}, {}});
    rows_.Release();
    ShowRows();
    StringGrid1.SetRow(p);
    ClearEntryFields(ui::colors::Cream);
    Delete.SetEnabled(true);
  }
  if (CategoryRowTotal() >= kCategoryWarnRows) StatusBar1.Show(CategoryLimitText, ui::colors::Lime);
  SetSelectEnabled(true);
}

void TLedgercategory::Image1Click() {
  ClearStatus();
  const int r = StringGrid1.Row();
  if (r < 1 || r > CategoryRowTotal()) return;
  if (r == 1) {
    StatusBar1.Show(CategoryTopText, ui::colors::Lime);
    return;
  }
  rows_.Swap(r - 2, r - 1);
  ShowRows();
  StringGrid1.SetRow(r - 1);
}

void TLedgercategory::Image2Click() {
  ClearStatus();
  const int r = StringGrid1.Row();
  if (r < 1) return;
  if (r < CategoryRowTotal()) {
    rows_.Swap(r - 1, r);
    ShowRows();
    StringGrid1.SetRow(r + 1);
  } else {
    StatusBar1.Show(CategoryBottomText, ui::colors::Lime);
  }
}

// Empties the name edit (enabled, in `nameColour`), the stamp fields and
// the in-use marker.
void TLedgercategory::ClearEntryFields(ui::Color nameColour) {
  SetEntryEditable(true);
  Edit1.SetBackColor(nameColour);
  Edit1.SetText({});
  Edit2.SetText({});
  Edit3.SetText({});
  Edit4.SetText({});
  Edit4.SetBackColor(ui::colors::Default);
}

// Drops the entry held in the edit fields; a row Select took out is thereby
// gone from the file at the next save.
void TLedgercategory::DeleteExecute() {
  ClearStatus();
  rows_.Release();
  ClearEntryFields(ui::colors::Default);
  SetSelectEnabled(true);
}

void TLedgercategory::SaveExecute() {
  ClearStatus();
  if (EntryHeld()) {
    StatusBar1.Show(CategoryNotPostedText, ui::colors::Red);
    return;
  }
  // Rows posted since the form was shown get the current user and time.
  const std::string now = platform::DateTimeToText(platform::Now());
  auto toRec = [&](const CategoryRow& r) {
    records::LedgerCategoryRec rec;
    rec.SetCategoryKind(r.kind == records::kBalanceSheetKind ? records::kBalanceSheetKind
                                                             : records::kProfitAndLossKind);
    rec.SetCategoryName(r.name);
    rec.SetChangedBy(r.changedBy.empty() ? text::SystemSettings.CurrentUser : r.changedBy);
    rec.SetChangedAt(r.changedAt.empty() ? now : r.changedAt);
    return rec;
  };
  const formkit::SaveOutcome outcome = rows_.Save<records::LedgerCategoryRec>(
      store::FileCode::GLC, "GLA;GLC;", toRec, [this] { return CategoriesLeavingAreFree(); });
  // Nothing was written: the form stays open with the user's work.
  if (outcome != formkit::SaveOutcome::Written) return;
  loaded_ = rows_.Rows();
  Close();
}

bool TLedgercategory::CategoriesLeavingAreFree() const {
  for (const CategoryRow& was : loaded_) {
    const bool stays = rows_.Any([&](const CategoryRow& r) { return r.name == was.name && r.kind == was.kind; });
    if (stays || !CategoryInUse(was.name)) continue;
    ui::ShowMessage(MsgCategoryInUse(was.name));
    return false;
  }
  return true;
}

// Closes without writing, also while an entry is held (the file keeps it).
void TLedgercategory::CancelExecute() { Close(); }

void TLedgercategory::Edit1Change() { SetPostEnabled(!text::TrimText(Edit1.GetText()).empty()); }

void TLedgercategory::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::Escape) {
    key = 0;
    Cancel.Execute();
  } else if (key == ui::keys::F1) {
    key = 0;
    BrenvackGLcategoryHelp1.OnClick();
  } else if (key == ui::keys::Return) {
    // Enter posts the name being typed, or selects the current grid row.
    if (ActiveControl() == &Edit1) {
      key = 0;
      if (Image3.Enabled()) Image3Click();
    } else if (ActiveControl() == &StringGrid1) {
      key = 0;
      if (Image4.Enabled()) Image4Click();
    }
  }
}

}  // namespace masterdata
