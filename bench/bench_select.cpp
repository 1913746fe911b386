// Filtered moves, searches and the sort on large contact files.
//   bench_select                      the benchmarks
//   bench_select --names=FILE COUNT   writes the names of the COUNT-record file,
//                                     one a line, to compare with `sort -f FILE`
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "platform/clock.h"
#include "platform/fixed_prompter.h"
#include "selection/filtered_moves.h"
#include "selection/sort.h"

#include <QFile>
#include <QRandomGenerator>
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

QByteArray randomWord(QRandomGenerator& g, int minLen, int maxLen)
{
    static const char* syllables[] = {"ma", "ri",  "du", "pon", "ber", "nard", "le",   "roy",
                                      "fa", "vre", "mo", "rel", "gi",  "rard", "\xE9", "ch\xE8"};
    QByteArray w;
    const int n = minLen + int(g.bounded(maxLen - minLen + 1));
    for (int i = 0; i < n; ++i)
        w += syllables[g.bounded(16)];
    if (g.bounded(3) == 0)
        w[0] = char(w[0] - ('a' <= w[0] && w[0] <= 'z' ? 32 : 0));
    return w;
}

// A file of `count` realistic records, the same for every run.
const BlockList& contactFile(int count)
{
    static std::map<int, BlockList> files;
    auto it = files.find(count);
    if (it != files.end())
        return it->second;
    QRandomGenerator g(1234);
    BlockList l;
    l.reserve(qsizetype(count) * 36);
    for (int i = 0; i < count; ++i) {
        ContactRecord r;
        r.code = QByteArray::number(10001 + i);
        r.name = randomWord(g, 2, 4) + ' ' + randomWord(g, 1, 3);
        r.address1 = QByteArray::number(g.bounded(200)) + " rue " + randomWord(g, 2, 3);
        r.postcode = QByteArray::number(10000 + g.bounded(85000));
        r.town = randomWord(g, 1, 3);
        r.phone = "0" + QByteArray::number(100000000 + g.bounded(800000000));
        r.decision_maker = randomWord(g, 2, 3);
        r.contact_type = "Appel";
        r.contact_date = QDate(2025, 1, 1).addDays(g.bounded(400));
        r.contact_time = QTime(9, 0, 0);
        r.followup_date = QDate(2026, 1, 1).addDays(g.bounded(200));
        r.followup_time = QTime(0, 0, 0);
        r.alert = i == count / 3 || i == count - count / 3;
        for (int h = 0, n = int(g.bounded(6)); h < n; ++h)
            r.history << "15/01/2025\t10:00:00\tAppel\t" + randomWord(g, 3, 8);
        l << contact::blockLines(r, i);
    }
    return files.emplace(count, std::move(l)).first->second;
}

void BM_FilteredMoveNext(benchmark::State& state)
{
    const BlockList& l = contactFile(int(state.range(0)));
    const selection::ContactFilter f{selection::Alerts, {}, {}, QDate(2026, 3, 15)};
    for (auto _ : state)
        benchmark::DoNotOptimize(selection::moveContact(l, 0, selection::Direction::Next, f));
}

void BM_FilteredMoveTown(benchmark::State& state)
{
    const BlockList& l = contactFile(int(state.range(0)));
    const selection::ContactFilter f{selection::Town, {}, "NOWHERE", QDate(2026, 3, 15)};
    for (auto _ : state)
        benchmark::DoNotOptimize(selection::moveContact(l, 0, selection::Direction::Last, f));
}

// A search that finds nothing reads every block: the worst case.
template <bool (RecordBook::*Search)(const QByteArray&)> void BM_Search(benchmark::State& state)
{
    FixedPrompter prompter;
    StillClock clock;
    RecordBook book(prompter, clock);
    book.loadContacts(contactFile(int(state.range(0))));
    const QByteArray query =
        Search == &RecordBook::RechNum ? QByteArray("123456789") : QByteArray("9ZZZ");
    for (auto _ : state)
        benchmark::DoNotOptimize((book.*Search)(query));
}

void BM_SortByName(benchmark::State& state)
{
    const BlockList& source = contactFile(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        BlockList l = source;
        l.detach();
        state.ResumeTiming();
        benchmark::DoNotOptimize(sorting::sortRecords(l, sorting::ByName));
    }
}

} // namespace

BENCHMARK(BM_FilteredMoveNext)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredMoveTown)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search<&RecordBook::RechNom>)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search<&RecordBook::RechTel>)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search<&RecordBook::RechDeci>)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search<&RecordBook::RechNum>)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByName)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    if (argc == 3 && std::strncmp(argv[1], "--names=", 8) == 0) {
        const BlockList& l = contactFile(std::atoi(argv[2]));
        QFile out(QString::fromLocal8Bit(argv[1] + 8));
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        for (qsizetype i = 0; i < l.size(); ++i)
            if (blocks::isHeader(l.at(i)))
                out.write(l.at(i + contact::Name) + '\n');
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
