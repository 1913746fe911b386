#pragma once

#include "platform/read_notices.h"
#include "tools/rtf/rtf_document.h"

#include <QByteArray>
#include <optional>

namespace tarvik {

namespace rtf {

struct ReadResult
{
    Document document; // at least one paragraph
    // When the file ends before its last brace, holds text after it, or
    // announces binary data past its end: what could be read is in the
    // document, the rest is missing, and the notice says so.
    ReadNotices notices;
};

// Reads RTF as WordPad, LibreOffice Writer and Word write it, keeping the
// attributes of the document model and dropping the rest (pictures, tables'
// borders, styles, fields' codes). Returns nothing when the data does not
// start like an RTF document. Any other input gives a document: the reader
// never recurses and never reads outside the data.
// `path` names the file in the notices.
std::optional<ReadResult> read(const QByteArray& data, const QString& path = QString());

} // namespace rtf

} // namespace tarvik
