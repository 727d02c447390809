#include "store/adminsettingsload.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/oserror.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "store/scopedfileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"

namespace store {

namespace {

// The language file has no text for the warning: the program carries it in
// Dutch and German as well (LoadAdminSettings chooses).
const char* const kStoredDatesReplacedEnglish = text::BuiltInTextEnglish(text::BuiltIn::StoredDatesReplaced);

}  // namespace

records::AdminSettingsRec AdminSettings;
AdminSettingsFormValues AdminSettingsValues;
std::string ProfitAccountNumberText;
std::string ProfitAccountCaptionText;
std::vector<std::string> AdminSettingsRepairedFields;
store::FileSnapshot AdminSettingsSnapshot;

void ResetAdminSettingsState() {
  AdminSettings = {};
  AdminSettingsValues = {};
  ProfitAccountNumberText.clear();
  ProfitAccountCaptionText.clear();
  AdminSettingsRepairedFields.clear();
  AdminSettingsSnapshot = {};
  MsgStoredDatesReplaced = kStoredDatesReplacedEnglish;
}

std::string MsgStoredDatesReplaced = kStoredDatesReplacedEnglish;

const std::array<std::string, 6> DefaultJournalNames = {"Sales Book", "Purchase Book", "Daybook", "", "", ""};

namespace {

using platform::TDateTime;
using records::AdminSettingsRec;

constexpr int kPeriods = AdminSettingsRec::kPeriodStartCount;

// The date of an eight-digit "YYYYMMDD" text that names an existing date.
std::optional<TDateTime> StoredDate(const std::string& text) {
  if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(4, 2));
  const int day = std::stoi(text.substr(6, 2));
  TDateTime d = 0;
  if (!platform::TryEncodeDate(year, month, day, d)) return std::nullopt;
  return d;
}

int YearOf(TDateTime d) {
  int year = 0, month = 0, day = 0;
  platform::DecodeDate(d, year, month, day);
  return year;
}

TDateTime FirstOfJanuary(int year) {
  TDateTime d = 0;
  if (!platform::TryEncodeDate(std::clamp(year, 1, 9999), 1, 1, d)) d = 0;
  return d;
}

// The last day of a book year that starts on `start`: the day before the
// same day a year later (a start on 29 February counts to 28 February).
TDateTime YearEndFor(TDateTime start) {
  int year = 0, month = 0, day = 0;
  platform::DecodeDate(start, year, month, day);
  TDateTime next = 0;
  if (platform::TryEncodeDate(year + 1, month, day, next) || platform::TryEncodeDate(year + 1, 3, 1, next))
    return next - 1;
  return start + 364;
}

// The values of the form for a stored record. Dates that are not valid are
// replaced (see LoadAdminSettings) in the values and in `rec`, and named in
// `repaired`.
AdminSettingsFormValues ValuesFromRecord(AdminSettingsRec& rec, std::vector<std::string>& repaired) {
  AdminSettingsFormValues v;
  v.CompanyName = rec.CompanyName();
  v.Address = rec.Address();
  v.ZipCode = rec.ZipCode();
  v.Town = rec.Town();
  v.State = rec.State();
  v.Country = rec.Country();
  v.Telephone = rec.Telephone();
  v.Fax = rec.Fax();
  v.Email = rec.Email();
  v.Website = rec.Website();
  v.ExtraItem2 = rec.ExtraItem2();
  v.ExtraItem1 = rec.ExtraItem1();
  v.CompanyRegistration = rec.CompanyRegistration();
  v.TaxRegistrationId = rec.TaxRegistrationId();
  v.ChangedAt = rec.ChangedAt();
  v.ChangedBy = rec.ChangedBy();
  v.ApprovedAnnualBalance = rec.ApprovedAnnualBalance();
  v.LastClosedPeriod = rec.LastClosedPeriod();
  v.CurrentAnnualBalance = rec.CurrentAnnualBalance();
  v.CurrentPeriod = rec.CurrentPeriod();
  v.CurrencyCode = rec.CurrencyCode();
  v.FiscalYear = rec.FiscalYear();
  v.NoSalesTaxAccounts = rec.NoSalesTaxAccounts();

  const std::optional<TDateTime> storedStart = StoredDate(rec.BookYearStart());
  std::optional<TDateTime> storedEnd = StoredDate(rec.BookYearEnd());
  if (storedStart) {
    v.BookYearStart = *storedStart;
  } else if (auto first = StoredDate(rec.PeriodStart(1))) {
    v.BookYearStart = *first;
  } else if (storedEnd) {
    v.BookYearStart = FirstOfJanuary(YearOf(*storedEnd));
  } else {
    v.BookYearStart = FirstOfJanuary(YearOf(platform::Date()));
  }
  if (!storedStart) {
    repaired.push_back("BookYearStart");
    rec.SetBookYearStart(text::DateToYmd(v.BookYearStart));
  }
  if (storedEnd && *storedEnd > v.BookYearStart) {
    v.BookYearEnd = *storedEnd;
  } else {
    v.BookYearEnd = YearEndFor(v.BookYearStart);
    repaired.push_back("BookYearEnd");
    rec.SetBookYearEnd(text::DateToYmd(v.BookYearEnd));
  }
  v.BookYearEndMinimum = v.BookYearStart + 1;

  v.PeriodCountText = PeriodCountText(rec.PeriodCount());
  const int n = std::clamp<int>(rec.PeriodCount(), 1, kPeriods);
  for (int k = 1; k <= kPeriods; ++k) {
    if (auto d = StoredDate(rec.PeriodStart(k))) {
      v.PeriodStart[k - 1] = *d;
      continue;
    }
    TDateTime d = v.BookYearEnd + 1;
    if (k == 1)
      d = v.BookYearStart;
    else if (k <= n)
      d = EqualPartStart(v.BookYearStart, v.BookYearEnd, k, n);
    v.PeriodStart[k - 1] = d;
    repaired.push_back("PeriodStart[" + std::to_string(k) + "]");
    rec.SetPeriodStart(k, text::DateToYmd(d));
  }

  for (int j = 0; j < AdminSettingsRec::kJournalCount; ++j) {
    v.JournalNames[j] = rec.JournalName(j);
    v.JournalFlags[j] = rec.JournalFlag(j) == "true";
  }
  v.SplitJournals = rec.SplitJournals() != "false";
  return v;
}

// What a new administration starts with.
AdminSettingsFormValues NewAdministrationValues() {
  AdminSettingsFormValues v;
  v.CurrentAnnualBalance = "2008";
  v.CurrentPeriod = "00/00";
  v.CurrencyCode = "EUR";
  v.FiscalYear = "2008";
  v.NoSalesTaxAccounts = false;
  v.BookYearStart = platform::EncodeDate(2008, 1, 1);
  v.BookYearEndMinimum = v.BookYearStart + 1;
  v.BookYearEnd = platform::EncodeDate(2008, 12, 31);
  v.PeriodCountText = "01";
  // One period: element 2 is the day after the book year; the unused
  // elements after it hold the same day.
  v.PeriodStart.fill(v.BookYearEnd + 1);
  v.PeriodStart[0] = v.BookYearStart;
  v.JournalNames = DefaultJournalNames;
  v.JournalFlags.fill(false);
  v.SplitJournals = true;
  return v;
}

// The number of periods of the form's text: a number from 1 to 15, else 1
// (the text the number-of-periods choice falls back to).
int PeriodCountFromText(const std::string& text) {
  if (text.empty() || text.size() > 2 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 1;
  const int n = std::stoi(text);
  return n >= 1 && n <= kPeriods ? n : 1;
}

// One of the items of the number-of-periods choice, "01" to "15".
bool IsPeriodCountItem(const std::string& text) {
  if (text.size() != 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const int n = std::stoi(text);
  return n >= 1 && n <= kPeriods;
}

// A date the record can hold and the text routines read back: a valid
// "YYYYMMDD" of the program's years.
bool IsValidDate(TDateTime d) {
  try {
    return text::IsValidYmd(text::DateToYmd(d));
  } catch (const platform::ConversionError&) {
    return false;
  }
}

// The last two digits of a year.
std::string TwoDigits(int n) {
  std::string text = std::to_string(n % 100);
  if (text.size() == 1) text.insert(text.begin(), '0');
  return text;
}

}  // namespace

std::string PeriodCountText(int count) {
  std::string text = std::to_string(count);
  if (text.size() == 1) text.insert(text.begin(), '0');
  return text;
}

std::string MsgDamagedFile(const std::string& fileName, const std::string& what) {
  return text::BuiltInText(text::BuiltIn::DamagedFile, {fileName, what});
}

namespace {

// What ADS holds, for the test that no other copy saved meanwhile: a file
// of more than one record is damaged and not hashed (a save refuses it).
store::FileSnapshot SettingsSnapshot() {
  const std::uint64_t size = store::FileSize(store::FileCode::ADS);
  if (size > AdminSettingsRec::kSize) return {size, 0};
  return store::SnapshotOf(store::FileCode::ADS);
}

// "PP/NN" with PP <= NN <= 15.
bool IsPeriodText(const std::string& t) {
  if (t.size() != 5 || t[2] != '/') return false;
  for (int i : {0, 1, 3, 4})
    if (t[i] < '0' || t[i] > '9') return false;
  const int pp = std::stoi(t.substr(0, 2)), nn = std::stoi(t.substr(3, 2));
  return pp <= nn && nn <= kPeriods;
}

}  // namespace

std::string SettingsRecordFault(const AdminSettingsRec& rec) {
  const std::string start = rec.BookYearStart(), end = rec.BookYearEnd();
  if (!text::IsValidYmd(start)) return "the book-year start \"" + start + "\" is no date";
  if (!text::IsValidYmd(end)) return "the book-year end \"" + end + "\" is no date";
  if (end < start) return "the book year ends (" + end + ") before it starts (" + start + ")";
  const int n = rec.PeriodCount();
  if (n < 1 || n > kPeriods) return "the number of periods is " + std::to_string(n) + ", not 1 to 15";
  std::string before;
  for (int k = 1; k <= n; ++k) {
    const std::string p = rec.PeriodStart(k);
    if (!text::IsValidYmd(p)) return "the start of period " + std::to_string(k) + " \"" + p + "\" is no date";
    if (p < before) return "period " + std::to_string(k) + " starts before period " + std::to_string(k - 1);
    before = p;
  }
  if (!IsPeriodText(rec.CurrentPeriod())) return "the current period \"" + rec.CurrentPeriod() + "\" is no period";
  if (!rec.LastClosedPeriod().empty() && !IsPeriodText(rec.LastClosedPeriod()))
    return "the last closed period \"" + rec.LastClosedPeriod() + "\" is no period";
  return {};
}

CheckedSettings ReadCheckedSettings() {
  CheckedSettings out;
  const std::string name = store::FileInfo(store::FileCode::ADS).fileName;
  const std::uint64_t size = store::FileSize(store::FileCode::ADS);
  const std::uint64_t whole = size / AdminSettingsRec::kSize;
  if (size % AdminSettingsRec::kSize != 0) {
    out.damage = MsgDamagedFile(name, "it holds " + std::to_string(size) + " bytes, not one whole record of " +
                                          std::to_string(AdminSettingsRec::kSize));
    return out;
  }
  if (whole != 1) {
    out.damage = MsgDamagedFile(name, "it holds " + std::to_string(whole) + " records; it must hold 1");
    return out;
  }
  AdminSettingsRec rec;
  store::ReadRecord(store::FileCode::ADS, 0, rec);
  if (std::string fault = SettingsRecordFault(rec); !fault.empty()) {
    out.damage = MsgDamagedFile(name, fault);
    return out;
  }
  out.rec = rec;
  return out;
}

std::optional<store::FileSetFailure> LoadAdminSettings() {
  store::ScopedFileSet scope("ADS;");
  if (!scope.Ok()) return scope.Failure();
  // The warning is about this load: it takes the language in use now.
  MsgStoredDatesReplaced = text::BuiltInText(text::BuiltIn::StoredDatesReplaced);
  AdminSettingsSnapshot = SettingsSnapshot();
  if (store::RecordCount(store::FileCode::ADS) > 0) {
    AdminSettingsRec rec;
    store::ReadRecord(store::FileCode::ADS, 0, rec);
    std::vector<std::string> repaired;
    AdminSettingsFormValues values = ValuesFromRecord(rec, repaired);
    AdminSettings = rec;
    AdminSettingsValues = std::move(values);
    AdminSettingsRepairedFields = std::move(repaired);
    ProfitAccountNumberText = AdminSettings.ProfitAccountNumber();
    ProfitAccountCaptionText = AdminSettings.ProfitAccountCaption();
  } else {
    // A new administration starts from the defaults alone: nothing of the
    // administration loaded before (its profit account, journals, periods,
    // creator) reaches its first record.
    AdminSettings.Clear();
    AdminSettingsValues = NewAdministrationValues();
    AdminSettingsRepairedFields.clear();
    ProfitAccountNumberText.clear();
    ProfitAccountCaptionText.clear();
    SaveAdminSettings();
  }
  return std::nullopt;
}

records::AdminSettingsRec RecordFromValues(const AdminSettingsFormValues& v, const records::AdminSettingsRec& base,
                                           const std::string& changedAt, const std::string& changedBy) {
  // Every conversion first, so that a date that cannot be written changes
  // nothing.
  const std::string start = text::DateToYmd(v.BookYearStart);
  const std::string end = text::DateToYmd(v.BookYearEnd);
  std::array<std::string, kPeriods> periods;
  for (int k = 0; k < kPeriods; ++k) periods[k] = text::DateToYmd(v.PeriodStart[k]);

  AdminSettingsRec rec = base;
  rec.SetCompanyName(v.CompanyName);
  rec.SetAddress(v.Address);
  rec.SetZipCode(v.ZipCode);
  rec.SetTown(v.Town);
  rec.SetState(v.State);
  rec.SetCountry(v.Country);
  rec.SetTelephone(v.Telephone);
  rec.SetFax(v.Fax);
  rec.SetEmail(v.Email);
  rec.SetWebsite(v.Website);
  rec.SetExtraItem2(v.ExtraItem2);
  rec.SetExtraItem1(v.ExtraItem1);
  rec.SetCompanyRegistration(v.CompanyRegistration);
  rec.SetTaxRegistrationId(v.TaxRegistrationId);
  rec.SetChangedAt(changedAt);
  rec.SetChangedBy(changedBy);
  rec.SetProfitAccountCaption(ProfitAccountCaptionText);
  rec.SetProfitAccountNumber(ProfitAccountNumberText);
  rec.SetBookYearStart(start);
  rec.SetBookYearEnd(end);
  rec.SetFiscalYear(v.FiscalYear);
  rec.SetCurrencyCode(v.CurrencyCode);
  rec.SetNoSalesTaxAccounts(v.NoSalesTaxAccounts);
  rec.SetPeriodCount(static_cast<std::int16_t>(PeriodCountFromText(v.PeriodCountText)));
  for (int k = 1; k <= kPeriods; ++k) rec.SetPeriodStart(k, periods[k - 1]);
  rec.SetApprovedAnnualBalance(v.ApprovedAnnualBalance);
  rec.SetLastClosedPeriod(v.LastClosedPeriod);
  rec.SetCurrentAnnualBalance(v.CurrentAnnualBalance);
  rec.SetCurrentPeriod(v.CurrentPeriod);
  rec.SetSplitJournals(v.SplitJournals ? "true" : "false");
  for (int j = 0; j < AdminSettingsRec::kJournalCount; ++j) {
    rec.SetJournalName(j, v.JournalNames[j]);
    rec.SetJournalFlag(j, v.JournalFlags[j] ? "true" : "false");
  }
  return rec;
}

bool SaveAdminSettings() {
  const AdminSettingsRec rec = RecordFromValues(
      AdminSettingsValues, AdminSettings, platform::DateTimeToText(platform::Now()), text::SystemSettings.CurrentUser);
  if (SettingsSnapshot() != AdminSettingsSnapshot) return false;
  store::RewriteFile(store::FileCode::ADS, std::vector<AdminSettingsRec>{rec});
  AdminSettingsSnapshot = SettingsSnapshot();
  AdminSettings = rec;
  AdminSettingsValues.ChangedAt = rec.ChangedAt();
  AdminSettingsValues.ChangedBy = rec.ChangedBy();
  AdminSettingsValues.PeriodCountText = PeriodCountText(rec.PeriodCount());
  return true;
}

void CheckPeriodCountText(AdminSettingsFormValues& values) {
  if (!IsPeriodCountItem(values.PeriodCountText)) values.PeriodCountText = "01";
}

TDateTime EqualPartStart(TDateTime start, TDateTime end, int k, int n) {
  return std::trunc(start + (end - start) * (k - 1) / n);
}

void ProposePeriods(AdminSettingsFormValues& values) {
  AdminSettingsFormValues v = values;
  CheckPeriodCountText(v);
  const int n = std::stoi(v.PeriodCountText);
  v.CurrentPeriod = v.LastClosedPeriod.empty() ? "00/00" : "01/" + v.PeriodCountText;

  const TDateTime start = std::trunc(v.BookYearStart);
  const TDateTime end = std::trunc(v.BookYearEnd);
  for (int k = 2; k <= n; ++k) v.PeriodStart[k - 1] = EqualPartStart(start, end, k, n);

  int year = 0, month = 0, day = 0;
  platform::DecodeDate(start, year, month, day);
  if (month == 1 && day == 1) {
    if (n == 12) {
      for (int k = 2; k <= 12; ++k) v.PeriodStart[k - 1] = platform::EncodeDate(year, k, 1);
    } else if (n == 4) {
      for (int k = 2; k <= 4; ++k) v.PeriodStart[k - 1] = platform::EncodeDate(year, 3 * (k - 1) + 1, 1);
    }
  }
  if (n < kPeriods) v.PeriodStart[n] = end + 1;
  values = std::move(v);
}

void BookYearStartChanged(AdminSettingsFormValues& values) {
  AdminSettingsFormValues v = values;
  const TDateTime start = std::trunc(v.BookYearStart);
  int year = 0, month = 0, day = 0;
  platform::DecodeDate(start, year, month, day);
  v.PeriodStart[0] = start;
  v.BookYearEnd = YearEndFor(start);
  v.BookYearEndMinimum = start + 1;
  v.ApprovedAnnualBalance.clear();
  v.CurrentAnnualBalance =
      month == 1 && day == 1 ? std::to_string(year) : TwoDigits(year) + TwoDigits(year + 1);
  ProposePeriods(v);
  values = std::move(v);
}

ClosingFields ClosingFieldsOf(const AdminSettingsRec& rec) {
  return {rec.ApprovedAnnualBalance(), rec.LastClosedPeriod(), rec.CurrentAnnualBalance(), rec.CurrentPeriod()};
}

AdminSettingsFormValues ValuesOfRecord(const AdminSettingsRec& rec) {
  AdminSettingsRec copy = rec;
  std::vector<std::string> repaired;
  return ValuesFromRecord(copy, repaired);
}

AdminSettingsFormValues ClosedPeriodValues(const AdminSettingsFormValues& values, const ClosingFields& fields,
                                           bool moveYear) {
  AdminSettingsFormValues next = values;
  if (moveYear) {
    // The values still hold the closing state from before this freeze: an
    // approved annual balance there means a real book year was closed now.
    const bool yearClosedBefore = !next.ApprovedAnnualBalance.empty();
    const TDateTime from = yearClosedBefore ? next.BookYearEnd : next.BookYearStart;
    if (!IsValidDate(from))
      throw platform::ConversionError(std::string(yearClosedBefore ? "the book-year end" : "the book-year start") +
                                      " is not a valid date; the book year cannot move on");
    if (yearClosedBefore) next.BookYearStart = std::trunc(next.BookYearEnd) + 1;
    BookYearStartChanged(next);
    ProposePeriods(next);
    if (yearClosedBefore && next.FiscalYear.size() == 4 &&
        std::all_of(next.FiscalYear.begin(), next.FiscalYear.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        next.FiscalYear != "9999")
      next.FiscalYear = std::to_string(std::stoi(next.FiscalYear) + 1);
  }
  next.ApprovedAnnualBalance = fields.ApprovedAnnualBalance;
  next.CurrentAnnualBalance = fields.CurrentAnnualBalance;
  next.LastClosedPeriod = fields.LastClosedPeriod;
  next.CurrentPeriod = fields.CurrentPeriod;
  return next;
}

AdminSettingsRec ClosedPeriodRecord(const AdminSettingsRec& read, const ClosingFields& fields, bool moveYear) {
  const AdminSettingsFormValues v = ClosedPeriodValues(ValuesOfRecord(read), fields, moveYear);
  AdminSettingsRec rec = read;
  if (moveYear) {
    rec.SetBookYearStart(text::DateToYmd(v.BookYearStart));
    rec.SetBookYearEnd(text::DateToYmd(v.BookYearEnd));
    rec.SetPeriodCount(static_cast<std::int16_t>(PeriodCountFromText(v.PeriodCountText)));
    for (int k = 1; k <= kPeriods; ++k) rec.SetPeriodStart(k, text::DateToYmd(v.PeriodStart[k - 1]));
    rec.SetFiscalYear(v.FiscalYear);
  }
  rec.SetApprovedAnnualBalance(v.ApprovedAnnualBalance);
  rec.SetLastClosedPeriod(v.LastClosedPeriod);
  rec.SetCurrentAnnualBalance(v.CurrentAnnualBalance);
  rec.SetCurrentPeriod(v.CurrentPeriod);
  return rec;
}

void WriteClosedPeriodSettings(const AdminSettingsRec& rec) {
  store::RewriteFile(store::FileCode::ADS, std::vector<AdminSettingsRec>{rec});
  AdoptWrittenSettings(rec);
}

void AdoptWrittenSettings(const AdminSettingsRec& rec) {
  AdminSettingsSnapshot = SettingsSnapshot();
  AdminSettings = rec;
  const AdminSettingsFormValues v = ValuesOfRecord(rec);
  AdminSettingsValues.BookYearStart = v.BookYearStart;
  AdminSettingsValues.BookYearEnd = v.BookYearEnd;
  AdminSettingsValues.BookYearEndMinimum = v.BookYearEndMinimum;
  AdminSettingsValues.PeriodCountText = v.PeriodCountText;
  AdminSettingsValues.PeriodStart = v.PeriodStart;
  AdminSettingsValues.FiscalYear = v.FiscalYear;
  AdminSettingsValues.ApprovedAnnualBalance = v.ApprovedAnnualBalance;
  AdminSettingsValues.LastClosedPeriod = v.LastClosedPeriod;
  AdminSettingsValues.CurrentAnnualBalance = v.CurrentAnnualBalance;
  AdminSettingsValues.CurrentPeriod = v.CurrentPeriod;
}

void ApplyClosedPeriodFields(bool& MoveYear) {
  AdminSettingsFormValues next = ClosedPeriodValues(AdminSettingsValues, ClosingFieldsOf(AdminSettings), MoveYear);

  // Nothing of the above reaches the values unless the save succeeds.
  AdminSettingsFormValues before = std::exchange(AdminSettingsValues, std::move(next));
  bool saved = false;
  try {
    saved = SaveAdminSettings();
  } catch (...) {
    AdminSettingsValues = std::move(before);
    throw;
  }
  if (!saved) {
    AdminSettingsValues = std::move(before);
    throw platform::IoError(platform::kErrnoBase + ESTALE, text::MsgChangedInAnotherCopy());
  }
}

}  // namespace store
