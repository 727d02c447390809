// Record access on the files of an open set: counting, whole-record reads
// and writes, sorted insert and delete (compared with moving one record at a
// time), the whole-file rewrite and the text files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/oserror.h"
#include "records/codec.h"
#include "store/fileset.h"
#include "support/fakefs.h"

namespace {

using store::FileCode;
using support::FakeFileSystem;

// `count` records of `size` bytes, record i filled with a pattern of its own.
std::string Records(std::size_t size, int count, int first = 0) {
  std::string s;
  for (int i = 0; i < count; ++i)
    for (std::size_t b = 0; b < size; ++b) s += static_cast<char>((first + i) * 7 + b % 13 + 1);
  return s;
}

void Put(std::string& file, std::size_t at, const std::string& bytes) {
  if (file.size() < at + bytes.size()) file.resize(at + bytes.size(), '\0');
  file.replace(at, bytes.size(), bytes);
}

// Inserting and deleting one record at a time, as the sorted files always
// did: the reference for the block moves.
std::string InsertOneByOne(std::string file, std::size_t size, int k, const std::string& recs) {
  const int n = static_cast<int>(file.size() / size);
  const int m = static_cast<int>(recs.size() / size);
  for (int i = n - 1; i >= k; --i) Put(file, (i + m) * size, file.substr(i * size, size));
  Put(file, k * size, recs);
  return file;
}

std::string DeleteOneByOne(std::string file, std::size_t size, int k, int m) {
  const int n = static_cast<int>(file.size() / size);
  for (int i = k + m; i < n; ++i) Put(file, (i - m) * size, file.substr(i * size, size));
  file.resize((n - m) * size);
  return file;
}

class RecordFileTest : public ::testing::Test {
 protected:
  void Open(const std::string& list) {
    int result = -1;
    store::OpenFileSet(list, result);
    ASSERT_EQ(result, 0) << store::FileErrorText;
  }
  void TearDown() override { store::ForceCloseFileSet(); }

  support::FakeDataStore store;
  FakeFileSystem& fs = store.fs;
};

TEST_F(RecordFileTest, CountIsTheNumberOfWholeRecords) {
  const struct {
    std::size_t bytes;
    int count;
  } cases[] = {{0, 0}, {391, 0}, {392, 1}, {393, 1}, {392 * 3 + 391, 3}};
  for (const auto& c : cases) {
    fs.SetFile("/w/book.vlk", std::string(c.bytes, 'x'));
    Open("JVO");
    EXPECT_EQ(store::RecordCount(FileCode::JVO), c.count) << c.bytes << " bytes";
    store::CloseFileSet();
  }
}

TEST_F(RecordFileTest, RecordsAreReadAndWrittenWholeAtTheirIndex) {
  const std::size_t size = 116;  // IFS
  fs.SetFile("/w/ifs.vlk", Records(size, 3));
  Open("IFS");
  std::string buf(size, '\0');
  store::ReadRecord(FileCode::IFS, 2, buf.data());
  EXPECT_EQ(buf, Records(size, 1, 2));

  const std::string fresh = Records(size, 1, 40);
  store::WriteRecord(FileCode::IFS, 1, fresh.data());
  store::WriteRecord(FileCode::IFS, 3, fresh.data());  // at the end: appends
  store::AppendRecord(FileCode::IFS, fresh.data());
  EXPECT_EQ(store::RecordCount(FileCode::IFS), 5);
  EXPECT_EQ(fs.File("/w/ifs.vlk"), Records(size, 1, 0) + fresh + Records(size, 1, 2) + fresh + fresh);

  store::TruncateRecords(FileCode::IFS, 2);
  EXPECT_EQ(fs.File("/w/ifs.vlk"), Records(size, 1, 0) + fresh);
}

TEST_F(RecordFileTest, TypedRecordsMustHaveTheFilesSize) {
  struct InsRec : records::Record<3> {};
  struct WrongRec : records::Record<4> {};
  fs.SetFile("/w/ins.vlk", "NLX");
  Open("INS");
  InsRec r;
  store::ReadRecord(FileCode::INS, 0, r);
  EXPECT_EQ(records::ReadShortString(r.data(), 2), "LX");  // length byte 78 clamped to 2
  r.Bytes = {2, 'G', 'B'};
  store::WriteRecord(FileCode::INS, 0, r);
  EXPECT_EQ(fs.File("/w/ins.vlk"), "\x02GB");
  WrongRec w;
  EXPECT_THROW(store::ReadRecord(FileCode::INS, 0, w), std::logic_error);
}

TEST_F(RecordFileTest, IndexOutsideTheFileOrFileNotOpenRaises) {
  fs.SetFile("/w/ins.vlk", "abcdef");
  Open("INS");
  char buf[3];
  const auto code = [&](auto&& call) {
    try {
      call();
    } catch (const platform::IoError& e) {
      return e.Code();
    }
    return 0;
  };
  EXPECT_EQ(code([&] { store::ReadRecord(FileCode::INS, 2, buf); }), platform::kEndOfFile);
  EXPECT_EQ(code([&] { store::ReadRecord(FileCode::INS, -1, buf); }), platform::kEndOfFile);
  EXPECT_EQ(code([&] { store::WriteRecord(FileCode::INS, 3, buf); }), platform::kEndOfFile);
  EXPECT_EQ(code([&] { store::DeleteRecords(FileCode::INS, 1, 2); }), platform::kEndOfFile);
  EXPECT_EQ(code([&] { store::InsertRecords(FileCode::INS, 3, buf, 1); }), platform::kEndOfFile);
  EXPECT_EQ(code([&] { store::ReadRecord(FileCode::GLA, 0, buf); }), platform::kFileNotOpen);
  EXPECT_EQ(fs.File("/w/ins.vlk"), "abcdef");
}

TEST_F(RecordFileTest, FileErrorsRaiseTheirCodeAndName) {
  fs.SetFile("/w/ins.vlk", "abcdef");
  Open("INS");
  fs.InjectError("/w/ins.vlk", FakeFileSystem::Op::Write, platform::kErrnoBase + 28);
  try {
    store::AppendRecord(FileCode::INS, "xyz");
    FAIL() << "no error";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.Code(), 1028);
    EXPECT_NE(std::string(e.what()).find("/w/ins.vlk"), std::string::npos) << e.what();
  }
}

// Insert and delete give the bytes of the record-by-record moves; FRZ's
// 64 KB records make the larger cases move several blocks.
TEST_F(RecordFileTest, InsertAndDeleteEqualTheRecordByRecordMoves) {
  const struct {
    FileCode code;
    const char* name;
    std::size_t size;
    int n, k, m;
    std::size_t tail;  // bytes of a partial record at the end
  } cases[] = {
      {FileCode::JVO, "/w/book.vlk", 392, 0, 0, 1, 0},      // into an empty file
      {FileCode::JVO, "/w/book.vlk", 392, 5, 0, 1, 0},      // at the front
      {FileCode::JVO, "/w/book.vlk", 392, 5, 5, 1, 0},      // at the end
      {FileCode::JVO, "/w/book.vlk", 392, 5, 2, 3, 0},      // several in the middle
      {FileCode::JVO, "/w/book.vlk", 392, 5, 2, 1, 100},    // over a partial tail
      {FileCode::FRZ, "/w/freeze.vlk", 64080, 70, 3, 1, 0},   // more than one block
      {FileCode::FRZ, "/w/freeze.vlk", 64080, 140, 0, 2, 7},  // more than two
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " n=" + std::to_string(c.n) + " k=" + std::to_string(c.k) +
                 " m=" + std::to_string(c.m));
    const std::string original = Records(c.size, c.n) + std::string(c.tail, '\x55');
    const std::string recs = Records(c.size, c.m, 200);
    fs.SetFile(c.name, original);
    Open(store::FileInfo(c.code).name);

    store::InsertRecords(c.code, c.k, recs.data(), c.m);
    const std::string inserted = InsertOneByOne(original, c.size, c.k, recs);
    EXPECT_TRUE(fs.File(c.name) == inserted);

    store::DeleteRecords(c.code, c.k, c.m);
    EXPECT_TRUE(fs.File(c.name) == DeleteOneByOne(inserted, c.size, c.k, c.m));
    EXPECT_EQ(store::RecordCount(c.code), c.n);
    store::CloseFileSet();
  }
}

// The names in the folder reach the disk in the order that makes a power
// loss harmless: the journal's name before the file changes the first time;
// after that the journal is kept and emptied, never deleted or created
// again, so no change renames anything; a rewritten file's new name at
// once.
TEST_F(RecordFileTest, FolderNamesReachTheDiskInSafeOrder) {
  fs.SetFile("/w/book.vlk", Records(392, 3));
  Open("JVO");
  const std::string recs = Records(392, 1, 200);
  const std::string journal = "/w/book.vlk.ombrelo-rollback";
  for (const bool first : {true, false}) {
    SCOPED_TRACE(first ? "first change" : "later change");
    fs.ClearLog();
    if (first)
      store::InsertRecords(FileCode::JVO, 0, recs.data(), 1);
    else
      store::DeleteRecords(FileCode::JVO, 0, 1);
    std::vector<std::string> seen;
    for (const std::string& line : fs.Log())
      if (line == "create " + journal || line == "delete " + journal || line == "syncfolder " + journal)
        seen.push_back(line);
    const std::vector<std::string> expected =
        first ? std::vector<std::string>{"create " + journal, "syncfolder " + journal} : std::vector<std::string>{};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));
  }
  fs.ClearLog();
  store::RewriteFile(FileCode::JVO, recs.data(), 1);
  const auto& log = fs.Log();
  const auto rename = std::find(log.begin(), log.end(), "rename /w/book.vlk.ombrelo-tmp -> /w/book.vlk");
  ASSERT_NE(rename, log.end());
  EXPECT_NE(std::find(rename, log.end(), "syncfolder /w/book.vlk"), log.end());
  store::CloseFileSet();
}

// A copy killed at any point of an insert or delete leaves, once the file is
// opened again, the old records or the new ones: the fake file system
// "crashes" after each call that changes the disk in turn (a write cut off
// there reaches the file half), and the file is reopened. Every crash
// before the journal is gone gives the old file, the run without a crash
// the new one, and no journal is left behind.
TEST_F(RecordFileTest, ACrashAtAnyPointLeavesTheOldOrTheNewRecords) {
  const struct {
    const char* what;
    FileCode code;
    const char* name;
    std::size_t size;
    int n, k, m;
    bool insert;
    std::size_t tail;  // bytes of a partial record at the end
  } cases[] = {
      {"insert at the front", FileCode::JVO, "/w/book.vlk", 392, 6, 0, 1, true, 0},
      {"insert several in the middle", FileCode::JVO, "/w/book.vlk", 392, 6, 2, 3, true, 0},
      {"insert at the end", FileCode::JVO, "/w/book.vlk", 392, 6, 6, 2, true, 0},
      {"insert over a partial tail", FileCode::JVO, "/w/book.vlk", 392, 6, 3, 1, true, 50},
      {"insert moving several blocks", FileCode::FRZ, "/w/freeze.vlk", 64080, 140, 1, 1, true, 0},
      {"delete at the front", FileCode::JVO, "/w/book.vlk", 392, 6, 0, 1, false, 0},
      {"delete several in the middle", FileCode::JVO, "/w/book.vlk", 392, 6, 1, 3, false, 0},
      {"delete the last", FileCode::JVO, "/w/book.vlk", 392, 6, 5, 1, false, 7},
      {"delete moving several blocks", FileCode::FRZ, "/w/freeze.vlk", 64080, 140, 0, 2, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string journal = std::string(c.name) + ".ombrelo-rollback";
    const std::string original = Records(c.size, c.n) + std::string(c.tail, '\x55');
    const std::string recs = Records(c.size, c.m, 200);
    const std::string changed = c.insert ? InsertOneByOne(original, c.size, c.k, recs)
                                         : DeleteOneByOne(original, c.size, c.k, c.m);
    int crashes = 0;
    for (int good = 0;; ++good) {
      SCOPED_TRACE("crash after " + std::to_string(good) + " changing calls");
      fs.ClearErrors();
      fs.SetFile(c.name, original);
      Open(store::FileInfo(c.code).name);
      fs.CrashAfter(good);
      bool raised = false;
      try {
        if (c.insert)
          store::InsertRecords(c.code, c.k, recs.data(), c.m);
        else
          store::DeleteRecords(c.code, c.k, c.m);
      } catch (const platform::IoError&) {
        raised = true;
      }
      store::ForceCloseFileSet();
      fs.ClearErrors();
      Open(store::FileInfo(c.code).name);
      EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));  // nothing to roll back
      if (raised) {
        ++crashes;
        ASSERT_TRUE(fs.File(c.name) == original);
      } else {
        ASSERT_TRUE(fs.File(c.name) == changed);
      }
      store::CloseFileSet();
      if (!raised) break;
    }
    // The kept journal is written (write(s), sync), the file changed and
    // synced, the journal emptied: a crash was tried at each of them.
    EXPECT_GE(crashes, 5);
  }
}

// A replace moves the later records once and leaves the bytes of a delete
// followed by an insert; a crash at any point leaves the old records or the
// new ones, as for an insert or delete, also when the counts are equal and
// the records are overwritten in place (the journal then keeps only them).
TEST_F(RecordFileTest, AReplaceEqualsDeleteThenInsertAndSurvivesACrash) {
  const struct {
    const char* what;
    int n, k, oldCount, newCount;
    std::size_t tail;
  } cases[] = {
      {"fewer at the front", 6, 0, 3, 2, 0},
      {"more in the middle", 6, 2, 2, 5, 0},
      {"as many in the middle", 6, 2, 3, 3, 0},
      {"fewer at the end", 6, 4, 2, 1, 0},
      {"more over a partial tail", 6, 3, 1, 2, 50},
  };
  const std::string name = "/w/book.vlk";
  const std::string journal = name + ".ombrelo-rollback";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string original = Records(392, c.n) + std::string(c.tail, '\x55');
    const std::string recs = Records(392, c.newCount, 200);
    const std::string changed =
        InsertOneByOne(DeleteOneByOne(original, 392, c.k, c.oldCount), 392, c.k, recs);
    int crashes = 0;
    for (int good = 0;; ++good) {
      SCOPED_TRACE("crash after " + std::to_string(good) + " changing calls");
      fs.ClearErrors();
      fs.SetFile(name, original);
      Open("JVO");
      fs.CrashAfter(good);
      bool raised = false;
      try {
        store::ReplaceRecords(FileCode::JVO, c.k, c.oldCount, recs.data(), c.newCount);
      } catch (const platform::IoError&) {
        raised = true;
      }
      store::ForceCloseFileSet();
      fs.ClearErrors();
      Open("JVO");
      EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));  // nothing to roll back
      if (raised) {
        ++crashes;
        ASSERT_TRUE(fs.File(name) == original);
      } else {
        ASSERT_TRUE(fs.File(name) == changed);
      }
      store::CloseFileSet();
      if (!raised) break;
    }
    EXPECT_GE(crashes, 1);
  }
}

// A failure in the middle of a change puts the file back at once: the call
// raises, the file holds the old records, no journal is left and the set
// goes on with the file.
TEST_F(RecordFileTest, AFailedChangeIsPutBackAtOnce) {
  const std::string file = "/w/book.vlk";
  const std::string journal = file + ".ombrelo-rollback";
  const struct {
    const char* what;
    bool insert;
    std::string path;
    FakeFileSystem::Op op;
    int after;
    bool kept;  // the journal is there, kept from an earlier change
  } cases[] = {
      {"insert: first move", true, file, FakeFileSystem::Op::Write, 0, true},
      {"insert: the new records", true, file, FakeFileSystem::Op::Write, 1, true},
      {"insert: sync of the file", true, file, FakeFileSystem::Op::Sync, 0, true},
      {"insert: journal not created", true, journal, FakeFileSystem::Op::Create, 0, false},
      {"insert: kept journal not opened", true, journal, FakeFileSystem::Op::OpenReadWrite, 0, true},
      {"insert: journal not written", true, journal, FakeFileSystem::Op::Write, 0, true},
      {"insert: journal not synced", true, journal, FakeFileSystem::Op::Sync, 0, false},
      {"insert: journal not cleared", true, journal, FakeFileSystem::Op::Write, 2, true},  // after bytes, header
      {"delete: first move", false, file, FakeFileSystem::Op::Write, 0, true},
      {"delete: the cut", false, file, FakeFileSystem::Op::Truncate, 0, true},
      {"delete: sync of the file", false, file, FakeFileSystem::Op::Sync, 0, true},
      {"delete: journal not cleared", false, journal, FakeFileSystem::Op::Write, 2, true},
  };
  const std::string original = Records(392, 5);
  const std::string rec = Records(392, 1, 90);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs.ClearErrors();
    if (c.kept)
      fs.SetFile(journal, "");
    else if (fs.HasFile(journal))
      fs.Delete(journal);
    fs.SetFile(file, original);
    Open("JVO");
    fs.InjectError(c.path, c.op, platform::kErrnoBase + 28, 1, c.after);
    if (c.insert)
      EXPECT_THROW(store::InsertRecords(FileCode::JVO, 1, rec.data(), 1), platform::IoError);
    else
      EXPECT_THROW(store::DeleteRecords(FileCode::JVO, 1, 2), platform::IoError);
    EXPECT_TRUE(fs.File(file) == original);
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));
    store::AppendRecord(FileCode::JVO, rec.data());
    EXPECT_TRUE(fs.File(file) == original + rec);
    store::CloseFileSet();
  }
}

// When the file cannot be put back either, it leaves the set (calls on it
// fail with 6) and the next set that opens it puts it back.
TEST_F(RecordFileTest, AFileThatCannotBePutBackLeavesTheSetUntilItIsOpenedAgain) {
  const std::string file = "/w/book.vlk";
  const std::string original = Records(392, 4);
  fs.SetFile(file, original);
  Open("JVO;GLA");
  fs.InjectError(file, FakeFileSystem::Op::Write, platform::kErrnoBase + 5, -1, 1);
  const std::string rec = Records(392, 1, 90);
  EXPECT_THROW(store::InsertRecords(FileCode::JVO, 0, rec.data(), 1), platform::IoError);
  EXPECT_TRUE(fs.HasFile(file + ".ombrelo-rollback"));
  EXPECT_FALSE(fs.File(file) == original);
  try {
    store::RecordCount(FileCode::JVO);
    ADD_FAILURE() << "the file is still in the set";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.Code(), platform::kFileNotOpen);
  }
  fs.ClearErrors();
  Open("JVO");  // nested: opens the file again, which puts it back
  EXPECT_TRUE(fs.File(file) == original);
  EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(file + ".ombrelo-rollback")));
  EXPECT_EQ(store::RecordCount(FileCode::JVO), 4);
  store::CloseFileSet();
  store::CloseFileSet();
  EXPECT_EQ(fs.OpenHandles(), 0);
}

// A journal that is not whole was cut off before the file changed: it is
// emptied and the file stays as it is. A whole one puts the file back, and
// an empty one holds nothing to roll back.
TEST_F(RecordFileTest, OnlyAWholeJournalPutsTheFileBack) {
  const std::string file = "/w/book.vlk";
  const std::string journal = file + ".ombrelo-rollback";
  const std::string original = Records(392, 4) + "part";
  // A whole journal: every write of the file fails, so the change and its
  // putting back both fail, and the journal stays.
  fs.SetFile(file, original);
  Open("JVO");
  fs.InjectError(file, FakeFileSystem::Op::Write, platform::kErrnoBase + 5);
  const std::string rec = Records(392, 1, 90);
  EXPECT_THROW(store::InsertRecords(FileCode::JVO, 1, rec.data(), 1), platform::IoError);
  store::ForceCloseFileSet();
  fs.ClearErrors();
  const std::string whole = fs.File(journal);
  ASSERT_EQ(whole.size(), 40 + original.size() - 392);

  // What a cut-off move might leave: the bytes from the insert on changed.
  const std::string damaged = original.substr(0, 392) + Records(392, 2, 50);
  const auto flipped = [](std::string s, std::size_t at) {
    s[at] = static_cast<char>(s[at] ^ 0x20);
    return s;
  };
  const struct {
    const char* what;
    std::string journal;
    bool restores;
  } cases[] = {
      {"whole", whole, true},
      {"empty", "", false},
      {"header cut off", whole.substr(0, 39), false},
      {"bytes cut off", whole.substr(0, whole.size() - 1), false},
      {"followed by older bytes (a kept journal)", whole + "x", true},
      {"a saved byte changed", flipped(whole, whole.size() - 10), false},
      {"the old size changed", flipped(whole, 8), false},
      {"no journal of ours", flipped(whole, 0), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs.SetFile(file, damaged);
    fs.SetFile(journal, c.journal);
    Open("JVO");
    EXPECT_TRUE(fs.File(file) == (c.restores ? original : damaged));
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));  // emptied: nothing to roll back
    store::CloseFileSet();
  }

  // A journal beside a file that no longer exists belongs to nothing.
  fs.SetFile(journal, whole);
  ASSERT_EQ(fs.Delete(file), 0);
  Open("JVO");
  EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(file)));
  EXPECT_FALSE(fs.HasFile(journal));
  store::CloseFileSet();
}

// The journal and a rewrite's temporary file hold the file's bytes: they
// have its access mode from the moment they exist. A temporary file left by
// a rewrite that was killed goes when the file is next opened.
TEST_F(RecordFileTest, CopiesOfAFileHaveItsModeAndAStaleTemporaryFileGoes) {
  fs.SetFile("/w/user.vlk", Records(284, 2));
  fs.SetMode("/w/user.vlk", 0600);
  const std::string rec = Records(284, 1, 9);
  const struct {
    const char* what;
    std::string copy;
    std::function<void()> change;
  } cases[] = {
      {"rewrite", "/w/user.vlk.ombrelo-tmp", [&] { store::RewriteFile(FileCode::USE, rec.data(), 1); }},
      {"insert", "/w/user.vlk.ombrelo-rollback", [&] { store::InsertRecords(FileCode::USE, 0, rec.data(), 1); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Open("USE");
    fs.CrashAfter(1);  // killed right after the copy was created
    EXPECT_THROW(c.change(), platform::IoError);
    store::ForceCloseFileSet();
    fs.ClearErrors();
    ASSERT_TRUE(fs.HasFile(c.copy));
    EXPECT_EQ(fs.ModeOf(c.copy), 0600u);
    Open("USE");
    // The rewrite's temporary file goes; the journal is kept, cleared.
    EXPECT_EQ(fs.HasFile(c.copy), c.copy.ends_with("rollback"));
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(c.copy)));
    EXPECT_EQ(fs.ModeOf(c.copy), c.copy.ends_with("rollback") ? 0600u : 0u);
    EXPECT_EQ(fs.File("/w/user.vlk"), Records(284, 2));
    store::CloseFileSet();
  }
  // A kept journal follows the file's mode when that changes.
  fs.SetMode("/w/user.vlk", 0640);
  Open("USE");
  store::InsertRecords(FileCode::USE, 0, rec.data(), 1);
  store::CloseFileSet();
  EXPECT_EQ(fs.ModeOf("/w/user.vlk.ombrelo-rollback"), 0640u);
  EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File("/w/user.vlk.ombrelo-rollback")));
  fs.SetMode("/w/user.vlk", 0600);
  // The rewritten file keeps the mode.
  Open("USE");
  store::RewriteFile(FileCode::USE, rec.data(), 1);
  store::CloseFileSet();
  EXPECT_EQ(fs.ModeOf("/w/user.vlk"), 0600u);

  // Also the administrations file, and a stale temporary file of a missing
  // file.
  fs.SetFile("/w/admin.vlk.ombrelo-tmp", "junk");
  fs.SetFile("/w/ledger.vlk.ombrelo-tmp", "junk");
  Open("GLA;ADM");
  EXPECT_FALSE(fs.HasFile("/w/admin.vlk.ombrelo-tmp"));
  EXPECT_FALSE(fs.HasFile("/w/ledger.vlk.ombrelo-tmp"));
  store::CloseFileSet();
}

// ReadAll reads in blocks, not record by record, and never more than the
// limit allows.
// ---- A change of several files together

// One file of a group change: its records, and what goes in and over.
struct GroupCase {
  FileCode code;
  const char* path;
  std::size_t size;
  int n;                    // records in the file
  std::vector<int> insertAt;
  std::vector<int> overwriteAt;
};

store::FileChange ChangeOf(const GroupCase& g) {
  store::FileChange c{g.code, g.insertAt, Records(g.size, static_cast<int>(g.insertAt.size()), 100), g.overwriteAt,
                      Records(g.size, static_cast<int>(g.overwriteAt.size()), 150)};
  return c;
}

// The bytes of inserting the new records one at a time, each where the
// ones before it left its index, then overwriting the records at their
// moved places.
std::string OneByOne(const GroupCase& g, const std::string& original) {
  std::string file = original;
  for (std::size_t r = 0; r < g.insertAt.size(); ++r)
    file = InsertOneByOne(file, g.size, g.insertAt[r] + static_cast<int>(r), Records(g.size, 1, 100 + static_cast<int>(r)));
  for (std::size_t k = 0; k < g.overwriteAt.size(); ++k) {
    const int at = g.overwriteAt[k];
    const auto moved = std::upper_bound(g.insertAt.begin(), g.insertAt.end(), at) - g.insertAt.begin();
    Put(file, (at + moved) * g.size, Records(g.size, 1, 150 + static_cast<int>(k)));
  }
  return file;
}

TEST_F(RecordFileTest, AGroupChangeGivesTheBytesOfOneChangeAfterTheOther) {
  const struct {
    const char* what;
    std::vector<GroupCase> files;
    std::size_t tail;  // bytes of a partial record at the end of the first file
  } cases[] = {
      {"inserts spread, several at one index, at both ends",
       {{FileCode::JVO, "/w/book.vlk", 392, 6, {0, 3, 3, 6, 6}, {}}}, 0},
      {"over a partial tail", {{FileCode::JVO, "/w/book.vlk", 392, 4, {2}, {}}}, 50},
      {"into an empty file", {{FileCode::PAY, "/w/payment.vlk", 584, 0, {0, 0, 0}, {}}}, 0},
      {"three files: inserts, inserts and overwrites",
       {{FileCode::JVO, "/w/book.vlk", 392, 6, {1, 5}, {0, 5}},
        {FileCode::PAY, "/w/payment.vlk", 584, 4, {2, 4}, {}},
        {FileCode::INV, "/w/invsum.vlk", 224, 5, {}, {1, 4}}},
       0},
      {"moving more than a block", {{FileCode::FRZ, "/w/freeze.vlk", 64080, 20, {0, 10}, {15}}}, 0},
      {"many inserts over several blocks",
       {{FileCode::JVO, "/w/book.vlk", 392, 4000, {7, 700, 1337, 1337, 2500, 3999, 4000}, {1, 3000}}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<store::FileChange> changes;
    std::string list;
    for (std::size_t i = 0; i < c.files.size(); ++i) {
      const GroupCase& g = c.files[i];
      fs.SetFile(g.path, Records(g.size, g.n) + (i == 0 ? std::string(c.tail, '\x55') : std::string()));
      changes.push_back(ChangeOf(g));
      list += std::string(store::FileInfo(g.code).name) + ";";
    }
    std::vector<std::string> expected;
    for (const GroupCase& g : c.files) expected.push_back(OneByOne(g, fs.File(g.path)));
    Open(list);
    store::ChangeTogether(changes);
    store::CloseFileSet();
    for (std::size_t i = 0; i < c.files.size(); ++i) EXPECT_TRUE(fs.File(c.files[i].path) == expected[i]) << c.files[i].path;
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File("/w/.ombrelo-group-rollback")));
  }
}

// Killed at any call that changes the disk, then any one file of the folder
// opened again: every file of the change is old, or every one is new.
TEST_F(RecordFileTest, AGroupChangeCutOffAnywhereLeavesEveryFileOldOrEveryFileNew) {
  const std::vector<GroupCase> files = {{FileCode::JVO, "/w/book.vlk", 392, 6, {0, 3, 3, 6}, {2}},
                                        {FileCode::PAY, "/w/payment.vlk", 584, 4, {2}, {}},
                                        {FileCode::INV, "/w/invsum.vlk", 224, 5, {}, {1, 4}}};
  std::vector<store::FileChange> changes;
  std::string before, after;
  for (const GroupCase& g : files) {
    changes.push_back(ChangeOf(g));
    before += Records(g.size, g.n);
    after += OneByOne(g, Records(g.size, g.n));
  }
  const auto all = [&] {
    std::string bytes;
    for (const GroupCase& g : files) bytes += fs.File(g.path);
    return bytes;
  };
  int crashes = 0;
  for (int good = 0;; ++good) {
    SCOPED_TRACE("crash after " + std::to_string(good) + " changing calls");
    ASSERT_LT(good, 100);
    fs.ClearErrors();
    for (const GroupCase& g : files) fs.SetFile(g.path, Records(g.size, g.n));
    Open("JVO;PAY;INV");
    fs.CrashAfter(good);
    bool raised = false;
    try {
      store::ChangeTogether(changes);
    } catch (const platform::IoError&) {
      raised = true;
    }
    store::ForceCloseFileSet();
    fs.ClearErrors();
    Open("INV");  // one file of the folder puts them all back
    store::CloseFileSet();
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File("/w/.ombrelo-group-rollback")));
    ASSERT_TRUE(all() == (raised ? before : after));
    if (!raised) break;
    ++crashes;
  }
  // The journal written and synced, three files changed and synced, the
  // journal emptied.
  EXPECT_GE(crashes, 9);
}

// A failure part-way puts every file back at once; when that fails too, the
// files leave the set and the next open of one of them puts all back. An
// empty group journal, or one that is not whole, holds nothing to roll back.
TEST_F(RecordFileTest, AFailedGroupChangeIsPutBackWhole) {
  const std::vector<GroupCase> files = {{FileCode::JVO, "/w/book.vlk", 392, 6, {1}, {}},
                                        {FileCode::PAY, "/w/payment.vlk", 584, 4, {0}, {}}};
  const std::string journal = "/w/.ombrelo-group-rollback";
  std::vector<store::FileChange> changes;
  for (const GroupCase& g : files) {
    changes.push_back(ChangeOf(g));
    fs.SetFile(g.path, Records(g.size, g.n));
  }
  const std::string jvo = fs.File("/w/book.vlk"), pay = fs.File("/w/payment.vlk");

  // The second file fails: the first is put back at once.
  Open("JVO;PAY");
  fs.InjectError("/w/payment.vlk", FakeFileSystem::Op::Write, platform::kErrnoBase + 28, 1);
  EXPECT_THROW(store::ChangeTogether(changes), platform::IoError);
  EXPECT_TRUE(fs.File("/w/book.vlk") == jvo);
  EXPECT_TRUE(fs.File("/w/payment.vlk") == pay);
  EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));
  EXPECT_EQ(store::RecordCount(FileCode::JVO), 6);  // still in the set
  store::CloseFileSet();

  // Nor can it be put back: both files leave the set, and the journal stays
  // until a file of the folder is opened again.
  fs.ClearErrors();
  Open("JVO;PAY;GLA");
  fs.InjectError("/w/payment.vlk", FakeFileSystem::Op::Sync, platform::kErrnoBase + 5, 1);
  fs.InjectError("/w/payment.vlk", FakeFileSystem::Op::Write, platform::kErrnoBase + 5, -1, 1);
  EXPECT_THROW(store::ChangeTogether(changes), platform::IoError);
  EXPECT_FALSE(support::HoldsNothingToRollBack(fs.File(journal)));
  EXPECT_FALSE(fs.File("/w/payment.vlk") == pay);  // changed, not synced
  for (FileCode c : {FileCode::JVO, FileCode::PAY}) {
    try {
      store::RecordCount(c);
      ADD_FAILURE() << "still in the set";
    } catch (const platform::IoError& e) {
      EXPECT_EQ(e.Code(), platform::kFileNotOpen);
    }
  }
  fs.ClearErrors();
  Open("PAY");  // nested: opens PAY again, which puts both back
  EXPECT_TRUE(fs.File("/w/book.vlk") == jvo);
  EXPECT_TRUE(fs.File("/w/payment.vlk") == pay);
  EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));
  store::CloseFileSet();
  store::CloseFileSet();

  // A journal cut off or not ours: nothing is put back.
  Open("JVO;PAY");
  fs.CrashAfter(6);  // killed after the journal is written, part of JVO changed
  EXPECT_THROW(store::ChangeTogether(changes), platform::IoError);
  store::ForceCloseFileSet();
  fs.ClearErrors();
  const std::string whole = fs.File(journal);
  ASSERT_GT(whole.size(), 32u);
  const std::string changedJvo = fs.File("/w/book.vlk");
  for (const std::string& damaged : {std::string(), whole.substr(0, whole.size() - 1), whole.substr(0, 31),
                                     "X" + whole.substr(1)}) {
    fs.SetFile(journal, damaged);
    Open("GLA");
    store::CloseFileSet();
    EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File(journal)));
    EXPECT_TRUE(fs.File("/w/book.vlk") == changedJvo);
  }
}

TEST_F(RecordFileTest, ReadAllReadsInBlocksUpToItsLimit) {
  struct VoucherRec : records::Record<392> {};
  for (int n : {0, 1, 2674, 2675, 6000}) {
    SCOPED_TRACE(n);
    fs.ClearErrors();
    fs.SetFile("/w/book.vlk", Records(392, n) + "part");
    Open("JVO");
    // Three reads serve 6000 records (about 1 MiB each); a fourth fails.
    fs.InjectError("/w/book.vlk", FakeFileSystem::Op::Read, platform::kErrnoBase + 5, -1, 3);
    const std::vector<VoucherRec> recs = store::ReadAll<VoucherRec>(FileCode::JVO, 8u << 20);
    ASSERT_EQ(recs.size(), static_cast<std::size_t>(n));
    std::string bytes;
    for (const VoucherRec& r : recs) bytes.append(reinterpret_cast<const char*>(r.data()), 392);
    EXPECT_TRUE(bytes == Records(392, n));
    store::CloseFileSet();
  }
  fs.ClearErrors();
  fs.SetFile("/w/book.vlk", Records(392, 10));
  Open("JVO");
  try {
    store::ReadAll<VoucherRec>(FileCode::JVO, 392 * 10 - 1);
    ADD_FAILURE() << "read a file over its limit";
  } catch (const platform::IoError& e) {
    EXPECT_NE(std::string(e.what()).find("\"/w/book.vlk\""), std::string::npos) << e.what();
  }
  EXPECT_EQ(store::ReadAll<VoucherRec>(FileCode::JVO, 392 * 10).size(), 10u);
  store::CloseFileSet();
}

TEST_F(RecordFileTest, DeleteDropsAPartialTail) {
  fs.SetFile("/w/ins.vlk", "aaabbbcccdd");
  Open("INS");
  store::DeleteRecords(FileCode::INS, 0);
  EXPECT_EQ(fs.File("/w/ins.vlk"), "bbbccc");
}

TEST_F(RecordFileTest, RewriteReplacesTheFileAndTheSetGoesOnWithTheNewOne) {
  fs.SetFile("/w/ins.vlk", "aaabbbccc");
  Open("INS");
  store::RewriteFile(FileCode::INS, "xxxyyy", 2);
  EXPECT_EQ(fs.File("/w/ins.vlk"), "xxxyyy");
  EXPECT_EQ(fs.LogOf("rename "), std::vector<std::string>{"/w/ins.vlk.ombrelo-tmp -> /w/ins.vlk"});
  store::AppendRecord(FileCode::INS, "zzz");
  EXPECT_EQ(fs.File("/w/ins.vlk"), "xxxyyyzzz");
  EXPECT_FALSE(fs.HasFile("/w/ins.vlk.ombrelo-tmp"));

  store::RewriteFile(FileCode::INS, nullptr, 0);
  EXPECT_TRUE(support::HoldsNothingToRollBack(fs.File("/w/ins.vlk")));
  EXPECT_EQ(store::RecordCount(FileCode::INS), 0);
  store::CloseFileSet();
  EXPECT_EQ(fs.OpenHandles(), 0);
}

TEST_F(RecordFileTest, RewriteFailingPartWayLeavesTheOldFile) {
  const struct {
    const char* path;
    FakeFileSystem::Op op;
  } failures[] = {
      {"/w/ins.vlk.ombrelo-tmp", FakeFileSystem::Op::Create},
      {"/w/ins.vlk.ombrelo-tmp", FakeFileSystem::Op::Write},
      {"/w/ins.vlk.ombrelo-tmp", FakeFileSystem::Op::Sync},
      {"/w/ins.vlk.ombrelo-tmp", FakeFileSystem::Op::Rename},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(static_cast<int>(f.op));
    fs.ClearErrors();
    fs.SetFile("/w/ins.vlk", "aaabbb");
    Open("INS");
    fs.InjectError(f.path, f.op, platform::kErrnoBase + 28);
    EXPECT_THROW(store::RewriteFile(FileCode::INS, "xxxyyyzzz", 3), platform::IoError);
    EXPECT_EQ(fs.File("/w/ins.vlk"), "aaabbb");
    EXPECT_FALSE(fs.HasFile("/w/ins.vlk.ombrelo-tmp"));
    // The set still works on the old file.
    store::AppendRecord(FileCode::INS, "ccc");
    EXPECT_EQ(fs.File("/w/ins.vlk"), "aaabbbccc");
    store::CloseFileSet();
  }
}

TEST_F(RecordFileTest, TextFileLinesEndAtCrLfLfOrCr) {
  fs.SetFile("/w/help.rtf", "one\r\ntwo\nthree\rfour\r\n\r\nlast");
  store::TextFileName = "help.rtf";
  Open("HEN");
  EXPECT_EQ(store::ReadTextLines(FileCode::HEN), (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
  EXPECT_EQ(store::ReadTextFile(FileCode::HEN), "one\r\ntwo\nthree\rfour\r\n\r\nlast");
  EXPECT_EQ(store::OpenedFilePath(FileCode::HEN), "/w/help.rtf");
  EXPECT_THROW(store::RecordCount(FileCode::HEN), std::logic_error);
}

// The same moves on a real file.
TEST(RealRecordFileTest, InsertDeleteAndRewriteOnDisk) {
  char tmpl[] = "/tmp/ombrelo-records-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  support::ResetFileSetUnit(dir + "/");
  const std::string path = dir + "/book.vlk";
  const std::string original = Records(392, 30) + "tail";
  { std::ofstream(path, std::ios::binary) << original; }
  const auto contents = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };

  int result = -1;
  store::OpenFileSet("JVO", result);
  ASSERT_EQ(result, 0) << store::FileErrorText;
  const std::string recs = Records(392, 2, 90);
  store::InsertRecords(FileCode::JVO, 7, recs.data(), 2);
  const std::string inserted = InsertOneByOne(original, 392, 7, recs);
  EXPECT_TRUE(contents() == inserted);
  store::DeleteRecords(FileCode::JVO, 7, 2);
  EXPECT_TRUE(contents() == DeleteOneByOne(inserted, 392, 7, 2));

  const std::string fresh = Records(392, 3, 50);
  store::RewriteFile(FileCode::JVO, fresh.data(), 3);
  store::AppendRecord(FileCode::JVO, recs.data());
  EXPECT_TRUE(contents() == fresh + recs.substr(0, 392));
  store::CloseFileSet();

  std::filesystem::remove_all(dir);
  support::ResetFileSetUnit("");
}

}  // namespace
