// The administrations form: the list of administrations (the books of one
// company each) in "admin.vlk" of the data root, and their data folders,
// one folder below the root per administration, named after its short name.
//
// The form reads the whole file into its rows (the file order is the list
// order, which the log-in's administration box follows); the grid only shows
// them. Select takes the current row out into the edit fields, Add puts the
// fields back in at the current row, Up and Down move a row, Delete drops
// what the edit fields hold, Save writes the rows back as the whole file,
// creates the data folder of every administration added since the list was
// read, and closes the form; Cancel and Escape read the list again and close
// without writing. Short names equal but for case are refused: where the
// file system ignores case they would share one data folder.
//
// Save first builds every record; then, inside its own file set, it checks
// that the file still holds what the form read (else another copy changed
// it: nothing is written and the rows stay), creates every new folder, and
// only when all of them exist is "admin.vlk" replaced, whole, through a
// temporary file. A folder that cannot be created is reported and nothing
// is written. A row read from the file is written back byte for byte.
//
// The form also holds the copy panel (copying the data files of one
// administration into another, books/administration/admincopy.h): Prepare copy saves
// the list and opens it, Start copies; ResetCopyPanel closes it. The status
// bar names the administrations into which a copy did not finish. The two
// choices' items are "short name | name" of the rows, and the folders come
// from the chosen rows' short names, never from the text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formkit/helpunit.h"
#include "formkit/rowlist.h"
#include "records/administrationrec.h"
#include "ui/form.h"

namespace masterdata {

// Messages of the unit; the language routine sets the first five.
extern std::string MsgAdministrationEntryPending;  // an entry is held in the edit fields
extern std::string MsgShortNameExists;             // the short name is in the list already
// The short name is in the list already in other upper and lower case.
extern std::string MsgShortNameExistsInOtherCase;
extern std::string MsgShortNameEmpty;              // the short name is empty
extern std::string MsgAdministrationFirstRow;      // Up on the first row
extern std::string MsgAdministrationLastRow;       // Down on the last row
// The short name cannot name a folder.
extern std::string MsgShortNameNotAFolderName;
// A data folder could not be created (followed by the folder and the
// operating system's text).
extern std::string MsgFolderNotCreated;
// Texts of the copy: the overwrite question and its caption, the completion
// message and its caption.
extern std::string MsgCopyOverwriteQuestion;
extern std::string MsgCopyOverwriteCaption;
extern std::string MsgCopyDoneText;
extern std::string MsgCopyDoneCaption;
// The program's own texts of the copy (BuiltInText): the question before a
// general-ledger copy empties files of the target (followed by their
// names), the refusal of an administration not yet in this version's
// layouts (followed by its name), the refusal to copy into the
// administration logged in to, and the stop at a file (followed by the
// file, the system's text and the files copied).
extern std::string MsgCopyEmptiesFiles;
extern std::string MsgCopyLogInFirst;
extern std::string MsgCopyIntoLoggedIn;
extern std::string MsgCopyStopped;
extern std::string MsgCopyFilesCopied;

// The overwrite prompt's last answer ("yes", "no", "yestoall"), empty at
// the start of each copy run; the target file the prompt names.
extern std::string CopyAnswer;
extern std::string CopyFileTarget;

// True only while the copy preparation saves the list (the form then stays
// open).
extern bool CalledFromPrepareCopy;
// The unit's record buffer: the last record read.
extern records::AdministrationRec AdministrationBuffer;
// The unit's copy of the texts the help form shows, set by the language
// routine.
extern formkit::HelpCaptionBlockRec AdministrationsHelpCaptionBlock;

// The unit state above as a new program has it.
void ResetAdministrationsState();

// One administration as the form holds it: the record as stored (read from
// the file, or built by Add without its creation stamp), and whether it was
// added since the list was read (Save then stamps it and makes its folder).
struct AdministrationRow {
  records::AdministrationRec rec;
  bool added = false;
};

// The room of the record's texts, in CP1252 bytes.
inline constexpr int kShortNameRoom = 10;
inline constexpr int kAdministrationNameRoom = 30;
inline constexpr int kAdministrationMemoRoom = 200;

// Whether `shortName` (CP1252, as stored) can name a data folder below the
// root: not empty, not "." or "..", no "/" or "\", no control character
// (0x00 to 0x1F, 0x7F, and the bytes that stand for the C1 controls).
bool IsUsableShortName(std::string_view shortName);

// The data folder of the administration `shortName`: the data root (the
// working folder while no root is set) + the short name + "/".
std::string AdministrationFolder(std::string_view shortName);

class TAdministrations : public ui::Form {
 public:
  enum Column { ColShortName, ColName, ColMemo, ColCreatedBy, ColCreatedAt, ColumnCount };
  // The grid shows at least this many rows (the heading included) and grows
  // so that one empty row always follows the last administration.
  static constexpr int kMinGridRows = 50;

  TAdministrations();

  ui::Action Save{this, "Save"};
  ui::Action Delete{this, "Delete"};
  ui::Action Cancel{this, "Cancel"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "File"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Cancel1{&File1, "Cancel1"};
  ui::MenuItem Actions1{&MainMenu1, "Actions1", "Actions"};
  ui::MenuItem Selectleft1{&Actions1, "Selectleft1", "Select"};
  ui::MenuItem Postright1{&Actions1, "Postright1", "Add"};
  ui::MenuItem Delete1{&Actions1, "Delete1"};
  ui::MenuItem Preparecopy1{&Actions1, "Preparecopy1", "Prepare copy"};
  ui::MenuItem Startcopyproces1{&Actions1, "Startcopyproces1", "Start copy process"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "Help"};
  ui::MenuItem BrenvickAdministrationshelp1{&Help1, "BrenvickAdministrationshelp1", "Brenvik Administrations help"};
  ui::MenuItem Brenvickhelp1{&Help1, "Brenvickhelp1", "Brenvik help"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem Brenvickhomepage1{&Help1, "Brenvickhomepage1", "Brenvik home page"};
  ui::MenuItem About1{&Help1, "About1", "About..."};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1", "Select"};
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2", "Add"};
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};
  ui::ToolButton ToolButton4{&ToolBar1, "ToolButton4"};
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5"};
  ui::ToolButton ToolButton7{&ToolBar1, "ToolButton7", "Help"};

  ui::Label Label7{this, "Label7", " Administrations"};

  ui::Panel Body{this, "Body", ui::LayoutKind::Horizontal};
  // The entry: a label beside each edit.
  ui::Panel EntryPanel{&Body, "EntryPanel", ui::LayoutKind::Grid};
  ui::Label Label4{&EntryPanel, "Label4", "Short name"};
  ui::Edit Edit1{&EntryPanel, "Edit1"};
  ui::Label Label5{&EntryPanel, "Label5", "Administration name"};
  ui::Edit Edit2{&EntryPanel, "Edit2"};
  ui::Label Label6{&EntryPanel, "Label6", "Memo"};
  ui::Edit Edit3{&EntryPanel, "Edit3"};
  ui::Label Label1{&EntryPanel, "Label1", "Created by"};
  ui::Edit Edit4{&EntryPanel, "Edit4"};
  ui::Label Label2{&EntryPanel, "Label2", "Created at"};
  ui::Edit Edit5{&EntryPanel, "Edit5"};
  // Between the fields and the list: take the current row out into the
  // fields, put the fields in, move the current row.
  ui::Panel MovePanel{&Body, "MovePanel"};
  ui::Button Image4{&MovePanel, "Image4", "Select"};
  ui::Button Image3{&MovePanel, "Image3", "Add"};
  ui::Button Image1{&MovePanel, "Image1", "Up"};
  ui::Button Image2{&MovePanel, "Image2", "Down"};
  ui::Panel ListPanel{&Body, "ListPanel"};
  ui::Label Label3{&ListPanel, "Label3", "Combobox sort order :"};
  ui::StringGrid StringGrid1{&ListPanel, "StringGrid1", ColumnCount, kMinGridRows};

  ui::Panel ButtonPanel{this, "ButtonPanel", ui::LayoutKind::Horizontal};
  ui::Button Save2{&ButtonPanel, "Save2"};
  ui::Button Button3{&ButtonPanel, "Button3"};
  ui::Button Button2{&ButtonPanel, "Button2"};
  ui::Button Button1{&ButtonPanel, "Button1", "Prepare copy"};

  // The copy panel, hidden until a copy is prepared.
  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Grid};
  ui::Label Label8{&Panel2, "Label8", "Copy from:"};
  ui::ComboBox ComboBox1{&Panel2, "ComboBox1"};
  ui::Label Label9{&Panel2, "Label9", "Copy to:"};
  ui::ComboBox ComboBox2{&Panel2, "ComboBox2"};
  ui::RadioGroup RadioGroup1{&Panel2, "RadioGroup1", "Select content to copy :"};
  ui::Label Label10{&Panel2, "Label10", "First date"};
  ui::DatePicker DateTimePicker1{&Panel2, "DateTimePicker1"};
  ui::Button Button4{&Panel2, "Button4", "Start copy process"};
  ui::Button Button6{&Panel2, "Button6", "Cancel"};
  // Asks whether a file of the target may be overwritten; never shown.
  ui::Button Button5{&Panel2, "Button5"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  // The number of administration rows in the grid (rows 1 to
  // AdministrationCount).
  std::int32_t AdministrationCount = 0;
  // The row at which the last addition was inserted.
  std::int32_t InsertRow = 1;
  // The text last put into panel 0 of the status bar.
  std::string StatusText;

  void FormCreate();
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void FormKeyPress(char& key);
  // Fills the grid from the administrations file.
  void LoadAdministrationList();
  void Image4Click();  // Select
  void Image3Click();  // Add
  void Image1Click();  // row up
  void Image2Click();  // row down
  void SaveExecute();
  void DeleteExecute();
  void CancelExecute();
  void Edit1Change();
  void BrenvickAdministrationshelp1Click();
  // Closes the copy panel.
  void ResetCopyPanel();
  void Button6Click();
  // Prepare copy: saves the list (the form stays open) and opens the copy
  // panel with the administrations as "from" and "to" items.
  void Button1Click();
  // Start copy: copies as the panel says (books::administration::CopyAdministration).
  void Button4Click();
  // The overwrite prompt: Yes, No, Yes to all into CopyAnswer; a dialog
  // closed otherwise leaves it as it was.
  void Button5Click();
  // A typed choice becomes the item it equals ignoring case, else the
  // first item; Start is enabled only for two different administrations.
  void ComboBox1Exit();
  void ComboBox2Exit();
  // The first date shows for the general-ledger copy only.
  void RadioGroup1Click();

  // The save of the list: false when nothing was written (an entry held in
  // the edit fields, the file set not opened, a folder not created). The
  // form closes after a save unless CalledFromPrepareCopy.
  bool SaveAdministrationList();

  // Puts the texts of the current language into the form and the unit.
  void ApplyLanguageTexts();
  // The status bar names the administrations whose folder a copy left
  // unfinished (books/administration/admincopy.h); nothing when there is none.
  // Run at every activation and after every copy.
  void ShowUnfinishedCopies();

 private:
  void ShowStatus(const std::string& text, ui::Color color);
  void ClearStatus();
  void ClearEditFields();
  bool EntryHeld() const;
  // The refusal text when `shortName` is in the list (or the heading)
  // already, exactly or in other capitals; nullopt when it is free.
  std::optional<std::string> ShortNameTaken(const std::string& shortName) const;
  // Shows the rows in the grid, empties the grid rows after them and sets
  // AdministrationCount.
  void ShowRows();
  void FollowSaveState();
  // The copy panel's choice `box` kept to one of its items; then the start
  // button follows.
  void KeepCopyChoice(ui::ComboBox& box);
  void FollowCopyChoices();
  // The short name of the row a copy choice names.
  std::string ChosenShortName(const ui::ComboBox& box) const;

 public:
  // The administrations as the form holds them, in list order.
  const formkit::RowList<AdministrationRow>& Rows() const { return rows_; }

 private:
  formkit::RowList<AdministrationRow> rows_;
  // The last load read the whole file (a Save never replaces a file the form
  // could not read).
  bool loadedWhole_ = false;
};

extern TAdministrations* Administrations;

// The list of the administrations form (the start screen calls it before
// it fills its log-in choice).
void LoadAdministrationList();

}  // namespace masterdata
