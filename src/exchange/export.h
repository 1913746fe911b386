#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvik {

// Export of the address part (name .. fax) of every contact, in file order.
namespace exchange {

// By the 1-based entry of the save dialog.
enum class ExportFormat { Text = 1, Semicolon = 2, Xml = 3, Vcard = 4, Calendar = 5, Csv = 6 };

// The entries of the save dialog, in order; the proposed name and extension.
// The first three are the address-part formats; then vCard, the follow-ups
// as iCalendar and the spreadsheet text with headers.
QStringList exportFilters();
QString exportDefaultName();   // "Export.txt"
QString exportDefaultSuffix(); // "txt"

// The format of the 1-based filter entry selected in the save dialog (the
// typed extension does not choose it); an unknown entry gives Text.
ExportFormat exportFormat(int filterIndex);

// The chosen path, with the format's extension (".txt", ".csv", ".xml",
// ".vcf", ".ics") appended when the file's own name holds no dot.
QString exportPath(const QString& chosen, ExportFormat format);

// The whole file of the address-part formats and of the spreadsheet text
// (vCard and iCalendar need the contacts' identifiers: see the record book).
// Text formats keep the stored Windows-1252 bytes; XML is UTF-8, with "&",
// "<" (and the ">" of "]]>") written as references and the control
// characters that XML does not allow left out.
QByteArray exportBytes(const BlockList& list, ExportFormat format);

// Writes `data` atomically to `path`, replacing any file of that name. Throws
// TarvikError when it cannot be created or written; an old file then stays whole.
void writeExport(const QString& path, const QByteArray& data);

// Writes the file atomically, replacing any file of that name. Throws
// TarvikError when it cannot be created or written; an old file then stays whole.
void exportContacts(const BlockList& list, const QString& path, ExportFormat format);

} // namespace exchange

} // namespace tarvik
