// Import of a full text file and of a large dBase table, export of a full
// contact file in each format.
#include "contacts/contact_record.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/fixed_prompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarvik;

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

void put(const QString& path, const QByteArray& data)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}

QString textFile()
{
    const QString path = folder().filePath("import.txt");
    if (!QFile::exists(path)) {
        QByteArray data;
        for (int i = 0; i < exchange::ImportRecordLimit; ++i)
            data += "Soci\xE9t\xE9 " + QByteArray::number(i) +
                    "\t12 rue de la Paix\tB\xE2timent B\t75002\tParis\t01 42 00 00 00\t01 42 00 "
                    "00 01\r\n";
        put(path, data);
    }
    return path;
}

QString tableFile(int records)
{
    const QString path = folder().filePath("import.dbf");
    if (!QFile::exists(path)) {
        const int lengths[5] = {40, 40, 40, 5, 30};
        const char* names[5] = {"NOM", "ADR1", "ADR2", "CP", "VILLE"};
        const int headerLength = 32 + 32 * 5 + 1;
        const int recordLength = 1 + 40 + 40 + 40 + 5 + 30;
        QByteArray b(32, '\0');
        b[0] = 0x03;
        for (int i = 0; i < 4; ++i)
            b[4 + i] = char((records >> (8 * i)) & 0xFF);
        b[8] = char(headerLength & 0xFF), b[9] = char(headerLength >> 8);
        b[10] = char(recordLength & 0xFF), b[11] = char(recordLength >> 8);
        for (int f = 0; f < 5; ++f) {
            QByteArray d(32, '\0');
            d.replace(0, qsizetype(qstrlen(names[f])), names[f]);
            d[11] = 'C';
            d[16] = char(lengths[f]);
            b += d;
        }
        b += '\x0D';
        for (int r = 0; r < records; ++r) {
            b += ' ';
            b += ("Soci\x82t\x82 " + QByteArray::number(r)).leftJustified(40, ' ');
            b += QByteArray("12 rue de la Paix").leftJustified(40, ' ');
            b += QByteArray().leftJustified(40, ' ');
            b += QByteArray("75002");
            b += QByteArray("Paris").leftJustified(30, ' ');
        }
        b += '\x1A';
        put(path, b);
    }
    return path;
}

const BlockList& fullContactFile()
{
    static const BlockList list = [] {
        BlockList l;
        l.reserve(89998 * 31);
        for (int i = 0; i < 89998; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = "Soci\xE9t\xE9 & fils " + QByteArray::number(i);
            r.address1 = "12 rue de la Paix";
            r.postcode = "75002";
            r.town = "Paris";
            r.phone = "01 42 00 00 00";
            r.contact_date = r.followup_date = QDate(2024, 1, 31);
            r.contact_time = r.followup_time = QTime(0, 0);
            l << contact::blockLines(r, i);
        }
        return l;
    }();
    return list;
}

void BM_ImportText(benchmark::State& state)
{
    const QString path = textFile();
    FixedPrompter prompter;
    for (auto _ : state) {
        BlockList list;
        int count = 1, current = 0;
        const auto out = exchange::importContacts(list, count, current, path, prompter);
        benchmark::DoNotOptimize(out.imported);
        if (out.imported != exchange::ImportRecordLimit)
            state.SkipWithError("not every line was imported");
    }
}

void BM_ImportDbase(benchmark::State& state)
{
    const QString path = tableFile(50000);
    FixedPrompter prompter;
    for (auto _ : state) {
        BlockList list;
        int count = 1, current = 0;
        const auto out = exchange::importContacts(list, count, current, path, prompter);
        benchmark::DoNotOptimize(out.imported);
        if (out.imported != 50000)
            state.SkipWithError("not every record was imported");
    }
}

void BM_Export(benchmark::State& state)
{
    const auto format = exchange::ExportFormat(state.range(0));
    const BlockList& list = fullContactFile();
    const QString path = folder().filePath("export.out");
    for (auto _ : state)
        exchange::exportContacts(list, path, format);
}

} // namespace

BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportDbase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
