// Whole passes over a record file block by block: every whole record once,
// in file order, in blocks that never exceed the block size, whatever the
// file's length against it; a failing read is raised, not skipped.
#include "store/recordscan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "records/journalvoucherrec.h"
#include "store/scopedfileset.h"
#include "support/fakefs.h"
#include "support/records.h"

namespace {

using records::JournalVoucherRec;

constexpr std::size_t kBlock = (1u << 20) / JournalVoucherRec::kSize;

struct RecordBlocks : ::testing::Test {
  support::FakeDataStore store;
  void SetUp() override {
    store.fs.AddFolder("/d/ACME");
    store::SetDataRoot("/d/");
    store::SetCurrentAdministrationFolder("ACME");
  }
  // A voucher file of `count` records, each numbered by its index, and
  // `tail` bytes of a record cut off at its end.
  void MakeFile(std::size_t count, std::size_t tail) {
    std::vector<JournalVoucherRec> recs(count);
    for (std::size_t i = 0; i < count; ++i) recs[i].SetPartnerNumber(static_cast<std::int32_t>(i));
    std::string bytes = support::Bytes(recs);
    bytes.append(tail, 'x');
    store.fs.SetFile("/d/ACME/book.vlk", bytes);
  }
};

TEST_F(RecordBlocks, GiveEveryWholeRecordOnceInOrder) {
  struct Case {
    std::size_t count, tail;
  } cases[] = {{0, 0}, {0, 100}, {1, 0}, {kBlock - 1, 0}, {kBlock, 0}, {kBlock + 1, 7}, {2 * kBlock + 500, 391}};
  for (const auto& c : cases) {
    MakeFile(c.count, c.tail);
    store::ScopedFileSet set("JVO;");
    ASSERT_TRUE(set.Ok());
    std::size_t seen = 0, calls = 0;
    bool inOrder = true, sizes = true;
    store::ForEachRecordBlock<JournalVoucherRec>(
        store::FileCode::JVO, [&](const JournalVoucherRec* recs, std::size_t n) {
          ++calls;
          sizes = sizes && n > 0 && n <= kBlock;
          for (std::size_t i = 0; i < n; ++i) inOrder = inOrder && recs[i].PartnerNumber() == static_cast<int>(seen++);
        });
    set.Close();
    EXPECT_EQ(seen, c.count) << c.count;
    EXPECT_TRUE(inOrder) << c.count;
    EXPECT_TRUE(sizes) << c.count;
    EXPECT_EQ(calls, (c.count + kBlock - 1) / kBlock) << c.count;
  }
}

TEST_F(RecordBlocks, AFailingReadIsRaised) {
  MakeFile(kBlock + 10, 0);
  store::ScopedFileSet set("JVO;");
  ASSERT_TRUE(set.Ok());
  store.fs.InjectError("/d/ACME/book.vlk", support::FakeFileSystem::Op::Read, 5, 1, 1);  // the second block
  std::size_t seen = 0;
  EXPECT_THROW(store::ForEachRecordBlock<JournalVoucherRec>(
                   store::FileCode::JVO, [&](const JournalVoucherRec*, std::size_t n) { seen += n; }),
               platform::IoError);
  EXPECT_EQ(seen, kBlock);
}

}  // namespace
