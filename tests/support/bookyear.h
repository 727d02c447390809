// A book year's administration settings for tests: the record with the
// year's start and end and its twelve monthly periods, the rest blank for
// the test to fill (current period, closing fields, journals).
#pragma once

#include "records/adminsettingsrec.h"

namespace support {

// The book year `year` in twelve monthly periods; the thirteenth to
// fifteenth period start on 1 January of the next year, as the settings
// form stores a year of fewer than fifteen periods.
records::AdminSettingsRec MonthlyBookYear(int year);

}  // namespace support
