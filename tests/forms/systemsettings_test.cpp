// The system-parameter record and the system-settings form: the record's
// bytes, the first run, the installer hint, the news page, saving (with the
// data folder created first), cancelling, and the sample amounts.
#include <gtest/gtest.h>

#include "formkit/rowlist.h"
#include "platform/errors.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/numberformat.h"
#include "platform/oserror.h"
#include "records/systemparamrec.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "program/startschermunit.h"
#include "store/session.h"
#include "system/systemscreen.h"
#include "text/systemsettings.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "ui/headless.h"
#include "formkit/website.h"

namespace {

using records::SystemParamRec;
using support::FakeFileSystem;

const std::string kSysPath = "/w/sysparm010000.vlk";
const std::string kInsPath = "/w/ins.vlk";
const std::string kFrancais = "Fran\xe7" "ais";
const std::string kEuro = "\x80";

// Raw writers for fixtures, at offsets written out here (not taken from the
// record type), so that the tests check the type's offsets.
void PutString(std::string& b, std::size_t offset, std::string_view s) {
  b[offset] = static_cast<char>(s.size());
  std::memcpy(&b[offset + 1], s.data(), s.size());
}
void PutDouble(std::string& b, std::size_t offset, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  for (int i = 0; i < 8; ++i) b[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}
void PutInt16(std::string& b, std::size_t offset, std::int16_t v) {
  b[offset] = static_cast<char>(v & 0xFF);
  b[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// An 816-byte record whose every byte that no field covers (reserved
// blocks, pads, unused bytes, the bytes after each string's length) is
// non-zero.
std::string Fixture() {
  std::string b(816, '\xA5');
  PutString(b, 9, "Main Street 1");
  PutString(b, 40, "1234 AB");
  PutString(b, 56, "Utrecht");
  PutString(b, 87, "Building C");
  PutString(b, 118, "Netherlands");
  PutString(b, 149, "030-1234567");
  PutString(b, 170, "030-7654321");
  PutString(b, 191, "info@example.com");
  PutString(b, 222, "www.example.com");
  PutString(b, 365, "01-02-2023 08:09:10");
  PutString(b, 386, "ANNA");
  PutString(b, 397, kFrancais);
  b[418] = 1;
  b[419] = 1;
  b[420] = 1;
  PutString(b, 421, "High");
  PutDouble(b, 440, 21.0);
  PutString(b, 448, "Low");
  PutDouble(b, 464, 9.0);
  PutString(b, 472, "Zero");
  PutDouble(b, 488, 0.0);
  PutString(b, 496, "EU");
  PutDouble(b, 512, 7.125);
  PutString(b, 520, "");
  PutDouble(b, 536, 0.0);
  PutString(b, 544, "");
  PutDouble(b, 560, 0.0);
  PutString(b, 568, "Ombrelo Test B.V.");
  PutString(b, 669, "/data/books/");
  PutInt16(b, 772, 3);
  b[774] = '$';
  PutString(b, 775, "U");
  PutString(b, 777, "20990101");
  b[787] = 'F';
  PutString(b, 794, "ANNA");
  return b;
}

SystemParamRec FromBytes(const std::string& b) { return support::Record<SystemParamRec>(b); }

TEST(SystemParamRecTest, EveryFieldAtItsOffsetAndEveryOtherByteKept) {
  const std::string fixture = Fixture();
  const SystemParamRec r = FromBytes(fixture);
  EXPECT_EQ(r.Address(), "Main Street 1");
  EXPECT_EQ(r.ZipCode(), "1234 AB");
  EXPECT_EQ(r.Town(), "Utrecht");
  EXPECT_EQ(r.AddressExtra(), "Building C");
  EXPECT_EQ(r.Country(), "Netherlands");
  EXPECT_EQ(r.Telephone(), "030-1234567");
  EXPECT_EQ(r.Fax(), "030-7654321");
  EXPECT_EQ(r.Email(), "info@example.com");
  EXPECT_EQ(r.Website(), "www.example.com");
  EXPECT_EQ(r.SavedAt(), "01-02-2023 08:09:10");
  EXPECT_EQ(r.SavedBy(), "ANNA");
  EXPECT_EQ(r.LanguageName(), kFrancais);
  EXPECT_TRUE(r.UserIdentification());
  EXPECT_TRUE(r.PasswordProtection());
  EXPECT_TRUE(r.AuthorisationLevels());
  const std::vector<std::string> names = {"High", "Low", "Zero", "EU", "", ""};
  const std::vector<double> rates = {21.0, 9.0, 0.0, 7.125, 0.0, 0.0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(r.TaxRateName(i), names[i]) << i;
    EXPECT_EQ(r.TaxRate(i), rates[i]) << i;
  }
  EXPECT_EQ(r.CompanyName(), "Ombrelo Test B.V.");
  EXPECT_EQ(r.DataFolder(), "/data/books/");
  EXPECT_EQ(r.AmountDecimals(), 3);
  EXPECT_EQ(r.CurrencySign(), '$');
  EXPECT_EQ(r.TipsAndNews(), "U");
  EXPECT_EQ(r.NextNewsDate(), "20990101");
  EXPECT_EQ(r.CurrencyInFront(), 'F');
  EXPECT_EQ(r.CurrentUser(), "ANNA");

  // Writing every field back with the value read gives the same bytes.
  SystemParamRec w = r;
  w.SetAddress(r.Address());
  w.SetZipCode(r.ZipCode());
  w.SetTown(r.Town());
  w.SetAddressExtra(r.AddressExtra());
  w.SetCountry(r.Country());
  w.SetTelephone(r.Telephone());
  w.SetFax(r.Fax());
  w.SetEmail(r.Email());
  w.SetWebsite(r.Website());
  w.SetSavedAt(r.SavedAt());
  w.SetSavedBy(r.SavedBy());
  w.SetLanguageName(r.LanguageName());
  w.SetUserIdentification(r.UserIdentification());
  w.SetPasswordProtection(r.PasswordProtection());
  w.SetAuthorisationLevels(r.AuthorisationLevels());
  for (int i = 0; i < 6; ++i) {
    w.SetTaxRateName(i, r.TaxRateName(i));
    w.SetTaxRate(i, r.TaxRate(i));
  }
  w.SetCompanyName(r.CompanyName());
  w.SetDataFolder(r.DataFolder());
  w.SetAmountDecimals(r.AmountDecimals());
  w.SetCurrencySign(r.CurrencySign());
  w.SetTipsAndNews(r.TipsAndNews());
  w.SetNextNewsDate(r.NextNewsDate());
  w.SetCurrencyInFront(r.CurrencyInFront());
  w.SetCurrentUser(r.CurrentUser());
  EXPECT_EQ(support::Bytes(w), fixture);

  // The euro sign is the code page's byte 0x80.
  w.SetCurrencySign('\x80');
  EXPECT_EQ(static_cast<unsigned char>(support::Bytes(w)[774]), 0x80);
}

TEST(InstallHintRecTest, ThreeBytes) {
  records::InstallHintRec h;
  h.SetLanguageCode("NLX");
  EXPECT_EQ(support::Bytes(h), "\x02NL");
}

TEST(SystemSettingsRoutines, NewsPageByLanguage) {
  for (auto [lang, page] : std::vector<std::pair<std::string, std::string>>{
           {"Nederlands", "newsnl.html"}, {"Deutsch", "newsde.html"}, {"English", "newsgb.html"},
           {kFrancais, "newsgb.html"}, {"", "newsgb.html"}}) {
    const std::string url = formkit::NewsPageUrl(lang);
    EXPECT_EQ(url.substr(url.size() - page.size()), page) << lang;
    EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
  }
}

TEST(SystemSettingsRoutines, RateTextIsShortestAndUsesTheLocaleSeparator) {
  platform::ScopedNumberFormat comma(',');
  EXPECT_EQ(systemforms::RateText(21.0), "21");
  EXPECT_EQ(systemforms::RateText(7.125), "7,125");
  EXPECT_EQ(systemforms::RateText(0.1), "0,1");
  EXPECT_EQ(systemforms::RateText(-0.0), "0");
  EXPECT_EQ(systemforms::RateText(std::numeric_limits<double>::quiet_NaN()), "0");
}

// --- the form ----------------------------------------------------------------

class SystemSettingsForm : public ::testing::Test {
 protected:
  // 15 March 2024, 10:20:30.
  static platform::TDateTime Today() {
    return platform::ComposeDateTime(platform::EncodeDate(2024, 3, 15), platform::EncodeTime(10, 20, 30, 0));
  }

  void WriteRecord(const std::string& bytes) { store.fs.SetFile(kSysPath, bytes); }
  SystemParamRec StoredRecord() const {
    const std::string b = store.fs.File(kSysPath);
    EXPECT_EQ(b.size(), 816u);
    return b.size() == 816 ? FromBytes(b) : SystemParamRec{};
  }
  // A fixture record with some fields changed.
  template <class F>
  void WriteFixture(F change) {
    SystemParamRec r = FromBytes(Fixture());
    change(r);
    WriteRecord(support::Bytes(r));
  }
  bool MessageShown(const std::string& start) const {
    for (const auto& m : backend.messages)
      if (m.text.rfind(start, 0) == 0) return true;
    return false;
  }

  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  platform::ScopedFixedClock clock{Today()};
  platform::ScopedNumberFormat numbers{'.'};
  systemforms::Tsystemscherm form;
};

TEST_F(SystemSettingsForm, FirstRunWritesExplicitDefaultsInsideTheStartupSet) {
  int result = -1;
  store::OpenFileSet("USE;SYS;ADM;LAN;INS", result);
  ASSERT_EQ(result, 0);
  form.FormCreate();
  // The save inside the creation leaves the start-up set to its owner.
  EXPECT_TRUE(store::FileSetOpen);
  EXPECT_EQ(store::FileSetDepth, 0);
  store::CloseFileSet();

  EXPECT_TRUE(form.FirstRun);
  const SystemParamRec r = StoredRecord();
  EXPECT_EQ(r.LanguageName(), "English");
  EXPECT_EQ(r.AmountDecimals(), 2);
  EXPECT_EQ(r.CurrencySign(), '\x80');
  EXPECT_EQ(r.CurrencyInFront(), 'T');
  EXPECT_EQ(r.TipsAndNews(), "T");
  EXPECT_EQ(r.NextNewsDate(), "20240315");
  EXPECT_EQ(r.DataFolder(), "/w/data/");
  EXPECT_EQ(r.SavedAt(), "15-03-2024 10:20:30");
  EXPECT_FALSE(r.UserIdentification());
  EXPECT_FALSE(r.PasswordProtection());
  EXPECT_EQ(r.CompanyName(), "");
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(r.TaxRateName(i), "");
    EXPECT_EQ(r.TaxRate(i), 0.0);
  }
  // The program-wide settings and the data store follow.
  EXPECT_EQ(text::SystemSettings.AmountDecimals, 2);
  EXPECT_EQ(text::SystemSettings.CurrencySign, '\x80');
  EXPECT_EQ(text::SystemSettings.CurrencyInFront, 'T');
  EXPECT_EQ(store::DataRootFolder, "/w/data/");
  EXPECT_EQ(store::DataRoot(), "/w/data/");
  EXPECT_EQ(store.fs.File(kInsPath), "\x02XX");
  EXPECT_TRUE(backend.urlsOpened.empty());
  EXPECT_TRUE(backend.messages.empty());

  // The second creation (after the first showing) finds the record.
  systemforms::Tsystemscherm again;
  again.FormCreate();
  EXPECT_FALSE(again.FirstRun);
  EXPECT_EQ(again.ComboBox1.GetText(), "English");
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(SystemSettingsForm, InstallerHintPresetsTheLanguageOnce) {
  struct Case {
    std::optional<std::string> hint;  // nullopt: a hint file without a record
    std::string language;
  };
  const std::vector<Case> cases = {
      {"DU", "Deutsch"}, {"GB", "English"}, {"NL", "Nederlands"}, {"XX", kFrancais}, {std::nullopt, kFrancais}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hint.value_or("(empty)"));
    WriteRecord(Fixture());  // stores "Français"
    store.fs.SetFile(kInsPath, c.hint ? std::string(1, static_cast<char>(c.hint->size())) + *c.hint : "");
    {
      systemforms::Tsystemscherm f;
      f.FormCreate();
      EXPECT_EQ(f.ComboBox1.GetText(), c.language);
      EXPECT_EQ(store::SystemParams.LanguageName(), c.language);
    }
    EXPECT_EQ(store.fs.File(kInsPath), "\x02XX");
    // The next start keeps the stored language.
    systemforms::Tsystemscherm next;
    next.FormCreate();
    EXPECT_EQ(next.ComboBox1.GetText(), kFrancais);
  }
}

TEST_F(SystemSettingsForm, InstallerHintAppliesToTheFirstRunAndTheUsersChoiceStays) {
  store.fs.SetFile(kInsPath, "\x02NL");
  form.FormCreate();
  EXPECT_TRUE(form.FirstRun);
  EXPECT_EQ(form.ComboBox1.GetText(), "Nederlands");
  EXPECT_EQ(StoredRecord().LanguageName(), "Nederlands");
  EXPECT_EQ(store.fs.File(kInsPath), "\x02XX");

  // The user picks German on the first showing; the creation that follows
  // keeps it.
  form.ComboBox1.UserSelect(form.ComboBox1.IndexOf("Deutsch"));
  form.opslaanExecute();
  systemforms::Tsystemscherm again;
  again.FormCreate();
  EXPECT_EQ(again.ComboBox1.GetText(), "Deutsch");
}

TEST_F(SystemSettingsForm, NewsPageCheck) {
  struct Case {
    std::string stored, tips, language;
    std::string expected;  // the next news date afterwards
    std::string page;      // the page opened, "" for none
  };
  const std::vector<Case> cases = {
      // Three years ago: moved on in steps of 90 days past today.
      {"20210301", "T", "Nederlands", "20240514", "newsnl.html"},
      {"20210301", "U", "Deutsch", "20240514", "newsde.html"},
      {"20240314", "T", "English", "20240612", "newsgb.html"},
      // The news page is off.
      {"20210301", "F", "English", "20210301", ""},
      {"20210301", "G", "English", "20210301", ""},
      // Not due.
      {"20240315", "T", "English", "20240315", ""},
      {"20240316", "U", "English", "20240316", ""},
      // No date, or no valid one: today.
      {"", "T", "English", "20240315", ""},
      {"abc", "T", "English", "20240315", ""},
      {"20241345", "T", "English", "20240315", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored + " " + c.tips);
    backend.urlsOpened.clear();
    backend.messages.clear();
    WriteFixture([&](SystemParamRec& r) {
      r.SetNextNewsDate(c.stored);
      r.SetTipsAndNews(c.tips);
      r.SetLanguageName(c.language);
    });
    systemforms::Tsystemscherm f;
    f.FormCreate();
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(store::SystemParams.NextNewsDate(), c.expected);
    if (c.page.empty()) {
      EXPECT_TRUE(backend.urlsOpened.empty());
      EXPECT_TRUE(backend.messages.empty());
      EXPECT_EQ(StoredRecord().NextNewsDate(), c.stored);  // nothing written
    } else {
      ASSERT_EQ(backend.urlsOpened.size(), 1u);
      const std::string& url = backend.urlsOpened[0];
      EXPECT_EQ(url.substr(url.size() - c.page.size()), c.page);
      EXPECT_TRUE(MessageShown(systemforms::MsgNewsPage));
      EXPECT_EQ(StoredRecord().NextNewsDate(), c.expected);  // saved
    }
  }
}

TEST_F(SystemSettingsForm, SaveWritesTheFormAndKeepsEveryOtherByte) {
  const std::string fixture = Fixture();
  WriteRecord(fixture);
  form.FormCreate();
  EXPECT_EQ(form.ComboBox1.GetText(), kFrancais);
  EXPECT_EQ(form.Edit9.GetText(), "/data/books/");
  EXPECT_EQ(form.RateLines[3].Rate.GetText(), "7.125");  // not cut by the rate filter
  form.opslaanExecute();

  const std::string saved = store.fs.File(kSysPath);
  ASSERT_EQ(saved.size(), 816u);
  // Everything but the save stamp (bytes 365..396) as it was.
  EXPECT_EQ(saved.substr(0, 365), fixture.substr(0, 365));
  EXPECT_EQ(saved.substr(397), fixture.substr(397));
  const SystemParamRec r = FromBytes(saved);
  EXPECT_EQ(r.SavedAt(), "15-03-2024 10:20:30");
  EXPECT_EQ(r.SavedBy(), "ANNA");
  EXPECT_EQ(form.Edit15.GetText(), "ANNA");
  EXPECT_EQ(form.Edit16.GetText(), "15-03-2024 10:20:30");
  EXPECT_FALSE(store::FileSetOpen);
  EXPECT_EQ(text::SystemSettings.AmountDecimals, 3);
  EXPECT_EQ(text::SystemSettings.CurrencySign, '$');
  EXPECT_EQ(text::SystemSettings.CurrencyInFront, 'F');
}

// Another copy saved its settings while this form was open: the Save
// refuses, writes nothing and keeps what was typed; showing the form again
// reads what the other copy saved, and that Save goes through.
TEST_F(SystemSettingsForm, SaveRefusesWhenAnotherCopyChangedTheFileAndAShowingReadsItAgain) {
  WriteRecord(Fixture());
  form.FormCreate();
  backend.scripts["systemscherm"] = [&](ui::Form&) {
    form.Edit1.UserSetText("Mine");
    WriteFixture([](SystemParamRec& r) { r.SetCompanyName("Theirs"); });
    form.Button2.UserClick();
    EXPECT_TRUE(form.InModalLoop());
    EXPECT_EQ(form.Edit1.GetText(), "Mine");
    form.Button3.UserClick();
  };
  form.ShowModal();
  EXPECT_EQ(StoredRecord().CompanyName(), "Theirs");
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, text::MsgChangedInAnotherCopy());

  backend.scripts["systemscherm"] = [&](ui::Form&) {
    EXPECT_EQ(form.Edit1.GetText(), "Theirs");
    form.Edit2.UserSetText("New street 1");
    form.Button2.UserClick();
    EXPECT_FALSE(form.InModalLoop());
  };
  form.ShowModal();
  EXPECT_EQ(StoredRecord().CompanyName(), "Theirs");
  EXPECT_EQ(StoredRecord().Address(), "New street 1");
  EXPECT_EQ(backend.messages.size(), 1u);
  EXPECT_FALSE(store::FileSetOpen);
}

// A settings file with bytes but not one whole record is damaged, not a
// first run: the start reports it by name and keeps the company's data.
TEST_F(SystemSettingsForm, ATornSettingsFileIsAStartUpErrorAndIsKept) {
  const std::string whole = Fixture();
  struct Case {
    const char* name;
    std::string bytes;
    bool error;
  };
  const Case cases[] = {
      {"one byte", "x", true},
      {"a byte short of a record", whole.substr(0, whole.size() - 1), true},
      {"a record and a partial one", whole + whole.substr(0, 100), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRecord(c.bytes);
    systemforms::Tsystemscherm f;
    if (c.error) {
      try {
        f.FormCreate();
        ADD_FAILURE() << "no error";
      } catch (const platform::IoError& e) {
        EXPECT_NE(std::string(e.what()).find(kSysPath), std::string::npos) << e.what();
      }
      EXPECT_FALSE(f.FirstRun);
    } else {
      f.FormCreate();
    }
    EXPECT_EQ(store.fs.File(kSysPath).substr(0, c.bytes.size()), c.bytes);
    EXPECT_FALSE(store::FileSetOpen);
  }
}

// The form's file errors show the file set's error text alone.
TEST_F(SystemSettingsForm, FileErrorsShowTheFileSetsTextAlone) {
  WriteRecord(Fixture());
  form.FormCreate();
  store.fs.InjectError(kSysPath, FakeFileSystem::Op::OpenReadWrite, platform::kAccessDenied);
  form.opslaanExecute();
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].text, "IO errorcode: SYS5");
  EXPECT_EQ(store.fs.File(kSysPath), Fixture());
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(SystemSettingsForm, SaveTable) {
  struct Case {
    bool set1, set2, tips, news, signBefore;
    std::string user;
    std::string tipsAndNews;
    std::string savedBy;
  };
  const std::vector<Case> cases = {
      {true, true, true, true, true, "ANNA", "T", "ANNA"},
      {false, true, true, false, false, "BOB", "F", "BOB"},
      {true, false, false, true, true, "ABCDEFGHIJKLMNOP", "U", "ABCDEFGHIJ"},
      {false, false, false, false, false, "UNKNOWN", "G", "UNKNOWN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tipsAndNews);
    WriteRecord(Fixture());
    systemforms::Tsystemscherm f;
    f.FormCreate();
    store::SystemParams.SetCurrentUser(c.user);  // as the log-in does
    f.CheckBox4.SetChecked(c.set1);
    f.CheckBox5.SetChecked(c.set2);
    f.CheckBox7.SetChecked(c.tips);
    f.CheckBox6.SetChecked(c.news);
    (c.signBefore ? f.RadioButton1 : f.RadioButton2).UserClick();
    f.opslaanExecute();

    const SystemParamRec r = StoredRecord();
    const std::vector<std::string> names1 = {"High", "Low", "Zero"};
    const std::vector<double> rates1 = {21.0, 9.0, 0.0};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(r.TaxRateName(i), c.set1 ? names1[i] : "") << i;
      EXPECT_EQ(r.TaxRate(i), c.set1 ? rates1[i] : 0.0) << i;
    }
    EXPECT_EQ(r.TaxRateName(3), c.set2 ? "EU" : "");
    EXPECT_EQ(r.TaxRate(3), c.set2 ? 7.125 : 0.0);
    EXPECT_EQ(r.TipsAndNews(), c.tipsAndNews);
    EXPECT_EQ(r.CurrencyInFront(), c.signBefore ? 'T' : 'F');
    EXPECT_EQ(r.SavedBy(), c.savedBy);
    EXPECT_EQ(r.CurrentUser(), c.user);
  }
}

TEST_F(SystemSettingsForm, SaveCreatesTheDataFolderPath) {
  store.fs.SetFile("/books/keep.txt", "kept");
  struct Case {
    std::string typed;
    std::string stored;
    std::vector<std::string> folders;
  };
  const std::vector<Case> cases = {
      {"/books/a/b/", "/books/a/b/", {"/books/a", "/books/a/b"}},
      // A component named "empty" is a folder like any other; a missing
      // trailing separator is added.
      {"/books/empty/data", "/books/empty/data/", {"/books/empty", "/books/empty/data"}},
      // Two names of one folder are stored as one.
      {"/books//x/./y/../", "/books/x/", {"/books/x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    WriteRecord(Fixture());
    systemforms::Tsystemscherm f;
    f.FormCreate();
    f.Edit9.UserSetText(c.typed);
    f.opslaanExecute();
    for (const std::string& folder : c.folders) EXPECT_TRUE(store.fs.HasFolder(folder)) << folder;
    EXPECT_EQ(store.fs.File("/books/keep.txt"), "kept");
    EXPECT_EQ(StoredRecord().DataFolder(), c.stored);
    EXPECT_EQ(store::DataRootFolder, c.stored);
    EXPECT_EQ(store::DataRoot(), c.stored);
    EXPECT_EQ(f.Edit9.GetText(), c.stored);
  }
  EXPECT_TRUE(backend.messages.empty());
}

// A folder of another system, or one named outside the code page the
// records use, is refused: it would name another folder, or none.
TEST_F(SystemSettingsForm, FoldersThatNameNothingHereAreRefused) {
  const std::string before = Fixture();
  WriteRecord(before);
  systemforms::Tsystemscherm f;
  f.FormCreate();
  f.Edit9.UserSetText("C:\\books\\c\\");
  f.opslaanExecute();
  EXPECT_EQ(f.StatusBar1.PanelText(0), systemforms::MsgDataFolderNotUsable);
  EXPECT_EQ(store.fs.File("/w/sysparm010000.vlk"), before);

  const std::string shown = f.Edit9.GetText();
  backend.dialogAnswers.push_back(std::string("/home/u/\xd0\x9a\xd0\xbd\xd0\xb8\xd0\xb3\xd0\xb8"));
  f.Edit9Enter();
  EXPECT_EQ(f.Edit9.GetText(), shown);
  EXPECT_EQ(f.StatusBar1.PanelText(0), systemforms::MsgDataFolderNotUsable);
}

TEST_F(SystemSettingsForm, AFolderThatCannotBeCreatedSavesNothingAndKeepsTheFormOpen) {
  store.fs.SetFile("/books/file", "not a folder");
  store.fs.InjectError("/denied/x", FakeFileSystem::Op::MakeFolders, platform::kAccessDenied);
  for (const std::string folder : {"/books/file/sub/", "/denied/x/"}) {
    SCOPED_TRACE(folder);
    const std::string before = Fixture();
    WriteRecord(before);
    backend.messages.clear();
    systemforms::Tsystemscherm f;
    f.FormCreate();
    bool stillOpen = false;
    backend.scripts["systemscherm"] = [&](ui::Form&) {
      f.Edit9.UserSetText(folder);
      f.Edit1.UserSetText("New Name");
      f.Button2.UserClick();
      stillOpen = f.InModalLoop();
    };
    f.ShowModal();
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text.rfind(systemforms::MsgDataFolderNotCreated + " " + folder, 0), 0u)
        << backend.messages[0].text;
    EXPECT_EQ(store.fs.File(kSysPath), before);
    EXPECT_EQ(store::SystemParams.CompanyName(), "Ombrelo Test B.V.");
    EXPECT_EQ(store::DataRootFolder, "/data/books/");
    EXPECT_FALSE(store::FileSetOpen);
  }
}

TEST_F(SystemSettingsForm, InvalidInputIsRefusedBeforeAnythingChanges) {
  const std::string before = Fixture();
  WriteRecord(before);
  form.FormCreate();
  struct Case {
    std::string name;
    std::function<void()> spoil;
    ui::Color (*color)(systemforms::Tsystemscherm&);
    std::string message;
  };
  const std::vector<Case> cases = {
      {"rate", [&] { form.RateLines[0].Rate.UserSetText("12-3"); },
       [](systemforms::Tsystemscherm& f) { return f.RateLines[0].Rate.BackColor(); },
       systemforms::MsgInvalidRate + " 12-3"},
      {"sign", [&] { form.ComboBox3.UserSetText(""); },
       [](systemforms::Tsystemscherm& f) { return f.ComboBox3.BackColor(); }, systemforms::MsgCurrencySignMissing},
      {"folder", [&] { form.Edit9.SetText("/" + std::string(100, 'f') + "/"); },
       [](systemforms::Tsystemscherm& f) { return f.Edit9.BackColor(); }, systemforms::MsgDataFolderTooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.AnnulerenExecute();
    form.Edit9.UserSetText("/books/new/");
    c.spoil();
    form.opslaanExecute();
    EXPECT_EQ(form.StatusBar1.PanelText(0), c.message);
    EXPECT_EQ(form.StatusBar1.BackColor(), ui::colors::Red);
    EXPECT_EQ(c.color(form), ui::colors::Yellow);
    EXPECT_EQ(store.fs.File(kSysPath), before);
    EXPECT_FALSE(store.fs.HasFolder("/books/new"));
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(store::SystemParams.DataFolder(), "/data/books/");
  }
}

TEST_F(SystemSettingsForm, RecordValuesAreReadSoundly) {
  struct Case {
    std::int16_t decimals;
    char sign;
    std::string folder;
    std::string decimalsShown, signShown, folderShown;
  };
  const std::vector<Case> cases = {
      // A folder of another system names nothing here: the default shows.
      {9, '$', "C:\\books\\data\\", "4", "$", "/w/data/"},
      {-2, '\0', "/srv/ombrelo/", "0", kEuro, "/srv/ombrelo/"},
      {3, '\xa5', "relative", "3", "\xa5", "/w/relative/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.decimalsShown);
    WriteFixture([&](SystemParamRec& r) {
      r.SetAmountDecimals(c.decimals);
      r.SetCurrencySign(c.sign);
      r.SetDataFolder(c.folder);
    });
    systemforms::Tsystemscherm f;
    f.FormCreate();
    EXPECT_EQ(f.ComboBox2.GetText(), c.decimalsShown);
    EXPECT_EQ(f.ComboBox3.GetText(), c.signShown);
    EXPECT_EQ(f.Edit9.GetText(), c.folderShown);
    EXPECT_EQ(store::DataRootFolder, c.folderShown);
    EXPECT_EQ(std::to_string(text::SystemSettings.AmountDecimals), c.decimalsShown);
    EXPECT_EQ(std::string(1, text::SystemSettings.CurrencySign), c.signShown);
  }
}

TEST_F(SystemSettingsForm, AnEmptyStoredDataFolderGetsTheDefaultAndIsSaved) {
  WriteFixture([](SystemParamRec& r) {
    r.SetDataFolder("");
    r.SetNextNewsDate("20200101");
  });
  form.FormCreate();
  EXPECT_EQ(form.Edit9.GetText(), "/w/data/");
  const SystemParamRec r = StoredRecord();
  EXPECT_EQ(r.DataFolder(), "/w/data/");
  // The news date starts again from today.
  EXPECT_EQ(r.NextNewsDate(), "20240315");
  EXPECT_TRUE(backend.urlsOpened.empty());
}

TEST_F(SystemSettingsForm, SampleAmounts) {
  WriteRecord(Fixture());
  form.FormCreate();
  const text::SystemSettingsRec settings = text::SystemSettings;
  struct Case {
    std::string decimals, sign, before, after;
  };
  const std::vector<Case> cases = {
      {"0", kEuro, kEuro + " 2475", " 2475 " + kEuro},
      {"2", "$", "$ 2475.00", " 2475.00 $"},
      {"4", "\xa3", "\xa3 2475.0000", " 2475.0000 \xa3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.decimals);
    form.ComboBox2.UserSelect(form.ComboBox2.IndexOf(c.decimals));
    form.ComboBox3.UserSelect(form.ComboBox3.IndexOf(c.sign));
    EXPECT_EQ(form.RadioButton1.Caption(), c.before);
    EXPECT_EQ(form.RadioButton2.Caption(), c.after);
    // The amount routines' settings are what they were.
    EXPECT_EQ(text::SystemSettings.CurrencySign, settings.CurrencySign);
    EXPECT_EQ(text::SystemSettings.CurrencyInFront, settings.CurrencyInFront);
    EXPECT_EQ(text::SystemSettings.AmountDecimals, settings.AmountDecimals);
  }
}

// Every value the form shows, for comparisons.
std::vector<std::string> Shown(systemforms::Tsystemscherm& f) {
  std::vector<std::string> v;
  for (ui::Edit* e : {&f.Edit1, &f.Edit2, &f.Edit14, &f.Edit3, &f.Edit4, &f.Edit5, &f.Edit6, &f.Edit7, &f.Edit8,
                      &f.Edit17, &f.Edit9})
    v.push_back(e->GetText());
  for (int i = 0; i < 6; ++i) {
    v.push_back(f.NameEdit(i)->GetText());
    v.push_back(f.RateEdit(i)->GetText());
    v.push_back(f.RateEdit(i)->Visible() ? "shown" : "hidden");
  }
  for (ui::ComboBox* c : {&f.ComboBox1, &f.ComboBox2, &f.ComboBox3}) v.push_back(c->GetText());
  for (ui::CheckBox* c : {&f.CheckBox1, &f.CheckBox2, &f.CheckBox3, &f.CheckBox4, &f.CheckBox5, &f.CheckBox6,
                          &f.CheckBox7})
    v.push_back(c->Checked() ? "on" : "off");
  v.push_back(f.RadioButton1.Checked() ? "before" : "after");
  v.push_back(f.CheckBox2.Visible() ? "password shown" : "password hidden");
  return v;
}

TEST_F(SystemSettingsForm, CancelRestoresTheStoredValues) {
  const std::string before = Fixture();
  WriteRecord(before);
  form.FormCreate();
  const std::vector<std::string> shown = Shown(form);
  bool closed = false;
  backend.scripts["systemscherm"] = [&](ui::Form&) {
    for (ui::Edit* e : {&form.Edit1, &form.Edit2, &form.Edit14, &form.Edit3, &form.Edit4, &form.Edit5, &form.Edit6,
                        &form.Edit7, &form.Edit8, &form.Edit17, &form.Edit9, &form.RateLines[0].Name, &form.RateLines[3].Name})
      e->UserSetText("changed");
    form.RateLines[0].Rate.UserSetText("99");
    form.ComboBox1.UserSelect(0);
    form.ComboBox2.UserSelect(0);
    form.ComboBox3.UserSelect(0);
    for (ui::CheckBox* c : {&form.CheckBox4, &form.CheckBox5, &form.CheckBox6, &form.CheckBox7, &form.CheckBox1})
      c->UserClick();
    form.RadioButton1.UserClick();
    ASSERT_NE(Shown(form), shown);
    form.UserKeyPress(27);  // Escape
    closed = !form.InModalLoop();
  };
  form.ShowModal();
  EXPECT_TRUE(closed);
  EXPECT_EQ(Shown(form), shown);
  EXPECT_EQ(store.fs.File(kSysPath), before);
}

TEST_F(SystemSettingsForm, RateFilterAndRateSetVisibility) {
  WriteRecord(Fixture());  // three decimals
  form.FormCreate();
  form.RateLines[0].Rate.UserSetText("12.34567");
  EXPECT_EQ(form.RateLines[0].Rate.GetText(), "12.345");
  form.RateLines[0].Rate.UserSetText("1a2");
  EXPECT_EQ(form.RateLines[0].Rate.GetText(), "12");

  EXPECT_TRUE(form.RateLines[3].Rate.Visible());
  form.CheckBox5.UserClick();
  EXPECT_FALSE(form.RateLines[3].Rate.Visible());
  EXPECT_FALSE(form.RateLines[5].RateLabel.Visible());
  form.CheckBox5.UserClick();
  EXPECT_TRUE(form.RateLines[5].Rate.Visible());
}

TEST_F(SystemSettingsForm, UserOptions) {
  WriteRecord(Fixture());  // identification, password and authorisation on
  form.FormCreate();
  EXPECT_TRUE(form.CheckBox2.Visible());
  EXPECT_TRUE(form.CheckBox2.Checked());
  EXPECT_FALSE(form.CheckBox3.Visible());
  form.CheckBox1.UserClick();  // identification off
  EXPECT_FALSE(form.CheckBox2.Visible());
  EXPECT_FALSE(form.CheckBox2.Checked());
  form.opslaanExecute();
  const SystemParamRec r = StoredRecord();
  EXPECT_FALSE(r.UserIdentification());
  EXPECT_FALSE(r.PasswordProtection());
  EXPECT_FALSE(r.AuthorisationLevels());

  // A password without a user id is read as no password.
  WriteFixture([](SystemParamRec& p) { p.SetUserIdentification(false); });
  systemforms::Tsystemscherm f;
  f.FormCreate();
  EXPECT_FALSE(f.CheckBox2.Checked());
  EXPECT_FALSE(f.CheckBox2.Visible());
}

TEST_F(SystemSettingsForm, FolderPicker) {
  WriteRecord(Fixture());
  form.FormCreate();
  backend.dialogAnswers.push_back(std::string("/home/u/boeken"));
  backend.dialogAnswers.push_back(std::nullopt);
  form.BrowseFolderButton.UserClick();
  ASSERT_EQ(backend.dialogsShown.size(), 1u);
  EXPECT_EQ(backend.dialogsShown[0].title, form.Label16.Caption() + "/" + form.Label9.Caption());
  EXPECT_EQ(backend.dialogsShown[0].initialFolder, "/data/books/");
  EXPECT_EQ(form.Edit9.GetText(), "/home/u/boeken/");
  EXPECT_TRUE(form.Edit17.Focused());
  form.BrowseFolderButton.UserClick();  // cancelled
  EXPECT_EQ(form.Edit9.GetText(), "/home/u/boeken/");
}

TEST_F(SystemSettingsForm, HelpAndKeys) {
  WriteRecord(Fixture());
  form.FormCreate();
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { form.UserKeyDown(ui::keys::F1); }, "<SYS00>"},
      {[&] { form.About1.UserClick(); }, "<ABO00>"},
      {[&] { form.utorial1.UserClick(); }, "<TUT00>"},
      {[&] { form.BrenvickHelp1.UserClick(); }, ""},
      {[&] { form.ToolButton5.UserClick(); }, "<SYS00>"},
      {[&] { form.BrenvickSystemsettingshelp1.UserClick(); }, "<SYS00>"},
  };
  for (const auto& [act, tag] : cases) {
    formkit::RequestedHelpTag = "none";
    act();
    EXPECT_EQ(formkit::RequestedHelpTag, tag);
  }
  form.Brenvickhomepage1.UserClick();
  ASSERT_EQ(backend.urlsOpened.size(), 1u);
  EXPECT_NE(backend.urlsOpened[0].find("indexgb.html"), std::string::npos);
}

TEST_F(SystemSettingsForm, TheTipsPanelSavesWithoutTheFormShown) {
  WriteRecord(Fixture());
  form.FormCreate();
  form.CheckBox7.SetChecked(false);
  form.CheckBox6.SetChecked(false);
  form.opslaanExecute();
  EXPECT_EQ(StoredRecord().TipsAndNews(), "G");
  EXPECT_FALSE(form.Showing());
  EXPECT_FALSE(store::FileSetOpen);
}

TEST_F(SystemSettingsForm, LanguageTexts) {
  store::ProductTitle = "Ombrelo Account Enterprise 2.0.6";
  text::CurrentLanguage.SetL(1110, "Systeembeheer");
  text::CurrentLanguage.SetL(1133, "Systeeminstellingen");
  text::CurrentLanguage.SetL(54, "Opslaan");
  text::CurrentLanguage.SetL(306, "Annuleren");
  text::CurrentLanguage.SetL(1642, "Naam");
  text::CurrentLanguage.SetL(1651, "Tarief %");
  text::CurrentLanguage.SetL(1926, "Valuta");
  form.ApplyLanguageTexts();
  EXPECT_EQ(form.Caption(), "Ombrelo Account Enterprise 2.0.6 : Systeembeheer / Systeeminstellingen");
  EXPECT_EQ(form.Label16.Caption(), " Systeeminstellingen");
  EXPECT_EQ(form.Button2.Caption(), "Opslaan");
  EXPECT_EQ(form.Save1.Caption(), "Opslaan");
  EXPECT_EQ(form.Button3.Caption(), "Annuleren");
  EXPECT_EQ(form.Cancel1.Caption(), "Annuleren");
  EXPECT_EQ(form.ToolButton1.Caption(), "Annuleren");
  for (const systemforms::RateLine& line : form.RateLines) {
    EXPECT_EQ(line.NameLabel.Caption(), "Naam") << line.NameLabel.Name();
    EXPECT_EQ(line.RateLabel.Caption(), "Tarief %") << line.RateLabel.Name();
  }
  EXPECT_EQ(form.Label31.Caption(), "Valuta");
}

}  // namespace
