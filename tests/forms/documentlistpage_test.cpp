// The list page the journal form's invoice and payment lists share, on a
// small form of its own with a list call that answers from a table: the
// rows are the store's records, the page buttons page through the filter
// of the last fill, a failed file set keeps the rows shown before, and an
// empty page says so.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "journal/documentlistpage.h"
#include "records/invoicerec.h"
#include "ui/form.h"
#include "ui/headless.h"

namespace {

struct Filter {
  std::string partner;
};

using List = journal::DocumentListPage<records::InvoiceRec, Filter>;

records::InvoiceRec Invoice(const std::string& number) {
  records::InvoiceRec r;
  r.SetInvoiceNumber(number);
  return r;
}

struct ListForm : ui::Form {
  ListForm() : ui::Form("listform", "TListForm") {}
  ui::Action choose{this, "choose"};
  ui::StringGrid grid{this, "grid", 2, 2};
  ui::Button previous{this, "previous"};
  ui::Button next{this, "next"};
  ui::StatusBar status{this, "status"};
};

class DocumentListPage : public ::testing::Test {
 protected:
  ui::HeadlessBackend backend;
  ListForm form;
  // What the list call was asked, and what it answers per page.
  std::vector<std::pair<std::string, int>> asked;
  std::vector<List::Page> answers;
  List list{{form.grid, form.choose, form.previous, form.next, form.status},
            [this](const Filter& f, int page) {
              asked.emplace_back(f.partner, page);
              return answers.at(static_cast<std::size_t>(page));
            },
            [](const records::InvoiceRec& rec) { return std::vector<std::string>{rec.InvoiceNumber(), "x"}; },
            [](const List::Page&) { return std::string("Nothing found"); }};

  static List::Page PageOf(int page, std::vector<std::string> numbers, bool more) {
    List::Page p;
    p.value.emplace();
    p.value->page = page;
    p.value->more = more;
    for (const std::string& n : numbers) p.value->rows.push_back({Invoice(n), static_cast<int>(p.value->rows.size())});
    return p;
  }
};

TEST_F(DocumentListPage, RowsArePagedThroughTheFilterOfTheLastFill) {
  answers = {PageOf(0, {"F1", "F2"}, true), PageOf(1, {"F3"}, false)};
  list.Fill(Filter{"CUS1"}, 0);
  EXPECT_EQ(form.grid.RowCount(), 3);
  EXPECT_EQ(form.grid.Cell(0, 2), "F2");
  EXPECT_TRUE(form.choose.Enabled());
  EXPECT_FALSE(form.previous.Visible());
  EXPECT_TRUE(form.next.Visible());
  EXPECT_EQ(form.status.BackColor(), ui::colors::SkyBlue);
  ASSERT_TRUE(list.Chosen(2));
  EXPECT_EQ(list.Chosen(2)->record.InvoiceNumber(), "F2");
  EXPECT_EQ(list.Chosen(2)->index, 1);
  EXPECT_FALSE(list.Chosen(0));
  EXPECT_FALSE(list.Chosen(3));
  EXPECT_FALSE(list.SingleMatch());

  list.NextPage();
  list.PreviousPage();
  EXPECT_EQ(asked, (std::vector<std::pair<std::string, int>>{{"CUS1", 0}, {"CUS1", 1}, {"CUS1", 0}}));
}

TEST_F(DocumentListPage, AFailedFileSetKeepsTheRowsShownBefore) {
  answers = {PageOf(0, {"F1"}, false), {}};
  answers[1].outcome = books::journal::DocumentOutcome::FileSetFailed;
  answers[1].failure = {1, "The invoices cannot be read", 0};
  list.Fill(Filter{}, 0);
  EXPECT_TRUE(list.SingleMatch());
  list.Fill(Filter{}, 1);
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(form.grid.Cell(0, 1), "F1");
  ASSERT_TRUE(list.Chosen(1));
  EXPECT_EQ(list.Chosen(1)->record.InvoiceNumber(), "F1");
}

TEST_F(DocumentListPage, AnEmptyPageSaysSoAndClearEmptiesTheGrid) {
  answers = {PageOf(0, {}, false)};
  list.Fill(Filter{}, 0);
  EXPECT_EQ(form.status.PanelText(0), "Nothing found");
  EXPECT_EQ(form.status.BackColor(), ui::colors::Lime);
  EXPECT_EQ(form.grid.RowCount(), 2);
  EXPECT_FALSE(form.grid.Enabled());
  EXPECT_FALSE(form.choose.Enabled());

  answers = {PageOf(0, {"F1", "F2"}, true)};
  list.Fill(Filter{}, 0);
  list.Clear();
  EXPECT_EQ(form.grid.RowCount(), 2);
  EXPECT_EQ(form.grid.Cell(0, 1), "");
  EXPECT_FALSE(form.choose.Enabled());
  EXPECT_FALSE(form.next.Visible());
  EXPECT_FALSE(list.Chosen(1));
}

}  // namespace
