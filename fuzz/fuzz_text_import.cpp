// Text import: whatever the bytes, every record keeps the contact layout, the
// list reads back unchanged from its own file, and its XML export is well-formed.
#include "contacts/contact_record.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/fixed_prompter.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <cstdint>
#include <cstdlib>

using namespace tarvik;

static void require(bool ok)
{
    if (!ok)
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char separator = data[0] & 1 ? ';' : '\t';
    QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);

    BlockList list{"<BLOC00000>", "10050", "existing"};
    int count = 1, current = 0;
    FixedPrompter prompter;
    const exchange::ImportOutcome out =
        exchange::importText(list, count, current, input, separator, prompter);

    require(out.error.isEmpty());
    require(blocks::countHeaders(list) == 1 + out.imported);
    require(count == 1 + out.imported && (out.imported == 0 || current == count - 1));
    for (int n = 1; n <= out.imported; ++n) {
        const qsizetype at = blocks::find(list, blocks::header(n, blocks::ContactDigits));
        require(at > 0);
        require(contact::field(list, at, contact::Code) == QByteArray::number(10050 + n));
        const qsizetype end = blocks::find(list, blocks::trailer(n, blocks::ContactDigits), at);
        require(end >= at + contact::FixedLines + 1);
        for (qsizetype i = at + contact::FixedLines + 1; i < end; ++i)
            require(list.at(i).startsWith(contact::FreeTextPrefix));
    }
    require(blocks::splitLines(blocks::joinLines(list)) == list);

    QXmlStreamReader xml(exchange::exportBytes(list, exchange::ExportFormat::Xml));
    while (!xml.atEnd())
        xml.readNext();
    require(!xml.hasError());
    return 0;
}
