#include "masterdata/fixedassets.h"

namespace masterdata {

TFixedassetsform* Fixedassetsform = nullptr;

}  // namespace masterdata
