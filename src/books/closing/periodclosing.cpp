#include "books/closing/periodclosing.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstring>
#include <variant>

#include "books/journal/invoicestore.h"
#include "books/journal/paymentstore.h"
#include "books/journal/voucherstore.h"
#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "books/closing/closingintent.h"
#include "store/adminsettingsload.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "store/recordscan.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace books::closing {

ClosingState ClosingDone;

void ResetClosingState() {
  ClosingDone = {};
  TakeReplayNote();
}

namespace {

using records::AdminSettingsRec;
using records::FreezeRec;
using store::FileCode;

std::string Two(int n) {
  std::string t = std::to_string(n);
  return t.size() == 1 ? "0" + t : t;
}

std::optional<int> TwoDigitNumber(const std::string& text, std::size_t at) {
  if (text.size() < at + 2 || !std::isdigit(static_cast<unsigned char>(text[at])) ||
      !std::isdigit(static_cast<unsigned char>(text[at + 1])))
    return std::nullopt;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// `ymd` moved by `days`; empty when it is no date.
std::string ShiftDays(const std::string& ymd, int days) {
  if (!text::IsValidYmd(ymd)) return {};
  return text::DateToYmd(text::YmdToDate(ymd) + days);
}

bool IsNumber(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The fields the report form froze by: the current period and the dates of
// the book year and its periods.
bool SamePeriodSetUp(const AdminSettingsRec& a, const AdminSettingsRec& b) {
  if (a.CurrentPeriod() != b.CurrentPeriod() || a.BookYearStart() != b.BookYearStart() ||
      a.BookYearEnd() != b.BookYearEnd() || a.PeriodCount() != b.PeriodCount())
    return false;
  for (int k = 1; k <= AdminSettingsRec::kPeriodStartCount; ++k)
    if (a.PeriodStart(k) != b.PeriodStart(k)) return false;
  return true;
}

// The four closing fields lie one after the other, string[8] each, in the
// settings and in the snapshot; they go over as bytes, so that an unfreeze
// gives back the settings' very bytes.
constexpr std::size_t kClosingFieldBytes = 4 * 9;
static_assert(AdminSettingsRec::kCurrentPeriod.offset == AdminSettingsRec::kApprovedAnnualBalance.offset + 27);
static_assert(FreezeRec::kCurrentPeriod.offset == FreezeRec::kApprovedAnnualBalance.offset + 27);
void CopyClosingFields(unsigned char* to, const unsigned char* from) { std::memcpy(to, from, kClosingFieldBytes); }

std::vector<std::string> Numbers() {
  return {books::journal::kReservedVoucherNumber, books::journal::kProfitVoucherNumber};
}

std::string Now() { return platform::DateTimeToText(platform::Now()); }

}  // namespace

// --- texts -------------------------------------------------------------------

std::string MsgFreezeSettingsChanged() {
  return text::BuiltInText(text::BuiltIn::FreezeSettingsChanged);
}

std::string MsgUnfreezeSettingsChanged() {
  return text::BuiltInText(text::BuiltIn::UnfreezeSettingsChanged);
}

std::string MsgBadFiscalYear() {
  return text::BuiltInText(text::BuiltIn::BadFiscalYear);
}

std::string MsgSystemVoucherExists(const std::string& date) {
  return text::BuiltInText(text::BuiltIn::SystemVoucherExists, {date});
}

std::string MsgNothingFrozen() {
  return text::BuiltInText(text::BuiltIn::NothingFrozen);
}

std::string MsgTooManyAccountsToFreeze() {
  return text::BuiltInText(text::BuiltIn::TooManyAccountsToFreeze);
}

std::string MsgPeriodFrozenAlready(const std::string& label) {
  return text::BuiltInText(text::BuiltIn::PeriodFrozenAlready, {label});
}

std::string MsgNewBookYearProposal() { return "Proposal periods date new bookyear"; }

std::string FreezeQuestion(const std::string& label) {
  return text::BuiltInText(text::BuiltIn::FreezeQuestion, {label});
}

std::string UnfreezeQuestion(const std::string& label) {
  return text::BuiltInText(text::BuiltIn::UnfreezeQuestion, {label});
}

// --- pure rules --------------------------------------------------------------

std::string OpenPeriodEnd(const AdminSettingsRec& s) {
  const std::string current = s.CurrentPeriod();
  const int pp = TwoDigitNumber(current, 0).value_or(0);
  const int nn = TwoDigitNumber(current, 3).value_or(0);
  if (pp == 0) return s.PeriodStart(1);
  if (pp >= 15 || pp == nn) return ShiftDays(s.BookYearEnd(), 1);
  return s.PeriodStart(pp + 1);
}

std::string OpenPeriodLabel(const std::optional<std::string>& last, const std::string& currentAnnualBalance,
                            const std::string& currentPeriod) {
  if (last && last->size() >= 10) {
    const std::optional<int> pp = TwoDigitNumber(*last, 5), nn = TwoDigitNumber(*last, 8);
    if (pp && nn && *pp < *nn) return last->substr(0, 5) + Two(*pp + 1) + last->substr(7, 3);
  }
  return currentAnnualBalance + "-" + currentPeriod;
}

std::string OpenPeriodLabel(const AdminSettingsRec& s, const std::optional<std::string>& last) {
  return OpenPeriodLabel(last, s.CurrentAnnualBalance(), s.CurrentPeriod());
}

std::string StoredFreezeLabel(const std::string& openLabel, const ReportPeriod& period, const AdminSettingsRec& s) {
  if (openLabel.substr(5, 2) != "00" && openLabel.substr(8, 2) != "00") return openLabel;
  if (period.start < s.PeriodStart(1)) return period.yearBaseDate.substr(0, 4) + "-01/01";
  int k = 1;
  while (k <= 14 && !(period.start < s.PeriodStart(k + 1))) ++k;
  return period.start.substr(0, 4) + "-" + Two(k) + "/" + Two(s.PeriodCount());
}

std::string AnnualBalanceTextFor(const std::string& start) {
  if (!text::IsValidYmd(start)) return {};
  if (start.substr(4, 4) == "0101") return start.substr(0, 4);
  const int year = std::stoi(start.substr(0, 4));
  return Two(year % 100) + Two((year + 1) % 100);
}

AdvancedFields AdvanceClosingFields(const AdminSettingsRec& s, const std::string& label) {
  AdvancedFields f{s.ApprovedAnnualBalance(), s.LastClosedPeriod(), s.CurrentAnnualBalance(), s.CurrentPeriod(),
                   false};
  const int pp = TwoDigitNumber(label, 5).value_or(0);
  const int nn = TwoDigitNumber(label, 8).value_or(0);
  std::string next = label.substr(5, 2);
  if (pp >= 1 && pp <= 14 && nn > pp) {
    next = Two(pp + 1);
  } else if (pp == nn) {
    next = "01";
    f.closedYear = true;
    f.ApprovedAnnualBalance = label.substr(0, 4);
  }
  f.LastClosedPeriod = label.substr(5, 5);
  f.CurrentPeriod = next + "/" + Two(s.PeriodCount());
  return f;
}

AdminSettingsRec SettingsAfterFreeze(const AdminSettingsRec& s, const std::string& label, bool* closedYear) {
  const AdvancedFields f = AdvanceClosingFields(s, label);
  if (closedYear) *closedYear = f.closedYear;
  // The opening freeze closes the year before the first book year: that
  // book year stays, with its periods.
  const bool moveYear = f.closedYear && !s.ApprovedAnnualBalance().empty();
  AdminSettingsRec rec = store::ClosedPeriodRecord(
      s, {f.ApprovedAnnualBalance, f.LastClosedPeriod, f.CurrentAnnualBalance, f.CurrentPeriod}, moveYear);
  if (f.closedYear) rec.SetCurrentAnnualBalance(AnnualBalanceTextFor(rec.BookYearStart()));
  return rec;
}

FreezeRec BuildFreezeRec(const BalanceResult& balance, const AdminSettingsRec& before, const std::string& label,
                         std::int32_t bookYear) {
  FreezeRec rec;
  if (balance.period) {
    rec.SetPeriodEndDate(balance.period->end);
    rec.SetPeriodStartDate(balance.period->start);
    rec.SetYearBaseDate(balance.period->yearBaseDate);
  }
  rec.SetPeriodLabel(label);
  CopyClosingFields(rec.data() + FreezeRec::kApprovedAnnualBalance.offset,
                    before.data() + AdminSettingsRec::kApprovedAnnualBalance.offset);
  rec.SetBookYear(bookYear);
  const int rows = std::min<int>(static_cast<int>(balance.table.size()), FreezeRec::kAccountRows);
  for (int i = 0; i < rows; ++i) {
    const BalanceTableRow& t = balance.table[i];
    records::FreezeAccountRow row;
    row.SetAccountNumber(t.AccountNumber);
    row.SetCaption(t.Caption);
    row.SetCategoryName(t.CategoryName);
    row.SetAccountType(t.AccountType);
    row.SetCategoryKind(t.CategoryKind);
    row.SetYearOpeningBalance(t.YearOpeningBalance);
    row.SetOpeningOwnSide(t.OpeningOwnSide);
    row.SetOpeningOtherSide(t.OpeningOtherSide);
    row.SetClosingOwnSide(t.ClosingOwnSide);
    row.SetClosingOtherSide(t.ClosingOtherSide);
    rec.SetAccount(i + 1, row);
  }
  return rec;
}

namespace {

books::journal::Voucher ProfitVoucher(const std::string& date, const std::string& text, const std::string& journalName,
                                      const std::string& debitNumber, const std::string& debitCaption,
                                      const std::string& creditNumber, const std::string& creditCaption,
                                      double amount) {
  books::journal::Voucher v;
  v.mode = books::journal::EntryMode::Profit;
  v.header.date = date;
  v.header.number = books::journal::kProfitVoucherNumber;
  v.header.journal = journalName;
  v.lines.push_back({text, debitNumber, debitCaption, "", amount, 0, false});
  v.lines.push_back({text, creditNumber, creditCaption, "", 0, amount, false});
  return v;
}

}  // namespace

std::vector<books::journal::Voucher> ClosingVouchers(const AdminSettingsRec& before, const AdminSettingsRec& after,
                                                     bool closedYear, const std::string& periodEnd,
                                                     const ClosingAmounts& a) {
  std::vector<books::journal::Voucher> out;
  const bool firstClosing = before.LastClosedPeriod().empty();
  std::string year = closedYear || firstClosing ? after.ApprovedAnnualBalance() : after.CurrentAnnualBalance();
  // The very first closing of a period within a year has no approved year.
  if (year.empty()) year = after.CurrentAnnualBalance();
  const std::string text = " " + year + "/" + after.LastClosedPeriod();
  out.push_back(ProfitVoucher(ShiftDays(periodEnd, -1), text, after.DayBookName(), a.transferNumber,
                              a.transferCaption, a.profitNumber, a.profitCaption, a.periodProfit));
  if (closedYear)
    out.push_back(ProfitVoucher(after.BookYearStart(), " " + after.ApprovedAnnualBalance(), after.DayBookName(),
                                a.profitNumber, a.profitCaption, after.ProfitAccountNumber(),
                                after.ProfitAccountCaption(), a.yearProfit));
  return out;
}

// --- the operations ----------------------------------------------------------

namespace {

// What a run left for a replay it could not finish.
bool IntentLeft() { return platform::Fs().Exists(IntentPath()); }

// The message of a closing left behind that cannot be finished.
std::string IntentLeftMessage() {
  const std::string& block = store::ClosingFilesBlock();
  return block.empty() ? MsgIntentStopped() : block;
}

// The damage of the last snapshot of `freezes`, "" for none.
std::string LastFreezeDamage(const std::vector<FreezeRec>& freezes) {
  if (freezes.empty()) return {};
  const std::string fault = FreezeRecordFault(freezes.back());
  if (fault.empty()) return {};
  return store::MsgDamagedFile(store::FileInfo(FileCode::FRZ).fileName,
                               "record " + std::to_string(freezes.size()) + ": " + fault);
}

// The records of the voucher file from its start up to the last one dated
// `limit` or earlier, read forwards in blocks.
std::vector<records::JournalVoucherRec> VouchersUpTo(const std::string& limit) {
  std::vector<records::JournalVoucherRec> out;
  store::ForwardScan<records::JournalVoucherRec> scan(FileCode::JVO, 0, store::RecordCount(FileCode::JVO));
  while (const records::JournalVoucherRec* rec = scan.Next()) {
    if (limit < rec->VoucherDate()) break;
    out.push_back(*rec);
  }
  return out;
}

// Where a voucher with `key` goes in the file `all` as read: after the last
// record whose key is not greater (found from the end, as the store does).
int InsertPlace(const std::vector<records::JournalVoucherRec>& all, const std::string& key) {
  for (int i = static_cast<int>(all.size()) - 1; i >= 0; --i)
    if (!(key < books::journal::VoucherKeyOf(all[static_cast<std::size_t>(i)]))) return i + 1;
  return 0;
}

// The run of records of the voucher `date` + `number` in `all`, as the
// store would load it; nullopt when there is none.
std::optional<books::journal::LoadedVoucher> FindRun(const std::vector<records::JournalVoucherRec>& all,
                                                     const std::string& date, const std::string& number) {
  const std::string key = books::journal::VoucherKeyOf(books::journal::VoucherHeader{date, number, "", "", ""});
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i].VoucherDate() != date || books::journal::VoucherKeyOf(all[i]) != key) continue;
    books::journal::LoadedVoucher l;
    l.first = static_cast<int>(i);
    while (i < all.size() && books::journal::VoucherKeyOf(all[i]) == key) l.records.push_back(all[i++]);
    return l;
  }
  return std::nullopt;
}

// Runs the intent's steps and makes the written settings the loaded ones.
std::string RunIntent(const ClosingIntent& intent) {
  WriteIntent(intent);
  if (std::string stopped = ApplyIntentSteps(intent); !stopped.empty()) return stopped;
  DeleteIntent();
  store::AdoptWrittenSettings(intent.settingsAfter);
  return {};
}

double Rounded(double value, const std::string& text) {
  if (auto parsed = text::TryParseAmount(text)) return *parsed;
  return value;
}

// Why a freeze stops: its outcome and the message to show ("" for none).
struct FreezeRefusal {
  FreezeOutcome outcome;
  std::string message;
};

// The settings on file, once no closing is left behind, the file is sound
// and the period set-up is still the one `frozenBy` showed.
std::variant<AdminSettingsRec, FreezeRefusal> CheckedOpenSettings(const AdminSettingsRec& frozenBy) {
  if (IntentLeft()) return FreezeRefusal{FreezeOutcome::Stopped, IntentLeftMessage()};
  const store::CheckedSettings checked = store::ReadCheckedSettings();
  if (!checked.rec) return FreezeRefusal{FreezeOutcome::DamagedFile, checked.damage};
  if (!SamePeriodSetUp(*checked.rec, frozenBy))
    return FreezeRefusal{FreezeOutcome::SettingsChanged, MsgFreezeSettingsChanged()};
  return *checked.rec;
}

// Which documents before `end` have no voucher yet: both are asked.
struct UnbookedDocuments {
  bool invoices = false, payments = false;
};
UnbookedDocuments AskUnbookedDocuments(const std::string& end) {
  const books::journal::DocumentCheck invoices = books::journal::AnyInvoiceWithoutVoucherBefore(end);
  const books::journal::DocumentCheck payments = books::journal::AnyPaymentWithoutVoucherBefore(end);
  return {invoices.value.has_value(), payments.value.has_value()};
}

// The balance a freeze closes, as the checks found it.
struct FreezePlan {
  BalanceFiles files;
  BalanceResult balance;
  std::string label;       // the period label the freeze file keeps
  bool closedYear = false;
  AdminSettingsRec after;  // the settings once the period is frozen
};

// Why the balance allows no freeze, most telling reason first.
std::string WhyNoFreeze(const BalanceResult& balance, const AdminSettingsRec& s, const BalanceTexts& texts) {
  if (s.ProfitAccountNumber().empty()) return texts.noProfitAccountNumber;
  if (balance.table.size() > static_cast<std::size_t>(kFreezeCapacity)) return MsgTooManyAccountsToFreeze();
  if (balance.period && balance.period->hit) return MsgPeriodFrozenAlready(balance.period->label);
  return texts.closingOutOfBalance;
}

// The open period's balance, from the files as they are now, and whether it
// may be frozen.
std::variant<FreezePlan, FreezeRefusal> PlanFreeze(const AdminSettingsRec& s, const BalanceTexts& texts,
                                                   const std::optional<std::string>& shownLabel) {
  FreezePlan plan;
  BalanceFiles& files = plan.files;
  files.freezes = store::ReadAll<FreezeRec>(FileCode::FRZ, store::kSmallFileLimit);
  if (std::string damage = LastFreezeDamage(files.freezes); !damage.empty())
    return FreezeRefusal{FreezeOutcome::DamagedFile, damage};
  const std::optional<std::string> lastLabel =
      files.freezes.empty() ? std::nullopt : std::optional<std::string>(files.freezes.back().PeriodLabel());
  BalanceRequest request;
  request.kind = '2';
  request.periodText = OpenPeriodLabel(s, lastLabel);
  request.settings = s;
  request.texts = texts;
  if (shownLabel && *shownLabel != request.periodText)
    return FreezeRefusal{FreezeOutcome::SettingsChanged, MsgFreezeSettingsChanged()};
  files.categories = store::ReadAll<records::LedgerCategoryRec>(FileCode::GLC, store::kSmallFileLimit);
  files.accounts = store::ReadAll<records::LedgerAccountRec>(FileCode::GLA, store::kSmallFileLimit);
  const PeriodOrError period = ComputeReportPeriod(request.periodText, s, files.freezes);
  if (!period.period) return FreezeRefusal{FreezeOutcome::NotPermitted, period.error};
  plan.label = StoredFreezeLabel(request.periodText, *period.period, s);
  plan.after = SettingsAfterFreeze(s, plan.label, &plan.closedYear);
  // The voucher file is sorted by date: the balance needs the lines before
  // the period end, the closing the keys up to the last date it posts on.
  // Nothing after that is read.
  std::string limit = period.period->end;
  if (plan.closedYear) limit = std::max(limit, plan.after.BookYearStart());
  files.vouchers = VouchersUpTo(limit);
  plan.balance = ComputeBalanceCore(request, files);
  const BalanceResult& balance = plan.balance;
  if (!balance.error.empty()) return FreezeRefusal{FreezeOutcome::NotPermitted, balance.error};
  if (!balance.profitRow || !balance.transferRow)
    return FreezeRefusal{FreezeOutcome::NotPermitted, texts.noProfitOrTransfer};
  if (!balance.freezeAllowed || !balance.period)
    return FreezeRefusal{FreezeOutcome::NotPermitted, WhyNoFreeze(balance, s, texts)};
  return plan;
}

// The amounts the closing posts, through their texts as the program shows them.
struct FreezeAmounts {
  std::string freezeProfitText;  // the period's profit, grouped, with the currency sign
  ClosingAmounts closing;
};
FreezeAmounts AmountsOf(const BalanceResult& balance, const AdminSettingsRec& s) {
  FreezeAmounts out;
  const BalanceSums& sums = balance.sums;
  const double periodValue = balance.period->start < s.PeriodStart(2)
                                 ? sums.PlClosingProfit
                                 : sums.PlClosingProfit - sums.PlOpeningProfit;
  const int decimals = text::SystemSettings.AmountDecimals;
  out.freezeProfitText = text::FormatAmount(periodValue, decimals, 'Y');
  const BalanceTableRow& transfer = balance.table[*balance.transferRow];
  ClosingAmounts& amounts = out.closing;
  amounts.transferNumber = text::Cut(transfer.AccountNumber, 20);
  amounts.transferCaption = text::Cut(transfer.Caption, 30);
  amounts.profitNumber = balance.profitAccountNumber;
  amounts.profitCaption = balance.profitAccountCaption;
  amounts.periodProfit = Rounded(periodValue, out.freezeProfitText);
  amounts.yearProfit = Rounded(sums.PlClosingProfit, text::FormatAmount(sums.PlClosingProfit, decimals, 'N'));
  return out;
}

// The date of the first closing voucher where a system voucher already
// stands, nullopt when none does.
std::optional<std::string> SystemVoucherInTheWay(const std::vector<books::journal::Voucher>& vouchers,
                                                 const std::vector<records::JournalVoucherRec>& onFile) {
  for (const books::journal::Voucher& v : vouchers)
    for (const std::string& number : Numbers())
      if (FindRun(onFile, v.header.date, number)) return v.header.date;
  return std::nullopt;
}

// The intent of a freeze: the snapshot appended, the closing vouchers
// inserted in key order, the settings rewritten.
ClosingIntent FreezeIntent(const FreezePlan& plan, const AdminSettingsRec& s,
                           const std::vector<books::journal::Voucher>& vouchers) {
  const int frozen = store::RecordCount(FileCode::FRZ);
  ClosingIntent intent;
  intent.freeze.op = FreezeFileStep::Op::Append;
  intent.freeze.countBefore = frozen;
  const std::int32_t fiscal = std::stoi(s.FiscalYear());
  intent.freeze.rec = BuildFreezeRec(plan.balance, s, plan.label, frozen == 0 ? fiscal - 1 : fiscal);
  const std::string user = text::SystemSettings.CurrentUser, stamp = Now();
  int count = store::RecordCount(FileCode::JVO), inserted = 0;
  for (const books::journal::Voucher& v : vouchers) {
    VoucherFileStep step;
    step.op = VoucherFileStep::Op::Insert;
    // Each later voucher sorts after the ones before it.
    step.index = InsertPlace(plan.files.vouchers, books::journal::VoucherKeyOf(v.header)) + inserted;
    step.countBefore = count;
    step.recs = books::journal::VoucherRecords(v, user, stamp);
    count += static_cast<int>(step.recs.size());
    inserted += static_cast<int>(step.recs.size());
    intent.vouchers.push_back(std::move(step));
  }
  intent.settingsBefore = s;
  intent.settingsAfter = plan.after;
  return intent;
}

}  // namespace

FreezeRun FreezeOpenPeriod(const AdminSettingsRec& frozenBy, const BalanceTexts& texts,
                           const std::optional<std::string>& shownLabel) {
  FreezeRun run;
  auto refuse = [&run](FreezeOutcome o, std::string message) {
    run.outcome = o;
    if (!message.empty()) run.messages.push_back(std::move(message));
    return run;
  };
  store::ScopedFileSet set("FRZ;ADS;GLA;GLC;JVO;INV;PAY;");
  if (!set.Ok()) {
    run.outcome = FreezeOutcome::FileSetFailed;
    run.failure = set.Failure();
    return run;
  }
  const std::variant<AdminSettingsRec, FreezeRefusal> read = CheckedOpenSettings(frozenBy);
  if (const auto* r = std::get_if<FreezeRefusal>(&read)) return refuse(r->outcome, r->message);
  const AdminSettingsRec& s = std::get<AdminSettingsRec>(read);

  const UnbookedDocuments unbooked = AskUnbookedDocuments(OpenPeriodEnd(s));
  run.invoicesWithoutVoucher = unbooked.invoices;
  run.paymentsWithoutVoucher = unbooked.payments;
  if (run.invoicesWithoutVoucher) run.messages.push_back(text::L(11132));
  if (run.paymentsWithoutVoucher) run.messages.push_back(text::L(11243));
  if (!run.messages.empty()) return refuse(FreezeOutcome::UnbookedDocuments, {});

  if (!IsNumber(s.FiscalYear())) return refuse(FreezeOutcome::BadFiscalYear, MsgBadFiscalYear());

  const std::variant<FreezePlan, FreezeRefusal> planned = PlanFreeze(s, texts, shownLabel);
  if (const auto* r = std::get_if<FreezeRefusal>(&planned)) return refuse(r->outcome, r->message);
  const FreezePlan& plan = std::get<FreezePlan>(planned);
  const BalanceResult& balance = plan.balance;

  const FreezeAmounts amounts = AmountsOf(balance, s);
  run.FreezeProfitText = amounts.freezeProfitText;
  run.ReportProfitText = balance.profitText;
  const std::vector<books::journal::Voucher> vouchers =
      ClosingVouchers(s, plan.after, plan.closedYear, balance.period->end, amounts.closing);

  // No system voucher may stand where the closing posts.
  if (const std::optional<std::string> date = SystemVoucherInTheWay(vouchers, plan.files.vouchers))
    return refuse(FreezeOutcome::SystemVoucherExists, MsgSystemVoucherExists(*date));

  // Every check has run: the intent, then its steps.
  if (std::string stopped = RunIntent(FreezeIntent(plan, s, vouchers)); !stopped.empty())
    return refuse(FreezeOutcome::Stopped, stopped);
  set.Close();

  run.FreezeClosedYear = plan.closedYear;
  run.FreezeLabel = plan.label;
  run.ReportTransferAccountNumber = amounts.closing.transferNumber;
  run.ReportTransferAccountCaption = amounts.closing.transferCaption;
  run.ReportProfitAccountNumber = amounts.closing.profitNumber;
  run.ReportProfitAccountCaption = amounts.closing.profitCaption;
  run.ReportPeriodEnd = balance.period->end;
  run.settings = plan.after;
  run.vouchersPosted = static_cast<int>(vouchers.size());
  ClosingDone = {true, plan.closedYear};
  return run;
}

LastFreeze ReadLastFreezeLabel() {
  LastFreeze out;
  store::ScopedFileSet set("FRZ;");
  if (!set.Ok()) {
    out.failure = set.Failure();
    return out;
  }
  const int count = store::RecordCount(FileCode::FRZ);
  if (count > 0) {
    FreezeRec rec;
    store::ReadRecord(FileCode::FRZ, count - 1, rec);
    out.label = rec.PeriodLabel();
  }
  return out;
}

UnfreezeRun UnfreezeLastPeriod(const AdminSettingsRec& loaded) {
  UnfreezeRun run;
  auto refuse = [&run](UnfreezeOutcome o, std::string message) {
    run.outcome = o;
    run.message = std::move(message);
    return run;
  };
  store::ScopedFileSet set("FRZ;ADS;JVO;INV;PAY;");
  if (!set.Ok()) {
    run.outcome = UnfreezeOutcome::FileSetFailed;
    run.failure = set.Failure();
    return run;
  }
  if (IntentLeft()) return refuse(UnfreezeOutcome::Stopped, IntentLeftMessage());
  const store::CheckedSettings checked = store::ReadCheckedSettings();
  if (!checked.rec) return refuse(UnfreezeOutcome::DamagedFile, checked.damage);
  const std::optional<AdminSettingsRec>& read = checked.rec;
  if (std::memcmp(read->data(), loaded.data(), AdminSettingsRec::kSize) != 0)
    return refuse(UnfreezeOutcome::SettingsChanged, MsgUnfreezeSettingsChanged());
  const std::vector<FreezeRec> freezes = store::ReadAll<FreezeRec>(FileCode::FRZ, store::kSmallFileLimit);
  if (freezes.empty()) return refuse(UnfreezeOutcome::NothingFrozen, MsgNothingFrozen());
  if (std::string damage = LastFreezeDamage(freezes); !damage.empty())
    return refuse(UnfreezeOutcome::DamagedFile, damage);

  const int count = static_cast<int>(freezes.size());
  const FreezeRec& r = freezes.back();
  run.label = r.PeriodLabel();
  AdminSettingsRec rec = *read;
  CopyClosingFields(rec.data() + AdminSettingsRec::kApprovedAnnualBalance.offset,
                    r.data() + FreezeRec::kApprovedAnnualBalance.offset);

  std::string current = r.CurrentPeriod();
  if (current.empty()) current = "1";
  const std::string pp = current.substr(0, 2), nn = current.size() >= 5 ? current.substr(3, 2) : std::string();
  std::vector<std::string> dates{ShiftDays(r.PeriodEndDate(), -1)};
  if (pp == "00") {
    dates.push_back(read->BookYearStart());
  } else if (pp == nn) {
    // The year-end: the opening voucher of the book year, and the year back.
    dates.push_back(read->BookYearStart());
    const int n = std::clamp(TwoDigitNumber(current, 0).value_or(1), 1, 15);
    rec.SetBookYearEnd(ShiftDays(r.PeriodEndDate(), -1));
    rec.SetPeriodCount(static_cast<std::int16_t>(n));
    if (n < 15) rec.SetPeriodStart(n + 1, r.PeriodEndDate());
    const FreezeRec* inHand = &r;
    for (int i = 1; i <= n; ++i) {
      rec.SetPeriodStart(n + 1 - i, inHand->PeriodStartDate());
      if (i <= count - 1) inHand = &freezes[count - 1 - i];
    }
    rec.SetBookYearStart(rec.PeriodStart(1));
    // The first snapshot of a file holds the fiscal year before its own.
    rec.SetFiscalYear(std::to_string(count == 1 ? r.BookYear() + 1 : r.BookYear()));
  }

  // The system vouchers, read by key as they are; the later ones go first so
  // that the earlier ones keep their place.
  const std::vector<records::JournalVoucherRec> all =
      VouchersUpTo(std::max(dates.front(), dates.size() > 1 ? dates.back() : std::string()));
  std::vector<books::journal::LoadedVoucher> found;
  for (const std::string& date : dates)
    for (const std::string& number : Numbers()) {
      std::optional<books::journal::LoadedVoucher> f = FindRun(all, date, number);
      if (f && std::none_of(found.begin(), found.end(), [&](const auto& l) { return l.first == f->first; }))
        found.push_back(std::move(*f));
    }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });

  ClosingIntent intent;
  intent.freeze.op = FreezeFileStep::Op::Cut;
  intent.freeze.countBefore = count;
  intent.freeze.rec = r;
  int jvo = store::RecordCount(FileCode::JVO);
  for (const books::journal::LoadedVoucher& l : found) {
    VoucherFileStep step;
    step.op = VoucherFileStep::Op::Delete;
    step.index = l.first;
    step.countBefore = jvo;
    step.recs = l.records;
    jvo -= l.Count();
    intent.vouchers.push_back(std::move(step));
  }
  intent.settingsBefore = *read;
  intent.settingsAfter = rec;
  if (std::string stopped = RunIntent(intent); !stopped.empty()) return refuse(UnfreezeOutcome::Stopped, stopped);
  set.Close();
  run.settings = rec;
  run.vouchersDeleted = static_cast<int>(found.size());
  return run;
}

}  // namespace books::closing
