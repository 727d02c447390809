#include "books/exchange/delimited.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <span>
#include <tuple>

#include "platform/cp1252.h"
#include "platform/numberformat.h"
#include "records/codec.h"
#include "store/recordscan.h"
#include "books/exchange/exportnumber.h"
#include "text/builtintext.h"
#include "text/textroutines.h"

namespace books::exchange {

namespace {

using records::InvoiceRec;
using records::JournalVoucherRec;
using records::LedgerAccountRec;
using records::LedgerCategoryRec;
using records::PartnerRec;
using records::PaymentRec;

// How a column carries its field.
enum class ColumnType {
  Text,
  DocumentNumber,  // a text read back without blanks at its ends
  Boolean,
  Integer,
  Double,
  LedgerAccount,   // a text; a leading "0" written as "#"
  VoucherAccount,  // as LedgerAccount, read back padded with blanks to 15
  Date,            // a text that must read as a day ("YYYYMMDD", IsValidYmd)
  DateOrEmpty,     // as Date, or empty
};

struct Column {
  ColumnType type;
  std::size_t offset;
  std::size_t capacity = 0;  // texts only
};

constexpr Column T(records::ShortString f) { return {ColumnType::Text, f.offset, f.capacity}; }
constexpr Column Number(records::ShortString f) { return {ColumnType::DocumentNumber, f.offset, f.capacity}; }
constexpr Column B(records::Boolean f) { return {ColumnType::Boolean, f.offset}; }
constexpr Column I(records::Int32 f) { return {ColumnType::Integer, f.offset}; }
constexpr Column D(records::Double f) { return {ColumnType::Double, f.offset}; }
constexpr Column Account(ColumnType type, records::ShortString f) { return {type, f.offset, f.capacity}; }
constexpr Column Day(records::ShortString f) { return {ColumnType::Date, f.offset, f.capacity}; }
constexpr Column DayOrEmpty(records::ShortString f) { return {ColumnType::DateOrEmpty, f.offset, f.capacity}; }

using P = PartnerRec;
constexpr Column kPartnerColumns[] = {
    T(P::kName), T(P::kCompanyName), I(P::kOurNumber), T(P::kSuspendedDate), T(P::kRelationshipType),
    T(P::kTheirNumber), T(P::kAddress), T(P::kProperty), T(P::kZipCode), T(P::kTown), T(P::kRegion),
    T(P::kCountry), T(P::kCorrCode), T(P::kCorrAddress), T(P::kCorrZipCode), T(P::kCorrTown),
    T(P::kCorrState), T(P::kCorrCountry), T(P::kTelephone), T(P::kFax), T(P::kEmail), T(P::kWebsite),
    T(P::kContact1Name), T(P::kContact1Phone), T(P::kContact1Text), T(P::kContact2Name),
    T(P::kContact2Phone), T(P::kContact2Text),  // the second contact's text after its phone
    T(P::kMemo), T(P::kBankAccountNumber), T(P::kBankAccountName), T(P::kTaxAccountNumber),
    T(P::kTaxVerificationDate), T(P::kBiFeature1), T(P::kBiFeature2), T(P::kFreeItem1), T(P::kFreeItem2),
    D(P::kCreditLimit), T(P::kPartnerGroup), T(P::kSalesCostGroup1), T(P::kSalesCostGroup2),
    T(P::kSalesCostGroup3), T(P::kVatGroup1), T(P::kVatGroup2), T(P::kCashDiscountAccount),
    I(P::kDiscountDays), D(P::kDiscountRate), I(P::kNetDays), D(P::kPenaltyRate), T(P::kChangedBy),
    T(P::kChangedAt),
};

using G = LedgerAccountRec;
// The sales-tax code comes before the account function; SecondAmount is
// not carried.
constexpr Column kLedgerAccountColumns[] = {
    Account(ColumnType::LedgerAccount, G::kAccountNumber), T(G::kCaption), T(G::kAccountType),
    T(G::kCategoryName), T(G::kLeadCode), T(G::kStartDate), D(G::kStartAmount), T(G::kEndDate),
    B(G::kIsCashOrBank), T(G::kJournalName), T(G::kSalesTaxCode), T(G::kAccountFunction), T(G::kChangedBy),
    T(G::kChangedAt),
};

using J = JournalVoucherRec;
constexpr Column kVoucherColumns[] = {
    Day(J::kVoucherDate), T(J::kBookNumber), T(J::kJournalName), T(J::kTransactionText), T(J::kLineText),
    Account(ColumnType::VoucherAccount, J::kAccountNumber), T(J::kAccountCaption), T(J::kCostCentre),
    T(J::kProjectDescription), T(J::kProductDescription), B(J::kInvoiceAttached), T(J::kPartnerType),
    I(J::kPartnerNumber), T(J::kInvoiceNumber), D(J::kDebitAmount), D(J::kCreditAmount), T(J::kDocumentId),
    T(J::kChangedBy), T(J::kChangedAt),
};

using N = InvoiceRec;
constexpr Column kInvoiceColumns[] = {
    DayOrEmpty(N::kInvoiceDate), Number(N::kInvoiceNumber), T(N::kPartnerType), I(N::kPartnerNumber),
    T(N::kEntryNumber), DayOrEmpty(N::kDiscountDate), DayOrEmpty(N::kDueDate), DayOrEmpty(N::kVoucherDate),
    D(N::kInvoiceAmount), D(N::kPaidAmount),
    D(N::kPrepaidAmount), T(N::kMemo), B(N::kVoucherCreated), T(N::kChangedBy), T(N::kChangedAt),
};

using Y = PaymentRec;
// The ascription is not carried.
constexpr Column kPaymentColumns[] = {
    DayOrEmpty(Y::kValueDate), T(Y::kBankAccount), I(Y::kPaymentNumber), T(Y::kEntryNumber), T(Y::kPartnerType),
    I(Y::kPartnerNumber), T(Y::kNarrative1), T(Y::kNarrative2), T(Y::kNarrative3), T(Y::kNarrative4),
    T(Y::kNarrative5), T(Y::kNarrative6), D(Y::kAmount), T(Y::kMemo), B(Y::kVoucherCreated),
    T(Y::kChangedBy), T(Y::kChangedAt),
};

using C = LedgerCategoryRec;
constexpr Column kCategoryColumns[] = {
    T(C::kCategoryKind), T(C::kCategoryName), T(C::kChangedBy), T(C::kChangedAt),
};

struct Format {
  const char* names;
  const char* marker;
  std::span<const Column> columns;
  store::FileCode file;
};

const Format& FormatOf(CsvKind kind) {
  static constexpr const char* kPartnerNames =
      "name;company name;our number;partner suspended date;relatinship type;their number;adress;property;"
      "zip code;town;region;country;corr. code;corr. adress;corr. zipcode;corr. town;corr. state;"
      "corr. country;telephone;fax;email;website;contact persoon1;telephone contact persoon1;text1;"
      "contact persoon 2;telephone contact person 2;text2;memo;bankaccount number;bankaccount name;"
      "taxaccount number;taxverification date;BI feature 1;BIfeature 2;Free item 1;Free item 2;creditlimit;"
      "partner group;salescostgroup 1;salescostgroup 2;salescostgroup 3;vatgroup1;vatgroup2;"
      "Cash discount GL account;discount days;discount rate;net days;penalty rate;userid;timestamp;";
  static const Format kFormats[] = {
      {kPartnerNames, "{***customerfile***}", kPartnerColumns, store::FileCode::CUS},
      {kPartnerNames, "{***supplierfile***}", kPartnerColumns, store::FileCode::SUP},
      {"number;caption;debit;category;lead;startdate;startamount;enddate;CahsBankBook;CashBankBookName;"
       "VATgroup;account directive;user;timstamp;journalname;",
       "{***GL accounts file***}", kLedgerAccountColumns, store::FileCode::GLA},
      {"JV date; booknumber;journalname;text transaction; text line;GL account number;GL account caption;"
       " costcentre; project description; product description;invoice attached;partnertype; partner number;"
       " invoicenumber;debit amount;credit amount;document ID;Userid; Timestamp;",
       "{***Journal Vouchers file***}", kVoucherColumns, store::FileCode::JVO},
      {"Invoice date; Invoice number; Partner Type; Partner Our Number;entrynumber; Net date; Due date;"
       "JV date; Invoice amount; Payed amount;Prepayed amount; memo; JV created; UserID; Timestamp;",
       "{***Invoice file***}", kInvoiceColumns, store::FileCode::INV},
      {"Value date;Bank account;number;Entrynumber;Partnertype;Partnerournumber;Narrative1;Narrative2;"
       "Narrative3;Narrative4;Narrative5;Narrative6;Amount;Memo;JV created;UserId ;Timestamp",
       "{***Payment file***}", kPaymentColumns, store::FileCode::PAY},
      {"P&L or BS;Category;UserId;Timestamp", "{***GL category file***}", kCategoryColumns, store::FileCode::GLC},
  };
  return kFormats[static_cast<int>(kind)];
}

// The header's name of column `column` (from 1), without blanks around it.
std::string ColumnName(CsvKind kind, int column) {
  std::string_view names = FormatOf(kind).names;
  for (int i = 1; i < column; ++i) {
    const std::size_t semi = names.find(';');
    if (semi == std::string_view::npos) return {};
    names.remove_prefix(semi + 1);
  }
  return text::TrimText(names.substr(0, names.find(';')));
}

// ---- Export ---------------------------------------------------------------

CsvExport ExportRecords(CsvKind kind, const std::uint8_t* first, std::size_t size, std::size_t count) {
  const Format& format = FormatOf(kind);
  const char separator = platform::DecimalSeparator();
  CsvExport out;
  out.lines.reserve(count + 1);
  out.lines.push_back(CsvHeaderLine(kind));
  std::string line;
  for (std::size_t r = 0; r < count; ++r) {
    const std::uint8_t* rec = first + r * size;
    line.clear();
    int column = 0;
    for (const Column& c : format.columns) {
      ++column;
      switch (c.type) {
        case ColumnType::Text:
        case ColumnType::Date:
        case ColumnType::DateOrEmpty:
        case ColumnType::DocumentNumber:
        case ColumnType::LedgerAccount:
        case ColumnType::VoucherAccount: {
          // The stored text (its length byte clamped to the field), straight
          // into the line.
          const std::size_t length = std::min<std::size_t>(rec[c.offset], c.capacity);
          const char* text = reinterpret_cast<const char*>(rec + c.offset + 1);
          const std::size_t start = line.size();
          line.append(text, length);
          bool changed = false;
          for (std::size_t i = start; i < line.size(); ++i) {
            if (line[i] == ';' || line[i] == '\r' || line[i] == '\n') {
              line[i] = ' ';
              changed = true;
            }
          }
          if (changed) ++out.changedValues;
          const bool account = c.type == ColumnType::LedgerAccount || c.type == ColumnType::VoucherAccount;
          if (account && length > 0 && line[start] == '0') line[start] = '#';
          break;
        }
        case ColumnType::Boolean:
          line += rec[c.offset] == 1 ? "true" : "false";
          break;
        case ColumnType::Integer:
          line += std::to_string(records::ReadInt32(rec + c.offset));
          break;
        case ColumnType::Double: {
          const auto text = FormatExportNumber(records::ReadDouble(rec + c.offset), separator);
          if (!text) {
            CsvExport refused;
            refused.refused = CsvBadValue{static_cast<int>(r) + 1, column, ColumnName(kind, column)};
            return refused;
          }
          line += *text;
          break;
        }
      }
      line += ';';
    }
    out.lines.push_back(line);
    ++out.records;
  }
  return out;
}

template <class R>
CsvExport ExportAll(CsvKind kind, const std::vector<R>& recs) {
  static_assert(sizeof(R) == R::kSize);
  return ExportRecords(kind, recs.empty() ? nullptr : recs.front().data(), R::kSize, recs.size());
}

// ---- Import ---------------------------------------------------------------

// The lines of `text` without their ends (CR LF or LF; a CR before the LF
// is dropped); no empty line after a last line end.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

// The fields of a line into `fields`, one per column (see the header
// comment).
void SplitFields(std::string_view line, std::size_t columns, std::vector<std::string_view>& fields) {
  fields.assign(columns, std::string_view());
  for (std::size_t k = 0; k + 1 < columns; ++k) {
    const std::size_t semi = line.find(';');
    if (semi == std::string_view::npos) continue;  // empty; the rest stays
    fields[k] = line.substr(0, semi);
    line.remove_prefix(semi + 1);
  }
  if (columns > 0) fields[columns - 1] = line.substr(0, line.find(';'));
}

// Fills the zeroed record `rec` from `fields`; the fault of the first field
// that does not read.
std::optional<CsvImportError> FillRecord(const Format& format, const std::vector<std::string_view>& fields,
                                         int lineNumber, char separator, std::uint8_t* rec) {
  for (std::size_t k = 0; k < format.columns.size(); ++k) {
    const Column& c = format.columns[k];
    const std::string_view field = fields[k];
    const auto fault = [&](CsvFault f) {
      return CsvImportError{f, {lineNumber}, static_cast<int>(k) + 1, std::string(field)};
    };
    switch (c.type) {
      case ColumnType::Text:
        records::WriteShortString(rec + c.offset, c.capacity, field);
        break;
      case ColumnType::Date:
      case ColumnType::DateOrEmpty:
        if (!text::IsValidYmd(field) && !(c.type == ColumnType::DateOrEmpty && field.empty()))
          return fault(CsvFault::BadDate);
        records::WriteShortString(rec + c.offset, c.capacity, field);
        break;
      case ColumnType::DocumentNumber:
        // Trimmed before it is cut, as the invoice tab stores a number.
        records::WriteShortString(rec + c.offset, c.capacity, text::TrimText(field));
        break;
      case ColumnType::LedgerAccount: {
        std::string text(field);
        if (!text.empty() && text[0] == '#') text[0] = '0';
        records::WriteShortString(rec + c.offset, c.capacity, text);
        break;
      }
      case ColumnType::VoucherAccount: {
        // Filled out with 15 blanks, then cut to the field.
        std::string text(field.substr(0, c.capacity));
        text.append(std::min<std::size_t>(15, c.capacity - text.size()), ' ');
        if (!text.empty() && text[0] == '#') text[0] = '0';
        records::WriteShortString(rec + c.offset, c.capacity, text);
        break;
      }
      case ColumnType::Boolean:
        rec[c.offset] = field == "true" ? 1 : 0;
        break;
      case ColumnType::Integer: {
        const auto v = ReadExportInteger(field);
        if (!v) return fault(CsvFault::BadInteger);
        records::WriteInt32(rec + c.offset, *v);
        break;
      }
      case ColumnType::Double: {
        const auto v = ReadExportNumber(field, separator);
        if (!v) return fault(CsvFault::BadNumber);
        records::WriteDouble(rec + c.offset, *v);
        break;
      }
    }
  }
  return std::nullopt;
}

// The first character of a record line (the header's are never stored)
// that the code page lacks: its line, its column (from 1, counting the ";"
// before it) and the value around it, with "?" in its place.
std::optional<CsvImportError> FirstLostCharacter(const cp1252::DecodedText& decoded,
                                                 const std::vector<std::string_view>& lines) {
  const char* base = decoded.text.data();
  const auto startOf = [base](std::string_view line) { return static_cast<std::size_t>(line.data() - base); };
  for (std::size_t offset : decoded.lost) {
    // The last line starting at or before the offset (the lines are in text order).
    const auto after = std::upper_bound(lines.begin(), lines.end(), offset,
                                        [&](std::size_t o, std::string_view line) { return o < startOf(line); });
    if (after == lines.begin()) continue;
    const std::size_t i = static_cast<std::size_t>(after - lines.begin()) - 1;
    const std::string_view line = lines[i];
    const std::size_t at = offset - startOf(line);
    if (i == 0 || at >= line.size()) continue;  // the header, or a line end
    const std::size_t from = line.rfind(';', at) == std::string_view::npos ? 0 : line.rfind(';', at) + 1;
    const std::size_t to = std::min(line.find(';', at), line.size());
    const int column = static_cast<int>(std::count(line.begin(), line.begin() + static_cast<long>(at), ';')) + 1;
    return CsvImportError{CsvFault::LostCharacter, {static_cast<int>(i) + 1}, column,
                          std::string(line.substr(from, to - from))};
  }
  return std::nullopt;
}

// The records of `text`, read and checked field by field, each with its
// line number. Header-only: no records, no error.
template <class R>
struct Parsed {
  std::vector<R> records;
  std::vector<int> lineNumbers;
  std::optional<CsvImportError> error;
};

template <class R>
Parsed<R> ParseRecords(CsvKind kind, std::string_view bytes) {
  const Format& format = FormatOf(kind);
  Parsed<R> out;
  // A plain ASCII text is read where it stands; any other is decoded.
  cp1252::DecodedText decoded;
  std::string_view text = bytes;
  if (!cp1252::IsAscii(bytes)) {
    decoded = cp1252::DecodeTextFile(bytes);
    text = decoded.text;
  }
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || lines[0].find(format.marker) == std::string_view::npos) {
    out.error = CsvImportError{CsvFault::NoMarker, {1}, 0, {}};
    return out;
  }
  if (auto lost = FirstLostCharacter(decoded, lines)) {
    out.error = std::move(lost);
    return out;
  }
  const char separator = platform::DecimalSeparator();
  // Each record is made empty and filled while it is in the cache.
  out.records.reserve(lines.size() - 1);
  out.lineNumbers.reserve(lines.size() - 1);
  std::vector<std::string_view> fields;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    SplitFields(lines[i], format.columns.size(), fields);
    if (auto error = FillRecord(format, fields, lineNumber, separator, out.records.emplace_back().data())) {
      out.records.clear();
      out.lineNumbers.clear();
      out.error = std::move(error);
      return out;
    }
    out.lineNumbers.push_back(lineNumber);
  }
  return out;
}

// The first two records (in text order) whose keys are equal: their lines.
template <class R, class KeyOf>
std::optional<CsvImportError> FindDuplicate(const Parsed<R>& parsed, KeyOf keyOf) {
  using Key = decltype(keyOf(parsed.records.front()));
  std::map<Key, int> seen;
  for (std::size_t i = 0; i < parsed.records.size(); ++i) {
    const auto [it, fresh] = seen.emplace(keyOf(parsed.records[i]), parsed.lineNumbers[i]);
    if (!fresh) return CsvImportError{CsvFault::DuplicateKey, {it->second, parsed.lineNumbers[i]}, 0, {}};
  }
  return std::nullopt;
}

// The records sorted stably by the byte order of their key texts.
template <class R, class KeyOf>
std::vector<R> SortedBy(std::vector<R> recs, KeyOf keyOf) {
  std::vector<std::string> keys;
  keys.reserve(recs.size());
  for (const R& r : recs) keys.push_back(keyOf(r));
  const auto before = [](const std::string& a, const std::string& b) { return cp1252::CompareOrdinal(a, b) < 0; };
  if (std::is_sorted(keys.begin(), keys.end(), before)) return recs;  // the usual case: an export's order
  std::vector<std::size_t> order(recs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return before(keys[a], keys[b]); });
  // The records moved into that order in place, cycle by cycle: place k
  // takes the record at order[k]; a place done is marked by its own index.
  for (std::size_t start = 0; start < recs.size(); ++start) {
    if (order[start] == start) continue;
    const R first = recs[start];
    std::size_t k = start;
    while (order[k] != start) {
      const std::size_t from = order[k];
      recs[k] = recs[from];
      order[k] = k;
      k = from;
    }
    recs[k] = first;
    order[k] = k;
  }
  return recs;
}

template <class R>
CsvImport<R> Refused(CsvImportError error) {
  CsvImport<R> out;
  out.error = std::move(error);
  return out;
}

template <class R>
CsvImport<R> Accepted(std::vector<R> recs) {
  CsvImport<R> out;
  out.lines = static_cast<int>(recs.size());
  out.records = std::move(recs);
  return out;
}

char TypeCode(const LedgerAccountRec& a) {
  const std::string type = a.AccountType();
  return type.empty() ? ' ' : cp1252::ToUpper(type[0]);
}

}  // namespace

// ---- Public ---------------------------------------------------------------

store::FileCode CsvDataFile(CsvKind kind) { return FormatOf(kind).file; }
std::string_view CsvMarker(CsvKind kind) { return FormatOf(kind).marker; }
std::string CsvHeaderLine(CsvKind kind) { return std::string(FormatOf(kind).names) + FormatOf(kind).marker; }
int CsvColumnCount(CsvKind kind) { return static_cast<int>(FormatOf(kind).columns.size()); }

CsvExport ExportPartners(const std::vector<PartnerRec>& partners, bool customers) {
  return ExportAll(customers ? CsvKind::Customers : CsvKind::Suppliers, partners);
}
CsvExport ExportLedgerAccounts(const std::vector<LedgerAccountRec>& accounts) {
  return ExportAll(CsvKind::LedgerAccounts, accounts);
}
CsvExport ExportJournalVouchers(const std::vector<JournalVoucherRec>& lines) {
  return ExportAll(CsvKind::JournalVouchers, lines);
}
CsvExport ExportInvoices(const std::vector<InvoiceRec>& invoices) { return ExportAll(CsvKind::Invoices, invoices); }
CsvExport ExportPayments(const std::vector<PaymentRec>& payments) { return ExportAll(CsvKind::Payments, payments); }
CsvExport ExportLedgerCategories(const std::vector<LedgerCategoryRec>& categories) {
  return ExportAll(CsvKind::LedgerCategories, categories);
}

std::string CsvFileText(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& l : lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

CsvImport<PartnerRec> ImportPartners(std::string_view text, bool customers) {
  auto parsed = ParseRecords<PartnerRec>(customers ? CsvKind::Customers : CsvKind::Suppliers, text);
  if (parsed.error) return Refused<PartnerRec>(*parsed.error);
  if (auto dup = FindDuplicate(parsed, [](const PartnerRec& p) { return p.OurNumber(); }))
    return Refused<PartnerRec>(*dup);
  return Accepted(std::move(parsed.records));
}

CsvImport<LedgerAccountRec> ImportLedgerAccounts(std::string_view text) {
  auto parsed = ParseRecords<LedgerAccountRec>(CsvKind::LedgerAccounts, text);
  if (parsed.error) return Refused<LedgerAccountRec>(*parsed.error);
  // Compared as the audit file compares them: without blanks at either end.
  if (auto dup = FindDuplicate(parsed, [](const LedgerAccountRec& a) { return text::TrimText(a.AccountNumber()); }))
    return Refused<LedgerAccountRec>(*dup);
  if (parsed.records.size() > static_cast<std::size_t>(kMaxLedgerAccounts))
    return Refused<LedgerAccountRec>(
        {CsvFault::TooManyAccounts, {}, 0, std::to_string(parsed.records.size())});
  for (const auto& [code, fault] : {std::pair{'P', CsvFault::SecondProfitAccount},
                                    std::pair{'T', CsvFault::SecondTransferAccount}}) {
    std::vector<int> lines;
    for (std::size_t i = 0; i < parsed.records.size(); ++i)
      if (TypeCode(parsed.records[i]) == code) lines.push_back(parsed.lineNumbers[i]);
    if (lines.size() > 1) return Refused<LedgerAccountRec>({fault, lines, 3, std::string(1, code)});
  }
  return Accepted(SortedBy(std::move(parsed.records), [](const LedgerAccountRec& a) { return a.AccountNumber(); }));
}

CsvImport<JournalVoucherRec> ImportJournalVouchers(std::string_view text, std::string_view lowestOpenDate) {
  auto parsed = ParseRecords<JournalVoucherRec>(CsvKind::JournalVouchers, text);
  if (parsed.error) return Refused<JournalVoucherRec>(*parsed.error);
  auto out = Accepted(SortedBy(std::move(parsed.records), [](const JournalVoucherRec& j) {
    std::string key(store::FieldView(j, J::kVoucherDate));
    key += store::FieldView(j, J::kBookNumber);
    return key;
  }));
  out.linesBeforeOpenDate = VoucherLinesBefore(out.records, lowestOpenDate);
  return out;
}

CsvImport<InvoiceRec> ImportInvoices(std::string_view text) {
  auto parsed = ParseRecords<InvoiceRec>(CsvKind::Invoices, text);
  if (parsed.error) return Refused<InvoiceRec>(*parsed.error);
  if (auto dup = FindDuplicate(parsed, [](const InvoiceRec& v) {
        return std::tuple(v.VoucherDate(), v.PartnerType(), v.PartnerNumber(), v.InvoiceNumber());
      }))
    return Refused<InvoiceRec>(*dup);
  return Accepted(SortedBy(std::move(parsed.records), [](const InvoiceRec& v) {
    return v.VoucherDate() + v.PartnerType() + std::to_string(v.PartnerNumber()) + v.InvoiceNumber();
  }));
}

CsvImport<PaymentRec> ImportPayments(std::string_view text) {
  auto parsed = ParseRecords<PaymentRec>(CsvKind::Payments, text);
  if (parsed.error) return Refused<PaymentRec>(*parsed.error);
  if (auto dup = FindDuplicate(parsed, [](const PaymentRec& p) {
        return std::tuple(p.ValueDate(), p.PartnerType(), p.PartnerNumber(), p.PaymentNumber());
      }))
    return Refused<PaymentRec>(*dup);
  return Accepted(SortedBy(std::move(parsed.records), [](const PaymentRec& p) {
    return p.ValueDate() + p.PartnerType() + std::to_string(p.PartnerNumber());
  }));
}

CsvImport<LedgerCategoryRec> ImportLedgerCategories(std::string_view text) {
  auto parsed = ParseRecords<LedgerCategoryRec>(CsvKind::LedgerCategories, text);
  if (parsed.error) return Refused<LedgerCategoryRec>(*parsed.error);
  for (std::size_t i = 0; i < parsed.records.size(); ++i) {
    const std::string kind = parsed.records[i].CategoryKind();
    if (kind != records::kBalanceSheetKind && kind != records::kProfitAndLossKind)
      return Refused<LedgerCategoryRec>({CsvFault::UnknownCategoryKind, {parsed.lineNumbers[i]}, 1, kind});
  }
  if (auto dup = FindDuplicate(parsed, [](const LedgerCategoryRec& c) { return c.CategoryName(); }))
    return Refused<LedgerCategoryRec>(*dup);
  return Accepted(std::move(parsed.records));
}

int VoucherLinesBefore(const std::vector<JournalVoucherRec>& lines, std::string_view date) {
  if (date.empty()) return 0;
  int n = 0;
  for (const JournalVoucherRec& j : lines)
    if (cp1252::CompareOrdinal(j.VoucherDate(), date) < 0) ++n;
  return n;
}

std::string CsvImportErrorText(const CsvImportError& error) {
  std::string lines;
  for (int l : error.lines) lines += (lines.empty() ? "" : ", ") + std::to_string(l);
  const std::string where = text::BuiltInText(text::BuiltIn::CsvLines, {lines});
  const std::string column =
      error.column > 0 ? text::BuiltInText(text::BuiltIn::CsvColumn, {std::to_string(error.column)}) : "";
  const std::string value = ": \"" + error.value + "\"";
  switch (error.fault) {
    case CsvFault::NoMarker:
      return text::BuiltInText(text::BuiltIn::NoMarker);
    case CsvFault::BadInteger:
      return text::BuiltInText(text::BuiltIn::BadInteger, {where + column}) + value;
    case CsvFault::BadNumber:
      return text::BuiltInText(text::BuiltIn::BadNumber, {where + column}) + value;
    case CsvFault::BadDate:
      return text::BuiltInText(text::BuiltIn::BadDate, {where + column}) + value;
    case CsvFault::LostCharacter:
      return text::BuiltInText(text::BuiltIn::LostCharacter, {where + column}) + value;
    case CsvFault::DuplicateKey:
      return text::BuiltInText(text::BuiltIn::DuplicateKey, {lines});
    case CsvFault::TooManyAccounts:
      return text::BuiltInText(text::BuiltIn::CsvTooManyAccounts, {error.value});
    case CsvFault::SecondProfitAccount:
    case CsvFault::SecondTransferAccount:
      return text::BuiltInText(text::BuiltIn::SecondSpecialAccount, {lines, error.value});
    case CsvFault::UnknownCategoryKind:
      return text::BuiltInText(text::BuiltIn::UnknownCategoryKind, {where + column}) + value;
  }
  return {};
}

std::string CsvBadValueText(const CsvBadValue& bad) {
  return text::BuiltInText(text::BuiltIn::CsvBadValueText,
                           {std::to_string(bad.record), std::to_string(bad.column), bad.columnName});
}

}  // namespace books::exchange
