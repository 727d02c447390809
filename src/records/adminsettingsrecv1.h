// The administration settings record of an older release (746 bytes), as
// the conversion to today's AdminSettingsRec (records/adminsettingsrec.h)
// reads it.
#pragma once

#include <cstddef>
#include <string>

#include "records/codec.h"

namespace records {

struct AdminSettingsRecV1 : Record<746> {
  static constexpr ShortString kCompanyName{0, 50};            // bytes 0..50
  static constexpr ShortString kAddress{51, 50};               // bytes 51..101
  static constexpr ShortString kZipCode{102, 15};              // bytes 102..117
  static constexpr ShortString kTown{118, 30};                 // bytes 118..148
  static constexpr ShortString kState{149, 30};                // bytes 149..179
  static constexpr ShortString kCountry{180, 30};              // bytes 180..210
  static constexpr ShortString kTelephone{211, 20};            // bytes 211..231
  static constexpr ShortString kFax{232, 20};                  // bytes 232..252
  static constexpr ShortString kEmail{253, 30};                // bytes 253..283
  static constexpr ShortString kWebsite{284, 30};              // bytes 284..314
  static constexpr ShortString kExtraItem2{315, 50};           // bytes 315..365
  static constexpr ShortString kChangedAt{366, 20};            // bytes 366..386
  static constexpr ShortString kChangedBy{387, 10};            // bytes 387..397
  static constexpr ShortString kExtraItem1{398, 50};           // bytes 398..448
  static constexpr ShortString kCompanyRegistration{449, 50};  // bytes 449..499
  static constexpr ShortString kProfitAccountCaption{500, 30};  // bytes 500..530
  static constexpr ShortString kProfitAccountNumber{531, 20};  // bytes 531..551
  static constexpr ShortString kBookYearStart{552, 8};         // bytes 552..560
  static constexpr ShortString kBookYearEnd{561, 8};           // bytes 561..569
  static constexpr Boolean kNoSalesTaxAccounts{570};           // byte 570, pad 571
  static constexpr Int16 kPeriodCount{572};                    // bytes 572..573
  // bytes 574..708: PeriodStart[1..15], string[8] each.
  static constexpr std::size_t kPeriodStartOffset = 574;
  static constexpr int kPeriodStartCount = 15;
  static constexpr ShortString kApprovedAnnualBalance{709, 8};  // bytes 709..717
  static constexpr ShortString kLastClosedPeriod{718, 8};      // bytes 718..726
  static constexpr ShortString kCurrentAnnualBalance{727, 8};  // bytes 727..735
  static constexpr ShortString kCurrentPeriod{736, 8};         // bytes 736..744, pad 745

  // PeriodStart[k], k = 1 to 15 (another k reads empty).
  std::string PeriodStart(int k) const {
    if (k < 1 || k > kPeriodStartCount) return {};
    return ReadShortString(data() + kPeriodStartOffset + 9 * static_cast<std::size_t>(k - 1), 8);
  }
};
static_assert(sizeof(AdminSettingsRecV1) == 746);
static_assert(AdminSettingsRecV1::kPeriodStartOffset + 9 * AdminSettingsRecV1::kPeriodStartCount ==
              AdminSettingsRecV1::kApprovedAnnualBalance.offset);

}  // namespace records
