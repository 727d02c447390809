#include "books/administration/fixedassetstore.h"

#include "store/fileset.h"

namespace books::administration {

int FixedAssetInsertIndex(const std::vector<std::string>& numbers, const std::string& number) {
  int index = static_cast<int>(numbers.size());
  // std::string compares its bytes as unsigned characters.
  while (index > 0 && numbers[static_cast<std::size_t>(index - 1)] > number) --index;
  return index;
}

FixedAssetSave InsertFixedAsset(const records::FixedAssetRec& asset) {
  const std::string number = asset.AssetNumber();
  if (number.empty()) return FixedAssetSave::EmptyNumber;
  if (store::SnapshotOf(store::FileCode::FIX).size % records::FixedAssetRec::kSize != 0) return FixedAssetSave::Damaged;
  std::vector<std::string> numbers;
  for (const records::FixedAssetRec& rec : store::ReadAll<records::FixedAssetRec>(store::FileCode::FIX)) {
    if (rec.AssetNumber() == number) return FixedAssetSave::Duplicate;
    numbers.push_back(rec.AssetNumber());
  }
  store::InsertRecords(store::FileCode::FIX, FixedAssetInsertIndex(numbers, number),
                       std::vector<records::FixedAssetRec>{asset});
  return FixedAssetSave::Saved;
}

}  // namespace books::administration
