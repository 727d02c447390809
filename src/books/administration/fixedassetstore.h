// The fixed-asset file FIX ("fixed.vlk"): a new asset goes in at its place
// in ascending byte order (code page 1252) of the asset number, so that
// "10" comes before "9"; an asset number is unique and never empty.
//
// InsertFixedAsset works inside an open set that names FIX: it reads every
// asset number, refuses a duplicate (the file stays byte for byte as it
// was), refuses a damaged file (a partial record at its end) and inserts
// the record with store::InsertRecords, which moves the
// later records up one place, reserved bytes and all, under a rollback
// journal.
#pragma once

#include <string>
#include <vector>

#include "records/fixedassetrec.h"

namespace books::administration {

// The index at which `number` goes into a file holding `numbers` (in file
// order, ascending): after the last record whose number is not greater,
// seen from the end, as the file moves its greater records up.
int FixedAssetInsertIndex(const std::vector<std::string>& numbers, const std::string& number);

enum class FixedAssetSave {
  Saved,
  Duplicate,
  EmptyNumber,
  Damaged,  // the file's size is no whole number of records: nothing written
};

// Checks and inserts `asset` (see the file comment); EmptyNumber before the
// file is read. Raises platform::IoError on a file error.
FixedAssetSave InsertFixedAsset(const records::FixedAssetRec& asset);

}  // namespace books::administration
