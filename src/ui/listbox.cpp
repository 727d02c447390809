#include "ui/listbox.h"

#include "ui/application.h"

namespace ui {

ListBox::ListBox(Container* parent, std::string name) : Component(parent, std::move(name), Kind::ListBox) {}

void ListBox::LinesChanged() {
  ++revision_;
  if (itemIndex_ >= Count()) itemIndex_ = -1;
  Changed();
}

void ListBox::Clear() {
  if (items_.empty() && itemIndex_ == -1) return;
  items_.clear();
  itemIndex_ = -1;
  LinesChanged();
}

void ListBox::Add(const Text& line) {
  items_.push_back(line);
  LinesChanged();
}

void ListBox::SetItems(std::vector<Text> lines) {
  items_ = std::move(lines);
  itemIndex_ = -1;
  LinesChanged();
}

void ListBox::SetItemIndex(int i) {
  const int index = i >= 0 && i < Count() ? i : -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed();
}

void ListBox::UserSelect(int i) {
  if (!Reachable() || i < 0 || i >= Count()) return;
  RunGuarded([&] {
    itemIndex_ = i;
    Changed();
    if (OnClick) OnClick();
  });
}

}  // namespace ui
