// Users: the user-file routines of the log-in and the password change, the
// built-in user SYSTEM, and the users form, on which a system administrator
// adds, changes and removes users.
//
// The form reads the whole user file into its rows when it is shown (the
// grid only shows them); Select ("Up") takes a row out into the edit fields,
// Add ("Down") checks the fields and inserts them in user-id order, Delete
// drops what the edit fields hold, and Save writes the rows back as the
// whole file and closes the form. Changing a user therefore means selecting,
// editing and adding it back, always with a new password. Until Save every
// change lives in the rows only; a row read from the file is written back
// byte for byte, and Save refuses when another copy of the program changed
// the file since the form read it (a password changed there must not come
// back old).
//
// A user file that is not empty but holds less than one whole record is
// damaged: the creation handler reports it and writes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formkit/helpunit.h"
#include "formkit/rowlist.h"
#include "records/userrec.h"
#include "ui/form.h"

namespace systemforms {

// The built-in user, written into an empty user file, and its first password.
inline constexpr std::string_view kSystemUserId = "SYSTEM";
inline constexpr std::string_view kDefaultPassword = "kestal";
extern const std::string BuiltInUserMemo;

// The number of records of the user file; 0, after a message box with
// FileErrorText, when the file cannot be opened.
int CountUsers();
// Reads the user file from its first record until one has the UserId that
// Rec holds (exact bytes); then Found = 1 and Rec is that record. When no
// record matches, Found = 0 and Rec holds the last record of the file (as it
// was for an empty file). A file that cannot be opened gives a message box
// with FileErrorText and Found = 0.
void FindUser(std::uint8_t& Found, records::UserRec& Rec);
// Within a set that holds USE: stamps Rec.ChangedBy with the current user
// and writes Rec over the first record with Rec's UserId, searching from the
// first record; Found = 1 when there was one.
void UpdateUser(std::uint8_t& Found, records::UserRec& Rec);

// Unit state of the users form.
// The number of user rows in the grid (rows 1 to UserCount).
extern int UserCount;
// How the grid shows a right that is set and one that is not.
extern std::string YesMark, NoMark;
// Messages of the form.
extern std::string MsgUserIdTooShort;
extern std::string MsgPasswordTooShort;
extern std::string MsgPasswordsDiffer;
extern std::string MsgNoPassword;
extern std::string MsgSystemCannotBeDeleted;
extern std::string MsgEntryPending;
extern std::string MsgUserIdExists;
// Follows a field's label to say that the field must be filled in.
extern std::string MsgRequiredSuffix;
// The unit's copy of the texts the help form shows.
extern formkit::HelpCaptionBlockRec UsersHelpCaptionBlock;

// The unit state above as a new program has it.
void ResetUsersState();

// The room of the memo, in characters.
inline constexpr int kUserMemoRoom = 200;

// One user as the form holds it: the record as stored (read from the file,
// or built by Add), and for a user added since the form was shown the new
// password, from which Save makes the salt and checksum.
struct UserRow {
  records::UserRec rec;
  bool added = false;
  std::string newPassword;
};

class TUsers : public ui::Form {
 public:
  // Grid columns.
  enum Column {
    ColUserId, ColUserName, ColEndUser, ColEndUserManager, ColSystemAdministrator,
    ColMemo, ColChangedBy, ColPasswordSetAt,
    // Hidden: the stored checksum in decimal, or the new password of a user
    // added since the form was shown (its set-at column is then empty).
    ColChecksum,
    ColumnCount
  };
  // The grid shows at least this many rows (the heading included) and always
  // one empty row after the last user.
  static constexpr int kMinGridRows = 20;

  TUsers();

  ui::Action Save{this, "Save"};
  ui::Action Select{this, "Select"};
  ui::Action Add{this, "Add"};
  ui::Action Delete{this, "Delete"};
  ui::Action Cancel{this, "Cancel"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "File"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Cancel1{&File1, "Cancel1"};
  ui::MenuItem Run1{&MainMenu1, "Run1", "Actions"};
  ui::MenuItem Up1{&Run1, "Up1"};
  ui::MenuItem Down1{&Run1, "Down1"};
  ui::MenuItem Delete1{&Run1, "Delete1"};
  ui::MenuItem Help1{&MainMenu1, "Help1", "Help"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1", "Brenvik help"};
  ui::MenuItem BrenvickUsersHelp1{&Help1, "BrenvickUsersHelp1", "Users help"};
  ui::MenuItem Tutorial1{&Help1, "Tutorial1", "Tutorial"};
  ui::MenuItem About1{&Help1, "About1", "About..."};
  ui::MenuItem Brenvickhomepage1{&Help1, "Brenvickhomepage1", "Brenvik home page"};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3", "Help"};

  ui::Label Label2{this, "Label2", " Users"};
  ui::StringGrid StringGrid1{this, "StringGrid1", ColumnCount, kMinGridRows};

  // Between the grid and the edit fields: take the current row up into the
  // fields, put the fields down into the grid.
  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Horizontal};
  ui::Button Image1{&Panel2, "Image1"};
  ui::Button Image2{&Panel2, "Image2"};

  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Grid};
  ui::Label Userid{&Panel1, "Userid", "User id"};
  ui::Edit Edit1{&Panel1, "Edit1"};
  ui::Label Username{&Panel1, "Username", "User name"};
  ui::Edit Edit2{&Panel1, "Edit2"};
  ui::Label Label1{&Panel1, "Label1", "User rights"};
  ui::Panel Panel3{&Panel1, "Panel3", ui::LayoutKind::Horizontal};
  ui::CheckBox CheckBox1{&Panel3, "CheckBox1", "End user [1]"};
  ui::CheckBox CheckBox2{&Panel3, "CheckBox2", "End-user manager [2]"};
  ui::CheckBox CheckBox3{&Panel3, "CheckBox3", "System administrator [3]"};
  ui::Label Label7{&Panel1, "Label7", "Memo"};
  ui::Memo Memo2{&Panel1, "Memo2"};
  ui::Label Label5{&Panel1, "Label5", "Changed by"};
  ui::Edit Edit3{&Panel1, "Edit3"};
  ui::Label Label6{&Panel1, "Label6", "Password set at"};
  ui::Edit Edit4{&Panel1, "Edit4"};
  ui::Label Label3{&Panel1, "Label3", "New password"};
  ui::Edit Edit5{&Panel1, "Edit5"};
  ui::Label Label4{&Panel1, "Label4", "Repeat password"};
  ui::Edit Edit6{&Panel1, "Edit6"};

  ui::Panel Panel4{this, "Panel4", ui::LayoutKind::Horizontal};
  ui::Button Button1{&Panel4, "Button1"};
  ui::Button Button2{&Panel4, "Button2"};
  ui::Button Button3{&Panel4, "Button3"};

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormCreate();
  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void SelectExecute();
  void AddExecute();
  void DeleteExecute();
  void SaveExecute();
  void CancelExecute();
  void Edit1Exit();
  void Edit5Exit();
  void Edit6Exit();

  // Puts the texts of the current language into the form and the unit.
  void ApplyLanguageTexts();

 private:
  void ShowStatus(const std::string& text, ui::Color color);
  void ClearStatus();
  // The id and name edits and the rights as for any user (SYSTEM locks
  // them while it is held in the fields).
  void UnlockEntryFields();
  void ClearEditFields();
  // Shows rows from/after `from` (0-based) in the grid and empties the grid
  // rows after the last user.
  void ShowRows(int from = 0);
  void ShowRow(int index);

 public:
  // The users as the form holds them, in grid order.
  const formkit::RowList<UserRow>& Rows() const { return rows_; }

 private:
  formkit::RowList<UserRow> rows_;
  // The last activation read the whole file.
  bool loadedWhole_ = false;
};

extern TUsers* Users;

}  // namespace systemforms
