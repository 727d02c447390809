#include "journal/boekingstuk.h"

#include "shell/languagetext.h"

namespace journal {

Tboeking* boeking = nullptr;

Tboeking::Tboeking()
    : shell::PendingForm("boeking", "Tboeking", [] { return shell::L(870); }, /*endsFileSet=*/true) {}

}  // namespace journal
