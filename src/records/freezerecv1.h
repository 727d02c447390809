// The freeze record of an older release (24,080 bytes), as the conversion
// to today's FreezeRec (records/freezerec.h) reads it: the same 80-byte
// header (bytes 76..79 not read) followed by 150 account rows of today's
// 160-byte FreezeAccountRow layout, where today's record has 400.
#pragma once

#include <cstddef>
#include <cstring>
#include <stdexcept>

#include "records/codec.h"
#include "records/freezerec.h"

namespace records {

struct FreezeRecV1 : Record<24080> {
  static constexpr int kAccountRows = 150;
  static constexpr std::size_t kAccountsOffset = 80;

  static constexpr ShortString kPeriodEndDate{0, 8};            // bytes 0..8
  static constexpr ShortString kPeriodStartDate{9, 8};          // bytes 9..17
  static constexpr ShortString kYearBaseDate{18, 8};            // bytes 18..26
  static constexpr ShortString kPeriodLabel{27, 11};            // bytes 27..38
  static constexpr ShortString kApprovedAnnualBalance{39, 8};   // bytes 39..47
  static constexpr ShortString kLastClosedPeriod{48, 8};        // bytes 48..56
  static constexpr ShortString kCurrentAnnualBalance{57, 8};    // bytes 57..65
  static constexpr ShortString kCurrentPeriod{66, 8};           // bytes 66..74, 75..79 not read

  // Row i, 1 to 150 (std::out_of_range otherwise).
  FreezeAccountRow Account(int i) const {
    if (i < 1 || i > kAccountRows) throw std::out_of_range("freeze row");
    FreezeAccountRow row;
    std::memcpy(row.data(), data() + kAccountsOffset + static_cast<std::size_t>(i - 1) * FreezeAccountRow::kSize,
                FreezeAccountRow::kSize);
    return row;
  }
};
static_assert(sizeof(FreezeRecV1) == 24080);
static_assert(FreezeRecV1::kAccountsOffset + FreezeRecV1::kAccountRows * FreezeAccountRow::kSize ==
              FreezeRecV1::kSize);

}  // namespace records
