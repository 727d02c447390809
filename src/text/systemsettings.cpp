#include "text/systemsettings.h"

namespace text {

SystemSettingsRec SystemSettings;

}  // namespace text
