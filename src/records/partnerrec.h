// A customer or supplier (partner): a record of the files CUS
// ("customer.vlk") and SUP ("supplier.vlk"), 1624 bytes, both of this
// layout. A partner's number fixes its place in its file: record index =
// number - number of record 0.
//
// The seven account fields hold a GL account number (the text before the
// "{" of a picked "number{caption}" reference).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/codec.h"

namespace records {

struct PartnerRec : Record<1624> {
  static constexpr ShortString kName{0, 50};                    // bytes 0..50
  static constexpr ShortString kCompanyName{51, 50};            // bytes 51..101, pad 102..103
  static constexpr Int32 kOurNumber{104};                       // bytes 104..107
  static constexpr ShortString kSuspendedDate{108, 8};          // bytes 108..116
  static constexpr ShortString kRelationshipType{117, 3};       // bytes 117..120
  static constexpr ShortString kTheirNumber{121, 15};           // bytes 121..136
  static constexpr ShortString kAddress{137, 50};               // bytes 137..187
  static constexpr ShortString kProperty{188, 50};              // bytes 188..238
  static constexpr ShortString kZipCode{239, 10};               // bytes 239..249
  static constexpr ShortString kTown{250, 50};                  // bytes 250..300
  static constexpr ShortString kRegion{301, 50};                // bytes 301..351
  static constexpr ShortString kCountry{352, 50};               // bytes 352..402
  static constexpr ShortString kCorrCode{403, 1};               // bytes 403..404
  static constexpr ShortString kCorrAddress{405, 50};           // bytes 405..455
  static constexpr ShortString kCorrZipCode{456, 10};           // bytes 456..466
  static constexpr ShortString kCorrTown{467, 50};              // bytes 467..517
  static constexpr ShortString kCorrState{518, 50};             // bytes 518..568
  static constexpr ShortString kCorrCountry{569, 50};           // bytes 569..619
  static constexpr ShortString kTelephone{620, 30};             // bytes 620..650
  static constexpr ShortString kFax{651, 30};                   // bytes 651..681
  static constexpr ShortString kEmail{682, 100};                // bytes 682..782
  static constexpr ShortString kWebsite{783, 100};              // bytes 783..883
  static constexpr ShortString kContact1Name{884, 50};          // bytes 884..934
  static constexpr ShortString kContact1Phone{935, 20};         // bytes 935..955
  static constexpr ShortString kContact1Text{956, 50};          // bytes 956..1006
  static constexpr ShortString kContact2Text{1007, 50};         // bytes 1007..1057
  static constexpr ShortString kContact2Name{1058, 50};         // bytes 1058..1108
  static constexpr ShortString kContact2Phone{1109, 20};        // bytes 1109..1129
  static constexpr ShortString kMemo{1130, 100};                // bytes 1130..1230
  static constexpr ShortString kBankAccountNumber{1231, 20};    // bytes 1231..1251
  static constexpr ShortString kBankAccountName{1252, 60};      // bytes 1252..1312
  static constexpr ShortString kTaxAccountNumber{1313, 15};     // bytes 1313..1328
  static constexpr ShortString kTaxVerificationDate{1329, 8};   // bytes 1329..1337
  static constexpr ShortString kBiFeature1{1338, 10};           // bytes 1338..1348
  static constexpr ShortString kBiFeature2{1349, 10};           // bytes 1349..1359
  static constexpr ShortString kFreeItem1{1360, 20};            // bytes 1360..1380
  static constexpr ShortString kFreeItem2{1381, 20};            // bytes 1381..1401, pad 1402..1407
  static constexpr Double kCreditLimit{1408};                   // bytes 1408..1415
  static constexpr ShortString kPartnerGroup{1416, 20};         // bytes 1416..1436
  static constexpr ShortString kSalesCostGroup1{1437, 20};      // bytes 1437..1457
  static constexpr ShortString kSalesCostGroup2{1458, 20};      // bytes 1458..1478
  static constexpr ShortString kSalesCostGroup3{1479, 20};      // bytes 1479..1499
  static constexpr ShortString kVatGroup1{1500, 20};            // bytes 1500..1520
  static constexpr ShortString kVatGroup2{1521, 20};            // bytes 1521..1541
  static constexpr ShortString kCashDiscountAccount{1542, 20};  // bytes 1542..1562, pad 1563
  static constexpr Int32 kDiscountDays{1564};                   // bytes 1564..1567
  static constexpr Double kDiscountRate{1568};                  // bytes 1568..1575
  static constexpr Int32 kNetDays{1576};                        // bytes 1576..1579, pad 1580..1583
  static constexpr Double kPenaltyRate{1584};                   // bytes 1584..1591
  static constexpr ShortString kChangedBy{1592, 10};            // bytes 1592..1602
  static constexpr ShortString kChangedAt{1603, 20};            // bytes 1603..1623

  // Partner name.
  std::string Name() const { return Get<kName>(); }
  void SetName(std::string_view v) { Set<kName>(v); }
  // Company name (carried by export and import; the form leaves it alone).
  std::string CompanyName() const { return Get<kCompanyName>(); }
  void SetCompanyName(std::string_view v) { Set<kCompanyName>(v); }
  // Partner number; 0 when the number was left empty.
  std::int32_t OurNumber() const { return Get<kOurNumber>(); }
  void SetOurNumber(std::int32_t v) { Set<kOurNumber>(v); }
  // "YYYYMMDD" from which the relationship is suspended; empty = active.
  std::string SuspendedDate() const { return Get<kSuspendedDate>(); }
  void SetSuspendedDate(std::string_view v) { Set<kSuspendedDate>(v); }
  // "CUS" customer or "VEN" vendor.
  std::string RelationshipType() const { return Get<kRelationshipType>(); }
  void SetRelationshipType(std::string_view v) { Set<kRelationshipType>(v); }
  // Our number at the partner.
  std::string TheirNumber() const { return Get<kTheirNumber>(); }
  void SetTheirNumber(std::string_view v) { Set<kTheirNumber>(v); }
  std::string Address() const { return Get<kAddress>(); }
  void SetAddress(std::string_view v) { Set<kAddress>(v); }
  // Second address line.
  std::string Property() const { return Get<kProperty>(); }
  void SetProperty(std::string_view v) { Set<kProperty>(v); }
  std::string ZipCode() const { return Get<kZipCode>(); }
  void SetZipCode(std::string_view v) { Set<kZipCode>(v); }
  std::string Town() const { return Get<kTown>(); }
  void SetTown(std::string_view v) { Set<kTown>(v); }
  std::string Region() const { return Get<kRegion>(); }
  void SetRegion(std::string_view v) { Set<kRegion>(v); }
  std::string Country() const { return Get<kCountry>(); }
  void SetCountry(std::string_view v) { Set<kCountry>(v); }
  // "X": a correspondence address is used.
  std::string CorrCode() const { return Get<kCorrCode>(); }
  void SetCorrCode(std::string_view v) { Set<kCorrCode>(v); }
  std::string CorrAddress() const { return Get<kCorrAddress>(); }
  void SetCorrAddress(std::string_view v) { Set<kCorrAddress>(v); }
  std::string CorrZipCode() const { return Get<kCorrZipCode>(); }
  void SetCorrZipCode(std::string_view v) { Set<kCorrZipCode>(v); }
  std::string CorrTown() const { return Get<kCorrTown>(); }
  void SetCorrTown(std::string_view v) { Set<kCorrTown>(v); }
  std::string CorrState() const { return Get<kCorrState>(); }
  void SetCorrState(std::string_view v) { Set<kCorrState>(v); }
  std::string CorrCountry() const { return Get<kCorrCountry>(); }
  void SetCorrCountry(std::string_view v) { Set<kCorrCountry>(v); }
  std::string Telephone() const { return Get<kTelephone>(); }
  void SetTelephone(std::string_view v) { Set<kTelephone>(v); }
  std::string Fax() const { return Get<kFax>(); }
  void SetFax(std::string_view v) { Set<kFax>(v); }
  std::string Email() const { return Get<kEmail>(); }
  void SetEmail(std::string_view v) { Set<kEmail>(v); }
  std::string Website() const { return Get<kWebsite>(); }
  void SetWebsite(std::string_view v) { Set<kWebsite>(v); }
  std::string Contact1Name() const { return Get<kContact1Name>(); }
  void SetContact1Name(std::string_view v) { Set<kContact1Name>(v); }
  std::string Contact1Phone() const { return Get<kContact1Phone>(); }
  void SetContact1Phone(std::string_view v) { Set<kContact1Phone>(v); }
  std::string Contact1Text() const { return Get<kContact1Text>(); }
  void SetContact1Text(std::string_view v) { Set<kContact1Text>(v); }
  // Stored before the second contact's name.
  std::string Contact2Text() const { return Get<kContact2Text>(); }
  void SetContact2Text(std::string_view v) { Set<kContact2Text>(v); }
  std::string Contact2Name() const { return Get<kContact2Name>(); }
  void SetContact2Name(std::string_view v) { Set<kContact2Name>(v); }
  std::string Contact2Phone() const { return Get<kContact2Phone>(); }
  void SetContact2Phone(std::string_view v) { Set<kContact2Phone>(v); }
  std::string Memo() const { return Get<kMemo>(); }
  void SetMemo(std::string_view v) { Set<kMemo>(v); }
  std::string BankAccountNumber() const { return Get<kBankAccountNumber>(); }
  void SetBankAccountNumber(std::string_view v) { Set<kBankAccountNumber>(v); }
  // The name the account is held in.
  std::string BankAccountName() const { return Get<kBankAccountName>(); }
  void SetBankAccountName(std::string_view v) { Set<kBankAccountName>(v); }
  // Sales-tax number.
  std::string TaxAccountNumber() const { return Get<kTaxAccountNumber>(); }
  void SetTaxAccountNumber(std::string_view v) { Set<kTaxAccountNumber>(v); }
  // "YYYYMMDD".
  std::string TaxVerificationDate() const { return Get<kTaxVerificationDate>(); }
  void SetTaxVerificationDate(std::string_view v) { Set<kTaxVerificationDate>(v); }
  std::string BiFeature1() const { return Get<kBiFeature1>(); }
  void SetBiFeature1(std::string_view v) { Set<kBiFeature1>(v); }
  std::string BiFeature2() const { return Get<kBiFeature2>(); }
  void SetBiFeature2(std::string_view v) { Set<kBiFeature2>(v); }
  std::string FreeItem1() const { return Get<kFreeItem1>(); }
  void SetFreeItem1(std::string_view v) { Set<kFreeItem1>(v); }
  std::string FreeItem2() const { return Get<kFreeItem2>(); }
  void SetFreeItem2(std::string_view v) { Set<kFreeItem2>(v); }
  double CreditLimit() const { return Get<kCreditLimit>(); }
  void SetCreditLimit(double v) { Set<kCreditLimit>(v); }
  // GL account of the receivable (customer) or payable (vendor).
  std::string PartnerGroup() const { return Get<kPartnerGroup>(); }
  void SetPartnerGroup(std::string_view v) { Set<kPartnerGroup>(v); }
  // Sales (customer) or cost (vendor) GL account 1.
  std::string SalesCostGroup1() const { return Get<kSalesCostGroup1>(); }
  void SetSalesCostGroup1(std::string_view v) { Set<kSalesCostGroup1>(v); }
  // GL account 2.
  std::string SalesCostGroup2() const { return Get<kSalesCostGroup2>(); }
  void SetSalesCostGroup2(std::string_view v) { Set<kSalesCostGroup2>(v); }
  // GL account 3.
  std::string SalesCostGroup3() const { return Get<kSalesCostGroup3>(); }
  void SetSalesCostGroup3(std::string_view v) { Set<kSalesCostGroup3>(v); }
  // Sales-tax GL account 1.
  std::string VatGroup1() const { return Get<kVatGroup1>(); }
  void SetVatGroup1(std::string_view v) { Set<kVatGroup1>(v); }
  // Sales-tax GL account 2.
  std::string VatGroup2() const { return Get<kVatGroup2>(); }
  void SetVatGroup2(std::string_view v) { Set<kVatGroup2>(v); }
  // Cash-discount GL account.
  std::string CashDiscountAccount() const { return Get<kCashDiscountAccount>(); }
  void SetCashDiscountAccount(std::string_view v) { Set<kCashDiscountAccount>(v); }
  // Cash-discount term in days.
  std::int32_t DiscountDays() const { return Get<kDiscountDays>(); }
  void SetDiscountDays(std::int32_t v) { Set<kDiscountDays>(v); }
  // Cash-discount rate.
  double DiscountRate() const { return Get<kDiscountRate>(); }
  void SetDiscountRate(double v) { Set<kDiscountRate>(v); }
  // Payment term in days.
  std::int32_t NetDays() const { return Get<kNetDays>(); }
  void SetNetDays(std::int32_t v) { Set<kNetDays>(v); }
  double PenaltyRate() const { return Get<kPenaltyRate>(); }
  void SetPenaltyRate(double v) { Set<kPenaltyRate>(v); }
  // User of the last save.
  std::string ChangedBy() const { return Get<kChangedBy>(); }
  void SetChangedBy(std::string_view v) { Set<kChangedBy>(v); }
  // Date-time text of the last save.
  std::string ChangedAt() const { return Get<kChangedAt>(); }
  void SetChangedAt(std::string_view v) { Set<kChangedAt>(v); }

  // The seven GL account fields, in record order.
  static constexpr std::array<ShortString, 7> kAccountFields{
      kPartnerGroup, kSalesCostGroup1, kSalesCostGroup2, kSalesCostGroup3,
      kVatGroup1, kVatGroup2, kCashDiscountAccount};
  std::string AccountField(int i) const { return kAccountFields.at(static_cast<std::size_t>(i)).Read(data()); }
  void SetAccountField(int i, std::string_view v) { kAccountFields.at(static_cast<std::size_t>(i)).Write(data(), v); }
};
static_assert(sizeof(PartnerRec) == 1624);
static_assert(FieldFits<1624, PartnerRec::kAccountFields[0]>() && FieldFits<1624, PartnerRec::kAccountFields[1]>() &&
              FieldFits<1624, PartnerRec::kAccountFields[2]>() && FieldFits<1624, PartnerRec::kAccountFields[3]>() &&
              FieldFits<1624, PartnerRec::kAccountFields[4]>() && FieldFits<1624, PartnerRec::kAccountFields[5]>() &&
              FieldFits<1624, PartnerRec::kAccountFields[6]>());
static_assert(PartnerRec::kChangedAt.offset + PartnerRec::kChangedAt.Size() == PartnerRec::kSize);

}  // namespace records
