// dBase reader and dBase import on arbitrary tables and memo files: no read
// outside the files, no crash, only EXBaseException as an error.
#include "exchange/import.h"
#include "exchange/xbase.h"
#include "platform/fixed_prompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using namespace tarvik;

static void put(const QString& path, const char* data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    f.write(data, qint64(size));
}

// Input: two bytes giving the memo file's length (little-endian), then the
// table, then the memo file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString table = dir.filePath(QStringLiteral("t.dbf"));
    static const QString memo = dir.filePath(QStringLiteral("t.dbt"));
    if (size < 2)
        return 0;
    const size_t memoSize = std::min<size_t>(size - 2, size_t(data[0]) | size_t(data[1]) << 8);
    const char* bytes = reinterpret_cast<const char*>(data) + 2;
    const size_t tableSize = size - 2 - memoSize;
    put(table, bytes, tableSize);
    put(memo, bytes + tableSize, memoSize);

    try {
        TXBase db;
        db.setFilename(table);
        db.setActive(true);
        db.First();
        for (int steps = 0; steps < 5000; ++steps) {
            (void)db.Deleted();
            for (int n = 1; n <= db.FieldCount(); ++n) {
                (void)db.fieldType(n);
                try {
                    (void)db.fieldValue(n);
                } catch (const EXBaseException&) {
                    // a memo number past the memo file
                }
            }
            if (db.Eof())
                break;
            db.Next();
        }
        for (qint64 k : {qint64(0), qint64(1), qint64(2), std::numeric_limits<qint64>::max()}) {
            try {
                (void)db.memoText(k);
            } catch (const EXBaseException&) {
            }
        }
    } catch (const EXBaseException&) {
    }

    if (tableSize < 64 * 1024) {
        BlockList list;
        int count = 1, current = 0;
        FixedPrompter prompter;
        const exchange::ImportOutcome out =
            exchange::importTable(list, count, current, table, prompter);
        if (blocks::countHeaders(list) != out.imported)
            abort();
        if (blocks::splitLines(blocks::joinLines(list)) != list)
            abort();
    }
    return 0;
}
