#include "masterdata/Administrationsunit.h"

namespace masterdata {

TAdministrations* Administrations = nullptr;

}  // namespace masterdata
