// The rich-text view and the progress bar of the component model.
#include <gtest/gtest.h>

#include "support/reset.h"
#include "ui/clipboard.h"
#include "ui/form.h"
#include "ui/progressbar.h"
#include "ui/richedit.h"

namespace {

class ViewForm : public ui::Form {
 public:
  ViewForm() : ui::Form("View", "TView") {}
  ui::RichEdit RichEdit1{this, "RichEdit1"};
  ui::ProgressBar ProgressBar1{this, "ProgressBar1"};
};

class RichEditTest : public ::testing::Test {
 protected:
  support::ProgramState state;
  ViewForm form;
};

TEST_F(RichEditTest, LoadsFromMemoryAndGivesItsPlainTextInTheCodePage) {
  form.RichEdit1.LoadRtf("{\\rtf1 Caf\\'e9 {\\b one}\\par two\\par}");
  EXPECT_EQ(form.RichEdit1.PlainText(), "Caf\xE9 one\ntwo\n");
  EXPECT_EQ(form.RichEdit1.Document().paragraphs.size(), 2u);
  form.RichEdit1.Clear();
  EXPECT_EQ(form.RichEdit1.PlainText(), "");
}

TEST_F(RichEditTest, CopyTakesTheSelectionAndTheRtfOnlyWhenAllIsSelected) {
  const std::string rtf = "{\\rtf1 one\\par two\\par}";
  form.RichEdit1.LoadRtf(rtf);
  form.RichEdit1.CopyToClipboard();
  EXPECT_TRUE(ui::HeadlessClipboard().copied.empty()) << "nothing selected, nothing copied";
  form.RichEdit1.UserSelect("two", false);
  form.RichEdit1.CopyToClipboard();
  ASSERT_EQ(ui::HeadlessClipboard().copied.size(), 1u);
  EXPECT_EQ(ui::HeadlessClipboard().copied[0], (ui::ClipboardContent{"two", "", ""}));
  form.RichEdit1.SelectAll();
  form.RichEdit1.CopyToClipboard();
  ASSERT_EQ(ui::HeadlessClipboard().copied.size(), 2u);
  EXPECT_EQ(ui::HeadlessClipboard().copied[1], (ui::ClipboardContent{"one\ntwo\n", "", rtf}));
  form.RichEdit1.LoadRtf(rtf);
  EXPECT_FALSE(form.RichEdit1.AllSelected()) << "a new document clears the selection";
}

TEST_F(RichEditTest, ADocumentReadBeforeShowsAsGivenAndCopiesAsPlainText) {
  form.RichEdit1.LoadRtf("{\\rtf1 source\\par}");
  ui::RtfDocument shown = ui::ReadRtf("{\\rtf1 one\\par two\\par}");
  form.RichEdit1.ScrollToParagraph(1);
  form.RichEdit1.LoadDocument(shown);
  EXPECT_EQ(form.RichEdit1.PlainText(), "one\ntwo\n");
  EXPECT_EQ(form.RichEdit1.Rtf(), "");
  EXPECT_EQ(form.RichEdit1.TopParagraph(), 0) << "a new document starts at its top";
  form.RichEdit1.SelectAll();
  form.RichEdit1.CopyToClipboard();
  ASSERT_EQ(ui::HeadlessClipboard().copied.size(), 1u);
  EXPECT_EQ(ui::HeadlessClipboard().copied[0], (ui::ClipboardContent{"one\ntwo\n", "", ""}))
      << "no RTF source to copy";
}

TEST_F(RichEditTest, EachScrollRequestCountsAlsoForTheSameParagraph) {
  form.RichEdit1.LoadRtf("{\\rtf1 a\\par b\\par c\\par}");
  const int loaded = form.RichEdit1.DocumentRevision();
  const int before = form.RichEdit1.ScrollRequests();
  form.RichEdit1.ScrollToParagraph(2);
  form.RichEdit1.ScrollToParagraph(2);
  form.RichEdit1.ScrollToParagraph(-3);
  EXPECT_EQ(form.RichEdit1.ScrollRequests(), before + 3);
  EXPECT_EQ(form.RichEdit1.TopParagraph(), 0) << "no paragraph before the first";
  EXPECT_EQ(form.RichEdit1.DocumentRevision(), loaded) << "scrolling loads nothing";
  form.RichEdit1.Clear();
  EXPECT_NE(form.RichEdit1.DocumentRevision(), loaded);
}

TEST_F(RichEditTest, TheProgressBarKeepsItsPositionInItsRange) {
  ui::ProgressBar& bar = form.ProgressBar1;
  for (auto [set, kept] : {std::pair{50, 50}, std::pair{150, 100}, std::pair{-5, 0}}) {
    bar.SetPosition(set);
    EXPECT_EQ(bar.Position(), kept) << set;
  }
  bar.SetPosition(80);
  bar.SetRange(0, 40);
  EXPECT_EQ(bar.Position(), 40);
}

}  // namespace
