// The realistic contact file of 89,998 records (and one of 9,999): load with
// the integrity checks, moves, filtered moves, searches, the sort by name and
// the save, against writing the same bytes. bench/figures.sh runs it beside
// `wc -l` and `sort -f` of the same file.
//   bench_large_file                         the benchmarks
//   bench_large_file --write=FILE COUNT      writes the COUNT-record file
//   bench_large_file --names=FILE COUNT      its names, one a line, in UTF-8
#include "book/record_book.h"
#include "exchange/uid_store.h"
#include "platform/clock.h"
#include "platform/fixed_prompter.h"
#include "realistic_file.h"
#include "selection/sort.h"
#include "storage/ansi.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <map>

using namespace tarvik;

namespace {

class StillClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 15), QTime(10, 0, 0)); }
};

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

const QString& filePath(int count)
{
    static std::map<int, QString> paths;
    if (auto it = paths.find(count); it != paths.end())
        return it->second;
    const QString path = folder().filePath(QStringLiteral("realistic%1.ctc").arg(count));
    blocks::saveFile(path, bench::realisticFile(count));
    return paths.emplace(count, path).first->second;
}

// A book with the file open, kept for the whole run.
RecordBook& book(int count)
{
    static FixedPrompter prompter;
    static StillClock clock;
    static std::map<int, std::unique_ptr<RecordBook>> books;
    auto& b = books[count];
    if (!b) {
        b = std::make_unique<RecordBook>(prompter, clock);
        b->Charge(filePath(count));
    }
    return *b;
}

void BM_Load(benchmark::State& state)
{
    const QString& path = filePath(int(state.range(0)));
    FixedPrompter prompter;
    StillClock clock;
    for (auto _ : state) {
        RecordBook b(prompter, clock);
        b.Charge(path);
        benchmark::DoNotOptimize(b.recordCount());
    }
}

// From one end of the file to the other, so that every move measured moves;
// with the argument 1 the shown record is edited first and written back.
template <void (RecordBook::*Move)(), void (RecordBook::*Away)()>
void BM_Move(benchmark::State& state)
{
    RecordBook& b = book(int(state.range(0)));
    b.SetSel(selection::All);
    for (auto _ : state) {
        state.PauseTiming();
        (b.*Away)();
        if (state.range(1))
            b.setText(contact::Town, "VILLEURBANNE");
        state.ResumeTiming();
        (b.*Move)();
        benchmark::DoNotOptimize(b.currentRecord());
    }
}

// Next alert from the first record, under the alerts mode.
void BM_FilteredMoveNext(benchmark::State& state)
{
    RecordBook& b = book(int(state.range(0)));
    b.SetSel(selection::Alerts);
    for (auto _ : state) {
        state.PauseTiming();
        b.Premier();
        if (state.range(1))
            b.setText(contact::Town, "VILLEURBANNE");
        state.ResumeTiming();
        b.Suivant();
        benchmark::DoNotOptimize(b.currentRecord());
    }
    b.SetSel(selection::All);
}

// A search that finds nothing reads every block: the worst case.
void BM_SearchName(benchmark::State& state)
{
    RecordBook& b = book(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(b.RechNom("ZZZ INCONNU"));
}

void BM_SortByName(benchmark::State& state)
{
    const BlockList& source = book(int(state.range(0))).contacts();
    for (auto _ : state) {
        state.PauseTiming();
        BlockList l = source;
        l.detach();
        state.ResumeTiming();
        benchmark::DoNotOptimize(sorting::sortRecords(l, sorting::ByName));
        state.PauseTiming();
        l = BlockList();
        state.ResumeTiming();
    }
}

// With the argument 1 the shown record is edited first, as before a real save.
void BM_Save(benchmark::State& state)
{
    RecordBook& b = book(int(state.range(0)));
    const QString path = folder().filePath(QStringLiteral("saved.ctc"));
    int n = 0;
    for (auto _ : state) {
        if (state.range(1)) {
            state.PauseTiming();
            b.setText(contact::Town, ++n % 2 ? "VILLEURBANNE" : "LYON");
            state.ResumeTiming();
        }
        b.SetModif();
        b.Sauve(path);
    }
}

// The bytes of the three files the save writes (contacts, operations and the
// UIDs' companion), written with QSaveFile.
void BM_WriteSameBytes(benchmark::State& state)
{
    RecordBook& b = book(int(state.range(0)));
    const QByteArray contacts = blocks::joinLines(b.contacts());
    const QByteArray operations = blocks::joinLines(b.operations().list());
    const QString saved = folder().filePath(QStringLiteral("saved.ctc"));
    b.SetModif();
    b.Sauve(saved);
    QFile companion(exchange::UidStore::companionPath(saved));
    if (!companion.open(QIODevice::ReadOnly))
        state.SkipWithError("no companion");
    const QByteArray uids = companion.readAll();
    const QString path = folder().filePath(QStringLiteral("plain.ctc"));
    const QString opr = folder().filePath(QStringLiteral("plain.opr"));
    const QString uid = folder().filePath(QStringLiteral("plain.uid"));
    for (auto _ : state) {
        for (const auto& [p, bytes] :
             {std::pair{path, contacts}, std::pair{opr, operations}, std::pair{uid, uids}}) {
            QSaveFile file(p);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
                !file.commit())
                state.SkipWithError("write failed");
        }
    }
}

using B = RecordBook;

} // namespace

BENCHMARK(BM_Load)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move<&B::Suivant, &B::Premier>)
    ->ArgsProduct({{9999, 89998}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move<&B::Dernier, &B::Premier>)
    ->ArgsProduct({{9999, 89998}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredMoveNext)->ArgsProduct({{9999, 89998}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchName)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByName)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Save)->ArgsProduct({{9999, 89998}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSameBytes)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 3 && std::strncmp(argv[1], "--write=", 8) == 0) {
        blocks::saveFile(QString::fromLocal8Bit(argv[1] + 8),
                         bench::realisticFile(std::atoi(argv[2])));
        return 0;
    }
    if (argc == 3 && std::strncmp(argv[1], "--names=", 8) == 0) {
        const BlockList l = bench::realisticFile(std::atoi(argv[2]));
        QFile out(QString::fromLocal8Bit(argv[1] + 8));
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        for (qsizetype i = 0; i + contact::Name < l.size(); ++i)
            if (blocks::isHeader(l.at(i)))
                out.write(ansi::toUnicode(l.at(i + contact::Name)).toUtf8() + '\n');
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
