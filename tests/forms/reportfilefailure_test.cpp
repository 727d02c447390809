// The forms' one report of a store's answer: the message box of a file set
// that did not open, nothing for any other outcome.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formkit/filesetscope.h"
#include "platform/oserror.h"
#include "store/result.h"
#include "support/reset.h"
#include "ui/headless.h"

namespace {

enum class TestOutcome { Done, FileSetFailed, NotFound };
using TestResult = store::Result<TestOutcome, int>;

TEST(ReportFileFailure, ShowsTheSetsFailureOnlyForAFileFailure) {
  const store::FileSetFailure why{1, "IO errorcode: GLA5", 5};
  struct Case {
    const char* what;
    TestResult result;
    formkit::FileSetReport report;
    bool reported;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"done", TestResult{TestOutcome::Done, {}, 7}, formkit::FileSetReport::TextAndOsText, false, {}},
      {"refused", TestResult{TestOutcome::NotFound, {}, {}}, formkit::FileSetReport::TextAndOsText, false, {}},
      {"failed, both texts", TestResult::Failed(why), formkit::FileSetReport::TextAndOsText, true,
       {"IO errorcode: GLA5  " + platform::OsErrorText(5)}},
      {"failed, text only", TestResult::Failed(why), formkit::FileSetReport::TextOnly, true, {"IO errorcode: GLA5"}},
      {"failed, silent", TestResult::Failed(why), formkit::FileSetReport::Silent, true, {}},
  };
  for (const Case& c : cases) {
    support::ProgramState state;
    ui::HeadlessBackend backend;
    EXPECT_EQ(formkit::ReportFileFailure(c.result, c.report), c.reported) << c.what;
    std::vector<std::string> shown;
    for (const auto& m : backend.messages) shown.push_back(m.text);
    EXPECT_EQ(shown, c.shown) << c.what;
  }
}

TEST(ResultShape, OkAndFileFailedFollowTheOutcome) {
  const TestResult done{TestOutcome::Done, {}, 3};
  EXPECT_TRUE(done.Ok());
  EXPECT_FALSE(done.FileFailed());
  const TestResult failed = TestResult::Failed({2, "File(s) in use", 0});
  EXPECT_FALSE(failed.Ok());
  EXPECT_TRUE(failed.FileFailed());
  EXPECT_EQ(failed.failure.result, 2);
  EXPECT_FALSE(failed.value.has_value());
  const TestResult refused{TestOutcome::NotFound, {}, {}};
  EXPECT_FALSE(refused.Ok());
  EXPECT_FALSE(refused.FileFailed());
}

}  // namespace
