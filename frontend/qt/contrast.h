// Text that stays readable on the back colours the forms name.
//
// A form paints a field sky blue when it is locked or cream when it is
// open; the style's text colours were chosen for its own backgrounds (its
// disabled text is light grey, unreadable on sky blue). The peers keep the
// style's colour wherever it reads well and otherwise move it towards black
// (on a light back colour) or white (on a dark one) just far enough: a
// disabled field still looks disabled, but can be read.
#pragma once

#include <QColor>

namespace qtfront {

// The contrast ratio of two colours, from 1 (the same) to 21 (black on
// white), by their relative luminance in sRGB.
double ContrastRatio(const QColor& a, const QColor& b);

// The least contrast a text keeps to its background.
inline constexpr double kReadableContrast = 4.5;

// `text` when it reads on `back` with at least kReadableContrast; else
// `text` mixed towards black or white (whichever contrasts more with
// `back`) until it does.
QColor ReadableOn(const QColor& text, const QColor& back);

}  // namespace qtfront
