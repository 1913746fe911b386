// The recovery copy of the changes not saved, on files of 9,999 and 89,998
// records: what the window's thread pays at each tick that finds a change
// (the longest such pause is the figure that matters: it must stay under a
// frame), and the time of one whole copy written by the writer.
#include "book/record_book.h"
#include "book/recovery.h"
#include "contacts/contact_record.h"
#include "platform/clock.h"
#include "platform/fixed_prompter.h"
#include "platform/process_table.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
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

// A contact file of `count` records with a short history each.
QString workedFile(int count)
{
    static std::map<int, QString> paths;
    if (auto it = paths.find(count); it != paths.end())
        return it->second;
    BlockList list;
    list.reserve(qsizetype(count) * 34);
    ContactRecord r;
    r.contact_date = QDate(2025, 11, 3);
    r.contact_time = QTime(9, 12, 0);
    r.followup_date = QDate(2026, 1, 10);
    r.followup_time = QTime(0, 0, 0);
    r.postcode = "69003";
    r.town = "LYON";
    r.history = {"Appel\t\t03/11/2025      09:12:00\tM. Roy", QByteArray(189, '-')};
    for (int i = 0; i < count; ++i) {
        r.code = QByteArray::number(10001 + i);
        r.name = "Societe " + QByteArray::number(i);
        list += contact::blockLines(r, i);
    }
    const QString path = folder().filePath(QStringLiteral("worked%1.ctc").arg(count));
    blocks::saveFile(path, list);
    return paths.emplace(count, path).first->second;
}

struct Fixture
{
    FixedPrompter prompter;
    StillClock clock;
    SystemProcessTable processes;
    RecordBook book{prompter, clock};
    Recovery recovery{folder().filePath(QStringLiteral("recovery")), processes, clock};

    explicit Fixture(int count)
    {
        const QString path = workedFile(count);
        book.Charge(path);
        recovery.attach(path, false, {}, {});
        // Far into the file, so that the written-back block is looked for.
        book.goToRecord(count / 2);
    }
};

// One tick after an edit of the shown record, then the move's write back
// that follows it: the tick only shares the lists, but the write back then
// gives the book's list storage of its own, a copy of every line's handle
// that the book does not pay without a recovery copy. Both are the window's
// share; the longest of each is what must stay under a frame.
void BM_RecoveryTickPause(benchmark::State& state)
{
    const int count = int(state.range(0));
    Fixture f(count);
    double longestTick = 0;
    double longestWriteBack = 0;
    int i = 0;
    using Ms = std::chrono::duration<double, std::milli>;
    for (auto _ : state) {
        state.PauseTiming();
        f.recovery.flush();
        f.book.setText(contact::Name, "Edit " + QByteArray::number(++i));
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(f.recovery.tick(f.book));
        longestTick = std::max(longestTick, Ms(std::chrono::steady_clock::now() - start).count());
        start = std::chrono::steady_clock::now();
        f.book.EcritFiche();
        longestWriteBack =
            std::max(longestWriteBack, Ms(std::chrono::steady_clock::now() - start).count());
    }
    f.recovery.flush();
    state.counters["longest_tick_ms"] = longestTick;
    state.counters["longest_write_back_ms"] = longestWriteBack;
}
BENCHMARK(BM_RecoveryTickPause)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);

// The same write back without any recovery copy, for comparison.
void BM_WriteBackAlone(benchmark::State& state)
{
    const int count = int(state.range(0));
    Fixture f(count);
    f.recovery.detach();
    double longest = 0;
    int i = 0;
    using Ms = std::chrono::duration<double, std::milli>;
    for (auto _ : state) {
        f.book.setText(contact::Name, "Edit " + QByteArray::number(++i));
        const auto start = std::chrono::steady_clock::now();
        f.book.EcritFiche();
        longest = std::max(longest, Ms(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["longest_write_back_ms"] = longest;
}
BENCHMARK(BM_WriteBackAlone)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);

// One whole copy: the edit written back into a copy of the list, the entry
// made and written through QSaveFile (the writer's share).
void BM_RecoveryWrite(benchmark::State& state)
{
    const int count = int(state.range(0));
    Fixture f(count);
    int i = 0;
    for (auto _ : state) {
        f.book.setText(contact::Name, "Edit " + QByteArray::number(++i));
        benchmark::DoNotOptimize(f.recovery.writeNow(f.book));
    }
    state.counters["lines"] = double(f.book.contacts().size());
}
BENCHMARK(BM_RecoveryWrite)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
