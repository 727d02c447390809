#include "journal/boekingstuk.h"

namespace journal {

Tboeking* boeking = nullptr;

}  // namespace journal
