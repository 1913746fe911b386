// Loading a contact file with its integrity repairs, on arbitrary bytes: no
// crash; moves stay inside the file; after a restore the blocks balance and
// are numbered densely; a repaired file, once saved, loads again unchanged and
// without a repair.
#include "book/record_book.h"
#include "fuzz_support.h"
#include "platform/errors.h"
#include "platform/fixed_prompter.h"
#include "storage/block_index.h"
#include "storage/integrity.h"

#include <QTemporaryDir>
#include <cstdint>

using namespace tarvik;

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
