// The release-flag record and the decision the log-in takes on an
// administration's data-file layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/releaseflagrec.h"
#include "shell/dataconversion.h"
#include "support/records.h"

namespace {

using masterdata::DataFileLayouts;

TEST(ReleaseFlagRec, GoldenBytes) {
  records::ReleaseFlagRec rec;
  rec.SetConversionCode("007");
  EXPECT_EQ(support::Bytes(rec), std::string("\x03" "007", 4));
  rec.SetConversionCode("12345");  // cut to three characters
  EXPECT_EQ(support::Bytes(rec), std::string("\x03" "123", 4));
  // A length byte beyond the room reads as three characters.
  rec.Bytes = {9, '0', '1', '1'};
  EXPECT_EQ(rec.ConversionCode(), "011");
}

std::vector<std::string> All() { return {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010", "011"}; }

TEST(DataFileLayouts, MissingCodesAndTheDecision) {
  struct Case {
    const char* name;
    std::vector<std::string> recorded;
    bool filesEmpty;
    std::vector<std::string> missing;
    DataFileLayouts layouts;
  };
  const std::vector<Case> cases = {
      {"EverythingRecorded", All(), false, {}, DataFileLayouts::Current},
      {"EverythingRecordedNoData", All(), true, {}, DataFileLayouts::Current},
      // The order of the records does not matter, nor do doubles.
      {"AnyOrder", {"011", "010", "009", "008", "007", "006", "005", "004", "003", "002", "001", "001"}, false, {},
       DataFileLayouts::Current},
      {"NewAdministration", {}, true, All(), DataFileLayouts::NewAdministration},
      {"NoCodesButData", {}, false, All(), DataFileLayouts::Outdated},
      {"OldReleaseWithData", {"001", "002", "003", "004", "005", "006", "007", "008"}, false, {"009", "010", "011"},
       DataFileLayouts::Outdated},
      // Converting empty files gives empty files: the codes can be recorded.
      {"SomeCodesNoData", {"001", "002"}, true, {"003", "004", "005", "006", "007", "008", "009", "010", "011"},
       DataFileLayouts::NewAdministration},
      // Texts that are no code, and codes written without their zeros.
      {"Garbage", {"", "1", "01", "012", "abc"}, false, All(), DataFileLayouts::Outdated},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> missing = masterdata::MissingConversionCodes(c.recorded);
    EXPECT_EQ(missing, c.missing) << c.name;
    EXPECT_EQ(masterdata::LayoutsFor(missing, c.filesEmpty), c.layouts) << c.name;
  }
}

}  // namespace
