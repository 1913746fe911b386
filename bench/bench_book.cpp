// The record book on large files: visiting every record in number order
// against the load of the same file, the four moves and the save on a file of
// 89,998 imported records, and the plain write of the same bytes.
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "exchange/import.h"
#include "platform/clock.h"
#include "platform/fixed_prompter.h"
#include "storage/block_index.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
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

// A contact file of `count` records written by the program itself, with a
// short history, as a user's file after some months of work.
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

// 89,998 contacts imported from a tab-separated text into a new file and
// saved: the file the moves and the save are measured on.
const QString& importedFile()
{
    static const QString path = [] {
        const QString text = folder().filePath(QStringLiteral("import.txt"));
        QFile out(text);
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        for (int i = 0; i < 89998; ++i)
            out.write("Societe " + QByteArray::number(i) + "\t12 rue des Lilas\t\t" +
                      QByteArray::number(10000 + i % 85000) + "\tLYON\t0478000000\t\r\n");
        out.close();
        FixedPrompter prompter;
        StillClock clock;
        RecordBook book(prompter, clock);
        book.importFile(text);
        const QString ctc = folder().filePath(QStringLiteral("imported.ctc"));
        book.Sauve(ctc);
        return ctc;
    }();
    return path;
}

void BM_Load(benchmark::State& state)
{
    const QString path = workedFile(int(state.range(0)));
    FixedPrompter prompter;
    StillClock clock;
    for (auto _ : state) {
        RecordBook book(prompter, clock);
        book.Charge(path);
        benchmark::DoNotOptimize(book.recordCount());
    }
}

// One index, then every record's name line read in number order.
void BM_VisitInNumberOrder(benchmark::State& state)
{
    const BlockList list = blocks::loadFile(workedFile(int(state.range(0))));
    for (auto _ : state) {
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        qsizetype total = 0;
        index.forEachInNumberOrder([&](const blocks::BlockSpan& span) {
            total += contact::field(list, span.first, contact::Name).size();
        });
        benchmark::DoNotOptimize(total);
    }
}

RecordBook& importedBook()
{
    static FixedPrompter prompter;
    static StillClock clock;
    static RecordBook book(prompter, clock);
    static const bool loaded = (book.Charge(importedFile()), true);
    (void)loaded;
    return book;
}

// Each iteration goes to the other end of the file first, so that every move
// measured really moves.
template <void (RecordBook::*Move)(), void (RecordBook::*Away)()>
void BM_Move(benchmark::State& state)
{
    RecordBook& book = importedBook();
    for (auto _ : state) {
        state.PauseTiming();
        (book.*Away)();
        if (state.range(0))
            book.setText(contact::Town, "VILLEURBANNE"); // the shown record edited
        state.ResumeTiming();
        (book.*Move)();
        benchmark::DoNotOptimize(book.currentRecord());
    }
}

void BM_Save(benchmark::State& state)
{
    RecordBook& book = importedBook();
    const QString path = folder().filePath(QStringLiteral("saved.ctc"));
    for (auto _ : state) {
        book.SetModif();
        book.Sauve(path);
    }
}

// The bytes of the two files the save writes, written with QSaveFile.
void BM_WriteSameBytes(benchmark::State& state)
{
    RecordBook& book = importedBook();
    const QByteArray contacts = blocks::joinLines(book.contacts());
    const QByteArray operations = blocks::joinLines(book.operations().list());
    const QString path = folder().filePath(QStringLiteral("plain.ctc"));
    const QString opr = folder().filePath(QStringLiteral("plain.opr"));
    for (auto _ : state) {
        for (const auto& [p, bytes] : {std::pair{path, contacts}, std::pair{opr, operations}}) {
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
BENCHMARK(BM_VisitInNumberOrder)->Arg(9999)->Arg(89998)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move<&B::Dernier, &B::Premier>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move<&B::Premier, &B::Dernier>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move<&B::Suivant, &B::Premier>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move<&B::Precedent, &B::Dernier>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSameBytes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
