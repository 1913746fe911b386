// The planning and the operation statistics on full files: 9,999 contacts
// with follow-ups spread over a year, 9,999 operations of three entries.
#include "contacts/contact_record.h"
#include "platform/text_measure.h"
#include "print/operation_stats.h"
#include "print/planning.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace tarvik;

namespace {

constexpr int Records = 9999;

class CharMeasure : public TextMeasure
{
public:
    int width(const QByteArray& text) const override { return 6 * int(text.size()); }
};

const BlockList& contacts()
{
    static const BlockList list = [] {
        QRandomGenerator g(7);
        BlockList l;
        for (int i = 0; i < Records; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = "Client " + QByteArray::number(g.bounded(100000));
            r.contact_date = QDate(2026, 1, 1);
            r.followup_date = QDate(2026, 1, 1).addDays(g.bounded(365));
            r.followup_time = QTime(8 + g.bounded(10), 15 * g.bounded(4), 0);
            r.history << "MEMOligne d'historique";
            l += contact::blockLines(r, i);
        }
        return l;
    }();
    return list;
}

const BlockList& operations()
{
    static const BlockList list = [] {
        QRandomGenerator g(11);
        BlockList l;
        for (int i = 0; i < Records; ++i) {
            l += blocks::header(i, blocks::OperationDigits);
            l += {QByteArray::number(10001 + i),
                  "Salon",
                  "Op\xE9ration " + QByteArray::number(i),
                  "",
                  "",
                  "01/01/2026",
                  QDate(2026, 1, 1).addDays(g.bounded(365)).toString("dd/MM/yyyy").toLatin1(),
                  "N",
                  "MEM3description"};
            for (int e = 0; e < 3; ++e)
                l += "DATA01/02/2026\tEntr\xE9"
                     "e\t" +
                     QByteArray::number(g.bounded(5000)) + ",50";
            l += blocks::trailer(i, blocks::OperationDigits);
        }
        return l;
    }();
    return list;
}

void BM_PlanningOpen(benchmark::State& state)
{
    const BlockList& list = contacts();
    for (auto _ : state) {
        const planning::PlanningList planning(list);
        benchmark::DoNotOptimize(planning.day("15/03/2026").size());
    }
}
BENCHMARK(BM_PlanningOpen)->Unit(benchmark::kMillisecond);

void BM_PlanningDayChange(benchmark::State& state)
{
    const planning::PlanningList planning(contacts());
    int d = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            planning.day(planning::calendarDay(QDate(2026, 1, 1).addDays(d++ % 365))).size());
}
BENCHMARK(BM_PlanningDayChange)->Unit(benchmark::kMicrosecond);

void BM_StatisticsOpen(benchmark::State& state)
{
    const BlockList& list = operations();
    const CharMeasure measure;
    for (auto _ : state) {
        stats::Lines lines = stats::statisticsLines(list);
        stats::sortLines(lines.lines);
        benchmark::DoNotOptimize(stats::tableRows(lines.lines, measure).size());
    }
}
BENCHMARK(BM_StatisticsOpen)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
