// The concrete components of the component model (see ui/component.h for
// the event semantics they follow).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class Action;

class Label : public Component {
 public:
  Label(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  Color FontColor() const { return fontColor_; }
  void SetFontColor(Color c);
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color c);
  bool Bold() const { return bold_; }
  void SetBold(bool b);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool w);

 private:
  Text caption_;
  Color fontColor_, backColor_;
  bool bold_ = false, wordWrap_ = false;
};

enum class CharCase { Normal, Upper };

class Edit : public Component {
 public:
  Edit(Container* parent, std::string name);
  const Text& GetText() const { return text_; }
  // Sets the text as the program does: MaxLength and CharCase do not apply
  // (as with the original library); OnChange fires when the text changes.
  void SetText(const Text& t);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  CharCase GetCharCase() const { return charCase_; }
  void SetCharCase(CharCase c);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);
  void SelectAll();
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelection(int start, int length);

  Event OnChange;

  // The user typed: the text the edit then holds. MaxLength and CharCase
  // apply; a read-only or disabled edit refuses.
  void UserSetText(const Text& t);

 private:
  Text text_;
  int maxLength_ = 0;
  char passwordChar_ = 0;
  CharCase charCase_ = CharCase::Normal;
  bool readOnly_ = false;
  Color color_;
  int selStart_ = 0, selLength_ = 0;
};

class Memo : public Component {
 public:
  Memo(Container* parent, std::string name);
  const std::vector<Text>& Lines() const { return lines_; }
  void SetLines(const std::vector<Text>& lines);
  void AddLine(const Text& line);
  void Clear();
  // The lines joined with CR LF, as the original library's Text.
  Text GetText() const;
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool w);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);
  // The most characters the user can type (0: no limit), a line break
  // counting as the two characters (CR LF) it is kept as. Text the user
  // types beyond it is dropped from the end; SetLines is not limited.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);

  Event OnChange;
  void UserSetLines(const std::vector<Text>& lines);

 private:
  std::vector<Text> lines_;
  int maxLength_ = 0;
  bool readOnly_ = false, wordWrap_ = true;
  Color color_;
};

// Shared by buttons, menu items and tool buttons: a linked client shows the
// action's caption, enabled and visible state and runs its OnExecute.
class Action {
 public:
  Action(Form* owner, std::string name);
  ~Action();
  Action(const Action&) = delete;
  Action& operator=(const Action&) = delete;
  const std::string& Name() const { return name_; }
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const Text& Hint() const { return hint_; }
  void SetHint(const Text& h);
  // Runs OnExecute when the action is enabled. Returns whether it ran.
  bool Execute();

  Event OnExecute;

 private:
  friend class ActionClient;
  void Notify();
  std::string name_;
  Text caption_, hint_;
  bool enabled_ = true, visible_ = true;
  std::vector<class ActionClient*> clients_;
};

// A component that may follow an action.
class ActionClient {
 public:
  virtual ~ActionClient();
  void SetAction(Action* a);
  Action* GetAction() const { return action_; }

 protected:
  virtual void ActionChanged() = 0;

 private:
  friend class Action;
  Action* action_ = nullptr;
};

class Button : public Component, public ActionClient {
 public:
  Button(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const;
  void SetCaption(const Text& c);
  bool Flat() const { return flat_; }
  void SetFlat(bool f);

 protected:
  void DoUserClick() override;
  void ActionChanged() override;

 private:
  Text caption_;
  bool flat_ = false;
};

class CheckBox : public Component {
 public:
  CheckBox(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  bool Checked() const { return checked_; }
  // OnClick fires when the state changes.
  void SetChecked(bool c);

 protected:
  void DoUserClick() override;

 private:
  Text caption_;
  bool checked_ = false;
};

// Radio buttons with the same parent form one group.
class RadioButton : public Component {
 public:
  RadioButton(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  bool Checked() const { return checked_; }
  // Checking one unchecks its siblings; OnClick fires on the one that became
  // checked.
  void SetChecked(bool c);

 protected:
  void DoUserClick() override;

 private:
  Text caption_;
  bool checked_ = false;
};

class RadioGroup : public Component {
 public:
  RadioGroup(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  const std::vector<Text>& Items() const { return items_; }
  void SetItems(const std::vector<Text>& items);
  void SetItem(int i, const Text& t);
  int ItemIndex() const { return itemIndex_; }
  // OnClick fires when the index changes.
  void SetItemIndex(int i);
  int Columns() const { return columns_; }
  void SetColumns(int c);

  void UserSelect(int i);

 private:
  Text caption_;
  std::vector<Text> items_;
  int itemIndex_ = -1;
  int columns_ = 1;
};

class Panel : public Container {
 public:
  Panel(Container* parent, std::string name, LayoutKind layout = LayoutKind::Vertical);
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);
  bool Bevel() const { return bevel_; }
  void SetBevel(bool b);

 private:
  Text caption_;
  Color color_;
  bool bevel_ = true;
};

class GroupBox : public Container {
 public:
  GroupBox(Container* parent, std::string name, Text caption = {}, LayoutKind layout = LayoutKind::Vertical);
  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& c);

 private:
  Text caption_;
};

enum class ComboStyle { DropDown, DropDownList };

class ComboBox : public Component {
 public:
  struct Item {
    Text text;
    int64_t data = 0;
  };
  ComboBox(Container* parent, std::string name, ComboStyle style = ComboStyle::DropDown);
  ComboStyle Style() const { return style_; }
  void SetStyle(ComboStyle s);
  const std::vector<Item>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  void ClearItems();
  void AddItem(const Text& t, int64_t data = 0);
  void InsertItem(int index, const Text& t, int64_t data = 0);
  void DeleteItem(int index);
  void SetItems(const std::vector<Text>& texts);
  // Index of the item with exactly this text, or -1.
  int IndexOf(const Text& t) const;
  // Index of the item equal to this text ignoring case, or -1.
  int IndexOfIgnoringCase(const Text& t) const;
  int ItemIndex() const { return itemIndex_; }
  // Selects an item (its text becomes the text); -1 clears. No event.
  void SetItemIndex(int i);
  const Text& GetText() const { return text_; }
  // Sets the text; the index follows an item of the same text. No event.
  void SetText(const Text& t);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);

  Event OnChange, OnSelect, OnDropDown, OnCloseUp;

  // The user picked an item from the list: OnSelect, then OnChange.
  void UserSelect(int index);
  // The user typed into an editable box: OnChange.
  void UserSetText(const Text& t);
  // The user opened or closed the drop-down list: OnDropDown, OnCloseUp.
  void UserDropDown();
  void UserCloseUp();

 private:
  ComboStyle style_;
  std::vector<Item> items_;
  int itemIndex_ = -1;
  Text text_;
  int maxLength_ = 0;
  Color color_;
};

// A grid of texts addressed as Cell(column, row); the heading row (row 0
// while FixedRows is 1) is an ordinary row of cells. A column of width 0 is
// hidden; other widths are where a column starts, unless set exact.
class StringGrid : public Component {
 public:
  StringGrid(Container* parent, std::string name, int cols = 5, int rows = 5);
  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  void SetColCount(int n);
  void SetRowCount(int n);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int n);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  const Text& Cell(int col, int row) const;
  void SetCell(int col, int row, const Text& t);
  // A number kept with a row (not shown).
  int64_t RowData(int row) const;
  void SetRowData(int row, int64_t d);
  int ColWidth(int col) const;
  // The width a column starts with; the front end widens it so that its
  // whole heading shows (a column without a width set starts at 64).
  void SetColWidth(int col, int w);
  // A width the column keeps as it is; a heading it cuts shows whole as the
  // column's tool tip.
  void SetExactColWidth(int col, int w);
  bool ColWidthExact(int col) const;
  int Row() const { return row_; }
  int Col() const { return col_; }
  // Moves the current cell; no event.
  void SetRow(int r);
  void SetCol(int c);
  bool Editable() const { return editable_; }
  void SetEditable(bool e);
  // Removes all rows from `row` on by moving the later ones up.
  void DeleteRow(int row);
  // Opens an empty row at `row`, moving the later ones down.
  void InsertRow(int row);

  // Asked before the current cell moves to (col, row); clearing `allow`
  // refuses.
  std::function<void(int col, int row, bool& allow)> OnSelectCell;
  std::function<void(int col, int row)> OnCellEdited;

  void UserSelectCell(int col, int row);
  void UserEditCell(int col, int row, const Text& t);

 private:
  void Resize();
  int cols_, rows_;
  int fixedRows_ = 1, fixedCols_ = 0;
  std::vector<std::vector<Text>> cells_;  // [row][col]
  std::vector<int64_t> rowData_;
  std::vector<int> widths_;
  std::vector<bool> exactWidths_;
  int row_ = 1, col_ = 0;
  bool editable_ = false;
};

class TreeNode {
 public:
  TreeNode(TreeNode* parent, Text text) : parent_(parent), text_(std::move(text)) {}
  const Text& GetText() const { return text_; }
  void SetText(const Text& t) { text_ = t; }
  TreeNode* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<TreeNode>>& Children() const { return children_; }
  TreeNode* Add(const Text& t);
  int Level() const;
  int Index() const;

  int imageIndex = -1;
  int selectedIndex = -1;
  int64_t data = 0;
  bool expanded = false;

 private:
  TreeNode* parent_;
  Text text_;
  std::vector<std::unique_ptr<TreeNode>> children_;
};

class TreeView : public Component {
 public:
  TreeView(Container* parent, std::string name);
  const std::vector<std::unique_ptr<TreeNode>>& Roots() const { return roots_; }
  TreeNode* AddRoot(const Text& t);
  TreeNode* AddChild(TreeNode* parent, const Text& t);
  void Clear();
  // Every node, depth first, in display order.
  std::vector<TreeNode*> AllNodes() const;
  TreeNode* Selected() const { return selected_; }
  // Selects a node; no event.
  void Select(TreeNode* n);
  void Expand(TreeNode* n, bool recurse = false);
  void Collapse(TreeNode* n, bool recurse = false);
  void FullExpand();
  void FullCollapse();
  // Tells the front end that node texts or structure changed.
  void Refresh() { Changed(); }

  Event OnChange;  // selection moved by the user

  void UserSelect(TreeNode* n);

 private:
  std::vector<std::unique_ptr<TreeNode>> roots_;
  TreeNode* selected_ = nullptr;
};

// Tabs over a common area; the children below the tabs are the form's own
// business (the handlers show the right one for the tab).
class TabControl : public Container {
 public:
  TabControl(Container* parent, std::string name);
  const std::vector<Text>& Tabs() const { return tabs_; }
  void SetTabs(const std::vector<Text>& tabs);
  void SetTab(int i, const Text& t);
  int TabIndex() const { return tabIndex_; }
  // Moves to a tab; no event.
  void SetTabIndex(int i);

  std::function<void(bool& allow)> OnChanging;
  Event OnChange;

  void UserSelectTab(int i);

 private:
  std::vector<Text> tabs_;
  int tabIndex_ = -1;
};

// A date as the original runtime holds it: days since 30 December 1899.
using DateValue = double;

class DatePicker : public Component {
 public:
  DatePicker(Container* parent, std::string name);
  DateValue Date() const { return date_; }
  // Sets the date; a date on a day before MinDate (when one is set) is
  // refused with platform::ConversionError and the date stays as it was.
  // No event.
  void SetDate(DateValue d);
  std::optional<DateValue> MinDate() const { return minDate_; }
  // Sets the minimum; a minimum on a day after the current date's is
  // refused with platform::ConversionError and nothing changes (a caller
  // that means to move the date sets the date first). Minimum and date
  // compare as whole days.
  void SetMinDate(std::optional<DateValue> d);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);

  Event OnChange;
  void UserSetDate(DateValue d);

 private:
  DateValue date_ = 0;
  std::optional<DateValue> minDate_;
  Color color_;
};

class CheckListBox : public Component {
 public:
  struct Item {
    Text text;
    bool checked = false;
    int64_t data = 0;
  };
  CheckListBox(Container* parent, std::string name);
  const std::vector<Item>& Items() const { return items_; }
  void ClearItems();
  void AddItem(const Text& t, bool checked = false, int64_t data = 0);
  void SetChecked(int i, bool c);
  bool Checked(int i) const;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int i);

  std::function<void(int index)> OnClickCheck;
  void UserToggle(int i);

 private:
  std::vector<Item> items_;
  int itemIndex_ = -1;
};

// The status line at the bottom of a form. Panel 0 carries the messages;
// its colour is the colour of the message (red error, yellow warning, lime
// or green information, Default when cleared).
class StatusBar : public Component {
 public:
  StatusBar(Container* parent, std::string name, int panels = 1);
  int PanelCount() const { return static_cast<int>(texts_.size()); }
  const Text& PanelText(int i) const;
  void SetPanelText(int i, const Text& t);
  Color BackColor() const { return color_; }
  void SetBackColor(Color c);
  // Panel 0's text and colour at once.
  void Show(const Text& t, Color c);

 private:
  std::vector<Text> texts_;
  Color color_;
};

class MenuItem : public Container, public ActionClient {
 public:
  MenuItem(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const;
  void SetCaption(const Text& c);
  bool IsSeparator() const { return Caption() == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool c);
  std::vector<MenuItem*> Items() const;

 protected:
  void DoUserClick() override;
  void ActionChanged() override;

 private:
  Text caption_;
  bool checked_ = false;
};

class MainMenu : public Container {
 public:
  MainMenu(Container* parent, std::string name);
  std::vector<MenuItem*> Items() const;
};

class ToolBar : public Container {
 public:
  ToolBar(Container* parent, std::string name);
};

class ToolButton : public Component, public ActionClient {
 public:
  ToolButton(Container* parent, std::string name, Text caption = {});
  const Text& Caption() const;
  void SetCaption(const Text& c);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i);
  // Shown pressed (a toggle or the chosen one of a group); the handlers
  // set it, a click does not.
  bool Down() const { return down_; }
  void SetDown(bool d);

 protected:
  void DoUserClick() override;
  void ActionChanged() override;

 private:
  Text caption_;
  int imageIndex_ = -1;
  bool down_ = false;
};

}  // namespace ui
