// The journal form's invoice page: the invoice tab (tab 2) and the invoice
// list (tab 3), in invoicepage.cpp.
//
// The page holds its two panels' components (with the names the front end
// and the tests find them by), the invoice's state (new, loaded without
// voucher, loaded with voucher), its own partner as read by kind and
// number, the invoice as loaded, and the list (`DocumentListPage`, shared with
// the payment list). Its decisions are plain functions of
// src/books/journal/documentrules.h; the file is the invoice store's.
// What the page needs of the rest of the form (the status bar, the invoice
// kind above the tabs, the voucher tab that shows a proposal, the tab
// choice, the partner search) goes through `Tboeking`'s glue; it touches no
// other page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "books/journal/documentrules.h"
#include "books/journal/invoicestore.h"
#include "journal/documentlistpage.h"
#include "records/partnerrec.h"
#include "ui/form.h"

namespace journal {

class Tboeking;

struct InvoicePage {
  InvoicePage(Tboeking& owner, ui::Container* tabs);
  InvoicePage(const InvoicePage&) = delete;
  InvoicePage& operator=(const InvoicePage&) = delete;

  Tboeking& form;

 private:
  ui::Container* tabs_;

 public:
  // ---- tab 2: invoice
  ui::Panel Panel3{tabs_, "Panel3", ui::LayoutKind::Grid};
  ui::Label Label32{&Panel3, "Label32", "Searchkey:"};
  ui::Panel Panel18{&Panel3, "Panel18", ui::LayoutKind::Horizontal};
  ui::Edit Edit4{&Panel18, "Edit4"};  // partner search text
  ui::Button SpeedButton4{&Panel18, "SpeedButton4", "?"};  // search partner
  ui::Button SpeedButton1{&Panel18, "SpeedButton1", "+"};  // new partner
  ui::Label Label74{&Panel3, "Label74", "Partner number"};
  ui::Edit Edit20{&Panel3, "Edit20"};  // partner number
  ui::Label Label23{&Panel3, "Label23"};  // the partner kind, beside the name
  ui::Edit Edit27{&Panel3, "Edit27"};
  ui::Label Label34{&Panel3, "Label34", "Address"};
  ui::Edit Edit28{&Panel3, "Edit28"};
  ui::Label Label16{&Panel3, "Label16"};
  ui::Edit Edit7{&Panel3, "Edit7"};  // invoice number
  ui::Label Label35{&Panel3, "Label35", "Invoice date"};
  ui::DatePicker DateTimePicker3{&Panel3, "DateTimePicker3"};
  ui::Label Label53{&Panel3, "Label53"};
  ui::ComboBox ComboBox5{&Panel3, "ComboBox5"};  // book period
  ui::Label Label15{&Panel3, "Label15"};
  ui::DatePicker DateTimePicker4{&Panel3, "DateTimePicker4"};  // book date
  ui::Label Label36{&Panel3, "Label36", "Discount date"};
  ui::DatePicker DateTimePicker5{&Panel3, "DateTimePicker5"};
  ui::Label Label37{&Panel3, "Label37", "Due date"};
  ui::DatePicker DateTimePicker6{&Panel3, "DateTimePicker6"};
  ui::Label Label17{&Panel3, "Label17"};
  ui::Edit Edit17{&Panel3, "Edit17"};  // amount
  ui::Label Label73{&Panel3, "Label73"};
  ui::Edit Edit124{&Panel3, "Edit124"};  // prepaid
  ui::Label Label18{&Panel3, "Label18"};
  ui::Edit Edit18{&Panel3, "Edit18"};  // paid
  ui::Label Label19{&Panel3, "Label19"};
  ui::Edit Edit57{&Panel3, "Edit57"};  // owing
  ui::Label Label38{&Panel3, "Label38", "Description"};
  ui::Edit Edit19{&Panel3, "Edit19"};
  ui::Label Label39{&Panel3, "Label39", "Entry number"};
  ui::Panel Panel19{&Panel3, "Panel19", ui::LayoutKind::Horizontal};
  ui::Edit Edit87{&Panel19, "Edit87"};
  ui::Button SpeedButton3{&Panel19, "SpeedButton3", "<="};  // entry number := invoice number
  ui::CheckBox CheckBox1{&Panel3, "CheckBox1", "Geboekt"};
  ui::Panel Panel20{&Panel3, "Panel20", ui::LayoutKind::Horizontal};
  ui::Button Button9{&Panel20, "Button9"};    // Add + JV
  ui::Button Button10{&Panel20, "Button10"};  // Cancel
  ui::Button Button19{&Panel20, "Button19"};  // Delete

  // ---- tab 3: invoice list
  ui::Panel Panel7{tabs_, "Panel7"};
  ui::Panel Panel21{&Panel7, "Panel21", ui::LayoutKind::Horizontal};
  ui::CheckBox CheckBox3{&Panel21, "CheckBox3"};   // owing
  ui::CheckBox CheckBox4{&Panel21, "CheckBox4"};   // without voucher
  ui::CheckBox CheckBox5{&Panel21, "CheckBox5"};   // all
  ui::CheckBox CheckBox10{&Panel21, "CheckBox10"};  // entry number
  ui::Edit Edit97{&Panel21, "Edit97"};
  ui::CheckBox CheckBox6{&Panel21, "CheckBox6"};   // partner
  ui::Panel Panel22{&Panel7, "Panel22", ui::LayoutKind::Horizontal};
  ui::ComboBox ComboBox7{&Panel22, "ComboBox7"};
  ui::Edit Edit58{&Panel22, "Edit58"};
  ui::Button SpeedButton12{&Panel22, "SpeedButton12", "?"};
  ui::Edit Edit39{&Panel22, "Edit39"};
  ui::Edit Edit49{&Panel22, "Edit49"};
  ui::Edit Edit50{&Panel22, "Edit50"};
  ui::StringGrid StringGrid2{&Panel7, "StringGrid2", 14, 2};
  ui::Panel Panel23{&Panel7, "Panel23", ui::LayoutKind::Horizontal};
  ui::Button Image5{&Panel23, "Image5"};     // search
  ui::Button BitBtn5{&Panel23, "BitBtn5", "< 100"};
  ui::Button BitBtn6{&Panel23, "BitBtn6", "100 >"};
  ui::Button Button13{&Panel23, "Button13"};  // select
  ui::Button Button14{&Panel23, "Button14"};  // cancel

  // ---- tab 4: partner list (boekingstuk_partners.cpp)

  DocumentListPage<records::InvoiceRec, books::journal::InvoiceFilter> List;

  void Bind();
  void LayOut();
  void ApplyTexts();
  // The list grid's heading.
  void SetListHeads(const std::vector<std::string>& heads);
  // A new showing: no number, zero amounts, the kind filter as `kinds`
  // with `kind` chosen.
  void ResetFields();
  void SetKinds(const std::vector<std::string>& kinds, const std::string& kind);
  // The book periods, the second one chosen.
  void SetPeriods(const std::vector<std::string>& periods);
  // The invoice kind above the tabs changed to item `index` (`text`).
  void KindChanged(int index, const std::string& text);
  // The tab (`list` false) or the list is shown: its first field focused.
  void Show(bool list);
  // The invoice-list tool button: the list's first filters.
  void ResetListFilters();
  // Shows the invoice a voucher links to, when the list finds exactly it.
  void GoToLinked(const books::journal::InvoiceKey& key);
  // The partner search of the tab or the list, and the partner it found.
  void SearchPartner();
  void TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner);

  void Button9Click();    // Add + JV
  void Button10Click();   // new invoice / cancel
  void Button19Click();   // delete
  void Image5Click();     // fill the invoice list
  void Button13Click();   // select a list row
  void Button14Click();   // list cancel
  void BitBtn5Click() { List.PreviousPage(); }
  void BitBtn6Click() { List.NextPage(); }
  void DateTimePicker3Change();
  void ComboBox5Change();
  void ComboBox5Exit();
  void ComboBox7Exit();
  void Edit7Exit();
  void InvoiceAmountExit(bool prepaid);
  void SpeedButton3Click();
  void CheckBox6Click();
  void CheckBox10Click();
  void ClearInvoiceTab();
  void SetInvoicePartner(const records::PartnerRec& partner);

  DocumentState State() const { return invoiceState_; }
  const std::optional<records::PartnerRec>& Partner() const { return invoicePartner_; }

 private:
  void LockInvoiceTab(bool amountsEditable);
  records::InvoiceRec InvoiceFromTab() const;
  void StoreInvoice();
  void ProposeInvoiceVoucher(const records::InvoiceRec& rec);
  std::string InvoiceKindCode() const;
  books::journal::InvoiceFilter InvoiceFilterFromTab() const;

  DocumentState invoiceState_ = DocumentState::New;
  std::optional<records::PartnerRec> invoicePartner_;  // the tab's own partner
  std::optional<books::journal::LoadedInvoice> loadedInvoice_;
};

}  // namespace journal
