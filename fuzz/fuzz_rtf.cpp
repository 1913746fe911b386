// RTF reader on arbitrary bytes: no read outside the data, no crash, and
// whatever it reads is a letter the writer writes and the reader reads back
// the same.
#include "tools/rtf/rtf_reader.h"
#include "tools/rtf/rtf_writer.h"

#include <cstdint>
#include <cstdlib>

using namespace tarvik;

static void check(const rtf::Document& d)
{
    if (d.paragraphs.isEmpty())
        abort();
    for (const rtf::Paragraph& p : d.paragraphs) {
        if (std::abs(p.firstIndent) > 3200 || std::abs(p.leftIndent) > 3200 ||
            std::abs(p.rightIndent) > 1600)
            abort();
        for (const rtf::Run& r : p.runs) {
            if (r.text.isEmpty() || r.size < 1 || r.size > 1638)
                abort();
            for (qsizetype i = 0; i < r.text.size(); ++i) {
                const QChar c = r.text.at(i);
                if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                    abort();
                if (c.isHighSurrogate()) {
                    if (i + 1 >= r.text.size() || !r.text.at(i + 1).isLowSurrogate())
                        abort();
                    ++i;
                } else if (c.isLowSurrogate()) {
                    abort();
                }
            }
        }
    }
}

static void readAndWriteBack(const QByteArray& data)
{
    const std::optional<rtf::ReadResult> r = rtf::read(data);
    if (!r)
        return;
    check(r->document);
    const std::optional<rtf::ReadResult> back = rtf::read(rtf::write(r->document));
    if (!back || !back->notices.isEmpty() || !(back->document == r->document))
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    readAndWriteBack(bytes);
    // The same bytes as the body of a document, so that every input reaches
    // past the header.
    if (!bytes.startsWith("{\\rtf"))
        readAndWriteBack("{\\rtf1\\ansi " + bytes);
    return 0;
}
