#include "formkit/helpunit.h"

#include "formkit/helptext.h"
#include "formkit/website.h"
#include "platform/cp1252.h"
#include "text/builtintext.h"
#include "text/textroutines.h"
#include "ui/application.h"

namespace formkit {

std::string RequestedHelpTag;
std::string LastHelpTag;
HelpCaptionBlockRec HelpCaptionBlock;
std::string HelpFileName;
int HelpLoadFailed = 0;

void ResetHelpState() {
  RequestedHelpTag.clear();
  LastHelpTag.clear();
  HelpCaptionBlock = {};
  HelpFileName.clear();
  HelpLoadFailed = 0;
}

Thelpform* helpform = nullptr;

namespace {

constexpr const char* kEnglishHelpFile = "helpenglish.rtf";

// A caption of the block, or the program's own text while the block is
// empty (before the language routine filled the opening form's copy).
std::string Or(const std::string& caption, const std::string& fallback) {
  return caption.empty() ? fallback : caption;
}

}  // namespace

Thelpform::Thelpform() : ui::Form("helpform", "Thelpform") {
  width = 900;
  height = 620;
  Panel1.SetBevel(false);
  Label1.SetBold(true);
  Label1.hints.stretch = 1;
  ComboBox1.hints.width = 140;
  ComboBox1.SetItems({"Deutsch", "English", "Nederlands"});
  Button1.hints.width = 100;
  Panel2.SetBevel(false);
  Panel2.hints.stretch = 1;
  TreeView1.hints.width = 270;
  RichEdit1.hints.stretch = 1;
  RichEdit1.SetWordWrap(true);

  OnActivate = [this] { FormActivate(); };
  OnKeyDown = [this](uint16_t& k, unsigned s) { FormKeyDown(k, s); };
  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  positierichedit.OnExecute = [this] { positiericheditExecute(); };
  // Clicks, double clicks and the keys that move through the tree all end
  // in a selection: each shows the selected topic.
  TreeView1.OnChange = [this] { positierichedit.Execute(); };
  TreeView1.OnClick = [this] { positierichedit.Execute(); };
  TreeView1.OnDblClick = [this] { positierichedit.Execute(); };
  Button1.OnClick = [this] { Close(); };
  ToolButton1.OnClick = [this] { Close(); };
  Sluiten1.OnClick = [this] { Close(); };
  BrowseURL1.OnExecute = [this] { BrowseURL1Execute(); };
  BrowseURL2.OnExecute = [this] { BrowseURL2Execute(); };
}

void Thelpform::FormActivate() {
  // The language box shows the opening form's language; a language without
  // a document of its own (French) reads the English one, and the box says
  // so.
  const int index = ComboBox1.IndexOf(HelpCaptionBlock.LanguageName);
  ComboBox1.SetItemIndex(index >= 0 ? index : ComboBox1.IndexOf("English"));
  LastHelpTag.clear();
  LoadHelpText();
}

void Thelpform::FormKeyDown(uint16_t& key, unsigned) {
  if (key == ui::keys::Escape) {
    key = 0;
    Close();
  }
}

void Thelpform::ComboBox1Change() {
  RequestedHelpTag = LastHelpTag;
  LoadHelpText();
}

void Thelpform::positiericheditExecute() { PositionHelpText(); }

void Thelpform::BrowseURL1Execute() {
  ui::GetBackend().OpenUrl(BrowseURL1URL.empty() ? HomePageUrl(HelpCaptionBlock.LanguageName) : BrowseURL1URL);
}

void Thelpform::BrowseURL2Execute() {
  ui::GetBackend().OpenUrl(BrowseURL2URL.empty() ? NewsPageUrl(HelpCaptionBlock.LanguageName) : BrowseURL2URL);
}

void Thelpform::LoadHelpText() {
  HelpFileName = HelpFileNameFor(ComboBox1.GetText());

  const HelpCaptionBlockRec& b = HelpCaptionBlock;
  const std::string title = Or(b.SectionTitle, text::BuiltInText(text::BuiltIn::Contents));
  Button1.SetCaption(Or(b.CancelCaption, text::BuiltInText(text::BuiltIn::Cancel)));
  File1.SetCaption(Or(b.FileCaption, text::BuiltInText(text::BuiltIn::File)));
  Sluiten1.SetCaption(Or(b.ExitCaption, text::BuiltInText(text::BuiltIn::Exit)));
  ToolButton1.SetCaption(text::BuiltInText(text::BuiltIn::Close));
  Label1.SetCaption(text::Cut(" " + title, 11));
  SetCaption(text::Cut(" Ombrelo Account : " + title, 29));
  positierichedit.SetCaption(text::BuiltInText(text::BuiltIn::ShowTopic));
  BrowseURL1.SetCaption(text::BuiltInText(text::BuiltIn::HomePage));
  BrowseURL2.SetCaption(text::BuiltInText(text::BuiltIn::NewsPage));

  if (!LoadHelpFile() && HelpFileName != kEnglishHelpFile) {
    HelpFileName = kEnglishHelpFile;
    LoadHelpFile();
  }

  TreeView1.Clear();
  nodes_.clear();
  root_ = nullptr;
  if (!topics_.topics.empty()) {
    root_ = TreeView1.AddRoot(title);
    root_->data = -1;
    for (std::size_t i = 0; i < topics_.topics.size(); ++i) {
      const HelpTopic& t = topics_.topics[i];
      ui::TreeNode* parent = t.parent ? nodes_[*t.parent] : root_;
      ui::TreeNode* node = TreeView1.AddChild(parent, cp1252::FromUtf8(t.caption));
      node->data = static_cast<int64_t>(i);
      nodes_.push_back(node);
    }
    TreeView1.FullExpand();
  }
  TreeView1.Select(nullptr);
  TreeView1.Refresh();
  PositionHelpText();
}

bool Thelpform::LoadHelpFile() {
  const HelpFileRead read = ReadHelpFile(HelpFileName);
  HelpLoadFailed = read.code;
  if (!read.Ok()) {
    topics_ = {};
    RichEdit1.Clear();
    ui::ShowMessage(read.error);
    return false;
  }
  ui::RtfDocument document = ui::ReadRtf(read.bytes);
  topics_ = ParseHelpDocument(ParagraphTexts(document));
  RichEdit1.LoadDocument(ShownHelpText(std::move(document), topics_));
  return true;
}

void Thelpform::PositionHelpText() {
  HelpPosition at;
  const ui::TreeNode* selected = TreeView1.Selected();
  if (!RequestedHelpTag.empty() || !selected) {
    at = PositionForTag(topics_, RequestedHelpTag);
  } else if (const auto topic = TopicOf(selected)) {
    at = PositionForTopic(topics_, *topic);
  }
  // (The root: no topic, the top of the text.)
  ShowPosition(at);
  LastHelpTag = RequestedHelpTag;
  RequestedHelpTag.clear();
}

void Thelpform::ShowPosition(const HelpPosition& position) {
  TreeView1.Select(position.topic ? nodes_[*position.topic] : root_);
  RichEdit1.ScrollToParagraph(static_cast<int>(position.line));
}

std::optional<std::size_t> Thelpform::TopicOf(const ui::TreeNode* node) const {
  if (!node || node == root_ || node->data < 0) return std::nullopt;
  const auto i = static_cast<std::size_t>(node->data);
  if (i >= nodes_.size() || nodes_[i] != node) return std::nullopt;
  return i;
}

void ShowHelpFrom(ui::Form& form, const std::string& tag, const HelpCaptionBlockRec& block) {
  RequestedHelpTag = tag;
  HelpCaptionBlock = block;
  form.Hide();
  if (helpform) helpform->ShowModal();
  form.Show();
}

}  // namespace formkit
