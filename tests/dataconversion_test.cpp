// The release-flag record and the decision the log-in takes on an
// administration's data-file layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/releaseflagrec.h"
#include "shell/dataconversion.h"
#include "support/records.h"

namespace {



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

TEST(DataConversion, MissingCodes) {
  struct Case {
    const char* name;
    std::vector<std::string> recorded;
    std::vector<std::string> missing;
  };
  const std::vector<Case> cases = {
      {"EverythingRecorded", All(), {}},
      // The order of the records does not matter, nor do doubles.
      {"AnyOrder", {"011", "010", "009", "008", "007", "006", "005", "004", "003", "002", "001", "001"}, {}},
      {"OldRelease", {"001", "002", "003", "004", "005", "006", "007", "008"}, {"009", "010", "011"}},
      // Texts that are no code, and codes written without their zeros.
      {"Garbage", {"", "1", "01", "012", "abc"}, All()},
  };
  for (const Case& c : cases) EXPECT_EQ(masterdata::MissingConversionCodes(c.recorded), c.missing) << c.name;
}

}  // namespace
