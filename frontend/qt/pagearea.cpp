#include "qt/pagearea.h"

#include <QApplication>
#include <QLayout>
#include <QPointer>
#include <QScrollBar>

namespace qtfront {

PageArea::PageArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  // Neither the area nor its scroll bars are stops of the Tab order.
  setFocusPolicy(Qt::NoFocus);
  verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
  horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(content);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  // A field inside that takes the focus, by Tab or because the form gave it
  // the focus, is scrolled into view once the layout has placed it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!now || !widget() || !widget()->isAncestorOf(now)) return;
    QMetaObject::invokeMethod(
        this, [this, field = QPointer<QWidget>(now)] { if (field && field->hasFocus()) ensureWidgetVisible(field); },
        Qt::QueuedConnection);
  });
}

void PageArea::FollowLayout(const QLayout& layout) {
  const Qt::Orientations grows = layout.expandingDirections();
  setSizePolicy(grows & Qt::Horizontal ? QSizePolicy::Expanding : QSizePolicy::Preferred,
                grows & Qt::Vertical ? QSizePolicy::Expanding : QSizePolicy::Preferred);
}

void PageArea::Freeze() {
  frozen_.reset();
  frozen_ = minimumSizeHint();
  updateGeometry();
}

QSize PageArea::Around(QSize inner) const {
  const int frame = 2 * frameWidth();
  return inner + QSize(frame, frame);
}

QSize PageArea::sizeHint() const {
  return widget() ? Around(widget()->sizeHint().expandedTo(widget()->minimumSize())) : QScrollArea::sizeHint();
}

QSize PageArea::minimumSizeHint() const {
  if (frozen_) return *frozen_;
  if (!widget()) return QScrollArea::minimumSizeHint();
  return Around(widget()->minimumSizeHint().expandedTo(widget()->minimumSize()));
}

}  // namespace qtfront
