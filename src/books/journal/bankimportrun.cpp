// The bank-statement import without a form (see bankimportrun.h).
#include "books/journal/bankimportrun.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_set>
#include <type_traits>
#include <utility>

#include "books/journal/documentrules.h"
#include "books/journal/entryrules.h"
#include "books/journal/invoicestore.h"
#include "books/journal/paymentstore.h"
#include "books/journal/voucherstore.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "records/adminsettingsrec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "store/recordscan.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "text/amount.h"

namespace books::journal {

namespace {

using records::InvoiceRec;
using records::JournalVoucherRec;
using records::PartnerRec;
using records::PaymentRec;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::string CellOrEmpty(const std::optional<std::string>& cell) { return cell.value_or(""); }


bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

StatementFile ReadStatementFile(const std::string& path) {
  StatementFile out;
  std::unique_ptr<platform::FileHandle> file;
  out.code = platform::Fs().OpenExisting(path, platform::OpenMode::Read, file);
  if (out.code != 0) return out;
  std::uint64_t size = 0;
  out.code = file->Size(size);
  if (out.code == 0) {
    out.bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    out.code = file->ReadAt(0, out.bytes.data(), out.bytes.size(), done);
    out.bytes.resize(done);
  }
  file->Close();
  if (out.code != 0) out.bytes.clear();
  return out;
}

std::string MatchAccount(std::string_view account) {
  std::string out;
  for (char c : account)
    if (c != ' ' && c != '\t') out += cp1252::ToUpper(c);
  return text::Cut(out, kMatchAccountRoom);
}

std::string StoredAccount(std::string_view account) { return text::Cut(MatchAccount(account), kStoredAccountRoom); }

RowReading ReadImportRow(const StatementRow& row, const records::ImportProfileRec& profile, int decimals,
                         std::string_view firstOwnAccount) {
  RowReading out;
  const StatementFields f = MapStatementRow(row.cells, profile);
  const std::string dateText = CellOrEmpty(f.date), amountText = CellOrEmpty(f.amount);
  const std::string_view dateCell = Trim(dateText);
  const std::string_view amountCell = Trim(amountText);
  const std::string own = MatchAccount(CellOrEmpty(f.ownAccount));
  if (dateCell.empty()) {
    out.fault = RowFault::EmptyDate;
    return out;
  }
  const auto date = ReadStatementDate(dateCell, profile.DateFormat());
  if (!date) {
    out.fault = RowFault::NonExistingDate;
    return out;
  }
  if (amountCell.empty()) {
    out.fault = RowFault::EmptyAmount;
    return out;
  }
  const auto amount = ReadStatementAmount(amountCell);
  if (!amount) {
    out.fault = RowFault::AmountNotANumber;
    return out;
  }
  if (StatementAmountDecimals(amountCell) > static_cast<std::size_t>(std::max(0, decimals))) {
    out.fault = RowFault::AmountTooManyDecimals;
    out.value = std::string(amountCell);
    return out;
  }
  if (std::fabs(*amount) >= kLargestStatementAmount) {
    out.fault = RowFault::AmountTooLarge;
    out.value = std::string(amountCell);
    return out;
  }
  if (own.empty()) {
    out.fault = RowFault::EmptyOwnAccount;
    return out;
  }
  if (!firstOwnAccount.empty() && own != firstOwnAccount) {
    out.fault = RowFault::OtherOwnAccount;
    return out;
  }
  ImportRow r;
  r.line = row.line;
  r.valueDate = *date;
  r.ownAccount = own;
  if (profile.DebitCreditColumn() >= 0) {
    if (*amount < 0) {
      out.fault = RowFault::NegativeAmount;
      return out;
    }
    const bool debit = cp1252::EqualsIgnoringCase(Trim(CellOrEmpty(f.debitCredit)), Trim(profile.DebitString()));
    r.direction = debit ? RowDirection::Debit : RowDirection::Credit;
    r.amount = *amount;
  } else {
    r.direction = *amount < 0 ? RowDirection::Debit : RowDirection::Credit;
    r.amount = std::fabs(*amount);
  }
  r.counterparty = CellOrEmpty(f.counterpartyAccount);
  r.ascription = CellOrEmpty(f.ascription);
  for (std::size_t k = 0; k < r.narratives.size(); ++k) r.narratives[k] = CellOrEmpty(f.narratives[k]);
  out.row = std::move(r);
  return out;
}

std::string RowFaultText(RowFault fault) {
  switch (fault) {
    case RowFault::None: return {};
    case RowFault::EmptyDate:
      return text::BuiltInText(text::BuiltIn::EmptyDate);
    case RowFault::NonExistingDate:
      return text::BuiltInText(text::BuiltIn::NonExistingDate);
    case RowFault::EmptyAmount:
      return text::BuiltInText(text::BuiltIn::EmptyAmount);
    case RowFault::AmountNotANumber:
      return text::BuiltInText(text::BuiltIn::AmountNotANumber);
    case RowFault::NegativeAmount:
      return text::BuiltInText(text::BuiltIn::NegativeAmount);
    case RowFault::EmptyOwnAccount:
      return text::BuiltInText(text::BuiltIn::EmptyOwnAccount);
    case RowFault::AmountTooManyDecimals:
      return text::BuiltInText(text::BuiltIn::AmountTooManyDecimals);
    case RowFault::AmountTooLarge:
      return text::BuiltInText(text::BuiltIn::AmountTooLarge);
    case RowFault::OtherOwnAccount:
      return text::BuiltInText(text::BuiltIn::OtherOwnAccount);
  }
  return {};
}

ProfileFault CheckImportProfile(const records::ImportProfileRec& profile) {
  if (profile.ProfileNumber() < 1 || profile.ProfileNumber() > 10) return ProfileFault::NumberOutside;
  if (profile.DateColumn() < 0) return ProfileFault::NoDateColumn;
  if (profile.AmountColumn() < 0) return ProfileFault::NoAmountColumn;
  if (profile.OwnAccountColumn() < 0) return ProfileFault::NoOwnAccountColumn;
  const std::string layout = profile.DateFormat();
  if (std::find(kStatementDateLayouts.begin(), kStatementDateLayouts.end(), layout) == kStatementDateLayouts.end())
    return ProfileFault::NoDateLayout;
  return ProfileFault::None;
}

namespace {

std::string LineWord(std::size_t count) {
  return count == 1 ? text::BuiltInText(text::BuiltIn::Line)
                    : text::BuiltInText(text::BuiltIn::Lines);
}

// "3, 5, 9", the first ten and then "...".
std::string LineList(const std::vector<int>& lines) {
  constexpr std::size_t kShown = 10;
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < kShown; ++i) text += (i ? ", " : "") + std::to_string(lines[i]);
  if (lines.size() > kShown) text += ", ...";
  return text;
}

// The bad-row lines of rows with more fields than `limit`.
void AddLongRows(const std::vector<StatementRow>& rows, std::size_t limit, bool header, StatementCheck& out) {
  for (const StatementRow& row : rows)
    if (row.cells.size() > limit)
      out.badRows.push_back(
          text::BuiltInText(header ? text::BuiltIn::MoreFieldsThanTheHeader : text::BuiltIn::MoreFieldsThanTheFirstRow,
                            {std::to_string(row.line), std::to_string(row.cells.size()), std::to_string(limit)}));
}

// The most distinct values kept: more are never shown, and a column of
// thousands of values (the wrong column chosen) stays quick to check.
constexpr std::size_t kDebitCreditValuesKept = 20;

// Counts `row`'s debit/credit value into `values` when it is not `debit`.
void AddDebitCreditValue(const StatementRow& row, const records::ImportProfileRec& profile, std::string_view debit,
                         std::vector<DebitCreditValue>& values) {
  const std::string cell = CellOrEmpty(MapStatementRow(row.cells, profile).debitCredit);
  const std::string_view value = Trim(cell);
  if (cp1252::EqualsIgnoringCase(value, debit)) return;
  const auto same = std::find_if(values.begin(), values.end(),
                                 [&](const DebitCreditValue& v) { return cp1252::EqualsIgnoringCase(v.value, value); });
  if (same != values.end())
    same->lines.push_back(row.line);
  else if (values.size() < kDebitCreditValuesKept)
    values.push_back({std::string(value), {row.line}});
}

}  // namespace

std::vector<DebitCreditValue> OtherDebitCreditValues(const std::vector<StatementRow>& rows,
                                                     const records::ImportProfileRec& profile) {
  std::vector<DebitCreditValue> out;
  if (profile.DebitCreditColumn() < 0) return out;
  const std::string debit = profile.DebitString();
  for (const StatementRow& row : rows) AddDebitCreditValue(row, profile, Trim(debit), out);
  return out;
}

StatementCheck CheckStatementRows(const std::vector<StatementRow>& rows, const records::ImportProfileRec& profile,
                                  const StatementRules& rules) {
  StatementCheck out;
  if (rows.empty()) return out;
  // Every row has at most the fields of the header line, or of row 1.
  const std::size_t limit = rules.headerFields > 0 ? rules.headerFields : rows.front().cells.size();
  AddLongRows(rows, limit, rules.headerFields > 0, out);
  if (!out.badRows.empty()) return out;  // the columns cannot be trusted
  // The own account every row must have is that of the first row that
  // reads, so that a header row left in does not fail every other row.
  const std::string debit = profile.DebitString();
  std::vector<DebitCreditValue> others;
  for (const StatementRow& row : rows) {
    const RowReading reading = ReadImportRow(row, profile, rules.decimals, out.ownAccount);
    if (!reading.row) {
      std::string text = LineWord(1) + std::to_string(row.line) + ": " + RowFaultText(reading.fault);
      if (!reading.value.empty()) text += ": \"" + reading.value + "\"";
      out.badRows.push_back(std::move(text));
      continue;
    }
    if (out.ownAccount.empty()) out.ownAccount = reading.row->ownAccount;
    if (reading.row->valueDate < rules.lowestOpenDate) out.beforeOpen.push_back(out.rows.size());
    out.rows.push_back(*reading.row);
    if (profile.DebitCreditColumn() >= 0) AddDebitCreditValue(row, profile, Trim(debit), others);
  }
  if (out.badRows.size() == 1 && rows.front().line == 1 && (out.rows.empty() || out.rows.front().line != 1))
    out.badRows.front() +=
        text::BuiltInText(text::BuiltIn::Row1MayBeAHeader);
  // Debit when the cell is the debit text, else credit: with more than one
  // other value, which of them means credit cannot be told.
  if (others.size() > 1) {
    for (const DebitCreditValue& v : others)
      out.badRows.push_back(
          text::BuiltInText(text::BuiltIn::OtherDebitCreditValue,
                            {LineWord(v.lines.size()) + LineList(v.lines), v.value}));
    out.badRows.push_back(
        text::BuiltInText(text::BuiltIn::TooManyDebitCreditValues, {text::TrimText(profile.DebitString())}));
  }
  return out;
}

std::string BadRowsMessage(const std::vector<std::string>& badRows) {
  constexpr std::size_t kShown = 20;
  std::string text;
  for (std::size_t i = 0; i < badRows.size() && i < kShown; ++i) {
    if (!text.empty()) text += "\n";
    text += badRows[i];
  }
  if (badRows.size() > kShown)
    text += "\n" + text::BuiltInText(text::BuiltIn::AndMore, {std::to_string(badRows.size() - kShown)});
  return text;
}

bool SameAsStoredPayment(const ImportRow& row, const PaymentRec& stored) {
  return stored.ValueDate() == row.valueDate && text::SameUnits(std::fabs(stored.Amount()), row.amount) &&
         MatchAccount(stored.BankAccount()) == StoredAccount(row.counterparty) &&
         text::TrimTrailingBlanks(stored.Narrative(1)) ==
             text::TrimTrailingBlanks(text::Cut(row.narratives[0], PaymentRec::kNarrative1.capacity));
}

std::vector<std::size_t> ProbableDuplicates(const std::vector<ImportRow>& rows, const std::vector<PaymentRec>& stored) {
  // Stored payments by value date, so that each row looks at its own day.
  std::multimap<std::string, const PaymentRec*> byDate;
  for (const PaymentRec& p : stored) byDate.emplace(p.ValueDate(), &p);
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto [from, to] = byDate.equal_range(rows[i].valueDate);
    for (auto it = from; it != to; ++it)
      if (SameAsStoredPayment(rows[i], *it->second)) {
        out.push_back(i);
        break;
      }
  }
  return out;
}

std::string DefaultEntryPrefix(int year) { return "P" + std::to_string(year) + "-"; }

std::optional<HighestEntry> HighestEntryCounter(std::string_view prefix, const std::vector<PaymentRec>& payments) {
  std::optional<HighestEntry> best;
  for (const PaymentRec& p : payments) {
    const std::string entry = p.EntryNumber();
    if (!entry.starts_with(prefix)) continue;
    const std::string_view digits = std::string_view(entry).substr(prefix.size());
    if (!AllDigits(digits)) continue;
    std::int64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (!best || value > best->counter) best = HighestEntry{value, entry};
  }
  return best;
}

std::string CounterText(std::int64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::optional<std::string> EntryNumberAt(std::string_view prefix, std::string_view counter, std::size_t offset) {
  const std::string_view digits = Trim(counter);
  if (!AllDigits(digits) || digits.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return std::string(prefix) + CounterText(value + static_cast<std::int64_t>(offset), digits.size());
}

std::optional<EntryRoom> EntryNumberRoom(std::string_view counter, std::size_t rowCount) {
  const auto last = EntryNumberAt("", counter, rowCount == 0 ? 0 : rowCount - 1);
  if (!last) return std::nullopt;
  return EntryRoom{last->size(), last->size() >= kEntryNumberRoom ? 0 : kEntryNumberRoom - last->size()};
}

bool EntryNumbersFit(std::string_view prefix, std::string_view counter, std::size_t rowCount) {
  const auto last = EntryNumberAt(prefix, counter, rowCount == 0 ? 0 : rowCount - 1);
  return last && last->size() <= kEntryNumberRoom;
}

namespace {

// The partners of one kind that carry an account, by account, file order
// kept among equal ones.
PartnerAccounts::Kind SortedByAccount(const std::vector<PartnerRec>& partners) {
  std::vector<std::pair<std::string, std::size_t>> carried;
  for (std::size_t i = 0; i < partners.size(); ++i)
    if (std::string a = MatchAccount(partners[i].BankAccountNumber()); !a.empty()) carried.emplace_back(std::move(a), i);
  std::stable_sort(carried.begin(), carried.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  PartnerAccounts::Kind kind;
  kind.accounts.reserve(carried.size());
  kind.partners.reserve(carried.size());
  for (auto& [account, i] : carried) {
    kind.accounts.push_back(std::move(account));
    kind.partners.push_back(partners[i]);
  }
  return kind;
}

}  // namespace

PartnerAccounts::PartnerAccounts(const std::vector<PartnerRec>& customers, const std::vector<PartnerRec>& suppliers)
    : customers_(SortedByAccount(customers)), suppliers_(SortedByAccount(suppliers)) {}

PartnerAccounts::Answer PartnerAccounts::Find(RowDirection direction, std::string_view account) const {
  Answer answer;
  const std::string key = MatchAccount(account);
  if (key.empty()) {
    answer.search = PartnerSearch::NoAccount;
    return answer;
  }
  const Kind& own = direction == RowDirection::Credit ? customers_ : suppliers_;
  const Kind& other = direction == RowDirection::Credit ? suppliers_ : customers_;
  // A binary search over the accounts alone, which lie close together.
  const auto carriedBy = [&](const Kind& kind) {
    const auto [from, to] = std::equal_range(kind.accounts.begin(), kind.accounts.end(), key);
    return std::pair{static_cast<std::size_t>(from - kind.accounts.begin()),
                     static_cast<std::size_t>(to - kind.accounts.begin())};
  };
  const auto [from, to] = carriedBy(own);
  if (to - from == 1) {
    answer.search = PartnerSearch::Found;
    answer.partner = own.partners[from];
    return answer;
  }
  if (to - from > 1) {
    answer.search = PartnerSearch::Ambiguous;
    return answer;
  }
  const auto [otherFrom, otherTo] = carriedBy(other);
  answer.search = otherFrom != otherTo ? PartnerSearch::Refund : PartnerSearch::NotFound;
  return answer;
}

PaymentRec ImportPayment(const ImportRow& row, const PartnerAccounts::Answer& partner, const std::string& entryNumber) {
  PaymentRec rec;
  rec.SetValueDate(row.valueDate);
  rec.SetBankAccount(StoredAccount(row.counterparty));
  const bool credit = row.direction == RowDirection::Credit;
  if (partner.search == PartnerSearch::Found && partner.partner) {
    rec.SetPartnerType(records::CodeOf(credit ? records::DocumentKind::Customer : records::DocumentKind::Vendor));
    rec.SetPartnerNumber(partner.partner->OurNumber());
  } else {
    rec.SetPartnerType(records::CodeOf(credit ? records::DocumentKind::Receipt : records::DocumentKind::Payment));
    rec.SetPartnerNumber(0);
  }
  rec.SetEntryNumber(entryNumber);
  rec.SetAscription(row.ascription);
  for (int k = 1; k <= PaymentRec::kNarrativeCount; ++k)
    rec.SetNarrative(k, row.narratives[static_cast<std::size_t>(k - 1)]);
  rec.SetAmount(row.amount);
  rec.SetVoucherCreated(false);
  return rec;
}

namespace {
bool OwesExactly(const InvoiceRec& inv, double amount) {
  const std::optional<std::int64_t> owing = OwingUnits(inv, 2);
  return owing && owing == text::ToCents(amount);
}
}  // namespace

std::optional<InvoiceRec> MatchingInvoice(const std::vector<InvoiceRec>& open, double amount) {
  for (const InvoiceRec& inv : open)
    if (OwesExactly(inv, amount)) return inv;
  return std::nullopt;
}

Voucher ProposeImportVoucher(const ImportMatch& m) {
  const PaymentKey key = PaymentKeyOf(m.payment);
  // The payment tab's proposal with the invoice ticked, its cash discount
  // left out: the import pays the invoice in full.
  PaymentProposalInput in;
  in.kind = ProposalKindOf(key.kind);
  in.bankAccount = m.cashAccount;
  in.partner = m.partner;
  in.partnerNumber = key.partner;
  in.amount = m.payment.Amount();
  in.valueDate = m.payment.ValueDate();
  in.ticked = OpenInvoiceItems({m.invoice}, 0, m.decimals);
  in.decimals = m.decimals;
  Voucher v;
  v.header.date = m.payment.ValueDate();
  v.header.number = VoucherNumberOf(key);
  v.header.text = text::Cut(text::TrimTrailingBlanks(m.payment.Memo()), 50);
  v.header.reference = text::Cut(text::TrimTrailingBlanks(m.payment.EntryNumber()), 15);
  v.header.journal = m.journal;
  const std::vector<ProposedLine> lines = PaymentProposal(in);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    VoucherLine line;
    line.account = lines[i].account;
    line.text = lines[i].text;
    (lines[i].side == 'D' ? line.debit : line.credit) = lines[i].amount;
    // As the payment tab shows them: the bank line and the invoice lines read-only.
    line.readOnly = i == 0 || lines[i].paysInvoice;
    v.lines.push_back(std::move(line));
  }
  v.mode = EntryMode::Add;
  v.link = key;
  v.partner = VoucherPartner{key.partner, key.kind};
  return v;
}

namespace {

// What a run reads once: the partners' accounts, the open invoices and the
// GL accounts.
struct RunBooks {
  PartnerAccounts partners;
  std::vector<InvoiceRec> invoices;  // file order
  std::vector<AccountItem> accounts;
};

RunBooks ReadRunBooks(int decimals) {
  RunBooks books;
  books.partners = PartnerAccounts(store::ReadAll<PartnerRec>(store::FileCode::CUS),
                                   store::ReadAll<PartnerRec>(store::FileCode::SUP));
  for (InvoiceRec& inv : store::ReadAll<InvoiceRec>(store::FileCode::INV))
    if (InvoiceOwesPositive(inv, decimals)) books.invoices.push_back(std::move(inv));
  for (const auto& acc : store::ReadAll<records::LedgerAccountRec>(store::FileCode::GLA, store::kSmallFileLimit))
    books.accounts.push_back({text::TrimTrailingBlanks(acc.AccountNumber()), acc.Caption()});
  return books;
}

// Invoices by partner: kind and number.
using PartnerInvoices = std::map<std::pair<std::string, std::int32_t>, std::vector<std::size_t>>;

PartnerInvoices ByPartner(const std::vector<InvoiceRec>& invoices) {
  PartnerInvoices out;
  for (std::size_t i = 0; i < invoices.size(); ++i)
    out[{invoices[i].PartnerType(), invoices[i].PartnerNumber()}].push_back(i);
  return out;
}

// MatchingInvoice over a partner's open invoices, newest first, without
// copying them: the index of the invoice.
std::optional<std::size_t> OpenInvoiceOwing(const std::vector<InvoiceRec>& invoices, const PartnerInvoices& byPartner,
                                            const std::string& kind, std::int32_t partner, double amount) {
  const auto it = byPartner.find({kind, partner});
  if (it == byPartner.end()) return std::nullopt;
  for (auto i = it->second.rbegin(); i != it->second.rend(); ++i)
    if (OwesExactly(invoices[*i], amount)) return *i;
  return std::nullopt;
}

// The checks the Save button makes that the store does not: every account
// in the GL file, the date not in a closed period.
bool MaySave(const Voucher& v, const RunBooks& books, std::string_view lowestOpenDate) {
  if (CheckVoucher(v) != StoreOutcome::Done) return false;
  if (v.header.date < lowestOpenDate) return false;
  return std::all_of(v.lines.begin(), v.lines.end(),
                     [&](const VoucherLine& l) { return CaptionOf(books.accounts, l.account).has_value(); });
}

}  // namespace

namespace {

// What a batch does with one row, worked out before anything is written.
struct PlannedRow {
  PaymentRec payment;
  int paymentAt = 0;                           // its insert index in PAY as it is
  std::vector<JournalVoucherRec> voucher;      // empty: no voucher
  std::string voucherKey;
  int voucherAt = 0;                           // its insert index in JVO as it is
  PartnerSearch search = PartnerSearch::NotFound;
};

// What a batch reads under its lock: the place texts of PAY and the keys of
// JVO from the end back to the first record dated before the batch's
// earliest row (nothing before it can be the place of a row), every
// invoice, and the lowest open date of the settings as they are now.
struct BatchFiles {
  InsertPlaces payments;
  std::vector<std::int32_t> paymentNumbers;  // from index payments.First() on
  InsertPlaces vouchers;
  std::vector<InvoiceRec> invoices;
  std::string lowestOpen;
  std::int32_t PaymentNumber(int index) const {
    return paymentNumbers[static_cast<std::size_t>(index - payments.First())];
  }
};

BatchFiles ReadBatchFiles(const std::string& earliest) {
  BatchFiles f;
  // Every place text and key of a row starts with its date, so none is
  // below the earliest date.
  int first = 0;
  std::vector<std::string> texts = PlaceTextsFrom<PaymentRec>(
      store::FileCode::PAY, earliest,
      [&](const PaymentRec& r) {
        f.paymentNumbers.push_back(r.PaymentNumber());
        return PaymentPlaceText(r);
      },
      first);
  std::reverse(f.paymentNumbers.begin(), f.paymentNumbers.end());
  f.payments = InsertPlaces(std::move(texts), first);
  std::vector<std::string> keys = PlaceTextsFrom<JournalVoucherRec>(
      store::FileCode::JVO, earliest,
      [](const JournalVoucherRec& r) {
        std::string key(FieldView(r, JournalVoucherRec::kVoucherDate));
        key.append(FieldView(r, JournalVoucherRec::kBookNumber));
        return key;
      },
      first);
  f.vouchers = InsertPlaces(std::move(keys), first);
  f.invoices = store::ReadAll<InvoiceRec>(store::FileCode::INV);
  if (store::RecordCount(store::FileCode::ADS) >= 1) {
    records::AdminSettingsRec settings;
    store::ReadRecord(store::FileCode::ADS, 0, settings);
    f.lowestOpen = LowestOpenDate(settings, "");
  }
  return f;
}

// The index of the last invoice with `key` in the file as read.
std::optional<std::size_t> InvoiceIndex(const std::vector<InvoiceRec>& invoices, const PartnerInvoices& byPartner,
                                        const InvoiceKey& key) {
  const auto it = byPartner.find({key.kind, key.partner});
  if (it == byPartner.end()) return std::nullopt;
  for (auto i = it->second.rbegin(); i != it->second.rend(); ++i)
    if (HasInvoiceKey(invoices[*i], key)) return *i;
  return std::nullopt;
}

// The state a batch works on and hands back when it is stored.
struct BatchPlan {
  std::vector<PlannedRow> rows;
  std::map<std::size_t, InvoiceRec> paidInvoices;  // by index in INV
  std::vector<InvoiceRec> bookInvoices;            // the run's open invoices, paid ones raised
  PartnerInvoices bookByPartner;                   // of bookInvoices
  PartnerInvoices fileByPartner;                   // of the invoices as read under the lock
};

// Plans the voucher of a stored row whose partner was found (as SaveVoucher
// would store it): none when no open invoice owes the amount, the save's
// checks refuse it, or its key is taken.
void PlanVoucher(const ImportJob& job, const RunBooks& books, BatchFiles& files, BatchPlan& plan,
                 std::unordered_set<std::string>& keysInBatch, PlannedRow& row, const PartnerRec& partner,
                 const std::string& user, const std::string& now) {
  const PaymentRec& payment = row.payment;
  const auto owing =
      OpenInvoiceOwing(plan.bookInvoices, plan.bookByPartner, payment.PartnerType(), payment.PartnerNumber(), payment.Amount());
  if (!owing) return;
  InvoiceRec& invoice = plan.bookInvoices[*owing];
  Voucher v = ProposeImportVoucher({payment, partner, invoice, job.cashAccount, job.journal, job.decimals});
  for (VoucherLine& line : v.lines) line.caption = CaptionOf(books.accounts, line.account).value_or("");
  if (!MaySave(v, books, job.lowestOpenDate)) return;
  if (!files.lowestOpen.empty() && v.header.date < files.lowestOpen) return;
  const std::string key = VoucherKeyOf(v.header);
  if (keysInBatch.count(key) != 0 || !files.vouchers.SameTextRun(key).empty()) return;
  keysInBatch.insert(key);
  row.voucher = VoucherRecords(v, user, now);
  row.voucherKey = key;
  row.voucherAt = files.vouchers.After(key);
  row.payment.SetVoucherCreated(true);
  // The invoice's paid amount, in the file and in the run's own list.
  const InvoiceKey paid = InvoiceKeyOf(invoice);
  if (const auto at = InvoiceIndex(files.invoices, plan.fileByPartner, paid)) {
    auto [it, fresh] = plan.paidInvoices.try_emplace(*at, files.invoices[*at]);
    it->second.SetPaidAmount(it->second.PaidAmount() + payment.Amount());
  }
  // The invoice just paid, in the run's own list.
  invoice.SetPaidAmount(invoice.PaidAmount() + payment.Amount());
}

// The highest payment number of the run of equal place texts InsertPayment
// would look at, counting the batch's own payments before.
std::int32_t HighestNumber(const BatchFiles& files, std::map<std::string, std::int32_t>& highest,
                           const std::string& text) {
  auto it = highest.find(text);
  if (it == highest.end()) {
    std::int32_t h = 0;
    for (const int i : files.payments.SameTextRun(text)) h = std::max(h, files.PaymentNumber(i));
    it = highest.emplace(text, h).first;
  }
  return it->second;
}

BatchPlan PlanBatch(const ImportJob& job, const RunBooks& books, BatchFiles& files, int count) {
  BatchPlan plan;
  plan.bookInvoices = books.invoices;
  plan.bookByPartner = ByPartner(plan.bookInvoices);
  plan.fileByPartner = ByPartner(files.invoices);
  const std::string user = DocumentStampUser(), now = DocumentStampTime();
  const std::string voucherUser = text::Cut(text::SystemSettings.CurrentUser, 15);
  std::map<std::string, std::int32_t> highest;
  std::unordered_set<std::string> keysInBatch;
  keysInBatch.reserve(static_cast<std::size_t>(count));
  plan.rows.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const std::size_t index = static_cast<std::size_t>(job.stored + k);
    const ImportRow& row = job.rows[index];
    const auto entry = EntryNumberAt(job.prefix, job.counter, index);
    const PartnerAccounts::Answer partner = books.partners.Find(row.direction, row.counterparty);
    PlannedRow planned;
    planned.search = partner.search;
    planned.payment = ImportPayment(row, partner, entry.value_or(""));
    planned.payment.SetChangedBy(user);
    planned.payment.SetChangedAt(now);
    const std::string text = PaymentPlaceText(planned.payment);
    const std::int32_t number = HighestNumber(files, highest, text) + 1;
    highest[text] = number;
    planned.payment.SetPaymentNumber(number);
    planned.paymentAt = files.payments.After(text);
    if (partner.search == PartnerSearch::Found)
      PlanVoucher(job, books, files, plan, keysInBatch, planned, *partner.partner, voucherUser, now);
    plan.rows.push_back(std::move(planned));
  }
  return plan;
}

// The batch's records as one change of PAY, JVO and INV. New records at one
// insert index go in sorted by their place text (or key), in row order
// among equal ones: where one row after the other would have put them.
std::vector<store::FileChange> BatchChanges(const BatchPlan& plan) {
  std::vector<std::size_t> order(plan.rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<store::FileChange> changes(3);
  changes[0].code = store::FileCode::PAY;
  changes[1].code = store::FileCode::JVO;
  changes[2].code = store::FileCode::INV;
  std::vector<std::string> texts(plan.rows.size());
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = PaymentPlaceText(plan.rows[i].payment);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const PlannedRow &x = plan.rows[a], &y = plan.rows[b];
    return x.paymentAt != y.paymentAt ? x.paymentAt < y.paymentAt : texts[a] < texts[b];
  });
  // The sizes known up front: the records are copied once, never moved as
  // the blocks grow.
  std::size_t voucherRecords = 0;
  for (const PlannedRow& row : plan.rows) voucherRecords += row.voucher.size();
  changes[0].insertAt.reserve(plan.rows.size());
  changes[0].insertBytes.reserve(plan.rows.size() * PaymentRec::kSize);
  changes[1].insertAt.reserve(voucherRecords);
  changes[1].insertBytes.reserve(voucherRecords * JournalVoucherRec::kSize);
  for (const std::size_t i : order) {
    changes[0].insertAt.push_back(plan.rows[i].paymentAt);
    changes[0].insertBytes.append(reinterpret_cast<const char*>(plan.rows[i].payment.data()), PaymentRec::kSize);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const PlannedRow &x = plan.rows[a], &y = plan.rows[b];
    return x.voucherAt != y.voucherAt ? x.voucherAt < y.voucherAt : x.voucherKey < y.voucherKey;
  });
  for (const std::size_t i : order)
    for (const JournalVoucherRec& rec : plan.rows[i].voucher) {
      changes[1].insertAt.push_back(plan.rows[i].voucherAt);
      changes[1].insertBytes.append(reinterpret_cast<const char*>(rec.data()), JournalVoucherRec::kSize);
    }
  for (const auto& [at, rec] : plan.paidInvoices) {
    changes[2].overwriteAt.push_back(static_cast<int>(at));
    changes[2].overwriteBytes.append(reinterpret_cast<const char*>(rec.data()), InvoiceRec::kSize);
  }
  return changes;
}

// Stores the next `count` rows as one change: all of them or, on an error
// (raised), none. Counts them into `job` once they are stored.
RunResult StoreBatch(ImportJob& job, RunBooks& books, int count) {
  RunResult result;
  store::ScopedFileSet set("PAY;JVO;INV;ADS");
  if (!set.Ok()) {
    result = RunResult::Failed(set.Failure());
    result.value = job.rows[static_cast<std::size_t>(job.stored)].line;
    return result;
  }
  std::string earliest = job.rows[static_cast<std::size_t>(job.stored)].valueDate;
  for (int k = 1; k < count; ++k) earliest = std::min(earliest, job.rows[static_cast<std::size_t>(job.stored + k)].valueDate);
  BatchFiles files = ReadBatchFiles(earliest);
  BatchPlan plan = PlanBatch(job, books, files, count);
  store::ChangeTogether(BatchChanges(plan));
  set.Close();
  // Stored: from here on these rows are never stored again.
  for (const PlannedRow& row : plan.rows) {
    ++job.stored;
    if (row.search == PartnerSearch::Ambiguous) ++job.ambiguous;
    if (row.search == PartnerSearch::Refund) ++job.refunds;
    if (row.search == PartnerSearch::Found) ++job.found;
    if (!row.voucher.empty()) ++job.withVoucher;
  }
  books.invoices = std::move(plan.bookInvoices);
  return result;
}

}  // namespace

RunResult RunImport(ImportJob& job, const std::function<void(const ImportJob&)>& progress, int batchRows) {
  RunResult result;
  RunBooks books;
  {
    store::ScopedFileSet set("CUS;SUP;INV;GLA");
    if (!set.Ok()) {
      return RunResult::Failed(set.Failure());
    }
    books = ReadRunBooks(job.decimals);
    set.Close();
  }
  batchRows = std::max(1, batchRows);
  bool told = false;
  while (!job.Finished()) {
    const int left = static_cast<int>(job.rows.size()) - job.stored;
    const int count = std::min(left, batchRows);
    try {
      result = StoreBatch(job, books, count);
    } catch (const platform::IoError&) {
      // Nothing of the batch is stored. Its rows go one by one, so that the
      // rows before the one that fails are stored and the next run starts
      // at that row; the error of a single row is raised.
      if (count == 1) throw;
      for (int k = 0; k < count && result.outcome == RunOutcome::Done; ++k) result = StoreBatch(job, books, 1);
    }
    if (result.outcome != RunOutcome::Done) return result;
    if (progress) progress(job);
    told = true;
  }
  if (progress && !told) progress(job);
  return result;
}

std::array<std::string, 4> ImportResultLines(const ImportJob& job) {
  auto line = [](std::string label, int n) {
    if (label.size() < 24) label.append(24 - label.size(), ' ');
    return label + ": " + std::to_string(n);
  };
  return {
      line(text::BuiltInText(text::BuiltIn::ImportPayments), job.stored),
      line(text::BuiltInText(text::BuiltIn::CounterpartyFound), job.found),
      line(text::BuiltInText(text::BuiltIn::PaymentsWithJV), job.withVoucher),
      line(text::BuiltInText(text::BuiltIn::PaymentsWithoutJV),
           job.WithoutVoucher())};
}

}  // namespace books::journal
