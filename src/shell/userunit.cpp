#include "shell/userunit.h"

namespace shell {

TUsers* Users = nullptr;

}  // namespace shell
