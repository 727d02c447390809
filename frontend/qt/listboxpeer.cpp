#include "qt/listboxpeer.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QListView>

#include "qt/convert.h"

namespace qtfront {
namespace {

// The list box's lines as rows; each row is converted when the view asks
// for it.
class LinesModel : public QAbstractListModel {
 public:
  explicit LinesModel(QObject* parent) : QAbstractListModel(parent) {}
  void SetSource(const ui::ListBox* list) { list_ = list; }
  // The model's lines changed (or the list went away): the view starts
  // again from the new count.
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || !list_ ? 0 : list_->Count();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!list_ || role != Qt::DisplayRole || index.row() < 0 || index.row() >= list_->Count()) return {};
    return Q(list_->Items()[static_cast<std::size_t>(index.row())]);
  }

 private:
  const ui::ListBox* list_ = nullptr;
};

class ListBoxPeer : public Peer {
 public:
  ListBoxPeer(FormWindow& w, ui::ListBox& l, QWidget* parent) : Peer(w, l, new QListView(parent)) {
    lines_ = new LinesModel(view());
    lines_->SetSource(&l);
    view()->setModel(lines_);
    view()->setUniformItemSizes(true);
    view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view()->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(view(), &QListView::clicked, this, [this](const QModelIndex& i) {
      const int row = i.row();
      User([this, row] { model().UserSelect(row); });
    });
    connect(view(), &QListView::doubleClicked, this, [this](const QModelIndex&) {
      User([this] { comp_->UserDblClick(); });
    });
  }
  void ComponentDestroyed() override {
    lines_->SetSource(nullptr);
    lines_->Reset();
    Peer::ComponentDestroyed();
  }

 protected:
  void SyncState() override {
    auto& m = model();
    if (m.Revision() != shown_) {
      shown_ = m.Revision();
      lines_->Reset();
    }
    const int current = view()->currentIndex().isValid() ? view()->currentIndex().row() : -1;
    if (current != m.ItemIndex()) {
      if (m.ItemIndex() < 0)
        view()->selectionModel()->clearCurrentIndex();
      else
        view()->setCurrentIndex(lines_->index(m.ItemIndex()));
    }
  }

 private:
  ui::ListBox& model() const { return static_cast<ui::ListBox&>(*comp_); }
  QListView* view() const { return static_cast<QListView*>(widget_); }
  LinesModel* lines_;
  std::uint64_t shown_ = ~std::uint64_t{0};
};

}  // namespace

std::unique_ptr<Peer> MakeListBoxPeer(FormWindow& w, ui::ListBox& l, QWidget* parent) {
  return std::make_unique<ListBoxPeer>(w, l, parent);
}

}  // namespace qtfront
