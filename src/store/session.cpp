#include "store/session.h"

#include "text/systemsettings.h"

namespace store {

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
  text::SystemSettings = {};
}

}  // namespace store
