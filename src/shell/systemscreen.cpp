#include "shell/systemscreen.h"

namespace shell {

Tsystemscherm* systemscherm = nullptr;

}  // namespace shell
