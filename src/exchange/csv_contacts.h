#pragma once

#include "exchange/import.h"
#include "storage/block_list.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvik {

namespace exchange {

// Contacts as spreadsheet text with headers: this program's own export (one
// column per field, headed by the record window's captions, then the free
// text), and the exports of Google Contacts, Outlook and Thunderbird, whose
// columns are found by their headers.

// The header of each exported column: the 28 fields in the order of the
// record, then "Texte libre".
QStringList csvHeaders();

// UTF-8 with its byte-order mark, "," between fields, CRLF.
QByteArray exportCsv(const BlockList& list);

// What a column of an unknown header may become.
struct ColumnChoice
{
    static constexpr int Ignored = 0;
    static constexpr int FreeText = 100;
    // else a field: its line offset in the record (1 .. 28)
};

struct UnknownColumn
{
    int column = 0;
    QString header;
    QStringList samples; // the first values found in it
};

// Asks what columns of unknown headers become (the mapping dialog).
class ColumnMapper
{
public:
    virtual ~ColumnMapper() = default;
    // One ColumnChoice value per column, in order; nullopt when the user
    // gives up (nothing is imported then).
    virtual std::optional<QList<int>> mapColumns(const QList<UnknownColumn>& columns) = 0;
};

// The names offered for each choice, for the dialog: the field captions of
// csvHeaders() by offset, and the two others.
QString columnChoiceName(int choice);

// The rows of a file as contacts. Columns of unknown headers that hold data
// go to `mapper`; without one they are ignored and told. A row with a
// company and a person takes the company as the name and the person as the
// decision maker. Rows shorter than the header leave the fields missing
// empty; cells beyond the header go to the free text and are told. Throws
// TarvikError "Import annulé" when the mapper gives up.
ForeignRead readCsv(const QByteArray& data, ColumnMapper* mapper);

} // namespace exchange

} // namespace tarvik
