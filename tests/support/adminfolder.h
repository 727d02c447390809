// A store test's administration: the in-memory data store with "/d/ACME/"
// as the data folder (data root "/d/", administration folder "ACME"), the
// user "ANNE" logged in and the clock fixed at 17 May 2024, 09:30:15.
//
// A fixture derives from it next to ::testing::Test and reaches `store` and
// `clock`; what a test needs beyond this (amount decimals, settings) it sets
// in its own SetUp.
#pragma once

#include "platform/datetime.h"
#include "support/fakefs.h"

namespace support {

struct AdministrationFolder {
  AdministrationFolder();

  FakeDataStore store;
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 5, 17) + platform::EncodeTime(9, 30, 15, 0)};
};

}  // namespace support
