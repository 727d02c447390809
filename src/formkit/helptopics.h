// The topic table of a help document: what the help form shows and where
// each topic starts, worked out from the document's paragraphs alone (no
// components, no files), so that the help form only applies the result to
// its rich-text view and its tree.
//
// A help document is a list of paragraphs, as the rich-text reader gives
// them (one paragraph is one line of the view). Marks and tags are ASCII, so
// the table reads code page 1252 and UTF-8 text alike, and each number of
// characters cut is also a number of bytes. The
// paragraphs before the first one that starts with the start mark "<0>" are
// the preamble, which the view drops; the mark itself is cut from its
// paragraph, as is a "<0>" at the start of any later paragraph. After the
// start mark a paragraph that starts with "<1>", "<2>" or "<3>" is a heading
// of that level: the mark is cut, then a help tag when one follows ("<", three
// capital letters or "E&I", two digits, ">": "<GLA00>", "<E&I00>"), and the
// rest is the caption, which stays in the text. A mark of another level, or
// a mark before the start mark, is plain text. The last heading closes the
// document: its text stays, but it is no topic.
//
// Rules the table keeps, so that no document can harm the view:
// - There is no limit on the number of headings.
// - Without a start mark nothing counts as preamble: the whole text is shown
//   as it stands and there are no topics. Without a heading there are no
//   topics either. Positioning then has no topic and shows the first line.
// - Only a real tag pattern is cut as a tag: a caption that starts with "<"
//   keeps its text, and short paragraphs are never read past their end.
// - A level-2 heading goes under the last level-1 heading (the root when
//   there is none); a level-3 heading under the last level-2 heading below
//   the current level-1 heading, else under that level-1 heading, else the
//   root.
// - A topic is reached by its tag (the first topic that carries it) or by
//   its own index, never by its caption, so two topics with the same caption
//   each show themselves.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace formkit {

// One topic of the tree.
struct HelpTopic {
  int level = 1;                    // 1, 2 or 3
  std::string tag;                  // "<GLA00>", or empty
  std::string caption;              // the heading's text as shown
  std::optional<std::size_t> parent;  // index of the parent topic; none: under the root
  std::size_t line = 0;             // index of the heading in `shown` (0-based)
};

struct HelpDocument {
  // Paragraphs dropped from the start of the document (the preamble).
  std::size_t preamble = 0;
  // For each shown paragraph (the document's paragraph preamble + i), the
  // number of characters cut from its start: the start mark, the level mark
  // and the tag. The view deletes them and keeps the rest's formatting.
  std::vector<std::size_t> cut;
  // The shown paragraphs' texts, after the cuts.
  std::vector<std::string> shown;
  // The topics in document order, without the closing heading.
  std::vector<HelpTopic> topics;
  // The closing heading's line in `shown`, when the document has headings.
  std::optional<std::size_t> closingLine;
  // Whether the document has a start mark.
  bool started = false;
};

// Reads the topic table of a document given as its paragraphs.
HelpDocument ParseHelpDocument(const std::vector<std::string>& paragraphs);

// Whether `s` starts with a help tag: "<", three capital letters A-Z or
// "E&I", two digits, ">".
bool StartsWithHelpTag(std::string_view s);

// Where to show the document: the topic to select (none when there are no
// topics) and the line to put at the top of the view.
struct HelpPosition {
  std::optional<std::size_t> topic;
  std::size_t line = 0;
};

// The topic that carries `tag` (the first one, in document order); an empty
// or unknown tag gives the first topic.
HelpPosition PositionForTag(const HelpDocument& document, std::string_view tag);
// The topic at `index` itself (a click in the tree); an index out of range
// gives the first topic.
HelpPosition PositionForTopic(const HelpDocument& document, std::size_t index);

// The help document of a language: "helpDeutsch.rtf" for "Deutsch",
// "helpNederlands.rtf" for "Nederlands", "helpenglish.rtf" for any other
// (French included). The name compares exactly.
std::string HelpFileNameFor(std::string_view languageName);

}  // namespace formkit
