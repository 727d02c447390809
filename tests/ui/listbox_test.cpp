// The list box of the component model: the program's changes fire nothing
// and move the revision on; a user's pick sets the line and fires OnClick,
// but not on a hidden list or a line that does not exist.
#include "ui/listbox.h"

#include <gtest/gtest.h>

#include "support/reset.h"
#include "ui/form.h"
#include "ui/headless.h"

namespace {

struct ListForm : ui::Form {
  ListForm() : ui::Form("ListForm", "TListForm") {}
  ui::ListBox ListBox1{this, "ListBox1"};
};

TEST(ListBox, TheProgramsChangesFireNothingAndAUsersPickDoes) {
  support::ProgramState state;
  ui::HeadlessBackend backend;
  ListForm form;
  ui::ListBox& list = form.ListBox1;
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };

  const auto before = list.Revision();
  list.SetItems({"a", "b", "c"});
  list.Add("d");
  EXPECT_EQ(list.Items(), (std::vector<ui::Text>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Revision(), before + 2);
  list.SetItemIndex(3);
  EXPECT_EQ(list.ItemIndex(), 3);
  list.SetItemIndex(9);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(clicks, 0);

  list.UserSelect(2);
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  list.UserSelect(7);  // no such line
  EXPECT_EQ(list.ItemIndex(), 2);
  list.SetVisible(false);
  list.UserSelect(0);  // hidden
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);

  // New lines drop a pick beyond them; clearing an empty list changes nothing.
  list.SetItems({"x"});
  EXPECT_EQ(list.ItemIndex(), -1);
  list.Clear();
  const auto cleared = list.Revision();
  list.Clear();
  EXPECT_EQ(list.Revision(), cleared);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
