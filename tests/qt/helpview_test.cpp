// The rich-text view puts the paragraph the model asks for at the top, and
// the help window shows the shipped English document on a topic, as the Qt
// front end draws them. OMBRELO_RENDER_DIR=folder keeps the picture of the
// help window (the screenshot script uses it).
#include <QImage>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "formkit/helpunit.h"
#include "qtfixture.h"
#include "support/fakefs.h"
#include "ui/richedit.h"

namespace qttest {
namespace {

class ViewForm : public ui::Form {
 public:
  ViewForm() : ui::Form("ViewForm", "TViewForm") {
    width = 500;
    height = 300;
    RichEdit1.hints.stretch = 1;
  }
  ui::RichEdit RichEdit1{this, "RichEdit1"};
};

// The paragraph at the top of the view.
int TopBlock(QTextEdit* edit) { return edit->cursorForPosition(QPoint(4, 4)).blockNumber(); }

class HelpViewQt : public QtFrontTest {};

TEST_F(HelpViewQt, TheParagraphAskedForIsTheTopLineAtEachRequest) {
  ViewForm form;
  std::string rtf = "{\\rtf1\\ansi ";
  for (int i = 0; i < 200; ++i) rtf += "Paragraph " + std::to_string(i) + "\\par ";
  form.RichEdit1.LoadRtf(rtf + "}");
  form.RichEdit1.ScrollToParagraph(40);  // before the window exists
  ASSERT_FALSE(qtfront::RenderForm(form).isNull());
  auto* edit = qobject_cast<QTextEdit*>(qtfront::FindWidget(form, "RichEdit1"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(TopBlock(edit), 40);

  form.RichEdit1.ScrollToParagraph(120);
  EXPECT_EQ(TopBlock(edit), 120);
  // The user scrolled away; the same paragraph asked for again comes back.
  edit->verticalScrollBar()->setValue(0);
  form.RichEdit1.ScrollToParagraph(120);
  EXPECT_EQ(TopBlock(edit), 120);
  form.RichEdit1.ScrollToParagraph(0);
  EXPECT_EQ(edit->verticalScrollBar()->value(), 0);
  // A new document starts at its top.
  form.RichEdit1.ScrollToParagraph(150);
  form.RichEdit1.LoadRtf(rtf + "}");
  EXPECT_EQ(TopBlock(edit), 0);
}

TEST_F(HelpViewQt, TheHelpWindowShowsTheTopicOfItsTag) {
  support::FakeDataStore store;
  std::ifstream in(std::filesystem::path(OMBRELO_HELP_FOLDER) / "helpenglish.rtf", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  ASSERT_FALSE(bytes.str().empty());
  store.fs.SetFile("/w/helpenglish.rtf", bytes.str());

  formkit::Thelpform form;
  formkit::HelpCaptionBlock = {"File", "Exit", "Cancel", "English", "Contents"};
  formkit::RequestedHelpTag = "<PAY02>";
  form.FormActivate();
  const QImage img = qtfront::RenderForm(form);
  ASSERT_FALSE(img.isNull());
  if (const char* dir = std::getenv("OMBRELO_RENDER_DIR")) img.save(QString::fromStdString(std::string(dir) + "/help.png"));

  auto* edit = qobject_cast<QTextEdit*>(qtfront::FindWidget(form, "RichEdit1"));
  auto* tree = qobject_cast<QTreeWidget*>(qtfront::FindWidget(form, "TreeView1"));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(tree, nullptr);
  const ui::TreeNode* selected = form.TreeView1.Selected();
  ASSERT_NE(selected, nullptr);
  const formkit::HelpTopic& topic = form.Topics().topics.at(static_cast<std::size_t>(selected->data));
  EXPECT_EQ(topic.tag, "<PAY02>");
  EXPECT_EQ(TopBlock(edit), static_cast<int>(topic.line));
  EXPECT_EQ(edit->document()->findBlockByNumber(TopBlock(edit)).text().toStdString(), topic.caption);
  ASSERT_NE(tree->currentItem(), nullptr);
  EXPECT_EQ(tree->currentItem()->text(0).toStdString(), topic.caption);
}

}  // namespace
}  // namespace qttest
