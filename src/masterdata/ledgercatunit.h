// The GL categories form: the administration's categories of GL accounts
// (balance sheet or profit and loss), in the order the reports show them.
//
// The form holds the whole file GLC in a grid. Select moves the current row
// out of the grid into the edit fields, Post puts the entry back in before
// the current row, Up and Down move a row, Delete drops the entry held in
// the edit fields, Save rewrites the file from the grid and closes; Cancel
// and Escape close without writing. A category that a GL account names is
// "in use": its name cannot be changed and it cannot be deleted.
//
// Each row keeps its kind as the stored code (records::kBalanceSheetKind or
// records::kProfitAndLossKind); the grid only shows it in the language of
// the radio buttons. The kind of a category in use cannot be changed
// either: it would move its accounts between the balance sheet and the
// profit and loss.
//
// Save builds every record first and writes inside the file set "GLA;GLC":
// when another copy of the program changed the category file since the
// form read it, or a GL account now names a category this Save would
// delete, rename or give another kind, nothing is written, the user is told
// why and the form keeps what was typed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formkit/helpunit.h"
#include "formkit/rowlist.h"
#include "ui/form.h"

namespace masterdata {

// Messages of the unit; the language routine sets the first five.
extern std::string CategoryNotPostedText;  // an entry is held in the edit fields
extern std::string CategoryDuplicateText;  // the name exists already
extern std::string CategoryLimitText;      // many categories (150 on), refusal at 400
extern std::string CategoryTopText;        // Up on the first row
extern std::string CategoryBottomText;     // Down on the last row
extern std::string MsgCategoryNameTooLong;
extern std::string MsgCategoryNameSemicolon;
// The marker beside a category in use.
extern const char* const CategoryInUseMarker;
// The unit's copy of the help caption block, set by the language routine.
extern formkit::HelpCaptionBlockRec LedgercategoryHelpCaptions;

// The number of rows from which every post warns, and the most the form
// accepts.
inline constexpr int kCategoryWarnRows = 150;
inline constexpr int kCategoryMaxRows = 400;
// The room of a category name in the records, in CP1252 bytes.
inline constexpr int kCategoryNameRoom = 50;

// One grid row: a category as it will be written.
struct CategoryRow {
  std::string kind;  // records::kBalanceSheetKind or kProfitAndLossKind
  std::string name;
  std::string changedBy;  // empty for a row posted since the form was shown
  std::string changedAt;
  bool operator==(const CategoryRow&) const = default;
};

// "The GL category ... is in use ...": a Save that would delete, rename or
// change the kind of a category another copy has started using meanwhile.
std::string MsgCategoryInUse(const std::string& name);

// Puts the unit's globals back as the program starts with them (messages
// in English, no help captions).
void ResetLedgercategoryState();

class TLedgercategory : public ui::Form {
 public:
  TLedgercategory();

  ui::Action Save{this, "Save"};
  ui::Action Delete{this, "Delete"};
  ui::Action Cancel{this, "Cancel"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Cancel1{&File1, "Cancel1"};
  ui::MenuItem Run1{&MainMenu1, "Run1", "&Run"};
  ui::MenuItem Select1{&Run1, "Select1", "Select"};
  ui::MenuItem Add1{&Run1, "Add1", "Add"};
  ui::MenuItem Up1{&Run1, "Up1", "Up"};
  ui::MenuItem Down1{&Run1, "Down1", "Down"};
  ui::MenuItem Delete1{&Run1, "Delete1"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "&Help"};
  ui::MenuItem BrenvackGLcategoryHelp1{&Help1, "BrenvackGLcategoryHelp1", "Brenvak GL category Help"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1", "Brenvik Help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem Brenvickhomepage1{&Help1, "Brenvickhomepage1", "Home page"};
  ui::MenuItem About1{&Help1, "About1", "About..."};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};       // Save
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};       // Delete
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};       // Cancel
  ui::ToolButton ToolButton6{&ToolBar1, "ToolButton6", "?"};  // help

  ui::Label Label2{this, "Label2", " Ledger category (Empty  Administration"};

  // The grid with the arrow buttons beside it.
  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Horizontal};
  ui::StringGrid StringGrid1{&Panel1, "StringGrid1", 4, 2};
  ui::Panel Panel2{&Panel1, "Panel2", ui::LayoutKind::Vertical};
  ui::Button Image1{&Panel2, "Image1", "Up"};
  ui::Button Image2{&Panel2, "Image2", "Down"};

  // The entry: name, kind, stamp of the selected row and the in-use marker.
  ui::Panel Panel3{this, "Panel3", ui::LayoutKind::Grid};
  ui::Label Label1{&Panel3, "Label1", "Ledgercategory caption"};
  ui::Edit Edit1{&Panel3, "Edit1"};
  ui::GroupBox RadioGroup1{&Panel3, "RadioGroup1", "Press radiobutton :", ui::LayoutKind::Horizontal};
  ui::RadioButton RadioButton1{&RadioGroup1, "RadioButton1", "Balance account"};
  ui::RadioButton RadioButton2{&RadioGroup1, "RadioButton2", "Profit and Loss account"};
  ui::Panel Panel4{&Panel3, "Panel4", ui::LayoutKind::Horizontal};
  ui::Edit Edit2{&Panel4, "Edit2"};
  ui::Edit Edit3{&Panel4, "Edit3"};
  ui::Edit Edit4{&Panel4, "Edit4"};

  // Select and Post.
  ui::Panel Panel5{this, "Panel5", ui::LayoutKind::Horizontal};
  ui::Button Image4{&Panel5, "Image4", "Select"};
  ui::Button Image3{&Panel5, "Image3", "Post"};

  ui::Panel Panel6{this, "Panel6", ui::LayoutKind::Horizontal};
  ui::Button Save2{&Panel6, "Save2"};
  ui::Button Button3{&Panel6, "Button3"};
  ui::Button Button2{&Panel6, "Button2"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void Image4Click();  // Select
  void Image3Click();  // Post
  void Image1Click();  // Up
  void Image2Click();  // Down
  void DeleteExecute();
  void SaveExecute();
  void CancelExecute();
  void Edit1Change();

  // Puts the current language's texts into the form and the unit's
  // messages.
  void ApplyLanguageTexts();

  // The categories in the grid, in grid order (grid row i + 1).
  const std::vector<CategoryRow>& Rows() const { return rows_.Rows(); }
  int CategoryRowTotal() const { return rows_.Count(); }
  // Whether an entry is held in the edit fields: a row Select took out of
  // the grid, or a name typed in.
  bool EntryHeld() const;

 private:
  // Writes the rows into the grid (one blank row when there are none).
  void ShowRows();
  // The kind as the grid shows it.
  std::string KindCaption(const std::string& kind) const;
  std::string CheckedKind() const;
  void SetSelectEnabled(bool e);
  void ClearEntryFields(ui::Color nameColour);
  void SetPostEnabled(bool e);
  void ClearStatus();
  // The kind radios and the name edit, enabled unless the entry is in use.
  void SetEntryEditable(bool e);
  // The in-use test of Save, inside its file set: every category of the
  // file as read that leaves it or changes its kind must not be named by a
  // GL account.
  bool CategoriesLeavingAreFree() const;

  // The rows, and the row Select took out while it is held in the edit
  // fields.
  formkit::RowList<CategoryRow> rows_;
  // The categories as read.
  std::vector<CategoryRow> loaded_;
  // The grid row it came from, and whether the user has chosen a row since.
  int takenFrom_ = 1;
  bool rowChosen_ = false;
};

extern TLedgercategory* Ledgercategory;

}  // namespace masterdata
