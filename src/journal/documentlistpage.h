// The list page the journal form's invoice list (tab 3) and payment list
// (tab 6) share: one page of 100 documents from their store, shown in a
// grid below its heading, with the row choice and the previous/next
// buttons as the page allows.
//
// Rules the list keeps:
// - A row stands for the document the store returned, never for the
//   grid's formatted text: `Chosen` hands back the record as read.
// - Every fill starts by clearing the status bar; a file set that fails is
//   reported and the rows shown before stay. A page with rows leaves the
//   status bar sky blue, an empty page says so (`emptyText`) in lime.
// - The filter of the last fill is kept, so the page buttons page through
//   the same matches.
// The components stay the page's own (with their own names); the list only
// holds the state and fills them.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "books/journal/documentstore.h"
#include "formkit/filesetscope.h"
#include "ui/form.h"

namespace journal {

// The state of a document on its tab.
enum class DocumentState { New, LoadedUnbooked, LoadedBooked };

template <class Record, class Filter>
class DocumentListPage {
 public:
  using Loaded = books::journal::LoadedDocument<Record>;
  using Page = books::journal::DocumentPage<Record>;
  // The components the list fills.
  struct Parts {
    ui::StringGrid& grid;
    ui::Action& choose;  // the row choice, on only with rows
    ui::Button& previous;
    ui::Button& next;
    ui::StatusBar& status;
  };
  // `list` is the store's list call, `cells` a row's cells in the grid's
  // columns, `emptyText` what the status bar says of a page without rows.
  DocumentListPage(Parts parts, std::function<Page(const Filter&, int)> list,
               std::function<std::vector<std::string>(const Record&)> cells,
               std::function<std::string(const Page&)> emptyText)
      : parts_(parts), list_(std::move(list)), cells_(std::move(cells)), emptyText_(std::move(emptyText)) {}

  void Fill(const Filter& filter, int page) {
    parts_.status.Show("", ui::colors::Default);
    filter_ = filter;
    const Page p = list_(filter, page);
    if (formkit::ReportFileFailure(p) || !p.value) return;
    rows_ = p.value->rows;
    page_ = p.value->page;
    ShowRows(p);
  }
  void PreviousPage() { Fill(filter_, std::max(0, page_ - 1)); }
  void NextPage() { Fill(filter_, page_ + 1); }

  // The document of grid row `row` (1 is the first below the heading).
  std::optional<Loaded> Chosen(int row) const {
    if (row < 1 || row > static_cast<int>(rows_.size())) return std::nullopt;
    return rows_[static_cast<std::size_t>(row - 1)];
  }
  // Whether the last fill found exactly one document in the whole file.
  bool SingleMatch() const { return singleMatch_; }

  // No rows: the grid emptied to its heading and one blank row, the row
  // choice off, the page buttons hidden.
  void Clear() {
    rows_.clear();
    Empty();
    parts_.previous.SetVisible(false);
    parts_.next.SetVisible(false);
  }
  // The grid emptied to its heading and one blank row, the row choice off.
  void Empty() {
    ui::StringGrid& grid = parts_.grid;
    for (int r = 1; r < grid.RowCount(); ++r)
      for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, r, "");
    grid.SetRowCount(2);
    grid.SetEnabled(false);
    parts_.choose.SetEnabled(false);
  }

 private:
  void ShowRows(const Page& p) {
    ui::StringGrid& grid = parts_.grid;
    const int rows = static_cast<int>(rows_.size());
    grid.SetRowCount(std::max(2, rows + 1));
    for (int c = 0; c < grid.ColCount(); ++c) grid.SetCell(c, 1, "");
    for (int r = 0; r < rows; ++r) {
      const std::vector<std::string> cells = cells_(rows_[static_cast<std::size_t>(r)].record);
      for (int c = 0; c < static_cast<int>(cells.size()); ++c)
        grid.SetCell(c, r + 1, cells[static_cast<std::size_t>(c)]);
    }
    grid.SetEnabled(rows > 0);
    grid.SetRow(1);
    parts_.choose.SetEnabled(rows > 0);
    parts_.previous.SetVisible(p.value->HasPrevious());
    parts_.next.SetVisible(p.value->more);
    singleMatch_ = p.value->SingleMatch();
    if (rows > 0) parts_.status.Show("", ui::colors::SkyBlue);
    else parts_.status.Show(emptyText_(p), ui::colors::Lime);
  }

  Parts parts_;
  std::function<Page(const Filter&, int)> list_;
  std::function<std::vector<std::string>(const Record&)> cells_;
  std::function<std::string(const Page&)> emptyText_;
  std::vector<Loaded> rows_;
  Filter filter_;
  int page_ = 0;
  bool singleMatch_ = false;
};

}  // namespace journal
