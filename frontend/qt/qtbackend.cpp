#include "qt/qtbackend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>

#include "qt/chartpeer.h"
#include "qt/convert.h"
#include "qt/formwindow.h"
#include "qt/peers.h"

namespace qtfront {
namespace {

QtBackend* g_instance = nullptr;

// Qt's key to the virtual key code the handlers test (0: none).
uint16_t VirtualKey(int key, Qt::KeyboardModifiers mods) {
  const bool keypad = mods & Qt::KeypadModifier;
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>(keypad ? 96 + (key - Qt::Key_0) : key);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(ui::keys::F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ui::keys::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ui::keys::Return;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return ui::keys::Escape;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return ui::keys::Up;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return ui::keys::Down;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Asterisk: return keypad ? 106 : 0;
    case Qt::Key_Plus: return keypad ? 107 : 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return keypad ? 109 : 189;
    case Qt::Key_Period: return keypad ? 110 : 190;
    case Qt::Key_Slash: return keypad ? 111 : 191;
    default: return 0;
  }
}

unsigned ShiftOf(Qt::KeyboardModifiers mods) {
  unsigned s = ui::ShiftNone;
  if (mods & Qt::ShiftModifier) s |= ui::ShiftShift;
  if (mods & Qt::ControlModifier) s |= ui::ShiftCtrl;
  if (mods & Qt::AltModifier) s |= ui::ShiftAlt;
  return s;
}

// The Qt key that types `c` (for a character a key press handler put in
// place of the typed one).
int KeyForChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (c == 8) return Qt::Key_Backspace;
  if (c == 13) return Qt::Key_Return;
  if (c == 27) return Qt::Key_Escape;
  if (c >= 'a' && c <= 'z') return Qt::Key_A + (c - 'a');
  if (u >= 32 && u < 127) return u;
  return Qt::Key_unknown;
}

bool HasKeyPressHandler(const ui::Form& form) {
  if (form.keyPreview && form.OnKeyPress) return true;
  const ui::Component* a = form.ActiveControl();
  return a && a->OnKeyPress;
}

// "Description|*.ext;*.ext2" as Qt writes it: "Description (*.ext *.ext2)".
QString NameFilter(const ui::Text& f) {
  const auto bar = f.find('|');
  const QString description = Q(bar == ui::Text::npos ? ui::Text{} : f.substr(0, bar));
  QString patterns = Q(bar == ui::Text::npos ? f : f.substr(bar + 1));
  patterns.replace(';', ' ');
  return description.isEmpty() ? patterns : description + QStringLiteral(" (") + patterns + ')';
}

}  // namespace

// Everything the user does with keys and the mouse on a form's window, and
// where the keyboard focus goes.
class EventRouter : public QObject {
 public:
  explicit EventRouter(QtBackend& backend) : backend_(backend) {
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
  }
  ~EventRouter() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* obj, QEvent* e) override {
    if (backend_.Busy() && IsUserInput(e->type()) && obj->isWidgetType() && InFormWindow(static_cast<QWidget*>(obj))) {
      // Long work runs: the forms take no command until it ends.
      if (e->type() == QEvent::ShortcutOverride) e->accept();
      return true;
    }
    switch (e->type()) {
      case QEvent::KeyPress:
        return obj->isWidgetType() && KeyPress(static_cast<QWidget*>(obj), static_cast<QKeyEvent*>(e));
      case QEvent::KeyRelease:
        keyEvent_ = nullptr;
        return false;
      case QEvent::MouseButtonPress:
        mouseReceiver_ = nullptr;
        EndInputOfFocus();
        return false;
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        return obj->isWidgetType() && Mouse(static_cast<QWidget*>(obj), static_cast<QMouseEvent*>(e));
      default:
        return false;
    }
  }

 private:
  static bool IsUserInput(QEvent::Type t) {
    switch (t) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TabletPress:
      case QEvent::TabletRelease:
      case QEvent::Drop:
      case QEvent::InputMethod:
        return true;
      default:
        return false;
    }
  }
  // Whether `w` is in a form's window or in a pop-up (a menu, a combo
  // list) of one.
  static bool InFormWindow(QWidget* w) {
    QWidget* top = w->window();
    while (top && top->windowType() == Qt::Popup && top->parentWidget()) top = top->parentWidget()->window();
    return dynamic_cast<FormWindow*>(top) != nullptr;
  }

  FormWindow* WindowOf(QWidget* w) const {
    auto* fw = dynamic_cast<FormWindow*>(w->window());
    return fw && fw->GetForm() ? fw : nullptr;
  }

  // The form sees the key first (UserKeyDown, then UserKeyPress for a
  // character); what it consumes never reaches the widget.
  bool KeyPress(QWidget* w, QKeyEvent* e) {
    // A key the widget did not take goes on to its parents: it reached the
    // form already. The same holds for the character a handler put in place
    // of the typed one.
    auto handled = [&](const QEvent* ev, const QPointer<QWidget>& receiver) {
      return e == ev && receiver && (receiver == w || w->isAncestorOf(receiver));
    };
    if (handled(injected_, injectedReceiver_)) return false;
    if (keyReceiver_ != w && handled(keyEvent_, keyReceiver_)) return false;
    if (QComboBox* combo = ComboOfOpenList(w)) return ListKeyPress(*combo, e);
    FormWindow* fw = WindowOf(w);
    if (!fw || qobject_cast<QMenuBar*>(w) || qobject_cast<QMenu*>(w)) return false;
    QPointer<QWidget> alive0(w);

    // A key that types no date ends a date being typed before the form
    // sees it.
    if (!TypesIntoDate(e)) EndInputOfFocus();
    if (!alive0) return true;

    ui::Form& form = *fw->GetForm();
    QPointer<QWidget> alive(w);
    QPointer<FormWindow> window(fw);
    // A handler may run a modal loop (help on F1) that sees other keys:
    // the guard is set again after each handler.
    auto mark = [&] {
      keyEvent_ = e;
      keyReceiver_ = w;
    };
    mark();
    const uint16_t vk = VirtualKey(e->key(), e->modifiers());
    if (vk != 0 && vk != ui::keys::Tab) {
      const bool consumed = form.UserKeyDown(vk, ShiftOf(e->modifiers()));
      if (consumed || !alive || !window || !window->GetForm()) return true;
      mark();
    }
    if (!(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && HasKeyPressHandler(form)) {
      const ui::Text t = FromQ(e->text());
      if (t.size() == 1) {
        const char c = t[0];
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 32 && u != 127) || c == 8 || c == 13 || c == 27) {
          const char r = form.UserKeyPress(c);
          if (r == 0 || !alive || !window || !window->GetForm()) return true;
          mark();
          if (r != c) {
            QKeyEvent replaced(QEvent::KeyPress, KeyForChar(r), e->modifiers(), Q(ui::Text(1, r)), e->isAutoRepeat());
            injected_ = &replaced;
            injectedReceiver_ = w;
            QCoreApplication::sendEvent(w, &replaced);
            injected_ = nullptr;
            return true;
          }
        }
      }
    }
    // Enter in a combo box is the form's business only (Qt would pick the
    // item that matches the text).
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      Peer* p = backend_.NearestPeer(w);
      if (p && p->Component() && p->Component()->GetKind() == ui::Kind::ComboBox) return true;
    }
    return false;
  }

  static bool TypesIntoDate(const QKeyEvent* e) {
    const QString t = e->text();
    return t.size() == 1 && (t[0].isDigit() || t[0] == '-' || t[0] == '.' || t[0] == '/' || t[0] == '\b');
  }

  void EndInputOfFocus() {
    if (QWidget* f = QApplication::focusWidget())
      if (Peer* p = backend_.NearestPeer(f)) p->EndInput();
  }

  // The combo box whose open list `w` is in, or null. The list is a pop-up
  // window of its own, owned by the combo box.
  static QComboBox* ComboOfOpenList(QWidget* w) {
    QWidget* top = w->window();
    if (!top || top->windowType() != Qt::Popup) return nullptr;
    return qobject_cast<QComboBox*>(top->parentWidget());
  }

  // A key in an open combo list: Escape, Enter and the keys that move
  // through the list or search it are the list's (Escape closes it, Enter
  // picks the highlighted item and closes it) and go no further. A function
  // key (F1: help) closes the list and goes to the form as from the box.
  bool ListKeyPress(QComboBox& combo, QKeyEvent* e) {
    FormWindow* fw = WindowOf(&combo);
    const uint16_t vk = VirtualKey(e->key(), e->modifiers());
    if (!fw || vk < ui::keys::F1 || vk >= ui::keys::F1 + 24) return false;
    // Closing the list runs the box's close-up handler, which may do
    // anything to the form.
    QPointer<FormWindow> window(fw);
    combo.hidePopup();
    if (window && window->GetForm()) window->GetForm()->UserKeyDown(vk, ShiftOf(e->modifiers()));
    return true;
  }

  bool Mouse(QWidget* w, QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return false;
    // An event no widget took goes on to the parents (as a copy with the
    // same time stamp): it counted already.
    if (mouseReceiver_ && mouseReceiver_ != w && mouseType_ == e->type() && mouseStamp_ == e->timestamp() &&
        w->isAncestorOf(mouseReceiver_))
      return false;
    const QEvent::Type type = e->type();
    const quint64 stamp = e->timestamp();
    QPointer<QWidget> alive(w);
    // Set again after the handler, which may run a modal loop of its own.
    auto mark = [&] {
      mouseReceiver_ = alive;
      mouseType_ = type;
      mouseStamp_ = stamp;
    };
    mark();
    if (!WindowOf(w)) return false;
    Peer* p = backend_.NearestPeer(w);
    if (!p || !p->Component()) return false;
    if (type == QEvent::MouseButtonDblClick) {
      if (p->DoubleClickByMouse(w)) p->Component()->UserDblClick();
      mark();
      return false;
    }
    if (!w->rect().contains(e->position().toPoint())) return false;
    const Peer::MouseRole role = p->ReleaseRole(w);
    if (role == Peer::MouseRole::None) return false;
    p->Component()->UserClick();
    mark();
    return role == Peer::MouseRole::ClickAndSwallow || !alive;
  }

  void FocusChanged(QWidget* now) {
    if (!now || !WindowOf(now) || Peer::AnySyncing()) return;
    Peer* p = backend_.NearestPeer(now);
    if (!p || !p->MirrorsFocus()) return;
    ui::Component* c = p->Component();
    if (c && !c->Focused()) c->UserFocus();
  }

  QtBackend& backend_;
  const QEvent* keyEvent_ = nullptr;
  QPointer<QWidget> keyReceiver_;
  QPointer<QWidget> mouseReceiver_;
  QEvent::Type mouseType_ = QEvent::None;
  quint64 mouseStamp_ = 0;
  const QEvent* injected_ = nullptr;
  QPointer<QWidget> injectedReceiver_;
};

// ---- QtBackend

QtBackend::QtBackend() {
  QApplication::setQuitOnLastWindowClosed(false);
  router_ = std::make_unique<EventRouter>(*this);
  g_instance = this;
  ui::SetBackend(this);
}

QtBackend::~QtBackend() {
  router_.reset();
  auto windows = std::move(windows_);
  for (auto& [form, w] : windows) delete w;
  for (auto& w : dying_)
    if (w) delete w.data();
  if (g_instance == this) g_instance = nullptr;
  ui::SetBackend(nullptr);
}

QtBackend* QtBackend::Instance() { return g_instance; }

FormWindow& QtBackend::WindowFor(ui::Form& form) {
  if (FormWindow* w = ExistingWindow(form)) return *w;
  auto* w = new FormWindow(*this, form);
  windows_[&form] = w;
  return *w;
}

FormWindow* QtBackend::ExistingWindow(const ui::Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second;
}

void QtBackend::WindowGone(FormWindow* w) {
  for (auto it = windows_.begin(); it != windows_.end(); ++it)
    if (it->second == w) {
      windows_.erase(it);
      break;
    }
  w->hide();
  dying_.emplace_back(w);
  w->deleteLater();
}

void QtBackend::Register(QWidget* w, Peer* p) { peers_[w] = p; }

void QtBackend::Unregister(QWidget* w) { peers_.erase(w); }

Peer* QtBackend::NearestPeer(QWidget* w) const {
  QWidget* top = w ? w->window() : nullptr;
  for (QWidget* x = w; x; x = x->parentWidget()) {
    if (auto it = peers_.find(x); it != peers_.end()) return it->second;
    if (x == top) break;
  }
  return nullptr;
}

QWidget* QtBackend::WidgetFor(const ui::Component& c) {
  ui::Form* form = c.OwnerForm();
  if (!form) return nullptr;
  FormWindow& w = WindowFor(*form);
  w.FlushAll();
  if (&c == form) return &w;
  Peer* p = w.PeerOf(c);
  return p ? p->Widget() : nullptr;
}

QAction* QtBackend::ActionFor(const ui::Component& c) {
  ui::Form* form = c.OwnerForm();
  if (!form) return nullptr;
  FormWindow& w = WindowFor(*form);
  w.FlushAll();
  Peer* p = w.PeerOf(c);
  return p ? p->Action() : nullptr;
}

// ---- Modality

void QtBackend::RunModal(ui::Form& form) {
  QPointer<FormWindow> w(&WindowFor(form));
  QEventLoop loop;
  ModalFrame frame{&form, &loop};
  modal_.push_back(&frame);
  // The modality of a window can only change while it is hidden.
  if (w->isVisible()) w->hide();
  w->setWindowModality(Qt::ApplicationModal);
  // The activation may have hidden the form (it shows it again itself).
  if (form.Showing()) w->ShowWindow();
  // Showing may already have closed the form (a handler of the first
  // focus); exiting a loop that has not started would be lost.
  if (!frame.ended) loop.exec(QEventLoop::DialogExec);
  modal_.erase(std::find(modal_.begin(), modal_.end(), &frame));
  if (w) {
    w->hide();
    w->setWindowModality(Qt::NonModal);
  }
}

void QtBackend::EndModal(ui::Form& form) {
  for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
    if ((*it)->form == &form && !(*it)->ended) {
      (*it)->ended = true;
      (*it)->loop->exit();
      break;
    }
  if (FormWindow* w = ExistingWindow(form)) w->hide();
}

void QtBackend::RunMain(ui::Form& form) {
  mainForm_ = &form;
  mainClosed_ = false;
  WindowFor(form).ShowWindow();
  ui::RunGuarded([&] { form.Activate(); });
  if (!mainClosed_) {
    QEventLoop loop;
    mainLoop_ = &loop;
    loop.exec();
    mainLoop_ = nullptr;
  }
  mainForm_ = nullptr;
}

void QtBackend::VisibilityChanged(ui::Form& form) {
  if (form.Showing()) {
    WindowFor(form).ShowWindow();
  } else if (FormWindow* w = ExistingWindow(form)) {
    w->hide();
  }
}

void QtBackend::FormClosed(ui::Form& form) {
  VisibilityChanged(form);
  if (&form == mainForm_) {
    mainClosed_ = true;
    if (mainLoop_) mainLoop_->exit();
  }
}

// ---- Long work

void QtBackend::LongWorkBegin() {
  busy_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  RepaintDuringLongWork();
}

void QtBackend::LongWorkTick() {
  if (busy_ && (!repainted_.isValid() || repainted_.elapsed() >= longWorkRepaintMs)) RepaintDuringLongWork();
}

void QtBackend::LongWorkEnd() {
  // What the user did meanwhile is dropped here, while the forms still
  // take none of it.
  RepaintDuringLongWork();
  busy_ = false;
  QApplication::restoreOverrideCursor();
}

void QtBackend::RepaintDuringLongWork() {
  std::vector<QPointer<FormWindow>> windows;
  for (auto& [form, w] : windows_) windows.emplace_back(w);
  for (auto& w : windows)
    if (w) w->FlushAll();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  repainted_.restart();
}

DialogCursor::DialogCursor() {
  if (!QApplication::overrideCursor()) return;
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  pushed_ = true;
}

DialogCursor::~DialogCursor() {
  if (pushed_) QApplication::restoreOverrideCursor();
}

// ---- Dialogs

QWidget* QtBackend::DialogParent() const {
  if (QWidget* m = QApplication::activeModalWidget(); m && m->isVisible()) return m;
  if (QWidget* a = QApplication::activeWindow(); a && a->isVisible()) return a;
  for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
    if (FormWindow* w = ExistingWindow(*(*it)->form); w && w->isVisible()) return w;
  if (mainForm_)
    if (FormWindow* w = ExistingWindow(*mainForm_); w && w->isVisible()) return w;
  return nullptr;
}

ui::ModalResult QtBackend::MessageBox(const ui::Text& text, const ui::Text& caption, ui::Buttons buttons,
                                      ui::DialogKind kind) {
  if (messageHook)
    if (auto r = messageHook(text, caption, buttons, kind)) return *r;
  using B = QMessageBox;
  QMessageBox box(DialogParent());
  box.setWindowTitle(Q(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(Q(text));
  switch (kind) {
    case ui::DialogKind::Information: box.setIcon(B::Information); break;
    case ui::DialogKind::Warning: box.setIcon(B::Warning); break;
    case ui::DialogKind::Error: box.setIcon(B::Critical); break;
    case ui::DialogKind::Confirmation: box.setIcon(B::Question); break;
  }
  B::StandardButtons set;
  B::StandardButton first = B::Ok;
  ui::ModalResult closed = ui::ModalResult::Cancel;  // the answer when the box is closed
  switch (buttons) {
    case ui::Buttons::Ok:
      set = B::Ok;
      closed = ui::ModalResult::Ok;
      break;
    case ui::Buttons::OkCancel: set = B::Ok | B::Cancel; break;
    case ui::Buttons::YesNo:
      set = B::Yes | B::No;
      first = B::Yes;
      closed = ui::ModalResult::No;
      break;
    case ui::Buttons::YesNoCancel:
      set = B::Yes | B::No | B::Cancel;
      first = B::Yes;
      break;
    case ui::Buttons::YesNoYesToAll:
      set = B::Yes | B::No | B::YesToAll;
      first = B::Yes;
      closed = ui::ModalResult::No;
      break;
  }
  box.setStandardButtons(set);
  box.setDefaultButton(first);
  DialogCursor arrow;
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case B::Ok: return ui::ModalResult::Ok;
    case B::Cancel: return ui::ModalResult::Cancel;
    case B::Yes: return ui::ModalResult::Yes;
    case B::No: return ui::ModalResult::No;
    case B::YesToAll: return ui::ModalResult::YesToAll;
    default: return closed;
  }
}

namespace {

std::optional<std::string> RunFileDialog(bool save, const ui::FileDialogOptions& o, QWidget* parent) {
  QFileDialog dlg(parent, Q(o.title), QString::fromStdString(o.initialFolder));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The program asks itself before it overwrites a file.
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  QStringList filters;
  for (const auto& f : o.filters) filters << NameFilter(f);
  if (!filters.isEmpty()) dlg.setNameFilters(filters);
  if (!o.defaultExtension.empty()) dlg.setDefaultSuffix(Q(o.defaultExtension));
  if (!o.fileName.empty()) dlg.selectFile(Q(o.fileName));
  DialogCursor arrow;
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dlg.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.front().toStdString();
}

}  // namespace

std::optional<std::string> QtBackend::OpenFileDialog(const ui::FileDialogOptions& o) {
  if (dialogHook)
    if (auto r = dialogHook("open", o)) return *r;
  return RunFileDialog(false, o, DialogParent());
}

std::optional<std::string> QtBackend::SaveFileDialog(const ui::FileDialogOptions& o) {
  if (dialogHook)
    if (auto r = dialogHook("save", o)) return *r;
  return RunFileDialog(true, o, DialogParent());
}

std::optional<std::string> QtBackend::SelectFolder(const ui::Text& title, const std::string& start) {
  if (dialogHook) {
    ui::FileDialogOptions o;
    o.title = title;
    o.initialFolder = start;
    if (auto r = dialogHook("folder", o)) return *r;
  }
  DialogCursor arrow;
  const QString dir =
      QFileDialog::getExistingDirectory(DialogParent(), Q(title), QString::fromStdString(start));
  if (dir.isEmpty()) return std::nullopt;
  return dir.toStdString();
}

void QtBackend::CopyImage(ui::Component& component) {
  QImage image;
  QWidget* widget = nullptr;
  if (ui::Form* form = component.OwnerForm()) widget = FindWidget(*form, component.Name());
  if (component.GetKind() == ui::Kind::Chart) {
    // Drawn afresh at the widget's size, also when its tab is not showing.
    const QSize size = widget && widget->width() > 50 ? widget->size() : QSize(640, 400);
    image = ChartImage(static_cast<ui::Chart&>(component), size);
  } else if (widget) {
    image = widget->grab().toImage();
  }
  if (image.isNull()) return;
  if (copyHook)
    copyHook(image);
  else
    QGuiApplication::clipboard()->setImage(image);
}

void QtBackend::OpenUrl(const std::string& url) {
  QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

// ---- Test helpers

QImage RenderForm(ui::Form& form) {
  QtBackend* b = QtBackend::Instance();
  if (!b) return {};
  FormWindow& w = b->WindowFor(form);
  w.EnsureSized();
  w.FlushAll();
  return w.grab().toImage();
}

QWidget* FindWidget(ui::Form& form, const std::string& name) {
  QtBackend* b = QtBackend::Instance();
  if (!b) return nullptr;
  if (name == form.Name()) return b->WidgetFor(form);
  ui::Component* c = form.Find(name);
  return c ? b->WidgetFor(*c) : nullptr;
}

}  // namespace qtfront
