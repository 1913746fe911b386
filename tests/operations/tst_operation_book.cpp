#include "operations/operation_book.h"
#include "platform/text_measure.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"
#include "storage/integrity.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

namespace {

// Seven pixels a character, as a fixed-pitch font would measure.
class FixedPitch : public TextMeasure
{
public:
    int width(const QByteArray& text) const override { return 7 * int(text.size()); }
};

BlockList block(int n, const QByteArray& code, const QByteArray& type, const QByteArray& summary,
                const BlockList& tail = {}, bool withTrailer = true)
{
    BlockList b{blocks::header(n, 4), code, type, summary, "", "", "01/02/2026", "28/02/2026", "N"};
    b << tail;
    if (withTrailer)
        b << blocks::trailer(n, 4);
    return b;
}

struct Fixture
{
    BookFlags flags;
    FixedClock clock;
    ScriptedPrompter prompter;
    OperationBook book{flags, clock, prompter};
    QTemporaryDir dir;

    QString contactPath() const { return dir.filePath("clients.ctc"); }
    QString operationsPath() const { return dir.filePath("clients.opr"); }

    void load(const BlockList& lines)
    {
        writeBytes(operationsPath(), blocks::joinLines(lines));
        book.load(contactPath());
    }
    QList<QByteArray> headers() const
    {
        QList<QByteArray> r;
        for (const QByteArray& line : book.list())
            if (blocks::isHeader(line))
                r << line;
        return r;
    }
    QByteArray summaryOf(int n)
    {
        book.goTo(n);
        return book.shown().summary;
    }
};

} // namespace

class TstOperationBook : public QObject
{
    Q_OBJECT
private slots:
    void missingFileGivesOneBlankOperation();
    void rewrittenBlockMovesToTheEnd();
    void readsEveryField();
    void unreadableDatesKeepToday_data();
    void unreadableDatesKeepToday();
    void moneyFormatOfEntries_data();
    void moneyFormatOfEntries();
    void panelRefusesBlankAndSixtyFourth();
    void entryRemoval_data();
    void entryRemoval();
    void everyEntryIsKept();
    void costTypingIsKept();
    void costFieldPadding();
    void fieldsStayOneLine();
    void nextCode_data();
    void nextCode();
    void newOperationAndFullFile();
    void lastWithOneOperationDoesNothing();
    void plainMoves();
    void typeFilterMoves_data();
    void typeFilterMoves();
    void deleteRenumbers();
    void loadSaveKeepsBytes();
    void unbalancedFileIsRebuilt();
    void rebuildKeepsBlocksBehindAGap();
    void duplicatesLoseNothing();
    void completeFileLoadsSilently();
};

void TstOperationBook::missingFileGivesOneBlankOperation()
{
    Fixture f;
    f.book.load(f.contactPath());
    QCOMPARE(f.book.count(), 1);
    QCOMPARE(f.book.current(), 0);
    QVERIFY(f.book.list().isEmpty());
    QCOMPARE(f.book.shown().op_code, QByteArray("10001"));
    QCOMPARE(f.book.shown().start_date, f.clock.today());
    QVERIFY(!f.flags.operationsChanged);

    f.book.setText(operation::Summary, "Salon");
    QVERIFY(f.flags.operationsChanged);
    f.book.save(f.contactPath());
    QCOMPARE(readBytes(f.operationsPath()),
             QByteArray("<BLOC0000>\r\n10001\r\n\r\nSalon\r\n\r\n\r\n15/03/2026\r\n15/03/2026\r\n"
                        "N\r\n</BLOC0000>\r\n"));
    QVERIFY(f.prompter.asked.isEmpty());
}

void TstOperationBook::rewrittenBlockMovesToTheEnd()
{
    Fixture f;
    f.load(block(0, "10001", "Salon", "A") + block(1, "10002", "Salon", "B") +
           block(2, "10003", "Salon", "C"));
    f.book.setText(operation::Summary, "A2");
    f.book.save(f.contactPath());
    f.book.load(f.contactPath());
    QCOMPARE(f.headers(), (QList<QByteArray>{"<BLOC0001>", "<BLOC0002>", "<BLOC0000>"}));
    QCOMPARE(f.summaryOf(0), QByteArray("A2"));
    QCOMPARE(f.summaryOf(1), QByteArray("B"));
}

void TstOperationBook::readsEveryField()
{
    Fixture f;
    BlockList b{"<BLOC0000>",
                "10007",
                "Mailing",
                "Printemps",
                "    12,50",
                "  3,00",
                "02/03/2026",
                "09/03/2026",
                "Y",
                "MEM3ligne 1",
                "MEM4fait",
                "MEM3ligne 2",
                "autre",
                "DATA01/03/2026\tSalon\t1500,00",
                "DATA02/03/2026\tSans montant",
                "</BLOC0000>"};
    f.load(b);
    const OperationRecord& r = f.book.shown();
    QCOMPARE(r.op_code, QByteArray("10007"));
    QCOMPARE(r.op_type, QByteArray("Mailing"));
    QCOMPARE(r.fixed_cost, QByteArray("    12,50"));
    QCOMPARE(r.start_date, QDate(2026, 3, 2));
    QCOMPARE(r.end_date, QDate(2026, 3, 9));
    QVERIFY(r.urgent);
    QCOMPARE(r.description, (QList<QByteArray>{"ligne 1", "ligne 2"}));
    QCOMPARE(r.highlights, (QList<QByteArray>{"fait"}));
    QCOMPARE(r.entries.size(), 2);
    QCOMPARE(r.entries[0], (OperationEntry{"01/03/2026", "Salon", "1500,00"}));
    QCOMPARE(r.entries[1], (OperationEntry{"02/03/2026", "Sans montant", ""}));

    // Written back unchanged, the block is the same lines less the one that
    // belongs to no field, memo lines grouped.
    f.book.edit();
    f.book.EcritOperation();
    BlockList expected = b;
    expected.removeAll("autre");
    expected.move(expected.indexOf("MEM3ligne 2"), 10);
    expected.replace(expected.indexOf("DATA02/03/2026\tSans montant"),
                     "DATA02/03/2026\tSans montant\t");
    QCOMPARE(f.book.list(), expected);
}

void TstOperationBook::unreadableDatesKeepToday_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<QDate>("shownStart");
    QTest::addColumn<QDate>("shownEnd");
    const QDate today(2026, 3, 15);
    QTest::newRow("both read") << QByteArray("01/02/2026") << QByteArray("28/02/2026")
                               << QDate(2026, 2, 1) << QDate(2026, 2, 28);
    QTest::newRow("bad start stops")
        << QByteArray("31/02/2026") << QByteArray("28/02/2026") << today << today;
    QTest::newRow("empty start, end read")
        << QByteArray() << QByteArray("28/02/2026") << today << QDate(2026, 2, 28);
    QTest::newRow("bad end") << QByteArray("01/02/2026") << QByteArray("demain")
                             << QDate(2026, 2, 1) << today;
}

void TstOperationBook::unreadableDatesKeepToday()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(QDate, shownStart);
    QFETCH(QDate, shownEnd);
    Fixture f;
    BlockList b = block(0, "10001", "", "A");
    b[operation::StartDate] = start;
    b[operation::EndDate] = end;
    f.load(b);
    QCOMPARE(f.book.shown().start_date, shownStart);
    QCOMPARE(f.book.shown().end_date, shownEnd);
}

void TstOperationBook::moneyFormatOfEntries_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("12") << QByteArray("12") << QByteArray("12,00");
    QTest::newRow("12,5") << QByteArray("12,5") << QByteArray("12,50");
    QTest::newRow("12,567") << QByteArray("12,567") << QByteArray("12,56");
    QTest::newRow("12,") << QByteArray("12,") << QByteArray("12,00");
    QTest::newRow("1500") << QByteArray("1500") << QByteArray("1500,00");
}

void TstOperationBook::moneyFormatOfEntries()
{
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, stored);
    Fixture f;
    QVERIFY(f.book.addEntry(QDate(2026, 3, 1), "Salon", typed));
    QVERIFY(f.flags.fileModified);
    f.book.EcritOperation();
    QVERIFY(f.book.list().contains("DATA01/03/2026\tSalon\t" + stored));
}

void TstOperationBook::panelRefusesBlankAndSixtyFourth()
{
    Fixture f;
    QVERIFY(!f.book.addEntry(QDate(2026, 3, 1), "  ", "12"));
    QVERIFY(!f.book.addEntry(QDate(2026, 3, 1), "Salon", " "));
    QVERIFY(!f.flags.fileModified);
    QVERIFY(!f.flags.operationsChanged);
    for (int i = 0; i < 63; ++i)
        QVERIFY(f.book.addEntry(QDate(2026, 3, 1), "Salon", QByteArray::number(i)));
    QVERIFY(!f.book.addEntry(QDate(2026, 3, 1), "Salon", "64"));
    QCOMPARE(f.book.shown().entries.size(), 63);
}

void TstOperationBook::entryRemoval_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QList<QByteArray>>("left");
    QTest::newRow("first of three") << 3 << 0 << QList<QByteArray>{"2,00", "3,00"};
    QTest::newRow("middle of three") << 3 << 1 << QList<QByteArray>{"1,00", "3,00"};
    QList<QByteArray> sixtyTwo;
    for (int i = 1; i <= 62; ++i)
        sixtyTwo << QByteArray::number(i) + ",00";
    QTest::newRow("last of 63") << 63 << 62 << sixtyTwo;
    QTest::newRow("empty row below") << 3 << 5 << QList<QByteArray>{"1,00", "2,00", "3,00"};
}

void TstOperationBook::entryRemoval()
{
    QFETCH(int, entries);
    QFETCH(int, removed);
    QFETCH(QList<QByteArray>, left);
    Fixture f;
    for (int i = 1; i <= entries; ++i)
        f.book.addEntry(QDate(2026, 3, 1), "x", QByteArray::number(i));
    f.flags = BookFlags();
    const bool inside = removed < entries;
    QCOMPARE(f.book.removeEntry(removed), inside);
    QCOMPARE(f.flags.fileModified, inside);
    QCOMPARE(f.flags.operationsChanged, inside);
    QList<QByteArray> amounts;
    for (const OperationEntry& e : f.book.shown().entries)
        amounts << e.amount;
    QCOMPARE(amounts, left);
}

void TstOperationBook::everyEntryIsKept()
{
    Fixture f;
    BlockList tail;
    for (int i = 0; i < 70; ++i)
        tail << "DATA01/03/2026\tligne " + QByteArray::number(i) + "\t1,00";
    tail.insert(5, "DATA");     // shorter than any real entry
    tail.insert(9, "DATA\t\t"); // an empty row
    f.load(block(0, "10001", "", "A", tail));
    QCOMPARE(f.book.shown().entries.size(), 72);

    f.book.setText(operation::Summary, "B");
    f.book.EcritOperation();
    BlockList written;
    for (const QByteArray& line : f.book.list())
        if (line.startsWith("DATA"))
            written << line;
    // Each entry is written whole, with both tabs.
    tail[5] = "DATA\t\t";
    QCOMPARE(written, tail);
}

void TstOperationBook::costTypingIsKept()
{
    Fixture f;
    f.load(block(0, "10001", "", "A") + block(1, "10002", "", "B"));
    f.book.setText(operation::FixedCost, "12,5");
    QVERIFY(f.flags.operationsChanged);
    f.book.Suivant();
    f.book.Precedent();
    QCOMPARE(f.book.shown().fixed_cost, QByteArray("12,5"));
}

void TstOperationBook::costFieldPadding()
{
    Fixture f;
    const FixedPitch measure;
    // Padded while the text is at most 90 pixels wide: 13 characters of 7.
    QCOMPARE(OperationBook::formatCost(" 12,5", measure), QByteArray("        12,50"));
    QCOMPARE(OperationBook::formatCost("  ", measure), QByteArray());

    f.book.setText(operation::UnitCost, "3");
    f.flags = BookFlags();
    f.book.formatCostField(operation::UnitCost, measure);
    QCOMPARE(f.book.shown().unit_cost, QByteArray("         3,00"));
    QVERIFY(!f.flags.operationsChanged);
}

void TstOperationBook::fieldsStayOneLine()
{
    Fixture f;
    f.book.setText(operation::Summary, "deux\r\nlignes");
    f.book.setText(operation::Type, "</bloc0000>");
    f.book.setText(operation::Code, "<BLOC0001>");
    f.book.addEntry(QDate(2026, 3, 1), "a\tb", "5");
    f.book.EcritOperation();
    QCOMPARE(f.book.list().size(), 11);
    QCOMPARE(blocks::countHeaders(f.book.list()), 1);
    QVERIFY(!integrity::damaged(f.book.list(), 4));
    f.book.LitOperation();
    QCOMPARE(f.book.shown().summary, QByteArray("deux  lignes"));
    QCOMPARE(f.book.shown().op_type, QByteArray(" </bloc0000>"));
    QCOMPARE(f.book.shown().op_code, QByteArray(" <BLOC0001>"));
    QCOMPARE(f.book.shown().entries.value(0), (OperationEntry{"01/03/2026", "a b", "5,00"}));
}

void TstOperationBook::nextCode_data()
{
    QTest::addColumn<QList<QByteArray>>("codes");
    QTest::addColumn<int>("next");
    QTest::newRow("none") << QList<QByteArray>{} << 10001;
    QTest::newRow("letters ignored") << QList<QByteArray>{"10001", "10005", "ABC"} << 10006;
    QTest::newRow("floor") << QList<QByteArray>{"12", "", "9999"} << 10001;
}

void TstOperationBook::nextCode()
{
    QFETCH(QList<QByteArray>, codes);
    QFETCH(int, next);
    Fixture f;
    BlockList lines;
    for (int i = 0; i < codes.size(); ++i)
        lines << block(i, codes[i], "", "x");
    f.load(lines);
    QCOMPARE(f.book.Numero(), next);
    f.book.Ajout();
    QCOMPARE(f.book.shown().op_code, QByteArray::number(next));
}

void TstOperationBook::newOperationAndFullFile()
{
    Fixture f;
    BlockList lines;
    for (int i = 0; i < 9998; ++i)
        lines << blocks::header(i, 4) << blocks::trailer(i, 4);
    f.load(lines);
    f.book.goTo(9997);
    f.book.setText(operation::Summary, "avant");
    f.book.Ajout();
    QCOMPARE(f.book.current(), 9998);
    QCOMPARE(f.book.count(), 9999);
    QVERIFY(f.book.shown().summary.isEmpty());
    QVERIFY(!f.flags.operationsChanged);
    // The operation left was written back before the new one was shown, and
    // the new one has its block at once, behind it.
    const qsizetype left = blocks::find(f.book.list(), "<BLOC9997>");
    QCOMPARE(f.book.list().at(left + operation::Summary), QByteArray("avant"));
    QCOMPARE(f.book.list().at(f.book.list().size() - 12), QByteArray("</BLOC9997>"));
    QCOMPARE(f.book.list().last(), QByteArray("</BLOC9998>"));

    f.book.setText(operation::Summary, "dernier");
    const BlockList before = f.book.list();
    f.book.Ajout();
    QCOMPARE(f.prompter.texts("information"), QStringList{"Le fichier est plein"});
    QCOMPARE(f.book.count(), 9999);
    QCOMPARE(f.book.current(), 9998);
    QCOMPARE(f.book.list().last(), QByteArray("</BLOC9998>"));
    // The edit went into the block the add had written.
    QCOMPARE(f.book.list().size(), before.size());
    QCOMPARE(f.book.list().at(f.book.list().size() - 10 + operation::Summary),
             QByteArray("dernier"));
}

void TstOperationBook::lastWithOneOperationDoesNothing()
{
    Fixture f;
    f.load(block(0, "10001", "", "A"));
    f.book.setText(operation::Summary, "tapé");
    const BlockList before = f.book.list();
    f.book.Dernier();
    QCOMPARE(f.book.list(), before);
    QVERIFY(f.flags.operationsChanged);
    QCOMPARE(f.book.shown().summary, QByteArray("tapé"));
}

void TstOperationBook::plainMoves()
{
    Fixture f;
    f.load(block(0, "1", "", "A") + block(1, "2", "", "B") + block(2, "3", "", "C"));
    f.book.Precedent();
    QCOMPARE(f.book.current(), 0);
    f.book.Dernier();
    QCOMPARE(f.book.shown().summary, QByteArray("C"));
    f.book.Suivant();
    QCOMPARE(f.book.current(), 2);
    f.book.Precedent();
    QCOMPARE(f.book.shown().summary, QByteArray("B"));
    f.book.Premier();
    QCOMPARE(f.book.current(), 0);
    f.book.goTo(3);
    QCOMPARE(f.book.current(), 0);
}

void TstOperationBook::typeFilterMoves_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("reached");
    using D = blocks::Direction;
    QTest::newRow("first") << 3 << int(D::First) << 1;
    QTest::newRow("last") << 0 << int(D::Last) << 4;
    QTest::newRow("next") << 1 << int(D::Next) << 4;
    QTest::newRow("next from a miss") << 2 << int(D::Next) << 4;
    QTest::newRow("next at the end stays") << 4 << int(D::Next) << 4;
    QTest::newRow("previous") << 4 << int(D::Previous) << 1;
    QTest::newRow("previous at the start stays") << 1 << int(D::Previous) << 1;
}

void TstOperationBook::typeFilterMoves()
{
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(int, reached);
    Fixture f;
    // The blocks out of number order, as write backs leave them.
    f.load(block(4, "5", "mailing", "E") + block(0, "1", "Salon", "A") +
           block(1, "2", "Mailing", "B") + block(2, "3", "MAILING ", "C") +
           block(3, "4", "Mailing\xe9", "D"));
    f.book.SetOpr(operations::Selection::OneType);
    f.book.setTypeFilter("mailing");
    QCOMPARE(f.book.typeFilter(), QByteArray("MAILING"));
    f.book.goTo(from);
    switch (blocks::Direction(direction)) {
    case blocks::Direction::Previous:
        f.book.Precedent();
        break;
    case blocks::Direction::Next:
        f.book.Suivant();
        break;
    case blocks::Direction::First:
        f.book.Premier();
        break;
    case blocks::Direction::Last:
        f.book.Dernier();
        break;
    }
    QCOMPARE(f.book.current(), reached);
}

void TstOperationBook::deleteRenumbers()
{
    Fixture f;
    f.load(block(0, "1", "", "A") + block(1, "2", "", "B") + block(2, "3", "", "C"));
    f.book.Supprime();
    QCOMPARE(f.book.count(), 2);
    QCOMPARE(f.book.current(), 0);
    QCOMPARE(f.book.shown().summary, QByteArray("B"));
    QVERIFY(f.flags.fileModified);
    QCOMPARE(f.headers(), (QList<QByteArray>{"<BLOC0000>", "<BLOC0001>"}));
    QVERIFY(f.book.list().contains("</BLOC0001>"));
    QVERIFY(!f.book.list().contains("</BLOC0002>"));
    QCOMPARE(f.summaryOf(1), QByteArray("C"));

    // Deleting the last one moves back to the one before.
    f.book.Supprime();
    QCOMPARE(f.book.count(), 1);
    QCOMPARE(f.book.shown().summary, QByteArray("B"));
}

void TstOperationBook::loadSaveKeepsBytes()
{
    Fixture f;
    const QByteArray data =
        "<BLOC0001>\r\n10002\r\nMailing\r\nR\xe9sum\xe9 \xe0 l'ann\xe9"
        "e\r\n    12,50\r\n     3,00\r\n01/02/2026\r\n28/02/2026\r\nY\r\nMEM3\r\nMEM4x\r\n"
        "DATA01/02/2026\tSalon\t1500,00\r\n</BLOC0001>\r\n<BLOC0000>\r\n10001\r\n\r\n\r\n\r\n"
        "\r\n01/01/2026\r\n01/01/2026\r\nN\r\n</BLOC0000>\r\n \r\n";
    writeBytes(f.operationsPath(), data);
    f.book.load(f.contactPath());
    f.book.Dernier();
    f.book.Premier();
    QVERIFY(!f.flags.fileModified);
    f.book.save(f.contactPath());
    QCOMPARE(readBytes(f.operationsPath()), data);
}

void TstOperationBook::unbalancedFileIsRebuilt()
{
    Fixture f;
    f.load(block(0, "1", "", "A") + block(1, "2", "", "B", {"MEM3de B"}, false) +
           block(2, "3", "", "C", {"MEM3de C"}));
    QCOMPARE(f.prompter.texts("information"),
             QStringList{"Des fichiers ont été altérés\r\nVérifiez s'il n'y a pas eu perte "
                         "de données"});
    QCOMPARE(f.prompter.texts().size(), 1);
    QVERIFY(f.flags.fileModified);
    QVERIFY(!integrity::damaged(f.book.list(), 4));
    QVERIFY(f.book.count() >= 3);
    QCOMPARE(f.summaryOf(0), QByteArray("A"));
    QCOMPARE(f.summaryOf(1), QByteArray("B"));
    QVERIFY(f.book.shown().description.contains("de B"));
    QCOMPARE(f.summaryOf(2), QByteArray("C"));
    QCOMPARE(f.book.shown().description, QList<QByteArray>{"de C"});
}

void TstOperationBook::rebuildKeepsBlocksBehindAGap()
{
    Fixture f;
    // Numbers 0, 2, 3 (no 1), the last trailer lost.
    f.load(block(2, "3", "", "C") + block(0, "1", "", "A") + block(3, "4", "", "D", {}, false));
    QCOMPARE(f.prompter.texts("information").size(), 1);
    QCOMPARE(f.book.count(), 3);
    QVERIFY(!integrity::damaged(f.book.list(), 4));
    QCOMPARE(f.summaryOf(0), QByteArray("A"));
    QList<QByteArray> behind{f.summaryOf(1), f.summaryOf(2)};
    std::sort(behind.begin(), behind.end());
    QCOMPARE(behind, (QList<QByteArray>{"C", "D"}));
}

void TstOperationBook::duplicatesLoseNothing()
{
    Fixture f;
    f.load(block(0, "1", "", "A") + block(1, "2", "", "B") + block(1, "2", "", "B2") +
           block(2, "3", "", "C") + block(2, "3", "", "C"));
    QVERIFY(f.flags.fileModified);
    QCOMPARE(f.book.count(), 4);
    QList<QByteArray> summaries;
    for (int n = 0; n < f.book.count(); ++n)
        summaries << f.summaryOf(n);
    std::sort(summaries.begin(), summaries.end());
    QCOMPARE(summaries, (QList<QByteArray>{"A", "B", "B2", "C"}));
    QCOMPARE(blocks::countHeaders(f.book.list()), 4);
}

void TstOperationBook::completeFileLoadsSilently()
{
    Fixture f;
    f.load(block(1, "2", "", "B") + block(0, "1", "", "A"));
    QVERIFY(f.prompter.asked.isEmpty());
    QVERIFY(!f.flags.fileModified);
    QCOMPARE(f.book.count(), 2);
    QCOMPARE(f.book.shown().summary, QByteArray("A"));
}

QTEST_GUILESS_MAIN(TstOperationBook)
#include "tst_operation_book.moc"
