// Loading an operations file with its repairs, on arbitrary bytes: no crash;
// the list always balances afterwards, its blocks numbered densely; moves
// stay inside it; once saved it loads again unchanged and without a repair.
#include "fuzz_support.h"
#include "operations/operation_book.h"
#include "platform/errors.h"
#include "platform/fixed_prompter.h"
#include "storage/block_index.h"
#include "storage/integrity.h"

#include <QTemporaryDir>
#include <cstdint>

using namespace tarvik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString contacts = dir.filePath(QStringLiteral("f.ctc"));
    static const QString savedContacts = dir.filePath(QStringLiteral("s.ctc"));
    putFile(OperationBook::pathFor(contacts), reinterpret_cast<const char*>(data), size);

    StoppedClock clock;
    FixedPrompter prompter;
    BookFlags flags;
    OperationBook book(flags, clock, prompter);
    try {
        book.load(contacts);
    } catch (const TarvikError&) {
        return 0;
    }
    const int count = book.count();
    FUZZ_CHECK(count >= 1);
    FUZZ_CHECK(!integrity::damaged(book.list(), blocks::OperationDigits));
    const int headers = blocks::countHeaders(book.list());
    FUZZ_CHECK(headers == 0 || headers == count);
    const blocks::BlockIndex index(book.list(), blocks::OperationDigits);
    for (int n = 0; n < headers; ++n)
        FUZZ_CHECK(index.find(n).has_value());

    auto inside = [&] { return book.current() >= 0 && book.current() < count; };
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

    try {
        book.save(savedContacts);
    } catch (const TarvikError&) {
        std::abort();
    }
    FixedPrompter again;
    BookFlags againFlags;
    OperationBook reloaded(againFlags, clock, again);
    reloaded.load(savedContacts);
    FUZZ_CHECK(again.informations == 0);
    FUZZ_CHECK(!againFlags.fileModified);
    FUZZ_CHECK(reloaded.count() == count);
    FUZZ_CHECK(reloaded.list() == book.list());
    return 0;
}
