// The administration-settings record, its loader and its saver.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "store/adminsettingsload.h"
#include "books/administration/admincopy.h"
#include "records/adminsettingsrecv1.h"
#include "store/dataconversion.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/oserror.h"
#include "records/adminsettingsrec.h"
#include "store/fileset.h"
#include "text/systemsettings.h"
#include "text/textroutines.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using records::AdminSettingsRec;
using store::AdminSettings;
using store::AdminSettingsValues;
using support::FakeFileSystem;

constexpr const char* kSettingsFile = "/d/DEMO/adminset.vlk";

platform::TDateTime Day(const std::string& ymd) { return text::YmdToDate(ymd); }
std::string Ymd(platform::TDateTime d) { return text::DateToYmd(d); }

using support::Bytes;
AdminSettingsRec FromBytes(const std::string& bytes) { return support::Record<AdminSettingsRec>(bytes); }

// A record of an administration in its second book year, every field
// filled, with leftovers after the texts and in the pad byte as old files
// have them.
AdminSettingsRec StoredRecord() {
  AdminSettingsRec r;
  r.Bytes.fill('#');
  r.SetCompanyShortName("Acme");
  r.SetTaxRegistrationId("NL001234567B01");
  r.SetCompanyName("Acme Trading");
  r.SetAddress("Main Street 1");
  r.SetZipCode("1234 AB");
  r.SetTown("Utrecht");
  r.SetState("Utrecht");
  r.SetCountry("Netherlands");
  r.SetTelephone("030-1234567");
  r.SetFax("030-7654321");
  r.SetEmail("info@acme.example");
  r.SetWebsite("www.acme.example");
  r.SetExtraItem2("extra 2");
  r.SetChangedAt("05-03-2024 14:30:00");
  r.SetChangedBy("ANNA");
  r.SetExtraItem1("extra 1");
  r.SetCompanyRegistration("KvK 123");
  r.SetProfitAccountCaption("Retained earnings");
  r.SetProfitAccountNumber("0500");
  r.SetBookYearStart("20080401");
  r.SetBookYearEnd("20090331");
  r.SetFiscalYear("2008");
  r.SetCurrencyCode("EUR");
  r.SetNoSalesTaxAccounts(true);
  r.SetPeriodCount(4);
  const char* periods[] = {"20080401", "20080701", "20080930", "20081230", "20090401"};
  for (int k = 1; k <= 15; ++k) r.SetPeriodStart(k, k <= 5 ? periods[k - 1] : "20080401");
  r.SetApprovedAnnualBalance("2007");
  r.SetLastClosedPeriod("01/04");
  r.SetCurrentAnnualBalance("0809");
  r.SetCurrentPeriod("02/04");
  r.SetCreatedBy("PIET");
  r.SetCreatedAt("01-04-2008 08:00:00");
  r.SetSplitJournals("true");
  const char* journals[] = {"Verkoopboek", "Inkoopboek", "Memoriaal", "Kas", "Bank", "Diversen"};
  for (int j = 0; j < 6; ++j) r.SetJournalName(j, journals[j]);
  const char* flags[] = {"true", "false", "false", "true", "true", "true"};
  for (int i = 0; i < 6; ++i) r.SetJournalFlag(i, flags[i]);
  return r;
}

TEST(AdminSettingsRecord, FieldsLieAtTheirOffsets) {
  const AdminSettingsRec r = StoredRecord();
  const std::string b = Bytes(r);
  ASSERT_EQ(b.size(), 1386u);
  struct Field {
    std::size_t offset;
    std::string text;
  };
  const std::vector<Field> texts = {
      {0, "Acme"}, {21, "NL001234567B01"}, {37, "Acme Trading"}, {88, "Main Street 1"}, {139, "1234 AB"},
      {150, "Utrecht"}, {201, "Utrecht"}, {252, "Netherlands"}, {303, "030-1234567"}, {334, "030-7654321"},
      {365, "info@acme.example"}, {466, "www.acme.example"}, {567, "extra 2"}, {618, "05-03-2024 14:30:00"},
      {639, "ANNA"}, {650, "extra 1"}, {701, "KvK 123"}, {752, "Retained earnings"}, {783, "0500"},
      {804, "20080401"}, {813, "20090331"}, {822, "2008"}, {827, "EUR"},
      {834, "20080401"}, {843, "20080701"}, {852, "20080930"}, {861, "20081230"}, {870, "20090401"},
      {960, "20080401"},  // element 15
      {969, "2007"}, {978, "01/04"}, {987, "0809"}, {996, "02/04"}, {1005, "PIET"},
      {1016, "01-04-2008 08:00:00"}, {1037, "true"}, {1043, "Verkoopboek"}, {1094, "Inkoopboek"},
      {1145, "Memoriaal"}, {1196, "Kas"}, {1247, "Bank"}, {1298, "Diversen"}, {1349, "true"}, {1355, "false"},
      {1361, "false"}, {1367, "true"}, {1373, "true"}, {1379, "true"}};
  for (const auto& f : texts) {
    EXPECT_EQ(static_cast<unsigned char>(b[f.offset]), f.text.size()) << f.offset;
    EXPECT_EQ(b.substr(f.offset + 1, f.text.size()), f.text) << f.offset;
  }
  EXPECT_EQ(b[831], '\x01');                  // NoSalesTaxAccounts
  EXPECT_EQ(b.substr(832, 2), std::string("\x04\x00", 2));  // PeriodCount, little-endian
  EXPECT_EQ(b[1385], '#');                    // the pad byte is never written
  EXPECT_EQ(b[1044 + 11], '#');               // after a text: what the buffer held

  EXPECT_EQ(r.PeriodStart(5), "20090401");
  EXPECT_EQ(r.JournalName(4), "Bank");
  EXPECT_EQ(r.JournalFlag(1), "false");
  EXPECT_EQ(r.Journal2SupplierFlag(), "true");
  EXPECT_EQ(r.OptionalJournalName3(), "Diversen");
  EXPECT_THROW(r.PeriodStart(16), std::out_of_range);
  EXPECT_THROW(r.JournalName(6), std::out_of_range);
}

class AdminSettingsLoader : public ::testing::Test {
 protected:
  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  platform::ScopedFixedClock clock{platform::EncodeDate(2024, 3, 5) + platform::EncodeTime(14, 30, 0, 0)};

  void SetUp() override {
    store.fs.AddFolder("/d/DEMO");
    store.fs.AddFolder("/d/NEW");
    store::SetDataRoot("/d/");
    store::SetCurrentAdministrationFolder("DEMO");
    text::SystemSettings.CurrentUser = "ANNA";
  }

  void Store(const AdminSettingsRec& r, const std::string& path = kSettingsFile) {
    store.fs.SetFile(path, Bytes(r));
  }
  // Saves inside a set as the settings form does; whether it wrote.
  bool SaveInSet() {
    store::ScopedFileSet set("ADS");
    EXPECT_TRUE(set.Ok());
    return set.Ok() && store::SaveAdminSettings();
  }
};

// Another copy of the program saved the settings (a freeze moved the
// current period on) while these were loaded: a save here would undo it.
// The settings record's fields checked where the closing and the voucher
// saves read it: the record of a new administration, of a copy and of
// conversion 007 (no fiscal year) pass; each broken field is named.
TEST_F(AdminSettingsLoader, TheRecordsFieldsAreChecked) {
  // A new administration: the empty file gets its first record.
  store.fs.SetFile(kSettingsFile, "");
  ASSERT_FALSE(store::LoadAdminSettings());
  const AdminSettingsRec fresh = FromBytes(store.fs.File(kSettingsFile));
  EXPECT_EQ(store::SettingsRecordFault(fresh), "");
  EXPECT_EQ(store::SettingsRecordFault(books::administration::NewBookYearSettings(fresh, "20260101", "ANNA", "now")), "");
  records::AdminSettingsRecV1 old;
  old.Set<records::AdminSettingsRecV1::kBookYearStart>("20080101");
  old.Set<records::AdminSettingsRecV1::kBookYearEnd>("20081231");
  old.Set<records::AdminSettingsRecV1::kPeriodCount>(std::int16_t{1});
  for (const auto& [k, date] : {std::pair{1, "20080101"}, std::pair{2, "20090101"}}) {
    unsigned char* at = old.data() + records::AdminSettingsRecV1::kPeriodStartOffset + 9 * (k - 1);
    at[0] = 8;
    std::memcpy(at + 1, date, 8);
  }
  old.Set<records::AdminSettingsRecV1::kCurrentPeriod>("00/00");
  const std::string converted = store::ConvertedBytes(
      "007", store::FileCode::ADS,
      std::string_view(reinterpret_cast<const char*>(old.data()), records::AdminSettingsRecV1::kSize));
  const AdminSettingsRec conv = FromBytes(converted);
  EXPECT_EQ(conv.FiscalYear(), "");
  EXPECT_EQ(store::SettingsRecordFault(conv), "");

  struct Case {
    const char* name;
    std::function<void(AdminSettingsRec&)> change;
    std::string fault;
  };
  const std::vector<Case> cases = {
      {"start", [](AdminSettingsRec& r) { r.SetBookYearStart("2008"); }, "the book-year start \"2008\" is no date"},
      {"end", [](AdminSettingsRec& r) { r.SetBookYearEnd("20081331"); }, "the book-year end \"20081331\" is no date"},
      {"end before start", [](AdminSettingsRec& r) { r.SetBookYearEnd("20071231"); },
       "the book year ends (20071231) before it starts (20080101)"},
      {"no periods", [](AdminSettingsRec& r) { r.SetPeriodCount(0); }, "the number of periods is 0, not 1 to 15"},
      {"16 periods", [](AdminSettingsRec& r) { r.SetPeriodCount(16); }, "the number of periods is 16, not 1 to 15"},
      {"a period start",
       [](AdminSettingsRec& r) {
         r.SetPeriodCount(2);
         r.SetPeriodStart(2, "x");
       },
       "the start of period 2 \"x\" is no date"},
      {"periods out of order",
       [](AdminSettingsRec& r) {
         r.SetPeriodCount(2);
         r.SetPeriodStart(2, "20071201");
       },
       "period 2 starts before period 1"},
      {"current period after NN", [](AdminSettingsRec& r) { r.SetCurrentPeriod("03/02"); },
       "the current period \"03/02\" is no period"},
      {"current period beyond 15", [](AdminSettingsRec& r) { r.SetCurrentPeriod("01/16"); },
       "the current period \"01/16\" is no period"},
      {"last closed period", [](AdminSettingsRec& r) { r.SetLastClosedPeriod("1/12"); },
       "the last closed period \"1/12\" is no period"},
  };
  for (const Case& c : cases) {
    AdminSettingsRec r = fresh;
    c.change(r);
    EXPECT_EQ(store::SettingsRecordFault(r), c.fault) << c.name;
  }
  AdminSettingsRec closed = fresh;
  closed.SetLastClosedPeriod("12/12");
  closed.SetCurrentPeriod("01/12");
  EXPECT_EQ(store::SettingsRecordFault(closed), "");
}

TEST_F(AdminSettingsLoader, ASaveRefusesWhenAnotherCopySavedMeanwhile) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  AdminSettingsRec other = StoredRecord();
  other.SetCurrentPeriod("04/12");
  Store(other);
  AdminSettingsValues.CompanyName = "edited here";
  EXPECT_FALSE(SaveInSet());
  EXPECT_EQ(store.fs.File(kSettingsFile), Bytes(other)) << "the other copy's save stays";
  EXPECT_EQ(AdminSettingsValues.CompanyName, "edited here") << "what was typed stays";
}

TEST_F(AdminSettingsLoader, SavesFollowEachOtherWhenNoOtherCopyWrote) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  AdminSettingsValues.CompanyName = "first";
  EXPECT_TRUE(SaveInSet());
  AdminSettingsValues.CompanyName = "second";
  EXPECT_TRUE(SaveInSet()) << "its own save is not another copy's";
  EXPECT_EQ(support::Record<AdminSettingsRec>(store.fs.File(kSettingsFile)).CompanyName(), "second");
}

TEST_F(AdminSettingsLoader, ARecordGoesOntoTheFormValues) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  const auto& v = AdminSettingsValues;
  EXPECT_EQ(Bytes(AdminSettings), Bytes(StoredRecord()));
  EXPECT_EQ(v.CompanyName, "Acme Trading");
  EXPECT_EQ(v.TaxRegistrationId, "NL001234567B01");
  EXPECT_EQ(v.Email, "info@acme.example");
  EXPECT_EQ(v.ChangedBy, "ANNA");
  EXPECT_EQ(Ymd(v.BookYearStart), "20080401");
  EXPECT_EQ(Ymd(v.BookYearEnd), "20090331");
  EXPECT_EQ(Ymd(v.BookYearEndMinimum), "20080402");
  EXPECT_EQ(v.PeriodCountText, "04");
  EXPECT_EQ(Ymd(v.PeriodStart[1]), "20080701");
  EXPECT_EQ(Ymd(v.PeriodStart[4]), "20090401");
  EXPECT_EQ(Ymd(v.PeriodStart[14]), "20080401");  // all fifteen, whatever the count
  EXPECT_TRUE(v.NoSalesTaxAccounts);
  EXPECT_EQ(v.CurrencyCode, "EUR");
  EXPECT_EQ(v.FiscalYear, "2008");
  EXPECT_EQ(v.ApprovedAnnualBalance, "2007");
  EXPECT_EQ(v.LastClosedPeriod, "01/04");
  EXPECT_EQ(v.CurrentAnnualBalance, "0809");
  EXPECT_EQ(v.CurrentPeriod, "02/04");
  EXPECT_EQ(v.JournalNames[0], "Verkoopboek");
  EXPECT_EQ(v.JournalNames[5], "Diversen");
  EXPECT_EQ(v.JournalFlags, (std::array<bool, 6>{true, false, false, true, true, true}));
  EXPECT_TRUE(v.SplitJournals);
  EXPECT_EQ(store::ProfitAccountNumberText, "0500");
  EXPECT_EQ(store::ProfitAccountCaptionText, "Retained earnings");
  EXPECT_TRUE(store::AdminSettingsRepairedFields.empty());
  EXPECT_FALSE(store::FileSetOpen);
}

struct Shown {
  const char* name;
  std::int16_t periodCount;
  std::string split;
  std::string flag;
  std::string countText;
  bool splitChecked;
  bool flagChecked;
};

class AdminSettingsShown : public AdminSettingsLoader, public ::testing::WithParamInterface<Shown> {};

TEST_P(AdminSettingsShown, FollowTheDisplayRules) {
  const Shown& p = GetParam();
  AdminSettingsRec r = StoredRecord();
  r.SetPeriodCount(p.periodCount);
  r.SetSplitJournals(p.split);
  r.SetJournal1CustomerFlag(p.flag);
  Store(r);
  store::LoadAdminSettings();
  EXPECT_EQ(AdminSettingsValues.PeriodCountText, p.countText);
  EXPECT_EQ(AdminSettingsValues.SplitJournals, p.splitChecked);
  EXPECT_EQ(AdminSettingsValues.JournalFlags[0], p.flagChecked);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdminSettingsShown,
                         ::testing::Values(Shown{"FourPeriods", 4, "true", "true", "04", true, true},
                                           Shown{"TwelvePeriods", 12, "false", "false", "12", false, false},
                                           Shown{"EmptySplitIsChecked", 1, "", "", "01", true, false},
                                           Shown{"UpperCaseFlagIsNotSet", 15, "FALSE", "TRUE", "15", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdminSettingsLoader, SaveRoundTripKeepsTheRecordByteForByte) {
  // Two records in the file: the save leaves one.
  store.fs.SetFile(kSettingsFile, Bytes(StoredRecord()) + Bytes(StoredRecord()));
  store::LoadAdminSettings();
  SaveInSet();
  EXPECT_EQ(store.fs.File(kSettingsFile), Bytes(StoredRecord()));
  SaveInSet();
  EXPECT_EQ(store.fs.File(kSettingsFile).size(), 1386u);
}

TEST_F(AdminSettingsLoader, SaveTakesTheFormValuesAndStamps) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  clock.Set(platform::EncodeDate(2024, 6, 1) + platform::EncodeTime(9, 5, 7, 0));
  text::SystemSettings.CurrentUser = "BERNADETTE_X";
  auto& v = AdminSettingsValues;
  v.CompanyName = std::string(60, 'c');
  v.BookYearStart = Day("20090401");
  v.BookYearEnd = Day("20100331");
  v.PeriodStart[1] = Day("20091001");
  v.PeriodCountText = "02";
  v.SplitJournals = false;
  v.JournalFlags[1] = true;
  v.JournalNames[3] = "Kas 2";
  v.CurrentPeriod = "00/02";
  store::ProfitAccountNumberText = std::string(25, '9');
  store::ProfitAccountCaptionText = "Profit";
  SaveInSet();

  const AdminSettingsRec r = FromBytes(store.fs.File(kSettingsFile));
  EXPECT_EQ(r.CompanyName(), std::string(50, 'c'));
  EXPECT_EQ(r.ChangedAt(), "01-06-2024 09:05:07");
  EXPECT_EQ(r.ChangedBy(), "BERNADETTE");
  EXPECT_EQ(r.BookYearStart(), "20090401");
  EXPECT_EQ(r.BookYearEnd(), "20100331");
  EXPECT_EQ(r.PeriodStart(2), "20091001");
  EXPECT_EQ(r.PeriodCount(), 2);
  EXPECT_EQ(r.SplitJournals(), "false");
  EXPECT_EQ(r.Journal1SupplierFlag(), "true");
  EXPECT_EQ(r.Journal1CustomerFlag(), "true");
  EXPECT_EQ(r.OptionalJournalName1(), "Kas 2");
  EXPECT_EQ(r.CurrentPeriod(), "00/02");
  EXPECT_EQ(r.ProfitAccountNumber(), std::string(20, '9'));
  EXPECT_EQ(r.ProfitAccountCaption(), "Profit");
  // Not the form's: they keep what the record held.
  EXPECT_EQ(r.CompanyShortName(), "Acme");
  EXPECT_EQ(r.CreatedBy(), "PIET");
  EXPECT_EQ(r.CreatedAt(), "01-04-2008 08:00:00");
  EXPECT_EQ(Bytes(AdminSettings), store.fs.File(kSettingsFile));
  EXPECT_EQ(AdminSettingsValues.ChangedAt, "01-06-2024 09:05:07");
}

TEST_F(AdminSettingsLoader, ANumberOfPeriodsThatIsNoItemCountsAsOne) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  const std::vector<std::pair<std::string, int>> cases = {
      {"04", 4}, {"4", 4}, {"15", 15}, {"16", 1}, {"00", 1}, {"", 1}, {"x1", 1}, {"-1", 1}};
  for (const auto& [text, count] : cases) {
    AdminSettingsValues.PeriodCountText = text;
    SaveInSet();
    EXPECT_EQ(FromBytes(store.fs.File(kSettingsFile)).PeriodCount(), count) << text;
    EXPECT_EQ(AdminSettingsValues.PeriodCountText, store::PeriodCountText(count)) << text;
  }
}

TEST_F(AdminSettingsLoader, ANewAdministrationGetsTheDefaults) {
  store::LoadAdminSettings();
  const std::string file = store.fs.File(kSettingsFile);
  ASSERT_EQ(file.size(), 1386u);
  const AdminSettingsRec r = FromBytes(file);
  EXPECT_EQ(r.BookYearStart(), "20080101");
  EXPECT_EQ(r.BookYearEnd(), "20081231");
  EXPECT_EQ(r.PeriodCount(), 1);
  EXPECT_EQ(r.PeriodStart(1), "20080101");
  for (int k = 2; k <= 15; ++k) EXPECT_EQ(r.PeriodStart(k), "20090101") << k;
  EXPECT_EQ(r.CurrencyCode(), "EUR");
  EXPECT_EQ(r.FiscalYear(), "2008");
  EXPECT_EQ(r.CurrentAnnualBalance(), "2008");
  EXPECT_EQ(r.CurrentPeriod(), "00/00");
  EXPECT_EQ(r.ApprovedAnnualBalance(), "");
  EXPECT_EQ(r.LastClosedPeriod(), "");
  EXPECT_FALSE(r.NoSalesTaxAccounts());
  EXPECT_EQ(r.ProfitAccountNumber(), "");
  EXPECT_EQ(r.ProfitAccountCaption(), "");
  EXPECT_EQ(r.SalesBookName(), "Sales Book");
  EXPECT_EQ(r.PurchaseBookName(), "Purchase Book");
  EXPECT_EQ(r.DayBookName(), "Daybook");
  for (int j = 3; j < 6; ++j) EXPECT_EQ(r.JournalName(j), "") << j;
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r.JournalFlag(i), "false") << i;
  EXPECT_EQ(r.SplitJournals(), "true");
  EXPECT_EQ(r.ChangedAt(), "05-03-2024 14:30:00");
  EXPECT_EQ(r.ChangedBy(), "ANNA");
  EXPECT_EQ(r.CompanyName(), "");
  EXPECT_EQ(r.CreatedBy(), "");
  EXPECT_EQ(AdminSettingsValues.PeriodCountText, "01");
  EXPECT_EQ(Bytes(AdminSettings), file);
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(AdminSettingsLoader, ANewAdministrationTakesNothingFromTheOneLoadedBefore) {
  // What a new administration gets in a fresh program...
  store::SetCurrentAdministrationFolder("NEW");
  store::LoadAdminSettings();
  const std::string fresh = store.fs.File("/d/NEW/adminset.vlk");
  store.fs.Delete("/d/NEW/adminset.vlk");
  store::ResetAdminSettingsState();

  // ...it also gets after another administration was loaded and edited.
  store::SetCurrentAdministrationFolder("DEMO");
  Store(StoredRecord());
  store::LoadAdminSettings();
  AdminSettingsValues.JournalNames[0] = "Edited";
  store::ProfitAccountNumberText = "0600";
  store::SetCurrentAdministrationFolder("NEW");
  store::LoadAdminSettings();
  EXPECT_EQ(store.fs.File("/d/NEW/adminset.vlk"), fresh);
  EXPECT_EQ(store::ProfitAccountNumberText, "");
  EXPECT_EQ(AdminSettingsValues.JournalNames[0], "Sales Book");
}

struct BadDates {
  const char* name;
  std::string start, end, period1, period7, period13;
  std::int16_t count;
  // Expected after the load.
  std::string wantStart, wantEnd, wantPeriod7, wantPeriod13;
  std::vector<std::string> repaired;
};

class AdminSettingsBadDates : public AdminSettingsLoader, public ::testing::WithParamInterface<BadDates> {};

TEST_P(AdminSettingsBadDates, AreReplacedAndTheLoadGoesOn) {
  const BadDates& p = GetParam();
  AdminSettingsRec r = StoredRecord();
  r.SetBookYearStart(p.start);
  r.SetBookYearEnd(p.end);
  r.SetPeriodCount(p.count);
  for (int k = 1; k <= 15; ++k) r.SetPeriodStart(k, "20080601");
  r.SetPeriodStart(1, p.period1);
  r.SetPeriodStart(7, p.period7);
  r.SetPeriodStart(13, p.period13);
  Store(r);

  store::LoadAdminSettings();
  const auto& v = AdminSettingsValues;
  EXPECT_EQ(Ymd(v.BookYearStart), p.wantStart);
  EXPECT_EQ(Ymd(v.BookYearEnd), p.wantEnd);
  EXPECT_EQ(Ymd(v.PeriodStart[6]), p.wantPeriod7);
  EXPECT_EQ(Ymd(v.PeriodStart[12]), p.wantPeriod13);
  EXPECT_EQ(store::AdminSettingsRepairedFields, p.repaired);
  // The copy the other units read holds the replacements too.
  EXPECT_EQ(AdminSettings.BookYearStart(), p.wantStart);
  EXPECT_EQ(AdminSettings.PeriodStart(7), p.wantPeriod7);
  // The fields after the bad one are shown all the same.
  EXPECT_EQ(v.JournalNames[5], "Diversen");
  EXPECT_EQ(v.CurrentPeriod, "02/04");
  EXPECT_TRUE(v.JournalFlags[5]);
  EXPECT_FALSE(store::FileSetOpen);

  // The next save stores the replacements.
  SaveInSet();
  const AdminSettingsRec saved = FromBytes(store.fs.File(kSettingsFile));
  EXPECT_EQ(saved.BookYearStart(), p.wantStart);
  EXPECT_EQ(saved.BookYearEnd(), p.wantEnd);
  EXPECT_EQ(saved.PeriodStart(13), p.wantPeriod13);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdminSettingsBadDates,
    ::testing::Values(
        // 2008 has 366 days: period 7 of 12 starts 182 days after 1 January.
        BadDates{"EmptyPeriodWithinTheYear", "20080101", "20081231", "20080101", "", "20080101", 12, "20080101",
                 "20081231", "20080701", "20080101", {"PeriodStart[7]"}},
        BadDates{"PeriodAfterTheLastTakesTheDayAfterTheYear", "20080101", "20081231", "20080101", "20080101",
                 "2008013x", 12, "20080101", "20081231", "20080101", "20090101", {"PeriodStart[13]"}},
        BadDates{"StartFromPeriodOne", "", "20090331", "20080401", "20080401", "20080401", 4, "20080401",
                 "20090331", "20080401", "20080401", {"BookYearStart"}},
        BadDates{"StartFromTheEndsYear", "2008-1-1", "20081231", "20080230", "20080101", "20080101", 1, "20080101",
                 "20081231", "20080101", "20080101", {"BookYearStart", "PeriodStart[1]"}},
        BadDates{"EndThatIsNoDate", "20080101", "20081331", "20080101", "20080101", "20080101", 1, "20080101",
                 "20081231", "20080101", "20080101", {"BookYearEnd"}},
        BadDates{"EndBeforeTheStart", "20080401", "20071231", "20080401", "20080401", "20080401", 4, "20080401",
                 "20090331", "20080401", "20080401", {"BookYearEnd"}},
        BadDates{"NothingValidTakesTodaysYear", "", "", "", "", "", 0, "20240101", "20241231", "20250101",
                 "20250101",
                 {"BookYearStart", "BookYearEnd", "PeriodStart[1]", "PeriodStart[7]", "PeriodStart[13]"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdminSettingsLoader, AnOpenFailureIsReportedAndChangesNothing) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  const std::string before = Bytes(AdminSettings);
  AdminSettingsValues.CompanyName = "on the form";
  store.fs.InjectError(kSettingsFile, FakeFileSystem::Op::OpenReadWrite, 5);
  const auto failure = store::LoadAdminSettings();
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->code, 5);
  EXPECT_TRUE(backend.messages.empty()) << "the loader shows nothing; the log-in does";
  EXPECT_EQ(Bytes(AdminSettings), before);
  EXPECT_EQ(AdminSettingsValues.CompanyName, "on the form");
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(AdminSettingsLoader, ASaveOutsideAnOpenSetIsAnErrorAndChangesNothing) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  const std::string before = Bytes(AdminSettings);
  AdminSettingsValues.CompanyName = "changed";
  EXPECT_THROW(store::SaveAdminSettings(), platform::IoError);
  EXPECT_EQ(Bytes(AdminSettings), before);
  EXPECT_EQ(store.fs.File(kSettingsFile), before);
}

// The book-year routines of the settings form, on a holder of its values.
// Every period element starts on a day that no proposal gives, so the
// elements a routine must leave alone show.
constexpr const char* kUntouched = "19990909";

store::AdminSettingsFormValues YearValues(const std::string& start, const std::string& end, const std::string& count,
                                          const std::string& lastClosed = "") {
  store::AdminSettingsFormValues v;
  v.BookYearStart = Day(start);
  v.BookYearEnd = Day(end);
  v.PeriodCountText = count;
  v.LastClosedPeriod = lastClosed;
  v.ApprovedAnnualBalance = "2007";
  v.PeriodStart.fill(Day(kUntouched));
  v.PeriodStart[0] = Day(start);
  return v;
}

// Elements 2, 3, ... as "YYYYMMDD": the `count` proposed ones, then
// whether every later one was left alone.
void ExpectPeriodsFrom2(const store::AdminSettingsFormValues& v, const std::vector<std::string>& want) {
  for (std::size_t i = 0; i < 14; ++i)
    EXPECT_EQ(Ymd(v.PeriodStart[i + 1]), i < want.size() ? want[i] : kUntouched) << "element " << i + 2;
}

struct Proposal {
  const char* name;
  std::string start, end, count, lastClosed;
  std::string wantCount, wantCurrent;
  std::vector<std::string> wantFrom2;  // elements 2 to N + 1
};

class PeriodProposal : public ::testing::TestWithParam<Proposal> {};

TEST_P(PeriodProposal, CutsTheBookYear) {
  const Proposal& p = GetParam();
  auto v = YearValues(p.start, p.end, p.count, p.lastClosed);
  store::ProposePeriods(v);
  EXPECT_EQ(v.PeriodCountText, p.wantCount);
  EXPECT_EQ(v.CurrentPeriod, p.wantCurrent);
  EXPECT_EQ(Ymd(v.PeriodStart[0]), p.start);
  EXPECT_EQ(Ymd(v.BookYearStart), p.start);
  EXPECT_EQ(Ymd(v.BookYearEnd), p.end);
  ExpectPeriodsFrom2(v, p.wantFrom2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeriodProposal,
    ::testing::Values(
        Proposal{"CalendarMonths", "20080101", "20081231", "12", "", "12", "00/00",
                 {"20080201", "20080301", "20080401", "20080501", "20080601", "20080701", "20080801", "20080901",
                  "20081001", "20081101", "20081201", "20090101"}},
        // The equal parts would give 04-01, 07-01, 09-30.
        Proposal{"CalendarQuarters", "20080101", "20081231", "04", "", "04", "00/00",
                 {"20080401", "20080701", "20081001", "20090101"}},
        Proposal{"TwelveEqualPartsOfAnAprilYear", "20080401", "20090331", "12", "", "12", "00/00",
                 {"20080501", "20080531", "20080701", "20080731", "20080830", "20080930", "20081030", "20081129",
                  "20081230", "20090129", "20090228", "20090401"}},
        Proposal{"FourEqualPartsOfAnAprilYear", "20080401", "20090331", "04", "", "04", "00/00",
                 {"20080701", "20080930", "20081230", "20090401"}},
        Proposal{"SixPeriodsAfterAClosedYear", "20080101", "20081231", "06", "12/12", "06", "01/06",
                 {"20080301", "20080501", "20080701", "20080831", "20081031", "20090101"}},
        // Fifteen periods leave no room for the day after the year.
        Proposal{"FifteenPeriods", "20080101", "20081231", "15", "", "15", "00/00",
                 {"20080125", "20080218", "20080314", "20080407", "20080501", "20080526", "20080619", "20080713",
                  "20080807", "20080831", "20080924", "20081019", "20081112", "20081206"}},
        Proposal{"NoItemCountsAsOnePeriod", "20080101", "20081231", "7", "12/12", "01", "01/01", {"20090101"}},
        Proposal{"EmptyCountCountsAsOnePeriod", "20080401", "20090331", "", "", "01", "00/00", {"20090401"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StartChange {
  const char* name;
  std::string start;
  std::string wantEnd, wantCurrentAnnualBalance;
  std::vector<std::string> wantFrom2;  // with four periods
};

class BookYearStart : public ::testing::TestWithParam<StartChange> {};

TEST_P(BookYearStart, DerivesTheYearAndProposesItsPeriods) {
  const StartChange& p = GetParam();
  auto v = YearValues("20080101", "20081231", "04");
  v.BookYearStart = Day(p.start);
  store::BookYearStartChanged(v);
  EXPECT_EQ(Ymd(v.PeriodStart[0]), p.start);
  EXPECT_EQ(Ymd(v.BookYearEnd), p.wantEnd);
  EXPECT_EQ(v.BookYearEndMinimum, Day(p.start) + 1);
  EXPECT_EQ(v.ApprovedAnnualBalance, "");
  EXPECT_EQ(v.CurrentAnnualBalance, p.wantCurrentAnnualBalance);
  ExpectPeriodsFrom2(v, p.wantFrom2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BookYearStart,
    ::testing::Values(StartChange{"FirstOfJanuary", "20080101", "20081231", "2008",
                                  {"20080401", "20080701", "20081001", "20090101"}},
                      StartChange{"FirstOfApril", "20080401", "20090331", "0809",
                                  {"20080701", "20080930", "20081230", "20090401"}},
                      // No 29 February a year later: the year ends on the 28th.
                      StartChange{"LeapDay", "20240229", "20250228", "2425",
                                  {"20240530", "20240829", "20241128", "20250301"}},
                      StartChange{"CenturyTurn", "20991001", "21000930", "9900",
                                  {"20991231", "21000401", "21000701", "21001001"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The closing state the year-end flow hands over in AdminSettings.
struct Closing {
  std::string approved, lastClosed, currentAnnual, current;
};

void HandOver(const Closing& c) {
  AdminSettings.SetApprovedAnnualBalance(c.approved);
  AdminSettings.SetLastClosedPeriod(c.lastClosed);
  AdminSettings.SetCurrentAnnualBalance(c.currentAnnual);
  AdminSettings.SetCurrentPeriod(c.current);
}

class ClosedPeriodFields : public AdminSettingsLoader {
 protected:
  // The stored record with another book year: `periods` are elements 1 to
  // N + 1, the later elements hold the start.
  AdminSettingsRec YearRecord(const std::string& start, const std::string& end,
                              const std::vector<std::string>& periods, const std::string& approved) {
    AdminSettingsRec r = StoredRecord();
    r.SetBookYearStart(start);
    r.SetBookYearEnd(end);
    r.SetPeriodCount(static_cast<std::int16_t>(periods.size() - 1));
    for (int k = 1; k <= 15; ++k)
      r.SetPeriodStart(k, k <= static_cast<int>(periods.size()) ? periods[k - 1] : start);
    r.SetApprovedAnnualBalance(approved);
    return r;
  }
  // As the year-end flow calls it: inside the freeze's open set.
  void ApplyInSet(bool moveYear) {
    int result = -1;
    store::OpenFileSet("FRZ;ADS;GLA;JVO;INV;PAY;", result);
    ASSERT_EQ(result, 0);
    store::ApplyClosedPeriodFields(moveYear);
    store::CloseFileSet();
  }
};

TEST_F(ClosedPeriodFields, WithoutMovingTheYearOnlyTheClosingStateChanges) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  const Closing c{"2007", "02/04", "0809", "03/04"};
  HandOver(c);
  ApplyInSet(false);

  // The stamps of the stored record are the ones this save gives.
  AdminSettingsRec want = StoredRecord();
  want.SetLastClosedPeriod(c.lastClosed);
  want.SetCurrentPeriod(c.current);
  const std::string file = store.fs.File(kSettingsFile);
  ASSERT_EQ(file.size(), 1386u);
  EXPECT_EQ(file, Bytes(want));
  EXPECT_EQ(AdminSettingsValues.LastClosedPeriod, "02/04");
  EXPECT_EQ(AdminSettingsValues.CurrentPeriod, "03/04");
  EXPECT_EQ(Ymd(AdminSettingsValues.BookYearStart), "20080401");
}

struct Move {
  const char* name;
  std::string start, end;
  std::vector<std::string> periods;  // stored elements 1 to N + 1
  std::string approvedBefore;
  Closing closing;
  std::string wantStart, wantEnd;
  std::vector<std::string> wantPeriods;  // elements 1 to N + 1
};

class ClosedYear : public ClosedPeriodFields, public ::testing::WithParamInterface<Move> {};

TEST_P(ClosedYear, MovesTheBookYearOnAndSaves) {
  const Move& p = GetParam();
  Store(YearRecord(p.start, p.end, p.periods, p.approvedBefore));
  store::LoadAdminSettings();
  HandOver(p.closing);
  ApplyInSet(true);

  const std::string file = store.fs.File(kSettingsFile);
  ASSERT_EQ(file.size(), 1386u);
  EXPECT_EQ(Bytes(AdminSettings), file);
  const AdminSettingsRec r = FromBytes(file);
  EXPECT_EQ(r.BookYearStart(), p.wantStart);
  EXPECT_EQ(r.BookYearEnd(), p.wantEnd);
  EXPECT_EQ(r.PeriodCount(), static_cast<std::int16_t>(p.periods.size() - 1));
  for (int k = 1; k <= 15; ++k)
    EXPECT_EQ(r.PeriodStart(k), k <= static_cast<int>(p.wantPeriods.size()) ? p.wantPeriods[k - 1] : p.start)
        << "element " << k;
  // The closing state is the one handed over, not the one the start change
  // derives.
  EXPECT_EQ(r.ApprovedAnnualBalance(), p.closing.approved);
  EXPECT_EQ(r.LastClosedPeriod(), p.closing.lastClosed);
  EXPECT_EQ(r.CurrentAnnualBalance(), p.closing.currentAnnual);
  EXPECT_EQ(r.CurrentPeriod(), p.closing.current);
  EXPECT_EQ(r.CompanyName(), "Acme Trading");
  EXPECT_EQ(Ymd(AdminSettingsValues.BookYearEndMinimum), text::DateToYmd(Day(p.wantStart) + 1));
  EXPECT_EQ(AdminSettingsValues.ApprovedAnnualBalance, p.closing.approved);

  // What the next load shows.
  store::ResetAdminSettingsState();
  store::LoadAdminSettings();
  EXPECT_EQ(Ymd(AdminSettingsValues.BookYearStart), p.wantStart);
  EXPECT_EQ(Ymd(AdminSettingsValues.PeriodStart[1]), p.wantPeriods[1]);
  EXPECT_TRUE(store::AdminSettingsRepairedFields.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosedYear,
    ::testing::Values(
        Move{"CalendarYearOfTwelveMonths", "20240101", "20241231",
             {"20240101", "20240201", "20240301", "20240401", "20240501", "20240601", "20240701", "20240801",
              "20240901", "20241001", "20241101", "20241201", "20250101"},
             "2023", {"2024", "12/12", "2025", "01/12"}, "20250101", "20251231",
             {"20250101", "20250201", "20250301", "20250401", "20250501", "20250601", "20250701", "20250801",
              "20250901", "20251001", "20251101", "20251201", "20260101"}},
        Move{"JulyYearOfFourParts", "20230701", "20240630",
             {"20230701", "20231001", "20240101", "20240401", "20240701"}, "2223", {"2324", "04/04", "2425", "01/04"},
             "20240701", "20250630", {"20240701", "20240930", "20241230", "20250331", "20250701"}},
        // A year that ended on 28 February of a leap year.
        Move{"StartOnALeapDay", "20230301", "20240228", {"20230301", "20240229"}, "2223",
             {"2324", "01/01", "2425", "01/01"}, "20240229", "20250228", {"20240229", "20250301"}},
        // The first freeze closes the year before the first book year (the
        // opening balance): the book year stays.
        Move{"FirstFreezeKeepsTheStart", "20240101", "20241231",
             {"20240101", "20240401", "20240701", "20241001", "20250101"}, "", {"2023", "01/01", "2024", "01/04"},
             "20240101", "20241231", {"20240101", "20240401", "20240701", "20241001", "20250101"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClosedPeriodFields, AnUnusableDateStopsTheMoveBeforeAnythingChanges) {
  struct Case {
    const char* name;
    std::string approved;  // decides which date the new start comes from
    bool badEnd;
    platform::TDateTime bad;
  };
  const std::vector<Case> cases = {
      {"end of a closed year that is no date", "2007", true, std::nan("")},
      {"start of the first year outside the program's years", "", false, platform::EncodeDate(1850, 1, 1)}};
  for (const Case& c : cases) {
    AdminSettingsRec stored = StoredRecord();
    stored.SetApprovedAnnualBalance(c.approved);
    Store(stored);
    store::LoadAdminSettings();
    (c.badEnd ? AdminSettingsValues.BookYearEnd : AdminSettingsValues.BookYearStart) = c.bad;
    const store::AdminSettingsFormValues before = AdminSettingsValues;
    HandOver({"2008", "04/04", "0910", "01/04"});
    const std::string handedOver = Bytes(AdminSettings);

    int result = -1;
    store::OpenFileSet("ADS", result);
    bool moveYear = true;
    EXPECT_THROW(store::ApplyClosedPeriodFields(moveYear), platform::ConversionError) << c.name;
    store::CloseFileSet();
    EXPECT_EQ(store.fs.File(kSettingsFile), Bytes(stored)) << c.name;
    EXPECT_EQ(Bytes(AdminSettings), handedOver) << c.name;
    EXPECT_EQ(AdminSettingsValues.ApprovedAnnualBalance, before.ApprovedAnnualBalance) << c.name;
    EXPECT_EQ(AdminSettingsValues.CurrentPeriod, before.CurrentPeriod) << c.name;
    EXPECT_EQ(AdminSettingsValues.PeriodStart, before.PeriodStart) << c.name;
  }
}

TEST_F(ClosedPeriodFields, AnotherCopysSaveMeanwhileFailsAndPutsTheFormValuesBack) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  AdminSettingsRec other = StoredRecord();
  other.SetCompanyName("renamed elsewhere");
  Store(other);
  HandOver({"2008", "04/04", "0910", "01/04"});
  bool moveYear = true;
  store::ScopedFileSet set("ADS");
  ASSERT_TRUE(set.Ok());
  EXPECT_THROW(store::ApplyClosedPeriodFields(moveYear), platform::IoError);
  EXPECT_EQ(store.fs.File(kSettingsFile), Bytes(other));
  EXPECT_EQ(Ymd(AdminSettingsValues.BookYearStart), "20080401");
}

TEST_F(ClosedPeriodFields, AFailingSavePutsTheFormValuesBack) {
  Store(StoredRecord());
  store::LoadAdminSettings();
  const std::string stored = Bytes(AdminSettings);
  HandOver({"2008", "04/04", "0910", "01/04"});
  bool moveYear = true;
  // No open set names the settings file.
  EXPECT_THROW(store::ApplyClosedPeriodFields(moveYear), platform::IoError);
  EXPECT_EQ(store.fs.File(kSettingsFile), stored);
  EXPECT_EQ(Ymd(AdminSettingsValues.BookYearStart), "20080401");
  EXPECT_EQ(Ymd(AdminSettingsValues.PeriodStart[1]), "20080701");
  EXPECT_EQ(AdminSettingsValues.ApprovedAnnualBalance, "2007");
  EXPECT_EQ(AdminSettingsValues.CurrentAnnualBalance, "0809");
}

}  // namespace
