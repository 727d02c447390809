// A list box: a column of text lines the user can look through and pick
// one of (the export form's output and log lists).
//
// The lines are code page 1252 byte strings, held as the program gave them;
// the front end converts a line only when it shows it, so a list of hundreds
// of thousands of lines (an audit file) costs one conversion per line on
// screen, not per line held. The program fills a long list with SetItems in
// one change; Add is for a few lines at a time. Every change of the lines
// moves Revision on, which tells a view that its copy is stale.
//
// Events: OnClick when the user picks a line (ItemIndex is the line then),
// OnDblClick on a double click. Programmatic changes fire nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/component.h"

namespace ui {

class ListBox : public Component {
 public:
  ListBox(Container* parent, std::string name);

  const std::vector<Text>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear();
  void Add(const Text& line);
  void SetItems(std::vector<Text> lines);
  // The picked line, -1 for none. Out of range gives -1.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int i);
  // Moves on with every change of the lines.
  std::uint64_t Revision() const { return revision_; }

  // The user picked line `i`: ItemIndex, then OnClick.
  void UserSelect(int i);

 private:
  void LinesChanged();
  std::vector<Text> items_;
  int itemIndex_ = -1;
  std::uint64_t revision_ = 0;
};

}  // namespace ui
