// The top-level window of one form: built once from the form's declared
// component tree, then shown and hidden for the rest of the run.
//
// The form's MainMenu becomes the window's menu bar, its ToolBars tool bars
// and its StatusBar the status line at the bottom; every other child goes
// into the central area, arranged by the containers' layouts in declaration
// order. Tab follows the reading order of the fields shown (TabChain).
#pragma once

#include <QMainWindow>
#include <memory>
#include <unordered_map>
#include <vector>

#include "qt/peers.h"
#include "ui/form.h"

namespace qtfront {

class QtBackend;

class FormWindow : public QMainWindow {
 public:
  FormWindow(QtBackend& backend, ui::Form& form);
  ~FormWindow() override;

  // Null once the form is gone.
  ui::Form* GetForm() const { return form_; }
  QtBackend& Backend() const { return backend_; }
  Peer* PeerOf(const ui::Component& c) const;

  // Shows every deferred change now.
  void FlushAll();
  // Gives the window its first size (the form's preferred client size or
  // what the layout asks for) unless it has one. Afterwards the window keeps
  // its size while it is shown: content that grows scrolls (pagearea.h).
  void EnsureSized();
  void ShowWindow();

  // The form is being destroyed.
  void FormGone();

 protected:
  void closeEvent(QCloseEvent* e) override;
  // Tab and Shift+Tab: the next or previous field of TabChain, round.
  bool focusNextPrevChild(bool next) override;

 private:
  Peer& Add(std::unique_ptr<Peer> p);
  void BuildChildren(ui::Container& c, Peer& owner);
  // Puts a menu bar, tool bar or status bar child of the form on the
  // window itself; false for any other child (and for a second menu or
  // status bar).
  bool PlaceWindowBar(ui::Component& child);
  void BuildMenu(ui::Container& c, QWidget* owner);
  void BuildToolBar(ui::Container& bar, Peer& barPeer);
  void SetTabOrder();
  // The fields Tab walks through: the focus widgets of the components now
  // shown and enabled (so only those of the current tab page), in reading
  // order: rows from top to bottom, each row from left to right. `from`
  // stands in it at its place even when it could not take the focus.
  std::vector<QWidget*> TabChain(QWidget* from) const;

  QtBackend& backend_;
  ui::Form* form_;
  QWidget* content_ = nullptr;  // the form's own widget, in the central page area
  std::vector<std::unique_ptr<Peer>> peers_;  // declaration order
  std::unordered_map<const ui::Component*, Peer*> byComponent_;
  bool hasMenuBar_ = false, hasStatusBar_ = false, sized_ = false;
};

}  // namespace qtfront
