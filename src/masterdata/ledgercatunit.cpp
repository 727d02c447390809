#include "masterdata/ledgercatunit.h"

namespace masterdata {

TLedgercategory* Ledgercategory = nullptr;

}  // namespace masterdata
