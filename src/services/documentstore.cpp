// What the invoice and payment stores share (see documentstore.h).
#include "services/documentstore.h"

#include "platform/datetime.h"
#include "shell/systemsettings.h"
#include "shell/textroutines.h"

namespace journal {

int LanguageOffsetOf(DocumentOutcome outcome, bool list) {
  switch (outcome) {
    case DocumentOutcome::Duplicate: return 9648;
    case DocumentOutcome::NotFound: return list ? 9892 : 0;
    case DocumentOutcome::FileEmpty: return list ? 9892 : 0;
    default: return 0;
  }
}

std::string DocumentStampTime() { return shell::Cut(platform::DateTimeToText(platform::Now()), 20); }

std::string DocumentStampUser() { return shell::Cut(shell::SystemSettings.CurrentUser, 10); }

}  // namespace journal
