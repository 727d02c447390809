// The journal form's bank-import page: tab 7 opens a statement, splits it
// into the column grid and keeps the ten import profiles; tab 8 runs the
// import. The form only moves values: the reading, the checks, the entry
// numbers and the run are src/books/journal/bankimport.h and src/books/journal/bankimportrun.h,
// the profile file src/books/journal/importprofilestore.h.
//
// Rules kept here:
// - Open and Go start from empty grids, so a shorter second statement never
//   shows (or imports) rows of the first; a new statement drops an import
//   that was prepared or interrupted.
// - Separator, qualifier and "exclude first row" are not stored (the
//   profile record has no field for them): the fields keep their text while
//   the program runs.
// - Next refuses bad rows in one message and prepares nothing; rows before
//   the lowest open date and probable duplicates are left out when the user
//   says Yes.
// - Every text shown follows the language: the program's own texts in
//   English, Dutch or German.
#include "journal/bankimportpage.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "books/journal/bankimport.h"
#include "books/journal/bankimportrun.h"
#include "journal/boekingstuk.h"
#include "books/journal/importprofilestore.h"
#include "books/journal/paymentstore.h"
#include "books/journal/voucherstore.h"
#include "formkit/filesetscope.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/oserror.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "ui/application.h"
#include "ui/longwork.h"

namespace journal {

namespace {

using text::BuiltInText;

using text::BuiltIn;

std::string T(BuiltIn id) { return BuiltInText(id); }

std::string MsgProfileFileDamaged() {
  return T(BuiltIn::ProfileFileDamaged);
}

// A column field: empty is -1 (unused), else a whole number.
std::optional<std::int32_t> ColumnOf(const std::string& text) {
  const std::string t = text::TrimText(text);
  if (t.empty()) return -1;
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || v < -1) return std::nullopt;
  return v;
}

std::string ColumnText(std::int32_t column) { return column < 0 ? std::string() : std::to_string(column); }

// The GL account of an item of the cash-account list ("number{name}").
std::string AccountOfItem(const std::string& item) { return item.substr(0, item.find('{')); }

int CurrentYear() {
  int y = 0, m = 0, d = 0;
  platform::DecodeDate(platform::Date(), y, m, d);
  return y;
}

bool AskYes(const std::string& text) {
  return ui::MessageDlg(text, ui::DialogKind::Confirmation, ui::Buttons::YesNo) == ui::ModalResult::Yes;
}

// "lines 4, 7, 9" of the rows at `indices`, the first 20 and then "and k more".
std::string LinesOf(const std::vector<books::journal::ImportRow>& rows, const std::vector<std::size_t>& indices) {
  std::vector<std::string> lines;
  for (std::size_t i : indices)
    lines.push_back(BuiltInText(BuiltIn::LineNumber, {std::to_string(rows[i].line)}));
  return books::journal::BadRowsMessage(lines);
}

// Why `rowCount` rows numbered from `counter` after `prefix` do not fit the
// entry number: the digits the last one needs and the room that leaves the
// prefix.
std::string EntryNumbersTooLongText(const std::string& prefix, const std::string& counter, std::size_t rowCount) {
  const auto room = books::journal::EntryNumberRoom(counter, rowCount);
  if (!room)
    return T(BuiltIn::CounterIsNoNumber);
  const std::string digits = std::to_string(room->digits), most = std::to_string(room->prefixRoom);
  return BuiltInText(BuiltIn::EntryNumbersTooLong, {digits, most, prefix});
}

// The rules Next checks the rows by: the later of the form's lowest open
// date and the one the voucher store refuses by (the settings file as it
// is now), so that no payment is stored whose voucher the store would
// refuse; the amount decimals; the header line's fields. nullopt (shown)
// when the settings file does not open.
std::optional<books::journal::StatementRules> NextRules(const std::string& formLowestOpenDate,
                                                        std::size_t headerFields) {
  books::journal::StatementRules rules;
  rules.lowestOpenDate = formLowestOpenDate;
  rules.decimals = text::SystemSettings.AmountDecimals;
  rules.headerFields = headerFields;
  store::ScopedFileSet set("ADS");
  if (!set.Ok()) {
    formkit::ReportFileSetError(set.Failure());
    return std::nullopt;
  }
  rules.lowestOpenDate = std::max(rules.lowestOpenDate, books::journal::StoredLowestOpenDate());
  set.Close();
  return rules;
}

template <class Item>
void RemoveIndices(std::vector<Item>& items, const std::vector<std::size_t>& indices) {
  for (auto it = indices.rbegin(); it != indices.rend(); ++it) items.erase(items.begin() + static_cast<long>(*it));
}

}  // namespace

// Whether Next may go on with a profile of `fault`; else the fields it
// lacks are painted and the status says what is missing.
bool BankImportPage::ProfileUsableAtNext(books::journal::ProfileFault fault) {
  switch (fault) {
    case books::journal::ProfileFault::None:
      return true;
    case books::journal::ProfileFault::NumberOutside:
      return false;  // ShownProfile refused it
    case books::journal::ProfileFault::NoDateColumn:
    case books::journal::ProfileFault::NoDateLayout:
      Edit110.SetBackColor(ui::colors::Yellow);
      ComboBox10.SetBackColor(ui::colors::Yellow);
      form.StatusBar1.Show(
          T(BuiltIn::ProfileNeedsTheDateColumnAnd),
          ui::colors::Yellow);
      return false;
    case books::journal::ProfileFault::NoAmountColumn:
      Edit101.SetBackColor(ui::colors::Yellow);
      form.StatusBar1.Show(T(BuiltIn::ProfileNeedsTheAmountColumn),
                           ui::colors::Yellow);
      return false;
    case books::journal::ProfileFault::NoOwnAccountColumn:
      Edit93.SetBackColor(ui::colors::Yellow);
      form.StatusBar1.Show(
          T(BuiltIn::ProfileNeedsTheOwnAccountColumn),
          ui::colors::Yellow);
      return false;
  }
  return false;
}

void BankImportPage::Bind() {
  Edit91.SetText(std::string(1, books::journal::kDefaultStatementSeparator));
  Edit92.SetText(std::string(1, books::journal::kDefaultStatementQualifier));
  Edit109.SetReadOnly(true);
  for (ui::Edit* e : {&Edit111, &Edit114, &Edit121, &Edit117, &Edit118, &Edit119, &Edit120}) e->SetReadOnly(true);
  for (ui::Edit* e : {&Edit117, &Edit118, &Edit119, &Edit120}) e->hints.minWidth = 320;
  Edit108.SetMaxLength(static_cast<int>(records::ImportProfileRec::kProfileName.capacity));
  Edit112.SetMaxLength(static_cast<int>(records::ImportProfileRec::kCurrencyCode.capacity));
  Edit100.SetMaxLength(static_cast<int>(records::ImportProfileRec::kDebitString.capacity));
  Edit115.SetMaxLength(static_cast<int>(books::journal::kEntryNumberRoom));
  ComboBox10.SetStyle(ui::ComboStyle::DropDown);
  std::vector<std::string> layouts(books::journal::kStatementDateLayouts.begin(),
                                   books::journal::kStatementDateLayouts.end());
  ComboBox10.SetItems(layouts);
  ComboBox10.SetItemIndex(0);
  StringGrid5.hints.stretch = 1;
  StringGrid4.hints.stretch = 2;
  StringGrid5.SetFixedRows(0);
  StringGrid5.SetColWidth(0, 960);
  for (ui::Edit* e : {&Edit91, &Edit92}) e->hints.width = 50;
  Edit108.hints.minWidth = 160;
  Label60.hints.height = 28;
  Label60.SetBold(true);
  ImportMatchPanel.hints.height = 170;
  ImportRunPanel.hints.height = 44;
  ImportProfilePanel.gridColumns = 8;
  ImportMatchPanel.gridColumns = 2;
  ImportProgressBar.SetRange(0, 1);
  Button25.SetEnabled(false);
  Button22.SetEnabled(false);
  Button26.SetEnabled(false);
  Button27.SetVisible(false);
  ClearMatchTab();

  Button8.OnClick = [this] { Button8Click(); };
  Button22.OnClick = [this] { Button22Click(); };
  ComboBox9.OnChange = [this] { ComboBox9Exit(); };
  ComboBox9.OnExit = [this] { ComboBox9Exit(); };
  ComboBox10.OnChange = [this] { ComboBox10Change(); };
  Button24.OnClick = [this] { Button24Click(); };
  Button25.OnClick = [this] { Button25Click(); };
  Button26.OnClick = [this] { Button26Click(); };
  Button27.OnClick = [this] { Button26Click(); };
  // The column fields and the counter keep only digits and a leading "-".
  std::vector<ui::Edit*> digits = {&Edit93, &Edit94, &Edit95, &Edit99, &Edit101, &Edit110, &Edit122};
  for (ui::Edit& e : ImportNarrativeEdits) digits.push_back(&e);
  for (ui::Edit* e : digits)
    e->OnChange = [e] {
      std::string text = e->GetText();
      text::KeepDigits(text);
      e->SetText(text);
    };
  Button28.OnClick = [this] { form.Button28Click(); };
  // The texts follow the language at every activation (a switch to tab 7
  // shows the chosen profile: PanelsForTab).
  auto activate = form.OnActivate;
  form.OnActivate = [this, activate] {
    if (activate) activate();
    profileFileReported_ = false;
    ApplyTexts();
  };
  ApplyTexts();
}

void BankImportPage::ApplyTexts() {
  Button8.SetCaption(T(BuiltIn::OpenImportFile));
  ImportSeparatorLabel.SetCaption(T(BuiltIn::Separator));
  ImportQualifierLabel.SetCaption(T(BuiltIn::TextQualifier));
  CheckBox15.SetCaption(T(BuiltIn::ExcludeFirstRow));
  Button22.SetCaption(T(BuiltIn::Go));
  ImportNameLabel.SetCaption(T(BuiltIn::ProfileName));
  ImportNumberLabel.SetCaption(T(BuiltIn::Number));
  ImportDateColumnLabel.SetCaption(T(BuiltIn::DateColumn));
  ImportDateLayoutLabel.SetCaption(T(BuiltIn::DateLayout));
  ImportCurrencyLabel.SetCaption(T(BuiltIn::Currency));
  ImportOwnAccountLabel.SetCaption(T(BuiltIn::OwnAccountColumn));
  ImportCounterpartyLabel.SetCaption(T(BuiltIn::CounterpartyAccountColumn));
  ImportAscriptionLabel.SetCaption(T(BuiltIn::NameColumn));
  ImportDebitCreditLabel.SetCaption(T(BuiltIn::DebitCreditColumn));
  ImportDebitStringLabel.SetCaption(T(BuiltIn::DebitText));
  ImportAmountLabel.SetCaption(T(BuiltIn::AmountColumn));
  ImportNarrativeLabel.SetCaption(T(BuiltIn::NarrativeColumns));
  Button24.SetCaption(T(BuiltIn::SaveSetting));
  Button25.SetCaption(T(BuiltIn::Next));
  ImportOwnBankLabel.SetCaption(T(BuiltIn::OwnBankAccount));
  ImportCashAccountLabel.SetCaption(T(BuiltIn::CashOrBankAccount));
  ImportLastEntryLabel.SetCaption(T(BuiltIn::LastEntryNumber));
  ImportPrefixLabel.SetCaption(T(BuiltIn::Fixed));
  ImportCounterLabel.SetCaption(T(BuiltIn::Counter));
  Button26.SetCaption(T(BuiltIn::RunImport));
  Button27.SetCaption(T(BuiltIn::ContinueImport));
  Button28.SetCaption(
      T(BuiltIn::ShowPaymentsWithoutJV));
  Label60.SetCaption(T(BuiltIn::ImportTheStatementSRowsAs));
  if (importJob_) ShowImportResult();
}

void BankImportPage::Show() {
  ApplyTexts();
  if (!profileFileReported_ && !ImportProfiles.empty() && !books::journal::ProfilesWhole(ImportProfiles)) {
    profileFileReported_ = true;
    ui::ShowMessage(MsgProfileFileDamaged());
  }
  ComboBox9Exit();
  // Go needs a statement, Next a split one.
  Button22.SetEnabled(!statementLines_.empty());
  Button25.SetEnabled(!statementRows_.empty());
}

void BankImportPage::ShowContinueButton(bool shown) {
  Button27.SetVisible(shown);
  Button27.SetEnabled(shown);
  form.ShowPaymentButtons();
}

void BankImportPage::ClearMatchTab() {
  for (ui::Edit* e : {&Edit111, &Edit114, &Edit121, &Edit115, &Edit122, &Edit117, &Edit118, &Edit119, &Edit120})
    e->SetText("");
  ImportProgressBar.SetRange(0, 1);
  ImportProgressBar.SetPosition(0);
}

// ---- Open and Go ---------------------------------------------------------------

void BankImportPage::Button8Click() {
  ui::FileDialogOptions options;
  options.title = Button8.Caption();
  options.filters = {T(BuiltIn::BankStatementsCsvTxtCsvTxt),
                     T(BuiltIn::AllFiles)};
  options.defaultExtension = "csv";
  const std::optional<std::string> path = ui::GetBackend().OpenFileDialog(options);
  if (!path) return;
  const books::journal::StatementFile file = books::journal::ReadStatementFile(*path);
  if (file.code != 0) {
    ui::ShowMessage(T(BuiltIn::StatementCannotBeRead) +
                    cp1252::FromUtf8(*path) + "  " + platform::OsErrorText(file.code));
    return;
  }
  std::vector<std::string> lines = books::journal::StatementLines(books::journal::DecodeStatement(file.bytes));
  if (lines.empty()) {
    ui::ShowMessage(T(BuiltIn::StatementIsEmpty) +
                    cp1252::FromUtf8(*path));
    return;
  }
  // A new statement: both grids start empty, an earlier import is gone.
  StringGrid5.SetColCount(1);
  StringGrid5.SetColWidth(0, 960);
  StringGrid5.SetRowCount(static_cast<int>(lines.size()));
  for (std::size_t i = 0; i < lines.size(); ++i) StringGrid5.SetCell(0, static_cast<int>(i), lines[i]);
  statementLines_ = std::move(lines);
  statementRows_.clear();
  statementHeaderFields_ = 0;
  StringGrid4.SetColCount(1);
  StringGrid4.SetRowCount(1);
  StringGrid4.SetCell(0, 0, "0");
  importJob_.reset();
  ClearMatchTab();
  Button22.SetEnabled(true);
  Button25.SetEnabled(false);
  Button26.SetEnabled(false);
  ShowContinueButton(false);
  form.StatusBar1.Show("", ui::colors::Default);
}

void BankImportPage::Button22Click() {
  const books::journal::SplitSettings settings =
      books::journal::ReadSplitSettings(Edit91.GetText(), Edit92.GetText(), CheckBox15.Checked());
  std::string refusal;
  switch (settings.outcome) {
    case books::journal::SplitOutcome::Done:
      break;
    case books::journal::SplitOutcome::SeparatorEmpty:
    case books::journal::SplitOutcome::SeparatorNotOneChar:
      refusal =
          T(BuiltIn::SeparatorIsOneCharacterOrThe);
      break;
    case books::journal::SplitOutcome::QualifierNotOneChar:
      refusal = T(BuiltIn::TextQualifierIsOneCharacterOr);
      break;
    case books::journal::SplitOutcome::QualifierIsSeparator:
      refusal = T(BuiltIn::TextQualifierCannotBeTheSeparator);
      break;
    case books::journal::SplitOutcome::UnterminatedQualifier:
      break;
  }
  if (!refusal.empty()) {
    form.StatusBar1.Show(refusal, ui::colors::Red);
    return;
  }
  const books::journal::SplitResult split = SplitStatement(statementLines_, settings.options);
  // The grid starts empty on every Go.
  statementRows_.clear();
  statementHeaderFields_ = 0;
  importJob_.reset();
  ClearMatchTab();
  Button26.SetEnabled(false);
  ShowContinueButton(false);
  StringGrid4.SetColCount(1);
  StringGrid4.SetRowCount(1);
  StringGrid4.SetCell(0, 0, "0");
  if (split.outcome == books::journal::SplitOutcome::UnterminatedQualifier) {
    Button25.SetEnabled(false);
    form.StatusBar1.Show(BuiltInText(BuiltIn::UnterminatedQualifier, {std::to_string(split.errorLine)}),
                         ui::colors::Red);
    return;
  }
  const int cols = static_cast<int>(std::max<std::size_t>(1, split.columnCount));
  StringGrid4.SetColCount(cols);
  StringGrid4.SetRowCount(static_cast<int>(split.rows.size()) + 1);
  for (int c = 0; c < cols; ++c) {
    StringGrid4.SetCell(c, 0, std::to_string(c));
    StringGrid4.SetColWidth(c, 130);
  }
  for (std::size_t r = 0; r < split.rows.size(); ++r)
    for (int c = 0; c < cols; ++c) {
      const auto& cells = split.rows[r].cells;
      StringGrid4.SetCell(c, static_cast<int>(r) + 1,
                          static_cast<std::size_t>(c) < cells.size() ? cells[static_cast<std::size_t>(c)] : "");
    }
  statementRows_ = split.rows;
  statementHeaderFields_ = split.headerFields;
  Button25.SetEnabled(!statementRows_.empty());
  form.StatusBar1.Show("", ui::colors::Default);
}

// ---- Profiles --------------------------------------------------------------------

void BankImportPage::ShowProfile(const records::ImportProfileRec& p) {
  Edit108.SetText(p.ProfileName());
  Edit109.SetText(std::to_string(p.ProfileNumber()));
  Edit110.SetText(ColumnText(p.DateColumn()));
  const int layout = ComboBox10.IndexOf(p.DateFormat());
  ComboBox10.SetItemIndex(layout >= 0 ? layout : 0);
  Edit112.SetText(p.CurrencyCode());
  Edit93.SetText(ColumnText(p.OwnAccountColumn()));
  Edit94.SetText(ColumnText(p.CounterpartyAccountColumn()));
  Edit95.SetText(ColumnText(p.AscriptionColumn()));
  Edit99.SetText(ColumnText(p.DebitCreditColumn()));
  Edit100.SetText(p.DebitString());
  Edit101.SetText(ColumnText(p.AmountColumn()));
  for (int k = 1; k <= records::ImportProfileRec::kNarrativeCount; ++k)
    ImportNarrativeEdits[static_cast<std::size_t>(k - 1)].SetText(ColumnText(p.NarrativeColumn(k)));
}

void BankImportPage::ComboBox9Exit() {
  if (ComboBox9.Count() == 0) return;
  std::vector<std::string> items;
  for (const auto& item : ComboBox9.Items()) items.push_back(item.text);
  const int index = ListChoiceIndex(items, ComboBox9.GetText(), 0);
  ComboBox9.SetItemIndex(index);
  const std::string text = ComboBox9.GetText();
  int number = 0;
  std::from_chars(text.data(), text.data() + text.find(" : "), number);
  for (const records::ImportProfileRec& p : ImportProfiles)
    if (p.ProfileNumber() == number) {
      ShowProfile(p);
      return;
    }
}

void BankImportPage::ComboBox10Change() {
  if (ComboBox10.IndexOf(ComboBox10.GetText()) < 0) ComboBox10.SetItemIndex(0);
}

std::optional<records::ImportProfileRec> BankImportPage::ShownProfile() {
  records::ImportProfileRec p;
  const std::string numberText = text::TrimText(Edit109.GetText());
  int number = 0;
  const auto [end, ec] = std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
  if (numberText.empty() || ec != std::errc() || end != numberText.data() + numberText.size() || number < 1 ||
      number > books::journal::kImportProfiles) {
    ui::ShowMessage(T(BuiltIn::ChooseAProfile1To10));
    return std::nullopt;
  }
  p.SetProfileNumber(number);
  p.SetProfileName(text::Cut(Edit108.GetText(), records::ImportProfileRec::kProfileName.capacity));
  p.SetDateFormat(ComboBox10.GetText());
  p.SetCurrencyCode(text::Cut(Edit112.GetText(), records::ImportProfileRec::kCurrencyCode.capacity));
  p.SetDebitString(text::Cut(Edit100.GetText(), records::ImportProfileRec::kDebitString.capacity));
  struct Column {
    ui::Edit* field;
    void (records::ImportProfileRec::*set)(std::int32_t);
    const ui::Label* label;
  };
  const Column columns[] = {
      {&Edit110, &records::ImportProfileRec::SetDateColumn, &ImportDateColumnLabel},
      {&Edit93, &records::ImportProfileRec::SetOwnAccountColumn, &ImportOwnAccountLabel},
      {&Edit94, &records::ImportProfileRec::SetCounterpartyAccountColumn, &ImportCounterpartyLabel},
      {&Edit95, &records::ImportProfileRec::SetAscriptionColumn, &ImportAscriptionLabel},
      {&Edit99, &records::ImportProfileRec::SetDebitCreditColumn, &ImportDebitCreditLabel},
      {&Edit101, &records::ImportProfileRec::SetAmountColumn, &ImportAmountLabel},
  };
  auto refuse = [](const ui::Label& label) {
    ui::ShowMessage(label.Caption() + T(BuiltIn::NoColumnNumber));
  };
  for (const Column& c : columns) {
    const auto v = ColumnOf(c.field->GetText());
    if (!v) {
      refuse(*c.label);
      return std::nullopt;
    }
    (p.*c.set)(*v);
  }
  for (int k = 1; k <= records::ImportProfileRec::kNarrativeCount; ++k) {
    const auto v = ColumnOf(ImportNarrativeEdits[static_cast<std::size_t>(k - 1)].GetText());
    if (!v) {
      refuse(ImportNarrativeLabel);
      return std::nullopt;
    }
    p.SetNarrativeColumn(k, *v);
  }
  return p;
}

void BankImportPage::FillProfileList(int number) {
  ComboBox9.ClearItems();
  for (const records::ImportProfileRec& profile : ImportProfiles)
    ComboBox9.AddItem(books::journal::ImportProfileItem(profile));
  ComboBox9.SetItemIndex(number - 1 < ComboBox9.Count() ? number - 1 : -1);
}

void BankImportPage::Button24Click() {
  const auto profile = ShownProfile();
  if (!profile) return;
  books::journal::ProfileResult saved = books::journal::SaveImportProfile(*profile);
  if (saved.outcome == books::journal::ProfileOutcome::Damaged) {
    if (!AskYes(MsgProfileFileDamaged() + "\n" +
                T(BuiltIn::RewriteItAsTenProfilesThe)))
      return;
    saved = books::journal::RepairImportProfiles(*profile);
  }
  if (formkit::ReportFileFailure(saved)) return;
  if (!saved.Ok()) return;
  ImportProfiles = *saved.value;
  FillProfileList(profile->ProfileNumber());
  ComboBox9Exit();
  form.StatusBar1.Show("", ui::colors::Default);
}

// ---- Next ------------------------------------------------------------------------------

void BankImportPage::Button25Click() {
  if (statementRows_.empty()) return;
  const auto profile = ShownProfile();
  if (!profile) return;
  if (!ProfileUsableAtNext(books::journal::CheckImportProfile(*profile))) return;
  for (ui::Edit* e : {&Edit110, &Edit101, &Edit93}) e->SetBackColor(ui::colors::Cream);
  ComboBox10.SetBackColor(ui::colors::Cream);
  const std::string cashAccount = AccountOfItem(form.ComboBox4.GetText());
  if (cashAccount.empty()) {
    form.StatusBar1.Show(T(BuiltIn::ChooseTheCashOrBankAccount),
                         ui::colors::Red);
    return;
  }

  const auto rules = NextRules(form.LowestOpenDateYmd(), statementHeaderFields_);
  if (!rules) return;
  books::journal::StatementCheck check = CheckStatementRows(statementRows_, *profile, *rules);
  if (!check.badRows.empty()) {
    ui::ShowMessage(books::journal::BadRowsMessage(check.badRows));
    form.StatusBar1.Show(
        BuiltInText(BuiltIn::RowsCannotBeImported, {std::to_string(check.badRows.size())}),
        ui::colors::Red);
    return;
  }
  int leftOut = 0;
  if (!check.beforeOpen.empty()) {
    const std::string question =
        BuiltInText(BuiltIn::RowsBeforeOpen, {std::to_string(check.beforeOpen.size())}) +
        "\n" + LinesOf(check.rows, check.beforeOpen);
    if (!AskYes(question)) return;
    leftOut += static_cast<int>(check.beforeOpen.size());
    RemoveIndices(check.rows, check.beforeOpen);
  }
  // Stored payments: the duplicates and the highest entry number.
  std::vector<records::PaymentRec> payments;
  {
    store::ScopedFileSet set("PAY");
    if (!set.Ok()) {
      formkit::ReportFileSetError(set.Failure());
      return;
    }
    payments = store::ReadAll<records::PaymentRec>(store::FileCode::PAY);
    set.Close();
  }
  const std::vector<std::size_t> duplicates = books::journal::ProbableDuplicates(check.rows, payments);
  if (!duplicates.empty()) {
    const std::string question =
        BuiltInText(BuiltIn::RowsEqualStoredPayments, {std::to_string(duplicates.size())}) +
        "\n" + LinesOf(check.rows, duplicates);
    if (AskYes(question)) {
      leftOut += static_cast<int>(duplicates.size());
      RemoveIndices(check.rows, duplicates);
    }
  }

  std::string prefix = Edit115.GetText();
  if (prefix.empty()) prefix = books::journal::DefaultEntryPrefix(CurrentYear());
  std::string counter = Edit122.GetText();
  const std::size_t width = counter.empty() ? std::string(books::journal::kDefaultEntryCounter).size() : counter.size();
  const auto highest = books::journal::HighestEntryCounter(prefix, payments);
  counter = books::journal::CounterText(highest ? highest->counter + 1 : 1, width);
  if (!books::journal::EntryNumbersFit(prefix, counter, check.rows.size())) {
    // The prefix field keeps the prefix, for the user to shorten on tab 8.
    Edit115.SetText(prefix);
    Edit115.SetBackColor(ui::colors::Yellow);
    form.StatusBar1.Show(EntryNumbersTooLongText(prefix, counter, check.rows.size()), ui::colors::Red);
    return;
  }
  Edit115.SetBackColor(ui::colors::Default);

  books::journal::ImportJob job;
  job.rows = std::move(check.rows);
  job.cashAccount = cashAccount;
  job.journal = form.StoredJournal();
  job.lowestOpenDate = rules->lowestOpenDate;
  job.decimals = text::SystemSettings.AmountDecimals;
  job.leftOut = leftOut;
  importJob_ = std::move(job);
  ClearMatchTab();
  Edit111.SetText(check.ownAccount);
  Edit114.SetText(form.ComboBox4.GetText());
  Edit121.SetText(highest ? highest->entryNumber : "");
  Edit115.SetText(prefix);
  Edit122.SetText(counter);
  ImportProgressBar.SetRange(0, std::max<int>(1, static_cast<int>(importJob_->rows.size())));
  Button26.SetEnabled(!importJob_->rows.empty());
  ShowContinueButton(false);
  form.SelectTab(books::journal::TabMatchImport);
  form.StatusBar1.Show("", ui::colors::Default);
}

// ---- Run Import -----------------------------------------------------------------------

void BankImportPage::ShowImportResult() {
  if (!importJob_) return;
  const auto lines = books::journal::ImportResultLines(*importJob_);
  Edit117.SetText(lines[0]);
  Edit118.SetText(lines[1]);
  Edit119.SetText(lines[2]);
  Edit120.SetText(lines[3]);
  ImportProgressBar.SetPosition(importJob_->stored);
}

void BankImportPage::Button26Click() {
  if (!importJob_) return;
  books::journal::ImportJob& job = *importJob_;
  if (job.Finished()) {
    form.SelectTab(books::journal::TabMatchImport);
    return;
  }
  if (job.stored == 0) {
    // The numbering as the fields show it now.
    if (!books::journal::EntryNumbersFit(Edit115.GetText(), Edit122.GetText(), job.rows.size())) {
      form.StatusBar1.Show(EntryNumbersTooLongText(Edit115.GetText(), Edit122.GetText(), job.rows.size()),
                           ui::colors::Red);
      return;
    }
    job.prefix = Edit115.GetText();
    job.counter = Edit122.GetText();
    // The account and journal chosen now, as the payment tab's store takes them.
    if (const std::string cash = AccountOfItem(form.ComboBox4.GetText()); !cash.empty()) {
      job.cashAccount = cash;
      Edit114.SetText(form.ComboBox4.GetText());
    }
    job.journal = form.StoredJournal();
  }
  // Shown while the run goes, and kept when it stops part-way; the payment
  // tab neither stores nor deletes meanwhile.
  ShowContinueButton(true);
  books::journal::RunResult result;
  {
    // A long statement: the window repaints at each step (the result lines
    // move) and takes no other command until the run ends.
    ui::LongWork work;
    result = RunImport(job, [this](const books::journal::ImportJob&) {
      ShowImportResult();
      ui::LongWorkTick();
    });
  }
  ShowImportResult();
  form.SelectTab(books::journal::TabMatchImport);
  if (result.outcome != books::journal::RunOutcome::Done) {
    std::string text = BuiltInText(BuiltIn::ImportStopped, {std::to_string(result.value.value_or(0))});
    if (!result.failure.text.empty())
      text += "  " + result.failure.text + "  " + platform::OsErrorText(result.failure.code);
    form.StatusBar1.Show(text, ui::colors::Red);
    return;
  }
  ShowContinueButton(false);
  Button26.SetEnabled(false);
  std::string status;
  auto add = [&status](int n, BuiltIn text) {
    if (n == 0) return;
    if (!status.empty()) status += "; ";
    status += BuiltInText(text, {std::to_string(n)});
  };
  add(job.leftOut, BuiltIn::RowsLeftOut);
  add(job.ambiguous, BuiltIn::AmbiguousPartners);
  // The help topic by the title the reader finds in the help text.
  add(job.refunds, BuiltIn::RefundsWithoutPartner);
  form.StatusBar1.Show(status, status.empty() ? ui::colors::Lime : ui::colors::Yellow);
}

void BankImportPage::CashAccountChanged(const std::string& item) {
  if (!importJob_ || importJob_->stored == 0) Edit114.SetText(item);
}

bool BankImportPage::EndInterruptedImport() {
  if (!Button27.Visible() || !importJob_) return false;
  form.SelectTab(books::journal::TabMatchImport);
  ShowImportResult();
  ShowContinueButton(false);
  Button26.SetEnabled(false);
  importJob_.reset();
  return true;
}

}  // namespace journal
