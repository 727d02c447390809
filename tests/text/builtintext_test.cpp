// The messages the program carries itself in Dutch, German and English: the
// choice by the name of the language in use, and the forms' messages after
// their language texts were applied.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "masterdata/Administrationsunit.h"
#include "masterdata/Ledgerunit.h"
#include "masterdata/ledgercatunit.h"
#include "platform/cp1252.h"
#include "records/adminsettingsrec.h"
#include "store/adminsettingsload.h"
#include "text/builtintext.h"
#include "store/fileset.h"
#include "text/languagefile.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "support/reset.h"
#include "system/systemscreen.h"
#include "system/userunit.h"
#include "ui/headless.h"

namespace {

const std::string kFrancais = "Fran\xe7" "ais";

// Puts a language name into the record in use; the program is reset around
// each test.
class BuiltInTexts : public ::testing::Test {
 protected:
  static void UseLanguage(const std::string& name) {
    text::CurrentLanguage = text::BuiltInEnglish();
    text::CurrentLanguage.SetL(0, name);
  }

 private:
  support::ProgramState state_;
};

TEST_F(BuiltInTexts, TheLanguageNameChooses) {
  struct Case {
    std::string name;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"Nederlands", "nl"}, {"Deutsch", "de"}, {"English", "en"}, {kFrancais, "en"},
      // The name is compared as the language file keys its records: exactly.
      {"nederlands", "en"}, {"Deutsch ", "en"}, {"", "en"},
  };
  for (const Case& c : cases) {
    UseLanguage(c.name);
    EXPECT_EQ(text::BuiltInText("en", "nl", "de"), c.want) << c.name;
  }
}

// The table's texts (data/language/builtin.tsv) by their id, chosen by the
// same rule, in code page 1252.
TEST_F(BuiltInTexts, TheTableTextsByIdFollowTheLanguage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"English", "Changed at"},
      {"Nederlands", "Gewijzigd op"},
      {"Deutsch", "Ge\xe4ndert am"},
      {kFrancais, "Changed at"}};
  for (const auto& [name, want] : cases) {
    UseLanguage(name);
    EXPECT_EQ(text::BuiltInText(text::BuiltIn::ChangedAt), want) << name;
  }
  // A text with values: each language places them in its own sentence.
  const std::vector<std::pair<std::string, std::string>> filled = {
      {"English", "Line 7: a text qualifier is not closed"},
      {"Nederlands", "Regel 7: een tekstafbakening wordt niet gesloten"},
      {"Deutsch", "Zeile 7: ein Textbegrenzer wird nicht geschlossen"}};
  for (const auto& [name, want] : filled) {
    UseLanguage(name);
    EXPECT_EQ(text::BuiltInText(text::BuiltIn::UnterminatedQualifier, {"7"}), want) << name;
  }
  // Every text reaches the program in code page 1252, also those whose
  // German was once a UTF-8 literal in the journal forms.
  UseLanguage("Deutsch");
  EXPECT_EQ(text::BuiltInText(text::BuiltIn::SelectPartner), "Partner w\xe4hlen");
  // Before the language routine the units show the English.
  EXPECT_STREQ(text::BuiltInTextEnglish(text::BuiltIn::ChangedAt), "Changed at");
}

TEST(FillPlaceholders, PutsTheValuesWhereTheTextMarksThem) {
  struct Case {
    std::string pattern;
    std::vector<std::string> values;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"The period %1 is frozen", {"3"}, "The period 3 is frozen"},
      // A language may place the values in another order, or twice.
      {"%2 before %1, %1 again", {"a", "b"}, "b before a, a again"},
      // A value is put in as it stands, even when it holds a placeholder.
      {"[%1]", {"%2"}, "[%2]"},
      // A % without a value stays: printf-style marks and a bare % too.
      {"at most %d characters, 100%", {"x"}, "at most %d characters, 100%"},
      {"%1 and %3", {"a", "b"}, "a and %3"},
      {"%0 %", {}, "%0 %"},
      {"", {"a"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> views(c.values.begin(), c.values.end());
    std::string got;
    switch (views.size()) {
      case 0: got = text::FillPlaceholders(c.pattern, {}); break;
      case 1: got = text::FillPlaceholders(c.pattern, {views[0]}); break;
      default: got = text::FillPlaceholders(c.pattern, {views[0], views[1]}); break;
    }
    EXPECT_EQ(got, c.want) << c.pattern;
  }
}

// The settings form's own check messages follow the language of its last
// language texts.
class SettingsFormTexts : public BuiltInTexts {
 protected:
  // The message the status bar shows for a number of decimals that is none.
  std::string DecimalsMessage() {
    form.ComboBox2.SetText("7");
    EXPECT_FALSE(form.CheckInput().has_value());
    return form.StatusBar1.PanelText(0);
  }

  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  systemforms::Tsystemscherm form;
};

TEST_F(SettingsFormTexts, InTheLanguageOfTheRecordInUse) {
  struct Case {
    std::string language;
    std::string decimals;
    std::string folderTooLong;
  };
  const std::vector<Case> cases = {
      {"Nederlands", "Het aantal decimalen moet 0, 1, 2, 3 of 4 zijn.",
       "De gegevensmap mag hoogstens 100 tekens hebben."},
      {"Deutsch", "Die Anzahl der Nachkommastellen muss 0, 1, 2, 3 oder 4 sein.",
       "Der Datenordner darf h\xf6" "chstens 100 Zeichen haben."},
      // French, as any language without built-in texts, gets English again.
      {kFrancais, "The number of decimals must be 0, 1, 2, 3 or 4.",
       "The data folder may have at most 100 characters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    UseLanguage(c.language);
    form.ApplyLanguageTexts();
    EXPECT_EQ(DecimalsMessage(), c.decimals);
    EXPECT_EQ(systemforms::MsgInvalidDecimals, c.decimals);
    EXPECT_EQ(systemforms::MsgDataFolderTooLong, c.folderTooLong);
    // The news-page text is the same in every language.
    EXPECT_EQ(systemforms::MsgNewsPage, "Ombrelo Account calls the newspage of our website to show relevant messages");
  }
}

// The captions the language file has no field for follow the language too,
// on the settings, users and administrations forms alike; the tutorial item
// takes the language file's text.
TEST_F(SettingsFormTexts, CaptionsWithoutALanguageField) {
  struct Case {
    std::string language;
    std::vector<std::string> settings;  // website, saved by, saved at, news page
    std::string tutorial;  // the language record's text (it has a field)
    std::string changedAt;
  };
  const std::vector<Case> cases = {
      {"Nederlands", {"Website", "Opgeslagen door", "Opgeslagen op", "Nieuwspagina"}, "Handleiding", "Gewijzigd op"},
      {"Deutsch", {"Webseite", "Gespeichert von", "Gespeichert am", "Nachrichtenseite"}, "Anleitung",
       cp1252::L("Geändert am")},
      {"English", {"Website", "Saved by", "Saved at", "News page"}, "Tutorial", "Changed at"},
      {kFrancais, {"Website", "Saved by", "Saved at", "News page"}, "Didacticiel", "Changed at"},
  };
  systemforms::TUsers users;
  masterdata::TAdministrations administrations;
  masterdata::TLedger ledger;
  masterdata::TLedgercategory categories;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    UseLanguage(c.language);
    text::CurrentLanguage.SetL(8296, c.tutorial);
    form.ApplyLanguageTexts();
    users.ApplyLanguageTexts();
    administrations.ApplyLanguageTexts();
    ledger.ApplyLanguageTexts();
    categories.ApplyLanguageTexts();
    EXPECT_EQ((std::vector<std::string>{form.Label10.Caption(), form.Label11.Caption(), form.Label14.Caption(),
                                        form.BrowseURL2.Caption()}),
              c.settings);
    EXPECT_EQ(form.utorial1.Caption(), c.tutorial);
    EXPECT_EQ(users.Tutorial1.Caption(), c.tutorial);
    EXPECT_EQ(administrations.utorial1.Caption(), c.tutorial);
    EXPECT_EQ(ledger.Tutorial1.Caption(), c.tutorial);
    EXPECT_EQ(categories.utorial1.Caption(), c.tutorial);
    EXPECT_EQ(ledger.Label14.Caption(), c.changedAt);
    EXPECT_EQ(ledger.StringGrid1.Cell(masterdata::TLedger::ColChangedAt, 0), c.changedAt);
  }
}

// The loader's warning about replaced dates speaks the language of the load.
TEST_F(BuiltInTexts, TheStoredDatesWarningTakesTheLanguageOfTheLoad) {
  support::FakeDataStore store;
  ui::HeadlessBackend backend;
  store.fs.AddFolder("/d/DEMO");
  store::SetDataRoot("/d/");
  store::SetCurrentAdministrationFolder("DEMO");
  // A record without a single valid date.
  records::AdminSettingsRec rec;
  store.fs.SetFile("/d/DEMO/adminset.vlk", support::Bytes(rec));

  UseLanguage("Nederlands");
  store::LoadAdminSettings();
  EXPECT_FALSE(store::AdminSettingsRepairedFields.empty());
  EXPECT_EQ(store::MsgStoredDatesReplaced,
            "Opgeslagen datums van het boekjaar of van de perioden waren ongeldig en zijn vervangen; controleer ze");

  UseLanguage(kFrancais);
  store::LoadAdminSettings();
  EXPECT_EQ(store::MsgStoredDatesReplaced,
            "Stored dates of the book year or its periods were not valid and have been replaced; please check them");
}

}  // namespace
