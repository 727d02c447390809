#include "masterdata/fixedassets.h"

#include "platform/cp1252.h"
#include "shell/builtintext.h"

namespace masterdata {

TFixedassetsform* Fixedassetsform = nullptr;

TFixedassetsform::TFixedassetsform()
    : shell::PendingForm(
          "Fixedassetsform", "TFixedassetsform",
          [] { return shell::BuiltInText("Fixed assets", "Vaste activa", cp1252::L("Anlagevermögen")); },
          /*endsFileSet=*/false) {}

}  // namespace masterdata
