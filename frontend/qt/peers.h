// The Qt counterparts of the model's components: one Peer per component,
// owning nothing but its connections (the widgets belong to the window).
//
// A peer reads the model into its widget in Sync() with the widget's signals
// blocked, so a change made by the program never comes back as user input.
// What the user does goes into the model through the component's User...
// entry points only; afterwards the peer shows the model's state again (a
// handler may have rewritten or refused what the user did).
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "ui/component.h"
#include "ui/controls.h"
#include "ui/form.h"

class QAction;
class QLayout;
class QWidget;

namespace qtfront {

class FormWindow;

class Peer : public QObject, public ui::ViewPeer {
 public:
  Peer(FormWindow& window, ui::Component& component, QWidget* widget);
  ~Peer() override;
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // Null once the component is gone.
  ui::Component* Component() const { return comp_; }
  // The widget that stands for the component (null for menu items).
  QWidget* Widget() const { return widget_; }
  FormWindow& Window() const { return window_; }

  // Containers: the widget their children live in, and their layout.
  virtual QWidget* Content() const { return widget_; }
  virtual void SetChildLayout(QLayout* layout);
  // The widget that takes the keyboard focus for the component.
  virtual QWidget* FocusTarget() const { return widget_; }
  // Menu items and members of a tool bar: the action that shows them.
  virtual QAction* Action() const { return barAction_; }
  void SetBarAction(QAction* a) { barAction_ = a; }

  // A left button release on `w` (this peer's widget or one inside it that
  // belongs to no other peer): whether it is the component's click, and
  // whether the widget itself must not see it.
  enum class MouseRole { None, Click, ClickAndSwallow };
  virtual MouseRole ReleaseRole(QWidget* w) const { return MouseRole::None; }
  virtual bool DoubleClickByMouse(QWidget* w) const { return false; }
  // Ends what the user is typing into the widget (a date typed digit by
  // digit): before the form sees another key or a click, the model holds
  // what the widget shows.
  virtual void EndInput() {}
  // Whether the widget's keyboard focus is the component's focus.
  bool MirrorsFocus() const { return TakesFocus(); }

  // Model -> widget. Deferred peers (grids and trees, which programs fill
  // cell by cell) gather the changes of one pass and show them at once.
  void Sync() final;
  void SyncNow();
  void Flush();
  bool Pending() const { return pending_; }
  // Whether some peer is showing the model's state: a focus that Qt moves
  // meanwhile (off a field being hidden or disabled) is not the user's.
  static bool AnySyncing();
  void ComponentDestroyed() override;

 protected:
  virtual void SyncState() = 0;
  virtual void SyncCommon();
  virtual bool Deferred() const { return false; }
  virtual bool TakesFocus() const { return true; }
  void SyncFocus();

  // Runs a user action on the model; afterwards the widget shows the
  // model's state again.
  template <typename F>
  void User(F&& f) {
    if (!comp_) return;
    QPointer<Peer> self(this);
    f();
    if (!self) return;
    if (Deferred())
      Sync();
    else
      SyncNow();
  }

  FormWindow& window_;
  ui::Component* comp_;
  QWidget* widget_;
  QAction* barAction_ = nullptr;
  bool syncing_ = false;
  bool pending_ = false;
};

// The peer for a component of any widget kind (not the form, not a menu
// item), its widget created inside `parent`.
std::unique_ptr<Peer> MakePeer(FormWindow& window, ui::Component& component, QWidget* parent);
// A menu item in a menu bar or a menu (`owner`).
std::unique_ptr<Peer> MakeMenuItemPeer(FormWindow& window, ui::MenuItem& item, QWidget* owner);
// The form itself: `central` is the window's central widget.
std::unique_ptr<Peer> MakeFormPeer(FormWindow& window, ui::Form& form, QWidget* central);

// The menu a menu item's children go into (null for a plain item).
QWidget* SubmenuOf(Peer& menuItemPeer);

}  // namespace qtfront
