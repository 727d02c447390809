// One bank-statement import profile: a record of the profile file IFS
// ("ifs.vlk", in the working folder, shared by every administration),
// 116 bytes. The file holds ten profiles, numbers 1..10 in order.
//
// A profile tells which column of a statement line holds which value.
// Columns count from 0; -1 means the column is not used.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "records/codec.h"

namespace records {

struct ImportProfileRec : Record<116> {
  static constexpr int kNarrativeCount = 6;

  static constexpr Int32 kProfileNumber{0};                  // bytes 0..3
  static constexpr ShortString kProfileName{4, 15};          // bytes 4..19
  static constexpr Int32 kDateColumn{20};                    // bytes 20..23
  static constexpr ShortString kDateFormat{24, 10};          // bytes 24..34, pad 35..39
  static constexpr ShortString kCurrencyCode{40, 15};        // bytes 40..55
  static constexpr Int32 kOwnAccountColumn{56};              // bytes 56..59
  static constexpr Int32 kCounterpartyAccountColumn{60};     // bytes 60..63
  static constexpr Int32 kAscriptionColumn{64};              // bytes 64..67
  static constexpr Int32 kDebitCreditColumn{68};             // bytes 68..71
  static constexpr ShortString kDebitString{72, 12};         // bytes 72..84, pad 85..87
  static constexpr Int32 kAmountColumn{88};                  // bytes 88..91
  static constexpr std::array<Int32, kNarrativeCount> kNarrativeColumns{  // bytes 92..115
      Int32{92}, Int32{96}, Int32{100}, Int32{104}, Int32{108}, Int32{112}};

  // 1..10.
  std::int32_t ProfileNumber() const { return Get<kProfileNumber>(); }
  void SetProfileNumber(std::int32_t v) { Set<kProfileNumber>(v); }
  // The name shown in the profile list.
  std::string ProfileName() const { return Get<kProfileName>(); }
  void SetProfileName(std::string_view v) { Set<kProfileName>(v); }
  // The column of the value date.
  std::int32_t DateColumn() const { return Get<kDateColumn>(); }
  void SetDateColumn(std::int32_t v) { Set<kDateColumn>(v); }
  // One of the twelve date layouts ("yyyymmdd", "dd-mm-yy", ...).
  std::string DateFormat() const { return Get<kDateFormat>(); }
  void SetDateFormat(std::string_view v) { Set<kDateFormat>(v); }
  std::string CurrencyCode() const { return Get<kCurrencyCode>(); }
  void SetCurrencyCode(std::string_view v) { Set<kCurrencyCode>(v); }
  // The column of the own bank account number.
  std::int32_t OwnAccountColumn() const { return Get<kOwnAccountColumn>(); }
  void SetOwnAccountColumn(std::int32_t v) { Set<kOwnAccountColumn>(v); }
  // The column of the counterparty's bank account number.
  std::int32_t CounterpartyAccountColumn() const { return Get<kCounterpartyAccountColumn>(); }
  void SetCounterpartyAccountColumn(std::int32_t v) { Set<kCounterpartyAccountColumn>(v); }
  // The column of the counterparty's name.
  std::int32_t AscriptionColumn() const { return Get<kAscriptionColumn>(); }
  void SetAscriptionColumn(std::int32_t v) { Set<kAscriptionColumn>(v); }
  // The column that tells a debit row from a credit row.
  std::int32_t DebitCreditColumn() const { return Get<kDebitCreditColumn>(); }
  void SetDebitCreditColumn(std::int32_t v) { Set<kDebitCreditColumn>(v); }
  // The value of that column on a debit row.
  std::string DebitString() const { return Get<kDebitString>(); }
  void SetDebitString(std::string_view v) { Set<kDebitString>(v); }
  std::int32_t AmountColumn() const { return Get<kAmountColumn>(); }
  void SetAmountColumn(std::int32_t v) { Set<kAmountColumn>(v); }
  // The column of narrative k, 1 to 6 (std::out_of_range otherwise).
  std::int32_t NarrativeColumn(int k) const { return Narrative(k).Read(data()); }
  void SetNarrativeColumn(int k, std::int32_t v) { Narrative(k).Write(data(), v); }

 private:
  static const Int32& Narrative(int k) {
    if (k < 1 || k > kNarrativeCount) throw std::out_of_range("narrative " + std::to_string(k) + " outside 1..6");
    return kNarrativeColumns[static_cast<std::size_t>(k - 1)];
  }
};
static_assert(sizeof(ImportProfileRec) == 116);

template <std::size_t... I>
constexpr bool NarrativeColumnsFit(std::index_sequence<I...>) {
  return (FieldFits<116, ImportProfileRec::kNarrativeColumns[I]>() && ...);
}
static_assert(NarrativeColumnsFit(std::make_index_sequence<ImportProfileRec::kNarrativeCount>{}));
static_assert(ImportProfileRec::kNarrativeColumns[5].offset + 4 == ImportProfileRec::kSize);

}  // namespace records
