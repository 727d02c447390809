// Long work on the GUI thread, as the desktop shows it. The scope and the
// tick are platform::LongWork and platform::LongWorkTick
// (platform/longwork.h), so the logic below the forms can hold them too;
// the component model installs their hooks when a backend is set
// (SetBackend), and they call the backend's three calls
// (ui::Backend::LongWork...).
//
// While a scope is open the front end shows the wait cursor and lets no user
// input reach the forms' windows (a click, a key, a close: none starts
// another command half-way); at a tick it shows what the model changed and
// repaints its windows (at most a few times a second, so a tick is cheap).
// Dialogs the work asks meanwhile (an overwrite question) take input as
// usual. Without a backend, or with the headless one, nothing happens at all.
#pragma once

#include "platform/longwork.h"

namespace ui {

using platform::InLongWork;
using platform::LongWork;
using platform::LongWorkTick;

}  // namespace ui
