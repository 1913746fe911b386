#pragma once

#include "operations/operation_book.h"
#include "selection/filtered_moves.h"

class QWidget;

namespace tarvik {

class RecordBook;

// The selection, search, sort and list commands of the main window. Each
// returns once the book is updated; the caller refreshes the record window.
namespace selectionui {

// Contacts modes 1 to 7: TFcp for 5 and TVille for 6 (a cancelled dialog keeps
// the filter value and sets the mode all the same), then the first record
// under the mode.
void chooseContactMode(RecordBook& book, selection::Mode mode, QWidget* parent);
// Operations mode 0 (all) or 1 (one type, chosen in TSTyp), then the first
// operation under it.
void chooseOperationMode(RecordBook& book, operations::Selection mode, QWidget* parent);

void searchName(RecordBook& book, QWidget* parent);
void searchPhone(RecordBook& book, QWidget* parent);
void searchDecisionMaker(RecordBook& book, QWidget* parent);
void searchSummary(RecordBook& book, QWidget* parent);
void searchNumber(RecordBook& book, QWidget* parent);

// TTri, then the sort with the key chosen.
void sort(RecordBook& book, QWidget* parent);
// The list window of the page shown; the record or operation double-clicked
// becomes current.
void showList(RecordBook& book, QWidget* parent);

} // namespace selectionui

} // namespace tarvik
