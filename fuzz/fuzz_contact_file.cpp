// Loading a contact file with its integrity repairs, on arbitrary bytes: the
// lines read are those of a plain split, joined back byte for byte, and stay
// so through edits driven by the input; no crash; moves stay inside the file; after a restore the
// blocks balance and are numbered densely; a repaired file, once saved, loads again unchanged and
// without a repair.
#include "book/record_book.h"
#include "fuzz_support.h"
#include "platform/errors.h"
#include "platform/fixed_prompter.h"
#include "storage/block_index.h"
#include "storage/integrity.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>

using namespace tarvik;

namespace {

QList<QByteArray> plainSplit(const char* p, size_t size)
{
    QList<QByteArray> lines;
    QByteArray line;
    bool open = false;
    for (size_t i = 0; i < size && p[i] != '\0'; ++i) {
        if (p[i] == '\r' || p[i] == '\n') {
            lines.append(line);
            line.clear();
            open = false;
            if (p[i] == '\r' && i + 1 < size && p[i + 1] == '\n')
                ++i;
        } else {
            line.append(p[i]);
            open = true;
        }
    }
    if (open)
        lines.append(line);
    return lines;
}

bool sameAs(const BlockList& store, const QList<QByteArray>& model)
{
    QByteArray joined;
    QList<qsizetype> markers;
    for (qsizetype i = 0; i < model.size(); ++i) {
        joined += model.at(i) + "\r\n";
        if (model.at(i).startsWith('<'))
            markers.append(i);
    }
    return store == model && store.joined() == joined &&
           std::ranges::equal(store.markerLines(), markers);
}

// The line store against a plain list: loaded from the bytes, then edited
// as the bytes say (operation, place, a slice of the input as the line).
void checkStore(const char* p, size_t size)
{
    BlockList store = blocks::splitLines(QByteArray::fromRawData(p, qsizetype(size)));
    QList<QByteArray> model = plainSplit(p, size);
    FUZZ_CHECK(sameAs(store, model));
    for (size_t k = 0; k + 3 < size && k < 96; k += 3) {
        const auto place = qsizetype(static_cast<unsigned char>(p[k + 1]));
        const QByteArray line(p + k, std::min<qsizetype>(qsizetype(size - k), p[k + 2] & 0x3F));
        const qsizetype n = model.size();
        switch (static_cast<unsigned char>(p[k]) % 5) {
        case 0:
            if (n > 0) {
                store.replace(place % n, line);
                model.replace(place % n, line);
            }
            break;
        case 1:
            store.insert(place % (n + 1), line);
            model.insert(place % (n + 1), line);
            break;
        case 2:
            if (n > 0) {
                store.remove(place % n);
                model.remove(place % n);
            }
            break;
        case 3: {
            const qsizetype at = place % (n + 1);
            const BlockList part = store.mid(at, 3);
            store.insert(at, part);
            const QList<QByteArray> copied = model.mid(at, 3);
            for (qsizetype i = 0; i < copied.size(); ++i)
                model.insert(at + i, copied.at(i));
            break;
        }
        default:
            store.append(line);
            model.append(line);
        }
    }
    FUZZ_CHECK(sameAs(store, model));
}

} // namespace

// Input: one byte whose bit 0 answers "Le fichier a été altéré. Restaurer ?",
// then the contact file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString file = dir.filePath(QStringLiteral("f.ctc"));
    static const QString saved = dir.filePath(QStringLiteral("s.ctc"));
    if (size < 1)
        return 0;
    const bool restore = data[0] & 1;
    checkStore(reinterpret_cast<const char*>(data) + 1, size - 1);
    putFile(file, reinterpret_cast<const char*>(data) + 1, size - 1);

    StoppedClock clock;
    FixedPrompter prompter(restore);
    RecordBook book(prompter, clock);
    try {
        book.Charge(file);
    } catch (const TarvikError&) {
        return 0;
    }
    const int count = book.recordCount();
    FUZZ_CHECK(count >= 1);
    auto inside = [&] { return book.currentRecord() >= 0 && book.currentRecord() < count; };
    FUZZ_CHECK(inside());
    for (int i = 0; i < 4 && i <= count; ++i) {
        book.Suivant();
        FUZZ_CHECK(inside());
    }
    book.Dernier();
    FUZZ_CHECK(inside());
    book.Precedent();
    FUZZ_CHECK(inside());
    book.Premier();
    FUZZ_CHECK(inside());

    const bool damaged = integrity::damaged(book.contacts(), blocks::ContactDigits);
    FUZZ_CHECK(!(restore && damaged));
    if (damaged)
        return 0;
    const int headers = blocks::countHeaders(book.contacts());
    FUZZ_CHECK(headers == 0 || headers == count);
    const blocks::BlockIndex index(book.contacts(), blocks::ContactDigits);
    for (int n = 0; n < headers; ++n)
        FUZZ_CHECK(index.find(n).has_value());

    try {
        book.SetModif();
        book.Sauve(saved);
    } catch (const TarvikError&) {
        std::abort();
    }
    FixedPrompter again(false);
    RecordBook reloaded(again, clock);
    reloaded.Charge(saved);
    // A file without a record is told about at every load; one with records
    // loads without a word.
    if (blocks::countHeaders(book.contacts()) > 0)
        FUZZ_CHECK(again.informations == 0);
    FUZZ_CHECK(!reloaded.flags().fileModified);
    FUZZ_CHECK(reloaded.recordCount() == count);
    FUZZ_CHECK(reloaded.contacts() == book.contacts());
    return 0;
}
