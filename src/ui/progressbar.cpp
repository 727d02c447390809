#include "ui/progressbar.h"

#include <algorithm>

namespace ui {

ProgressBar::ProgressBar(Container* parent, std::string name) : Component(parent, std::move(name), Kind::ProgressBar) {}

void ProgressBar::SetPosition(int p) {
  p = std::clamp(p, min_, max_);
  if (p == position_) return;
  position_ = p;
  Changed();
}

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  Changed();
}

}  // namespace ui
