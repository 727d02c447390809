// A progress bar: a position between a minimum and a maximum, shown as a
// filled share of the bar. The user cannot change it; a long loop on the
// GUI thread moves it (the bank import, every 100 rows).
#pragma once

#include <string>

#include "ui/component.h"

namespace ui {

class ProgressBar : public Component {
 public:
  ProgressBar(Container* parent, std::string name);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Sets the range; the position is kept inside it. A maximum below the
  // minimum becomes the minimum.
  void SetRange(int min, int max);
  // Sets the position, kept inside the range.
  void SetPosition(int position);

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace ui
