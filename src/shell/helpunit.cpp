#include "shell/helpunit.h"

namespace shell {

Thelpform* helpform = nullptr;

}  // namespace shell
