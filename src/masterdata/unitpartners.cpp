#include "masterdata/unitpartners.h"

namespace masterdata {

Tpartners2* partners2 = nullptr;

}  // namespace masterdata
