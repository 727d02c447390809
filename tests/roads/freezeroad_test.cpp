// The freeze road through the report form, headless and end to end: log in,
// open the reports node, generate the trial balance and the balance sheet,
// freeze the open period from the form (refused while an invoice and a
// payment have no voucher, each with its own message; then done), see the
// form come back saying so, freeze on to the end of the book year, where
// the settings form comes on its second tab, and unfreeze from the settings
// form. The files hold what the program writes; no file set stays open.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "masterdata/adminsettings.h"
#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/invoicerec.h"
#include "records/journalvoucherrec.h"
#include "records/paymentrec.h"
#include "reports/Rapport1unit.h"
#include "books/closing/periodclosing.h"
#include "store/adminsettingsload.h"
#include "store/fileset.h"
#include "text/languagetext.h"
#include "text/textroutines.h"
#include "support/program.h"
#include "support/records.h"
#include "support/reportbook.h"

namespace {

using program::TreeFunction;
using reports::TRapport1;
using support::Bytes;

const std::string W = "/w/";
const std::string D = "/w/data/ACME/";

class FreezeRoad : public ::testing::Test, public support::ProgramFixture {
 protected:
  platform::ScopedFixedClock clock{platform::EncodeDate(2025, 1, 20) + platform::EncodeTime(9, 30, 0, 0)};
  platform::ScopedNumberFormat numbers{'.'};

  // The report book (2024 in twelve months, January frozen, February open)
  // with its closing fields and a day book; its invoices booked or not, and
  // one payment of 10 February without a voucher unless `booked`.
  void Books(bool booked) {
    StartWithAcme();
    support::WriteReportBook(store, D, W);
    records::AdminSettingsRec s = support::ReportBookClosingSettings();
    s.SetSplitJournals("false");
    store.fs.SetFile(D + "adminset.vlk", Bytes(s));
    records::PaymentRec pay;
    pay.SetValueDate("20240210");
    pay.SetPartnerType("CUS");
    pay.SetPartnerNumber(1);
    pay.SetPaymentNumber(1);
    pay.SetAmount(300);
    store.fs.SetFile(D + "payment.vlk", Bytes(std::vector<records::PaymentRec>{pay}));
    if (booked) BookTheDocuments();
    LogInToAcme();
    ASSERT_EQ(store::AdminSettings.CurrentPeriod(), "02/12");
  }

  // Every invoice and payment gets its voucher, as the journal form marks them.
  void BookTheDocuments() {
    auto invoices = Records<records::InvoiceRec>("invsum.vlk");
    for (auto& i : invoices) {
      i.SetVoucherDate(i.InvoiceDate());
      i.SetVoucherCreated(true);
    }
    store.fs.SetFile(D + "invsum.vlk", Bytes(invoices));
    auto payments = Records<records::PaymentRec>("payment.vlk");
    for (auto& p : payments) p.SetVoucherCreated(true);
    store.fs.SetFile(D + "payment.vlk", Bytes(payments));
  }

  template <class R>
  std::vector<R> Records(const std::string& name) const {
    return support::Records<R>(store.fs.File(D + name));
  }
  std::vector<records::JournalVoucherRec> SystemVouchers() const {
    std::vector<records::JournalVoucherRec> out;
    for (const auto& v : Records<records::JournalVoucherRec>("book.vlk"))
      if (text::TrimTrailingBlanks(v.BookNumber()) == "! SYSTEM") out.push_back(v);
    return out;
  }
  std::string Files() const {
    return store.fs.File(D + "adminset.vlk") + store.fs.File(D + "book.vlk") + store.fs.File(D + "freeze.vlk");
  }

  // Opens the reports node; `script` runs at each showing of the report
  // form (its argument counts the showings from 0).
  void Reports(const std::function<void(TRapport1&, int)>& script) {
    int showing = 0;
    backend.scripts["Rapport1"] = [&](ui::Form& f) {
      EXPECT_FALSE(store::FileSetOpen);
      script(static_cast<TRapport1&>(f), showing++);
    };
    ASSERT_TRUE(DoubleClick(TreeFunction::Reports));
    backend.scripts.erase("Rapport1");
    EXPECT_FALSE(store::FileSetOpen);
  }

  static void Generate(TRapport1& f, int report) {
    f.ComboBox4.UserFocus();
    f.ComboBox4.UserSelect(report);
    f.Button1.UserClick();
  }
  // The balance sheet of the open period, then the freeze (answered by the
  // queued answers, Yes when none).
  static void Freeze(TRapport1& f) {
    Generate(f, 1);
    ASSERT_TRUE(f.freezeperiode.Enabled()) << f.StatusBar1.PanelText(0);
    f.ToolButton5.UserClick();
  }
  std::vector<std::string> MessagesSince(std::size_t from) const {
    std::vector<std::string> out;
    for (std::size_t i = from; i < backend.messages.size(); ++i) out.push_back(backend.messages[i].text);
    return out;
  }
};

TEST_F(FreezeRoad, RefusedForUnbookedDocumentsThenFrozenAndTheFormSaysSo) {
  Books(false);
  const std::string before = Files();

  // The trial balance freezes nothing; the balance sheet may. No to the
  // question changes nothing; Yes is refused for the invoices and for the
  // payment, each with its message, and the form stays.
  backend.modalShown.clear();
  Reports([&](TRapport1& f, int showing) {
    ASSERT_EQ(showing, 0);
    Generate(f, 0);
    EXPECT_TRUE(f.StringGrid1.Visible());
    EXPECT_FALSE(f.freezeperiode.Enabled());
    EXPECT_EQ(f.ComboBox1.GetText(), "2024-02/12");

    std::size_t seen = backend.messages.size();
    backend.messageAnswers.push_back(ui::ModalResult::No);
    Freeze(f);
    ASSERT_EQ(MessagesSince(seen).size(), 1u);
    EXPECT_EQ(backend.messages[seen].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(backend.messages[seen].text, books::closing::FreezeQuestion("2024-02/12"));
    EXPECT_NE(backend.messages[seen].text.find("2024-02/12"), std::string::npos);

    seen = backend.messages.size();
    f.ToolButton5.UserClick();
    EXPECT_EQ(MessagesSince(seen),
              (std::vector<std::string>{books::closing::FreezeQuestion("2024-02/12"), text::L(11132), text::L(11243)}));
    EXPECT_TRUE(f.Showing());
    EXPECT_TRUE(f.freezeperiode.Enabled());
  });
  EXPECT_EQ(backend.modalShown, std::vector<std::string>{"Rapport1"});
  EXPECT_EQ(Files(), before);

  // Booked: the freeze posts, the form closes itself and comes back saying
  // so, with the balance sheet chosen, the next period open and the accounts
  // listed again.
  BookTheDocuments();
  backend.modalShown.clear();
  Reports([&](TRapport1& f, int showing) {
    if (showing == 0) {
      EXPECT_EQ(f.StatusBar1.PanelText(0), "");
      const std::size_t seen = backend.messages.size();
      Freeze(f);
      EXPECT_EQ(MessagesSince(seen).size(), 1u) << "only the question";
      EXPECT_FALSE(f.Showing());
      EXPECT_FALSE(f.freezeperiode.Enabled());
      EXPECT_EQ(f.ComboBox1.GetText(), "2024-03/12");
      EXPECT_EQ(reports::ReportAdminSettings.CurrentPeriod(), "03/12");
      EXPECT_EQ(reports::ReportAdminSettings.LastClosedPeriod(), "02/12");
      EXPECT_FALSE(reports::FreezeClosedYear);
      EXPECT_EQ(reports::FreezeLabel, "2024-02/12");
      EXPECT_EQ(reports::ReportPeriodEnd, "20240301");
      EXPECT_EQ(reports::ReportTransferAccountNumber, "9900");
      EXPECT_EQ(reports::ReportProfitAccountNumber, "0900");
      // February's profit: the rent of 100 is a loss.
      EXPECT_EQ(reports::FreezeProfitText, text::FormatAmount(-100, 2, 'Y'));
      return;
    }
    ASSERT_EQ(showing, 1);
    EXPECT_EQ(f.StatusBar1.PanelText(0), reports::kFreezeSuccessText);
    EXPECT_FALSE(reports::FreezeDone);
    EXPECT_EQ(f.ComboBox4.ItemIndex(), 1);
    EXPECT_EQ(f.ComboBox1.GetText(), "2024-03/12");
    EXPECT_EQ(f.ComboBox1.Items()[1].text, "2024-02/12");
    EXPECT_EQ(f.ComboBox3.Count(), 9) << "the accounts are read at every showing";
  });
  EXPECT_EQ(backend.modalShown, (std::vector<std::string>{"Rapport1", "Rapport1"}));
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "03/12");
  EXPECT_EQ(Records<records::FreezeRec>("freeze.vlk").size(), 2u);
  const auto system = SystemVouchers();
  ASSERT_EQ(system.size(), 2u);
  EXPECT_EQ(system[0].VoucherDate(), "20240229");

  // Shown once more, the form no longer says it.
  Reports([&](TRapport1& f, int) { EXPECT_EQ(f.StatusBar1.PanelText(0), ""); });
}

// Every other refusal is one message box after the question; nothing is
// written and the form stays with the figures it showed.
TEST_F(FreezeRoad, AnyOtherRefusalIsOneBoxAndWritesNothing) {
  Books(true);
  struct Case {
    const char* what;
    std::function<void()> meanwhile;  // between the generate and the freeze
    std::function<std::string()> message;
  };
  const std::vector<Case> cases = {
      {"another copy froze February meanwhile",
       [&] {
         records::AdminSettingsRec s = support::Record<records::AdminSettingsRec>(store.fs.File(D + "adminset.vlk"));
         s.SetCurrentPeriod("03/12");
         store.fs.SetFile(D + "adminset.vlk", Bytes(s));
       },
       [] { return books::closing::MsgFreezeSettingsChanged(); }},
      {"a system voucher stands on the period's last day",
       [&] {
         // Two lines that balance, as a system voucher has.
         auto book = Records<records::JournalVoucherRec>("book.vlk");
         for (std::size_t i = book.size() - 2, n = book.size(); i < n; ++i) {
           records::JournalVoucherRec v = book[i];
           v.SetVoucherDate("20240229");
           v.SetBookNumber("! SYSTEM");
           book.push_back(v);
         }
         store.fs.SetFile(D + "book.vlk", Bytes(book));
       },
       [] { return books::closing::MsgSystemVoucherExists("20240229"); }},
      {"the freeze file cannot be opened",
       [&] { store.fs.InjectError(D + "freeze.vlk", support::FakeFileSystem::Op::OpenReadWrite, 13); },
       [] { return store::FileErrorText; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string files = support::ReportBookFiles()["book.vlk"];
    Reports([&](TRapport1& f, int showing) {
      ASSERT_EQ(showing, 0);
      Generate(f, 1);
      ASSERT_TRUE(f.freezeperiode.Enabled());
      const std::string before = Files();
      c.meanwhile();
      const std::string changed = Files();
      const std::size_t seen = backend.messages.size();
      f.ToolButton5.UserClick();
      store.fs.ClearErrors();
      ASSERT_EQ(MessagesSince(seen).size(), 2u);
      EXPECT_EQ(backend.messages[seen + 1].text, c.message());
      EXPECT_FALSE(backend.messages[seen + 1].text.empty());
      EXPECT_TRUE(f.Showing());
      EXPECT_EQ(Files(), changed);
      // Put back for the next case.
      store.fs.SetFile(D + "adminset.vlk", before.substr(0, store.fs.File(D + "adminset.vlk").size()));
      store.fs.SetFile(D + "book.vlk", files);
    });
    EXPECT_FALSE(reports::FreezeDone);
    EXPECT_EQ(backend.modalShown.back(), "Rapport1");
  }
}

TEST_F(FreezeRoad, TheYearIsFrozenToItsEndThroughTheFormAndTheLastPeriodUnfrozen) {
  Books(true);
  // After the year end the settings form comes on its second tab with the
  // proposal for the new periods, the new book year shown, no set open.
  bool proposed = false;
  backend.scripts["administrationsetting"] = [&](ui::Form& form) {
    auto& f = static_cast<masterdata::Tadministrationsetting&>(form);
    proposed = true;
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(f.TabControl1.TabIndex(), 1);
    EXPECT_EQ(f.StatusBar1.PanelText(0), books::closing::MsgNewBookYearProposal());
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
    EXPECT_EQ(text::DateToYmd(f.DateTimePicker1.Date()), "20250101");
    EXPECT_TRUE(f.Button4.Enabled());
  };
  const std::string elevenFrozen = [&] {
    std::string files;
    backend.modalShown.clear();
    // Each showing freezes the open period until the book year is closed;
    // the showing after that only reads the message.
    Reports([&](TRapport1& f, int showing) {
      SCOPED_TRACE(showing);
      EXPECT_EQ(f.StatusBar1.PanelText(0), showing == 0 ? "" : reports::kFreezeSuccessText);
      if (showing == 10) files = Files();  // period 11 frozen, 12 open
      if (showing == 11) {
        EXPECT_EQ(reports::ReportAdminSettings.CurrentPeriod(), "01/12");
        return;
      }
      Freeze(f);
      EXPECT_FALSE(f.Showing());
      EXPECT_EQ(reports::FreezeClosedYear, showing == 10);
    });
    return files;
  }();
  EXPECT_TRUE(proposed);
  EXPECT_EQ(masterdata::administrationsetting->StatusBar1.PanelText(0), "");
  std::vector<std::string> expected(11, "Rapport1");
  expected.push_back("administrationsetting");
  expected.push_back("Rapport1");
  EXPECT_EQ(backend.modalShown, expected);
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20250101");
  EXPECT_EQ(store::AdminSettings.ApprovedAnnualBalance(), "2024");
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "01/12");
  EXPECT_EQ(Records<records::FreezeRec>("freeze.vlk").size(), 12u);
  // Eleven period vouchers of two lines, and the opening voucher.
  const auto system = SystemVouchers();
  ASSERT_EQ(system.size(), 24u);
  EXPECT_EQ(system[21].VoucherDate(), "20241231");
  EXPECT_EQ(system[23].VoucherDate(), "20250101");

  // The settings form's Unfreeze undoes the year end: the files are as
  // before the last freeze, the form says so in green and stays open.
  bool shown = false;
  backend.scripts["administrationsetting"] = [&](ui::Form& form) {
    auto& f = static_cast<masterdata::Tadministrationsetting&>(form);
    shown = true;
    ASSERT_TRUE(f.Button4.Enabled());
    const std::size_t seen = backend.messages.size();
    f.Button4.UserClick();
    ASSERT_EQ(MessagesSince(seen).size(), 1u);
    EXPECT_NE(backend.messages[seen].text.find("2024-12/12"), std::string::npos);
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10410));
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Green);
    EXPECT_TRUE(f.Showing());
  };
  ASSERT_TRUE(DoubleClick(TreeFunction::AdministrationSettings));
  backend.scripts.erase("administrationsetting");
  EXPECT_TRUE(shown);
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "12/12");
  EXPECT_EQ(store::AdminSettings.BookYearStart(), "20240101");
  EXPECT_EQ(Records<records::FreezeRec>("freeze.vlk").size(), 11u);
  EXPECT_EQ(store.fs.File(D + "book.vlk") + store.fs.File(D + "freeze.vlk"),
            elevenFrozen.substr(store.fs.File(D + "adminset.vlk").size()));

  // The report form then offers period 12 again.
  Reports([&](TRapport1& f, int) { EXPECT_EQ(f.ComboBox1.GetText(), "2024-12/12"); });
}

}  // namespace

namespace {

// A new administration, nothing frozen and the current period "00/00", the
// accounts' start amounts dated the day before the book year: every report
// kind is made for the opening period "2024-00/00" that the list offers, the
// freeze of it is stored as "2023-01/01", and the list then offers
// "2024-01/12".
TEST_F(FreezeRoad, ANewAdministrationReportsAndFreezesItsOpeningPeriod) {
  StartWithAcme();
  support::WriteReportBook(store, D, W);
  records::AdminSettingsRec s = support::ReportBookSettings();
  s.SetCurrentPeriod("00/00");
  s.SetApprovedAnnualBalance("");
  s.SetLastClosedPeriod("");
  s.SetFiscalYear("2024");
  s.SetSplitJournals("false");
  store.fs.SetFile(D + "adminset.vlk", Bytes(s));
  store.fs.SetFile(D + "freeze.vlk", "");
  auto accounts = Records<records::LedgerAccountRec>("ledger.vlk");
  for (auto& a : accounts) a.SetStartDate("20231231");
  store.fs.SetFile(D + "ledger.vlk", Bytes(accounts));
  BookTheDocuments();
  LogInToAcme();

  Reports([&](TRapport1& f, int showing) {
    if (showing == 0) {
      ASSERT_EQ(f.ComboBox1.Count(), 1);
      EXPECT_EQ(f.ComboBox1.GetText(), "2024-00/00");
      for (int report = 0; report < 4; ++report) {
        SCOPED_TRACE(report);
        const std::size_t seen = backend.messages.size();
        Generate(f, report);
        EXPECT_EQ(MessagesSince(seen), std::vector<std::string>{});
        EXPECT_EQ(f.StatusBar1.PanelText(0), "");
        if (report >= 2) {
          EXPECT_TRUE(f.RichEdit1.Visible());
        }
      }
      const std::size_t seen = backend.messages.size();
      Freeze(f);
      ASSERT_EQ(MessagesSince(seen).size(), 1u) << "only the question";
      EXPECT_EQ(backend.messages[seen].text, books::closing::FreezeQuestion("2024-00/00"));
      EXPECT_FALSE(f.Showing());
      return;
    }
    EXPECT_EQ(f.ComboBox1.GetText(), "2024-01/12");
    ASSERT_EQ(f.ComboBox1.Count(), 2);
    EXPECT_EQ(f.ComboBox1.Items()[1].text, "2023-01/01");
  });
  const auto frozen = Records<records::FreezeRec>("freeze.vlk");
  ASSERT_EQ(frozen.size(), 1u);
  EXPECT_EQ(frozen[0].PeriodLabel(), "2023-01/01");
  EXPECT_EQ(store::AdminSettings.CurrentPeriod(), "01/12");
  EXPECT_EQ(store::AdminSettings.CurrentAnnualBalance(), "2024");
}

}  // namespace
