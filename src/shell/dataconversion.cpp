#include "shell/dataconversion.h"

#include <algorithm>

#include "records/releaseflagrec.h"

namespace masterdata {

std::vector<std::string> MissingConversionCodes(const std::vector<std::string>& recorded) {
  std::vector<std::string> missing;
  for (const char* code : kConversionCodes)
    if (std::find(recorded.begin(), recorded.end(), code) == recorded.end()) missing.emplace_back(code);
  return missing;
}

DataFileLayouts LayoutsFor(const std::vector<std::string>& missing, bool convertedFilesEmpty) {
  if (missing.empty()) return DataFileLayouts::Current;
  return convertedFilesEmpty ? DataFileLayouts::NewAdministration : DataFileLayouts::Outdated;
}

namespace {

// Every converted file holds no byte (a partial record counts as data). The
// small files are asked first: the first one holding data decides.
bool ConvertedFilesEmpty() {
  for (shell::FileCode c : kConvertedFiles)
    if (shell::SnapshotOf(c).size != 0) return false;
  return true;
}

}  // namespace

DataFileLayouts ConvertDataFiles() {
  std::vector<std::string> recorded;
  for (const records::ReleaseFlagRec& rec :
       shell::ReadAll<records::ReleaseFlagRec>(shell::FileCode::FLG, shell::kSmallFileLimit))
    recorded.push_back(rec.ConversionCode());
  const std::vector<std::string> missing = MissingConversionCodes(recorded);
  if (missing.empty()) return DataFileLayouts::Current;
  const DataFileLayouts layouts = LayoutsFor(missing, ConvertedFilesEmpty());
  if (layouts == DataFileLayouts::NewAdministration) {
    // Code n at index n - 1, every code present: the file as the
    // conversions of empty files leave it.
    std::vector<records::ReleaseFlagRec> flags(kConversionCodes.size());
    for (std::size_t i = 0; i < kConversionCodes.size(); ++i) flags[i].SetConversionCode(kConversionCodes[i]);
    shell::RewriteFile(shell::FileCode::FLG, flags);
  }
  return layouts;
}

}  // namespace masterdata
