#include "masterdata/adminsettings.h"

namespace masterdata {

Tadministrationsetting* administrationsetting = nullptr;

}  // namespace masterdata
