// A progress bar: a position between a minimum and a maximum (0 to 100
// unless set), shown by the front end.
#pragma once

#include <string>

#include "ui/component.h"

namespace ui {

class ProgressBar : public Component {
 public:
  ProgressBar(Container* parent, std::string name);
  int Position() const { return position_; }
  // Kept within the range.
  void SetPosition(int p);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);

 private:
  int position_ = 0, min_ = 0, max_ = 100;
};

}  // namespace ui
