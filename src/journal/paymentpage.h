// The journal form's payment page: the payment tab (tab 5) and the payment
// list (tab 6), in paymentpage.cpp.
//
// The page holds its two panels' components (with the names the front end
// and the tests find them by), the payment's state (new, loaded without
// voucher, loaded with voucher), its own partner as read by kind and
// number, the payment as loaded, the partner's open invoices as the ticks
// stand for them, and the list (`DocumentListPage`, shared with the invoice
// list). Its decisions are plain functions of
// src/books/journal/documentrules.h; the file is the payment store's.
// What the page needs of the rest of the form (the status bar, the cash
// account above the tabs, the voucher tab that shows a proposal, the tab
// choice, the partner search, whether a bank import runs) goes through
// `Tboeking`'s glue; it touches no other page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "books/journal/documentrules.h"
#include "books/journal/paymentstore.h"
#include "journal/documentlistpage.h"
#include "records/partnerrec.h"
#include "ui/form.h"

namespace journal {

class Tboeking;

struct PaymentPage {
  PaymentPage(Tboeking& owner, ui::Container* tabs);
  PaymentPage(const PaymentPage&) = delete;
  PaymentPage& operator=(const PaymentPage&) = delete;

  Tboeking& form;

 private:
  ui::Container* tabs_;

 public:
  // ---- tab 5: payment
  ui::Panel Panel1{tabs_, "Panel1", ui::LayoutKind::Grid};
  ui::Label Label21{&Panel1, "Label21"};
  ui::ComboBox ComboBox6{&Panel1, "ComboBox6"};  // kind
  ui::Label Label22{&Panel1, "Label22"};
  ui::Panel Panel25{&Panel1, "Panel25", ui::LayoutKind::Horizontal};
  ui::Edit Edit8{&Panel25, "Edit8"};  // partner search text
  ui::Button SpeedButton11{&Panel25, "SpeedButton11", "?"};
  ui::Button SpeedButton10{&Panel25, "SpeedButton10", "+"};
  ui::Label Label75{&Panel1, "Label75", "Partner number"};
  ui::Edit Edit9{&Panel1, "Edit9"};  // partner number
  ui::Label Label78{&Panel1, "Label78", "Name"};
  ui::Edit Edit10{&Panel1, "Edit10"};
  ui::Label Label79{&Panel1, "Label79", "Address"};
  ui::Edit Edit29{&Panel1, "Edit29"};
  ui::Label Label81{&Panel1, "Label81", "Partner bank account"};
  ui::Edit Edit40{&Panel1, "Edit40"};
  ui::Label Label76{&Panel1, "Label76", "Value date"};
  ui::DatePicker DateTimePicker7{&Panel1, "DateTimePicker7"};
  ui::Label Label82{&Panel1, "Label82", "Amount"};
  ui::Edit Edit30{&Panel1, "Edit30"};
  ui::Label Label24{&Panel1, "Label24"};
  ui::Edit Edit37{&Panel1, "Edit37"};  // the counterparty's bank account
  ui::Label Label83{&Panel1, "Label83", "Ascription"};
  ui::Edit Edit113{&Panel1, "Edit113"};
  ui::Label Label84{&Panel1, "Label84", "Narrative"};
  ui::Panel Panel26{&Panel1, "Panel26", ui::LayoutKind::Grid};
  ui::Edit Edit38{&Panel26, "Edit38"};
  ui::Edit Edit48{&Panel26, "Edit48"};
  ui::Edit Edit59{&Panel26, "Edit59"};
  ui::Edit Edit60{&Panel26, "Edit60"};
  ui::Edit Edit67{&Panel26, "Edit67"};
  ui::Edit Edit68{&Panel26, "Edit68"};
  ui::Label Label85{&Panel1, "Label85", "Memo"};
  ui::Edit Edit47{&Panel1, "Edit47"};
  ui::Label Label86{&Panel1, "Label86", "Entry number"};
  ui::Edit Edit96{&Panel1, "Edit96"};
  ui::Label Label77{&Panel1, "Label77", "Payment number"};
  ui::Edit Edit80{&Panel1, "Edit80"};  // empty for a payment not yet stored
  ui::Label Label87{&Panel1, "Label87", "Open invoices"};
  ui::CheckListBox CheckListBox1{&Panel1, "CheckListBox1"};
  ui::Label Label88{&Panel1, "Label88", "Rest"};
  ui::Edit Edit69{&Panel1, "Edit69"};
  ui::Panel Panel27{&Panel1, "Panel27", ui::LayoutKind::Horizontal};
  ui::CheckBox CheckBox2{&Panel27, "CheckBox2", "JV created"};
  ui::Button Button15{&Panel27, "Button15"};  // Add + JV
  ui::Button Button16{&Panel27, "Button16"};  // Cancel
  ui::Button Button21{&Panel27, "Button21"};  // Delete

  // ---- tab 6: payment list
  ui::Panel Panel8{tabs_, "Panel8"};
  ui::Panel Panel28{&Panel8, "Panel28", ui::LayoutKind::Horizontal};
  ui::CheckBox CheckBox7{&Panel28, "CheckBox7"};    // without voucher
  ui::CheckBox CheckBox8{&Panel28, "CheckBox8"};    // all
  ui::CheckBox CheckBox11{&Panel28, "CheckBox11"};  // entry number
  ui::Edit Edit98{&Panel28, "Edit98"};
  ui::CheckBox CheckBox9{&Panel28, "CheckBox9"};    // partner
  ui::Panel Panel29{&Panel8, "Panel29", ui::LayoutKind::Horizontal};
  ui::ComboBox ComboBox8{&Panel29, "ComboBox8"};
  ui::Edit Edit79{&Panel29, "Edit79"};
  ui::Button SpeedButton13{&Panel29, "SpeedButton13", "?"};
  ui::Edit Edit70{&Panel29, "Edit70"};
  ui::Edit Edit77{&Panel29, "Edit77"};
  ui::Edit Edit78{&Panel29, "Edit78"};
  ui::StringGrid StringGrid3{&Panel8, "StringGrid3", 16, 2};
  ui::Panel Panel30{&Panel8, "Panel30", ui::LayoutKind::Horizontal};
  ui::Button SpeedButton2{&Panel30, "SpeedButton2"};  // search
  ui::Button BitBtn3{&Panel30, "BitBtn3", "< 100"};
  ui::Button BitBtn4{&Panel30, "BitBtn4", "100 >"};
  ui::Button Button17{&Panel30, "Button17"};  // select
  ui::Button Button18{&Panel30, "Button18"};  // cancel

  DocumentListPage<records::PaymentRec, books::journal::PaymentFilter> List;

  void Bind();
  void LayOut();
  void ApplyTexts();
  // The list grid's heading.
  void SetListHeads(const std::vector<std::string>& heads);
  // A new showing: no search text, no bank account; the kinds (`kinds`,
  // the invoice kinds and receipt and payment) and the list's kind filter
  // (`listKinds`, `kind` chosen).
  void ResetFields();
  void SetKinds(const std::vector<std::string>& kinds, const std::vector<std::string>& listKinds,
                const std::string& kind);
  // The invoice kind above the tabs changed to item `index`.
  void KindChanged(int index);
  // An empty new payment takes invoice kind `index` (through its kind
  // handler); a payment being typed keeps its own.
  void FollowInvoiceKind(int index);
  // The tab (`list` false) or the list is shown: its first field focused.
  void Show(bool list);
  // The payment-list tool button: the list's first filters.
  void ResetListFilters();
  // Shows the payment a voucher links to, when the list finds exactly it.
  void GoToLinked(const books::journal::PaymentKey& key);
  // The partner search of the tab or the list, and the partner it found.
  void SearchPartner();
  void TakePartner(books::journal::PartnerRequester requester, const records::PartnerRec& partner);
  // What a new partner made from the tab starts with.
  std::string Ascription() const { return Edit113.GetText(); }
  std::string CounterpartyAccount() const { return Edit37.GetText(); }

  void Button15Click();   // Add + JV
  void Button16Click();   // cancel
  void Button21Click();   // delete
  void SpeedButton7Click();  // new payment
  void SpeedButton2Click();  // fill the payment list
  void Button17Click();   // select a list row
  void Button18Click();   // list cancel
  void BitBtn3Click() { List.PreviousPage(); }
  void BitBtn4Click() { List.NextPage(); }
  void Button28Click();   // the payments without voucher
  void ophalenfacturenExecute();
  void CheckListBox1Click(int index);
  void ComboBox6Select();
  void ComboBox6Exit();
  void ComboBox8Exit();
  void Edit9Change();
  void Edit30Exit();
  void CheckBox9Click();
  void CheckBox11Click();
  void ClearPaymentTab();
  // "Add + JV" and Delete with their menu items: hidden and disabled while
  // an import runs or is interrupted, else as the shown payment allows.
  void ShowPaymentButtons();

  DocumentState State() const { return paymentState_; }
  const std::optional<records::PartnerRec>& Partner() const { return paymentPartner_; }
  const std::vector<books::journal::OpenInvoiceItem>& OpenItems() const { return openItems_; }

 private:
  void ClearPaymentPartner();
  void SetPaymentPartner(const records::PartnerRec& partner);
  void ShowRest();
  records::PaymentRec PaymentFromTab() const;
  void StorePayment();
  void ProposePaymentVoucher(const records::PaymentRec& rec);
  std::vector<books::journal::OpenInvoiceItem> TickedItems() const;
  books::journal::PaymentFilter PaymentFilterFromTab() const;
  std::vector<ui::Edit*> NarrativeEdits();
  std::vector<const ui::Edit*> NarrativeEdits() const;

  DocumentState paymentState_ = DocumentState::New;
  std::optional<records::PartnerRec> paymentPartner_;  // the tab's own partner
  std::optional<books::journal::LoadedPayment> loadedPayment_;
  std::vector<books::journal::OpenInvoiceItem> openItems_;
  bool paymentLoading_ = false;  // the kind handler keeps the partner fields
};

}  // namespace journal
