// Long work on the GUI thread: an action that can run for seconds (laying
// out or printing thousands of pages, saving a long report, the audit file
// of a large year, a long bank statement, an administration copy) holds a
// LongWork scope while it runs and calls LongWorkTick() now and then in its
// loop.
//
// While a scope is open the front end shows the wait cursor and lets no user
// input reach the forms' windows (a click, a key, a close: none starts
// another command half-way); at a tick it shows what the model changed and
// repaints its windows (at most a few times a second, so a tick is cheap).
// Dialogs the work asks meanwhile (an overwrite question) take input as
// usual. Scopes nest: only the outermost begins and ends the long work; a
// tick outside any scope does nothing. Without a backend, or with the
// headless one, nothing happens at all. The model stays free of any toolkit:
// the backend implements the three calls (ui::Backend::LongWork...).
#pragma once

namespace ui {

class LongWork {
 public:
  LongWork();
  ~LongWork();
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;
};

// Inside a scope: the front end may repaint.
void LongWorkTick();
// Whether a scope is open.
bool InLongWork();

}  // namespace ui
