#pragma once

#include "platform/read_notices.h"
#include "tools/rtf/rtf_document.h"

#include <QString>

namespace tarvik {

namespace rtf {

struct LoadedFile
{
    Document document;
    ReadNotices notices; // of a file read as far as it could be
};

// Above this size a file is refused rather than read: no letter comes near it.
constexpr qint64 MaxFileSize = 128LL * 1024 * 1024;

// Reads an RTF file. Throws TarvikError with a French text naming the file
// when it cannot be read, is empty, is not RTF, is too large or holds nothing
// readable.
LoadedFile loadFile(const QString& path);
// Writes the document through a QSaveFile: a failed write leaves the old file
// whole. Throws TarvikError.
void saveFile(const QString& path, const Document& document);

// The notice of a file read only in part.
QString damagedMessage(const QString& path);

} // namespace rtf

} // namespace tarvik
