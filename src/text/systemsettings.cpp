#include "text/systemsettings.h"

namespace shell {

SystemSettingsRec SystemSettings;

}  // namespace shell
