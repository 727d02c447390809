// The journal form's partner list (tab 4): the partners a search of the
// invoice or payment tabs or of their lists found, a page of 100 at a time
// (partnerlistpage.cpp).
//
// The page keeps the search in progress: who asked (the requester), the
// partner kind and criteria, the page shown and its rows as the partner
// store returned them. The partner chosen is handed to `Tboeking`'s glue
// (`TakePartner`), which gives it to the tab that asked and only there; the
// page never fills another tab's fields.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "books/journal/documentrules.h"
#include "books/partners/partnerstore.h"
#include "ui/form.h"

namespace journal {

class Tboeking;

struct PartnerListPage {
  PartnerListPage(Tboeking& owner, ui::Container* tabs) : form(owner), tabs_(tabs) {}
  PartnerListPage(const PartnerListPage&) = delete;
  PartnerListPage& operator=(const PartnerListPage&) = delete;

  Tboeking& form;

 private:
  ui::Container* tabs_;

 public:
  ui::Panel Panel4{tabs_, "Panel4"};
  ui::Label Label80{&Panel4, "Label80"};  // the kind listed
  ui::StringGrid StringGrid1{&Panel4, "StringGrid1", 6, 2};
  ui::Panel Panel24{&Panel4, "Panel24", ui::LayoutKind::Horizontal};
  ui::Button BitBtn1{&Panel24, "BitBtn1", "< 100"};
  ui::Button BitBtn2{&Panel24, "BitBtn2", "100 >"};
  ui::Button Button11{&Panel24, "Button11"};  // select
  ui::Button Button12{&Panel24, "Button12"};  // cancel

  void Bind();
  void LayOut();
  // The cancel caption and the grid's heading (number, name, address,
  // town, their number, bank account).
  void ApplyTexts(const std::string& cancel, const std::vector<std::string>& heads);
  // Runs a search for `requester`: one match goes to it, several to this
  // list, none shows the store's text.
  void Search(books::journal::PartnerRequester requester, books::partners::PartnerKind kind, const std::string& text);
  void ShowPage(int page);
  void BitBtn1Click();  // the previous 100
  void BitBtn2Click();  // the next 100
  void Button11Click();  // select: the row's partner to the tab that asked
  void Button12Click();  // cancel: back to the tab that asked
  // The search is over (the partner was taken, or the form starts anew).
  void ForgetRequester() { requester_.reset(); }
  std::optional<books::journal::PartnerRequester> Requester() const { return requester_; }

 private:
  std::vector<books::partners::PartnerRow> rows_;
  std::optional<books::journal::PartnerRequester> requester_;
  books::partners::PartnerKind kind_ = books::partners::PartnerKind::Customer;
  books::partners::PartnerCriteria criteria_;
  int page_ = 0;
};

}  // namespace journal
