#include "support/journalform.h"

#include "text/systemsettings.h"

namespace support {

void ReadyJournalForm(FakeDataStore& store) {
  text::SystemSettings.AmountDecimals = 2;
  auto& s = journal::JournalAdminSettings;
  s.SetBookYearStart("20240101");
  s.SetBookYearEnd("20241231");
  s.SetSplitJournals("false");
  store.fs.SetFile("/d/ACME/booktemp.vlk", "");
  store.fs.SetFile("/w/ifs.vlk", "");
}

void SplitSemicolonStatement(journal::Tboeking& f) {
  f.BankImport.Edit91.UserSetText(";");
  if (!f.BankImport.CheckBox15.Checked()) f.BankImport.CheckBox15.UserClick();
  f.BankImport.Button22.UserClick();
}

void TypeSemicolonProfile(journal::Tboeking& f, const std::string& name) {
  f.BankImport.Edit108.UserSetText(name);
  f.BankImport.Edit110.UserSetText("0");
  f.BankImport.ComboBox10.UserSelect(9);  // dd-mm-yyyy
  f.BankImport.Edit93.UserSetText("1");
  f.BankImport.Edit94.UserSetText("2");
  f.BankImport.Edit95.UserSetText("3");
  f.BankImport.Edit99.UserSetText("4");
  f.BankImport.Edit100.UserSetText("D");
  f.BankImport.Edit101.UserSetText("5");
  f.BankImport.ImportNarrativeEdits[0].UserSetText("6");
  for (std::size_t k = 1; k < f.BankImport.ImportNarrativeEdits.size(); ++k)
    f.BankImport.ImportNarrativeEdits[k].UserSetText("");
  f.BankImport.Button24.UserClick();
}

void TypeVoucherLine(journal::Tboeking& f, int line, const std::string& account, const std::string& debit,
                     const std::string& credit, const std::string& text) {
  journal::EntryLine& l = f.Lines[static_cast<std::size_t>(line)];
  if (!text.empty()) {
    l.Text.UserFocus();
    l.Text.UserSetText(text);
  }
  l.Number.UserFocus();
  f.ComboBox1.UserSetText(account);
  l.Debit.UserFocus();
  l.Debit.UserSetText(debit);
  l.Credit.UserFocus();
  l.Credit.UserSetText(credit);
  l.Text.UserFocus();
}

}  // namespace support
