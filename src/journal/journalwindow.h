// The journal form's window: the actions, the menus, the tool bar, the
// invoice kind and cash account above the tabs, the tab control and the
// voucher tab's components (journalwindow.cpp). `Tboeking` is this window
// with its pages, its status bar, its handlers and its state; the window
// only declares the components, in the order the form has always had them,
// each with its own name, so that the front end and the tests find them.
#pragma once

#include <array>

#include "books/journal/entryrules.h"
#include "ui/form.h"

namespace journal {

// One entry line: text, account number, account caption, cost centre (a
// hidden column), debit and credit, named Edit<line><column>.
struct EntryLine {
  EntryLine(ui::Container* panel, int line);
  ui::Edit Text, Number, Caption, CostCentre, Debit, Credit;
  // Column 1..6.
  ui::Edit& Field(int column);
  const ui::Edit& Field(int column) const;
};

class JournalWindow : public ui::Form {
 public:
  // ---- actions
  ui::Action Opslaan{this, "Opslaan"};                 // Save (Button5, Save1)
  ui::Action Verwijderen{this, "Verwijderen"};         // Delete
  ui::Action annuleren{this, "annuleren"};             // New
  ui::Action leesvorigrecord{this, "leesvorigrecord"};  // previous voucher
  ui::Action leesvolgendrecord{this, "leesvolgendrecord"};
  ui::Action leeslaatsterecord{this, "leeslaatsterecord"};
  ui::Action sjabloonbeheer{this, "sjabloonbeheer"};   // template management
  ui::Action sjabloonannuleren{this, "sjabloonannuleren"};
  ui::Action sjabloonopslaan{this, "sjabloonopslaan"};
  ui::Action sjabloonverwijderen{this, "sjabloonverwijderen"};
  // The document tabs' actions, each shared by its button and menu item.
  ui::Action zoekpartner{this, "zoekpartner"};        // invoice partner search
  ui::Action aanroeppartner{this, "aanroeppartner"};  // new partner
  ui::Action ophalenfacturen{this, "ophalenfacturen"};  // open invoices of the payment's partner
  ui::Action nieuwefactuur{this, "nieuwefactuur"};    // the invoice tab
  ui::Action AddInvoice{this, "AddInvoice"};          // Button9
  ui::Action DeleteInvoice{this, "DeleteInvoice"};    // Button19, Delete2
  ui::Action SelectInvoiceRow{this, "SelectInvoiceRow"};  // Button13
  ui::Action SelectPartnerRow{this, "SelectPartnerRow"};  // Button11
  ui::Action AddPayment{this, "AddPayment"};          // Button15
  ui::Action DeletePayment{this, "DeletePayment"};    // Button21
  ui::Action SelectPaymentRow{this, "SelectPaymentRow"};  // Button17

  // ---- menus
  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1"};
  ui::MenuItem New1{&File1, "New1"};
  ui::MenuItem Save1{&File1, "Save1"};
  ui::MenuItem Delete1{&File1, "Delete1"};
  ui::MenuItem Exit1{&File1, "Exit1"};
  ui::MenuItem Voucher1{&MainMenu1, "Voucher1"};
  ui::MenuItem Previous1{&Voucher1, "Previous1"};
  ui::MenuItem Next1{&Voucher1, "Next1"};
  ui::MenuItem Last1{&Voucher1, "Last1"};
  ui::MenuItem SelectJournalVoucher1{&Voucher1, "SelectJournalVoucher1"};
  ui::MenuItem Cancel1{&Voucher1, "Cancel1"};
  ui::MenuItem Template1{&MainMenu1, "Template1"};
  ui::MenuItem Templatemanagement1{&Template1, "Templatemanagement1"};
  ui::MenuItem SaveTemplate1{&Template1, "SaveTemplate1"};
  ui::MenuItem DeleteTemplate1{&Template1, "DeleteTemplate1"};
  ui::MenuItem CancelTemplate1{&Template1, "CancelTemplate1"};
  ui::MenuItem Journal1{&MainMenu1, "Journal1"};
  ui::MenuItem Salesbook1{&Journal1, "Salesbook1"};
  ui::MenuItem Purchasebook1{&Journal1, "Purchasebook1"};
  ui::MenuItem daybook1{&Journal1, "daybook1"};
  std::array<ui::MenuItem, 3> freejournal{{{&Journal1, "freejournal1"}, {&Journal1, "freejournal2"},
                                           {&Journal1, "freejournal3"}}};
  std::array<ui::MenuItem, books::journal::kCashJournalMenuItems> payjournal{{{&Journal1, "payjournal1"},
                                                                              {&Journal1, "payjournal2"},
                                                                              {&Journal1, "payjournal3"},
                                                                              {&Journal1, "payjournal4"},
                                                                              {&Journal1, "payjournal5"},
                                                                              {&Journal1, "payjournal6"},
                                                                              {&Journal1, "payjournal7"},
                                                                              {&Journal1, "payjournal8"},
                                                                              {&Journal1, "payjournal9"}}};
  ui::MenuItem Invoice1{&MainMenu1, "Invoice1"};
  ui::MenuItem NewInvoice1{&Invoice1, "NewInvoice1"};
  ui::MenuItem SearchPartner1{&Invoice1, "SearchPartner1"};
  ui::MenuItem SelectPartner{&Invoice1, "SelectPartner"};
  ui::MenuItem NewPartner1{&Invoice1, "NewPartner1"};
  ui::MenuItem AddInvoice1{&Invoice1, "AddInvoice1"};
  ui::MenuItem Delete2{&Invoice1, "Delete2"};
  ui::MenuItem CancelInvoice1{&Invoice1, "CancelInvoice1"};
  ui::MenuItem SearchInvoice1{&Invoice1, "SearchInvoice1"};
  ui::MenuItem SelectRow1{&Invoice1, "SelectRow1"};
  ui::MenuItem CancelInvoiceList1{&Invoice1, "CancelInvoiceList1"};
  ui::MenuItem SelectRow2{&Invoice1, "SelectRow2"};
  ui::MenuItem CancelPartnerList1{&Invoice1, "CancelPartnerList1"};
  ui::MenuItem Payment1{&MainMenu1, "Payment1"};
  ui::MenuItem NewPayment1{&Payment1, "NewPayment1"};
  ui::MenuItem SearchPartner2{&Payment1, "SearchPartner2"};
  ui::MenuItem AddPayment1{&Payment1, "AddPayment1"};
  ui::MenuItem DeletePayment1{&Payment1, "DeletePayment1"};
  ui::MenuItem CancelPayment1{&Payment1, "CancelPayment1"};
  ui::MenuItem Search1{&Payment1, "Search1"};
  ui::MenuItem Select1{&Payment1, "Select1"};
  ui::MenuItem CancelPaymentList1{&Payment1, "CancelPaymentList1"};
  ui::MenuItem Help1{&MainMenu1, "Help1"};
  ui::MenuItem BrenvickJournalizehelp1{&Help1, "BrenvickJournalizehelp1"};
  ui::MenuItem BrenvickHelp1{&Help1, "BrenvickHelp1"};
  ui::MenuItem utorial1{&Help1, "utorial1", "Tutorial"};
  ui::MenuItem BrenvickHomepage1{&Help1, "BrenvickHomepage1"};
  ui::MenuItem About1{&Help1, "About1"};

  // ---- tool buttons
  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1"};  // New
  ui::ToolButton ToolButton2{&ToolBar1, "ToolButton2"};  // Save
  ui::ToolButton ToolButton3{&ToolBar1, "ToolButton3"};  // Delete
  ui::ToolButton ToolButton4{&ToolBar1, "ToolButton4"};  // previous
  ui::ToolButton ToolButton5{&ToolBar1, "ToolButton5"};  // next
  ui::ToolButton ToolButton6{&ToolBar1, "ToolButton6"};  // last
  ui::ToolButton SpeedButton14{&ToolBar1, "SpeedButton14"};  // documents of the journal
  ui::ToolButton SpeedButton15{&ToolBar1, "SpeedButton15"};  // new document of the journal
  ui::ToolButton SpeedButton5{&ToolBar1, "SpeedButton5"};    // new invoice
  ui::ToolButton SpeedButton6{&ToolBar1, "SpeedButton6"};    // invoice list
  ui::ToolButton SpeedButton7{&ToolBar1, "SpeedButton7"};    // new payment
  ui::ToolButton SpeedButton8{&ToolBar1, "SpeedButton8"};    // payment list
  ui::ToolButton SpeedButton9{&ToolBar1, "SpeedButton9"};    // bank import
  ui::ToolButton ToolButton9{&ToolBar1, "ToolButton9", "Help"};
  ui::ToolButton ToolButton10{&ToolBar1, "ToolButton10"};  // Exit

  ui::Label Label1{this, "Label1"};

  // The invoice kind and the cash or bank account, when journals are not
  // split (the journal decides them otherwise).
  ui::Panel Panel31{this, "Panel31", ui::LayoutKind::Horizontal};
  ui::ComboBox ComboBox3{&Panel31, "ComboBox3", ui::ComboStyle::DropDown};  // the invoice kind
  ui::Label Label20{&Panel31, "Label20"};
  ui::ComboBox ComboBox4{&Panel31, "ComboBox4"};  // cash or bank account

  ui::TabControl TabControl1{this, "TabControl1"};

  // ---- tab 0: the voucher (also shown, not edited, on the template tab)
  ui::Panel Panel6{&TabControl1, "Panel6"};
  // The journal and the template list.
  ui::Panel Panel11{&Panel6, "Panel11", ui::LayoutKind::Horizontal};
  ui::Label Label71{&Panel11, "Label71"};
  ui::ComboBox ComboBox12{&Panel11, "ComboBox12"};
  ui::CheckBox CheckBox12{&Panel11, "CheckBox12"};
  ui::Label Label26{&Panel11, "Label26"};
  ui::ComboBox ComboBox11{&Panel11, "ComboBox11"};
  ui::Button Button4{&Panel11, "Button4"};
  // The header.
  ui::Panel Panel2{&Panel6, "Panel2", ui::LayoutKind::Grid};
  ui::Label Label2{&Panel2, "Label2"};
  ui::DatePicker DateTimePicker2{&Panel2, "DateTimePicker2"};
  ui::Label Label3{&Panel2, "Label3"};
  ui::Panel Panel12{&Panel2, "Panel12", ui::LayoutKind::Horizontal};
  ui::Button Image2{&Panel12, "Image2", "<"};  // previous
  ui::Edit Edit3{&Panel12, "Edit3"};
  ui::Button Image3{&Panel12, "Image3", ">"};  // next
  ui::Label Label4{&Panel2, "Label4"};
  ui::Label Label72{&Panel2, "Label72"};
  ui::Label Label5{&Panel2, "Label5"};
  ui::Edit Edit116{&Panel2, "Edit116"};
  ui::Label Label6{&Panel2, "Label6"};
  ui::Edit Edit123{&Panel2, "Edit123"};
  ui::Label Label30{&Panel2, "Label30"};
  ui::Edit Edit5{&Panel2, "Edit5"};
  ui::Label Label31{&Panel2, "Label31"};
  ui::Panel Panel13{&Panel2, "Panel13", ui::LayoutKind::Horizontal};
  ui::Edit Edit6{&Panel13, "Edit6"};
  ui::Button Button23{&Panel13, "Button23"};
  // The lines.
  ui::Panel Panel14{&Panel6, "Panel14", ui::LayoutKind::Grid};
  ui::Label Label40{&Panel14, "Label40"};
  ui::Label Label41{&Panel14, "Label41"};
  ui::Label Label42{&Panel14, "Label42"};
  ui::Label Label43{&Panel14, "Label43"};
  ui::Label Label44{&Panel14, "Label44"};
  ui::Label Label45{&Panel14, "Label45"};
  std::array<EntryLine, books::journal::kVoucherLines> Lines{{{&Panel14, 1},
                                                              {&Panel14, 2},
                                                              {&Panel14, 3},
                                                              {&Panel14, 4},
                                                              {&Panel14, 5},
                                                              {&Panel14, 6},
                                                              {&Panel14, 7},
                                                              {&Panel14, 8}}};
  // The account pickers (by number, by name) and the cost-centre picker,
  // shown for the active line.
  ui::Panel Panel15{&Panel6, "Panel15", ui::LayoutKind::Horizontal};
  ui::Label Label46{&Panel15, "Label46"};
  ui::ComboBox ComboBox1{&Panel15, "ComboBox1"};
  ui::ComboBox ComboBox13{&Panel15, "ComboBox13"};
  ui::ComboBox ComboBox2{&Panel15, "ComboBox2"};
  // The totals and the buttons.
  ui::Panel Panel16{&Panel6, "Panel16", ui::LayoutKind::Horizontal};
  ui::Label Label47{&Panel16, "Label47"};
  ui::Edit Edit88{&Panel16, "Edit88"};
  ui::Edit Edit89{&Panel16, "Edit89"};
  ui::Button Button7{&Panel16, "Button7"};  // New
  ui::Button Button5{&Panel16, "Button5"};  // Save
  ui::Button Button6{&Panel16, "Button6"};  // Delete
  // The voucher selection: go to a date and number.
  ui::Panel Panel17{&Panel6, "Panel17", ui::LayoutKind::Horizontal};
  ui::Label Label48{&Panel17, "Label48"};
  ui::DatePicker DateTimePicker1{&Panel17, "DateTimePicker1"};
  ui::Edit Edit1{&Panel17, "Edit1"};
  ui::CheckBox CheckBox13{&Panel17, "CheckBox13"};
  ui::Button Image1{&Panel17, "Image1", "==>"};

 protected:
  JournalWindow() : ui::Form("boeking", "Tboeking") {}
};

}  // namespace journal
