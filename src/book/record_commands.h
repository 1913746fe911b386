#pragma once

#include "selection/list_rows.h"

#include <QList>
#include <optional>

namespace tarvik {

class RecordBook;

// The commands of the record window that ask the user something, as a whole:
// the window calls one of them and shows the book again afterwards.
namespace recordcommands {

// Asks "Confirmer suppression de la fiche ?"; on OK deletes the shown record
// or operation of the page shown. True when something was deleted.
bool deleteShown(RecordBook& book);

// Asks "Confirmer suppression ?" before text selected in the history is
// removed; true on OK.
bool mayDeleteHistoryText(RecordBook& book);

// Asks for a summary and moves to the first operation whose summary begins
// with it, letter case of a..z ignored; tells when none does.
void searchSummary(RecordBook& book);

// The list of the page shown, once the shown record or operation is written
// back; nothing when there is nothing to list.
struct ListRequest
{
    bool contacts = true; // the contact list, or the operation list
    QList<listing::Row> rows;
};
std::optional<ListRequest> openList(RecordBook& book);
// The number the list window gave (-1 for none) becomes current when it is a
// record or operation of the file.
void chooseFromList(RecordBook& book, int number);

} // namespace recordcommands

} // namespace tarvik
