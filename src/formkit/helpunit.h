// The help viewer, and the way every form opens it.
//
// Help is one rich-text document per language in the working folder
// ("helpenglish.rtf", "helpNederlands.rtf", "helpDeutsch.rtf"). The help
// form reads the document of the language in its language box, builds the
// topic tree from the document's headings (formkit/helptopics.h), shows the
// text without preamble, marks and tags (formkit/helptext.h), and puts the
// requested topic's heading at the top of the view. A form opens it through
// ShowHelpFrom with a help tag and its copy of the caption block; the form
// hides while the help shows.
//
// Positioning: a tag request shows the topic carrying the tag (an empty or
// unknown tag the first topic) and is remembered, so that a language switch
// shows the same topic in the other language; a click in the tree shows the
// clicked topic itself and forgets the tag, so a language switch then shows
// the first topic. A document that cannot be read gives one message and the
// English document; when that fails too, a second message and an empty view
// and tree. No document harms the view: without a start mark or a heading
// the text shows and the tree stays empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formkit/helptopics.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/richedit.h"

namespace formkit {

// The five short language texts every form hands to the help form with its
// help tag (57 bytes in the original record layout).
struct HelpCaptionBlockRec {
  std::string FileCaption;    // up to 10 characters
  std::string ExitCaption;    // up to 10
  std::string CancelCaption;  // up to 12
  std::string LanguageName;   // up to 10
  std::string SectionTitle;   // up to 10
};

// The tag the opening form asks for ("<GLA00>"); empty: the first topic.
// Cleared by each positioning.
extern std::string RequestedHelpTag;
// The tag of the last positioning (empty after a click in the tree); a
// language switch returns to it.
extern std::string LastHelpTag;
// The help unit's copy of the caption block, set by the opening form.
extern HelpCaptionBlockRec HelpCaptionBlock;
// The document last tried ("helpenglish.rtf"...), and the result of that
// try: 0 read, else the code of the failure.
extern std::string HelpFileName;
extern int HelpLoadFailed;

class Thelpform : public ui::Form {
 public:
  Thelpform();

  ui::MainMenu MainMenu1{this, "MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "&File"};
  ui::MenuItem Sluiten1{&File1, "Sluiten1", "E&xit"};
  ui::ToolBar ToolBar1{this, "ToolBar1"};
  ui::ToolButton ToolButton1{&ToolBar1, "ToolButton1", "Close"};
  ui::Panel Panel1{this, "Panel1", ui::LayoutKind::Horizontal};
  ui::Label Label1{&Panel1, "Label1"};
  ui::ComboBox ComboBox1{&Panel1, "ComboBox1", ui::ComboStyle::DropDownList};
  ui::Button Button1{&Panel1, "Button1", "Cancel"};
  ui::Panel Panel2{this, "Panel2", ui::LayoutKind::Horizontal};
  ui::TreeView TreeView1{&Panel2, "TreeView1"};
  ui::RichEdit RichEdit1{&Panel2, "RichEdit1"};

  // Shows the topic selected in the tree.
  ui::Action positierichedit{this, "positierichedit"};
  // The product's home page and news page in the language in use; the
  // language routine sets the addresses.
  ui::Action BrowseURL1{this, "BrowseURL1"};
  ui::Action BrowseURL2{this, "BrowseURL2"};
  std::string BrowseURL1URL, BrowseURL2URL;

  void FormActivate();
  void FormKeyDown(uint16_t& key, unsigned shift);
  void ComboBox1Change();
  void positiericheditExecute();
  void BrowseURL1Execute();
  void BrowseURL2Execute();

  // (Re)loads the help of the language in the language box: captions, the
  // document (with the English fallback), the tree, the positioning.
  void LoadHelpText();
  // Reads HelpFileName into the view; a failure shows its message. Returns
  // whether the document was read.
  bool LoadHelpFile();
  // Shows the requested tag's topic (see the file comment).
  void PositionHelpText();

  // The topics of the document shown, and the tree node of each (the
  // root is not among them; empty when there are no topics).
  const HelpDocument& Topics() const { return topics_; }
  const std::vector<ui::TreeNode*>& TopicNodes() const { return nodes_; }
  ui::TreeNode* RootNode() const { return root_; }

 private:
  // Selects `topic` (none: the root) and puts `line` at the top.
  void ShowPosition(const HelpPosition& position);
  // The topic of a tree node; none for the root or no node.
  std::optional<std::size_t> TopicOf(const ui::TreeNode* node) const;

  HelpDocument topics_;
  std::vector<ui::TreeNode*> nodes_;
  ui::TreeNode* root_ = nullptr;
};

extern Thelpform* helpform;

// Opens help from `form`: the tag and the form's copy of the caption block
// go to the help unit, the form hides, the help form is shown modally, and
// the form shows again when it closes.
void ShowHelpFrom(ui::Form& form, const std::string& tag, const HelpCaptionBlockRec& block);

// Empties the tags, the caption block and the file state, as at program
// start.
void ResetHelpState();

}  // namespace formkit
