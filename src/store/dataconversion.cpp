#include "store/dataconversion.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "platform/cp1252.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/filecopy.h"
#include "platform/filesystem.h"
#include "platform/oserror.h"
#include "records/adminsettingsrec.h"
#include "records/adminsettingsrecv1.h"
#include "records/freezerec.h"
#include "records/freezerecv1.h"
#include "records/invoicerec.h"
#include "records/invoicerecv1.h"
#include "records/journalvoucherrec.h"
#include "records/journalvoucherrecv1.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgeraccountrecv1.h"
#include "records/ledgercategoryrec.h"
#include "records/ledgercategoryrecv1.h"
#include "records/partnerrec.h"
#include "records/partnerrecv1.h"
#include "records/paymentrec.h"
#include "records/paymentrecv1.h"
#include "records/releaseflagrec.h"
#include "store/adminsettingsload.h"

namespace store {

using store::FileCode;

const std::vector<Conversion>& Conversions() {
  static const std::vector<Conversion> table = {
      {"001", FileCode::INV, 176, 224},    {"002", FileCode::PAY, 504, 584},    {"003", FileCode::GLA, 184, 376},
      {"004", FileCode::GLC, 94, 134},     {"005", FileCode::JVO, 208, 392},    {"006", FileCode::CUS, 1176, 1624},
      {"006", FileCode::SUP, 1176, 1624},  {"007", FileCode::ADS, 746, 1386},   {"008", FileCode::FRZ, 24080, 64080},
      {"009", FileCode::INV, 192, 224},    {"010", FileCode::PAY, 520, 584},    {"011", FileCode::INV, 216, 224},
  };
  return table;
}

std::vector<std::string> MissingConversionCodes(const std::vector<std::string>& recorded) {
  std::vector<std::string> missing;
  for (const char* code : kConversionCodes)
    if (std::find(recorded.begin(), recorded.end(), code) == recorded.end()) missing.emplace_back(code);
  return missing;
}

namespace {

// The conversions of `file` from `code` on, in order.
std::vector<Conversion> ChainFrom(FileCode file, std::string_view code) {
  std::vector<Conversion> chain;
  for (const Conversion& c : Conversions())
    if (c.file == file && std::string_view(c.code) >= code) chain.push_back(c);
  return chain;
}

}  // namespace

namespace {

// A date field of a layout: where its short string starts, and whether an
// empty text is allowed there.
struct DateField {
  std::size_t offset;
  bool mayBeEmpty;
};

// The date fields of the layout of `file` with `recordSize` bytes a record.
std::vector<DateField> DateFieldsOf(FileCode file, int recordSize) {
  using namespace records;
  switch (file) {
    case FileCode::INV:
      // The invoice date is always set; the discount, due and voucher dates
      // may be empty.
      if (recordSize == InvoiceRecV1::kSize)
        return {{InvoiceRecV1::kInvoiceDate.offset, false}, {InvoiceRecV1::kDiscountDate.offset, true},
                {InvoiceRecV1::kDueDate.offset, true}, {InvoiceRecV1::kVoucherDate.offset, true}};
      // The later layouts keep them at today's places.
      return {{InvoiceRec::kInvoiceDate.offset, false}, {InvoiceRec::kDiscountDate.offset, true},
              {InvoiceRec::kDueDate.offset, true}, {InvoiceRec::kVoucherDate.offset, true}};
    case FileCode::PAY:
      return {{PaymentRec::kValueDate.offset, false}};  // at 0 in every layout
    case FileCode::JVO:
      return {{JournalVoucherRec::kVoucherDate.offset, false}};  // at 0 in both layouts
    case FileCode::GLA:
      if (recordSize == LedgerAccountRecV1::kSize)
        return {{LedgerAccountRecV1::kStartDate.offset, true}, {LedgerAccountRecV1::kEndDate.offset, true}};
      return {{LedgerAccountRec::kStartDate.offset, true}, {LedgerAccountRec::kEndDate.offset, true}};
    case FileCode::CUS:
    case FileCode::SUP:
      if (recordSize == PartnerRecV1::kSize) return {{PartnerRecV1::kSuspendedDate.offset, true}};
      return {{PartnerRec::kSuspendedDate.offset, true}, {PartnerRec::kTaxVerificationDate.offset, true}};
    case FileCode::ADS:
      if (recordSize == AdminSettingsRecV1::kSize)
        return {{AdminSettingsRecV1::kBookYearStart.offset, true}, {AdminSettingsRecV1::kBookYearEnd.offset, true}};
      return {{AdminSettingsRec::kBookYearStart.offset, true}, {AdminSettingsRec::kBookYearEnd.offset, true}};
    case FileCode::FRZ:
      // The same places in both layouts.
      return {{FreezeRec::kPeriodEndDate.offset, false},
              {FreezeRec::kPeriodStartDate.offset, false},
              {FreezeRec::kYearBaseDate.offset, true}};
    default:
      return {};  // the GL categories hold no date
  }
}

// Eight digits naming a day of the years 1900 to 2200.
bool IsDateText(const unsigned char* p) {
  int value[3] = {0, 0, 0};
  for (int i = 0; i < 8; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
    int& part = value[i < 4 ? 0 : i < 6 ? 1 : 2];
    part = part * 10 + (p[i] - '0');
  }
  const int year = value[0], month = value[1], day = value[2];
  if (year < 1900 || year > 2200 || month < 1 || month > 12) return false;
  return day >= 1 && day <= platform::DaysInMonth(year, month);
}

}  // namespace

bool ReadsAsDates(FileCode file, int recordSize, std::string_view bytes) {
  if (recordSize <= 0) return false;
  const std::vector<DateField> fields = DateFieldsOf(file, recordSize);
  const std::size_t size = static_cast<std::size_t>(recordSize);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t at = 0; at + size <= bytes.size(); at += size) {
    for (const DateField& f : fields) {
      const unsigned char* p = data + at + f.offset;
      if (p[0] == 0 && f.mayBeEmpty) continue;
      if (p[0] != 8 || !IsDateText(p + 1)) return false;
    }
  }
  return true;
}

FilePlan PlanFor(FileCode file, std::string_view code, std::string_view bytes) {
  const std::uint64_t size = bytes.size();
  if (size == 0) return {FilePlan::Empty, std::string(code)};
  const std::vector<Conversion> chain = ChainFrom(file, code);
  // Every layout the size fits, as the plan it would give.
  struct Fit {
    LayoutReading reading;
    FilePlan plan;
  };
  std::vector<Fit> fits;
  for (const Conversion& c : chain)
    if (size % static_cast<std::uint64_t>(c.oldSize) == 0)
      fits.push_back({{c.oldSize, size / static_cast<std::uint64_t>(c.oldSize), false}, {FilePlan::Convert, c.code}});
  const int today = chain.empty() ? store::FileInfo(file).recordSize : chain.front().newSize;
  if (chain.empty() || size % static_cast<std::uint64_t>(today) == 0)
    fits.push_back({{today, size / static_cast<std::uint64_t>(today), true}, {FilePlan::Current, std::string(code)}});
  if (fits.size() == 1) return fits.front().plan;
  if (fits.empty()) {
    // No layout fits: the expected one, without the partial last record.
    return {FilePlan::Convert, std::string(code), size % static_cast<std::uint64_t>(chain.front().oldSize)};
  }
  // Several fit: the one whose dates read as dates, when it is the only one.
  const Fit* found = nullptr;
  int dated = 0;
  for (const Fit& f : fits)
    if (ReadsAsDates(file, f.reading.recordSize, bytes)) {
      found = &f;
      ++dated;
    }
  if (dated == 1) return found->plan;
  FilePlan undecided{FilePlan::Undecided, std::string(code)};
  for (const Fit& f : fits) undecided.readings.push_back(f.reading);
  return undecided;
}

std::vector<std::string> CodesDoneWith(FileCode file, std::string_view code) {
  std::vector<std::string> codes;
  for (const Conversion& c : ChainFrom(file, code)) codes.emplace_back(c.code);
  if (codes.empty()) codes.emplace_back(code);
  return codes;
}

std::string BackupName(std::string_view fileName, std::string_view code) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return std::string(fileName) + std::string(code);
  return std::string(fileName.substr(0, dot)) + std::string(code) + std::string(fileName.substr(dot));
}

// ---------------------------------------------------------------------------
// The record mappings. Each builds a new record from zero bytes, so every
// field it does not set is empty or zero.

namespace {

// Field f of the old record into field f (or `to`) of the new one; strings
// are cut to the new field's room.
#define SAME(f) n.template Set<N::f>(o.template Get<O::f>())
#define FROM(to, from) n.template Set<N::to>(o.template Get<O::from>())

// Whether the `capacity`-character short string at `at` of `rec` holds a
// text: a length of 1 to `capacity` and no control character in it. Bytes
// an older release left unused (zeros, or whatever the buffer held) do not.
template <class R>
bool HoldsText(const R& rec, std::size_t at, std::size_t capacity) {
  const auto* p = reinterpret_cast<const unsigned char*>(rec.data()) + at;
  if (p[0] == 0 || p[0] > capacity) return false;
  for (std::size_t i = 1; i <= p[0]; ++i)
    if (p[i] < 0x20 || p[i] == 0x7F) return false;
  return true;
}

// The 192- and 216-byte invoices have room for the entry number where
// today's record keeps it: a text found there is carried over; else the
// entry number is the invoice number, cut.
template <class O>
void InvoiceEntryNumber(const O& o, records::InvoiceRec& n) {
  using N = records::InvoiceRec;
  if (!HoldsText(o, O::kEntryNumber.offset, O::kEntryNumber.capacity)) return;
  // The invoice number put there first leaves no byte behind.
  std::memset(n.data() + N::kEntryNumber.offset, 0, N::kEntryNumber.Size());
  SAME(kEntryNumber);
}

// 001, 009 and 011 share the head of the record.
template <class O>
void InvoiceHead(const O& o, records::InvoiceRec& n) {
  using N = records::InvoiceRec;
  SAME(kInvoiceDate);
  SAME(kInvoiceNumber);
  SAME(kPartnerType);
  SAME(kPartnerNumber);
  FROM(kEntryNumber, kInvoiceNumber);
  SAME(kDiscountDate);
  SAME(kDueDate);
  SAME(kVoucherDate);
  SAME(kInvoiceAmount);
  SAME(kPaidAmount);
  SAME(kMemo);
  SAME(kVoucherCreated);
}

void Map(const records::InvoiceRecV1& o, records::InvoiceRec& n, FileCode) { InvoiceHead(o, n); }
void Map(const records::InvoiceRecV2& o, records::InvoiceRec& n, FileCode) {
  InvoiceHead(o, n);
  InvoiceEntryNumber(o, n);
}
void Map(const records::InvoiceRecV3& o, records::InvoiceRec& n, FileCode) {
  using N = records::InvoiceRec;
  using O = records::InvoiceRecV3;
  InvoiceHead(o, n);
  InvoiceEntryNumber(o, n);
  SAME(kChangedBy);
  SAME(kChangedAt);
}

template <class O>
void MapPayment(const O& o, records::PaymentRec& n) {
  using N = records::PaymentRec;
  SAME(kValueDate);
  SAME(kBankAccount);
  SAME(kPaymentNumber);
  SAME(kPartnerType);
  SAME(kPartnerNumber);
  SAME(kNarrative1);
  SAME(kNarrative2);
  SAME(kNarrative3);
  SAME(kNarrative4);
  SAME(kNarrative5);
  SAME(kNarrative6);
  SAME(kAmount);
  SAME(kMemo);
  SAME(kVoucherCreated);
}
void Map(const records::PaymentRecV1& o, records::PaymentRec& n, FileCode) { MapPayment(o, n); }
void Map(const records::PaymentRecV2& o, records::PaymentRec& n, FileCode) {
  using N = records::PaymentRec;
  using O = records::PaymentRecV2;
  MapPayment(o, n);
  // Room for the entry number where today's record keeps it, as with the
  // invoices; else it stays empty.
  if (HoldsText(o, O::kEntryNumber.offset, O::kEntryNumber.capacity)) SAME(kEntryNumber);
}

void Map(const records::LedgerAccountRecV1& o, records::LedgerAccountRec& n, FileCode) {
  using N = records::LedgerAccountRec;
  using O = records::LedgerAccountRecV1;
  SAME(kAccountNumber);
  SAME(kCaption);
  SAME(kAccountType);
  SAME(kCategoryName);
  SAME(kStartDate);
  SAME(kStartAmount);
  SAME(kEndDate);
  SAME(kSecondAmount);
  SAME(kIsCashOrBank);
  SAME(kSalesTaxCode);
  SAME(kChangedBy);
  SAME(kChangedAt);
  // A cash or bank account is its own journal, under its caption.
  if (o.Get<O::kIsCashOrBank>()) FROM(kJournalName, kCaption);
}

void Map(const records::LedgerCategoryRecV1& o, records::LedgerCategoryRec& n, FileCode) {
  using N = records::LedgerCategoryRec;
  using O = records::LedgerCategoryRecV1;
  SAME(kCategoryKind);
  SAME(kCategoryName);
  SAME(kChangedBy);
  SAME(kChangedAt);
}

void Map(const records::JournalVoucherRecV1& o, records::JournalVoucherRec& n, FileCode) {
  using N = records::JournalVoucherRec;
  using O = records::JournalVoucherRecV1;
  SAME(kVoucherDate);
  SAME(kBookNumber);
  SAME(kLineText);
  SAME(kAccountNumber);
  SAME(kAccountCaption);
  SAME(kCostCentre);
  SAME(kInvoiceAttached);
  SAME(kPartnerType);
  SAME(kPartnerNumber);
  SAME(kInvoiceNumber);
  SAME(kDebitAmount);
  SAME(kCreditAmount);
}

void Map(const records::PartnerRecV1& o, records::PartnerRec& n, FileCode file) {
  using N = records::PartnerRec;
  using O = records::PartnerRecV1;
  SAME(kName);
  FROM(kCompanyName, kName);
  SAME(kOurNumber);
  SAME(kSuspendedDate);
  SAME(kRelationshipType);
  SAME(kTheirNumber);
  SAME(kAddress);
  // The old record had no property field; a supplier's name stands in it.
  if (file == FileCode::SUP) FROM(kProperty, kName);
  SAME(kZipCode);
  SAME(kTown);
  SAME(kRegion);
  SAME(kCountry);
  SAME(kCorrCode);
  SAME(kCorrAddress);
  SAME(kCorrZipCode);
  SAME(kCorrTown);
  FROM(kCorrState, kRegion);
  FROM(kCorrCountry, kCountry);
  SAME(kTelephone);
  SAME(kFax);
  SAME(kEmail);
  SAME(kWebsite);
  SAME(kContact1Name);
  SAME(kContact1Phone);
  SAME(kContact1Text);
  SAME(kContact2Text);
  SAME(kContact2Name);
  SAME(kContact2Phone);
  SAME(kMemo);
  SAME(kBankAccountNumber);
  SAME(kBankAccountName);
  SAME(kTaxAccountNumber);
  SAME(kBiFeature1);
  SAME(kBiFeature2);
  SAME(kFreeItem1);
  SAME(kFreeItem2);
  SAME(kCreditLimit);
  SAME(kPartnerGroup);
  SAME(kSalesCostGroup1);
  SAME(kSalesCostGroup2);
  SAME(kVatGroup1);
  SAME(kVatGroup2);
  SAME(kCashDiscountAccount);
  SAME(kDiscountDays);
  SAME(kDiscountRate);
  SAME(kNetDays);
  SAME(kPenaltyRate);
}

void Map(const records::AdminSettingsRecV1& o, records::AdminSettingsRec& n, FileCode) {
  using N = records::AdminSettingsRec;
  using O = records::AdminSettingsRecV1;
  FROM(kCompanyShortName, kCompanyName);
  SAME(kCompanyName);
  SAME(kAddress);
  SAME(kZipCode);
  SAME(kTown);
  SAME(kState);
  SAME(kCountry);
  SAME(kTelephone);
  SAME(kFax);
  SAME(kEmail);
  SAME(kWebsite);
  SAME(kExtraItem2);
  SAME(kChangedAt);
  SAME(kChangedBy);
  SAME(kExtraItem1);
  SAME(kCompanyRegistration);
  SAME(kProfitAccountCaption);
  SAME(kProfitAccountNumber);
  SAME(kBookYearStart);
  SAME(kBookYearEnd);
  SAME(kNoSalesTaxAccounts);
  SAME(kPeriodCount);
  for (int k = 1; k <= O::kPeriodStartCount; ++k) n.SetPeriodStart(k, o.PeriodStart(k));
  SAME(kApprovedAnnualBalance);
  SAME(kLastClosedPeriod);
  SAME(kCurrentAnnualBalance);
  SAME(kCurrentPeriod);
  // The old record held no journals: the ones a new administration starts
  // with, in one journal per kind.
  n.SetSalesBookName(DefaultJournalNames[0]);
  n.SetPurchaseBookName(DefaultJournalNames[1]);
  n.SetDayBookName(DefaultJournalNames[2]);
  n.SetSplitJournals("true");
}

void Map(const records::FreezeRecV1& o, records::FreezeRec& n, FileCode) {
  using N = records::FreezeRec;
  using O = records::FreezeRecV1;
  SAME(kPeriodEndDate);
  SAME(kPeriodStartDate);
  SAME(kYearBaseDate);
  SAME(kPeriodLabel);
  SAME(kApprovedAnnualBalance);
  SAME(kLastClosedPeriod);
  SAME(kCurrentAnnualBalance);
  SAME(kCurrentPeriod);
  // The book year: the year of the period start; 0 when that is no year.
  const std::string start = o.Get<O::kPeriodStartDate>();
  std::int32_t year = 0;
  if (start.size() >= 4 && std::all_of(start.begin(), start.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
    year = std::stoi(start.substr(0, 4));
  n.SetBookYear(year);
  for (int i = 1; i <= O::kAccountRows; ++i) {
    const records::FreezeAccountRow from = o.Account(i);
    records::FreezeAccountRow to;
    using R = records::FreezeAccountRow;
    to.Set<R::kAccountNumber>(from.Get<R::kAccountNumber>());
    to.Set<R::kCaption>(from.Get<R::kCaption>());
    to.Set<R::kCategoryName>(from.Get<R::kCategoryName>());
    to.Set<R::kAccountType>(from.Get<R::kAccountType>());
    to.Set<R::kCategoryKind>(from.Get<R::kCategoryKind>());
    to.Set<R::kYearOpeningBalance>(from.Get<R::kYearOpeningBalance>());
    to.Set<R::kOpeningOwnSide>(from.Get<R::kOpeningOwnSide>());
    to.Set<R::kOpeningOtherSide>(from.Get<R::kOpeningOtherSide>());
    to.Set<R::kClosingOwnSide>(from.Get<R::kClosingOwnSide>());
    to.Set<R::kClosingOtherSide>(from.Get<R::kClosingOtherSide>());
    n.SetAccount(i, to);
  }
}

#undef SAME
#undef FROM

// Every whole old record of `bytes` through Map.
template <class Old, class New>
std::string MapAll(std::string_view bytes, FileCode file) {
  const std::size_t count = bytes.size() / Old::kSize;
  std::string out(count * New::kSize, '\0');
  auto o = std::make_unique<Old>();
  auto n = std::make_unique<New>();
  for (std::size_t i = 0; i < count; ++i) {
    std::memcpy(o->data(), bytes.data() + i * Old::kSize, Old::kSize);
    n->Clear();
    Map(*o, *n, file);
    std::memcpy(out.data() + i * New::kSize, n->data(), New::kSize);
  }
  return out;
}

}  // namespace

std::string ConvertedBytes(std::string_view code, FileCode file, std::string_view oldBytes) {
  using namespace records;
  if (code == "001") return MapAll<InvoiceRecV1, InvoiceRec>(oldBytes, file);
  if (code == "002") return MapAll<PaymentRecV1, PaymentRec>(oldBytes, file);
  if (code == "003") return MapAll<LedgerAccountRecV1, LedgerAccountRec>(oldBytes, file);
  if (code == "004") return MapAll<LedgerCategoryRecV1, LedgerCategoryRec>(oldBytes, file);
  if (code == "005") return MapAll<JournalVoucherRecV1, JournalVoucherRec>(oldBytes, file);
  if (code == "006") return MapAll<PartnerRecV1, PartnerRec>(oldBytes, file);
  if (code == "007") return MapAll<AdminSettingsRecV1, AdminSettingsRec>(oldBytes, file);
  if (code == "008") return MapAll<FreezeRecV1, FreezeRec>(oldBytes, file);
  if (code == "009") return MapAll<InvoiceRecV2, InvoiceRec>(oldBytes, file);
  if (code == "010") return MapAll<PaymentRecV2, PaymentRec>(oldBytes, file);
  if (code == "011") return MapAll<InvoiceRecV3, InvoiceRec>(oldBytes, file);
  return {};
}

// ---------------------------------------------------------------------------
// The run.

namespace {

// Why a conversion stopped.
struct Stop {
  Stop(ConversionOutcome::Failure f, std::string file, std::string backup = {}, int code = 0, std::string text = {})
      : failure(f), fileName(std::move(file)), backupName(std::move(backup)), errorCode(code),
        errorText(std::move(text)) {}
  ConversionOutcome::Failure failure;
  std::string fileName;
  std::string backupName;
  int errorCode = 0;
  std::string errorText;
  std::vector<LayoutReading> readings;  // LayoutUndecided
};

void Report(const Stop& stop, ConversionOutcome& outcome) {
  outcome.failure = stop.failure;
  outcome.fileName = stop.fileName;
  outcome.backupName = stop.backupName;
  outcome.errorCode = stop.errorCode;
  outcome.errorText = stop.errorText;
  outcome.readings = stop.readings;
}

void Check(int code, const std::string& what) {
  if (code != 0) throw platform::IoError(code, what + ": " + platform::OsErrorText(code));
}

// The bytes of the file at `path` (UTF-8).
std::string ReadBytes(const std::string& path) {
  platform::FileSystem& fs = platform::Fs();
  std::unique_ptr<platform::FileHandle> h;
  Check(fs.OpenExisting(path, platform::OpenMode::Read, h), "opening " + path);
  std::uint64_t size = 0;
  Check(h->Size(size), "reading " + path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t done = 0;
    Check(h->ReadAt(at, bytes.data() + at, bytes.size() - at, done), "reading " + path);
    if (done == 0) break;
    at += done;
  }
  bytes.resize(at);
  Check(h->Close(), "closing " + path);
  return bytes;
}

// Writes `bytes` as the new file `path` (UTF-8), with the access mode of
// `like`: through a temporary file, synced, that takes the name only when
// no file has it. Returns false when `path` exists (nothing changed).
bool WriteNewFile(const std::string& path, const std::string& like, const std::string& bytes) {
  platform::FileSystem& fs = platform::Fs();
  const std::string temp = path + ".ombrelo-tmp";
  try {
    platform::CreatedFile created = platform::CreateEmptyLike(temp, like);
    Check(created.code, "creating " + temp);
    std::unique_ptr<platform::FileHandle> h = std::move(created.handle);
    if (!bytes.empty()) Check(h->WriteAt(0, bytes.data(), bytes.size()), "writing " + temp);
    Check(h->Sync(), "writing " + temp);
    Check(h->Close(), "closing " + temp);
    const int renamed = fs.RenameNoReplace(temp, path);
    if (renamed != 0 && fs.Exists(path)) {
      fs.Delete(temp);
      return false;
    }
    Check(renamed, "renaming " + temp);
  } catch (const platform::IoError&) {
    fs.Delete(temp);
    throw;
  }
  Check(fs.SyncFolderOf(path), "writing the folder of " + path);
  return true;
}

// What is to be done with `file` (first unrecorded code `code`): its plan
// and the bytes it holds. Throws Stop.
struct Decision {
  FilePlan plan;
  std::string current;
};
Decision Decide(FileCode file, const std::string& code) {
  const std::string fileName = store::FileInfo(file).fileName;
  const std::string path = cp1252::ToUtf8(store::OpenedFilePath(file));
  const std::string folder = path.substr(0, path.size() - fileName.size());
  Decision d;
  try {
    const std::uint64_t size = store::FileSize(file);
    if (size == 0) return d;
    d.current = ReadBytes(path);
    // A run stopped after the new file was written: the file holds a
    // backup converted.
    for (const Conversion& c : ChainFrom(file, code)) {
      const std::string backup = folder + BackupName(fileName, c.code);
      if (platform::Fs().Exists(backup) && ConvertedBytes(c.code, file, ReadBytes(backup)) == d.current) {
        d.plan = {FilePlan::Current, code};
        return d;
      }
    }
  } catch (const platform::IoError& e) {
    throw Stop{ConversionOutcome::FileError, fileName, "", e.Code(), e.what()};
  }
  d.plan = PlanFor(file, code, d.current);
  if (d.plan.kind == FilePlan::Undecided) {
    Stop stop{ConversionOutcome::LayoutUndecided, fileName};
    stop.readings = d.plan.readings;
    throw stop;
  }
  return d;
}

// Brings `file` (first unrecorded code `code`) to today's layout; a
// conversion it runs is added to `converted`. Throws Stop.
void ConvertFile(FileCode file, const std::string& code, std::vector<ConvertedFile>& converted) {
  const std::string fileName = store::FileInfo(file).fileName;
  const std::string path = cp1252::ToUtf8(store::OpenedFilePath(file));
  const std::string folder = path.substr(0, path.size() - fileName.size());
  const Decision d = Decide(file, code);
  const FilePlan& plan = d.plan;
  const std::string& current = d.current;
  if (plan.kind != FilePlan::Convert) return;

  const std::string backupName = BackupName(fileName, plan.code);
  const std::string backup = folder + backupName;
  try {
    if (platform::Fs().Exists(backup)) {
      // An existing backup is used only when it holds the file's bytes.
      if (ReadBytes(backup) != current) throw Stop{ConversionOutcome::BackupDiffers, fileName, backupName, 0, ""};
    } else if (!WriteNewFile(backup, path, current)) {
      throw Stop{ConversionOutcome::BackupDiffers, fileName, backupName, 0, ""};
    }
    const std::string newBytes = ConvertedBytes(plan.code, file, current);
    const std::size_t recordSize = static_cast<std::size_t>(store::FileInfo(file).recordSize);
    store::RewriteFile(file, newBytes.data(), static_cast<int>(newBytes.size() / recordSize));
  } catch (const platform::IoError& e) {
    throw Stop{ConversionOutcome::FileError, fileName, backupName, e.Code(), e.what()};
  }
  converted.push_back({fileName, backupName, plan.code, plan.partialBytes});
}

// Looks at every file a missing code converts, before anything is written:
// a file whose layout cannot be told stops the run here. Each file is
// decided by its first unrecorded code, as the run will. Throws Stop.
void CheckEveryLayoutIsKnown(const std::set<std::string>& recorded) {
  std::set<FileCode> seen;
  for (const Conversion& c : Conversions()) {
    if (recorded.count(c.code) || !seen.insert(c.file).second) continue;
    Decide(c.file, c.code);
  }
}

// Rewrites the flag file with the recorded codes, code n at index n - 1.
void RecordCodes(const std::set<std::string>& recorded) {
  std::vector<records::ReleaseFlagRec> flags(kConversionCodes.size());
  for (std::size_t i = 0; i < kConversionCodes.size(); ++i)
    if (recorded.count(kConversionCodes[i])) flags[i].SetConversionCode(kConversionCodes[i]);
  store::RewriteFile(FileCode::FLG, flags);
}

}  // namespace

ConversionOutcome ConvertDataFiles() {
  ConversionOutcome outcome;
  const std::string flagName = store::FileInfo(FileCode::FLG).fileName;
  std::set<std::string> recorded;
  try {
    for (const records::ReleaseFlagRec& rec :
         store::ReadAll<records::ReleaseFlagRec>(FileCode::FLG, store::kSmallFileLimit))
      recorded.insert(rec.ConversionCode());
  } catch (const platform::IoError& e) {
    outcome.failure = ConversionOutcome::FileError;
    outcome.fileName = flagName;
    outcome.errorCode = e.Code();
    outcome.errorText = e.what();
    return outcome;
  }
  try {
    CheckEveryLayoutIsKnown(recorded);
  } catch (const Stop& stop) {
    Report(stop, outcome);
    return outcome;
  }
  for (const char* code : kConversionCodes) {
    if (recorded.count(code)) continue;
    std::set<std::string> done;
    try {
      for (const Conversion& c : Conversions()) {
        if (std::string_view(c.code) != code) continue;
        ConvertFile(c.file, code, outcome.converted);
        for (const std::string& d : CodesDoneWith(c.file, code)) done.insert(d);
      }
    } catch (const Stop& stop) {
      Report(stop, outcome);
      return outcome;
    }
    recorded.insert(done.begin(), done.end());
    try {
      RecordCodes(recorded);
    } catch (const platform::IoError& e) {
      outcome.failure = ConversionOutcome::FileError;
      outcome.fileName = flagName;
      outcome.errorCode = e.Code();
      outcome.errorText = e.what();
      return outcome;
    }
  }
  return outcome;
}

}  // namespace store
