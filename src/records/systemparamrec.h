// The system-parameter record (file "sysparm010000.vlk" in the working
// folder, one record at index 0) and the installation-hint record (file
// "ins.vlk").
//
// Every byte that no field below names (the two reserved blocks, the pads
// before the doubles and around the tail fields) is kept as it was read: the
// record is always written whole from the buffer it was read into.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "records/codec.h"

namespace records {

struct SystemParamRec : Record<816> {
  // Bytes 0..8: reserved.
  static constexpr std::size_t kReserved1Offset = 0, kReserved1Size = 9;
  static constexpr ShortString kAddress{9, 30};
  static constexpr ShortString kZipCode{40, 15};
  static constexpr ShortString kTown{56, 30};
  static constexpr ShortString kAddressExtra{87, 30};
  static constexpr ShortString kCountry{118, 30};
  static constexpr ShortString kTelephone{149, 20};
  static constexpr ShortString kFax{170, 20};
  static constexpr ShortString kEmail{191, 30};
  static constexpr ShortString kWebsite{222, 50};
  // Bytes 273..364: reserved.
  static constexpr std::size_t kReserved2Offset = 273, kReserved2Size = 92;
  static constexpr ShortString kSavedAt{365, 20};
  static constexpr ShortString kSavedBy{386, 10};
  static constexpr ShortString kLanguageName{397, 20};
  static constexpr Boolean kUserIdentification{418};
  static constexpr Boolean kPasswordProtection{419};
  static constexpr Boolean kAuthorisationLevels{420};
  // Six sales-tax rates, each a name (string[12]) and a rate in percent (a
  // double, after the pad that aligns it): entries 0..2 are set 1
  // ("Products or Service"), 3..5 set 2 ("Customer or vendor").
  static constexpr int kTaxRateCount = 6;
  static constexpr std::array<ShortString, kTaxRateCount> kTaxRateNames{
      ShortString{421, 12}, ShortString{448, 12}, ShortString{472, 12},
      ShortString{496, 12}, ShortString{520, 12}, ShortString{544, 12}};
  static constexpr std::array<Double, kTaxRateCount> kTaxRates{
      Double{440}, Double{464}, Double{488}, Double{512}, Double{536}, Double{560}};
  // The tail, bytes 568..815, is what SystemSettings mirrors.
  static constexpr std::size_t kTailOffset = 568;
  static constexpr ShortString kCompanyName{568, 100};
  static constexpr ShortString kDataFolder{669, 100};
  // Bytes 770..771: pad.
  static constexpr Int16 kAmountDecimals{772};
  static constexpr Char kCurrencySign{774};
  static constexpr ShortString kTipsAndNews{775, 1};
  static constexpr ShortString kNextNewsDate{777, 8};
  // Byte 786: unused.
  static constexpr Char kCurrencyInFront{787};
  // Bytes 788..793: unused.
  static constexpr ShortString kCurrentUser{794, 20};
  // Byte 815: pad.

  std::string Address() const { return Get<kAddress>(); }
  void SetAddress(std::string_view v) { Set<kAddress>(v); }
  std::string ZipCode() const { return Get<kZipCode>(); }
  void SetZipCode(std::string_view v) { Set<kZipCode>(v); }
  std::string Town() const { return Get<kTown>(); }
  void SetTown(std::string_view v) { Set<kTown>(v); }
  std::string AddressExtra() const { return Get<kAddressExtra>(); }
  void SetAddressExtra(std::string_view v) { Set<kAddressExtra>(v); }
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
  std::string SavedAt() const { return Get<kSavedAt>(); }
  void SetSavedAt(std::string_view v) { Set<kSavedAt>(v); }
  std::string SavedBy() const { return Get<kSavedBy>(); }
  void SetSavedBy(std::string_view v) { Set<kSavedBy>(v); }
  std::string LanguageName() const { return Get<kLanguageName>(); }
  void SetLanguageName(std::string_view v) { Set<kLanguageName>(v); }
  bool UserIdentification() const { return Get<kUserIdentification>(); }
  void SetUserIdentification(bool v) { Set<kUserIdentification>(v); }
  bool PasswordProtection() const { return Get<kPasswordProtection>(); }
  void SetPasswordProtection(bool v) { Set<kPasswordProtection>(v); }
  bool AuthorisationLevels() const { return Get<kAuthorisationLevels>(); }
  void SetAuthorisationLevels(bool v) { Set<kAuthorisationLevels>(v); }
  // Entry i of the six sales-tax names and rates (0..5).
  std::string TaxRateName(int i) const { return kTaxRateNames.at(static_cast<std::size_t>(i)).Read(data()); }
  void SetTaxRateName(int i, std::string_view v) { kTaxRateNames.at(static_cast<std::size_t>(i)).Write(data(), v); }
  double TaxRate(int i) const { return kTaxRates.at(static_cast<std::size_t>(i)).Read(data()); }
  void SetTaxRate(int i, double v) { kTaxRates.at(static_cast<std::size_t>(i)).Write(data(), v); }
  std::string CompanyName() const { return Get<kCompanyName>(); }
  void SetCompanyName(std::string_view v) { Set<kCompanyName>(v); }
  std::string DataFolder() const { return Get<kDataFolder>(); }
  void SetDataFolder(std::string_view v) { Set<kDataFolder>(v); }
  std::int16_t AmountDecimals() const { return Get<kAmountDecimals>(); }
  void SetAmountDecimals(std::int16_t v) { Set<kAmountDecimals>(v); }
  char CurrencySign() const { return Get<kCurrencySign>(); }
  void SetCurrencySign(char v) { Set<kCurrencySign>(v); }
  std::string TipsAndNews() const { return Get<kTipsAndNews>(); }
  void SetTipsAndNews(std::string_view v) { Set<kTipsAndNews>(v); }
  std::string NextNewsDate() const { return Get<kNextNewsDate>(); }
  void SetNextNewsDate(std::string_view v) { Set<kNextNewsDate>(v); }
  char CurrencyInFront() const { return Get<kCurrencyInFront>(); }
  void SetCurrencyInFront(char v) { Set<kCurrencyInFront>(v); }
  std::string CurrentUser() const { return Get<kCurrentUser>(); }
  void SetCurrentUser(std::string_view v) { Set<kCurrentUser>(v); }
};
static_assert(sizeof(SystemParamRec) == 816);

// The tax fields lie inside the record on their alignment, as the named
// fields do through Get and Set.
template <std::size_t... I>
constexpr bool TaxFieldsFit(std::index_sequence<I...>) {
  return ((FieldFits<816, SystemParamRec::kTaxRateNames[I]>() &&
           FieldFits<816, SystemParamRec::kTaxRates[I]>()) && ...);
}
static_assert(TaxFieldsFit(std::make_index_sequence<SystemParamRec::kTaxRateCount>{}));
// The blocks follow each other without a gap or an overlap.
static_assert(SystemParamRec::kReserved1Offset + SystemParamRec::kReserved1Size == SystemParamRec::kAddress.offset);
static_assert(SystemParamRec::kWebsite.offset + SystemParamRec::kWebsite.Size() ==
              SystemParamRec::kReserved2Offset);
static_assert(SystemParamRec::kReserved2Offset + SystemParamRec::kReserved2Size ==
              SystemParamRec::kSavedAt.offset);
static_assert(SystemParamRec::kCurrentUser.offset + SystemParamRec::kCurrentUser.Size() == 815);

struct InstallHintRec : Record<3> {
  // "DU" presets "Deutsch", "GB" "English", "NL" "Nederlands"; anything
  // else (the program writes "XX") presets nothing.
  static constexpr ShortString kLanguageCode{0, 2};

  std::string LanguageCode() const { return Get<kLanguageCode>(); }
  void SetLanguageCode(std::string_view v) { Set<kLanguageCode>(v); }
};
static_assert(sizeof(InstallHintRec) == 3);

}  // namespace records
