#include "store/session.h"

#include "text/systemsettings.h"

namespace shell {

std::string ProductTitle;
std::string CurrentAdministrationCode;
std::string CurrentAdministrationName;
records::SystemParamRec SystemParams;
std::string DataRootFolder;

void ResetSessionState() {
  ProductTitle.clear();
  CurrentAdministrationCode.clear();
  CurrentAdministrationName.clear();
  SystemParams.Clear();
  DataRootFolder.clear();
  SystemSettings = {};
}

}  // namespace shell
