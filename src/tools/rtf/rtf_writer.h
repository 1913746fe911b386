#pragma once

#include "tools/rtf/rtf_document.h"

#include <QByteArray>

namespace tarvik {

namespace rtf {

// Writes the document as RTF in Windows-1252: characters outside it as \uN
// with '?' for readers without Unicode, bullets as WordPad writes them, which
// WordPad, LibreOffice Writer and Word all read.
QByteArray write(const Document& document);

} // namespace rtf

} // namespace tarvik
