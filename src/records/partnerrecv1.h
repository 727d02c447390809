// The partner record of an older release (1176 bytes, customers and
// suppliers alike), as the conversion to today's PartnerRec
// (records/partnerrec.h) reads it.
#pragma once

#include "records/codec.h"

namespace records {

struct PartnerRecV1 : Record<1176> {
  static constexpr ShortString kName{0, 50};                 // bytes 0..50, pad 51
  static constexpr Int32 kOurNumber{52};                     // bytes 52..55
  static constexpr ShortString kSuspendedDate{56, 8};        // bytes 56..64
  static constexpr ShortString kRelationshipType{65, 3};     // bytes 65..68
  static constexpr ShortString kTheirNumber{69, 15};         // bytes 69..84
  static constexpr ShortString kAddress{85, 30};             // bytes 85..115
  static constexpr ShortString kZipCode{116, 15};            // bytes 116..131
  static constexpr ShortString kTown{132, 30};               // bytes 132..162
  static constexpr ShortString kCorrCode{163, 1};            // bytes 163..164
  static constexpr ShortString kCorrAddress{165, 30};        // bytes 165..195
  static constexpr ShortString kCorrZipCode{196, 15};        // bytes 196..211
  static constexpr ShortString kCorrTown{212, 30};           // bytes 212..242
  static constexpr ShortString kRegion{243, 30};             // bytes 243..273
  static constexpr ShortString kCountry{274, 30};            // bytes 274..304
  static constexpr ShortString kTelephone{305, 20};          // bytes 305..325
  static constexpr ShortString kFax{326, 20};                // bytes 326..346
  static constexpr ShortString kEmail{347, 30};              // bytes 347..377
  static constexpr ShortString kWebsite{378, 50};            // bytes 378..428
  static constexpr ShortString kContact1Name{429, 50};       // bytes 429..479
  static constexpr ShortString kContact1Phone{480, 20};      // bytes 480..500
  static constexpr ShortString kContact1Text{501, 50};       // bytes 501..551
  static constexpr ShortString kContact2Text{552, 50};       // bytes 552..602
  static constexpr ShortString kContact2Name{603, 50};       // bytes 603..653
  static constexpr ShortString kContact2Phone{654, 20};      // bytes 654..674
  static constexpr ShortString kMemo{675, 100};              // bytes 675..775
  static constexpr ShortString kBankAccountNumber{776, 15};  // bytes 776..791
  static constexpr ShortString kBankAccountName{792, 60};    // bytes 792..852
  static constexpr ShortString kTaxAccountNumber{853, 15};   // bytes 853..868
  static constexpr ShortString kBiFeature1{869, 10};         // bytes 869..879
  static constexpr ShortString kBiFeature2{880, 10};         // bytes 880..890
  static constexpr ShortString kFreeItem1{891, 20};          // bytes 891..911
  static constexpr ShortString kFreeItem2{912, 20};          // bytes 912..932, 933..967 not read
  static constexpr Double kCreditLimit{968};                 // bytes 968..975
  static constexpr ShortString kPartnerGroup{976, 20};       // bytes 976..996
  static constexpr ShortString kSalesCostGroup1{997, 20};    // bytes 997..1017
  static constexpr ShortString kSalesCostGroup2{1018, 20};   // bytes 1018..1038
  static constexpr ShortString kVatGroup1{1039, 20};         // bytes 1039..1059
  static constexpr ShortString kVatGroup2{1060, 20};         // bytes 1060..1080
  static constexpr ShortString kCashDiscountAccount{1081, 20};  // bytes 1081..1101, 1102..1143 not read
  static constexpr Int32 kDiscountDays{1144};                // bytes 1144..1147, pad 1148..1151
  static constexpr Double kDiscountRate{1152};               // bytes 1152..1159
  static constexpr Int32 kNetDays{1160};                     // bytes 1160..1163, pad 1164..1167
  static constexpr Double kPenaltyRate{1168};                // bytes 1168..1175
};
static_assert(sizeof(PartnerRecV1) == 1176);

}  // namespace records
