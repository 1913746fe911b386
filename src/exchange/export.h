#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvik {

// Export of the address part (name .. fax) of every contact, in file order.
namespace exchange {

enum class ExportFormat { Text = 1, Semicolon = 2, Xml = 3 };

// The entries of the save dialog, in order; the proposed name and extension.
QStringList exportFilters();
QString exportDefaultName();   // "Export.txt"
QString exportDefaultSuffix(); // "txt"

// The format of the 1-based filter entry selected in the save dialog (the
// typed extension does not choose it); an unknown entry gives Text.
ExportFormat exportFormat(int filterIndex);

// The chosen path, with ".txt", ".csv" or ".xml" appended when the file's own
// name holds no dot.
QString exportPath(const QString& chosen, ExportFormat format);

// The whole file. Text formats keep the stored Windows-1252 bytes; XML is
// UTF-8, with "&", "<" (and the ">" of "]]>") written as references and the
// control characters that XML does not allow left out.
QByteArray exportBytes(const BlockList& list, ExportFormat format);

// Writes the file atomically, replacing any file of that name. Throws
// TarvikError when it cannot be created or written; an old file then stays whole.
void exportContacts(const BlockList& list, const QString& path, ExportFormat format);

} // namespace exchange

} // namespace tarvik
