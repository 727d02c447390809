#include "qt/peers.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <unordered_map>

#include "qt/chartpeer.h"
#include "qt/contrast.h"
#include "qt/convert.h"
#include "qt/datefield.h"
#include "qt/formwindow.h"
#include "qt/listboxpeer.h"
#include "qt/pagearea.h"
#include "qt/qtbackend.h"
#include "qt/richtext.h"
#include "ui/progressbar.h"

namespace qtfront {

// ---- Peer

Peer::Peer(FormWindow& window, ui::Component& component, QWidget* widget)
    : window_(window), comp_(&component), widget_(widget) {
  component.AttachPeer(this);
  if (widget_) window_.Backend().Register(widget_, this);
}

Peer::~Peer() {
  if (widget_) window_.Backend().Unregister(widget_);
  if (comp_ && comp_->Peer() == this) comp_->AttachPeer(nullptr);
}

void Peer::SetChildLayout(QLayout* layout) { Content()->setLayout(layout); }

void Peer::ComponentDestroyed() { comp_ = nullptr; }

void Peer::Sync() {
  if (!comp_) return;
  if (Deferred()) {
    if (!pending_) {
      pending_ = true;
      QMetaObject::invokeMethod(this, [this] { Flush(); }, Qt::QueuedConnection);
    }
    return;
  }
  SyncNow();
}

void Peer::Flush() {
  if (pending_) SyncNow();
}

namespace {
int g_syncing = 0;
}  // namespace

bool Peer::AnySyncing() { return g_syncing > 0; }

void Peer::SyncNow() {
  if (!comp_ || syncing_) return;
  pending_ = false;
  syncing_ = true;
  ++g_syncing;
  {
    QSignalBlocker block(widget_);
    SyncCommon();
    SyncState();
  }
  --g_syncing;
  syncing_ = false;
  // Outside the blocked section: moving the focus runs OnExit / OnEnter,
  // whose changes must reach the widgets.
  SyncFocus();
}

void Peer::SyncCommon() {
  if (!widget_) return;
  const bool visible = comp_->Visible();
  if (barAction_) {
    if (barAction_->isVisible() != visible) barAction_->setVisible(visible);
  } else if (widget_->isHidden() == visible) {
    widget_->setVisible(visible);
  }
  if (widget_->testAttribute(Qt::WA_Disabled) == comp_->Enabled()) widget_->setEnabled(comp_->Enabled());
  // A hint "short|long" shows its short part as the tool tip.
  QString tip = Q(comp_->Hint());
  if (int bar = tip.indexOf('|'); bar >= 0) tip.truncate(bar);
  if (widget_->toolTip() != tip) widget_->setToolTip(tip);
}

void Peer::SyncFocus() {
  if (!comp_ || !TakesFocus() || !comp_->Focused()) return;
  QWidget* target = FocusTarget();
  if (!target || !target->isEnabled()) return;
  QWidget* current = target->window()->focusWidget();
  if (current == target || (current && target->isAncestorOf(current))) return;
  target->setFocus(Qt::OtherFocusReason);
}

namespace {

// Colours: only the roles the model sets are set, the rest follow the
// style; the palette is touched only when a colour changed.
class Colors {
 public:
  void Apply(QWidget* w, std::initializer_list<std::pair<QPalette::ColorRole, ui::Color>> roles) {
    std::array<ui::Color, 3> now{};
    size_t i = 0;
    for (const auto& r : roles) now[i++] = r.second;
    if (applied_ && now == last_) return;
    applied_ = true;
    last_ = now;
    QPalette p;
    bool fill = false;
    for (const auto& [role, c] : roles) {
      if (c.system) continue;
      p.setColor(role, ToQColor(c));
      if (role == QPalette::Window) fill = true;
    }
    // The text on a back colour the form named stays readable, also where
    // the field is disabled or read-only.
    for (const auto& [role, c] : roles) {
      const QPalette::ColorRole text = TextRoleOn(role);
      if (c.system || text == QPalette::NoRole || SetsRole(roles, text)) continue;
      for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, text, ReadableOn(p.color(g, text), ToQColor(c)));
    }
    w->setPalette(p);
    w->setAutoFillBackground(fill);
  }

 private:
  static QPalette::ColorRole TextRoleOn(QPalette::ColorRole back) {
    switch (back) {
      case QPalette::Base: return QPalette::Text;
      case QPalette::Button: return QPalette::ButtonText;
      case QPalette::Window: return QPalette::WindowText;
      default: return QPalette::NoRole;
    }
  }
  static bool SetsRole(std::initializer_list<std::pair<QPalette::ColorRole, ui::Color>> roles,
                       QPalette::ColorRole role) {
    for (const auto& [r, c] : roles)
      if (r == role && !c.system) return true;
    return false;
  }

  bool applied_ = false;
  std::array<ui::Color, 3> last_{};
};

void SetTextIfChanged(QLabel* l, const QString& t) {
  if (l->text() != t) l->setText(t);
}

// ---- Label

class LabelPeer : public Peer {
 public:
  LabelPeer(FormWindow& w, ui::Label& l, QWidget* parent) : Peer(w, l, new QLabel(parent)) {
    label()->setTextFormat(Qt::PlainText);
    label()->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  MouseRole ReleaseRole(QWidget*) const override { return MouseRole::ClickAndSwallow; }
  bool DoubleClickByMouse(QWidget*) const override { return true; }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {
    auto& m = static_cast<ui::Label&>(*comp_);
    SetTextIfChanged(label(), Q(m.Caption()));
    if (label()->wordWrap() != m.WordWrap()) label()->setWordWrap(m.WordWrap());
    if (label()->font().bold() != m.Bold()) {
      QFont f = label()->font();
      f.setBold(m.Bold());
      label()->setFont(f);
    }
    colors_.Apply(label(), {{QPalette::WindowText, m.FontColor()}, {QPalette::Window, m.BackColor()}});
  }

 private:
  QLabel* label() const { return static_cast<QLabel*>(widget_); }
  Colors colors_;
};

// ---- Progress bar

class ProgressBarPeer : public Peer {
 public:
  ProgressBarPeer(FormWindow& w, ui::ProgressBar& p, QWidget* parent) : Peer(w, p, new QProgressBar(parent)) {}

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {
    auto& m = static_cast<ui::ProgressBar&>(*comp_);
    auto* bar = static_cast<QProgressBar*>(widget_);
    if (bar->minimum() != m.Min() || bar->maximum() != m.Max()) bar->setRange(m.Min(), m.Max());
    if (bar->value() != m.Position()) bar->setValue(m.Position());
  }
};

// ---- Edit

class EditPeer : public Peer {
 public:
  EditPeer(FormWindow& w, ui::Edit& e, QWidget* parent) : Peer(w, e, new QLineEdit(parent)) {
    connect(line(), &QLineEdit::textEdited, this, [this](const QString& s) {
      if (!comp_) return;
      inUser_ = true;
      QPointer<Peer> self(this);
      edit().UserSetText(FromQ(s));
      if (!self) return;
      SyncNow();
      inUser_ = false;
    });
    connect(line(), &QLineEdit::cursorPositionChanged, this, [this] { PushSelection(); });
    connect(line(), &QLineEdit::selectionChanged, this, [this] { PushSelection(); });
  }
  MouseRole ReleaseRole(QWidget* w) const override { return w == widget_ ? MouseRole::Click : MouseRole::None; }
  bool DoubleClickByMouse(QWidget* w) const override { return w == widget_; }

 protected:
  void SyncState() override {
    auto& m = edit();
    QLineEdit* le = line();
    if (le->isReadOnly() != m.ReadOnly()) le->setReadOnly(m.ReadOnly());
    auto echo = m.PasswordChar() ? QLineEdit::Password : QLineEdit::Normal;
    if (le->echoMode() != echo) le->setEchoMode(echo);
    colors_.Apply(le, {{QPalette::Base, m.BackColor()}});

    // The program may set a text longer than MaxLength; the widget must
    // not cut it.
    const QString want = Q(m.GetText());
    const int limit = m.MaxLength() > 0 ? m.MaxLength() : 32767;
    if (le->text() != want) {
      const int cursor = le->cursorPosition();
      const int oldLength = static_cast<int>(le->text().size());
      le->setMaxLength(std::max({limit, static_cast<int>(want.size()), oldLength}));
      le->setText(want);
      if (inUser_) {
        // A handler rewrote what the user typed: keep the caret where the
        // typing was, moved by what the text grew or shrank.
        const int n = static_cast<int>(want.size());
        le->setCursorPosition(std::clamp(cursor + n - oldLength, 0, n));
      }
    }
    const int cap = std::max(limit, static_cast<int>(want.size()));
    if (le->maxLength() != cap) le->setMaxLength(cap);

    if (inUser_)
      PushSelection();
    else
      ApplySelection();
  }

 private:
  ui::Edit& edit() const { return static_cast<ui::Edit&>(*comp_); }
  QLineEdit* line() const { return static_cast<QLineEdit*>(widget_); }

  std::pair<int, int> WidgetSelection() const {
    QLineEdit* le = line();
    if (le->hasSelectedText()) return {le->selectionStart(), le->selectionLength()};
    return {le->cursorPosition(), 0};
  }
  // The caret and selection the user made, into the model (no event).
  void PushSelection() {
    if (!comp_ || (syncing_ && !inUser_)) return;
    auto [start, length] = WidgetSelection();
    if (start != edit().SelStart() || length != edit().SelLength()) edit().SetSelection(start, length);
  }
  void ApplySelection() {
    auto [start, length] = WidgetSelection();
    const int s = edit().SelStart(), l = edit().SelLength();
    if (s == start && l == length) return;
    if (l > 0) {
      line()->setSelection(s, l);
    } else {
      line()->deselect();
      line()->setCursorPosition(s);
    }
  }

  bool inUser_ = false;
  Colors colors_;
};

// ---- Memo

std::vector<ui::Text> SplitLines(const QString& text) {
  std::vector<ui::Text> lines;
  if (text.isEmpty()) return lines;
  for (const QString& l : text.split('\n')) lines.push_back(FromQ(l));
  return lines;
}

QString JoinLines(const std::vector<ui::Text>& lines) {
  QStringList l;
  for (const auto& t : lines) l << Q(t);
  return l.join('\n');
}

class MemoPeer : public Peer {
 public:
  MemoPeer(FormWindow& w, ui::Memo& m, QWidget* parent) : Peer(w, m, new QPlainTextEdit(parent)) {
    text()->setTabChangesFocus(true);
    connect(text(), &QPlainTextEdit::textChanged, this, [this] {
      if (!comp_) return;
      inUser_ = true;
      QPointer<Peer> self(this);
      static_cast<ui::Memo&>(*comp_).UserSetLines(SplitLines(text()->toPlainText()));
      if (!self) return;
      SyncNow();
      inUser_ = false;
    });
  }
  MouseRole ReleaseRole(QWidget* w) const override {
    return w == text()->viewport() ? MouseRole::Click : MouseRole::None;
  }
  bool DoubleClickByMouse(QWidget* w) const override { return w == text()->viewport(); }

 protected:
  void SyncState() override {
    auto& m = static_cast<ui::Memo&>(*comp_);
    QPlainTextEdit* t = text();
    if (t->isReadOnly() != m.ReadOnly()) t->setReadOnly(m.ReadOnly());
    auto wrap = m.WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap;
    if (t->lineWrapMode() != wrap) t->setLineWrapMode(wrap);
    colors_.Apply(t, {{QPalette::Base, m.BackColor()}});
    const QString want = JoinLines(m.Lines());
    if (t->toPlainText() != want) {
      const int pos = t->textCursor().position();
      t->setPlainText(want);
      if (inUser_) {
        QTextCursor c = t->textCursor();
        c.setPosition(std::clamp(pos, 0, static_cast<int>(want.size())));
        t->setTextCursor(c);
      }
    }
  }

 private:
  QPlainTextEdit* text() const { return static_cast<QPlainTextEdit*>(widget_); }
  bool inUser_ = false;
  Colors colors_;
};

// ---- Buttons

class ButtonPeer : public Peer {
 public:
  ButtonPeer(FormWindow& w, ui::Button& b, QWidget* parent) : Peer(w, b, new QPushButton(parent)) {
    button()->setAutoDefault(false);
    button()->setDefault(false);
    connect(button(), &QPushButton::clicked, this, [this] { User([this] { comp_->UserClick(); }); });
  }

 protected:
  void SyncState() override {
    auto& m = static_cast<ui::Button&>(*comp_);
    QString t = Q(m.Caption());
    if (button()->text() != t) button()->setText(t);
    if (button()->isFlat() != m.Flat()) button()->setFlat(m.Flat());
  }

 private:
  QPushButton* button() const { return static_cast<QPushButton*>(widget_); }
};

class CheckBoxPeer : public Peer {
 public:
  CheckBoxPeer(FormWindow& w, ui::CheckBox& c, QWidget* parent) : Peer(w, c, new QCheckBox(parent)) {
    // The model toggles; the widget then shows what the model holds.
    connect(box(), &QCheckBox::clicked, this, [this] { User([this] { comp_->UserClick(); }); });
  }

 protected:
  void SyncState() override {
    auto& m = static_cast<ui::CheckBox&>(*comp_);
    QString t = Q(m.Caption());
    if (box()->text() != t) box()->setText(t);
    if (box()->isChecked() != m.Checked()) box()->setChecked(m.Checked());
  }

 private:
  QCheckBox* box() const { return static_cast<QCheckBox*>(widget_); }
};

class RadioButtonPeer : public Peer {
 public:
  RadioButtonPeer(FormWindow& w, ui::RadioButton& r, QWidget* parent) : Peer(w, r, new QRadioButton(parent)) {
    // The model keeps the group exclusive (a program may uncheck them all).
    radio()->setAutoExclusive(false);
    connect(radio(), &QRadioButton::clicked, this, [this] { User([this] { comp_->UserClick(); }); });
  }

 protected:
  void SyncState() override {
    auto& m = static_cast<ui::RadioButton&>(*comp_);
    QString t = Q(m.Caption());
    if (radio()->text() != t) radio()->setText(t);
    if (radio()->isChecked() != m.Checked()) radio()->setChecked(m.Checked());
  }

 private:
  QRadioButton* radio() const { return static_cast<QRadioButton*>(widget_); }
};

// ---- RadioGroup: a group box of radio buttons in columns, filled column
// by column.

class RadioGroupPeer : public Peer {
 public:
  RadioGroupPeer(FormWindow& w, ui::RadioGroup& g, QWidget* parent) : Peer(w, g, new QGroupBox(parent)) {
    grid_ = new QGridLayout(widget_);
    grid_->setContentsMargins(8, 4, 8, 4);
    grid_->setHorizontalSpacing(12);
    grid_->setVerticalSpacing(2);
  }
  QWidget* FocusTarget() const override {
    auto& m = static_cast<ui::RadioGroup&>(*comp_);
    if (m.ItemIndex() >= 0 && m.ItemIndex() < static_cast<int>(buttons_.size())) return buttons_[m.ItemIndex()];
    return buttons_.empty() ? widget_ : buttons_.front();
  }
  MouseRole ReleaseRole(QWidget* w) const override {
    return w == widget_ ? MouseRole::ClickAndSwallow : MouseRole::None;
  }

 protected:
  void SyncState() override {
    auto& m = static_cast<ui::RadioGroup&>(*comp_);
    QString title = Q(m.Caption());
    if (box()->title() != title) box()->setTitle(title);
    if (m.Items() != shownItems_ || m.Columns() != shownColumns_) Rebuild(m);
    for (size_t i = 0; i < buttons_.size(); ++i) {
      QSignalBlocker b(buttons_[i]);
      const bool on = static_cast<int>(i) == m.ItemIndex();
      if (buttons_[i]->isChecked() != on) buttons_[i]->setChecked(on);
    }
  }

 private:
  QGroupBox* box() const { return static_cast<QGroupBox*>(widget_); }
  void Rebuild(ui::RadioGroup& m) {
    for (QRadioButton* b : buttons_) delete b;
    buttons_.clear();
    shownItems_ = m.Items();
    shownColumns_ = m.Columns();
    const int n = static_cast<int>(shownItems_.size());
    const int columns = std::max(1, shownColumns_);
    const int perColumn = std::max(1, (n + columns - 1) / columns);
    for (int i = 0; i < n; ++i) {
      auto* b = new QRadioButton(Q(shownItems_[i]), widget_);
      b->setAutoExclusive(false);
      connect(b, &QRadioButton::clicked, this, [this, i] {
        User([this, i] { static_cast<ui::RadioGroup&>(*comp_).UserSelect(i); });
      });
      grid_->addWidget(b, i % perColumn, i / perColumn);
      b->show();
      buttons_.push_back(b);
    }
  }

  QGridLayout* grid_;
  std::vector<QRadioButton*> buttons_;
  std::vector<ui::Text> shownItems_;
  int shownColumns_ = -1;
};

// ---- Containers

class PanelPeer : public Peer {
 public:
  PanelPeer(FormWindow& w, ui::Panel& p, QWidget* parent) : Peer(w, p, new QFrame(parent)) {
    outer_ = new QVBoxLayout(widget_);
    outer_->setSpacing(6);
    caption_ = new QLabel(widget_);
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setVisible(false);
    outer_->addWidget(caption_);
  }
  void SetChildLayout(QLayout* layout) override {
    layout->setContentsMargins(0, 0, 0, 0);
    outer_->addLayout(layout, 1);
  }
  MouseRole ReleaseRole(QWidget* w) const override {
    return w == widget_ || w == caption_ ? MouseRole::ClickAndSwallow : MouseRole::None;
  }
  bool DoubleClickByMouse(QWidget* w) const override { return w == widget_ || w == caption_; }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {
    auto& m = static_cast<ui::Panel&>(*comp_);
    QFrame* f = static_cast<QFrame*>(widget_);
    const auto shape = m.Bevel() ? QFrame::StyledPanel : QFrame::NoFrame;
    if (f->frameShape() != shape) {
      f->setFrameShape(shape);
      f->setFrameShadow(QFrame::Raised);
    }
    const int margin = m.Bevel() ? 6 : 0;
    outer_->setContentsMargins(margin, margin, margin, margin);
    SetTextIfChanged(caption_, Q(m.Caption()));
    caption_->setVisible(!m.Caption().empty());
    colors_.Apply(f, {{QPalette::Window, m.BackColor()}});
  }

 private:
  QVBoxLayout* outer_;
  QLabel* caption_;
  Colors colors_;
};

class GroupBoxPeer : public Peer {
 public:
  GroupBoxPeer(FormWindow& w, ui::GroupBox& g, QWidget* parent) : Peer(w, g, new QGroupBox(parent)) {}
  MouseRole ReleaseRole(QWidget* w) const override {
    return w == widget_ ? MouseRole::ClickAndSwallow : MouseRole::None;
  }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {
    QString t = Q(static_cast<ui::GroupBox&>(*comp_).Caption());
    auto* g = static_cast<QGroupBox*>(widget_);
    if (g->title() != t) g->setTitle(t);
  }
};

// Tabs over a common area: the children live in the area below the tabs;
// the form's handlers show the ones of the current tab.
class TabControlPeer : public Peer {
 public:
  TabControlPeer(FormWindow& w, ui::TabControl& t, QWidget* parent) : Peer(w, t, new QWidget(parent)) {
    auto* v = new QVBoxLayout(widget_);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    bar_ = new QTabBar(widget_);
    bar_->setExpanding(false);
    bar_->setDrawBase(false);
    // A page larger than the room the window gives it scrolls.
    area_ = new QWidget;
    page_ = new PageArea(area_, widget_);
    page_->setFrameShape(QFrame::StyledPanel);
    v->addWidget(bar_);
    v->addWidget(page_, 1);
    connect(bar_, &QTabBar::currentChanged, this, [this](int i) {
      if (syncing_ || i < 0) return;
      User([this, i] { static_cast<ui::TabControl&>(*comp_).UserSelectTab(i); });
    });
  }
  QWidget* Content() const override { return area_; }
  void SetChildLayout(QLayout* layout) override {
    layout->setContentsMargins(8, 8, 8, 8);
    area_->setLayout(layout);
    page_->FollowLayout(*layout);
  }
  QWidget* FocusTarget() const override { return bar_; }
  MouseRole ReleaseRole(QWidget* w) const override {
    return w == widget_ || w == area_ || w == page_->viewport() ? MouseRole::ClickAndSwallow : MouseRole::None;
  }

 protected:
  void SyncState() override {
    auto& m = static_cast<ui::TabControl&>(*comp_);
    QSignalBlocker block(bar_);
    const int n = static_cast<int>(m.Tabs().size());
    bool changed = false;
    while (bar_->count() > n) {
      bar_->removeTab(bar_->count() - 1);
      changed = true;
    }
    for (int i = 0; i < n; ++i) {
      QString t = Q(m.Tabs()[i]);
      if (i < bar_->count()) {
        if (bar_->tabText(i) == t) continue;
        bar_->setTabText(i, t);
      } else {
        bar_->addTab(t);
      }
      changed = true;
    }
    // A hidden tab bar does not tell its layout that it grew.
    if (changed) bar_->updateGeometry();
    if (m.TabIndex() >= 0 && m.TabIndex() < n && bar_->currentIndex() != m.TabIndex())
      bar_->setCurrentIndex(m.TabIndex());
  }

 private:
  QTabBar* bar_;
  QWidget* area_;
  PageArea* page_;
};

// ---- ComboBox

class ComboWidget : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> onDropDown, onCloseUp;
  void showPopup() override {
    if (onDropDown) onDropDown();
    open_ = true;
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (open_) {
      open_ = false;
      if (onCloseUp) onCloseUp();
    }
  }

 private:
  bool open_ = false;
};

class ComboBoxPeer : public Peer {
 public:
  ComboBoxPeer(FormWindow& w, ui::ComboBox& c, QWidget* parent) : Peer(w, c, new ComboWidget(parent)) {
    combo()->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo()->setMinimumContentsLength(8);
    combo()->setMaxVisibleItems(20);
    combo()->onDropDown = [this] { User([this] { model().UserDropDown(); }); };
    combo()->onCloseUp = [this] { User([this] { model().UserCloseUp(); }); };
    connect(combo(), &QComboBox::activated, this, [this](int i) { User([this, i] { model().UserSelect(i); }); });
  }
  ~ComboBoxPeer() override {
    combo()->onDropDown = nullptr;
    combo()->onCloseUp = nullptr;
  }

 protected:
  void SyncState() override {
    auto& m = model();
    ComboWidget* cb = combo();
    const bool editable = m.Style() == ui::ComboStyle::DropDown;
    if (cb->isEditable() != editable) SetEditable(editable);
    QSignalBlocker blockEdit(cb->lineEdit());
    colors_.Apply(cb, {{QPalette::Base, m.BackColor()}, {QPalette::Button, m.BackColor()}});

    // Items: programs fill the list one AddItem at a time, so appending is
    // the common change.
    const auto& items = m.Items();
    bool same = items.size() == shown_.size();
    for (size_t i = 0; same && i < items.size(); ++i) same = items[i].text == shown_[i];
    if (!same) {
      bool prefix = items.size() > shown_.size();
      for (size_t i = 0; prefix && i < shown_.size(); ++i) prefix = items[i].text == shown_[i];
      if (!prefix) {
        cb->clear();
        shown_.clear();
      }
      for (size_t i = shown_.size(); i < items.size(); ++i) {
        cb->addItem(Q(items[i].text));
        shown_.push_back(items[i].text);
      }
    }

    if (cb->currentIndex() != m.ItemIndex()) cb->setCurrentIndex(m.ItemIndex());
    if (editable) {
      QLineEdit* le = cb->lineEdit();
      const QString want = Q(m.GetText());
      const int limit = m.MaxLength() > 0 ? m.MaxLength() : 32767;
      le->setMaxLength(std::max({limit, static_cast<int>(want.size()), static_cast<int>(le->text().size())}));
      if (le->text() != want) {
        const int cursor = le->cursorPosition();
        const int oldLength = static_cast<int>(le->text().size());
        le->setText(want);
        if (inUser_) {
          const int n = static_cast<int>(want.size());
          le->setCursorPosition(std::clamp(cursor + n - oldLength, 0, n));
        }
      }
      le->setMaxLength(std::max(limit, static_cast<int>(want.size())));
    }
  }

 private:
  ui::ComboBox& model() const { return static_cast<ui::ComboBox&>(*comp_); }
  ComboWidget* combo() const { return static_cast<ComboWidget*>(widget_); }
  void SetEditable(bool editable) {
    combo()->setEditable(editable);
    if (!editable) return;
    combo()->setInsertPolicy(QComboBox::NoInsert);
    combo()->setCompleter(nullptr);
    connect(combo()->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& s) {
      if (!comp_) return;
      inUser_ = true;
      QPointer<Peer> self(this);
      model().UserSetText(FromQ(s));
      if (!self) return;
      SyncNow();
      inUser_ = false;
    });
  }

  std::vector<ui::Text> shown_;
  bool inUser_ = false;
  Colors colors_;
};

// ---- StringGrid: row 0 is the header while FixedRows is 1; the other
// rows are the table's rows.

class StringGridPeer : public Peer {
 public:
  StringGridPeer(FormWindow& w, ui::StringGrid& g, QWidget* parent) : Peer(w, g, new QTableWidget(parent)) {
    QTableWidget* t = table();
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setSectionsClickable(false);
    t->horizontalHeader()->setHighlightSections(false);
    t->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setWordWrap(false);
    connect(t, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
      if (row < 0 || col < 0) return;
      User([this, row, col] { grid().UserSelectCell(col, row + offset_); });
    });
    connect(t, &QTableWidget::cellClicked, this, [this](int, int) { User([this] { comp_->UserClick(); }); });
    connect(t, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { User([this] { comp_->UserDblClick(); }); });
    connect(t, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
      const int row = it->row() + offset_, col = it->column();
      const ui::Text text = FromQ(it->text());
      User([this, row, col, &text] { grid().UserEditCell(col, row, text); });
    });
  }

 protected:
  bool Deferred() const override { return true; }
  void SyncState() override {
    auto& g = grid();
    QTableWidget* t = table();
    offset_ = g.FixedRows() > 0 ? 1 : 0;
    const int rows = g.RowCount() - offset_, cols = g.ColCount();
    if (t->columnCount() != cols) t->setColumnCount(cols);
    if (t->rowCount() != rows) t->setRowCount(rows);
    t->horizontalHeader()->setVisible(offset_ == 1);
    for (int c = 0; c < cols; ++c) {
      const bool exact = g.ColWidthExact(c);
      if (offset_) {
        const QString h = Q(g.Cell(c, 0));
        QTableWidgetItem* item = t->horizontalHeaderItem(c);
        if (!item) t->setHorizontalHeaderItem(c, item = new QTableWidgetItem);
        if (item->text() != h) item->setText(h);
        // A column the form fixed shows its whole heading as its tool tip.
        const QString tip = exact ? h : QString();
        if (item->toolTip() != tip) item->setToolTip(tip);
      }
      const int width = g.ColWidth(c);
      if (t->isColumnHidden(c) != (width == 0)) t->setColumnHidden(c, width == 0);
      // Any other column is at least as wide as its heading.
      const int want = exact || !offset_ ? width : std::max(width, t->horizontalHeader()->sectionSizeHint(c));
      if (width > 0 && t->columnWidth(c) != want) t->setColumnWidth(c, want);
    }
    for (int r = 0; r < rows; ++r) {
      const int row = r + offset_;
      for (int c = 0; c < cols; ++c) {
        const QString s = Q(g.Cell(c, row));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (g.Editable() && row >= g.FixedRows() && c >= g.FixedCols()) flags |= Qt::ItemIsEditable;
        if (QTableWidgetItem* item = t->item(r, c)) {
          if (item->text() != s) item->setText(s);
          if (item->flags() != flags) item->setFlags(flags);
        } else {
          item = new QTableWidgetItem(s);
          item->setFlags(flags);
          t->setItem(r, c, item);
        }
      }
    }
    t->setEditTriggers(g.Editable() ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                          QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(g.Editable() ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    const int current = g.Row() - offset_;
    if (current >= 0 && current < rows) {
      if (t->currentRow() != current || t->currentColumn() != g.Col()) t->setCurrentCell(current, g.Col());
    } else if (t->currentRow() >= 0) {
      t->setCurrentCell(-1, -1);
    }
  }

 private:
  ui::StringGrid& grid() const { return static_cast<ui::StringGrid&>(*comp_); }
  QTableWidget* table() const { return static_cast<QTableWidget*>(widget_); }
  int offset_ = 1;
};

// ---- TreeView

class TreeViewPeer : public Peer {
 public:
  TreeViewPeer(FormWindow& w, ui::TreeView& t, QWidget* parent) : Peer(w, t, new QTreeWidget(parent)) {
    tree()->setHeaderHidden(true);
    tree()->setColumnCount(1);
    tree()->setSelectionMode(QAbstractItemView::SingleSelection);
    // While a change of the model waits to be shown, the items stand for
    // the nodes last shown; they are used only while those still stand.
    connect(tree(), &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
      if (ui::TreeNode* n = NodeOf(item)) User([this, n] { view().UserSelect(n); });
    });
    connect(tree(), &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
      if (ui::TreeNode* n = NodeOf(item)) n->expanded = true;
    });
    connect(tree(), &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
      if (ui::TreeNode* n = NodeOf(item)) n->expanded = false;
    });
    connect(tree(), &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem*, int) { User([this] { comp_->UserClick(); }); });
    connect(tree(), &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int) { User([this] { comp_->UserDblClick(); }); });
  }

 protected:
  bool Deferred() const override { return true; }
  void SyncState() override {
    auto& v = view();
    const std::vector<ui::TreeNode*> nodes = v.AllNodes();
    std::vector<Shape> shape = ShapeOfModel();
    if (shape != shape_) {
      tree()->clear();
      items_.clear();
      nodes_.clear();
      for (ui::TreeNode* n : nodes) {
        QTreeWidgetItem* item =
            n->Parent() ? new QTreeWidgetItem(items_.at(n->Parent())) : new QTreeWidgetItem(tree());
        item->setText(0, Q(n->GetText()));
        items_[n] = item;
        nodes_[item] = n;
      }
      shape_ = std::move(shape);
    }
    for (ui::TreeNode* n : nodes) {
      QTreeWidgetItem* item = items_.at(n);
      if (item->isExpanded() != n->expanded) item->setExpanded(n->expanded);
    }
    QTreeWidgetItem* current = nullptr;
    if (auto it = items_.find(v.Selected()); it != items_.end()) current = it->second;
    if (tree()->currentItem() != current) {
      tree()->setCurrentItem(current);
      if (current) tree()->scrollToItem(current);
    }
  }

 private:
  struct Shape {
    ui::TreeNode* node;
    ui::TreeNode* parent;
    ui::Text text;
    bool operator==(const Shape&) const = default;
  };
  ui::TreeView& view() const { return static_cast<ui::TreeView&>(*comp_); }
  QTreeWidget* tree() const { return static_cast<QTreeWidget*>(widget_); }
  // The node an item stands for; null when the model's nodes changed since
  // they were last shown (the item may stand for a node that is gone).
  ui::TreeNode* NodeOf(QTreeWidgetItem* item) const {
    if (!comp_) return nullptr;
    auto it = nodes_.find(item);
    if (it == nodes_.end()) return nullptr;
    if (pending_ && ShapeOfModel() != shape_) return nullptr;
    return it->second;
  }

  std::vector<Shape> ShapeOfModel() const {
    std::vector<Shape> shape;
    for (ui::TreeNode* n : view().AllNodes()) shape.push_back({n, n->Parent(), n->GetText()});
    return shape;
  }

  std::vector<Shape> shape_;
  std::unordered_map<const ui::TreeNode*, QTreeWidgetItem*> items_;
  std::unordered_map<QTreeWidgetItem*, ui::TreeNode*> nodes_;
};

// ---- DatePicker

class DatePickerPeer : public Peer {
 public:
  DatePickerPeer(FormWindow& w, ui::DatePicker& d, QWidget* parent) : Peer(w, d, new DateField(parent)) {
    connect(edit(), &QDateEdit::dateChanged, this, [this](QDate d) {
      User([this, d] {
        auto& m = picker();
        // The day changes; a time of day the program keeps with it stays.
        const ui::DateValue fraction = m.Date() - std::floor(m.Date());
        m.UserSetDate(ValueFromDate(d) + fraction);
      });
    });
  }

 protected:
  void SyncState() override {
    auto& m = picker();
    if (m.MinDate())
      edit()->setMinimumDate(DateFromValue(*m.MinDate()));
    else
      edit()->clearMinimumDate();
    const QDate want = DateFromValue(m.Date());
    if (edit()->date() != want) {
      edit()->CancelTyping();  // the program's date wins over digits being typed
      edit()->setDate(want);
    }
    colors_.Apply(edit(), {{QPalette::Base, m.BackColor()}});
  }

 private:
  ui::DatePicker& picker() const { return static_cast<ui::DatePicker&>(*comp_); }
  DateField* edit() const { return static_cast<DateField*>(widget_); }
  void EndInput() override { edit()->EndTyping(); }
  Colors colors_;
};

// ---- CheckListBox

class CheckListBoxPeer : public Peer {
 public:
  CheckListBoxPeer(FormWindow& w, ui::CheckListBox& c, QWidget* parent) : Peer(w, c, new QListWidget(parent)) {
    connect(list(), &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
      const int i = list()->row(item);
      if ((item->checkState() == Qt::Checked) != model().Checked(i))
        User([this, i] { model().UserToggle(i); });
      else
        SyncNow();
    });
    connect(list(), &QListWidget::currentRowChanged, this, [this](int row) {
      // The current item is state, not an event.
      if (comp_ && model().ItemIndex() != row) model().SetItemIndex(row);
    });
    connect(list(), &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
      User([this] { comp_->UserClick(); });
    });
    connect(list(), &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
      User([this] { comp_->UserDblClick(); });
    });
  }

 protected:
  void SyncState() override {
    auto& m = model();
    QListWidget* l = list();
    const int n = static_cast<int>(m.Items().size());
    while (l->count() > n) delete l->takeItem(l->count() - 1);
    for (int i = 0; i < n; ++i) {
      const auto& it = m.Items()[i];
      const auto state = it.checked ? Qt::Checked : Qt::Unchecked;
      QListWidgetItem* item = l->item(i);
      if (!item) {
        item = new QListWidgetItem(l);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(state);  // an item without a state shows no box
      }
      const QString t = Q(it.text);
      if (item->text() != t) item->setText(t);
      if (item->checkState() != state) item->setCheckState(state);
    }
    if (l->currentRow() != m.ItemIndex()) l->setCurrentRow(m.ItemIndex());
  }

 private:
  ui::CheckListBox& model() const { return static_cast<ui::CheckListBox&>(*comp_); }
  QListWidget* list() const { return static_cast<QListWidget*>(widget_); }
};

// ---- StatusBar: a strip of labels; panel 0 takes the room and carries
// the message in its colour.

class StatusBarPeer : public Peer {
 public:
  StatusBarPeer(FormWindow& w, ui::StatusBar& s, QWidget* parent) : Peer(w, s, new QStatusBar(parent)) {
    bar()->setSizeGripEnabled(false);
  }
  MouseRole ReleaseRole(QWidget*) const override { return MouseRole::ClickAndSwallow; }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {
    auto& m = static_cast<ui::StatusBar&>(*comp_);
    while (static_cast<int>(panels_.size()) < m.PanelCount()) {
      auto* l = new QLabel(bar());
      l->setTextFormat(Qt::PlainText);
      l->setContentsMargins(4, 1, 4, 1);
      if (panels_.empty()) {
        // A long message is cut rather than widening the window.
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        bar()->addWidget(l, 1);
      } else {
        l->setMinimumWidth(90);
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        bar()->addPermanentWidget(l);
      }
      panels_.push_back(l);
    }
    for (int i = 0; i < static_cast<int>(panels_.size()); ++i) {
      SetTextIfChanged(panels_[i], Q(m.PanelText(i)));
      panels_[i]->setVisible(i < m.PanelCount());
    }
    if (!panels_.empty()) colors_.Apply(panels_[0], {{QPalette::Window, m.BackColor()}});
  }

 private:
  QStatusBar* bar() const { return static_cast<QStatusBar*>(widget_); }
  std::vector<QLabel*> panels_;
  Colors colors_;
};

// ---- Menus and tool bars

class MainMenuPeer : public Peer {
 public:
  MainMenuPeer(FormWindow& w, ui::MainMenu& m, QWidget* parent) : Peer(w, m, new QMenuBar(parent)) {
    static_cast<QMenuBar*>(widget_)->setNativeMenuBar(false);
  }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {}
};

class MenuItemPeer : public Peer {
 public:
  MenuItemPeer(FormWindow& w, ui::MenuItem& item, QWidget* owner) : Peer(w, item, nullptr) {
    if (!item.Items().empty()) {
      // Opening a submenu is its item's click, as the handlers expect.
      menu_ = new QMenu(owner);
      action_ = menu_->menuAction();
      connect(menu_, &QMenu::aboutToShow, this, [this] { User([this] { comp_->UserClick(); }); });
    } else {
      action_ = new QAction(owner);
      connect(action_, &QAction::triggered, this, [this] { User([this] { comp_->UserClick(); }); });
    }
    owner->addAction(action_);
  }
  QAction* Action() const override { return action_; }
  QMenu* Submenu() const { return menu_; }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncCommon() override {
    if (action_->isVisible() != comp_->Visible()) action_->setVisible(comp_->Visible());
    if (action_->isEnabled() != comp_->Enabled()) action_->setEnabled(comp_->Enabled());
    // Not a status tip: the window would show it over the form's status
    // line.
    QString tip = Q(comp_->Hint());
    if (int bar = tip.indexOf('|'); bar >= 0) tip.truncate(bar);
    if (action_->toolTip() != tip) action_->setToolTip(tip);
  }
  void SyncState() override {
    auto& m = static_cast<ui::MenuItem&>(*comp_);
    QSignalBlocker block(action_);
    if (!menu_ && action_->isSeparator() != m.IsSeparator()) action_->setSeparator(m.IsSeparator());
    const QString t = Q(m.Caption());
    if (action_->text() != t) action_->setText(t);
    // Only a checked item shows a mark; a click does not tick it (the
    // handler does, when it means to).
    if (action_->isCheckable() != m.Checked()) action_->setCheckable(m.Checked());
    if (action_->isChecked() != m.Checked()) action_->setChecked(m.Checked());
  }

 private:
  QAction* action_ = nullptr;
  QMenu* menu_ = nullptr;
};

class ToolBarPeer : public Peer {
 public:
  ToolBarPeer(FormWindow& w, ui::ToolBar& t, QWidget* parent) : Peer(w, t, new QToolBar(parent)) {
    auto* bar = static_cast<QToolBar*>(widget_);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {}
};

class ToolButtonPeer : public Peer {
 public:
  ToolButtonPeer(FormWindow& w, ui::ToolButton& b, QWidget* parent) : Peer(w, b, new QToolButton(parent)) {
    button()->setFocusPolicy(Qt::NoFocus);
    button()->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button()->setAutoRaise(true);
    connect(button(), &QToolButton::clicked, this, [this] { User([this] { comp_->UserClick(); }); });
  }

 protected:
  bool TakesFocus() const override { return false; }
  void SyncState() override {
    auto& m = static_cast<ui::ToolButton&>(*comp_);
    // Tool buttons without a caption show their hint's short part.
    QString t = Q(m.Caption());
    if (t.isEmpty()) {
      t = Q(m.Hint());
      if (int bar = t.indexOf('|'); bar >= 0) t.truncate(bar);
    }
    if (button()->text() != t) button()->setText(t);
    // A button the program ever pressed shows its state; a click alone
    // never changes it (the handler decides).
    if (m.Down() && !button()->isCheckable()) button()->setCheckable(true);
    if (button()->isChecked() != m.Down()) button()->setChecked(m.Down());
  }

 private:
  QToolButton* button() const { return static_cast<QToolButton*>(widget_); }
};

// ---- The form

class FormPeer : public Peer {
 public:
  FormPeer(FormWindow& w, ui::Form& f, QWidget* central) : Peer(w, f, central) {}
  void ComponentDestroyed() override {
    comp_ = nullptr;
    window_.FormGone();
  }
  MouseRole ReleaseRole(QWidget* w) const override {
    return w == widget_ ? MouseRole::ClickAndSwallow : MouseRole::None;
  }
  bool DoubleClickByMouse(QWidget* w) const override { return w == widget_; }

 protected:
  bool TakesFocus() const override { return false; }
  // The backend shows and hides the window; the form is always enabled.
  void SyncCommon() override {}
  void SyncState() override {
    auto& f = static_cast<ui::Form&>(*comp_);
    const QString title = Q(f.Caption());
    if (window_.windowTitle() != title) window_.setWindowTitle(title);
    colors_.Apply(widget_, {{QPalette::Window, f.BackColor()}});
  }

 private:
  Colors colors_;
};

}  // namespace

std::unique_ptr<Peer> MakePeer(FormWindow& w, ui::Component& c, QWidget* parent) {
  using K = ui::Kind;
  switch (c.GetKind()) {
    case K::Label:
      return std::make_unique<LabelPeer>(w, static_cast<ui::Label&>(c), parent);
    case K::Edit:
      return std::make_unique<EditPeer>(w, static_cast<ui::Edit&>(c), parent);
    case K::Memo:
      return std::make_unique<MemoPeer>(w, static_cast<ui::Memo&>(c), parent);
    case K::Button:
      return std::make_unique<ButtonPeer>(w, static_cast<ui::Button&>(c), parent);
    case K::CheckBox:
      return std::make_unique<CheckBoxPeer>(w, static_cast<ui::CheckBox&>(c), parent);
    case K::RadioButton:
      return std::make_unique<RadioButtonPeer>(w, static_cast<ui::RadioButton&>(c), parent);
    case K::RadioGroup:
      return std::make_unique<RadioGroupPeer>(w, static_cast<ui::RadioGroup&>(c), parent);
    case K::Panel:
      return std::make_unique<PanelPeer>(w, static_cast<ui::Panel&>(c), parent);
    case K::GroupBox:
      return std::make_unique<GroupBoxPeer>(w, static_cast<ui::GroupBox&>(c), parent);
    case K::ComboBox:
      return std::make_unique<ComboBoxPeer>(w, static_cast<ui::ComboBox&>(c), parent);
    case K::StringGrid:
      return std::make_unique<StringGridPeer>(w, static_cast<ui::StringGrid&>(c), parent);
    case K::TreeView:
      return std::make_unique<TreeViewPeer>(w, static_cast<ui::TreeView&>(c), parent);
    case K::TabControl:
      return std::make_unique<TabControlPeer>(w, static_cast<ui::TabControl&>(c), parent);
    case K::DatePicker:
      return std::make_unique<DatePickerPeer>(w, static_cast<ui::DatePicker&>(c), parent);
    case K::CheckListBox:
      return std::make_unique<CheckListBoxPeer>(w, static_cast<ui::CheckListBox&>(c), parent);
    case K::StatusBar:
      return std::make_unique<StatusBarPeer>(w, static_cast<ui::StatusBar&>(c), parent);
    case K::MainMenu:
      return std::make_unique<MainMenuPeer>(w, static_cast<ui::MainMenu&>(c), parent);
    case K::ToolBar:
      return std::make_unique<ToolBarPeer>(w, static_cast<ui::ToolBar&>(c), parent);
    case K::ToolButton:
      return std::make_unique<ToolButtonPeer>(w, static_cast<ui::ToolButton&>(c), parent);
    case K::ProgressBar:
      return std::make_unique<ProgressBarPeer>(w, static_cast<ui::ProgressBar&>(c), parent);
    case K::RichEdit:
      return MakeRichTextPeer(w, c, parent);
    case K::Chart:
      return MakeChartPeer(w, static_cast<ui::Chart&>(c), parent);
    case K::ListBox:
      return MakeListBoxPeer(w, static_cast<ui::ListBox&>(c), parent);
    case K::Form:
    case K::MenuItem:
      break;
  }
  return nullptr;
}

std::unique_ptr<Peer> MakeMenuItemPeer(FormWindow& w, ui::MenuItem& item, QWidget* owner) {
  return std::make_unique<MenuItemPeer>(w, item, owner);
}

std::unique_ptr<Peer> MakeFormPeer(FormWindow& w, ui::Form& form, QWidget* central) {
  return std::make_unique<FormPeer>(w, form, central);
}

QWidget* SubmenuOf(Peer& p) {
  auto* m = dynamic_cast<MenuItemPeer*>(&p);
  return m ? m->Submenu() : nullptr;
}

}  // namespace qtfront
