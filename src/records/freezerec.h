// One frozen period: a record of the freeze file FRZ ("freeze.vlk"),
// 64080 bytes, appended in period order. Each record holds the snapshot of
// the balance table at freeze time, 400 rows of FreezeAccountRow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

// One account of a snapshot, 160 bytes. The own side of an account is the
// debit side for type D and the credit side for type C; the sides are
// cumulative amounts, the net balance on the own side is own minus other.
struct FreezeAccountRow : Record<160> {
  static constexpr ShortString kAccountNumber{0, 20};   // bytes 0..20
  static constexpr ShortString kCaption{21, 30};        // bytes 21..51
  static constexpr ShortString kCategoryName{52, 30};   // bytes 52..82
  static constexpr ShortString kAccountType{83, 1};     // bytes 83..84
  static constexpr ShortString kCategoryKind{85, 30};   // bytes 85..115, pad 116..119
  static constexpr Double kYearOpeningBalance{120};     // bytes 120..127
  static constexpr Double kOpeningOwnSide{128};         // bytes 128..135
  static constexpr Double kOpeningOtherSide{136};       // bytes 136..143
  static constexpr Double kClosingOwnSide{144};         // bytes 144..151
  static constexpr Double kClosingOtherSide{152};       // bytes 152..159

  // Empty: no account in this row.
  std::string AccountNumber() const { return Get<kAccountNumber>(); }
  void SetAccountNumber(std::string_view v) { Set<kAccountNumber>(v); }
  std::string Caption() const { return Get<kCaption>(); }
  void SetCaption(std::string_view v) { Set<kCaption>(v); }
  std::string CategoryName() const { return Get<kCategoryName>(); }
  void SetCategoryName(std::string_view v) { Set<kCategoryName>(v); }
  // P, T, D or C.
  std::string AccountType() const { return Get<kAccountType>(); }
  void SetAccountType(std::string_view v) { Set<kAccountType>(v); }
  // First character "B": a balance-sheet account.
  std::string CategoryKind() const { return Get<kCategoryKind>(); }
  void SetCategoryKind(std::string_view v) { Set<kCategoryKind>(v); }
  double YearOpeningBalance() const { return Get<kYearOpeningBalance>(); }
  void SetYearOpeningBalance(double v) { Set<kYearOpeningBalance>(v); }
  double OpeningOwnSide() const { return Get<kOpeningOwnSide>(); }
  void SetOpeningOwnSide(double v) { Set<kOpeningOwnSide>(v); }
  double OpeningOtherSide() const { return Get<kOpeningOtherSide>(); }
  void SetOpeningOtherSide(double v) { Set<kOpeningOtherSide>(v); }
  double ClosingOwnSide() const { return Get<kClosingOwnSide>(); }
  void SetClosingOwnSide(double v) { Set<kClosingOwnSide>(v); }
  double ClosingOtherSide() const { return Get<kClosingOtherSide>(); }
  void SetClosingOtherSide(double v) { Set<kClosingOtherSide>(v); }
};
static_assert(sizeof(FreezeAccountRow) == 160);

struct FreezeRec : Record<64080> {
  static constexpr int kAccountRows = 400;
  static constexpr std::size_t kAccountsOffset = 80;

  static constexpr ShortString kPeriodEndDate{0, 8};            // bytes 0..8
  static constexpr ShortString kPeriodStartDate{9, 8};          // bytes 9..17
  static constexpr ShortString kYearBaseDate{18, 8};            // bytes 18..26
  static constexpr ShortString kPeriodLabel{27, 11};            // bytes 27..38
  static constexpr ShortString kApprovedAnnualBalance{39, 8};   // bytes 39..47
  static constexpr ShortString kLastClosedPeriod{48, 8};        // bytes 48..56
  static constexpr ShortString kCurrentAnnualBalance{57, 8};    // bytes 57..65
  static constexpr ShortString kCurrentPeriod{66, 8};           // bytes 66..74, pad 75
  static constexpr Int32 kBookYear{76};                         // bytes 76..79
  // bytes 80..64079: Accounts[1..400], 160 bytes each.

  // The first day after the frozen period (the exclusive end), "YYYYMMDD".
  std::string PeriodEndDate() const { return Get<kPeriodEndDate>(); }
  void SetPeriodEndDate(std::string_view v) { Set<kPeriodEndDate>(v); }
  // The first day of the frozen period.
  std::string PeriodStartDate() const { return Get<kPeriodStartDate>(); }
  void SetPeriodStartDate(std::string_view v) { Set<kPeriodStartDate>(v); }
  // The day before the book year.
  std::string YearBaseDate() const { return Get<kYearBaseDate>(); }
  void SetYearBaseDate(std::string_view v) { Set<kYearBaseDate>(v); }
  // "YYYY-PP/NN".
  std::string PeriodLabel() const { return Get<kPeriodLabel>(); }
  void SetPeriodLabel(std::string_view v) { Set<kPeriodLabel>(v); }
  // The administration's closing fields before this freeze.
  std::string ApprovedAnnualBalance() const { return Get<kApprovedAnnualBalance>(); }
  void SetApprovedAnnualBalance(std::string_view v) { Set<kApprovedAnnualBalance>(v); }
  std::string LastClosedPeriod() const { return Get<kLastClosedPeriod>(); }
  void SetLastClosedPeriod(std::string_view v) { Set<kLastClosedPeriod>(v); }
  std::string CurrentAnnualBalance() const { return Get<kCurrentAnnualBalance>(); }
  void SetCurrentAnnualBalance(std::string_view v) { Set<kCurrentAnnualBalance>(v); }
  std::string CurrentPeriod() const { return Get<kCurrentPeriod>(); }
  void SetCurrentPeriod(std::string_view v) { Set<kCurrentPeriod>(v); }
  std::int32_t BookYear() const { return Get<kBookYear>(); }
  void SetBookYear(std::int32_t v) { Set<kBookYear>(v); }

  // Row i of the snapshot, 1 to 400 (std::out_of_range otherwise).
  FreezeAccountRow Account(int i) const {
    FreezeAccountRow row;
    std::memcpy(row.data(), data() + RowOffset(i), FreezeAccountRow::kSize);
    return row;
  }
  void SetAccount(int i, const FreezeAccountRow& row) {
    std::memcpy(data() + RowOffset(i), row.data(), FreezeAccountRow::kSize);
  }
  static std::size_t RowOffset(int i);
};
static_assert(sizeof(FreezeRec) == 64080);
static_assert(FreezeRec::kAccountsOffset + FreezeRec::kAccountRows * FreezeAccountRow::kSize == FreezeRec::kSize);
static_assert(FreezeRec::kBookYear.offset + FreezeRec::kBookYear.Size() == FreezeRec::kAccountsOffset);

inline std::size_t FreezeRec::RowOffset(int i) {
  if (i < 1 || i > kAccountRows) throw std::out_of_range("freeze row " + std::to_string(i) + " outside 1..400");
  return kAccountsOffset + static_cast<std::size_t>(i - 1) * FreezeAccountRow::kSize;
}

}  // namespace records
