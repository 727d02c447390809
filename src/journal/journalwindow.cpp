// The journal form's window: the entry lines.
#include "journal/journalwindow.h"

#include <string>

namespace journal {

namespace {

std::string FieldName(int line, int column) { return "Edit" + std::to_string(line) + std::to_string(column); }

}  // namespace

EntryLine::EntryLine(ui::Container* panel, int line)
    : Text(panel, FieldName(line, 1)),
      Number(panel, FieldName(line, 2)),
      Caption(panel, FieldName(line, 3)),
      CostCentre(panel, FieldName(line, 4)),
      Debit(panel, FieldName(line, 5)),
      Credit(panel, FieldName(line, 6)) {
  Text.hints.newRow = true;
}

ui::Edit& EntryLine::Field(int column) {
  return const_cast<ui::Edit&>(static_cast<const EntryLine&>(*this).Field(column));
}

const ui::Edit& EntryLine::Field(int column) const {
  switch (column) {
    case 1: return Text;
    case 2: return Number;
    case 3: return Caption;
    case 4: return CostCentre;
    case 5: return Debit;
    default: return Credit;
  }
}

}  // namespace journal
