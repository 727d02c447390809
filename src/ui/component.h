// The component model: forms and their components as plain C++ objects.
//
// A form is a class that owns its components as members; each component is
// constructed with its parent container and its name, so that declaring the
// members declares the component tree (children keep their declaration
// order). A form's handlers are member functions bound to the components'
// events in the form's constructor. The model knows nothing of any GUI
// toolkit: a front end attaches a ViewPeer to each component it renders and
// is told through it when the model changes; the front end reports what the
// user did through the User... entry points, which run inside the event
// boundary (ui/application.h).
//
// Texts in the model are byte strings in code page 1252, as the record files
// hold them; the front end converts at its boundary.
//
// Event semantics (docs/ARCHITECTURE.md):
// - Edit and Memo: OnChange fires whenever the text changes, by the user or
//   by the program; setting the text it already has fires nothing.
// - CheckBox, RadioButton and RadioGroup: OnClick fires whenever the state
//   changes, by the user or by the program.
// - ComboBox, DatePicker, TabControl: OnChange (and OnSelect) fire on user
//   action only.
// - Setting the focus, by the user or by the program, fires OnExit of the
//   control that had it and then OnEnter of the new one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// A text as the program holds it: code page 1252 bytes.
using Text = std::string;

// A colour; `system` marks the toolkit's own default for the component.
struct Color {
  uint8_t r = 0, g = 0, b = 0;
  bool system = true;
  static constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) { return Color{r, g, b, false}; }
  bool operator==(const Color&) const = default;
};

namespace colors {
inline constexpr Color Default{};
inline constexpr Color Red = Color::Rgb(255, 0, 0);
inline constexpr Color Yellow = Color::Rgb(255, 255, 0);
inline constexpr Color Lime = Color::Rgb(0, 255, 0);
inline constexpr Color Green = Color::Rgb(0, 128, 0);
inline constexpr Color White = Color::Rgb(255, 255, 255);
inline constexpr Color Black = Color::Rgb(0, 0, 0);
inline constexpr Color Cream = Color::Rgb(255, 251, 240);
inline constexpr Color SkyBlue = Color::Rgb(166, 202, 240);
inline constexpr Color BtnFace = Color::Rgb(240, 240, 240);
inline constexpr Color Navy = Color::Rgb(0, 0, 128);
}  // namespace colors

// Virtual key codes, as the handlers test them.
namespace keys {
inline constexpr uint16_t Tab = 9;
inline constexpr uint16_t Return = 13;
inline constexpr uint16_t Escape = 27;
inline constexpr uint16_t Up = 38;
inline constexpr uint16_t Down = 40;
inline constexpr uint16_t F1 = 112;
}  // namespace keys

enum ShiftState : unsigned { ShiftNone = 0, ShiftShift = 1, ShiftCtrl = 2, ShiftAlt = 4 };

enum class Kind {
  Form,
  Label,
  Edit,
  Memo,
  Button,
  CheckBox,
  RadioButton,
  RadioGroup,
  Panel,
  GroupBox,
  ComboBox,
  StringGrid,
  TreeView,
  TabControl,
  DatePicker,
  CheckListBox,
  StatusBar,
  MainMenu,
  MenuItem,
  ToolBar,
  ToolButton,
  RichEdit,
  ProgressBar,
  Chart,
  ListBox,  // ui/listbox.h
};

using Event = std::function<void()>;
using KeyEvent = std::function<void(uint16_t& key, unsigned shift)>;
using KeyPressEvent = std::function<void(char& key)>;

// The front end's counterpart of one component. Sync() is called after the
// model changed a property; the peer then reads the model again.
class ViewPeer {
 public:
  virtual ~ViewPeer() = default;
  virtual void Sync() = 0;
  // The component is being destroyed: the peer must not touch it again.
  virtual void ComponentDestroyed() {}
};

// How a container arranges its children; the front end renders it.
enum class LayoutKind { Vertical, Horizontal, Grid };

// What a component asks of its container's layout. Sizes are in pixels at
// the standard font; 0 means "the toolkit decides".
struct LayoutHints {
  int stretch = 0;      // share of spare room along the container's direction
  int width = 0;        // fixed width
  int height = 0;       // fixed height
  int minWidth = 0;
  int colSpan = 1;      // grid layouts: columns taken
  bool newRow = false;  // grid layouts: start a new row before this one
  int column = -1;      // grid layouts: the column it starts in (a new row when this one is past it)
};

class Container;
class Form;

class Component {
 public:
  Component(Container* parent, std::string name, Kind kind);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }
  Kind GetKind() const { return kind_; }
  Container* Parent() const { return parent_; }
  // The form this component belongs to (itself for a form).
  Form* OwnerForm() const;

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  // Visible and enabled here and in every container above.
  bool Reachable() const;
  const Text& Hint() const { return hint_; }
  void SetHint(const Text& h);

  // Moves the focus here: OnExit of the control that had it, then OnEnter.
  void SetFocus();
  bool Focused() const;

  Event OnEnter, OnExit, OnClick, OnDblClick;
  KeyEvent OnKeyDown;
  KeyPressEvent OnKeyPress;

  LayoutHints hints;

  // Front end. A peer that goes away must detach itself.
  void AttachPeer(ViewPeer* p) { peer_ = p; }
  ViewPeer* Peer() const { return peer_; }

  // What the user did, reported by the front end (or a test). Each runs in
  // the event boundary.
  void UserClick();
  void UserDblClick();
  void UserFocus();

 protected:
  void Changed() const;
  virtual void DoUserClick();

 private:
  std::string name_;
  Kind kind_;
  Container* parent_;
  bool visible_ = true;
  bool enabled_ = true;
  Text hint_;
  ViewPeer* peer_ = nullptr;
};

class Container : public Component {
 public:
  Container(Container* parent, std::string name, Kind kind) : Component(parent, std::move(name), kind) {}
  const std::vector<Component*>& Children() const { return children_; }
  // Finds a component by name in this container's subtree.
  Component* Find(const std::string& name) const;

  LayoutKind layout = LayoutKind::Vertical;
  int gridColumns = 2;

 private:
  friend class Component;
  std::vector<Component*> children_;
};

}  // namespace ui
