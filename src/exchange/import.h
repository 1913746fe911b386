#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace tarvik {

class Prompter;
namespace exchange {
class UidStore;
}

// Import of contacts from tab- or semicolon-separated text and dBase tables.
// Every imported contact is a new block appended to the contact block list,
// with the whole contact layout: header, code, 28 fixed lines, then one free
// text line per field the layout has no room for, trailer.
namespace exchange {

// The entries of the open dialog, in order, and its default extension: the
// three formats chosen by the file's name, then vCard and the spreadsheet
// text with headers, chosen by their entry.
QStringList importFilters();

enum class ImportFormat {
    ByName, // ".txt", ".csv", ".dbf" in the lower-cased name, as importContacts says
    Text,
    Semicolon,
    Dbase,
    Vcard,
    Csv,
};
// The format of the 1-based entry chosen in the open dialog.
ImportFormat importFormat(int filterIndex);
QString importDefaultSuffix();

// An import adds no record once the record count is more than this.
constexpr int ImportRecordLimit = 89997;

struct ImportOutcome
{
    int imported = 0;       // blocks appended
    int skippedDeleted = 0; // dBase records marked deleted, left out
    int irregular = 0;      // lines (records) whose field count is not the layout's
    bool truncated = false; // the record limit stopped the import
    bool ran = false;       // the name chose at least one reader
    QString error;          // the dBase reader's message when it stopped the import
    int replacedFields = 0; // fields of cards or rows with characters replaced by "?"
    QStringList skipped;    // damaged cards, rows and lines read past, one French line each
    bool headered = false;  // cards or a spreadsheet with headers: the closing message counts
                            // the fields that lost characters

    ImportOutcome& operator+=(const ImportOutcome& o);
};

// Imports the file at `path`, appending to `list`. The readers follow the
// lower-cased name: ".txt" anywhere runs the tab import, ".csv" the semicolon
// import, ".dbf" the dBase import, each tested in turn (so a name may run
// none, or two). `recordCount` grows by one per record and `currentRecord`
// becomes the last record appended; a new file's count of 1 without any block
// becomes 0 before the first record is appended.
// The limit message "Trop de lignes, le fichier a été tronqué" is shown
// through the prompter. A dBase error stops that reader: the blocks appended
// so far stay and the reader's text is in `error`, so that the caller still
// marks the file modified.
// Throws TarvikError "Le ficher " + path + "n'existe pas" when the file is
// missing, and TarvikError when a text file cannot be read (nothing appended).
ImportOutcome importContacts(BlockList& list, int& recordCount, int& currentRecord,
                             const QString& path, Prompter& prompter);

// The readers behind importContacts, for callers that already know the format.
ImportOutcome importText(BlockList& list, int& recordCount, int& currentRecord, QIODevice& input,
                         char separator, Prompter& prompter);
ImportOutcome importTable(BlockList& list, int& recordCount, int& currentRecord,
                          const QString& path, Prompter& prompter);

// A contact read from a card or a spreadsheet row, ready to become a record.
struct ForeignContact
{
    // The lines from `name` to `sale_closed`, in Windows-1252; missing ones
    // are empty, as the other imports leave them.
    QList<QByteArray> fields;
    QList<QByteArray> freeText;
    QByteArray uid; // the card's own identifier, kept; empty when it has none
};

struct ForeignRead
{
    QList<ForeignContact> contacts;
    int replacedFields = 0;
    QStringList skipped;
};

// Appends the contacts as new records, with the numbering, the customer codes
// and the record limit of the other imports. The identifier of each contact
// that has one is given to its record in `uids` (when not null).
ImportOutcome appendForeign(BlockList& list, int& recordCount, int& currentRecord,
                            const ForeignRead& read, Prompter& prompter, UidStore* uids);

// The French text shown to the user after an import.
QString importSummary(const ImportOutcome& outcome);

} // namespace exchange

} // namespace tarvik
