// The GL accounts form: the administration's general-ledger accounts, at
// most 400, kept in ascending byte order of the account number in the file
// GLA ("ledger.vlk").
//
// The form holds the whole file in a grid. Select moves the current row out
// of the grid into the edit fields and shows the account's balances (the
// last frozen period plus the voucher lines after it); Post checks the edit
// fields and inserts the entry at its sorted place; Delete drops the entry
// held in the edit fields; Save rewrites the file from the grid and closes;
// Cancel and Escape close without writing. While an entry is held (after
// Select, until Post or Delete) Select and Save are refused.
//
// The number of an account that is in use cannot be changed and such an
// account cannot be deleted: an account with voucher lines after the last
// frozen period, one whose start date lies in the frozen periods, the
// administration's profit-closing account and every default account of a
// customer or supplier.
//
// Each row keeps its account type, function and start amount as stored
// codes and values; the grid only shows them (the type and function in the
// language of the radio buttons and the function list, the amount as
// text), so Save never reads a code back from a caption. A field of a
// selected account that the user leaves alone goes back exactly as stored,
// even when the lists no longer offer it (a sales-tax name that was
// dropped, a category in another case, a date the pickers cannot show).
//
// Save builds every record first and writes inside the file set
// "GLA;JVO;CUS;SUP;FRZ": when another copy of the program changed the
// account file since the form read it, or started using an account that
// this Save would renumber or delete, nothing is written, the user is told
// why and the form keeps what was typed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formkit/helpunit.h"
#include "formkit/rowlist.h"
#include "ui/form.h"

namespace masterdata {

// The account-function codes stored in the records, whatever the language:
// entries 1 to 14 ("Customer group" ... "Cash discount purchase"), 0 and 15
// empty. Entry i is item i of the form's function list. The partner form
// takes its default accounts from functions 1 to 7 (customers) and 8 to 14
// (suppliers).
extern std::array<std::string, 16> AccountFunctionCodes;

// The administration settings the form works with: the book-year start
// ("YYYYMMDD") and the profit-closing account. The language routine and
// the form's activation set them from the current administration.
extern std::string LedgerBookYearStart;
extern std::string LedgerProfitAccount;

// Messages of the unit; the language routine sets them.
extern std::string LedgerNotPostedText;   // an entry is held in the edit fields
extern std::string LedgerNumberText;      // the account number is not valid
extern std::string LedgerCategoryText;    // no category chosen
extern std::string LedgerDuplicateText;   // the number exists already
extern std::string LedgerLimitText;       // 400 accounts
extern std::string LedgerTaxCodeText;     // a stored sales-tax name is unknown

// The unit's copy of the help caption block, set by the language routine.
extern formkit::HelpCaptionBlockRec LedgerHelpCaptions;

// The most accounts the file holds.
inline constexpr int kLedgerMaxAccounts = 400;
// The room of the account number in the records, in CP1252 bytes.
inline constexpr int kAccountNumberRoom = 15;
// The end date a new account gets.
inline constexpr const char* kLedgerFarEndDate = "20501231";

// One grid row: an account as it will be written.
struct LedgerRow {
  std::string number;
  std::string caption;
  char type = 'D';             // 'P', 'T', 'D' or 'C'
  std::string category;
  std::string startDate;       // "YYYYMMDD" as stored
  double startAmount = 0;
  std::string endDate;
  std::string salesTaxCode;
  bool cashOrBank = false;
  std::string changedBy;       // empty for a row posted since the form was shown
  std::string changedAt;
  std::string leadCode;
  std::string journalName;
  std::string functionCode;    // as stored: an AccountFunctionCodes entry or empty
};

// The balances Select shows for an account: the amount on the period start
// date and the actual balance, by the trial balance's rule. Without a freeze
// the period starts with the start amount; with one it starts with the net
// of the last snapshot's row (own side minus other side), or the start
// amount for an account the snapshot does not hold. When the last freeze
// closed its book year, a profit-and-loss account (category kind not
// starting with "B") with a snapshot row starts the new year at 0. The
// actual balance adds the voucher lines after the freeze (debit - credit)
// for a debit account and subtracts them for the others. The carrying rule
// is the trial balance's own (books/closing/balancerule.h).
struct BalanceFacts {
  bool freeze = false;           // the freeze file has records
  bool yearClosed = false;       // the last freeze closed its book year
  std::optional<double> frozenNet;  // the snapshot row's own - other side
  std::string categoryKind;      // the kind of the account's category
  char type = 'D';
  double startAmount = 0;
  double lineSum = 0;            // debit - credit of the lines after the freeze
};
struct AccountBalances {
  double periodStart = 0;
  double actual = 0;
  bool operator==(const AccountBalances&) const = default;
};
AccountBalances LedgerBalances(const BalanceFacts& facts);

// Whether a freeze label ("YYYY-PP/NN") closes its book year: its period
// PP equals the number of periods NN.
bool FreezeClosesBookYear(const std::string& label);

// "The account ... is in use ...": a Save that would renumber or delete an
// account another copy has started using meanwhile.
std::string MsgAccountInUse(const std::string& number);

// Puts the unit's globals back as the program starts with them (messages
// in English, the function codes, no administration settings, no help
// captions).
void ResetLedgerState();

// The type code of a stored type text: its first letter, ignoring case, "P",
// "T" or "D"; anything else is a credit account ('C').
char LedgerTypeCode(const std::string& storedType);
// The index (1 to 14) of a stored function code in AccountFunctionCodes; 0
// for an empty or unknown code.
int AccountFunctionIndex(const std::string& code);
// Why an account number typed for a new or renumbered account cannot be
// taken: it is longer than the record holds, ends in a blank, holds "{" or
// ";" (they split references and the exported files), or starts with "#".
// Empty, or a leading blank, is checked by Post itself.
bool AccountNumberAcceptable(const std::string& number);

class TLedger : public ui::Form {
 public:
  TLedger();

  // Grid columns.
  enum Column {
    ColNumber, ColCaption, ColType, ColCategory, ColStartDate, ColStartAmount, ColEndDate, ColSalesTax,
    ColCashOrBank, ColChangedBy, ColChangedAt, ColLeadCode, ColJournalName, ColFunction, ColumnCount
  };

  ui::Action Select{this, "Select"};
  ui::Action Add{this, "Add"};
  ui::Action Delete{this, "delete"};
  ui::Action Save{this, "save"};
  ui::Action Cancel{this, "cancel"};

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Cancel1{&File1, "Cancel1"};
  ui::MenuItem Actions1{&MainMenu1, "Actions1"};
  ui::MenuItem SelectUp1{&Actions1, "SelectUp1"};
  ui::MenuItem PostDown1{&Actions1, "PostDown1"};
  ui::MenuItem Delete1{&Actions1, "Delete1"};
  ui::MenuItem Help1{&MainMenu1, "Help1"};
  ui::MenuItem GLAccountformHelp1{&Help1, "GLAccountformHelp1"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1"};
  ui::MenuItem Tutorial1{&Help1, "Tutorial1", "Tutorial"};
  ui::MenuItem BrenvickHomepage1{&Help1, "BrenvickHomepage1"};
  ui::MenuItem About1{&Help1, "About1"};

  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};  // Select
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};  // Post
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};  // Delete
  ui::ToolButton ToolButton4{&ToolBar1, "ToolButton4"};  // Save
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5"};  // Cancel
  ui::ToolButton ToolButton9{&ToolBar1, "ToolButton9", "Help"};

  ui::Label Label6{this, "Label6"};

  ui::StringGrid StringGrid1{this, "StringGrid1", ColumnCount, 2};

  // Select (up out of the grid) and Post (down into it).
  ui::Panel Panel3{this, "Panel3", ui::LayoutKind::Horizontal};
  ui::Button SelectImage{&Panel3, "SelectImage"};
  ui::Button PostImage{&Panel3, "PostImage"};

  // The entry.
  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label1{&Panel1, "Label1"};
  ui::Edit MaskEdit1{&Panel1, "MaskEdit1"};
  ui::Label Label8{&Panel1, "Label8"};
  ui::Edit Edit5{&Panel1, "Edit5"};
  ui::Label Label3{&Panel1, "Label3"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1"};
  ui::Label LabelType{&Panel1, "LabelType", "D/C"};
  ui::Panel Panel4{&Panel1, "Panel4", ui::LayoutKind::Horizontal};
  ui::RadioButton RadioButton1{&Panel4, "RadioButton1"};
  ui::RadioButton RadioButton2{&Panel4, "RadioButton2"};
  ui::RadioButton RadioButton3{&Panel4, "RadioButton3"};
  ui::RadioButton RadioButton4{&Panel4, "RadioButton4"};
  ui::Label Label9{&Panel1, "Label9"};
  ui::DatePicker DateTimePicker1{&Panel1, "DateTimePicker1"};
  ui::Label Label10{&Panel1, "Label10"};
  ui::DatePicker DateTimePicker2{&Panel1, "DateTimePicker2"};
  ui::Label Label2{&Panel1, "Label2"};
  ui::Edit MaskEdit2{&Panel1, "MaskEdit2"};
  ui::Label Label7{&Panel1, "Label7"};
  ui::ComboBox ComboBox2{&Panel1, "ComboBox2"};
  ui::Label Label12{&Panel1, "Label12"};
  ui::ComboBox ComboBox3{&Panel1, "ComboBox3"};
  ui::CheckBox CheckBox1{&Panel1, "CheckBox1"};
  ui::Panel Panel5{&Panel1, "Panel5", ui::LayoutKind::Horizontal};
  ui::Label Label11{&Panel5, "Label11"};
  ui::Edit Edit7{&Panel5, "Edit7"};
  ui::Label Label4{&Panel1, "Label4"};
  ui::Edit Edit1{&Panel1, "Edit1"};
  ui::Label Label5{&Panel1, "Label5"};
  ui::Edit Edit2{&Panel1, "Edit2"};
  ui::Label Label13{&Panel1, "Label13", "Changed by"};
  ui::Edit Edit3{&Panel1, "Edit3"};
  ui::Label Label14{&Panel1, "Label14", "Changed at"};
  ui::Edit Edit4{&Panel1, "Edit4"};
  // Last in the grid: the lead code is never shown, so it takes no cell
  // that the fields after it would need.
  ui::Edit Edit6{&Panel1, "Edit6"};  // lead code, carried unseen

  ui::Memo Memo1{this, "Memo1"};

  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Horizontal};
  ui::Button Button1{&Panel2, "Button1"};  // Save
  ui::Button Button3{&Panel2, "Button3"};  // Delete
  ui::Button Button2{&Panel2, "Button2"};  // Cancel

  ui::StatusBar StatusBar1{this, "StatusBar1"};

  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void SelectExecute();
  void AddExecute();  // Post
  void deleteExecute();
  void saveExecute();
  void cancelExecute();
  void MaskEdit1Change();
  void CheckBox1Click();
  void ComboBox1Exit();
  void ComboBox2Exit();
  void ComboBox3Exit();
  void MaskEdit2Change();
  void MaskEdit2Enter();
  void MaskEdit2Click();
  void MaskEdit2Exit();
  void DateTimePicker1Change();

  // The Profit radio button is enabled only while no row is a profit
  // account, the Transfer radio button only while no row is a transfer
  // account.
  void UpdateSingletonTypeButtons();
  // The date pickers' limits and dates for a new account, from the last
  // frozen period (FRZ must be in the open set), and Delete enabled.
  void ResetLedgerDateLimits();

  // Puts the current language's texts into the form and the unit's
  // messages, and takes the administration settings the form works with.
  void ApplyLanguageTexts();

  // The accounts in the grid, in grid order (grid row i + 1).
  const std::vector<LedgerRow>& Rows() const { return rows_.Rows(); }
  int LedgerRowTotal() const { return rows_.Count(); }
  // Whether Select has taken a row out of the grid into the edit fields
  // (until Post or Delete).
  bool EntryHeld() const { return rows_.Held(); }

  // Amount editing state.
  bool StartAmountSkipFilter = false;
  bool StartAmountFocused = false;
  double StartAmountFocusTime = 0;

 private:
  // Writes grid rows `from`.. from the model, blanks the rest, sets the
  // row count (one blank row when there are none).
  void ShowRows(int from = 1);
  void ShowRow(int gridRow);
  std::string TypeCaption(char type) const;
  std::string FunctionCaption(const std::string& code) const;
  char CheckedType() const;
  void CheckType(char type);
  // The function list's index for the text in it: the selected item while
  // its text still matches, else the first item equal ignoring case; -1
  // when none is.
  int FunctionListIndex() const;
  // Replaces a list field's text by the matching item's own text, or
  // empties it.
  static void CheckListField(ui::ComboBox& box);
  // Every entry field empty, Debit checked, the number and amount editable.
  void ClearEntry();
  // The form's own texts from the current language (captions, headings,
  // the function list); the constructor starts with them.
  void ApplyFormTexts();
  void SetStartAmountText(const std::string& text);
  // Reformats the start amount as on leaving its edit; false when it is no
  // amount (the text stays as it is).
  bool ReformatStartAmount();
  void UpdateSaveEnabled();
  void SetSelectImageEnabled();
  // The list field's text checked as on leaving it, unless it still holds
  // `stored`, the held account's own value.
  static void CheckListFieldKeeping(ui::ComboBox& box, const std::string* stored);
  const std::string* HeldValue(std::string LedgerRow::*field) const;
  // The in-use test of Save, inside its file set: every account of the
  // file as read that leaves it (renumbered or deleted) must still be free.
  bool AccountsLeavingAreFree();

  formkit::RowList<LedgerRow> rows_;
  // The numbers of the accounts as read, with their rows.
  std::vector<LedgerRow> loaded_;
  // The category names and kinds as read.
  std::vector<std::pair<std::string, std::string>> categories_;
  // The amount text the held row was shown with.
  std::string heldAmountText_;
  // Whether the user changed a date picker since the entry was selected.
  bool startDateTouched_ = false, endDateTouched_ = false;
  // The latest start date the start picker takes (the earliest voucher line
  // of the selected account); the picker itself knows only a minimum.
  std::optional<double> startDateMax_;
};

extern TLedger* Ledger;

}  // namespace masterdata
