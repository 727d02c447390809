#include "reports/impexp.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "formkit/filesetscope.h"
#include "formkit/helpmenu.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "records/partnerrec.h"
#include "records/paymentrec.h"
#include "books/exchange/auditfile.h"
#include "books/exchange/delimited.h"
#include "books/exchange/importfile.h"
#include "books/closing/periodclosing.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/session.h"
#include "text/textroutines.h"
#include "ui/longwork.h"

namespace reports {

std::string ExportImportAdministrationCode;
std::string ExportImportStartFolder;
formkit::HelpCaptionBlockRec ExportImportHelpCaptions;
TExportImport* ExportImport = nullptr;

void ResetExportImportState() {
  ExportImportAdministrationCode.clear();
  ExportImportStartFolder.clear();
  ExportImportHelpCaptions = {};
}

namespace {

using text::L;

const std::string kRule(53, '=');
const std::string kIndent(6, ' ');
constexpr const char* kHelpTopic = "<E&I00>";

// The type word's language offset of each data choice (index = digit).
constexpr int kTypeWordOffset[] = {0, 8493, 8519, 8545, 8571, 8602, 8628, 8654, 0, 8680};

books::exchange::CsvKind KindOf(int digit, bool customers) {
  switch (digit) {
    case 1:
    case 2:
      return customers ? books::exchange::CsvKind::Customers : books::exchange::CsvKind::Suppliers;
    case 3:
      return books::exchange::CsvKind::LedgerAccounts;
    case 4:
      return books::exchange::CsvKind::JournalVouchers;
    case 5:
      return books::exchange::CsvKind::Invoices;
    case 6:
      return books::exchange::CsvKind::Payments;
    default:
      return books::exchange::CsvKind::LedgerCategories;
  }
}

// The whole text file `path` (UTF-8), or the operating system's code.
std::variant<std::string, int> ReadWholeFile(const std::string& path) {
  std::unique_ptr<platform::FileHandle> file;
  if (int code = platform::Fs().OpenExisting(path, platform::OpenMode::Read, file); code != 0) return code;
  std::uint64_t size = 0;
  if (int code = file->Size(size); code != 0) return code;
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    std::size_t got = 0;
    if (int code = file->ReadAt(done, text.data() + done, text.size() - done, got); code != 0) return code;
    if (got == 0) break;
    done += got;
  }
  text.resize(done);
  file->Close();
  return text;
}

std::string Utf8(const std::string& cp1252Path) { return cp1252::ToUtf8(cp1252Path); }

// The records of `file` in the open set, exported as kind `kind`.
books::exchange::CsvExport ExportFile(books::exchange::CsvKind kind) {
  const store::FileCode file = CsvDataFile(kind);
  switch (kind) {
    case books::exchange::CsvKind::Customers:
    case books::exchange::CsvKind::Suppliers:
      return books::exchange::ExportPartners(store::ReadAll<records::PartnerRec>(file),
                                             kind == books::exchange::CsvKind::Customers);
    case books::exchange::CsvKind::LedgerAccounts:
      return books::exchange::ExportLedgerAccounts(store::ReadAll<records::LedgerAccountRec>(file));
    case books::exchange::CsvKind::JournalVouchers:
      return books::exchange::ExportJournalVouchers(store::ReadAll<records::JournalVoucherRec>(file));
    case books::exchange::CsvKind::Invoices:
      return books::exchange::ExportInvoices(store::ReadAll<records::InvoiceRec>(file));
    case books::exchange::CsvKind::Payments:
      return books::exchange::ExportPayments(store::ReadAll<records::PaymentRec>(file));
    case books::exchange::CsvKind::LedgerCategories:
      return books::exchange::ExportLedgerCategories(store::ReadAll<records::LedgerCategoryRec>(file));
  }
  return {};
}

// A checked import of any kind: its records as bytes, the counts and the
// error.
struct ParsedImport {
  std::vector<std::uint8_t> bytes;
  int records = 0;
  int lines = 0;
  std::vector<std::string> voucherDates;  // voucher lines only
  std::optional<books::exchange::CsvImportError> error;
};

template <class R>
ParsedImport Flatten(books::exchange::CsvImport<R> in) {
  ParsedImport out;
  out.lines = in.lines;
  out.error = std::move(in.error);
  out.records = static_cast<int>(in.records.size());
  out.bytes.resize(in.records.size() * R::kSize);
  for (std::size_t i = 0; i < in.records.size(); ++i)
    std::copy(in.records[i].Bytes.begin(), in.records[i].Bytes.end(), out.bytes.begin() + i * R::kSize);
  if constexpr (std::is_same_v<R, records::JournalVoucherRec>)
    for (const R& r : in.records) out.voucherDates.push_back(r.VoucherDate());
  return out;
}

ParsedImport ParseImport(books::exchange::CsvKind kind, std::string_view text) {
  switch (kind) {
    case books::exchange::CsvKind::Customers:
    case books::exchange::CsvKind::Suppliers:
      return Flatten(books::exchange::ImportPartners(text, kind == books::exchange::CsvKind::Customers));
    case books::exchange::CsvKind::LedgerAccounts:
      return Flatten(books::exchange::ImportLedgerAccounts(text));
    case books::exchange::CsvKind::JournalVouchers:
      return Flatten(books::exchange::ImportJournalVouchers(text));
    case books::exchange::CsvKind::Invoices:
      return Flatten(books::exchange::ImportInvoices(text));
    case books::exchange::CsvKind::Payments:
      return Flatten(books::exchange::ImportPayments(text));
    case books::exchange::CsvKind::LedgerCategories:
      return Flatten(books::exchange::ImportLedgerCategories(text));
  }
  return {};
}

// The first open day: the day after the newest frozen period (its
// snapshot's PeriodEndDate); empty when nothing is frozen.
std::string LowestOpenDate(const std::vector<records::FreezeRec>& freezes) {
  return freezes.empty() ? std::string() : freezes.back().PeriodEndDate();
}

std::string ImportQuestion(const std::string& path, int recordsNow, int textLines, bool vouchers,
                           const std::string& openDate, int fileBefore, int textBefore) {
  const std::string n = std::to_string(recordsNow), m = std::to_string(textLines);
  std::string q = text::BuiltInText(text::BuiltIn::ReplaceTheDataFileItNow, {path, n, m});
  if (vouchers && !openDate.empty()) {
    const std::string d = openDate, f = std::to_string(fileBefore), t = std::to_string(textBefore);
    q += text::BuiltInText(text::BuiltIn::DatedBeforeTheFirstOpenDay, {d, f, t});
  }
  return q;
}

}  // namespace

// ---- Decisions

std::string OpenPeriodItem(const std::vector<records::FreezeRec>& freezes, const records::AdminSettingsRec& s) {
  // The open period's label as the report form lists it.
  const std::optional<std::string> last =
      freezes.empty() ? std::nullopt : std::optional<std::string>(freezes.back().PeriodLabel());
  return s.FiscalYear() + " " + books::closing::OpenPeriodLabel(s, last);
}

std::vector<std::string> PeriodListItems(const std::vector<records::FreezeRec>& freezes,
                                         const records::AdminSettingsRec& settings) {
  std::vector<std::string> items;
  items.reserve(freezes.size() + 1);
  items.push_back(OpenPeriodItem(freezes, settings));
  for (auto it = freezes.rbegin(); it != freezes.rend(); ++it)
    items.push_back(std::to_string(it->BookYear()) + " " + it->PeriodLabel());
  return items;
}

bool AuditPeriodExportable(const std::vector<std::string>& items, std::string_view choice) {
  if (items.size() < 2) return false;
  for (std::size_t i = 0; i + 1 < items.size(); ++i)
    if (cp1252::EqualsIgnoringCase(items[i], choice)) return true;
  return false;
}

std::string FormatOneName(std::string_view format, std::string_view name) {
  const std::size_t at = format.find("%s");
  if (at == std::string_view::npos) return std::string(format) + " " + std::string(name);
  return std::string(format.substr(0, at)) + std::string(name) + std::string(format.substr(at + 2));
}

std::optional<int> ChoiceDigit(std::string_view choice) {
  if (choice.empty()) return std::nullopt;
  const char c = choice[0];
  if ((c >= '1' && c <= '7') || c == '9') return c - '0';
  return std::nullopt;
}

int ReplaceTextFile(const std::string& path, std::string_view bytes) {
  return ReplaceTextFile(path, std::vector<std::string_view>{bytes});
}

int ReplaceTextFile(const std::string& path, const std::vector<std::string_view>& pieces) {
  platform::FileSystem& fs = platform::Fs();
  const std::string temporary = path + ".ombrelo-tmp";
  std::unique_ptr<platform::FileHandle> file;
  std::uint32_t mode = 0;
  int code = fs.Exists(path) && fs.AccessMode(path, mode) == 0 ? fs.CreateEmptyWithMode(temporary, mode, file)
                                                               : fs.CreateEmpty(temporary, file);
  if (code != 0) return code;
  // A large text goes to the disk while the rest is still being written;
  // the window repaints between the pieces.
  ui::LongWork work;
  std::uint64_t at = 0;
  for (const std::string_view piece : pieces) {
    ui::LongWorkTick();
    if (code == 0 && !piece.empty()) code = file->WriteAt(at, piece.data(), piece.size());
    if (code == 0 && piece.size() >= (1u << 20)) file->StartWriteBack(at, piece.size());
    at += piece.size();
  }
  if (code == 0) code = file->Sync();
  const int closed = file->Close();
  if (code == 0) code = closed;
  if (code == 0) code = fs.RenameOver(temporary, path);
  if (code != 0) {
    fs.Delete(temporary);
    return code;
  }
  fs.SyncFolderOf(path);
  return 0;
}

// ---- The form

TExportImport::TExportImport() : ui::Form("ExportImport", "TExportImport") {
  SetCaption("Export and import");
  width = 600;
  height = 480;

  OkAction.SetCaption("OK");
  OkAction.OnExecute = [this] { Button1Click(); };
  Button1.SetAction(&OkAction);
  Strat1.SetAction(&OkAction);
  closeform.SetCaption("Exit");
  closeform.OnExecute = [this] { Close(); };
  Exit1.SetAction(&closeform);
  ToolButton1.SetAction(&closeform);
  Button3.OnClick = [this] { Close(); };
  ToolButton1.SetImageIndex(0);
  ToolButton2.SetImageIndex(5);

  Label4.SetBold(true);
  Panel1.gridColumns = 2;
  Panel1.SetBevel(false);
  ComboBox1.hints.stretch = 1;
  ComboBox1.hints.minWidth = 260;
  ComboBox2.hints.minWidth = 260;
  Panel2.SetBevel(false);
  RadioGroup1.SetItems({"Export", "Import"});
  RadioGroup1.SetItemIndex(0);
  RadioGroup2.SetItems({"All transactions (JV's)", "Closed bookperiods only"});
  RadioGroup2.SetItemIndex(0);
  RadioGroup1.hints.stretch = 1;
  RadioGroup2.hints.stretch = 1;
  Panel3.SetBevel(false);
  for (ui::Button* b : {&Button1, &Button2, &Button3}) b->hints.width = 100;
  ListBox1.hints.stretch = 1;
  ListBox2.hints.stretch = 1;

  // FormCreate: the preview switch starts unchecked and hidden, and with it
  // the output list and its save button.
  CheckBox1.SetChecked(false);
  CheckBox1.SetVisible(false);
  ListBox1.SetVisible(false);
  Button2.SetVisible(false);
  ComboBox1.SetItems({"1: Customers", "2: Suppliers", "3: GL accounts", "4: Journal vouchers", "5: Invoices",
                      "6: Payments", "7: GL categories", "9: Audit file"});
  ComboBox1.SetItemIndex(0);

  OnActivate = [this] { FormActivate(); };
  OnKeyPress = [this](char& k) { FormKeyPress(k); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  ComboBox2.OnChange = [this] { ComboBox2Change(); };
  ComboBox1.OnExit = [this] { ComboBox1Exit(); };
  ComboBox2.OnExit = [this] { ComboBox2Exit(); };
  RadioGroup2.OnClick = [this] { RadioGroup2Click(); };
  CheckBox1.OnClick = [this] { CheckBox1Click(); };
  Button2.OnClick = [this] { saveauditfileExecute(); };
  formkit::BindHelpMenu(*this, ExportImportHelpCaptions,
                        {{&helpform1, kHelpTopic},
                         {&ToolButton2, kHelpTopic},
                         {&utorial1, "<TUT00>"},
                         {&Internet1, kHelpTopic},
                         {&About1, "<ABO00>"}});
}

void TExportImport::ApplyLanguageTexts() {
  SetCaption(text::TrimTrailingBlanks(L(8172)));
  Label4.SetCaption(text::Cut(L(8265) + " (" + store::CurrentAdministrationName + ")", 64));
  Label1.SetCaption(L(8203));
  Label2.SetCaption(L(8234));
  File1.SetCaption(L(21));
  closeform.SetCaption(L(123));
  Action1.SetCaption(L(8322));
  Help1.SetCaption(L(284));
  helpform1.SetCaption(L(8172) + L(284));
  utorial1.SetCaption(text::TutorialCaption());
  About1.SetCaption(L(295));
  Button3.SetCaption(L(306));
  RadioGroup1.SetCaption(L(8322));
  RadioGroup1.SetItem(0, L(8348));
  RadioGroup1.SetItem(1, L(8374));
  RadioGroup2.SetCaption(L(8400));
  RadioGroup2.SetItem(0, L(8431));
  RadioGroup2.SetItem(1, L(8462));
  const int index = std::max(0, ComboBox1.ItemIndex());
  std::vector<std::string> choices;
  for (int digit : {1, 2, 3, 4, 5, 6, 7, 9}) choices.push_back(std::to_string(digit) + ": " + TypeWord(digit));
  ComboBox1.SetItems(choices);
  ComboBox1.SetItemIndex(index);
}

std::string TExportImport::TypeWord(int digit) const {
  return digit >= 1 && digit <= 9 && kTypeWordOffset[digit] ? L(kTypeWordOffset[digit]) : std::string();
}

void TExportImport::ShowStatus(const std::string& text, ui::Color colour) { StatusBar1.Show(text, colour); }

std::vector<std::string> TExportImport::PeriodItems() const {
  std::vector<std::string> items;
  for (const auto& i : ComboBox2.Items()) items.push_back(i.text);
  return items;
}

void TExportImport::FormActivate() {
  ListBox1.Clear();
  ListBox2.Clear();
  ComboBox2.ClearItems();
  ComboBox2.SetText({});
  openPeriod_.clear();
  outputReady_ = false;
  ShowStatus({}, ui::colors::Default);
  // The period list first: the choice's check reads it.
  {
    formkit::FileSetScope scope("FRZ");
    if (scope.Ok()) {
      const auto freezes = store::ReadAll<records::FreezeRec>(store::FileCode::FRZ, store::kSmallFileLimit);
      scope.Close();
      ComboBox2.SetItems(PeriodListItems(freezes, store::AdminSettings));
      openPeriod_ = ComboBox2.Items().front().text;
      ComboBox2.SetItemIndex(0);
    }
  }
  ComboBox1Change();
}

void TExportImport::ComboBox1Change() {
  const auto digit = ChoiceDigit(ComboBox1.GetText());
  const bool csv = digit && *digit != 9;
  Label2.SetVisible(!csv);
  ComboBox2.SetVisible(!csv);
  RadioGroup2.SetVisible(!csv);
  RadioGroup1.SetVisible(csv);
  if (!csv) RadioGroup2.SetItemIndex(0);
  if (csv) {
    // Every data file can be exported and imported: OK is on again, and a
    // status the audit file left is cleared.
    OkAction.SetEnabled(true);
    ShowStatus({}, ui::colors::Default);
    if (*digit == 1 || *digit == 2) customers_ = *digit == 1;
    return;
  }
  if (!digit) return;
  if (ComboBox2.Count() < 2) {
    OkAction.SetEnabled(false);
    ShowStatus(L(8907), ui::colors::Yellow);
    return;
  }
  OkAction.SetEnabled(true);
  ShowStatus({}, ui::colors::Default);
  RadioGroup2Click();
  ComboBox2Change();
}

void TExportImport::RadioGroup2Click() {
  if (RadioGroup2.ItemIndex() == 1) {
    if (ComboBox2.Count() > 0 && ComboBox2.Items().front().text == openPeriod_) ComboBox2.DeleteItem(0);
  } else if (!openPeriod_.empty() && (ComboBox2.Count() == 0 || ComboBox2.Items().front().text != openPeriod_)) {
    ComboBox2.InsertItem(0, openPeriod_);
  }
  if (ComboBox2.Count() > 0)
    ComboBox2.SetItemIndex(0);
  else
    ComboBox2.SetText({});
  OkAction.SetEnabled(ComboBox2.Count() >= 2);
}

void TExportImport::ComboBox2Change() {
  const std::vector<std::string> items = PeriodItems();
  if (items.size() < 2) {
    OkAction.SetEnabled(false);
    ShowStatus(L(8907), ui::colors::Yellow);
    return;
  }
  if (cp1252::EqualsIgnoringCase(ComboBox2.GetText(), items.back())) {
    ShowStatus(L(8762) + ": " + ComboBox2.GetText(), ui::colors::Yellow);
    OkAction.SetEnabled(false);
    return;
  }
  ShowStatus({}, ui::colors::Default);
  OkAction.SetEnabled(true);
}

void TExportImport::ComboBox1Exit() {
  if (ComboBox1.IndexOfIgnoringCase(ComboBox1.GetText()) < 0) ComboBox1.SetText({});
}

void TExportImport::ComboBox2Exit() {
  if (ComboBox2.IndexOfIgnoringCase(ComboBox2.GetText()) < 0) ComboBox2.SetText({});
}

void TExportImport::CheckBox1Click() {
  ListBox1.SetVisible(CheckBox1.Checked());
  Button2.SetVisible(CheckBox1.Checked());
  if (CheckBox1.Checked()) ShowAuditLines();
}

void TExportImport::ShowAuditLines() {
  if (!auditText_ || ListBox1.Count() > 0) return;
  books::exchange::AuditFileLines lines;
  for (const std::string& piece : auditText_->pieces) lines.Write(piece);
  ListBox1.SetItems(std::move(lines.lines));
}

void TExportImport::FormKeyPress(char& key) {
  if (key == 27) {
    key = 0;
    Close();
  }
}

void TExportImport::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::F1) {
    key = 0;
    formkit::ShowHelpFrom(*this, kHelpTopic, ExportImportHelpCaptions);
  }
}

void TExportImport::LogRun(const std::string& verb, int count, int changedValues) {
  ListBox2.Clear();
  ListBox2.Add(kRule);
  const std::string& choice = ComboBox1.GetText();
  ListBox2.Add(text::Cut(
      kIndent + verb + ": " + std::to_string(count) + " " + (choice.size() > 2 ? choice.substr(2) : std::string()),
      99));
  if (changedValues > 0) ListBox2.Add(kIndent + "Changed values: " + std::to_string(changedValues));
  ListBox2.Add(kRule);
}

void TExportImport::Button1Click() {
  ListBox2.Clear();
  // Only what this run produces may be saved.
  ListBox1.Clear();
  auditText_.reset();
  outputReady_ = false;
  const auto digit = ChoiceDigit(ComboBox1.GetText());
  if (!digit) return;
  saveOptions_ = {};
  saveOptions_.initialFolder = Utf8(ExportImportStartFolder);
  if (*digit == 9) {
    saveOptions_.title = "Export Xml Audit File";
    saveOptions_.defaultExtension = "XAF";
    saveOptions_.filters = {"XML Audit File|*.XAF;*.xaf"};
    ComboBox2Change();
    if (!AuditPeriodExportable(PeriodItems(), ComboBox2.GetText())) {
      OkAction.SetEnabled(false);
      return;
    }
    // The audit file is always an export.
    auditfileExecute();
    if (outputReady_ && !CheckBox1.Checked()) {
      ListBox2.Add(kIndent + L(8886) + ": " + ComboBox2.GetText().substr(0, 4));
      saveauditfileExecute();
    }
    return;
  }
  if (*digit == 1 || *digit == 2) customers_ = *digit == 1;
  saveOptions_.title = L(8348) + " " + TypeWord(*digit);
  saveOptions_.defaultExtension = "CSV";
  saveOptions_.filters = {"Column Separated Value|*.CSV;*.csv"};
  if (RadioGroup1.ItemIndex() == 1) {
    RunImport(*digit);
    return;
  }
  RunExport(*digit);
  if (outputReady_ && !CheckBox1.Checked()) saveauditfileExecute();
}

void TExportImport::RunExport(int digit) {
  const books::exchange::CsvKind kind = KindOf(digit, customers_);
  formkit::FileSetScope scope(std::string(store::FileInfo(books::exchange::CsvDataFile(kind)).name) + ";");
  if (!scope.Ok()) return;
  books::exchange::CsvExport out = ExportFile(kind);
  scope.Close();
  if (out.refused) {
    ui::MessageDlg(books::exchange::CsvBadValueText(*out.refused), ui::DialogKind::Error, ui::Buttons::Ok);
    return;
  }
  ListBox1.SetItems(std::move(out.lines));
  outputReady_ = true;
  LogRun("Export", out.records, out.changedValues);
}

void TExportImport::RunImport(int digit) {
  const books::exchange::CsvKind kind = KindOf(digit, customers_);
  ui::FileDialogOptions open;
  open.title = L(8374) + " " + TypeWord(digit);
  open.defaultExtension = "CSV";
  open.filters = {"Column Separated Value|*.CSV;*.csv"};
  open.initialFolder = Utf8(ExportImportStartFolder);
  const auto chosen = ui::GetBackend().OpenFileDialog(open);
  if (!chosen) return;

  // The whole text first; nothing opens before it is read and checked.
  auto read = ReadWholeFile(*chosen);
  if (const int* code = std::get_if<int>(&read)) {
    std::string text = platform::OsErrorText(*code);
    if (*code != 2) text = cp1252::FromUtf8(*chosen) + "  " + text;
    ui::MessageDlg(text, ui::DialogKind::Error, ui::Buttons::Ok);
    return;
  }
  const std::string& text = std::get<std::string>(read);
  ParsedImport in = ParseImport(kind, text);
  if (in.error) {
    const std::string message = in.error->fault == books::exchange::CsvFault::NoMarker
                                    ? L(8783) + TypeWord(digit) + " " + L(21)
                                    : books::exchange::CsvImportErrorText(*in.error);
    ui::MessageDlg(message, ui::DialogKind::Error, ui::Buttons::Ok);
    return;
  }
  if (in.lines == 0) return;  // the header alone: nothing to do
  if (CheckBox1.Checked()) {
    std::vector<std::string> lines;
    const std::string shown = cp1252::DecodeTextFile(text).text;  // as the import read it
    std::string_view rest = shown;
    for (std::size_t lf; (lf = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(lf + 1))
      lines.emplace_back(rest.substr(0, lf > 0 && rest[lf - 1] == '\r' ? lf - 1 : lf));
    if (!rest.empty()) lines.emplace_back(rest);
    if (!lines.empty()) lines.erase(lines.begin());
    ListBox1.SetItems(std::move(lines));
  }

  const store::FileCode file = books::exchange::CsvDataFile(kind);
  const bool vouchers = kind == books::exchange::CsvKind::JournalVouchers;
  std::string list(store::FileInfo(file).name);
  if (vouchers) list += ";FRZ";
  // The set is held from the question to the write: nobody changes the data
  // file in between.
  formkit::FileSetScope scope(list);
  if (!scope.Ok()) return;
  // Only the last snapshot decides: only that one is read.
  std::vector<records::FreezeRec> last;
  if (const int frozen = vouchers ? store::RecordCount(store::FileCode::FRZ) : 0; frozen > 0) {
    last.resize(1);
    store::ReadRecord(store::FileCode::FRZ, frozen - 1, last[0]);
  }
  const std::string openDate = vouchers ? LowestOpenDate(last) : std::string();
  int textBefore = 0;
  for (const std::string& date : in.voucherDates)
    if (!openDate.empty() && cp1252::CompareOrdinal(date, openDate) < 0) ++textBefore;
  const int now = store::RecordCount(file);
  int fileBefore = 0;
  if (vouchers && !openDate.empty())
    fileBefore = books::exchange::VoucherLinesBefore(store::ReadAll<records::JournalVoucherRec>(file), openDate);
  const std::string question =
      ImportQuestion(store::OpenedFilePath(file), now, in.lines, vouchers, openDate, fileBefore, textBefore);
  if (ui::MessageDlg(question, ui::DialogKind::Confirmation, ui::Buttons::YesNo) != ui::ModalResult::Yes) return;
  const books::exchange::ImportWrite written =
      books::exchange::WriteImportedRecords(file, in.bytes.empty() ? nullptr : in.bytes.data(), in.records);
  if (!written.Ok()) {
    std::string message;
    switch (written.step) {
      case books::exchange::ImportWriteStep::OpenSet:
        formkit::ReportFileSetError(written.failure);
        return;
      case books::exchange::ImportWriteStep::Backup:
        message = text::BuiltInText(text::BuiltIn::BackupNotWritten, {written.detail}) +
                  platform::OsErrorText(written.code);
        break;
      default:
        message = text::BuiltInText(text::BuiltIn::NothingWasImported) +
                  written.detail;
        break;
    }
    ui::MessageDlg(message, ui::DialogKind::Error, ui::Buttons::Ok);
    return;
  }
  scope.Close();
  LogRun("Import", in.records, 0);
}

void TExportImport::auditfileExecute() {
  books::exchange::AuditFileRequest request;
  request.administrationCode = ExportImportAdministrationCode;
  // The item's own text, also when it was typed in other capitals.
  const int index = ComboBox2.IndexOfIgnoringCase(ComboBox2.GetText());
  request.periodChoice = index >= 0 ? ComboBox2.Items()[static_cast<std::size_t>(index)].text : ComboBox2.GetText();
  request.today = text::DateToYmd(platform::Date());
  books::exchange::AuditFileText text;
  const books::exchange::AuditFileRun run = WriteAuditFileFromStore(request, text);
  if (run.openFailure) {
    formkit::ReportFileSetError(*run.openFailure);
    return;
  }
  if (const auto& refusal = run.refusal) {
    std::string message;
    switch (refusal->fault) {
      case books::exchange::AuditFileFault::NoTaxRegistration:
        message = L(8809);
        break;
      case books::exchange::AuditFileFault::FiscalYearTooEarly:
      case books::exchange::AuditFileFault::FiscalYearNotANumber:
        message = L(8850);
        break;
      default:
        message = books::exchange::AuditFileRefusalText(*refusal);
        break;
    }
    ShowStatus(message, ui::colors::Red);
    return;
  }
  // The file is kept as one text; its lines fill the output list only when
  // the list is shown.
  auditText_ = std::move(text);
  if (CheckBox1.Checked()) ShowAuditLines();
  outputReady_ = true;
  ShowStatus({}, ui::colors::Default);
}

void TExportImport::saveauditfileExecute() {
  if (!outputReady_) return;
  ui::FileDialogOptions options = saveOptions_;
  options.fileName.clear();
  if (options.initialFolder.empty()) options.initialFolder = Utf8(ExportImportStartFolder);
  const auto chosen = ui::GetBackend().SaveFileDialog(options);
  if (!chosen) return;
  const std::string shown = cp1252::FromUtf8(*chosen);
  if (platform::Fs().Exists(*chosen) &&
      ui::MessageDlg(FormatOneName(L(8706), shown), ui::DialogKind::Confirmation, ui::Buttons::YesNoCancel) !=
          ui::ModalResult::Yes)
    return;
  const int code = auditText_ ? ReplaceTextFile(*chosen, std::vector<std::string_view>(auditText_->pieces.begin(),
                                                                                       auditText_->pieces.end()))
                              : ReplaceTextFile(*chosen, books::exchange::CsvFileText(ListBox1.Items()));
  if (code != 0) {
    ui::MessageDlg(shown + "  " + platform::OsErrorText(code), ui::DialogKind::Error, ui::Buttons::Ok);
    return;
  }
  ListBox2.Add(kIndent + L(8348) + " " + L(21) + " " + L(8747));
  ListBox2.Add(kRule);
}

}  // namespace reports
