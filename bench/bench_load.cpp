#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "platform/clock.h"
#include "platform/fixed_prompter.h"
#include "storage/integrity.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarvik;

namespace {

// Answers Yes to everything, so the restore always runs.
struct YesPrompter : FixedPrompter
{
    YesPrompter() : FixedPrompter(true) {}
};

class StillClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 15), QTime(10, 30, 0)); }
};

constexpr int Records = 89998;
constexpr int Damaged = 100;

// A large contact file; with `damage`, 100 blocks lack their trailer and 100
// are stored twice (half of the copies identical, half differing).
BlockList contactFile(bool damage)
{
    BlockList list;
    list.reserve(qsizetype(Records + Damaged) * 34);
    ContactRecord r;
    r.contact_date = QDate(2025, 11, 3);
    r.contact_time = QTime(9, 12, 0);
    r.followup_date = QDate(2026, 1, 10);
    r.followup_time = QTime(0, 0, 0);
    r.postcode = "69003";
    r.town = "LYON";
    r.history = {"Appel\t\t03/11/2025      09:12:00\tM. Roy", QByteArray(189, '-')};
    r.freeText = {"client fidele"};
    const int step = Records / Damaged;
    for (int i = 0; i < Records; ++i) {
        r.code = QByteArray::number(10001 + i);
        r.name = "Societe " + QByteArray::number(i);
        QList<QByteArray> block = contact::blockLines(r, i);
        if (damage && i % step == 1)
            block.removeLast();
        list += block;
        if (damage && i % step == 2) {
            if ((i / step) % 2)
                r.name += " bis";
            list += contact::blockLines(r, i);
        }
        list << " ";
    }
    return list;
}

struct Files
{
    QTemporaryDir dir;
    QString clean = dir.filePath("clean.ctc");
    QString damaged = dir.filePath("damaged.ctc");
    Files()
    {
        blocks::saveFile(clean, contactFile(false));
        blocks::saveFile(damaged, contactFile(true));
    }
};

const Files& files()
{
    static const Files f;
    return f;
}

void loadFile(benchmark::State& state, const QString& path)
{
    YesPrompter prompter;
    StillClock clock;
    for (auto _ : state) {
        RecordBook book(prompter, clock);
        book.Charge(path);
        benchmark::DoNotOptimize(book.recordCount());
    }
}

void BM_LoadClean(benchmark::State& state)
{
    loadFile(state, files().clean);
}

void BM_LoadDamaged(benchmark::State& state)
{
    loadFile(state, files().damaged);
}

// The integrity steps alone, on the damaged list in memory.
void BM_RepairSteps(benchmark::State& state)
{
    const BlockList damaged = contactFile(true);
    YesPrompter prompter;
    for (auto _ : state) {
        state.PauseTiming();
        BlockList list = damaged;
        int count = blocks::countHeaders(list);
        state.ResumeTiming();
        integrity::Augmente(list);
        integrity::Verif(list, count, prompter);
        integrity::Doublons(list, count);
        integrity::closeGaps(list, count, blocks::ContactDigits);
        benchmark::DoNotOptimize(count);
    }
}

} // namespace

BENCHMARK(BM_LoadClean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDamaged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepairSteps)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
