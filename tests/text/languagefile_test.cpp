// The language file: the lint of the shipped file (every text fits, the texts
// the program compares are distinct, the stored codes stay English), the
// record's text access, LoadLanguage's choice of record with its fallbacks,
// and the generator's refusal of a bad table.
#include "text/languagefile.h"
#include "store/languageload.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/oserror.h"
#include "store/fileset.h"
#include "support/fakefs.h"
#include "support/records.h"
#include "ui/headless.h"

namespace {

using support::FakeFileSystem;
using text::BuiltInEnglish;
using text::kLanguageRecordSize;
using text::LanguageBuffer;
using text::LanguageRec;

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using support::Bytes;

LanguageRec FromBytes(const std::string& bytes, std::size_t at = 0) { return support::Record<LanguageRec>(bytes, at); }

// ---------------------------------------------------------------------------
// The shipped file, as the build made it.

const char* const kLanguageNames[] = {"English", "Nederlands", "Deutsch", "Fran\xE7" "ais"};

class ShippedLanguageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string bytes = ReadBytes(OMBRELO_SHIPPED_LANGUAGE_FILE);
    ASSERT_EQ(bytes.size(), 4 * kLanguageRecordSize) << OMBRELO_SHIPPED_LANGUAGE_FILE;
    for (int k = 0; k < 4; ++k) records.push_back(FromBytes(bytes, k * kLanguageRecordSize));
  }
  std::vector<LanguageRec> records;
};

TEST_F(ShippedLanguageFile, HoldsTheFourLanguagesEnglishFirst) {
  for (int k = 0; k < 4; ++k) EXPECT_EQ(records[k].LanguageName(), kLanguageNames[k]);
  EXPECT_EQ(Bytes(records[0]), Bytes(BuiltInEnglish())) << "the fallback is the shipped English record";
}

TEST_F(ShippedLanguageFile, EveryTextFitsItsRoomAndIsFilledIn) {
  for (const LanguageRec& rec : records) {
    std::vector<bool> used(kLanguageRecordSize, false);
    for (std::size_t i = 0; i < text::kLanguageFieldCount; ++i) {
      const text::LanguageField f = text::kLanguageFields[i];
      const unsigned length = rec.data()[f.offset];
      SCOPED_TRACE(rec.LanguageName() + " @" + std::to_string(f.offset));
      EXPECT_GE(length, 1u) << "an empty text shows a blank caption";
      EXPECT_LE(length, f.room - 1u);
      for (unsigned b = 0; b <= length && b < f.room; ++b) used[f.offset + b] = true;
      for (unsigned b = 1; b <= length && b < f.room; ++b) EXPECT_GE(rec.data()[f.offset + b], 0x20);
    }
    for (std::size_t b = 0; b < kLanguageRecordSize; ++b)
      if (!used[b]) {
        ASSERT_EQ(rec.data()[b], 0) << rec.LanguageName() << " byte " << b;
      }
  }
}

// Texts the program reads back to tell things apart: each group must hold
// different, non-empty texts in every language.
struct ComparedGroup {
  const char* what;
  std::vector<int> offsets;
};

const ComparedGroup kComparedGroups[] = {
    {"function tree nodes and groups",
     {550, 633, 870, 919, 944, 996, 1027, 1058, 1079, 1133, 1159, 852, 965, 1110}},
    {"voucher add and change captions", {424, 460}},
    {"invoice and payment link captions", {3596, 3848}},
    {"users' yes and no marks", {446, 453}},
    {"GL account types", {2454, 2465, 2476, 2502}},
    {"GL category kinds", {2255, 2284}},
    {"partner kinds and payment kinds", {5832, 5817, 4515, 4498}},
};

TEST_F(ShippedLanguageFile, TextsComparedAsDataAreDistinctInEveryLanguage) {
  for (const LanguageRec& rec : records) {
    for (const ComparedGroup& g : kComparedGroups) {
      SCOPED_TRACE(rec.LanguageName() + ": " + g.what);
      std::set<std::string> seen;
      for (int o : g.offsets) {
        const std::string text = rec.L(o);
        EXPECT_FALSE(text.empty()) << o;
        EXPECT_TRUE(seen.insert(text).second) << o << " repeats \"" << text << "\"";
        // The export and import node has this fixed text in every language.
        EXPECT_NE(text, "Export & Import data files") << o;
      }
    }
    // The journal form tells an invoice link from a payment link by the
    // caption of its invoice label, which is the invoice tab's text.
    EXPECT_EQ(rec.L(3596), rec.L(4062)) << rec.LanguageName();
  }
}

TEST_F(ShippedLanguageFile, AccountFunctionsAreTheStoredEnglishCodesInEveryLanguage) {
  const char* const codes[14] = {"Customer group",         "Sales account 1",        "Sales account 2",
                                 "Sales account 3",        "VAT Sales account 1",    "VAT Sales account 2",
                                 "Cash discount sales",    "Supplier group",         "Purchase account 1",
                                 "Purchase account 2",     "Purchase account 3",     "VAT Purchase account 1",
                                 "VAT Purchase account 2", "Cash discount purchase"};
  for (const LanguageRec& rec : records)
    for (int i = 0; i < 14; ++i) EXPECT_EQ(rec.L(2891 + 31 * i), codes[i]) << rec.LanguageName() << " " << i + 1;
}

TEST_F(ShippedLanguageFile, TextsTheFormsCutAreShortEnough) {
  // The help caption block and the title labels cut these texts.
  const struct {
    int offset;
    std::size_t most;
  } cuts[] = {{21, 10}, {123, 10}, {306, 12}, {7631, 10}, {1261, 9},  {870, 25},
              {4720, 24}, {1133, 25}, {1159, 22}, {1058, 20}, {7642, 18}};
  for (const LanguageRec& rec : records)
    for (const auto& c : cuts) EXPECT_LE(rec.L(c.offset).size(), c.most) << rec.LanguageName() << " @" << c.offset;
}

TEST_F(ShippedLanguageFile, OverwriteQuestionHasOnePlaceForTheFileName) {
  for (const LanguageRec& rec : records) {
    const std::string q = rec.L(8706);
    const std::size_t at = q.find("%s");
    ASSERT_NE(at, std::string::npos) << rec.LanguageName();
    EXPECT_EQ(q.find('%', at + 1), std::string::npos) << q;
    EXPECT_EQ(q.find('%'), at) << q;
  }
}

// ---------------------------------------------------------------------------
// Text access.

TEST(LanguageRecord, LengthBytesAreClampedToTheRoom) {
  const struct {
    std::size_t offset;
    unsigned lengthByte;
    std::size_t expected;
  } cases[] = {
      {446, 255, 6},   // yes-mark, room 7
      {446, 6, 6},     // exactly room - 1 is read whole
      {446, 0, 0},     // an empty text
      {0, 255, 20},    // the language name, room 21
      {11243, 111, 110},  // the last field of the record
  };
  for (const auto& c : cases) {
    LanguageRec rec;
    std::fill(rec.Bytes.begin(), rec.Bytes.end(), static_cast<std::uint8_t>('x'));
    rec.data()[c.offset] = static_cast<std::uint8_t>(c.lengthByte);
    EXPECT_EQ(rec.L(c.offset), std::string(c.expected, 'x')) << c.offset << " / " << c.lengthByte;
  }
}

TEST(LanguageRecord, SetLCutsAtTheRoomAndKeepsTheNextField) {
  LanguageRec rec = BuiltInEnglish();
  rec.SetL(446, "Absolutely");
  EXPECT_EQ(rec.L(446), "Absolu");
  EXPECT_EQ(rec.L(453), BuiltInEnglish().L(453));
}

TEST(LanguageRecord, AnOffsetWhereNoTextStartsIsRefused) {
  LanguageRec rec;
  for (std::size_t o : {std::size_t{1}, std::size_t{1344}, std::size_t{1500}, kLanguageRecordSize}) {
    EXPECT_FALSE(text::IsLanguageField(o)) << o;
    EXPECT_THROW(rec.L(o), std::logic_error) << o;
    EXPECT_THROW(rec.SetL(o, "x"), std::logic_error) << o;
  }
  EXPECT_EQ(text::LanguageFieldRoom(1318), 26u);
}

TEST(LanguageRecord, TheBuffersStartWithTheBuiltInEnglishTexts) {
  // Before any file was read the forms already have texts.
  EXPECT_EQ(BuiltInEnglish().LanguageName(), "English");
  EXPECT_EQ(BuiltInEnglish().L(870), "Journal vouchers");
  EXPECT_FALSE(BuiltInEnglish().L(9648).empty());
}

// ---------------------------------------------------------------------------
// LoadLanguage on the in-memory file system.

class LoadLanguageTest : public ::testing::Test {
 protected:
  // A record of language `name` whose journal node reads `marker`.
  static LanguageRec Rec(const std::string& name, const std::string& marker) {
    LanguageRec rec = BuiltInEnglish();
    rec.SetL(0, name);
    rec.SetL(870, marker);
    return rec;
  }
  void PutFile(const std::vector<LanguageRec>& recs, const std::string& tail = {}) {
    fs.SetFile(kPath, Bytes(recs) + tail);
  }
  void SetUp() override { LanguageBuffer = Rec("Before", "before"); }

  void ExpectNoSetLeft() {
    EXPECT_FALSE(store::FileSetOpen);
    EXPECT_EQ(store::FileSetDepth, 0);
    EXPECT_EQ(fs.OpenHandles(), 0);
  }

  const std::string kPath = "/w/vlk010005.lan";
  support::FakeDataStore store;
  FakeFileSystem& fs = store.fs;
  ui::HeadlessBackend backend;
};

TEST_F(LoadLanguageTest, ChoosesTheRecordByItsExactName) {
  PutFile({Rec("Deutsch", "de"), Rec("English", "file en"), Rec("Nederlands", "nl"),
           Rec(cp1252::L("Français"), "fr")});
  const struct {
    std::string asked;
    const char* marker;
  } cases[] = {
      {"English", "file en"},
      {"Nederlands", "nl"},
      {"Deutsch", "de"},
      {cp1252::L("Français"), "fr"},  // the key is compared as code page 1252 bytes
      {"Français", "file en"},        // UTF-8 bytes are another name
      {"deutsch", "file en"},         // case counts
      {"Klingon", "file en"},         // not the last record: the file's English one
      {"", "file en"},
  };
  for (const auto& c : cases) {
    LanguageBuffer = Rec("Before", "before");
    store::LoadLanguage(c.asked);
    EXPECT_EQ(LanguageBuffer.L(870), c.marker) << c.asked;
    ExpectNoSetLeft();
  }
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(LoadLanguageTest, FallsBackToTheBuiltInEnglishWhenTheFileCannotServe) {
  const struct {
    const char* what;
    bool present;
    std::vector<LanguageRec> recs;
    std::string tail;
  } cases[] = {
      {"missing file", false, {}, {}},
      {"empty file", true, {}, {}},
      {"no English record", true, {Rec("Deutsch", "de"), Rec("Nederlands", "nl")}, {}},
      {"only a partial record", true, {}, std::string(100, 'E')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs.Delete(kPath);
    if (c.present) PutFile(c.recs, c.tail);
    LanguageBuffer = Rec("Before", "before");
    store::LoadLanguage(cp1252::L("Français"));
    EXPECT_EQ(Bytes(LanguageBuffer), Bytes(BuiltInEnglish()));
    ExpectNoSetLeft();
  }
  EXPECT_TRUE(fs.HasFile(kPath)) << "the opener creates a missing language file";
  EXPECT_TRUE(backend.messages.empty());
}

TEST_F(LoadLanguageTest, AnOpenFailureIsReportedAndKeepsTheBuffer) {
  PutFile({Rec("English", "file en")});
  fs.InjectError(kPath, FakeFileSystem::Op::OpenReadWrite, platform::kAccessDenied);
  const auto failure = store::LoadLanguage("English");
  ASSERT_TRUE(failure.has_value());
  EXPECT_TRUE(backend.messages.empty()) << "the data store shows nothing itself";
  EXPECT_EQ(failure->text, store::FileErrorText);
  EXPECT_EQ(failure->code, platform::kAccessDenied);
  EXPECT_NE(failure->text.find("LAN"), std::string::npos) << failure->text;
  EXPECT_EQ(LanguageBuffer.L(870), "before");
  ExpectNoSetLeft();
}

TEST_F(LoadLanguageTest, AFileInUseReportsTheWaitTextAndKeepsTheBuffer) {
  PutFile({Rec("English", "file en")});
  fs.HoldLock("/w/.ombrelo.lock");
  const auto failure = store::LoadLanguage("English");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->result, 2);
  EXPECT_EQ(failure->text, "File(s) in use, try again");
  EXPECT_EQ(LanguageBuffer.L(870), "before");
  ExpectNoSetLeft();
}

TEST_F(LoadLanguageTest, AReadErrorClosesTheSetAndKeepsTheBuffer) {
  PutFile({Rec("Deutsch", "de"), Rec("English", "file en")});
  fs.InjectError(kPath, FakeFileSystem::Op::Read, platform::kErrnoBase + 5, -1, 1);
  EXPECT_THROW(store::LoadLanguage("English"), platform::IoError);
  EXPECT_EQ(LanguageBuffer.L(870), "before");
  ExpectNoSetLeft();
}

TEST_F(LoadLanguageTest, InsideAnOpenSetItEndsOnlyItsOwnLevel) {
  PutFile({Rec("English", "file en")});
  int result = -1;
  store::OpenFileSet("USE;LAN;", result);
  ASSERT_EQ(result, 0) << store::FileErrorText;
  store::LoadLanguage("English");
  EXPECT_EQ(LanguageBuffer.L(870), "file en");
  EXPECT_TRUE(store::FileSetOpen) << "the outer set stays open";
  EXPECT_EQ(store::FileSetDepth, 0);
  EXPECT_GT(fs.OpenHandles(), 0);
  store::CloseFileSet();
  ExpectNoSetLeft();
}

// ---------------------------------------------------------------------------
// The generator refuses a bad table and writes nothing then.

class LanggenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("ombrelo-langgen-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Runs the generator on a table of the heading and `rows`; the exit code.
  int Run(const std::string& rows) {
    std::ofstream(dir / "texts.tsv", std::ios::binary)
        << "# a comment\n"
           "offset\troom\tcarries\tEnglish\tNederlands\tDeutsch\tFran\xC3\xA7" "ais\n"
        << rows;
    const std::string cmd = std::string("\"") + OMBRELO_LANGGEN + "\" \"" + (dir / "texts.tsv").string() +
                            "\" \"" + (dir / "out.lan").string() + "\" \"" + (dir / "out.cpp").string() +
                            "\" 2> \"" + (dir / "err.txt").string() + "\"";
    const int status = std::system(cmd.c_str());
    errors = ReadBytes(dir / "err.txt");
    return status;
  }

  std::filesystem::path dir;
  std::string errors;
};

const std::string kNames = "0\t21\tname\tEnglish\tNederlands\tDeutsch\tFran\xC3\xA7" "ais\n";

TEST_F(LanggenTest, WritesOneZeroFilledRecordPerLanguage) {
  ASSERT_EQ(Run(kNames + "21\t11\tFile menu\tFile\tBestand\t Datei \tFichier\r\n\n"), 0) << errors;
  const std::string lan = ReadBytes(dir / "out.lan");
  ASSERT_EQ(lan.size(), 4 * kLanguageRecordSize);
  const LanguageRec de = FromBytes(lan, 2 * kLanguageRecordSize);
  EXPECT_EQ(de.LanguageName(), "Deutsch");
  EXPECT_EQ(de.L(21), " Datei ") << "blanks belong to the text; CR LF ends the line";
  EXPECT_EQ(FromBytes(lan, 3 * kLanguageRecordSize).LanguageName(), "Fran\xE7" "ais");
  EXPECT_EQ(std::count(lan.begin(), lan.begin() + kLanguageRecordSize, '\0'),
            static_cast<long>(kLanguageRecordSize - 1 - 7 - 1 - 4));
  const std::string source = ReadBytes(dir / "out.cpp");
  EXPECT_NE(source.find("kLanguageFieldCount = 2;"), std::string::npos);
  EXPECT_NE(source.find("{0, 21}, {21, 11},"), std::string::npos);
}

TEST_F(LanggenTest, RefusesABadTableNamingTheRow) {
  const struct {
    const char* what;
    std::string rows;
    const char* expected;
  } cases[] = {
      {"text longer than its room", kNames + "21\t5\tx\tFile\tBestand\tDatei\tFich\n", "row 21: the Nederlands text has 7"},
      {"character outside code page 1252", kNames + "21\t11\tx\tFile\tBestand\tDatei\t\xE2\x86\x92\n",
       "row 21: the Fran\xC3\xA7" "ais text holds invalid UTF-8 or a character"},
      {"invalid UTF-8", kNames + "21\t11\tx\tFile\t\xC3\tDatei\tFichier\n", "row 21: the Nederlands text holds invalid"},
      {"control character", kNames + "21\t11\tx\tFi\x01le\tBestand\tDatei\tFichier\n", "row 21: the English text holds a control"},
      {"overlapping rooms", kNames + "21\t11\tx\ta\tb\tc\td\n30\t2\ty\ta\tb\tc\td\n", "row 30: the field overlaps the room of row 21"},
      {"offsets out of order", kNames + "21\t11\tx\ta\tb\tc\td\n10\t2\ty\ta\tb\tc\td\n", "row 10: the offset does not follow"},
      {"missing field", kNames + "21\t11\tx\tFile\tBestand\tDatei\n", "row 21: has 6 tab-separated fields"},
      {"room not a number", kNames + "21\televen\tx\ta\tb\tc\td\n", "row 21: the room \"eleven\""},
      {"offset not a number", kNames + "2l\t11\tx\ta\tb\tc\td\n", "row 2l: the offset is not a number"},
      {"field past the record", kNames + "11350\t10\tx\ta\tb\tc\td\n", "row 11350: the field reaches past the end"},
      {"wrong language name", "0\t21\tname\tEngels\tNederlands\tDeutsch\tFran\xC3\xA7" "ais\n",
       "row 0: the language name \"Engels\" differs"},
      {"no names", "21\t11\tx\ta\tb\tc\td\n", "no row at offset 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(dir / "out.lan");
    std::filesystem::remove(dir / "out.cpp");
    EXPECT_NE(Run(c.rows), 0);
    EXPECT_NE(errors.find(c.expected), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.lan"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.cpp"));
  }
}

TEST_F(LanggenTest, RefusesAWrongHeading) {
  std::ofstream(dir / "texts.tsv") << "offset\troom\tcarries\tEnglish\tDutch\tDeutsch\tFrench\n" << kNames;
  const std::string cmd = std::string("\"") + OMBRELO_LANGGEN + "\" \"" + (dir / "texts.tsv").string() + "\" \"" +
                          (dir / "out.lan").string() + "\" \"" + (dir / "out.cpp").string() + "\" 2> \"" +
                          (dir / "err.txt").string() + "\"";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  EXPECT_NE(ReadBytes(dir / "err.txt").find("texts.tsv:1: the heading must be"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.lan"));
}

}  // namespace
