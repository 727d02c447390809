// Long work on the GUI thread, as the program's logic sees it: an action
// that can run for seconds (laying out or printing thousands of pages, the
// audit file of a large year, a long bank statement, an administration
// copy) holds a LongWork scope while it runs and calls LongWorkTick() now
// and then in its loop.
//
// Scopes nest: only the outermost begins and ends the long work; a tick
// outside any scope does nothing. What a begin, a tick and an end do is up
// to the hooks the front end installs (ui/longwork.h says what the desktop
// does); with no hooks installed nothing happens at all, so the logic below
// the forms stays free of any window.
#pragma once

#include <functional>

namespace platform {

class LongWork {
 public:
  LongWork();
  ~LongWork();
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;
};

// Inside a scope: the front end may show what changed.
void LongWorkTick();
// Whether a scope is open.
bool InLongWork();

// What the outermost scope's begin and end, and a tick inside a scope, call.
// An empty function does nothing.
struct LongWorkHooks {
  std::function<void()> begin;
  std::function<void()> tick;
  std::function<void()> end;
};
void SetLongWorkHooks(LongWorkHooks hooks);

}  // namespace platform
