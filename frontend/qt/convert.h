// The one crossing between the program's texts (code page 1252 bytes) and
// Qt's (UTF-16), and between the model's colours and dates and Qt's.
#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <cmath>

#include "platform/cp1252.h"
#include "ui/component.h"
#include "ui/controls.h"

namespace qtfront {

inline QString Q(const ui::Text& t) { return QString::fromStdString(cp1252::ToUtf8(t)); }

// A character that code page 1252 cannot hold becomes "?".
inline ui::Text FromQ(const QString& s) { return cp1252::FromUtf8(s.toStdString()); }

inline QColor ToQColor(ui::Color c) { return QColor(c.r, c.g, c.b); }

// Dates are held as days since 30 December 1899; the widgets show the day.
inline QDate DateFromValue(ui::DateValue d) {
  return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(d)));
}
inline ui::DateValue ValueFromDate(QDate d) { return static_cast<ui::DateValue>(QDate(1899, 12, 30).daysTo(d)); }

}  // namespace qtfront
