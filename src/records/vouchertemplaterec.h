// One voucher template: a record of the template file JVT ("booktemp.vlk"),
// 3184 bytes. The file is sorted by Name in ascending byte order
// (case-sensitive) and the names are unique.
//
// A template holds the eight entry lines of a voucher as eight embedded
// voucher lines (records::JournalVoucherRec, 392 bytes each, from byte 48).
// Of each line only LineText, AccountNumber, AccountCaption, CostCentre,
// DebitAmount and CreditAmount carry template data; the other fields are
// written empty and never read.
#pragma once

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "records/codec.h"
#include "records/journalvoucherrec.h"

namespace records {

struct VoucherTemplateRec : Record<3184> {
  static constexpr int kLineCount = 8;
  static constexpr std::size_t kLinesOffset = 48;

  static constexpr ShortString kName{0, 40};  // bytes 0..40, pad 41..47
  // bytes 48..3183: Lines[1..8], 392 bytes each.

  std::string Name() const { return Get<kName>(); }
  void SetName(std::string_view v) { Set<kName>(v); }

  // Line i, 1 to 8 (std::out_of_range otherwise), as a copy.
  JournalVoucherRec Line(int i) const {
    JournalVoucherRec line;
    std::memcpy(line.data(), data() + LineOffset(i), JournalVoucherRec::kSize);
    return line;
  }
  void SetLine(int i, const JournalVoucherRec& line) {
    std::memcpy(data() + LineOffset(i), line.data(), JournalVoucherRec::kSize);
  }
  // The offset of line i in the record.
  static std::size_t LineOffset(int i);
};
static_assert(sizeof(VoucherTemplateRec) == 3184);
static_assert(VoucherTemplateRec::kLinesOffset + VoucherTemplateRec::kLineCount * JournalVoucherRec::kSize ==
              VoucherTemplateRec::kSize);
static_assert(VoucherTemplateRec::kName.offset + VoucherTemplateRec::kName.Size() <= VoucherTemplateRec::kLinesOffset);
// The embedded doubles stay on their 8-byte alignment.
static_assert(VoucherTemplateRec::kLinesOffset % 8 == 0 && JournalVoucherRec::kSize % 8 == 0);

inline std::size_t VoucherTemplateRec::LineOffset(int i) {
  if (i < 1 || i > kLineCount) throw std::out_of_range("template line " + std::to_string(i) + " outside 1..8");
  return kLinesOffset + static_cast<std::size_t>(i - 1) * JournalVoucherRec::kSize;
}

}  // namespace records
