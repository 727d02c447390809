// Reading rich text (RTF) into styled paragraphs, without a GUI toolkit.
//
// The reader understands the subset the program's reports and help texts
// use: the document header (code page, default font, font and colour
// tables), character formatting scoped by groups (\plain \f \fs \b \i \ul
// \strike \cf \highlight \cb), paragraph formatting kept until \pard (\ql
// \qc \qr \qj \li \ri \fi \sb \sa, tab stops \tx with \tqr \tqc \tqdec),
// \par \line \tab \page, the escapes \\ \{ \} \'hh \~ \- \_ \uN (with \ucN
// fallback skipping) and the named punctuation words. Destinations it does
// not show (\stylesheet, \info, \header, \footer, \pict, any {\* ...}) are
// skipped; paper size, margins and the landscape marks are read into the
// document. Unknown control words are ignored, unbalanced braces are
// survived, and nothing raises: any bytes give a document.
//
// Texts of the runs are UTF-8 (the source's bytes decoded with its code
// page, 1252 by default). A paragraph whose whole text is a report page
// marker (".   .  . . . ...new page N ... . . .  .   .") separates pages, as
// does \page; `SplitPages` cuts a document there. The front end draws the
// paragraphs on screen and paper; tests and the help viewer read them as
// they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct RtfColor {
  int r = 0, g = 0, b = 0;
  bool operator==(const RtfColor&) const = default;
};

struct RtfCharFormat {
  std::string font;              // the font table's name; empty: the default
  int sizeHalfPoints = 24;
  bool bold = false, italic = false, underline = false, strike = false;
  std::optional<RtfColor> color;       // \cf; none: automatic
  std::optional<RtfColor> background;  // \highlight / \cb
  bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
  std::string text;  // UTF-8; "\t" for a tab, "\n" for \line
  RtfCharFormat format;
};

enum class RtfAlign { Left, Center, Right, Justify };

struct RtfTabStop {
  enum Kind { Left, Right, Center, Decimal };
  int position = 0;  // twips from the left indent
  Kind kind = Left;
  bool operator==(const RtfTabStop&) const = default;
};

struct RtfParagraph {
  std::vector<RtfRun> runs;
  RtfAlign align = RtfAlign::Left;
  int leftIndent = 0, rightIndent = 0, firstIndent = 0;  // twips
  int spaceBefore = 0, spaceAfter = 0;                   // twips
  std::vector<RtfTabStop> tabs;
  // The size in force at the paragraph's end (the height of an empty line).
  int sizeHalfPoints = 24;
  bool pageBreakBefore = false;  // a \page came before it
  // The paragraph's text, UTF-8, runs joined.
  std::string Text() const;
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;
  int paperWidth = 0, paperHeight = 0;  // twips; 0: not given
  int marginLeft = -1, marginRight = -1, marginTop = -1, marginBottom = -1;  // twips; -1: not given
  bool landscape = false;
  // The paragraphs' texts, one line each (UTF-8).
  std::string PlainText() const;
};

// Reads `rtf` (bytes as stored). Text without a "{\rtf" start is read all
// the same, as RTF body text.
RtfDocument ReadRtf(std::string_view rtf);

// Whether a paragraph's whole text is a page marker.
bool IsPageMarkerText(std::string_view text);

// The pages of a document: cut before a \page and at each marker paragraph,
// which belongs to no page. A document without either is one page; an
// empty document is one empty page.
std::vector<std::vector<RtfParagraph>> SplitPages(const RtfDocument& doc);

// The document without its marker paragraphs.
std::vector<RtfParagraph> WithoutMarkers(const RtfDocument& doc);

}  // namespace ui
