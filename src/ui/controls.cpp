#include "ui/controls.h"

#include <algorithm>
#include <cmath>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "ui/application.h"
#include "ui/form.h"

namespace ui {

// ---- Label

Label::Label(Container* parent, std::string name, Text caption)
    : Component(parent, std::move(name), Kind::Label), caption_(std::move(caption)) {}

void Label::SetCaption(const Text& c) {
  if (caption_ == c) return;
  caption_ = c;
  Changed();
}
void Label::SetFontColor(Color c) {
  fontColor_ = c;
  Changed();
}
void Label::SetBackColor(Color c) {
  backColor_ = c;
  Changed();
}
void Label::SetBold(bool b) {
  bold_ = b;
  Changed();
}
void Label::SetWordWrap(bool w) {
  wordWrap_ = w;
  Changed();
}

// ---- Edit

Edit::Edit(Container* parent, std::string name) : Component(parent, std::move(name), Kind::Edit) {}

void Edit::SetText(const Text& t) {
  if (text_ == t) return;
  text_ = t;
  selStart_ = static_cast<int>(text_.size());
  selLength_ = 0;
  Changed();
  if (OnChange) OnChange();
}

void Edit::UserSetText(const Text& typed) {
  if (!Reachable() || readOnly_) return;
  Text t = charCase_ == CharCase::Upper ? cp1252::ToUpper(typed) : typed;
  if (maxLength_ > 0 && static_cast<int>(t.size()) > maxLength_) t.resize(maxLength_);
  RunGuarded([&] { SetText(t); });
  Changed();  // the text may differ from what the user typed
}

void Edit::SetMaxLength(int n) {
  maxLength_ = n;
  Changed();
}
void Edit::SetPasswordChar(char c) {
  passwordChar_ = c;
  Changed();
}
void Edit::SetCharCase(CharCase c) {
  charCase_ = c;
  Changed();
}
void Edit::SetReadOnly(bool r) {
  readOnly_ = r;
  Changed();
}
void Edit::SetBackColor(Color c) {
  if (color_ == c) return;
  color_ = c;
  Changed();
}
void Edit::SelectAll() { SetSelection(0, static_cast<int>(text_.size())); }
void Edit::SetSelection(int start, int length) {
  int n = static_cast<int>(text_.size());
  selStart_ = std::clamp(start, 0, n);
  selLength_ = std::clamp(length, 0, n - selStart_);
  Changed();
}

// ---- Memo

Memo::Memo(Container* parent, std::string name) : Component(parent, std::move(name), Kind::Memo) {}

void Memo::SetLines(const std::vector<Text>& lines) {
  if (lines_ == lines) return;
  lines_ = lines;
  Changed();
  if (OnChange) OnChange();
}
void Memo::AddLine(const Text& line) {
  lines_.push_back(line);
  Changed();
  if (OnChange) OnChange();
}
void Memo::Clear() { SetLines({}); }
Text Memo::GetText() const {
  Text t;
  for (const auto& l : lines_) t += l + "\r\n";
  return t;
}
void Memo::SetReadOnly(bool r) {
  readOnly_ = r;
  Changed();
}
void Memo::SetWordWrap(bool w) {
  wordWrap_ = w;
  Changed();
}
void Memo::SetBackColor(Color c) {
  color_ = c;
  Changed();
}
void Memo::SetMaxLength(int n) {
  maxLength_ = n;
  Changed();
}
void Memo::UserSetLines(const std::vector<Text>& lines) {
  if (!Reachable() || readOnly_) return;
  std::vector<Text> kept = lines;
  if (maxLength_ > 0) {
    kept.clear();
    std::size_t room = static_cast<std::size_t>(maxLength_);
    for (const Text& line : lines) {
      if (!kept.empty()) {
        if (room < 2) break;
        room -= 2;
      }
      kept.push_back(line.substr(0, room));
      room -= kept.back().size();
    }
  }
  RunGuarded([&] { SetLines(kept); });
  Changed();  // the lines may differ from what the user typed
}

// ---- Action

Action::Action(Form* owner, std::string name) : name_(std::move(name)) {}

Action::~Action() {
  for (ActionClient* c : clients_) c->action_ = nullptr;
}

void Action::Notify() {
  for (ActionClient* c : clients_) c->ActionChanged();
}
void Action::SetCaption(const Text& c) {
  caption_ = c;
  Notify();
}
void Action::SetEnabled(bool e) {
  if (enabled_ == e) return;
  enabled_ = e;
  Notify();
}
void Action::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  Notify();
}
void Action::SetHint(const Text& h) {
  hint_ = h;
  Notify();
}
bool Action::Execute() {
  if (!enabled_ || !OnExecute) return false;
  OnExecute();
  return true;
}

ActionClient::~ActionClient() { SetAction(nullptr); }

void ActionClient::SetAction(Action* a) {
  if (action_) {
    auto& c = action_->clients_;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
  action_ = a;
  if (action_) {
    action_->clients_.push_back(this);
    ActionChanged();
  }
}

// A client takes the action's caption, enabled and visible state.
template <typename C>
static void FollowAction(C& client, Action* a) {
  if (!a) return;
  client.SetEnabled(a->Enabled());
  client.SetVisible(a->Visible());
}

// ---- Button

Button::Button(Container* parent, std::string name, Text caption)
    : Component(parent, std::move(name), Kind::Button), caption_(std::move(caption)) {}

const Text& Button::Caption() const { return GetAction() ? GetAction()->Caption() : caption_; }
void Button::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void Button::SetFlat(bool f) {
  flat_ = f;
  Changed();
}
void Button::DoUserClick() {
  if (GetAction())
    GetAction()->Execute();
  else if (OnClick)
    OnClick();
}
void Button::ActionChanged() {
  FollowAction(*this, GetAction());
  Changed();
}

// ---- CheckBox

CheckBox::CheckBox(Container* parent, std::string name, Text caption)
    : Component(parent, std::move(name), Kind::CheckBox), caption_(std::move(caption)) {}

void CheckBox::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void CheckBox::SetChecked(bool c) {
  if (checked_ == c) return;
  checked_ = c;
  Changed();
  if (OnClick) OnClick();
}
void CheckBox::DoUserClick() { SetChecked(!checked_); }

// ---- RadioButton

RadioButton::RadioButton(Container* parent, std::string name, Text caption)
    : Component(parent, std::move(name), Kind::RadioButton), caption_(std::move(caption)) {}

void RadioButton::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void RadioButton::SetChecked(bool c) {
  if (checked_ == c) return;
  checked_ = c;
  if (c && Parent()) {
    for (Component* s : Parent()->Children())
      if (s != this && s->GetKind() == Kind::RadioButton) {
        auto* r = static_cast<RadioButton*>(s);
        if (r->checked_) {
          r->checked_ = false;
          r->Changed();
        }
      }
  }
  Changed();
  if (c && OnClick) OnClick();
}
void RadioButton::DoUserClick() { SetChecked(true); }

// ---- RadioGroup

RadioGroup::RadioGroup(Container* parent, std::string name, Text caption)
    : Component(parent, std::move(name), Kind::RadioGroup), caption_(std::move(caption)) {}

void RadioGroup::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void RadioGroup::SetItems(const std::vector<Text>& items) {
  items_ = items;
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  Changed();
}
void RadioGroup::SetItem(int i, const Text& t) {
  if (i < 0) return;
  if (i >= static_cast<int>(items_.size())) items_.resize(i + 1);
  items_[i] = t;
  Changed();
}
void RadioGroup::SetItemIndex(int i) {
  if (i < -1 || i >= static_cast<int>(items_.size())) i = -1;
  if (itemIndex_ == i) return;
  itemIndex_ = i;
  Changed();
  if (OnClick) OnClick();
}
void RadioGroup::SetColumns(int c) {
  columns_ = std::max(1, c);
  Changed();
}
void RadioGroup::UserSelect(int i) {
  if (!Reachable()) return;
  RunGuarded([&] { SetItemIndex(i); });
}

// ---- Panel, GroupBox

Panel::Panel(Container* parent, std::string name, LayoutKind l) : Container(parent, std::move(name), Kind::Panel) {
  layout = l;
}
void Panel::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void Panel::SetBackColor(Color c) {
  color_ = c;
  Changed();
}
void Panel::SetBevel(bool b) {
  bevel_ = b;
  Changed();
}

GroupBox::GroupBox(Container* parent, std::string name, Text caption, LayoutKind l)
    : Container(parent, std::move(name), Kind::GroupBox), caption_(std::move(caption)) {
  layout = l;
}
void GroupBox::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}

// ---- ComboBox

ComboBox::ComboBox(Container* parent, std::string name, ComboStyle style)
    : Component(parent, std::move(name), Kind::ComboBox), style_(style) {}

void ComboBox::SetStyle(ComboStyle s) {
  style_ = s;
  Changed();
}
void ComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (style_ == ComboStyle::DropDownList) text_.clear();
  Changed();
}
void ComboBox::AddItem(const Text& t, int64_t data) {
  items_.push_back({t, data});
  Changed();
}
void ComboBox::InsertItem(int index, const Text& t, int64_t data) {
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, {t, data});
  if (itemIndex_ >= index) ++itemIndex_;
  Changed();
}
void ComboBox::DeleteItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  if (itemIndex_ == index) {
    itemIndex_ = -1;
    if (style_ == ComboStyle::DropDownList) text_.clear();
  } else if (itemIndex_ > index) {
    --itemIndex_;
  }
  Changed();
}
void ComboBox::SetItems(const std::vector<Text>& texts) {
  items_.clear();
  for (const auto& t : texts) items_.push_back({t, 0});
  itemIndex_ = IndexOf(text_);
  Changed();
}
int ComboBox::IndexOf(const Text& t) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].text == t) return i;
  return -1;
}
int ComboBox::IndexOfIgnoringCase(const Text& t) const {
  for (int i = 0; i < Count(); ++i)
    if (cp1252::EqualsIgnoringCase(items_[i].text, t)) return i;
  return -1;
}
void ComboBox::SetItemIndex(int i) {
  if (i < -1 || i >= Count()) i = -1;
  itemIndex_ = i;
  text_ = i >= 0 ? items_[i].text : Text{};
  Changed();
}
void ComboBox::SetText(const Text& t) {
  int i = IndexOf(t);
  if (style_ == ComboStyle::DropDownList) {
    // A list-only box holds only its items' texts.
    itemIndex_ = i;
    text_ = i >= 0 ? t : Text{};
  } else {
    text_ = t;
    itemIndex_ = i;
  }
  Changed();
}
void ComboBox::SetMaxLength(int n) {
  maxLength_ = n;
  Changed();
}
void ComboBox::SetBackColor(Color c) {
  color_ = c;
  Changed();
}
void ComboBox::UserSelect(int index) {
  if (!Reachable() || index < 0 || index >= Count()) return;
  RunGuarded([&] {
    SetItemIndex(index);
    if (OnSelect) OnSelect();
    if (OnChange) OnChange();
  });
}
void ComboBox::UserSetText(const Text& typed) {
  if (!Reachable() || style_ == ComboStyle::DropDownList) return;
  Text t = typed;
  if (maxLength_ > 0 && static_cast<int>(t.size()) > maxLength_) t.resize(maxLength_);
  if (t == text_) return;
  RunGuarded([&] {
    SetText(t);
    if (OnChange) OnChange();
  });
}

void ComboBox::UserDropDown() {
  if (!Reachable()) return;
  RunGuarded([&] {
    if (OnDropDown) OnDropDown();
  });
}
void ComboBox::UserCloseUp() {
  if (!Reachable()) return;
  RunGuarded([&] {
    if (OnCloseUp) OnCloseUp();
  });
}

// ---- StringGrid

StringGrid::StringGrid(Container* parent, std::string name, int cols, int rows)
    : Component(parent, std::move(name), Kind::StringGrid), cols_(std::max(1, cols)), rows_(std::max(1, rows)) {
  Resize();
}

// The storage only grows: cells of rows or columns beyond the counts keep
// their texts, as the original grid did.
void StringGrid::Resize() {
  if (static_cast<int>(cells_.size()) < rows_) cells_.resize(rows_);
  for (auto& r : cells_)
    if (static_cast<int>(r.size()) < cols_) r.resize(cols_);
  if (static_cast<int>(rowData_.size()) < rows_) rowData_.resize(rows_);
  if (static_cast<int>(widths_.size()) < cols_) widths_.resize(cols_, 64);
  if (static_cast<int>(exactWidths_.size()) < cols_) exactWidths_.resize(cols_, false);
  if (row_ >= rows_) row_ = rows_ - 1;
  if (col_ >= cols_) col_ = cols_ - 1;
}

void StringGrid::SetColCount(int n) {
  cols_ = std::max(1, n);
  Resize();
  Changed();
}
void StringGrid::SetRowCount(int n) {
  rows_ = std::max(1, n);
  Resize();
  Changed();
}
void StringGrid::SetFixedRows(int n) {
  fixedRows_ = std::clamp(n, 0, rows_);
  Changed();
}
void StringGrid::SetFixedCols(int n) {
  fixedCols_ = std::clamp(n, 0, cols_);
  Changed();
}
const Text& StringGrid::Cell(int col, int row) const {
  static const Text empty;
  if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return empty;
  return cells_[row][col];
}
void StringGrid::SetCell(int col, int row, const Text& t) {
  if (col < 0 || row < 0) return;
  // Writing beyond the last row or column grows the storage but not the
  // visible counts, as the original grid kept the cells of hidden rows.
  if (row >= rows_ || col >= cols_) {
    if (row >= static_cast<int>(cells_.size())) cells_.resize(row + 1, std::vector<Text>(cols_));
    if (col >= static_cast<int>(cells_[row].size())) cells_[row].resize(col + 1);
    cells_[row][col] = t;
    return;
  }
  cells_[row][col] = t;
  Changed();
}
int64_t StringGrid::RowData(int row) const {
  return row >= 0 && row < static_cast<int>(rowData_.size()) ? rowData_[row] : 0;
}
void StringGrid::SetRowData(int row, int64_t d) {
  if (row < 0) return;
  if (row >= static_cast<int>(rowData_.size())) rowData_.resize(row + 1);
  rowData_[row] = d;
}
int StringGrid::ColWidth(int col) const { return col >= 0 && col < cols_ ? widths_[col] : 0; }
void StringGrid::SetColWidth(int col, int w) {
  if (col < 0 || col >= cols_) return;
  widths_[col] = std::max(0, w);
  exactWidths_[col] = false;
  Changed();
}
void StringGrid::SetExactColWidth(int col, int w) {
  if (col < 0 || col >= cols_) return;
  widths_[col] = std::max(0, w);
  exactWidths_[col] = true;
  Changed();
}
bool StringGrid::ColWidthExact(int col) const { return col >= 0 && col < cols_ && exactWidths_[col]; }
void StringGrid::SetRow(int r) {
  row_ = std::clamp(r, 0, rows_ - 1);
  Changed();
}
void StringGrid::SetCol(int c) {
  col_ = std::clamp(c, 0, cols_ - 1);
  Changed();
}
void StringGrid::SetEditable(bool e) {
  editable_ = e;
  Changed();
}
void StringGrid::DeleteRow(int row) {
  if (row < 0 || row >= rows_) return;
  cells_.erase(cells_.begin() + row);
  cells_.push_back(std::vector<Text>(cols_));
  if (row < static_cast<int>(rowData_.size())) {
    rowData_.erase(rowData_.begin() + row);
    rowData_.push_back(0);
  }
  Changed();
}
void StringGrid::InsertRow(int row) {
  if (row < 0 || row > rows_) return;
  cells_.insert(cells_.begin() + row, std::vector<Text>(cols_));
  rowData_.insert(rowData_.begin() + std::min<size_t>(row, rowData_.size()), 0);
  ++rows_;
  Resize();
  Changed();
}
void StringGrid::UserSelectCell(int col, int row) {
  if (!Reachable() || col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
  RunGuarded([&] {
    bool allow = true;
    if (OnSelectCell) OnSelectCell(col, row, allow);
    if (!allow) return;
    col_ = col;
    row_ = row;
    Changed();
  });
}
void StringGrid::UserEditCell(int col, int row, const Text& t) {
  if (!Reachable() || !editable_ || col < 0 || row < fixedRows_ || col >= cols_ || row >= rows_) return;
  RunGuarded([&] {
    SetCell(col, row, t);
    if (OnCellEdited) OnCellEdited(col, row);
  });
}

// ---- TreeView

TreeNode* TreeNode::Add(const Text& t) {
  children_.push_back(std::make_unique<TreeNode>(this, t));
  return children_.back().get();
}
int TreeNode::Level() const {
  int l = 0;
  for (TreeNode* p = parent_; p; p = p->parent_) ++l;
  return l;
}
int TreeNode::Index() const {
  if (!parent_) return -1;
  const auto& c = parent_->children_;
  for (size_t i = 0; i < c.size(); ++i)
    if (c[i].get() == this) return static_cast<int>(i);
  return -1;
}

TreeView::TreeView(Container* parent, std::string name) : Component(parent, std::move(name), Kind::TreeView) {}

TreeNode* TreeView::AddRoot(const Text& t) {
  roots_.push_back(std::make_unique<TreeNode>(nullptr, t));
  Changed();
  return roots_.back().get();
}
TreeNode* TreeView::AddChild(TreeNode* parent, const Text& t) {
  if (!parent) return AddRoot(t);
  TreeNode* n = parent->Add(t);
  Changed();
  return n;
}
void TreeView::Clear() {
  selected_ = nullptr;
  roots_.clear();
  Changed();
}
static void Collect(const std::vector<std::unique_ptr<TreeNode>>& nodes, std::vector<TreeNode*>& out) {
  for (const auto& n : nodes) {
    out.push_back(n.get());
    Collect(n->Children(), out);
  }
}
std::vector<TreeNode*> TreeView::AllNodes() const {
  std::vector<TreeNode*> out;
  Collect(roots_, out);
  return out;
}
void TreeView::Select(TreeNode* n) {
  selected_ = n;
  Changed();
}
static void SetExpanded(TreeNode* n, bool e, bool recurse) {
  n->expanded = e;
  if (recurse)
    for (const auto& c : n->Children()) SetExpanded(c.get(), e, true);
}
void TreeView::Expand(TreeNode* n, bool recurse) {
  if (!n) return;
  SetExpanded(n, true, recurse);
  Changed();
}
void TreeView::Collapse(TreeNode* n, bool recurse) {
  if (!n) return;
  SetExpanded(n, false, recurse);
  Changed();
}
void TreeView::FullExpand() {
  for (const auto& r : roots_) SetExpanded(r.get(), true, true);
  Changed();
}
void TreeView::FullCollapse() {
  for (const auto& r : roots_) SetExpanded(r.get(), false, true);
  Changed();
}
void TreeView::UserSelect(TreeNode* n) {
  if (!Reachable() || selected_ == n) return;
  RunGuarded([&] {
    Select(n);
    if (OnChange) OnChange();
  });
}

// ---- TabControl

TabControl::TabControl(Container* parent, std::string name) : Container(parent, std::move(name), Kind::TabControl) {}

void TabControl::SetTabs(const std::vector<Text>& tabs) {
  tabs_ = tabs;
  if (tabIndex_ >= static_cast<int>(tabs_.size())) tabIndex_ = tabs_.empty() ? -1 : 0;
  if (tabIndex_ < 0 && !tabs_.empty()) tabIndex_ = 0;
  Changed();
}
void TabControl::SetTab(int i, const Text& t) {
  if (i < 0 || i >= static_cast<int>(tabs_.size())) return;
  tabs_[i] = t;
  Changed();
}
void TabControl::SetTabIndex(int i) {
  if (i < -1 || i >= static_cast<int>(tabs_.size())) return;
  tabIndex_ = i;
  Changed();
}
void TabControl::UserSelectTab(int i) {
  if (!Reachable() || i < 0 || i >= static_cast<int>(tabs_.size()) || i == tabIndex_) return;
  RunGuarded([&] {
    bool allow = true;
    if (OnChanging) OnChanging(allow);
    if (!allow) {
      Changed();
      return;
    }
    SetTabIndex(i);
    if (OnChange) OnChange();
  });
}

// ---- DatePicker

DatePicker::DatePicker(Container* parent, std::string name) : Component(parent, std::move(name), Kind::DatePicker) {}

namespace {

// Minimum and date compare as whole days: a time of day on either side
// makes no difference.
bool DayBefore(DateValue d, DateValue min) { return std::floor(d) < std::floor(min); }

}  // namespace

void DatePicker::SetDate(DateValue d) {
  if (minDate_ && DayBefore(d, *minDate_))
    throw platform::ConversionError("Date is before the earliest date allowed");
  date_ = d;
  Changed();
}
void DatePicker::SetMinDate(std::optional<DateValue> d) {
  if (d && DayBefore(date_, *d)) throw platform::ConversionError("Earliest date allowed is after the date");
  minDate_ = d;
  Changed();
}
void DatePicker::SetBackColor(Color c) {
  color_ = c;
  Changed();
}
void DatePicker::UserSetDate(DateValue d) {
  if (!Reachable()) return;
  // The widget offers no day before the minimum; one that comes all the
  // same changes nothing.
  if (minDate_ && DayBefore(d, *minDate_)) {
    Changed();
    return;
  }
  if (d == date_) return;
  RunGuarded([&] {
    date_ = d;
    Changed();
    if (OnChange) OnChange();
  });
}

// ---- CheckListBox

CheckListBox::CheckListBox(Container* parent, std::string name)
    : Component(parent, std::move(name), Kind::CheckListBox) {}

void CheckListBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  Changed();
}
void CheckListBox::AddItem(const Text& t, bool checked, int64_t data) {
  items_.push_back({t, checked, data});
  Changed();
}
void CheckListBox::SetChecked(int i, bool c) {
  if (i < 0 || i >= static_cast<int>(items_.size())) return;
  items_[i].checked = c;
  Changed();
}
bool CheckListBox::Checked(int i) const {
  return i >= 0 && i < static_cast<int>(items_.size()) && items_[i].checked;
}
void CheckListBox::SetItemIndex(int i) {
  itemIndex_ = (i >= 0 && i < static_cast<int>(items_.size())) ? i : -1;
  Changed();
}
void CheckListBox::UserToggle(int i) {
  if (!Reachable() || i < 0 || i >= static_cast<int>(items_.size())) return;
  RunGuarded([&] {
    items_[i].checked = !items_[i].checked;
    itemIndex_ = i;
    Changed();
    if (OnClickCheck) OnClickCheck(i);
  });
}

// ---- StatusBar

StatusBar::StatusBar(Container* parent, std::string name, int panels)
    : Component(parent, std::move(name), Kind::StatusBar), texts_(std::max(1, panels)) {}

const Text& StatusBar::PanelText(int i) const {
  static const Text empty;
  return i >= 0 && i < PanelCount() ? texts_[i] : empty;
}
void StatusBar::SetPanelText(int i, const Text& t) {
  if (i < 0) return;
  if (i >= PanelCount()) texts_.resize(i + 1);
  texts_[i] = t;
  Changed();
}
void StatusBar::SetBackColor(Color c) {
  color_ = c;
  Changed();
}
void StatusBar::Show(const Text& t, Color c) {
  texts_[0] = t;
  color_ = c;
  Changed();
}

// ---- Menus and tool bars

MenuItem::MenuItem(Container* parent, std::string name, Text caption)
    : Container(parent, std::move(name), Kind::MenuItem), caption_(std::move(caption)) {}

const Text& MenuItem::Caption() const { return GetAction() ? GetAction()->Caption() : caption_; }
void MenuItem::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void MenuItem::SetChecked(bool c) {
  checked_ = c;
  Changed();
}
std::vector<MenuItem*> MenuItem::Items() const {
  std::vector<MenuItem*> out;
  for (Component* c : Children())
    if (c->GetKind() == Kind::MenuItem) out.push_back(static_cast<MenuItem*>(c));
  return out;
}
void MenuItem::DoUserClick() {
  if (GetAction())
    GetAction()->Execute();
  else if (OnClick)
    OnClick();
}
void MenuItem::ActionChanged() {
  FollowAction(*this, GetAction());
  Changed();
}

MainMenu::MainMenu(Container* parent, std::string name) : Container(parent, std::move(name), Kind::MainMenu) {
  layout = LayoutKind::Horizontal;
}
std::vector<MenuItem*> MainMenu::Items() const {
  std::vector<MenuItem*> out;
  for (Component* c : Children())
    if (c->GetKind() == Kind::MenuItem) out.push_back(static_cast<MenuItem*>(c));
  return out;
}

ToolBar::ToolBar(Container* parent, std::string name) : Container(parent, std::move(name), Kind::ToolBar) {
  layout = LayoutKind::Horizontal;
}

ToolButton::ToolButton(Container* parent, std::string name, Text caption)
    : Component(parent, std::move(name), Kind::ToolButton), caption_(std::move(caption)) {}

const Text& ToolButton::Caption() const { return GetAction() ? GetAction()->Caption() : caption_; }
void ToolButton::SetCaption(const Text& c) {
  caption_ = c;
  Changed();
}
void ToolButton::SetDown(bool d) {
  down_ = d;
  Changed();
}
void ToolButton::SetImageIndex(int i) {
  imageIndex_ = i;
  Changed();
}
void ToolButton::DoUserClick() {
  if (GetAction())
    GetAction()->Execute();
  else if (OnClick)
    OnClick();
}
void ToolButton::ActionChanged() {
  FollowAction(*this, GetAction());
  Changed();
}

}  // namespace ui
