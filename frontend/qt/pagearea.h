// The area a form's content (and each tab control's page) lives in: a
// scroll area around one widget, so that a window keeps its size while it
// is shown.
//
// Until the window has its first size the area asks for what its content
// asks for, so the window opens as large as its layout wants. The window
// then freezes it: from then on its minimum stays what it was, and content
// that grows (a larger tab page shown, controls made visible, longer texts)
// scrolls inside the area instead of growing the window; a field inside
// that takes the focus is scrolled into view. Its size policy
// follows the content's layout, so it takes spare room exactly where the
// content would.
#pragma once

#include <QScrollArea>
#include <optional>

class QLayout;

namespace qtfront {

class PageArea : public QScrollArea {
 public:
  // The area owns `content`, which it widens and heightens to its own size.
  PageArea(QWidget* content, QWidget* parent);
  // Grows where `layout` (the content's) grows.
  void FollowLayout(const QLayout& layout);
  // The minimum stays what it is now.
  void Freeze();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  QSize Around(QSize inner) const;
  std::optional<QSize> frozen_;
};

}  // namespace qtfront
