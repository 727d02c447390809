// L(n): the text at offset n of the current language record, as every form
// shows it. The language routine and the forms' own text set-up read the
// texts through this.
#pragma once

#include <string>

namespace text {

// The short string at `offset` of the current language record (CP1252).
std::string L(int offset);

}  // namespace text
