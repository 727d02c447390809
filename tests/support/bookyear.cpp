#include "support/bookyear.h"

#include <string>

namespace support {

records::AdminSettingsRec MonthlyBookYear(int year) {
  records::AdminSettingsRec s;
  const std::string y = std::to_string(year);
  s.SetBookYearStart(y + "0101");
  s.SetBookYearEnd(y + "1231");
  s.SetPeriodCount(12);
  for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, y + (k < 10 ? "0" : "") + std::to_string(k) + "01");
  for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, std::to_string(year + 1) + "0101");
  return s;
}

}  // namespace support
