#include "masterdata/Ledgerunit.h"

namespace masterdata {

TLedger* Ledger = nullptr;

}  // namespace masterdata
