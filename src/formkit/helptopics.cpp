#include "formkit/helptopics.h"

namespace formkit {

namespace {

constexpr std::string_view kStartMark = "<0>";
constexpr std::size_t kMarkLength = 3;
constexpr std::size_t kTagLength = 7;

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The level of a heading mark at the start of `s` ("<1>".."<3>"), or 0.
int LevelMark(std::string_view s) {
  if (s.size() < kMarkLength || s[0] != '<' || s[2] != '>') return 0;
  return s[1] >= '1' && s[1] <= '3' ? s[1] - '0' : 0;
}

}  // namespace

bool StartsWithHelpTag(std::string_view s) {
  if (s.size() < kTagLength || s[0] != '<' || s[6] != '>') return false;
  const std::string_view name = s.substr(1, 3);
  const bool letters = name == "E&I" || (IsCapital(name[0]) && IsCapital(name[1]) && IsCapital(name[2]));
  return letters && IsDigit(s[4]) && IsDigit(s[5]);
}

HelpDocument ParseHelpDocument(const std::vector<std::string>& paragraphs) {
  HelpDocument document;
  for (const std::string& p : paragraphs) {
    if (p.starts_with(kStartMark)) {
      document.started = true;
      break;
    }
    ++document.preamble;
  }
  // Without a start mark the whole text is shown as it stands.
  if (!document.started) document.preamble = 0;

  std::vector<HelpTopic> headings;
  std::optional<std::size_t> lastLevel1;
  std::optional<std::size_t> lastLevel2;  // below lastLevel1

  for (std::size_t i = document.preamble; i < paragraphs.size(); ++i) {
    std::string_view rest = paragraphs[i];
    if (document.started && rest.starts_with(kStartMark)) rest.remove_prefix(kMarkLength);
    const int level = document.started ? LevelMark(rest) : 0;
    std::string tag;
    if (level > 0) {
      rest.remove_prefix(kMarkLength);
      if (StartsWithHelpTag(rest)) {
        tag = std::string(rest.substr(0, kTagLength));
        rest.remove_prefix(kTagLength);
      }
    }
    const std::size_t line = document.shown.size();
    document.cut.push_back(paragraphs[i].size() - rest.size());
    document.shown.emplace_back(rest);
    if (level == 0) continue;

    HelpTopic topic{level, std::move(tag), std::string(rest), std::nullopt, line};
    const std::size_t index = headings.size();
    if (level == 1) {
      lastLevel1 = index;
      lastLevel2.reset();
    } else if (level == 2) {
      topic.parent = lastLevel1;
      lastLevel2 = index;
    } else {
      topic.parent = lastLevel2 ? lastLevel2 : lastLevel1;
    }
    headings.push_back(std::move(topic));
  }

  // The last heading closes the document; a topic whose parent it would be
  // cannot exist, as it comes last.
  if (!headings.empty()) {
    document.closingLine = headings.back().line;
    headings.pop_back();
  }
  document.topics = std::move(headings);
  return document;
}

HelpPosition PositionForTag(const HelpDocument& document, std::string_view tag) {
  if (!tag.empty()) {
    for (std::size_t i = 0; i < document.topics.size(); ++i) {
      if (document.topics[i].tag == tag) return {i, document.topics[i].line};
    }
  }
  if (document.topics.empty()) return {};
  return {0, document.topics[0].line};
}

HelpPosition PositionForTopic(const HelpDocument& document, std::size_t index) {
  if (index < document.topics.size()) return {index, document.topics[index].line};
  return PositionForTag(document, "");
}

std::string HelpFileNameFor(std::string_view languageName) {
  if (languageName == "Deutsch") return "helpDeutsch.rtf";
  if (languageName == "Nederlands") return "helpNederlands.rtf";
  return "helpenglish.rtf";
}

}  // namespace formkit
