// The administration-settings record: the only record (index 0) of
// "adminset.vlk" in an administration's data folder. Company data, the book
// year with up to fifteen periods, the state of period closing, the journals
// and the currency of one administration.
//
// Dates are "YYYYMMDD" texts; flags held as text are "true" or "false".
// Byte 1385 is padding (the 16-bit period count aligns the record to 2); it
// is never written, so a record read and written back keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct AdminSettingsRec : Record<1386> {
  static constexpr ShortString kCompanyShortName{0, 20};
  static constexpr ShortString kTaxRegistrationId{21, 15};
  static constexpr ShortString kCompanyName{37, 50};
  static constexpr ShortString kAddress{88, 50};
  static constexpr ShortString kZipCode{139, 10};
  static constexpr ShortString kTown{150, 50};
  static constexpr ShortString kState{201, 50};
  static constexpr ShortString kCountry{252, 50};
  static constexpr ShortString kTelephone{303, 30};
  static constexpr ShortString kFax{334, 30};
  static constexpr ShortString kEmail{365, 100};
  static constexpr ShortString kWebsite{466, 100};
  static constexpr ShortString kExtraItem2{567, 50};
  static constexpr ShortString kChangedAt{618, 20};
  static constexpr ShortString kChangedBy{639, 10};
  static constexpr ShortString kExtraItem1{650, 50};
  static constexpr ShortString kCompanyRegistration{701, 50};
  static constexpr ShortString kProfitAccountCaption{752, 30};
  static constexpr ShortString kProfitAccountNumber{783, 20};
  static constexpr ShortString kBookYearStart{804, 8};
  static constexpr ShortString kBookYearEnd{813, 8};
  static constexpr ShortString kFiscalYear{822, 4};
  static constexpr ShortString kCurrencyCode{827, 3};
  static constexpr Boolean kNoSalesTaxAccounts{831};
  static constexpr Int16 kPeriodCount{832};
  // PeriodStart[1..15]: element k at 834 + 9 * (k - 1).
  static constexpr std::size_t kPeriodStartOffset = 834;
  static constexpr std::size_t kPeriodStartCapacity = 8;
  static constexpr int kPeriodStartCount = 15;
  static constexpr ShortString kApprovedAnnualBalance{969, 8};
  static constexpr ShortString kLastClosedPeriod{978, 8};
  static constexpr ShortString kCurrentAnnualBalance{987, 8};
  static constexpr ShortString kCurrentPeriod{996, 8};
  static constexpr ShortString kCreatedBy{1005, 10};
  static constexpr ShortString kCreatedAt{1016, 20};
  static constexpr ShortString kSplitJournals{1037, 5};
  // The six journal names: string[50] at 1043 + 51 * j (j = 0 sales book,
  // 1 purchase book, 2 day book, 3 to 5 optional journals 1 to 3).
  static constexpr std::size_t kJournalNameOffset = 1043;
  static constexpr std::size_t kJournalNameCapacity = 50;
  static constexpr ShortString kSalesBookName{1043, 50};
  static constexpr ShortString kPurchaseBookName{1094, 50};
  static constexpr ShortString kDayBookName{1145, 50};
  static constexpr ShortString kOptionalJournalName1{1196, 50};
  static constexpr ShortString kOptionalJournalName2{1247, 50};
  static constexpr ShortString kOptionalJournalName3{1298, 50};
  // The six journal flags: string[5] at 1349 + 6 * i, in the order
  // customer 1, supplier 1, customer 2, supplier 2, customer 3, supplier 3.
  static constexpr std::size_t kJournalFlagOffset = 1349;
  static constexpr std::size_t kJournalFlagCapacity = 5;
  static constexpr ShortString kJournal1CustomerFlag{1349, 5};
  static constexpr ShortString kJournal1SupplierFlag{1355, 5};
  static constexpr ShortString kJournal2CustomerFlag{1361, 5};
  static constexpr ShortString kJournal2SupplierFlag{1367, 5};
  static constexpr ShortString kJournal3CustomerFlag{1373, 5};
  static constexpr ShortString kJournal3SupplierFlag{1379, 5};
  static constexpr int kJournalCount = 6;

  std::string CompanyShortName() const { return Get<kCompanyShortName>(); }
  void SetCompanyShortName(std::string_view v) { Set<kCompanyShortName>(v); }
  std::string TaxRegistrationId() const { return Get<kTaxRegistrationId>(); }
  void SetTaxRegistrationId(std::string_view v) { Set<kTaxRegistrationId>(v); }
  std::string CompanyName() const { return Get<kCompanyName>(); }
  void SetCompanyName(std::string_view v) { Set<kCompanyName>(v); }
  std::string Address() const { return Get<kAddress>(); }
  void SetAddress(std::string_view v) { Set<kAddress>(v); }
  std::string ZipCode() const { return Get<kZipCode>(); }
  void SetZipCode(std::string_view v) { Set<kZipCode>(v); }
  std::string Town() const { return Get<kTown>(); }
  void SetTown(std::string_view v) { Set<kTown>(v); }
  std::string State() const { return Get<kState>(); }
  void SetState(std::string_view v) { Set<kState>(v); }
  std::string Country() const { return Get<kCountry>(); }
  void SetCountry(std::string_view v) { Set<kCountry>(v); }
  std::string Telephone() const { return Get<kTelephone>(); }
  void SetTelephone(std::string_view v) { Set<kTelephone>(v); }
  std::string Fax() const { return Get<kFax>(); }
  void SetFax(std::string_view v) { Set<kFax>(v); }
  std::string Email() const { return Get<kEmail>(); }
  void SetEmail(std::string_view v) { Set<kEmail>(v); }
  std::string Website() const { return Get<kWebsite>(); }
  void SetWebsite(std::string_view v) { Set<kWebsite>(v); }
  std::string ExtraItem2() const { return Get<kExtraItem2>(); }
  void SetExtraItem2(std::string_view v) { Set<kExtraItem2>(v); }
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string ExtraItem1() const { return Get<kExtraItem1>(); }
  void SetExtraItem1(std::string_view v) { Set<kExtraItem1>(v); }
  std::string CompanyRegistration() const { return Get<kCompanyRegistration>(); }
  void SetCompanyRegistration(std::string_view v) { Set<kCompanyRegistration>(v); }
  std::string ProfitAccountCaption() const { return Get<kProfitAccountCaption>(); }
  void SetProfitAccountCaption(std::string_view v) { Set<kProfitAccountCaption>(v); }
  std::string ProfitAccountNumber() const { return Get<kProfitAccountNumber>(); }
  void SetProfitAccountNumber(std::string_view v) { Set<kProfitAccountNumber>(v); }
  std::string BookYearStart() const { return Get<kBookYearStart>(); }
  void SetBookYearStart(std::string_view v) { Set<kBookYearStart>(v); }
  std::string BookYearEnd() const { return Get<kBookYearEnd>(); }
  void SetBookYearEnd(std::string_view v) { Set<kBookYearEnd>(v); }
  std::string FiscalYear() const { return Get<kFiscalYear>(); }
  void SetFiscalYear(std::string_view v) { Set<kFiscalYear>(v); }
  std::string CurrencyCode() const { return Get<kCurrencyCode>(); }
  void SetCurrencyCode(std::string_view v) { Set<kCurrencyCode>(v); }
  bool NoSalesTaxAccounts() const { return Get<kNoSalesTaxAccounts>(); }
  void SetNoSalesTaxAccounts(bool v) { Set<kNoSalesTaxAccounts>(v); }
  std::int16_t PeriodCount() const { return Get<kPeriodCount>(); }
  void SetPeriodCount(std::int16_t v) { Set<kPeriodCount>(v); }
  std::string ApprovedAnnualBalance() const { return Get<kApprovedAnnualBalance>(); }
  void SetApprovedAnnualBalance(std::string_view v) { Set<kApprovedAnnualBalance>(v); }
  std::string LastClosedPeriod() const { return Get<kLastClosedPeriod>(); }
  void SetLastClosedPeriod(std::string_view v) { Set<kLastClosedPeriod>(v); }
  std::string CurrentAnnualBalance() const { return Get<kCurrentAnnualBalance>(); }
  void SetCurrentAnnualBalance(std::string_view v) { Set<kCurrentAnnualBalance>(v); }
  std::string CurrentPeriod() const { return Get<kCurrentPeriod>(); }
  void SetCurrentPeriod(std::string_view v) { Set<kCurrentPeriod>(v); }
  std::string CreatedBy() const { return Get<kCreatedBy>(); }
  void SetCreatedBy(std::string_view v) { Set<kCreatedBy>(v); }
  std::string CreatedAt() const { return Get<kCreatedAt>(); }
  void SetCreatedAt(std::string_view v) { Set<kCreatedAt>(v); }
  std::string SplitJournals() const { return Get<kSplitJournals>(); }
  void SetSplitJournals(std::string_view v) { Set<kSplitJournals>(v); }
  std::string SalesBookName() const { return Get<kSalesBookName>(); }
  void SetSalesBookName(std::string_view v) { Set<kSalesBookName>(v); }
  std::string PurchaseBookName() const { return Get<kPurchaseBookName>(); }
  void SetPurchaseBookName(std::string_view v) { Set<kPurchaseBookName>(v); }
  std::string DayBookName() const { return Get<kDayBookName>(); }
  void SetDayBookName(std::string_view v) { Set<kDayBookName>(v); }
  std::string OptionalJournalName1() const { return Get<kOptionalJournalName1>(); }
  void SetOptionalJournalName1(std::string_view v) { Set<kOptionalJournalName1>(v); }
  std::string OptionalJournalName2() const { return Get<kOptionalJournalName2>(); }
  void SetOptionalJournalName2(std::string_view v) { Set<kOptionalJournalName2>(v); }
  std::string OptionalJournalName3() const { return Get<kOptionalJournalName3>(); }
  void SetOptionalJournalName3(std::string_view v) { Set<kOptionalJournalName3>(v); }
  std::string Journal1CustomerFlag() const { return Get<kJournal1CustomerFlag>(); }
  void SetJournal1CustomerFlag(std::string_view v) { Set<kJournal1CustomerFlag>(v); }
  std::string Journal1SupplierFlag() const { return Get<kJournal1SupplierFlag>(); }
  void SetJournal1SupplierFlag(std::string_view v) { Set<kJournal1SupplierFlag>(v); }
  std::string Journal2CustomerFlag() const { return Get<kJournal2CustomerFlag>(); }
  void SetJournal2CustomerFlag(std::string_view v) { Set<kJournal2CustomerFlag>(v); }
  std::string Journal2SupplierFlag() const { return Get<kJournal2SupplierFlag>(); }
  void SetJournal2SupplierFlag(std::string_view v) { Set<kJournal2SupplierFlag>(v); }
  std::string Journal3CustomerFlag() const { return Get<kJournal3CustomerFlag>(); }
  void SetJournal3CustomerFlag(std::string_view v) { Set<kJournal3CustomerFlag>(v); }
  std::string Journal3SupplierFlag() const { return Get<kJournal3SupplierFlag>(); }
  void SetJournal3SupplierFlag(std::string_view v) { Set<kJournal3SupplierFlag>(v); }

  // PeriodStart[k], k = 1 to 15 (std::out_of_range otherwise).
  std::string PeriodStart(int k) const { return ReadShortString(data() + PeriodStartAt(k), kPeriodStartCapacity); }
  void SetPeriodStart(int k, std::string_view v) { WriteShortString(data() + PeriodStartAt(k), kPeriodStartCapacity, v); }
  // Journal name j, j = 0 to 5 (sales, purchase, day book, optional 1 to 3).
  std::string JournalName(int j) const { return ReadShortString(data() + JournalNameAt(j), kJournalNameCapacity); }
  void SetJournalName(int j, std::string_view v) { WriteShortString(data() + JournalNameAt(j), kJournalNameCapacity, v); }
  // Journal flag i, i = 0 to 5 (customer 1, supplier 1, customer 2, ...).
  std::string JournalFlag(int i) const { return ReadShortString(data() + JournalFlagAt(i), kJournalFlagCapacity); }
  void SetJournalFlag(int i, std::string_view v) { WriteShortString(data() + JournalFlagAt(i), kJournalFlagCapacity, v); }

 private:
  static std::size_t PeriodStartAt(int k);
  static std::size_t JournalNameAt(int j);
  static std::size_t JournalFlagAt(int i);
};
static_assert(sizeof(AdminSettingsRec) == 1386);
static_assert(AdminSettingsRec::kPeriodStartOffset + 9 * AdminSettingsRec::kPeriodStartCount ==
              AdminSettingsRec::kApprovedAnnualBalance.offset);
static_assert(AdminSettingsRec::kJournalNameOffset + 51 * AdminSettingsRec::kJournalCount ==
              AdminSettingsRec::kJournalFlagOffset);
static_assert(AdminSettingsRec::kJournalFlagOffset + 6 * AdminSettingsRec::kJournalCount == 1385);

inline std::size_t AdminSettingsRec::PeriodStartAt(int k) {
  if (k < 1 || k > kPeriodStartCount) throw std::out_of_range("PeriodStart index " + std::to_string(k));
  return kPeriodStartOffset + 9 * static_cast<std::size_t>(k - 1);
}
inline std::size_t AdminSettingsRec::JournalNameAt(int j) {
  if (j < 0 || j >= kJournalCount) throw std::out_of_range("journal name index " + std::to_string(j));
  return kJournalNameOffset + 51 * static_cast<std::size_t>(j);
}
inline std::size_t AdminSettingsRec::JournalFlagAt(int i) {
  if (i < 0 || i >= kJournalCount) throw std::out_of_range("journal flag index " + std::to_string(i));
  return kJournalFlagOffset + 6 * static_cast<std::size_t>(i);
}

}  // namespace records
