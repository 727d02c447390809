#include "ui/progressbar.h"

#include <algorithm>

namespace ui {

ProgressBar::ProgressBar(Container* parent, std::string name) : Component(parent, std::move(name), Kind::ProgressBar) {}

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  Changed();
}

void ProgressBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  Changed();
}

}  // namespace ui
