#include "qt/formwindow.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSpacerItem>
#include <QStatusBar>
#include <QToolBar>
#include <QWidgetItem>
#include <algorithm>
#include <optional>
#include <vector>

#include "qt/pagearea.h"
#include "qt/qtbackend.h"

namespace qtfront {
namespace {

bool IsContainer(ui::Kind k) {
  return k == ui::Kind::Panel || k == ui::Kind::GroupBox || k == ui::Kind::TabControl;
}

// Components that take what room their column offers.
bool IsField(ui::Kind k) {
  switch (k) {
    case ui::Kind::Label:
    case ui::Kind::CheckBox:
    case ui::Kind::RadioButton:
    case ui::Kind::Button:
    case ui::Kind::ToolButton:
      return false;
    default:
      return true;
  }
}

void ApplyHints(QWidget* w, const ui::LayoutHints& h) {
  if (h.width > 0) w->setFixedWidth(h.width);
  if (h.height > 0) w->setFixedHeight(h.height);
  if (h.minWidth > 0) w->setMinimumWidth(h.minWidth);
}

Qt::Orientations Expanding(QWidget* w) {
  QWidgetItem item(w);
  return item.expandingDirections();
}

}  // namespace

FormWindow::FormWindow(QtBackend& backend, ui::Form& form) : QMainWindow(nullptr), backend_(backend), form_(&form) {
  setObjectName(QString::fromStdString(form.Name()));
  // No menu for hiding the tool bars.
  setContextMenuPolicy(Qt::PreventContextMenu);
  // The form's content scrolls rather than growing the window once shown.
  auto* central = new QWidget;
  setCentralWidget(new PageArea(central, this));
  content_ = central;
  Peer& formPeer = Add(MakeFormPeer(*this, form, central));
  BuildChildren(form, formPeer);
  SetTabOrder();
  for (auto& p : peers_) p->SyncNow();
  // Widgets filled while hidden do not all tell their layouts.
  for (QLayout* l : findChildren<QLayout*>()) l->invalidate();
}

FormWindow::~FormWindow() {
  // The peers go first: they leave the components and stop listening
  // before the widgets are destroyed.
  peers_.clear();
}

Peer& FormWindow::Add(std::unique_ptr<Peer> p) {
  Peer& ref = *p;
  byComponent_[p->Component()] = &ref;
  if (QWidget* w = p->Widget(); w && w != content_)
    w->setObjectName(QString::fromStdString(p->Component()->Name()));
  peers_.push_back(std::move(p));
  return ref;
}

Peer* FormWindow::PeerOf(const ui::Component& c) const {
  auto it = byComponent_.find(&c);
  return it == byComponent_.end() ? nullptr : it->second;
}

bool FormWindow::PlaceWindowBar(ui::Component& child) {
  const ui::Kind k = child.GetKind();
  if (k == ui::Kind::MainMenu && !hasMenuBar_) {
    Peer& p = Add(MakePeer(*this, child, this));
    setMenuBar(static_cast<QMenuBar*>(p.Widget()));
    hasMenuBar_ = true;
    BuildMenu(static_cast<ui::Container&>(child), p.Widget());
    return true;
  }
  if (k == ui::Kind::ToolBar) {
    Peer& p = Add(MakePeer(*this, child, this));
    addToolBar(Qt::TopToolBarArea, static_cast<QToolBar*>(p.Widget()));
    BuildToolBar(static_cast<ui::Container&>(child), p);
    return true;
  }
  if (k == ui::Kind::StatusBar && !hasStatusBar_) {
    Peer& p = Add(MakePeer(*this, child, this));
    auto* bar = static_cast<QStatusBar*>(p.Widget());
    bar->setSizeGripEnabled(true);
    setStatusBar(bar);
    hasStatusBar_ = true;
    return true;
  }
  return false;
}

namespace {

// Places the children of a grid container row by row as their hints ask,
// then gives the columns their stretch.
class GridPlacer {
 public:
  GridPlacer(QGridLayout* grid, int columns)
      : grid_(grid), columns_(columns), columnStretch_(columns, 0), columnHasField_(columns, false) {}

  void Place(QWidget* w, const ui::Component& child, Qt::Orientations expanding) {
    const ui::LayoutHints& h = child.hints;
    const int span = std::clamp(h.colSpan, 1, columns_);
    if (h.newRow && col_ > 0) NextRow();
    if (h.column >= 0) {
      const int want = std::min(h.column, columns_ - span);
      if (col_ > want) ++row_;
      col_ = std::max(0, want);
    }
    if (col_ + span > columns_) NextRow();
    grid_->addWidget(w, row_, col_, 1, span);
    if (span == 1) {
      columnStretch_[col_] = std::max(columnStretch_[col_], h.stretch);
      if (IsField(child.GetKind())) columnHasField_[col_] = true;
    }
    expandsDown_ = expandsDown_ || (expanding & Qt::Vertical);
    col_ += span;
    if (col_ >= columns_) NextRow();
  }

  // Keeps the components together at the top when none of them takes the
  // spare room.
  void Finish() {
    for (int i = 0; i < columns_; ++i)
      grid_->setColumnStretch(i, columnStretch_[i] > 0 ? columnStretch_[i] : (columnHasField_[i] ? 1 : 0));
    if (!expandsDown_)
      grid_->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                     col_ > 0 ? row_ + 1 : row_, 0, 1, columns_);
  }

 private:
  void NextRow() {
    ++row_;
    col_ = 0;
  }

  QGridLayout* grid_;
  int columns_;
  int row_ = 0, col_ = 0;
  std::vector<int> columnStretch_;
  std::vector<bool> columnHasField_;
  bool expandsDown_ = false;
};

}  // namespace

void FormWindow::BuildChildren(ui::Container& c, Peer& owner) {
  const bool isForm = c.GetKind() == ui::Kind::Form;
  QWidget* content = owner.Content();
  QGridLayout* grid = nullptr;
  QBoxLayout* box = nullptr;
  QLayout* layout = nullptr;
  if (c.layout == ui::LayoutKind::Grid) {
    layout = grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
  } else {
    layout = box = new QBoxLayout(c.layout == ui::LayoutKind::Horizontal ? QBoxLayout::LeftToRight
                                                                         : QBoxLayout::TopToBottom);
    box->setSpacing(6);
  }
  if (isForm) layout->setContentsMargins(10, 10, 10, 10);

  const Qt::Orientation along = c.layout == ui::LayoutKind::Horizontal ? Qt::Horizontal : Qt::Vertical;
  std::optional<GridPlacer> placer;
  if (grid) placer.emplace(grid, std::max(1, c.gridColumns));
  bool expands = false;

  for (ui::Component* child : c.Children()) {
    const ui::Kind k = child->GetKind();
    if (k == ui::Kind::MenuItem || k == ui::Kind::Form) continue;
    // The form's own menu bar, tool bars and status bar sit on the window.
    if (isForm && PlaceWindowBar(*child)) continue;

    Peer& p = Add(MakePeer(*this, *child, content));
    QWidget* w = p.Widget();
    ApplyHints(w, child->hints);
    if (k == ui::Kind::MainMenu)
      BuildMenu(static_cast<ui::Container&>(*child), w);
    else if (k == ui::Kind::ToolBar)
      BuildToolBar(static_cast<ui::Container&>(*child), p);
    else if (IsContainer(k))
      BuildChildren(static_cast<ui::Container&>(*child), p);

    const Qt::Orientations e = Expanding(w);
    if (placer) {
      placer->Place(w, *child, e);
    } else {
      // A button in a column keeps its own width.
      const bool natural = along == Qt::Vertical && k == ui::Kind::Button && child->hints.width == 0;
      box->addWidget(w, child->hints.stretch, natural ? Qt::AlignLeft : Qt::Alignment());
      expands = expands || child->hints.stretch > 0 || (e & along);
    }
  }

  // Keep the components together at the top (or the left) when none of
  // them takes the spare room.
  if (placer)
    placer->Finish();
  else if (!expands)
    box->addStretch(1);
  owner.SetChildLayout(layout);
}

void FormWindow::BuildMenu(ui::Container& c, QWidget* owner) {
  for (ui::Component* child : c.Children()) {
    if (child->GetKind() != ui::Kind::MenuItem) continue;
    auto& item = static_cast<ui::MenuItem&>(*child);
    Peer& p = Add(MakeMenuItemPeer(*this, item, owner));
    if (QWidget* sub = SubmenuOf(p)) BuildMenu(item, sub);
  }
}

void FormWindow::BuildToolBar(ui::Container& bar, Peer& barPeer) {
  auto* tb = static_cast<QToolBar*>(barPeer.Widget());
  for (ui::Component* child : bar.Children()) {
    const ui::Kind k = child->GetKind();
    if (k == ui::Kind::MenuItem || k == ui::Kind::MainMenu || k == ui::Kind::ToolBar || k == ui::Kind::StatusBar)
      continue;
    Peer& p = Add(MakePeer(*this, *child, tb));
    ApplyHints(p.Widget(), child->hints);
    p.SetBarAction(tb->addWidget(p.Widget()));
    if (IsContainer(k)) BuildChildren(static_cast<ui::Container&>(*child), p);
  }
}

void FormWindow::SetTabOrder() {
  std::vector<QWidget*> chain;
  for (auto& p : peers_) {
    if (!p->MirrorsFocus() || !p->Widget()) continue;
    QWidget* w = p->FocusTarget();
    if (w && (w->focusPolicy() & Qt::TabFocus)) chain.push_back(w);
  }
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

std::vector<QWidget*> FormWindow::TabChain(QWidget* from) const {
  struct Place {
    QWidget* widget;
    QRect rect;
  };
  std::vector<Place> places;
  for (const auto& p : peers_) {
    if (!p->MirrorsFocus() || !p->Widget()) continue;
    QWidget* w = p->FocusTarget();
    if (!w || (w != from && (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this))))
      continue;
    places.push_back({w, QRect(w->mapTo(this, QPoint(0, 0)), w->size())});
  }
  std::stable_sort(places.begin(), places.end(),
                   [](const Place& a, const Place& b) { return a.rect.top() < b.rect.top(); });
  // A row: the topmost field left and every field that starts above its
  // middle.
  std::vector<QWidget*> chain;
  for (std::size_t first = 0; first < places.size();) {
    const int middle = places[first].rect.center().y();
    std::size_t end = first + 1;
    while (end < places.size() && places[end].rect.top() <= middle) ++end;
    std::stable_sort(places.begin() + static_cast<std::ptrdiff_t>(first),
                     places.begin() + static_cast<std::ptrdiff_t>(end),
                     [](const Place& a, const Place& b) { return a.rect.left() < b.rect.left(); });
    for (std::size_t i = first; i < end; ++i) chain.push_back(places[i].widget);
    first = end;
  }
  return chain;
}

bool FormWindow::focusNextPrevChild(bool next) {
  QWidget* current = focusWidget();
  if (Peer* p = current ? backend_.NearestPeer(current) : nullptr; p && &p->Window() == this)
    if (QWidget* t = p->FocusTarget()) current = t;
  // The field that has the focus stands in the chain even while it is being
  // hidden or disabled (Qt moves the focus on then): the next one follows
  // its place.
  std::vector<QWidget*> chain = TabChain(current);
  const auto at = std::find(chain.begin(), chain.end(), current);
  int from = -1;
  if (at != chain.end()) {
    from = static_cast<int>(at - chain.begin());
    const bool eligible = (current->focusPolicy() & Qt::TabFocus) && current->isEnabled() && current->isVisibleTo(this);
    if (!eligible) {
      chain.erase(at);
      // The field after it now stands at its place.
      if (next) --from;
    }
  }
  if (chain.empty()) return QMainWindow::focusNextPrevChild(next);
  const int n = static_cast<int>(chain.size());
  const int to = from < 0 && !next ? n - 1 : ((from + (next ? 1 : n - 1)) % n + n) % n;
  chain[static_cast<std::size_t>(to)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void FormWindow::FlushAll() {
  for (auto& p : peers_) p->Flush();
}

void FormWindow::EnsureSized() {
  if (sized_) return;
  sized_ = true;
  FlushAll();
  ensurePolished();
  // A container whose children the model hid before the window was first
  // shown may still be remembered at its old size by its parent's layout.
  for (QWidget* w : findChildren<QWidget*>()) w->updateGeometry();
  if (layout()) layout()->activate();
  const QSize hint = sizeHint();
  const QSize central = centralWidget()->sizeHint();
  const int w = form_ && form_->width > 0 ? form_->width : hint.width();
  const int h = form_ && form_->height > 0 ? form_->height + std::max(0, hint.height() - central.height())
                                           : hint.height();
  resize(QSize(w, h).expandedTo(minimumSizeHint()).expandedTo(QSize(240, 120)));
  // From now on the window keeps this size (or the one the user gives
  // it): content that grows scrolls.
  for (PageArea* area : findChildren<PageArea*>()) area->Freeze();
  // Forms open in the middle of the screen.
  if (QScreen* s = screen()) {
    const QRect room = s->availableGeometry();
    move(room.center() - rect().center());
  }
}

void FormWindow::ShowWindow() {
  EnsureSized();
  FlushAll();
  show();
  raise();
  activateWindow();
}

void FormWindow::FormGone() {
  form_ = nullptr;
  backend_.WindowGone(this);
}

void FormWindow::closeEvent(QCloseEvent* e) {
  // The form decides (OnCloseQuery); when it closes, the backend hides the
  // window.
  e->ignore();
  // Long work runs: the form closes when it is done, if the user asks then.
  if (backend_.Busy()) return;
  if (form_) form_->UserClose();
}

}  // namespace qtfront
