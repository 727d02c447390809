#include "masterdata/Ledgerunit.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "store/adminsettingsload.h"
#include "books/closing/balancerule.h"
#include "formkit/helpmenu.h"
#include "text/builtintext.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "store/fileset.h"
#include "formkit/filesetscope.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "ui/application.h"

namespace masterdata {

using text::Cut;

namespace {

// The fixed English account-function codes, entries 1 to 14.
const std::array<std::string, 16> kAccountFunctionCodes = {
    "",
    "Customer group",
    "Sales account 1",
    "Sales account 2",
    "Sales account 3",
    "VAT Sales account 1",
    "VAT Sales account 2",
    "Cash discount sales",
    "Supplier group",
    "Purchase account 1",
    "Purchase account 2",
    "Purchase account 3",
    "VAT Purchase account 1",
    "VAT Purchase account 2",
    "Cash discount purchase",
    "",
};

// The language offset of function-list item i (1 to 14).
int FunctionTextOffset(int i) { return 2891 + 31 * (i - 1); }

// The messages as the program starts, before the language routine.
constexpr const char* kNotPostedEnglish = "The entry in the edit fields is not posted yet: post or delete it first";
constexpr const char* kNumberEnglish = "Enter a valid account number: no outer blanks, no { ; or leading #, max. 15";
constexpr const char* kCategoryEnglish = "Choose the GL category of the account";
constexpr const char* kDuplicateEnglish = "This account number exists already";
constexpr const char* kLimitEnglish = "The maximum of 400 GL accounts is reached";
constexpr const char* kTaxCodeEnglish = "A GL account names a sales-tax code that the system settings do not hold";

}  // namespace

std::array<std::string, 16> AccountFunctionCodes = kAccountFunctionCodes;
std::string LedgerBookYearStart;
std::string LedgerProfitAccount;

std::string LedgerNotPostedText = kNotPostedEnglish;
std::string LedgerNumberText = kNumberEnglish;
std::string LedgerCategoryText = kCategoryEnglish;
std::string LedgerDuplicateText = kDuplicateEnglish;
std::string LedgerLimitText = kLimitEnglish;
std::string LedgerTaxCodeText = kTaxCodeEnglish;
formkit::HelpCaptionBlockRec LedgerHelpCaptions;
TLedger* Ledger = nullptr;

void ResetLedgerState() {
  AccountFunctionCodes = kAccountFunctionCodes;
  LedgerBookYearStart.clear();
  LedgerProfitAccount.clear();
  LedgerNotPostedText = kNotPostedEnglish;
  LedgerNumberText = kNumberEnglish;
  LedgerCategoryText = kCategoryEnglish;
  LedgerDuplicateText = kDuplicateEnglish;
  LedgerLimitText = kLimitEnglish;
  LedgerTaxCodeText = kTaxCodeEnglish;
  LedgerHelpCaptions = {};
}

std::string MsgAccountInUse(const std::string& number) {
  return text::BuiltInText(text::BuiltIn::AccountInUse, {number});
}

bool FreezeClosesBookYear(const std::string& label) { return books::closing::FreezeClosesBookYear(label); }

AccountBalances LedgerBalances(const BalanceFacts& facts) {
  double a = facts.startAmount;
  if (facts.freeze && facts.frozenNet)
    a = books::closing::CarryIntoNextPeriod(*facts.frozenNet, 0, facts.yearClosed, facts.categoryKind).Net();
  return {a, facts.type == 'D' ? a + facts.lineSum : a - facts.lineSum};
}

namespace {

bool IsBlankText(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string AmountText(double v) { return text::FormatAmount(v, -1, 'Y'); }

// The exclusive end of the frozen periods: the period end of the last
// freeze record; nullopt without a freeze. Needs FRZ in the open set.
std::unique_ptr<records::FreezeRec> LastFreeze() {
  const int n = store::RecordCount(store::FileCode::FRZ);
  if (n == 0) return nullptr;
  auto rec = std::make_unique<records::FreezeRec>();
  store::ReadRecord(store::FileCode::FRZ, n - 1, *rec);
  return rec;
}

// What Select learns about an account from the freeze, voucher and partner
// files (FRZ, JVO, CUS and SUP in the open set).
struct AccountFacts {
  bool freeze = false;
  bool yearClosed = false;  // the last freeze closed its book year
  std::string frozenEnd;  // F: the first day after the frozen periods
  std::optional<double> frozenNet;  // the snapshot's own - other side
  double lineSum = 0;            // S: debit - credit of the lines from F on
  bool hasLines = false;
  std::string earliestLine, latestLine;
  bool startFrozen = false;  // the start date lies in the frozen periods
  bool namedElsewhere = false;  // the profit account or a partner's account
};

bool PartnersName(store::FileCode file, const std::string& number) {
  records::PartnerRec partner;
  const int n = store::RecordCount(file);
  for (int i = 0; i < n; ++i) {
    store::ReadRecord(file, i, partner);
    for (std::size_t f = 0; f < records::PartnerRec::kAccountFields.size(); ++f)
      if (text::TrimTrailingBlanks(partner.AccountField(static_cast<int>(f))) == number) return true;
  }
  return false;
}

AccountFacts ReadAccountFacts(const LedgerRow& row) {
  AccountFacts facts;
  const std::string number = text::TrimTrailingBlanks(row.number);

  if (auto frozen = LastFreeze()) {
    facts.freeze = true;
    facts.frozenEnd = frozen->PeriodEndDate();
    facts.yearClosed = FreezeClosesBookYear(frozen->PeriodLabel());
    if (!number.empty())
      for (int i = 1; i <= records::FreezeRec::kAccountRows; ++i) {
        const records::FreezeAccountRow a = frozen->Account(i);
        if (text::TrimTrailingBlanks(a.AccountNumber()) == number) {
          facts.frozenNet = a.ClosingOwnSide() - a.ClosingOtherSide();
          break;
        }
      }
    // A start date that is no date cannot be placed after the freeze.
    facts.startFrozen = !text::IsValidYmd(row.startDate) || row.startDate < facts.frozenEnd;
  }

  // The voucher file is in ascending date order: walk it from the end and
  // stop at the first line of the frozen periods, which the snapshot holds.
  if (!number.empty()) {
    records::JournalVoucherRec line;
    for (int i = store::RecordCount(store::FileCode::JVO) - 1; i >= 0; --i) {
      store::ReadRecord(store::FileCode::JVO, i, line);
      const std::string date = line.VoucherDate();
      if (facts.freeze && date < facts.frozenEnd) break;
      if (text::TrimTrailingBlanks(line.AccountNumber()) != number) continue;
      facts.lineSum += line.DebitAmount() - line.CreditAmount();
      if (!facts.hasLines) facts.latestLine = date;
      facts.hasLines = true;
      facts.earliestLine = date;
    }
    facts.namedElsewhere = text::TrimTrailingBlanks(LedgerProfitAccount) == number ||
                           PartnersName(store::FileCode::CUS, number) || PartnersName(store::FileCode::SUP, number);
  }
  return facts;
}

// Whether an account's number is locked: it has lines after the freeze, its
// start date lies in the frozen periods, or it is the profit account or a
// partner's default account.
bool InUse(const AccountFacts& facts) {
  return facts.hasLines || (facts.freeze && facts.startFrozen) || facts.namedElsewhere;
}

}  // namespace

char LedgerTypeCode(const std::string& storedType) {
  const char c = storedType.empty() ? 'C' : cp1252::ToUpper(storedType[0]);
  return c == 'P' || c == 'T' || c == 'D' ? c : 'C';
}

int AccountFunctionIndex(const std::string& code) {
  if (code.empty()) return 0;
  for (int i = 1; i <= 14; ++i)
    if (AccountFunctionCodes[i] == code) return i;
  return 0;
}

bool AccountNumberAcceptable(const std::string& number) {
  if (static_cast<int>(number.size()) > kAccountNumberRoom) return false;
  if (!number.empty() && static_cast<unsigned char>(number.back()) <= ' ') return false;
  if (number.find_first_of("{;") != std::string::npos) return false;
  return number.empty() || number.front() != '#';
}

TLedger::TLedger() : ui::Form("Ledger", "TLedger") {
  width = 980;
  height = 720;

  Select.OnExecute = [this] { SelectExecute(); };
  Add.OnExecute = [this] { AddExecute(); };
  Delete.OnExecute = [this] { deleteExecute(); };
  Save.OnExecute = [this] { saveExecute(); };
  Cancel.OnExecute = [this] { cancelExecute(); };
  using Clients = std::initializer_list<ui::ActionClient*>;
  for (ui::ActionClient* c : Clients{&ToolButton1, &SelectUp1}) c->SetAction(&Select);
  for (ui::ActionClient* c : Clients{&ToolButton2, &PostDown1, &PostImage}) c->SetAction(&Add);
  for (ui::ActionClient* c : Clients{&ToolButton3, &Delete1, &Button3}) c->SetAction(&Delete);
  for (ui::ActionClient* c : Clients{&ToolButton4, &Save1, &Button1}) c->SetAction(&Save);
  for (ui::ActionClient* c : Clients{&ToolButton5, &Cancel1, &Button2}) c->SetAction(&Cancel);
  for (int i = 0; ui::ToolButton * b : {&ToolButton1, &ToolButton2, &ToolButton3, &ToolButton4, &ToolButton5})
    b->SetImageIndex(i++);
  ToolButton9.SetImageIndex(8);

  Label6.SetBold(true);

  StringGrid1.hints.stretch = 1;
  StringGrid1.hints.minWidth = 640;
  // The headings the language has no text for; ApplyFormTexts sets the
  // others.
  const std::array<int, ColumnCount> widths = {90, 190, 70, 150, 75, 110, 75, 90, 60, 80, 130,
                                               0 /* the lead code, carried unseen as its edit */, 110, 150};
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetColWidth(c, widths[c]);
  StringGrid1.SetCell(ColLeadCode, 0, "Lead code");
  StringGrid1.SetCell(ColJournalName, 0, "Journal name");
  StringGrid1.SetCell(ColFunction, 0, "Account function");
  StringGrid1.SetRow(1);

  Panel3.SetBevel(false);
  SelectImage.hints.width = 120;
  PostImage.hints.width = 120;

  Panel1.gridColumns = 4;
  Panel1.SetBevel(false);
  MaskEdit1.SetMaxLength(kAccountNumberRoom);
  Edit5.SetMaxLength(50);
  Edit5.hints.stretch = 1;
  ComboBox1.SetMaxLength(50);
  ComboBox2.SetMaxLength(12);
  ComboBox3.SetMaxLength(50);
  Edit6.SetMaxLength(50);
  Edit6.SetVisible(false);
  Edit7.SetMaxLength(50);
  Panel4.SetBevel(false);
  Panel5.SetBevel(false);
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4}) e->SetReadOnly(true);
  RadioButton3.SetChecked(true);
  Label11.SetVisible(false);
  Edit7.SetVisible(false);

  Memo1.SetReadOnly(true);
  Memo1.hints.height = 80;

  Panel2.SetBevel(false);
  for (ui::Button* b : {&Button1, &Button3, &Button2}) b->hints.width = 100;

  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  SelectImage.OnClick = [this] { SelectExecute(); };
  MaskEdit1.OnChange = [this] { MaskEdit1Change(); };
  CheckBox1.OnClick = [this] { CheckBox1Click(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  ComboBox3.OnExit = [this] { ComboBox3Exit(); };
  MaskEdit2.OnChange = [this] { MaskEdit2Change(); };
  MaskEdit2.OnEnter = [this] { MaskEdit2Enter(); };
  MaskEdit2.OnClick = [this] { MaskEdit2Click(); };
  MaskEdit2.OnExit = [this] { MaskEdit2Exit(); };
  DateTimePicker1.OnChange = [this] { DateTimePicker1Change(); };
  DateTimePicker2.OnChange = [this] { endDateTouched_ = true; };
  formkit::BindHelpMenu(*this, LedgerHelpCaptions,
                        {{&GLAccountformHelp1, "<GLA00>"},
                         {&ToolButton9, "<GLA00>"},
                         {&BrenvickHelp1, ""},
                         {&Tutorial1, "<TUT00>"},
                         {&About1, "<ABO00>"}},
                        &BrenvickHomepage1);

  ApplyFormTexts();
  ShowRows();
  SetSelectImageEnabled();
}

void TLedger::ApplyLanguageTexts() {
  using text::L;
  ApplyFormTexts();
  // The function list shows the language texts; the codes stay English.
  AccountFunctionCodes = kAccountFunctionCodes;

  LedgerNotPostedText = L(9567);
  LedgerNumberText = L(10796);
  LedgerCategoryText = L(10349);
  LedgerDuplicateText = L(9648);
  LedgerLimitText = L(9506);
  LedgerTaxCodeText = L(10278);

  LedgerBookYearStart = Cut(store::AdminSettings.BookYearStart(), 8);
  LedgerProfitAccount = Cut(store::AdminSettings.ProfitAccountNumber(), 20);

  // The rows show their codes in the new language.
  ShowRows();
}

void TLedger::ApplyFormTexts() {
  using text::L;
  SetCaption(store::ProductTitle + " : " + L(965) + " / " + L(996));
  std::string title = Cut(" " + L(996), 31);
  title = Cut(title + " (", 33);
  title = Cut(title + store::CurrentAdministrationName, 63);
  Label6.SetCaption(Cut(title + ")", 64));

  File1.SetCaption(L(21));
  Save.SetCaption(L(54));
  Actions1.SetCaption(L(247));
  Delete.SetCaption(L(260));
  Help1.SetCaption(L(284));
  About1.SetCaption(L(295));
  Cancel.SetCaption(L(306));
  Select.SetCaption(L(398));
  Add.SetCaption(L(411));
  // The select image says what its menu item says (the post image follows
  // its action).
  SelectImage.SetCaption(L(398));
  BrenvickHomepage1.SetCaption(L(486));
  BrenvickHelp1.SetCaption(L(514));
  GLAccountformHelp1.SetCaption(L(2666));

  Label1.SetCaption(L(2391));
  Label8.SetCaption(L(2410));
  Edit5.SetHint(L(2410));
  Label3.SetCaption(L(2431));
  RadioButton3.SetCaption(L(2454));
  RadioButton4.SetCaption(L(2465));
  RadioButton1.SetCaption(L(2476));
  RadioButton2.SetCaption(L(2502));
  Label9.SetCaption(L(2528));
  Label10.SetCaption(L(2544));
  Label2.SetCaption(L(2556));
  Label4.SetCaption(L(2581));
  Label5.SetCaption(L(2616));
  Label7.SetCaption(L(2629));
  CheckBox1.SetCaption(L(2645));
  Label11.SetCaption(L(2839));
  Label12.SetCaption(L(2860));
  Memo1.SetLines({L(2712), L(2748), L(2789), L(2798)});

  StringGrid1.SetCell(ColNumber, 0, L(2391));
  StringGrid1.SetCell(ColCaption, 0, L(2410));
  StringGrid1.SetCell(ColType, 0, "D/C");
  StringGrid1.SetCell(ColCategory, 0, L(2431));
  StringGrid1.SetCell(ColStartDate, 0, L(2528));
  StringGrid1.SetCell(ColStartAmount, 0, L(2556));
  StringGrid1.SetCell(ColEndDate, 0, L(2544));
  StringGrid1.SetCell(ColSalesTax, 0, L(2629));
  StringGrid1.SetCell(ColCashOrBank, 0, L(2645));
  StringGrid1.SetCell(ColChangedBy, 0, text::ChangedByCaption());
  StringGrid1.SetCell(ColChangedAt, 0, text::ChangedAtCaption());
  Label13.SetCaption(text::ChangedByCaption());
  Label14.SetCaption(text::ChangedAtCaption());
  Tutorial1.SetCaption(text::TutorialCaption());

  ComboBox3.ClearItems();
  ComboBox3.AddItem("");
  for (int i = 1; i <= 14; ++i) ComboBox3.AddItem(L(FunctionTextOffset(i)));
  ComboBox3.SetItemIndex(0);
}

// ---- the grid

std::string TLedger::TypeCaption(char type) const {
  switch (type) {
    case 'P': return RadioButton1.Caption();
    case 'T': return RadioButton2.Caption();
    case 'D': return RadioButton3.Caption();
    default: return RadioButton4.Caption();
  }
}

std::string TLedger::FunctionCaption(const std::string& code) const {
  const int i = AccountFunctionIndex(code);
  return i > 0 && i < ComboBox3.Count() ? ComboBox3.Items()[i].text : std::string();
}

void TLedger::ShowRow(int gridRow) {
  const LedgerRow& r = rows_.At(gridRow - 1);
  const std::array<std::string, ColumnCount> cells = {
      r.number,       r.caption,        TypeCaption(r.type),  r.category,  r.startDate,
      AmountText(r.startAmount),        r.endDate,            r.salesTaxCode,
      r.cashOrBank ? "true" : "false",  r.changedBy,          r.changedAt, r.leadCode,
      r.journalName,  FunctionCaption(r.functionCode)};
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, gridRow, cells[c]);
}

void TLedger::ShowRows(int from) {
  const int n = LedgerRowTotal();
  StringGrid1.SetRowCount(std::max(2, n + 1));
  for (int r = std::max(1, from); r <= n; ++r) ShowRow(r);
  // The row after the last account (the one blank row of an empty grid).
  for (int c = 0; c < ColumnCount; ++c) StringGrid1.SetCell(c, n + 1, "");
}

void TLedger::SetSelectImageEnabled() { SelectImage.SetEnabled(!rows_.Empty()); }

void TLedger::UpdateSingletonTypeButtons() {
  auto any = [this](char type) { return rows_.Any([type](const LedgerRow& r) { return r.type == type; }); };
  RadioButton1.SetEnabled(!any('P'));
  RadioButton2.SetEnabled(!any('T'));
}

// ---- the entry

char TLedger::CheckedType() const {
  if (RadioButton1.Checked()) return 'P';
  if (RadioButton2.Checked()) return 'T';
  if (RadioButton4.Checked()) return 'C';
  return 'D';
}

void TLedger::CheckType(char type) {
  switch (type) {
    case 'P': RadioButton1.SetChecked(true); break;
    case 'T': RadioButton2.SetChecked(true); break;
    case 'C': RadioButton4.SetChecked(true); break;
    default: RadioButton3.SetChecked(true); break;
  }
}

int TLedger::FunctionListIndex() const {
  const int selected = ComboBox3.ItemIndex();
  if (selected >= 0 && cp1252::EqualsIgnoringCase(ComboBox3.Items()[selected].text, ComboBox3.GetText()))
    return selected;
  return ComboBox3.IndexOfIgnoringCase(ComboBox3.GetText());
}

void TLedger::CheckListFieldKeeping(ui::ComboBox& box, const std::string* stored) {
  if (stored && box.GetText() == *stored) return;
  CheckListField(box);
}

const std::string* TLedger::HeldValue(std::string LedgerRow::*field) const {
  return rows_.Held() ? &(rows_.HeldRow().*field) : nullptr;
}

void TLedger::CheckListField(ui::ComboBox& box) {
  const int selected = box.ItemIndex();
  if (selected >= 0 && cp1252::EqualsIgnoringCase(box.Items()[selected].text, box.GetText())) {
    box.SetItemIndex(selected);
    return;
  }
  const int i = box.IndexOfIgnoringCase(box.GetText());
  if (i >= 0)
    box.SetItemIndex(i);
  else
    box.SetText("");
}

void TLedger::SetStartAmountText(const std::string& text) {
  if (MaskEdit2.GetText() == text) return;
  // The program's own text is not filtered again.
  StartAmountSkipFilter = true;
  MaskEdit2.SetText(text);
  StartAmountSkipFilter = false;
}

void TLedger::ClearEntry() {
  startDateMax_.reset();
  MaskEdit1.SetEnabled(true);
  MaskEdit1.SetText("");
  Edit5.SetText("");
  CheckType('D');
  ComboBox1.SetText("");
  MaskEdit2.SetEnabled(true);
  MaskEdit2.SetBackColor(ui::colors::Default);
  SetStartAmountText("");
  ComboBox2.SetText("");
  CheckBox1.SetChecked(false);
  CheckBox1Click();
  Edit7.SetText("");
  Edit6.SetText("");
  if (ComboBox3.Count() > 0)
    ComboBox3.SetItemIndex(0);
  else
    ComboBox3.SetText("");
  for (ui::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4}) e->SetText("");
  DateTimePicker1.SetEnabled(true);
  DateTimePicker2.SetEnabled(true);
}

void TLedger::UpdateSaveEnabled() {
  Save.SetEnabled(!rows_.Held() && MaskEdit1.Enabled() && MaskEdit1.GetText().empty());
}

namespace {

// Sets a date picker's date and minimum together; the picker refuses a
// minimum above its date, so the date goes first. A stored date before the
// limit lowers the limit (the stored date stays as it is); without a date
// the picker keeps its own, moved up to the limit when it lies below.
void SetDateWithMinimum(ui::DatePicker& picker, std::optional<platform::TDateTime> date,
                        std::optional<platform::TDateTime> minimum) {
  picker.SetMinDate(std::nullopt);
  if (date) {
    picker.SetDate(*date);
    if (minimum && std::trunc(*date) < std::trunc(*minimum)) minimum = date;
  } else if (minimum && std::trunc(picker.Date()) < std::trunc(*minimum)) {
    picker.SetDate(*minimum);
  }
  picker.SetMinDate(minimum);
}

}  // namespace

void TLedger::ResetLedgerDateLimits() {
  DateTimePicker1.SetEnabled(true);
  DateTimePicker2.SetEnabled(true);
  startDateMax_.reset();
  std::optional<platform::TDateTime> start, minimum;
  auto frozen = LastFreeze();
  if (frozen && text::IsValidYmd(frozen->PeriodEndDate())) {
    start = minimum = text::YmdToDate(frozen->PeriodEndDate());
  } else if (!frozen && text::IsValidYmd(LedgerBookYearStart)) {
    start = text::YmdToDate(LedgerBookYearStart) - 1;
  }
  SetDateWithMinimum(DateTimePicker1, start ? *start : platform::Date(), minimum);
  SetDateWithMinimum(DateTimePicker2, text::YmdToDate(kLedgerFarEndDate), std::nullopt);
  Delete.SetEnabled(true);
}

// ---- activation

void TLedger::FormActivate() {
  StartAmountSkipFilter = false;
  StartAmountFocused = false;
  LedgerBookYearStart = Cut(store::AdminSettings.BookYearStart(), 8);
  LedgerProfitAccount = Cut(store::AdminSettings.ProfitAccountNumber(), 20);

  ComboBox2.ClearItems();
  ComboBox2.AddItem("");
  for (int i = 0; i < records::SystemParamRec::kTaxRateCount; ++i) {
    const std::string name = store::SystemParams.TaxRateName(i);
    if (!name.empty()) ComboBox2.AddItem(name);
  }

  StatusBar1.Show("", ui::colors::Default);
  rows_.Clear();
  loaded_.clear();
  heldAmountText_.clear();

  bool loaded = false;
  bool taxWarning = false;
  try {
    // Nested in the set the start screen opened, when it did.
    formkit::FileSetScope scope("FRZ;GLA;GLC;");
    if (scope.Ok()) {
      ClearEntry();
      ResetLedgerDateLimits();

      std::vector<LedgerRow> rows;
      for (const records::LedgerAccountRec& rec :
           store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit)) {
        LedgerRow r;
        r.number = rec.AccountNumber();
        r.caption = rec.Caption();
        r.type = LedgerTypeCode(rec.AccountType());
        r.category = rec.CategoryName();
        r.startDate = rec.StartDate();
        r.startAmount = rec.StartAmount();
        r.endDate = rec.EndDate();
        r.salesTaxCode = rec.SalesTaxCode();
        r.cashOrBank = rec.IsCashOrBank();
        r.changedBy = rec.ChangedBy();
        r.changedAt = rec.ChangedAt();
        r.leadCode = rec.LeadCode();
        r.journalName = rec.JournalName();
        r.functionCode = rec.AccountFunction();
        if (ComboBox2.IndexOf(r.salesTaxCode) < 0) taxWarning = true;
        rows.push_back(std::move(r));
      }

      const store::FileSnapshot snapshot = store::SnapshotOf(store::FileCode::GLA);

      std::vector<std::string> categories;
      categories_.clear();
      for (const records::LedgerCategoryRec& category :
           store::ReadAll<records::LedgerCategoryRec>(store::FileCode::GLC, store::kSmallFileLimit)) {
        categories.push_back(category.CategoryName());
        categories_.emplace_back(category.CategoryName(), category.CategoryKind());
      }

      loaded_ = rows;
      rows_.Load(std::move(rows), snapshot);
      ComboBox1.SetItems(categories);
      ComboBox1.SetText("");
      loaded = true;
    }
  } catch (const std::exception& e) {
    ui::ShowMessage(e.what());
  }
  // The set the start screen opened for this showing ends here.
  if (store::FileSetOpen) store::CloseFileSet();

  if (!loaded) {
    // Nothing to edit: a Save now would write an empty file.
    rows_.Clear();
    loaded_.clear();
    ShowRows();
    Close();
    return;
  }

  ShowRows();
  StringGrid1.SetRow(1);
  Select.SetEnabled(true);
  SetSelectImageEnabled();
  UpdateSingletonTypeButtons();
  UpdateSaveEnabled();
  if (taxWarning) StatusBar1.Show(LedgerTaxCodeText, ui::colors::Yellow);
}

void TLedger::FormKeyDown(uint16_t& key, unsigned shift) {
  if (key == ui::keys::Escape) {
    key = 0;
    cancelExecute();
  } else if (key == ui::keys::F1) {
    key = 0;
    GLAccountformHelp1.OnClick();
  }
}

// ---- Select

void TLedger::SelectExecute() {
  const int r = StringGrid1.Row();
  // An entry held in the fields is refused also when it was the last row.
  if (rows_.Empty() && rows_.Held()) {
    StatusBar1.Show(LedgerNotPostedText, ui::colors::Red);
    return;
  }
  if (rows_.Empty() || r < 1 || r > LedgerRowTotal()) return;

  formkit::FileSetScope scope("FRZ;JVO;CUS;SUP;");
  if (!scope.Ok()) return;
  StatusBar1.Show("", ui::colors::Default);
  if (rows_.Held() || !MaskEdit1.GetText().empty() || !Edit5.GetText().empty()) {
    StatusBar1.Show(LedgerNotPostedText, ui::colors::Red);
  } else {
    const LedgerRow row = rows_.At(r - 1);
    // Every file is read before the form changes.
    const AccountFacts facts = ReadAccountFacts(row);
    scope.Close();

    const bool locked = InUse(facts);
    std::optional<platform::TDateTime> startMin;
    if (facts.freeze && text::IsValidYmd(facts.frozenEnd)) startMin = text::YmdToDate(facts.frozenEnd);
    DateTimePicker1.SetEnabled(true);
    startDateMax_.reset();
    if (facts.freeze && facts.startFrozen) {
      DateTimePicker1.SetEnabled(false);
      MaskEdit1.SetEnabled(false);
      MaskEdit2.SetEnabled(false);
    } else if (facts.hasLines && text::IsValidYmd(facts.earliestLine)) {
      startDateMax_ = text::YmdToDate(facts.earliestLine);
    }
    std::optional<platform::TDateTime> endMin;
    if (facts.hasLines && text::IsValidYmd(facts.latestLine)) endMin = text::YmdToDate(facts.latestLine);
    if (locked) MaskEdit1.SetEnabled(false);

    // The entry, held first so that its change makes nothing of the rest.
    rows_.TakeOut(r - 1);
    MaskEdit1.SetText(row.number);
    Edit5.SetText(row.caption);
    CheckType(row.type);
    ComboBox1.SetText(row.category);
    if (text::IsValidYmd(row.startDate)) {
      const platform::TDateTime d = text::YmdToDate(row.startDate);
      if (startDateMax_ && d > *startDateMax_) startDateMax_ = d;
      SetDateWithMinimum(DateTimePicker1, d, startMin);
    } else {
      SetDateWithMinimum(DateTimePicker1, std::nullopt, startMin);
    }
    heldAmountText_ = AmountText(row.startAmount);
    SetStartAmountText(heldAmountText_);
    SetDateWithMinimum(DateTimePicker2,
                       text::IsValidYmd(row.endDate) ? std::optional(text::YmdToDate(row.endDate)) : std::nullopt,
                       endMin);
    startDateTouched_ = endDateTouched_ = false;
    ComboBox2.SetText(row.salesTaxCode);
    CheckBox1.SetChecked(row.cashOrBank);
    CheckBox1Click();
    Edit3.SetText(row.changedBy);
    Edit4.SetText(row.changedAt);
    Edit6.SetText(row.leadCode);
    Edit7.SetText(row.journalName);
    const int function = AccountFunctionIndex(row.functionCode);
    if (function < ComboBox3.Count()) ComboBox3.SetItemIndex(function);

    BalanceFacts balance;
    balance.freeze = facts.freeze;
    balance.yearClosed = facts.yearClosed;
    balance.frozenNet = facts.frozenNet;
    for (const auto& [name, kind] : categories_)
      if (name == row.category) {
        balance.categoryKind = kind;
        break;
      }
    balance.type = row.type;
    balance.startAmount = row.startAmount;
    balance.lineSum = facts.lineSum;
    const AccountBalances shown = LedgerBalances(balance);
    Edit1.SetText(AmountText(shown.periodStart));
    Edit2.SetText(AmountText(shown.actual));

    ShowRows(r);
  }

  SelectImage.SetEnabled(false);
  Select.SetEnabled(false);
  if (!MaskEdit1.Enabled()) Delete.SetEnabled(false);
  UpdateSingletonTypeButtons();
  UpdateSaveEnabled();
  if (MaskEdit1.Enabled())
    MaskEdit1.SetFocus();
  else
    Edit5.SetFocus();
}

// ---- Post

void TLedger::AddExecute() {
  // Post may come from a tool button or the menu with the focus still in a
  // list field: its text is checked here as on leaving the field.
  CheckListFieldKeeping(ComboBox1, HeldValue(&LedgerRow::category));
  CheckListFieldKeeping(ComboBox2, HeldValue(&LedgerRow::salesTaxCode));
  CheckListField(ComboBox3);
  if (!ReformatStartAmount()) {
    // No amount: the parse names the text, and nothing has changed.
    std::string text = MaskEdit2.GetText();
    text::ParseAmount(text);
  }
  // A row Select took out may always go back; new rows stop at the limit.
  if (LedgerRowTotal() >= kLedgerMaxAccounts && !rows_.Held()) {
    StatusBar1.Show(LedgerLimitText, ui::colors::Red);
    return;
  }
  formkit::FileSetScope scope("FRZ;");
  if (!scope.Ok()) return;
  StatusBar1.Show("", ui::colors::Default);

  const std::string number = MaskEdit1.GetText();
  const bool held = rows_.Held();
  // A stored number goes back as it is; the number rules are for new and
  // renumbered accounts.
  const bool renumbered = !(held && number == rows_.HeldRow().number);
  enum class Verdict { Ok, Number, Category, Duplicate };
  Verdict verdict = number.empty() ? Verdict::Number : Verdict::Ok;
  if (ComboBox1.GetText().empty()) verdict = Verdict::Category;
  if (!number.empty() && renumbered && (number[0] == ' ' || !AccountNumberAcceptable(number)))
    verdict = Verdict::Number;
  if (rows_.Any([&](const LedgerRow& r) { return text::TrimTrailingBlanks(r.number) == number; }))
    verdict = Verdict::Duplicate;

  switch (verdict) {
    case Verdict::Number: StatusBar1.Show(LedgerNumberText, ui::colors::Red); break;
    case Verdict::Category: StatusBar1.Show(LedgerCategoryText, ui::colors::Red); break;
    case Verdict::Duplicate: StatusBar1.Show(LedgerDuplicateText, ui::colors::Red); break;
    case Verdict::Ok: {
      const LedgerRow* stored = held ? &rows_.HeldRow() : nullptr;
      LedgerRow row;
      row.number = number;
      row.caption = Edit5.GetText();
      row.type = CheckedType();
      row.category = ComboBox1.GetText();
      // A start date in the frozen periods cannot be changed: it stays as
      // stored.
      // A stored date the pickers cannot show stays as stored unless the
      // user picked another.
      const bool keepStart =
          stored && (!DateTimePicker1.Enabled() || (!text::IsValidYmd(stored->startDate) && !startDateTouched_));
      row.startDate = keepStart ? stored->startDate : text::DateToYmd(DateTimePicker1.Date());
      const std::string amount = MaskEdit2.GetText();
      if (stored && amount == heldAmountText_) {
        row.startAmount = stored->startAmount;  // unchanged: the stored value, all its digits
      } else {
        std::string text = IsBlankText(amount) ? "0" : amount;
        row.startAmount = text::ParseAmount(text);
      }
      const bool keepEnd = stored && !text::IsValidYmd(stored->endDate) && !endDateTouched_;
      row.endDate = keepEnd ? stored->endDate : text::DateToYmd(DateTimePicker2.Date());
      row.salesTaxCode = ComboBox2.GetText();
      row.cashOrBank = CheckBox1.Checked();
      row.leadCode = Edit6.GetText();
      row.journalName = Edit7.GetText();
      const int function = std::max(0, FunctionListIndex());
      if (stored && function == AccountFunctionIndex(stored->functionCode))
        row.functionCode = stored->functionCode;
      else
        row.functionCode = function > 0 && function <= 14 ? AccountFunctionCodes[function] : std::string();

      // After every row whose number is not greater (byte order); releases
      // the held entry.
      const int p = rows_.PostSorted(std::move(row), [](const LedgerRow& a, const LedgerRow& b) {
        return cp1252::CompareOrdinal(a.number, b.number) < 0;
      });
      ShowRows(p + 1);
      heldAmountText_.clear();
      ClearEntry();
      ResetLedgerDateLimits();
      break;
    }
  }

  SetSelectImageEnabled();
  Select.SetEnabled(true);
  UpdateSingletonTypeButtons();
  UpdateSaveEnabled();
  if (verdict == Verdict::Ok) {
    if (LedgerRowTotal() >= kLedgerMaxAccounts) StatusBar1.Show(LedgerLimitText, ui::colors::Lime);
    MaskEdit1.SetFocus();
  }
}

// ---- Delete, Save, Cancel

void TLedger::deleteExecute() {
  formkit::FileSetScope scope("FRZ;");
  if (!scope.Ok()) return;
  rows_.Release();
  heldAmountText_.clear();
  ClearEntry();
  ResetLedgerDateLimits();
  SetSelectImageEnabled();
  Select.SetEnabled(true);
  UpdateSingletonTypeButtons();
  UpdateSaveEnabled();
}

void TLedger::saveExecute() {
  if (rows_.Held() || !MaskEdit1.GetText().empty()) {
    StatusBar1.Show(LedgerNotPostedText, ui::colors::Red);
    return;
  }
  const std::string user = Cut(text::SystemSettings.CurrentUser, 10);
  const std::string now = Cut(platform::DateTimeToText(platform::Now()), 20);
  auto toRec = [&](const LedgerRow& r) {
    records::LedgerAccountRec rec;
    rec.SetAccountNumber(r.number);
    rec.SetCaption(r.caption);
    rec.SetAccountType(std::string(1, r.type));
    rec.SetCategoryName(r.category);
    rec.SetLeadCode(r.leadCode);
    rec.SetStartDate(r.startDate);
    rec.SetStartAmount(r.startAmount);
    rec.SetEndDate(r.endDate);
    rec.SetSecondAmount(0.0);
    rec.SetIsCashOrBank(r.cashOrBank);
    rec.SetJournalName(r.journalName);
    rec.SetAccountFunction(r.functionCode);
    rec.SetSalesTaxCode(r.salesTaxCode);
    if (!r.changedBy.empty()) {
      rec.SetChangedBy(r.changedBy);
      rec.SetChangedAt(r.changedAt);
    } else {
      rec.SetChangedBy(user);
      rec.SetChangedAt(now);
    }
    return rec;
  };
  const formkit::SaveOutcome outcome = rows_.Save<records::LedgerAccountRec>(
      store::FileCode::GLA, "GLA;JVO;FRZ;CUS;SUP;", toRec, [this] { return AccountsLeavingAreFree(); });
  if (outcome != formkit::SaveOutcome::Written) return;  // the form keeps what was typed
  loaded_ = rows_.Rows();
  Close();
}

bool TLedger::AccountsLeavingAreFree() {
  for (const LedgerRow& was : loaded_) {
    const bool stays = rows_.Any([&](const LedgerRow& r) { return r.number == was.number; });
    if (stays || !InUse(ReadAccountFacts(was))) continue;
    ui::ShowMessage(MsgAccountInUse(text::TrimTrailingBlanks(was.number)));
    return false;
  }
  return true;
}

void TLedger::cancelExecute() { Close(); }

// ---- fields

void TLedger::MaskEdit1Change() { UpdateSaveEnabled(); }

void TLedger::CheckBox1Click() {
  Label11.SetVisible(CheckBox1.Checked());
  Edit7.SetVisible(CheckBox1.Checked());
}

void TLedger::ComboBox1Exit() { CheckListFieldKeeping(ComboBox1, HeldValue(&LedgerRow::category)); }
void TLedger::ComboBox2Exit() { CheckListFieldKeeping(ComboBox2, HeldValue(&LedgerRow::salesTaxCode)); }
void TLedger::ComboBox3Exit() { CheckListField(ComboBox3); }

void TLedger::DateTimePicker1Change() {
  startDateTouched_ = true;
  if (startDateMax_ && DateTimePicker1.Date() > *startDateMax_) DateTimePicker1.SetDate(*startDateMax_);
}

void TLedger::MaskEdit2Change() {
  if (StartAmountSkipFilter) {
    StartAmountSkipFilter = false;
    return;
  }
  std::string text = MaskEdit2.GetText();
  text::FilterAmountInput(text, false);
  if (text != MaskEdit2.GetText()) SetStartAmountText(text);
}

void TLedger::MaskEdit2Enter() {
  std::string text = MaskEdit2.GetText();
  text::FilterAmountInput(text, false);
  SetStartAmountText(text);
  MaskEdit2.SelectAll();
  StartAmountFocused = true;
  const platform::TDateTime now = platform::Now();
  StartAmountFocusTime = now - static_cast<long long>(now);
}

void TLedger::MaskEdit2Click() {
  // The click that put the focus here must not undo the selection.
  const platform::TDateTime now = platform::Now();
  if (StartAmountFocused && (now - static_cast<long long>(now)) - StartAmountFocusTime < 2e-6) MaskEdit2.SelectAll();
  StartAmountFocused = false;
}

void TLedger::MaskEdit2Exit() { ReformatStartAmount(); }

bool TLedger::ReformatStartAmount() {
  const std::string text = MaskEdit2.GetText();
  if (IsBlankText(text)) {
    MaskEdit2.SetBackColor(ui::colors::Default);
    return true;
  }
  const std::optional<double> value = text::TryParseAmount(text);
  if (!value) {
    MaskEdit2.SetBackColor(ui::colors::Yellow);
    return false;
  }
  MaskEdit2.SetBackColor(ui::colors::Default);
  SetStartAmountText(AmountText(*value));
  return true;
}


}  // namespace masterdata
