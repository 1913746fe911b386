#pragma once

#include <QByteArray>
#include <QString>

namespace tarvik {

// Windows code pages and RTF character sets, as QStringDecoder knows them.
namespace rtf {

// The converter name for a Windows code page number; empty when Qt has no
// decoder for it.
QByteArray codecNameForCodePage(int codePage);
// The code page a font character set (\fcharset) writes its bytes in; 0 when
// the set means "the document's own code page" (ANSI, default, symbol).
int codePageForCharset(int charset);
// Decodes bytes of a code page; bytes of a code page that has no decoder are
// read as Windows-1252.
QString decode(const QByteArray& bytes, int codePage);

} // namespace rtf

} // namespace tarvik
