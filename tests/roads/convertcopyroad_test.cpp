// End to end and headless, on the whole program: the log-in to an
// administration kept in the layouts of an older release (converted once,
// backups kept, the data read right), a full and a general-ledger copy of
// it made on the administrations form with a log-in to each copy, and
// fixed assets saved out of order.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "masterdata/Administrationsunit.h"
#include "masterdata/fixedassets.h"
#include "platform/datetime.h"
#include "records/adminsettingsrec.h"
#include "records/fixedassetrec.h"
#include "records/invoicerec.h"
#include "records/ledgeraccountrec.h"
#include "records/ledgercategoryrec.h"
#include "program/startschermunit.h"
#include "store/adminsettingsload.h"
#include "store/session.h"
#include "support/program.h"
#include "support/records.h"

namespace {

const std::string kAcme = "/w/data/ACME/";
const std::string kWhole = "/w/data/WHOLE/";
const std::string kLedger = "/w/data/LEDGER/";

// An old record, written at the offsets of its layout.
class Old {
 public:
  explicit Old(std::size_t size) : b_(size, '\0') {}
  Old& S(std::size_t at, const std::string& v) {
    b_[at] = static_cast<char>(v.size());
    b_.replace(at + 1, v.size(), v);
    return *this;
  }
  Old& D(std::size_t at, double v) {
    std::memcpy(b_.data() + at, &v, 8);
    return *this;
  }
  Old& I32(std::size_t at, std::int32_t v) {
    std::memcpy(b_.data() + at, &v, 4);
    return *this;
  }
  Old& I16(std::size_t at, std::int16_t v) {
    std::memcpy(b_.data() + at, &v, 2);
    return *this;
  }
  Old& B(std::size_t at) {
    b_[at] = 1;
    return *this;
  }
  const std::string& Bytes() const { return b_; }

 private:
  std::string b_;
};

std::string OldAccount(const std::string& number, const std::string& caption, double start, bool cash) {
  Old o(184);
  o.S(0, number).S(21, caption).S(52, "B").S(63, "Assets").S(94, "20231231").D(104, start).S(112, "20501231");
  if (cash) o.B(136);
  return o.Bytes();
}

std::string OldSettings() {
  Old o(746);
  o.S(0, "Acme Trading Company").S(51, "1 Main Street").S(552, "20240101").S(561, "20241231").I16(572, 1);
  for (int k = 1; k <= 15; ++k) o.S(574 + 9 * static_cast<std::size_t>(k - 1), k == 2 ? "20250101" : "20240101");
  return o.Bytes();
}

class ConvertCopyRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  void SetUp() override {
    Start();
    WriteUsers({MakeUser("SYSTEM", "kestal", "YYY")});
    WriteAdministrations({{"ACME", "Acme Ltd"}, {"WHOLE", "Acme copy"}, {"LEDGER", "Acme 2025"}});
    // ACME as an older release left it: no release flags, old layouts.
    store.fs.SetFile(kAcme + "releaseflag.vlk", "");
    store.fs.SetFile(kAcme + "ledger.vlk", OldAccount("1000", "Cash", 250.0, true) +
                                               OldAccount("8000", "Sales", 0.0, false));
    store.fs.SetFile(kAcme + "ledgerct.vlk", Old(94).S(0, "Balance sheet account").S(31, "Assets").Bytes());
    store.fs.SetFile(kAcme + "invsum.vlk", Old(176).S(0, "20240110").S(9, "F-1").S(25, "CUS").I32(32, 7)
                                               .S(54, "20240110").D(72, 121.0).Bytes());
    store.fs.SetFile(kAcme + "adminset.vlk", OldSettings());
    Restart();
    SetUserOptions(true, true);
    backend.messages.clear();
  }

  // Logs in afresh to `administration`; the messages it showed.
  std::vector<std::string> LogInTo(const std::string& administration) {
    Restart();
    backend.messages.clear();
    LogIn("SYSTEM", "kestal", administration);
    std::vector<std::string> texts;
    for (const auto& m : backend.messages) texts.push_back(m.text);
    return texts;
  }

  std::map<std::string, std::string> Files(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const std::string& name : store.fs.FilesIn(folder))
      if (name != ".ombrelo.lock") files[name] = store.fs.File(folder + name);
    return files;
  }

  // Copies ACME into the row `to` of the administrations form.
  void CopyOnTheForm(int to, bool ledgerOnly) {
    backend.scripts["Administrations"] = [&](ui::Form&) {
      masterdata::TAdministrations& a = *masterdata::Administrations;
      a.Button1.UserClick();
      a.ComboBox1.UserSelect(0);
      a.ComboBox2.UserSelect(to);
      if (ledgerOnly) {
        a.RadioGroup1.SetItemIndex(1);
        a.RadioGroup1Click();
        a.DateTimePicker1.SetDate(platform::EncodeDate(2025, 1, 1));
      }
      a.Button4.UserClick();
      a.Close();
    };
    ASSERT_TRUE(DoubleClick(program::TreeFunction::Administrations));
    backend.scripts.erase("Administrations");
  }
};

TEST_F(ConvertCopyRoad, OldLayoutsConvertedOnceThenCopiedWholeAndAsANewBookYear) {
  const std::map<std::string, std::string> old = Files(kAcme);

  // The first log-in converts, says so once, and reads the data right.
  const std::vector<std::string> first = LogInTo("Acme Ltd");
  ASSERT_EQ(store::CurrentAdministrationCode, "ACME");
  ASSERT_EQ(first.size(), 1u);
  for (const char* named : {"invsum.vlk (backup invsum001.vlk)", "ledger.vlk (backup ledger003.vlk)",
                            "ledgerct.vlk (backup ledgerct004.vlk)", "adminset.vlk (backup adminset007.vlk)"})
    EXPECT_NE(first[0].find(named), std::string::npos) << named << "\n" << first[0];
  for (auto [file, backup] : std::vector<std::pair<std::string, std::string>>{
           {"invsum.vlk", "invsum001.vlk"}, {"ledger.vlk", "ledger003.vlk"},
           {"ledgerct.vlk", "ledgerct004.vlk"}, {"adminset.vlk", "adminset007.vlk"}})
    EXPECT_EQ(store.fs.File(kAcme + backup), old.at(file)) << backup;
  EXPECT_EQ(store::AdminSettings.CompanyName(), "Acme Trading Company");
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20240101");
  const auto accounts = support::Records<records::LedgerAccountRec>(store.fs.File(kAcme + "ledger.vlk"));
  ASSERT_EQ(accounts.size(), 2u);
  EXPECT_EQ(accounts[0].AccountNumber(), "1000");
  EXPECT_EQ(accounts[0].JournalName(), "Cash");  // a cash account is its own journal
  EXPECT_EQ(accounts[0].StartAmount(), 250.0);
  const auto invoices = support::Records<records::InvoiceRec>(store.fs.File(kAcme + "invsum.vlk"));
  ASSERT_EQ(invoices.size(), 1u);
  EXPECT_EQ(invoices[0].InvoiceNumber(), "F-1");
  EXPECT_EQ(invoices[0].PartnerNumber(), 7);
  EXPECT_EQ(invoices[0].InvoiceAmount(), 121.0);

  // The next log-in converts nothing and says nothing.
  const std::map<std::string, std::string> converted = Files(kAcme);
  EXPECT_TRUE(LogInTo("Acme Ltd").empty());
  EXPECT_EQ(Files(kAcme), converted);

  // A full copy, then a log-in to the copy: the same books.
  CopyOnTheForm(1, false);
  EXPECT_EQ(backend.messages.back().text, masterdata::MsgCopyDoneText);
  const std::vector<std::string> intoWhole = LogInTo("Acme copy");
  EXPECT_EQ(store::CurrentAdministrationCode, "WHOLE");
  EXPECT_TRUE(intoWhole.empty());
  for (const char* name : {"ledger.vlk", "ledgerct.vlk", "invsum.vlk", "adminset.vlk", "releaseflag.vlk"})
    EXPECT_EQ(store.fs.File(kWhole + name), converted.at(name)) << name;
  EXPECT_FALSE(store.fs.HasFile(kWhole + "ledger003.vlk"));  // backups stay with their administration
  EXPECT_EQ(store::AdminSettings.CompanyName(), "Acme Trading Company");

  // The general ledger as a new book year, then a log-in to it.
  LogInTo("Acme Ltd");
  CopyOnTheForm(2, true);
  const std::vector<std::string> intoLedger = LogInTo("Acme 2025");
  EXPECT_EQ(store::CurrentAdministrationCode, "LEDGER");
  EXPECT_TRUE(intoLedger.empty());
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20250101");
  EXPECT_EQ(store::AdminSettings.BookYearEnd(), "20251231");
  EXPECT_EQ(store::AdminSettings.CompanyName(), "Acme Trading Company");
  const auto redated = support::Records<records::LedgerAccountRec>(store.fs.File(kLedger + "ledger.vlk"));
  ASSERT_EQ(redated.size(), 2u);
  EXPECT_EQ(redated[0].StartDate(), "20241231");
  EXPECT_EQ(redated[0].StartAmount(), 0.0);
  EXPECT_EQ(store.fs.File(kLedger + "invsum.vlk"), "");
  // The source is as it was, but for the empty template file its set
  // made (as the journal form's first showing would).
  std::map<std::string, std::string> source = Files(kAcme);
  EXPECT_EQ(source["booktemp.vlk"], "");
  source.erase("booktemp.vlk");
  EXPECT_EQ(source, converted);
}

TEST_F(ConvertCopyRoad, FixedAssetsSavedOutOfOrder) {
  LogInTo("Acme Ltd");
  ASSERT_EQ(store::CurrentAdministrationCode, "ACME");
  backend.scripts["Fixedassetsform"] = [](ui::Form&) {
    masterdata::TFixedassetsform& f = *masterdata::Fixedassetsform;
    ASSERT_EQ(f.ComboBox2.Count(), 2);
    EXPECT_EQ(f.ComboBox2.Items()[0].text, "1000{Cash}");
    for (const char* number : {"C-3", "A-1", "B-2", "A-1"}) {
      f.Edit2.UserSetText(number);
      f.ComboBox2.UserSelect(0);
      f.Button5.UserClick();
    }
    EXPECT_EQ(f.StatusBar1.PanelText(0), "Assetnumber already exists");
    f.Afsluiten1.UserClick();
  };
  masterdata::Fixedassetsform->ShowModal();
  backend.scripts.erase("Fixedassetsform");
  std::vector<std::string> numbers;
  for (const auto& r : support::Records<records::FixedAssetRec>(store.fs.File(kAcme + "fixed.vlk")))
    numbers.push_back(r.AssetNumber());
  EXPECT_EQ(numbers, (std::vector<std::string>{"A-1", "B-2", "C-3"}));
  EXPECT_FALSE(store::FileSetOpen);
}

}  // namespace
