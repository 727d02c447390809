#include "shell/systemsettings.h"

namespace shell {

SystemSettingsRec SystemSettings;

}  // namespace shell
