// The date field of the Qt front end: a date edit that takes a date typed
// in digits, as a bookkeeper types it.
//
// The field shows "dd-MM-yyyy". Digits typed into it fill the section they
// start in (the one under the caret or the selection; the day when the
// whole text is selected) and move on to the next section when that one is
// full (two digits for the day and the month, four for the year); "-", "."
// and "/" end a section early. So "01" after a click into the day gives day
// 01, and "15032025" or "15-3-2025" typed over the whole text gives that
// date. The typed digits are one entry: it ends when the year is full or
// ends with a separator, when the field loses the focus, when any other key
// is pressed or the mouse is pressed (the front end calls EndTyping before
// the form sees that key or click). At its end the typed date is taken when
// it exists and lies within the field's minimum and maximum (then the date
// changes once, as one step of Up or Down does); otherwise the field shows
// its last date again and nothing changes. Up, Down and the calendar work
// as in any date edit; Tab leaves the field instead of stepping through its
// sections.
#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>
#include <array>
#include <optional>

namespace qtfront {

// A date being typed over the field's date: the digits typed for each
// section (day, month, year) and the section the next digit goes to.
struct DateTyping {
  std::array<QString, 3> digits;
  int section = 0;
  bool complete = false;  // the year is full, or was ended by a separator
};

// One typed character (a digit or a separator) added to `typing`; nullopt
// when the character is neither or a separator comes before any digit of
// its section.
std::optional<DateTyping> TypeDateChar(DateTyping typing, QChar c);
// The field's text while typing: the typed sections over those of `base`.
QString TypedDateText(const DateTyping& typing, QDate base);
// The date typed over `base` (sections not typed keep base's); a year of one
// or two digits is one of 2000 to 2099. Nullopt when there is no such day.
std::optional<QDate> TypedDate(const DateTyping& typing, QDate base);

class DateField : public QDateEdit {
 public:
  explicit DateField(QWidget* parent);

  bool Typing() const { return typing_.has_value(); }
  // Ends the entry in progress: takes the typed date when it is a date
  // within the limits, else shows the last date again.
  void EndTyping();
  // Drops the entry in progress (the program set another date).
  void CancelTyping();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool focusNextPrevChild(bool next) override;

 private:
  int SectionAtCaret() const;
  void ShowDate();

  std::optional<DateTyping> typing_;
};

}  // namespace qtfront
