// One payment: a record of the payment file PAY ("payment.vlk"), 584 bytes.
// The file is kept in ascending order of value date + kind + the partner
// number in decimal (byte strings); payments with equal such keys keep their
// insertion order and carry ascending payment numbers. The voucher store
// sets and clears VoucherCreated of the payment a voucher was proposed for;
// it finds that payment field by field (value date, kind, partner, payment
// number), never by the joined text, in which partner 1 with payment 23
// equals partner 12 with payment 3.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct PaymentRec : Record<584> {
  static constexpr int kNarrativeCount = 6;

  static constexpr ShortString kValueDate{0, 8};      // bytes 0..8
  static constexpr ShortString kBankAccount{9, 15};   // bytes 9..24, pad 25..27
  static constexpr Int32 kPaymentNumber{28};          // bytes 28..31
  static constexpr ShortString kEntryNumber{32, 10};  // bytes 32..42
  static constexpr ShortString kPartnerType{43, 3};   // bytes 43..46, pad 47
  static constexpr Int32 kPartnerNumber{48};          // bytes 48..51
  static constexpr ShortString kAscription{52, 60};   // bytes 52..112
  static constexpr ShortString kNarrative1{113, 60};  // bytes 113..173
  static constexpr ShortString kNarrative2{174, 60};  // bytes 174..234
  static constexpr ShortString kNarrative3{235, 60};  // bytes 235..295
  static constexpr ShortString kNarrative4{296, 60};  // bytes 296..356
  static constexpr ShortString kNarrative5{357, 60};  // bytes 357..417
  static constexpr ShortString kNarrative6{418, 60};  // bytes 418..478, pad 479
  static constexpr Double kAmount{480};               // bytes 480..487
  static constexpr ShortString kMemo{488, 60};        // bytes 488..548
  static constexpr Boolean kVoucherCreated{549};      // byte 549
  static constexpr ShortString kChangedBy{550, 10};   // bytes 550..560
  static constexpr ShortString kChangedAt{561, 20};   // bytes 561..581, pad 582..583

  // "YYYYMMDD".
  std::string ValueDate() const { return Get<kValueDate>(); }
  void SetValueDate(std::string_view v) { Set<kValueDate>(v); }
  // The counterparty's bank account number.
  std::string BankAccount() const { return Get<kBankAccount>(); }
  void SetBankAccount(std::string_view v) { Set<kBankAccount>(v); }
  // 1, 2, ... within value date, kind and partner.
  std::int32_t PaymentNumber() const { return Get<kPaymentNumber>(); }
  void SetPaymentNumber(std::int32_t v) { Set<kPaymentNumber>(v); }
  std::string EntryNumber() const { return Get<kEntryNumber>(); }
  void SetEntryNumber(std::string_view v) { Set<kEntryNumber>(v); }
  // "CUS", "VEN", "REC" (receipt without partner) or "PAY" (payment without
  // partner).
  std::string PartnerType() const { return Get<kPartnerType>(); }
  void SetPartnerType(std::string_view v) { Set<kPartnerType>(v); }
  // 0 for "REC" and "PAY".
  std::int32_t PartnerNumber() const { return Get<kPartnerNumber>(); }
  void SetPartnerNumber(std::int32_t v) { Set<kPartnerNumber>(v); }
  std::string Ascription() const { return Get<kAscription>(); }
  void SetAscription(std::string_view v) { Set<kAscription>(v); }
  // Narrative line k, 1..6; another k reads empty and writes nothing.
  std::string Narrative(int k) const {
    switch (k) {
      case 1: return Get<kNarrative1>();
      case 2: return Get<kNarrative2>();
      case 3: return Get<kNarrative3>();
      case 4: return Get<kNarrative4>();
      case 5: return Get<kNarrative5>();
      case 6: return Get<kNarrative6>();
      default: return {};
    }
  }
  void SetNarrative(int k, std::string_view v) {
    switch (k) {
      case 1: Set<kNarrative1>(v); break;
      case 2: Set<kNarrative2>(v); break;
      case 3: Set<kNarrative3>(v); break;
      case 4: Set<kNarrative4>(v); break;
      case 5: Set<kNarrative5>(v); break;
      case 6: Set<kNarrative6>(v); break;
      default: break;
    }
  }
  double Amount() const { return Get<kAmount>(); }
  void SetAmount(double v) { Set<kAmount>(v); }
  std::string Memo() const { return Get<kMemo>(); }
  void SetMemo(std::string_view v) { Set<kMemo>(v); }
  // The payment's journal voucher exists.
  bool VoucherCreated() const { return Get<kVoucherCreated>(); }
  void SetVoucherCreated(bool v) { Set<kVoucherCreated>(v); }
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }
};
static_assert(sizeof(PaymentRec) == 584);
static_assert(PaymentRec::kChangedAt.offset + PaymentRec::kChangedAt.Size() == 582);

}  // namespace records
