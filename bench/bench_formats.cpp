// vCard and spreadsheet text with headers for a full contact file (89,998
// contacts): export, and import of what was exported, against the time the
// program takes to load that contact file.
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "exchange/card_exchange.h"
#include "exchange/csv_contacts.h"
#include "exchange/import.h"
#include "exchange/uid_store.h"
#include "platform/clock.h"
#include "platform/fixed_prompter.h"
#include "storage/ansi.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarvik;

namespace {

constexpr int Contacts = 89998;

class StoppedClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 15), QTime(10, 30)); }
};

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

const BlockList& fullList()
{
    static const BlockList list = [] {
        BlockList l;
        l.reserve(Contacts * 34);
        for (int i = 0; i < Contacts; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = "Soci\xE9t\xE9 " + QByteArray::number(i) + " & Fils";
            r.address1 = "12, rue de la Paix";
            r.address2 = "B\xE2timent B";
            r.postcode = "75002";
            r.town = "Paris";
            r.phone = "01 42 00 00 00";
            r.fax = "01 42 00 00 01";
            r.activity = "N\xE9goce";
            r.email = "contact" + QByteArray::number(i) + "@example.fr";
            r.civility = "M.";
            r.decision_maker = "Dupont";
            r.function = "G\xE9rant";
            r.contact_date = QDate(2026, 3, 1);
            r.contact_time = QTime(9, 0);
            r.followup_date = QDate(2026, 4, 1);
            r.followup_time = QTime(0, 0);
            r.history = {"Type de contact\tDate", "Visite\t\t01/03/2026", QByteArray(60, '-')};
            r.freeText = {"Client fid\xE8le, paie \xE0 30 jours", "Second line"};
            l << contact::blockLines(r, i);
        }
        return l;
    }();
    return list;
}

QString contactFile()
{
    const QString path = folder().filePath("full.ctc");
    if (!QFile::exists(path))
        blocks::saveFile(path, fullList());
    return path;
}

void BM_LoadContactFile(benchmark::State& state)
{
    const QString path = contactFile();
    StoppedClock clock;
    FixedPrompter prompter;
    for (auto _ : state) {
        RecordBook book(prompter, clock);
        book.Charge(path);
        benchmark::DoNotOptimize(book.recordCount());
    }
}

void BM_ExportVcard(benchmark::State& state)
{
    exchange::UidStore uids;
    for (auto _ : state) {
        const QByteArray out = exchange::exportVcards(fullList(), uids);
        benchmark::DoNotOptimize(out.size());
        state.counters["MB"] = double(out.size()) / 1e6;
    }
}

void BM_ImportVcard(benchmark::State& state)
{
    exchange::UidStore uids;
    const QByteArray data = exchange::exportVcards(fullList(), uids);
    FixedPrompter prompter;
    for (auto _ : state) {
        const exchange::ForeignRead read = exchange::readVcards(data);
        BlockList list;
        int count = 1, current = 0;
        exchange::UidStore into;
        const exchange::ImportOutcome o =
            exchange::appendForeign(list, count, current, read, prompter, &into);
        if (o.imported != exchange::ImportRecordLimit + 1)
            state.SkipWithError("not every card was imported");
    }
}

void BM_ExportCsv(benchmark::State& state)
{
    for (auto _ : state) {
        const QByteArray out = exchange::exportCsv(fullList());
        benchmark::DoNotOptimize(out.size());
        state.counters["MB"] = double(out.size()) / 1e6;
    }
}

void BM_ImportCsv(benchmark::State& state)
{
    const QByteArray data = exchange::exportCsv(fullList());
    FixedPrompter prompter;
    for (auto _ : state) {
        const exchange::ForeignRead read = exchange::readCsv(data, nullptr);
        BlockList list;
        int count = 1, current = 0;
        const exchange::ImportOutcome o =
            exchange::appendForeign(list, count, current, read, prompter, nullptr);
        if (o.imported != exchange::ImportRecordLimit + 1)
            state.SkipWithError("not every row was imported");
    }
}

} // namespace

BENCHMARK(BM_LoadContactFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportVcard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportVcard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
