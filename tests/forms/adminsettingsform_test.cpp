// The administration settings form, headless: its rules as tables, its
// activation, the period proposal from the controls, Save's fiscal-year
// rule, the year-end tab, and the Unfreeze button.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "masterdata/adminsettings.h"
#include "platform/datetime.h"
#include "records/adminsettingsrec.h"
#include "records/freezerec.h"
#include "records/journalvoucherrec.h"
#include "records/ledgeraccountrec.h"
#include "store/adminsettingsload.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "formkit/helpunit.h"
#include "text/languagetext.h"
#include "text/textroutines.h"
#include "support/adminfolder.h"
#include "support/formfixture.h"
#include "ui/headless.h"

namespace {

using masterdata::Tadministrationsetting;
using records::AdminSettingsRec;
using store::FileCode;

TEST(AdminSettingsRules, PeriodControlsPickersProfitAccountAndFiscalYear) {
  for (const char* c : {"", "00/00", "01/12"}) EXPECT_TRUE(masterdata::PeriodControlsEnabled(c)) << c;
  for (const char* c : {"02/12", "12/12"}) EXPECT_FALSE(masterdata::PeriodControlsEnabled(c)) << c;
  EXPECT_TRUE(masterdata::PeriodPickerVisible("12", 12));
  EXPECT_FALSE(masterdata::PeriodPickerVisible("12", 13));
  EXPECT_TRUE(masterdata::PeriodPickerVisible("04", 4));
  EXPECT_FALSE(masterdata::PeriodPickerVisible("04", 5));

  const std::vector<std::string> items = {"4000{Sales}", "0800{Retained}"};
  using Choice = masterdata::ProfitAccountChoice;
  EXPECT_EQ(masterdata::SplitProfitAccount("4000{Sales}", items), (Choice{"4000", "Sales", false}));
  EXPECT_EQ(masterdata::SplitProfitAccount("", items), (Choice{"", "", false}));
  EXPECT_EQ(masterdata::SplitProfitAccount("0800", items), (Choice{"0800", "Retained", false}));
  EXPECT_EQ(masterdata::SplitProfitAccount("9999", items), (Choice{"", "", true}));

  struct Year {
    std::string text;
    bool refused, below;
    std::string stored;
  };
  for (const Year& y : std::vector<Year>{{"", false, false, "2007"},
                                         {"2024", false, false, "2024"},
                                         {"1985", false, true, "1985"},
                                         {"-", true, false, "-"},
                                         {"19", true, false, "19"}}) {
    const masterdata::FiscalYearCheck c = masterdata::CheckFiscalYear(y.text);
    EXPECT_EQ(c.refused, y.refused) << y.text;
    EXPECT_EQ(c.belowMinimum, y.below) << y.text;
    if (!c.refused) {
      EXPECT_EQ(c.stored, y.stored) << y.text;
    }
  }
}

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

class AdminSettingsForm : public ::testing::Test, public support::AdministrationFolder {
 public:
  ui::HeadlessBackend backend;
  std::unique_ptr<Tadministrationsetting> form = std::make_unique<Tadministrationsetting>();

  static std::string Path(FileCode c) { return std::string("/d/ACME/") + store::FileInfo(c).fileName; }

  AdminSettingsRec Settings() {
    AdminSettingsRec s;
    s.SetCompanyName("ACME");
    s.SetBookYearStart("20240101");
    s.SetBookYearEnd("20241231");
    s.SetPeriodCount(12);
    for (int k = 1; k <= 12; ++k) s.SetPeriodStart(k, "2024" + Two(k) + "01");
    for (int k = 13; k <= 15; ++k) s.SetPeriodStart(k, "20250101");
    s.SetCurrentAnnualBalance("2024");
    s.SetCurrentPeriod("00/00");
    s.SetFiscalYear("2024");
    s.SetProfitAccountNumber("0800");
    s.SetProfitAccountCaption("Retained");
    s.SetSplitJournals("false");
    return s;
  }

  void SetUp() override {
    masterdata::administrationsetting = form.get();
    Store(Settings());
    store::ScopedFileSet set("GLA");
    records::LedgerAccountRec a, b;
    a.SetAccountNumber("0800");
    a.SetCaption("Retained");
    b.SetAccountNumber("4000");
    b.SetCaption("Sales");
    store::RewriteFile(FileCode::GLA, std::vector<records::LedgerAccountRec>{b, a});
  }
  void TearDown() override { masterdata::administrationsetting = nullptr; }

  void Store(const AdminSettingsRec& s) {
    store::ScopedFileSet set("ADS");
    store::RewriteFile(FileCode::ADS, std::vector<AdminSettingsRec>{s});
  }
  AdminSettingsRec Stored() {
    store::ScopedFileSet set("ADS");
    AdminSettingsRec s;
    store::ReadRecord(FileCode::ADS, 0, s);
    return s;
  }
  void Show(const std::function<void(Tadministrationsetting&)>& script) {
    support::ShowAsTreeDoes(backend, *form, "GLA;ADS", script);
  }
};

TEST_F(AdminSettingsForm, ActivationShowsTheSettingsAndTheirControls) {
  Show([](Tadministrationsetting& f) {
    EXPECT_EQ(f.Edit1.GetText(), "ACME");
    EXPECT_EQ(f.ComboBox1.GetText(), "12");
    EXPECT_EQ(f.ComboBox2.Count(), 2);
    EXPECT_EQ(f.ComboBox2.GetText(), "0800{Retained}");
    EXPECT_TRUE(f.PeriodPickers[11].Picker.Visible());
    EXPECT_FALSE(f.PeriodPickers[12].Picker.Visible());
    EXPECT_TRUE(f.ComboBox1.Enabled());
    EXPECT_FALSE(f.PeriodPickers[0].Picker.Enabled());
    EXPECT_TRUE(f.DateTimePicker1.Enabled());
    // Nothing closed yet: nothing to unfreeze.
    EXPECT_FALSE(f.Button4.Enabled());
    EXPECT_FALSE(f.Edit24.Visible());
    EXPECT_TRUE(f.Panel2.Visible());
    EXPECT_FALSE(f.Panel3.Visible());
    EXPECT_EQ(f.Edit3.MaxLength(), 10);
    EXPECT_EQ(f.Edit22.MaxLength(), 15);
    f.Button6.UserClick();
    EXPECT_TRUE(f.Panel3.Visible());
    EXPECT_FALSE(f.Button6.Enabled());
  });
}

TEST_F(AdminSettingsForm, FourPeriodsAreTheQuartersAndThePeriodControlsLockAfterTheFirstPeriod) {
  Show([](Tadministrationsetting& f) {
    f.Button6.UserClick();
    f.ComboBox1.UserSelect(3);  // "04"
    EXPECT_EQ(text::DateToYmd(f.PeriodPickers[1].Picker.Date()), "20240401");
    EXPECT_EQ(text::DateToYmd(f.PeriodPickers[3].Picker.Date()), "20241001");
    EXPECT_EQ(text::DateToYmd(f.PeriodPickers[4].Picker.Date()), "20250101");
    EXPECT_FALSE(f.PeriodPickers[4].Picker.Visible());
    EXPECT_EQ(f.Edit20.GetText(), "00/00");
    EXPECT_FALSE(f.Button4.Enabled());
    f.Edit20.SetText("02/04");
    f.UpdatePeriodControls();
    EXPECT_FALSE(f.ComboBox1.Enabled());
    EXPECT_FALSE(f.DateTimePicker2.Enabled());
  });
}

TEST_F(AdminSettingsForm, SaveRefusesAFiscalYearThatIsNoYearAndStoresAnEmptyOneAs2007) {
  const std::string before = store.fs.File(Path(FileCode::ADS));
  Show([&](Tadministrationsetting& f) {
    f.Edit23.SetText("-");
    f.Button1.UserClick();
    EXPECT_TRUE(f.Showing());
    EXPECT_EQ(store.fs.File(Path(FileCode::ADS)), before);
    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, masterdata::MsgFiscalYearTooLow);
    f.Edit23.SetText("");
    f.Edit1.UserSetText("ACME Ltd");
    f.Button1.UserClick();
    EXPECT_FALSE(f.Showing());
  });
  EXPECT_EQ(Stored().FiscalYear(), "2007");
  EXPECT_EQ(Stored().CompanyName(), "ACME Ltd");
  EXPECT_EQ(Stored().ProfitAccountNumber(), "0800");
}

TEST_F(AdminSettingsForm, EscapeReloadsAndCloses) {
  const std::string before = store.fs.File(Path(FileCode::ADS));
  Show([](Tadministrationsetting& f) {
    f.Edit1.UserSetText("typed");
    f.UserKeyDown(ui::keys::Escape);
    EXPECT_FALSE(f.Showing());
    EXPECT_EQ(f.Edit1.GetText(), "ACME");
  });
  EXPECT_EQ(store.fs.File(Path(FileCode::ADS)), before);
}

TEST_F(AdminSettingsForm, AfterAYearEndTheFormOpensOnTab2WithTheProposalText) {
  masterdata::SettingsYearTabFlag = true;
  form->StatusBar1.Show("Proposal periods date new bookyear", ui::colors::Lime);
  Show([](Tadministrationsetting& f) {
    EXPECT_TRUE(f.Panel3.Visible());
    EXPECT_EQ(f.TabControl1.TabIndex(), 1);
    EXPECT_EQ(f.StatusBar1.PanelText(0), "Proposal periods date new bookyear");
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Lime);
  });
  EXPECT_FALSE(masterdata::SettingsYearTabFlag);
}

TEST_F(AdminSettingsForm, UnfreezeAsksThenUndoesTheLastFreezeAndKeepsOtherEditsOnTheForm) {
  // Period 3 of 12 frozen: its snapshot holds the fields before it.
  AdminSettingsRec s = Settings();
  s.SetApprovedAnnualBalance("2023");
  s.SetLastClosedPeriod("03/12");
  s.SetCurrentPeriod("04/12");
  Store(s);
  {
    store::ScopedFileSet set("FRZ;JVO");
    auto r = std::make_unique<records::FreezeRec>();
    r->SetPeriodLabel("2024-03/12");
    r->SetPeriodStartDate("20240301");
    r->SetPeriodEndDate("20240401");
    r->SetYearBaseDate("20231231");
    r->SetApprovedAnnualBalance("2023");
    r->SetLastClosedPeriod("02/12");
    r->SetCurrentAnnualBalance("2024");
    r->SetCurrentPeriod("03/12");
    r->SetBookYear(2024);
    store::AppendRecord(FileCode::FRZ, *r);
    std::vector<records::JournalVoucherRec> v(3);
    v[0].SetVoucherDate("20240331");
    v[0].SetBookNumber("! SYSTEM");
    v[1] = v[0];
    v[2].SetVoucherDate("20240331");
    v[2].SetBookNumber("V1");
    store::RewriteFile(FileCode::JVO, v);
  }
  Show([&](Tadministrationsetting& f) {
    EXPECT_TRUE(f.Button4.Enabled());
    f.Edit1.UserSetText("typed, not saved");
    backend.messageAnswers.push_back(ui::ModalResult::No);
    f.Button4.UserClick();
    EXPECT_EQ(f.Edit19.GetText(), "03/12");
    backend.messageAnswers.push_back(ui::ModalResult::Yes);
    f.Button4.UserClick();
    EXPECT_TRUE(f.Showing());
    EXPECT_EQ(f.Edit19.GetText(), "02/12");
    EXPECT_EQ(f.Edit20.GetText(), "03/12");
    EXPECT_EQ(f.Edit1.GetText(), "typed, not saved");
    EXPECT_EQ(f.StatusBar1.PanelText(0), text::L(10410));
    EXPECT_EQ(f.StatusBar1.BackColor(), ui::colors::Green);
  });
  EXPECT_EQ(Stored().LastClosedPeriod(), "02/12");
  EXPECT_EQ(Stored().CompanyName(), "ACME");
  EXPECT_EQ(store.fs.File(Path(FileCode::FRZ)).size(), 0u);
  EXPECT_EQ(store.fs.File(Path(FileCode::JVO)).size(), static_cast<std::size_t>(records::JournalVoucherRec::kSize));
}

}  // namespace

namespace {

TEST_F(AdminSettingsForm, F1AndTheHelpItemsOpenTheirTopics) {
  masterdata::AdministrationsettingHelpCaptions.FileCaption = "Bestand";
  Show([](Tadministrationsetting& f) {
    struct Item {
      std::function<void()> open;
      std::string tag;
    };
    const std::vector<Item> items = {
        {[&] { f.BrenvickAdministrationsettingshelp1.UserClick(); }, "<ADS00>"},
        {[&] { f.ToolButton8.UserClick(); }, "<ADS00>"},
        {[&] { f.UserKeyDown(ui::keys::F1); }, "<ADS00>"},
        {[&] { f.Edit23.UserFocus(); f.UserKeyDown(ui::keys::F1); }, "<ADS00>"},
        {[&] { f.Brenvickhelp1.UserClick(); }, ""},
        {[&] { f.About1.UserClick(); }, "<ABO00>"},
        {[&] { f.utorial1.UserClick(); }, "<TUT00>"},
    };
    for (const auto& item : items) {
      formkit::RequestedHelpTag = "unset";
      formkit::HelpCaptionBlock = {};
      item.open();
      EXPECT_EQ(formkit::RequestedHelpTag, item.tag);
      EXPECT_EQ(formkit::HelpCaptionBlock.FileCaption, "Bestand");
      EXPECT_TRUE(f.Showing());
    }
  });
}

TEST_F(AdminSettingsForm, LeavingTheFieldsKeepsThemToTheirItemsAndTheFiscalYearToDigits) {
  Show([&](Tadministrationsetting& f) {
    f.Button6.UserClick();
    f.ComboBox1.UserFocus();
    f.ComboBox1.UserSetText("7");
    f.Edit21.UserFocus();
    EXPECT_EQ(f.ComboBox1.GetText(), "01");
    f.ComboBox2.UserFocus();
    f.ComboBox2.UserSetText("4000{sales}");
    f.Edit21.UserFocus();
    EXPECT_EQ(f.ComboBox2.GetText(), "4000{Sales}");
    f.ComboBox2.UserFocus();
    f.ComboBox2.UserSetText("9999");
    f.Edit21.UserFocus();
    EXPECT_EQ(f.ComboBox2.GetText(), "");
    f.Edit23.UserFocus();
    f.Edit23.UserSetText("1a9-");
    EXPECT_EQ(f.Edit23.GetText(), "19");
    const std::size_t shown = backend.messages.size();
    f.Edit21.UserFocus();
    ASSERT_EQ(backend.messages.size(), shown + 1);
    EXPECT_EQ(backend.messages.back().text, masterdata::MsgFiscalYearTooLow);
    EXPECT_EQ(f.ActiveControl(), &f.Edit23);
    // An empty field is no year either: the same message, not a conversion
    // error.
    f.Edit23.UserSetText("");
    f.Edit21.UserFocus();
    EXPECT_EQ(backend.messages.back().text, masterdata::MsgFiscalYearTooLow);
  });
}

}  // namespace

namespace {

TEST_F(AdminSettingsForm, SaveRefusesWhenAnotherCopySavedTheSettingsMeanwhile) {
  Show([&](Tadministrationsetting& f) {
    AdminSettingsRec other = Settings();
    other.SetCompanyName("renamed in another copy");
    Store(other);
    const std::string theirs = store.fs.File(Path(FileCode::ADS));
    f.Edit1.UserSetText("ours");
    f.Button1.UserClick();
    EXPECT_TRUE(f.Showing());
    EXPECT_EQ(f.Edit1.GetText(), "ours");
    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, text::MsgChangedInAnotherCopy());
    EXPECT_EQ(store.fs.File(Path(FileCode::ADS)), theirs);
  });
}

}  // namespace

namespace {

// Only the opening period is frozen ("00/00"): the book year's start and the
// period count can still change, and a new period proposal takes the
// Unfreeze button and action away, whichever of the two proposes.
TEST_F(AdminSettingsForm, APeriodProposalDisablesTheUnfreeze) {
  AdminSettingsRec s = Settings();
  s.SetLastClosedPeriod("00/00");
  Store(s);
  for (const bool byCount : {true, false}) {
    Show([&](Tadministrationsetting& f) {
      SCOPED_TRACE(byCount ? "period count" : "book-year start");
      ASSERT_TRUE(f.Button4.Enabled());
      ASSERT_TRUE(f.Unfreeze.Enabled());
      f.Button6.UserClick();
      if (byCount) {
        ASSERT_TRUE(f.ComboBox1.Enabled());
        f.ComboBox1.UserSelect(3);  // "04"
      } else {
        ASSERT_TRUE(f.DateTimePicker1.Enabled());
        f.DateTimePicker1.UserSetDate(platform::EncodeDate(2024, 2, 1));
      }
      EXPECT_FALSE(f.Button4.Enabled());
      EXPECT_FALSE(f.Unfreeze.Enabled());
      f.UserKeyDown(ui::keys::Escape);
    });
  }
}

}  // namespace
