#include "storage/block_list.h"
#include "storage/line_store.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tarvik;

namespace {

// The lines as a plain list, split the simple way, for comparison.
QList<QByteArray> referenceSplit(const QByteArray& data)
{
    QList<QByteArray> lines;
    QByteArray line;
    bool open = false;
    for (qsizetype i = 0; i < data.size() && data.at(i) != '\0'; ++i) {
        const char c = data.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < data.size() && data.at(i + 1) == '\n')
                ++i;
        } else {
            line.append(c);
            open = true;
        }
    }
    if (open)
        lines.append(line);
    return lines;
}

QByteArray crlfJoined(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + "\r\n";
    return out;
}

QList<qsizetype> markersOf(const QList<QByteArray>& lines)
{
    QList<qsizetype> out;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith('<'))
            out.append(i);
    return out;
}

// Every way of reading the store agrees with the plain list.
void checkSame(const LineStore& store, const QList<QByteArray>& model)
{
    QCOMPARE(store.size(), model.size());
    for (qsizetype i = 0; i < model.size(); ++i)
        QCOMPARE(store.view(i), QByteArrayView(model.at(i)));
    QCOMPARE(store.markerLines(), markersOf(model));
    QCOMPARE(store.joined(), crlfJoined(model));
    QVERIFY(store == model);
}

QByteArray allBytes()
{
    // Every byte but the line ends and NUL, 0x80-0x9F included.
    QByteArray b;
    for (int c = 1; c < 256; ++c)
        if (c != '\r' && c != '\n')
            b += char(c);
    return b;
}

} // namespace

class TstLineStore : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void savedByteForByte();
    void editsMatchAPlainList();
    void longLines();
    void copiesStayApart();
    void nulInsideALine();
    void editsDoNotGrowWithoutEnd();
    void sharedLinesTakenOver();
    void everyEditChangesTheVersion_data();
    void everyEditChangesTheVersion();
    void unsharedCopyReusesItsTable();
};

void TstLineStore::load_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("crlf") << QByteArray("<BLOC00000>\r\n10001\r\n</BLOC00000>\r\n");
    QTest::newRow("no final line end") << QByteArray("a\r\nb");
    QTest::newRow("lone cr") << QByteArray("a\rb\r\rc");
    QTest::newRow("lone lf") << QByteArray("a\nb\n\nc\n");
    QTest::newRow("cr at the very end") << QByteArray("a\r\nb\r");
    QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb");
    QTest::newRow("nul ends the text") << QByteArray("a\r\nb\0c\r\n", 9);
    QTest::newRow("nul first") << QByteArray("\0a\r\n", 4);
    QTest::newRow("cr before nul, lf after") << QByteArray("a\r\0\nb", 5);
    QTest::newRow("only line ends") << QByteArray("\r\n\n\r");
    QTest::newRow("every byte") << allBytes() + "\r\n" + allBytes();
    // Longer than the sixteen bytes scanned at a time, line ends at every
    // place of such a group; long enough that the count of line ends goes
    // past the 255 groups counted at a time.
    QByteArray mixed;
    for (int i = 0; i < 2000; ++i)
        mixed += QByteArray(i % 19, char('A' + i % 26)) + (i % 3 == 0 ? "\r\n"
                                                           : i % 3    ? "\n"
                                                                      : "\r");
    QTest::newRow("long mixed") << mixed;
}

void TstLineStore::load()
{
    QFETCH(QByteArray, data);
    const LineStore store = LineStore::fromBytes(data);
    checkSame(store, referenceSplit(data));
}

void TstLineStore::savedByteForByte()
{
    // A file of CR LF lines, accented bytes and all, loaded and saved as it is.
    const QByteArray data = "<BLOC00000>\r\n10001\r\n" + allBytes() +
                            "\r\n\r\n \r\nCh\xE9ri \x80 \x9C\r\n</BLOC00000>\r\n";
    QTemporaryDir dir;
    const QString in = dir.filePath("in.ctc");
    const QString out = dir.filePath("out.ctc");
    QFile f(in);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    BlockList list = blocks::loadFile(in);
    blocks::saveFile(out, list);
    QFile g(out);
    QVERIFY(g.open(QIODevice::ReadOnly));
    QCOMPARE(g.readAll(), data);
    g.close();

    // Edited lines are saved among the others in their places.
    list.replace(1, "10002");
    list.insert(3, "<inserted>");
    list.remove(5);
    list.append("fin");
    blocks::saveFile(out, list);
    QVERIFY(g.open(QIODevice::ReadOnly));
    QCOMPARE(g.readAll(), crlfJoined(list.toList()));
}

void TstLineStore::editsMatchAPlainList()
{
    // Random edits at the start, in the middle and at the end, of lines of
    // the loaded buffer and of lines written later, enough of them to fill
    // several chunks of the side arena.
    QByteArray data;
    for (int i = 0; i < 300; ++i)
        data +=
            (i % 7 == 0 ? "<BLOC" + QByteArray::number(i) + ">" : "line " + QByteArray::number(i)) +
            "\r\n";
    LineStore store = LineStore::fromBytes(data);
    QList<QByteArray> model = referenceSplit(data);
    QRandomGenerator g(42);
    auto someLine = [&g] {
        const int n = int(g.bounded(300));
        QByteArray l(n, char('a' + g.bounded(26)));
        if (n > 0 && g.bounded(4) == 0)
            l[0] = '<';
        return l;
    };
    auto somePlace = [&g](qsizetype size, bool inside) {
        if (size == 0)
            return qsizetype(0);
        switch (g.bounded(3)) {
        case 0:
            return qsizetype(0);
        case 1:
            return inside ? size - 1 : size;
        default:
            return qsizetype(g.bounded(int(size)));
        }
    };
    for (int step = 0; step < 2000; ++step) {
        const int op = int(g.bounded(6));
        if (model.isEmpty() && op != 1 && op != 4)
            continue;
        if (op == 0) {
            const qsizetype i = somePlace(model.size(), true);
            const QByteArray l = someLine();
            store.replace(i, l);
            model.replace(i, l);
        } else if (op == 1) {
            const qsizetype i = somePlace(model.size(), false);
            const QByteArray l = someLine();
            store.insert(i, l);
            model.insert(i, l);
        } else if (op == 2) {
            const qsizetype i = somePlace(model.size(), true);
            const qsizetype n = std::min<qsizetype>(model.size() - i, g.bounded(4));
            store.remove(i, n);
            model.remove(i, n);
        } else if (op == 3) {
            const qsizetype i = somePlace(model.size(), true);
            const qsizetype j = somePlace(model.size(), true);
            store[i].swap(store[j]);
            model.swapItemsAt(i, j);
        } else if (op == 4) {
            const QByteArray l = someLine();
            store << l;
            model << l;
        } else {
            // A part of the store put back into it, shared or not.
            const qsizetype i = somePlace(model.size(), true);
            const qsizetype n = std::min<qsizetype>(model.size() - i, g.bounded(5));
            const qsizetype at = somePlace(model.size(), false);
            const LineStore part = store.mid(i, n);
            store.insert(at, part);
            const QList<QByteArray> copied = model.mid(i, n);
            for (qsizetype k = 0; k < copied.size(); ++k)
                model.insert(at + k, copied.at(k));
        }
        if (step % 100 == 0)
            checkSame(store, model);
    }
    QVERIFY(store.bufferBytes() > 3 * 64 * 1024);
    checkSame(store, model);
}

void TstLineStore::longLines()
{
    // Longer than a chunk of the arena, and longer than a length the table
    // of lines holds in place.
    const QByteArray chunkLong(100 * 1024, 'x');
    QByteArray huge(17 * 1024 * 1024, 'y');
    huge[0] = '<';
    huge[huge.size() - 1] = '\x9F';
    const QByteArray data = "a\r\n" + huge + "\r\nb\r\n";
    LineStore store = LineStore::fromBytes(data);
    QList<QByteArray> model = referenceSplit(data);
    store.append(chunkLong);
    model.append(chunkLong);
    store.insert(0, huge);
    model.insert(0, huge);
    store.append("c");
    model.append("c");
    checkSame(store, model);
    const LineStore part = store.mid(1, 3);
    QCOMPARE(part.at(1), huge);
    LineStore shared = store.sharingBytes();
    shared.appendFrom(store, 0, store.size());
    checkSame(shared, model);
}

void TstLineStore::copiesStayApart()
{
    LineStore a{"one", "two"};
    LineStore b = a;
    // Both add behind the same last chunk: neither may write over the other.
    a.append("from a");
    b.append("from b");
    b.replace(0, "<b0>");
    checkSame(a, {"one", "two", "from a"});
    checkSame(b, {"<b0>", "two", "from b"});
    LineStore c = LineStore::fromBytes("x\r\ny\r\n");
    const LineStore d = c;
    c.replace(1, "z");
    c.remove(0);
    checkSame(d, {"x", "y"});
    checkSame(c, {"z"});
}

void TstLineStore::nulInsideALine()
{
    // A NUL byte ends the text of a file, but a line given with one keeps it.
    const QByteArray withNul("a\0b", 3);
    LineStore store = LineStore::fromBytes("x\r\ny");
    store.replace(0, withNul);
    store.append(QByteArray("\0", 1));
    checkSame(store, {withNul, "y", QByteArray("\0", 1)});
}

void TstLineStore::editsDoNotGrowWithoutEnd()
{
    QByteArray data;
    for (int i = 0; i < 10000; ++i)
        data += "<BLOC" + QByteArray::number(i).rightJustified(5, '0') + "> and a field\r\n";
    LineStore store = LineStore::fromBytes(data);
    QList<QByteArray> model = referenceSplit(data);
    for (int round = 0; round < 40; ++round)
        for (qsizetype i = 0; i < store.size(); ++i) {
            const QByteArray l =
                "<BLOC" + QByteArray::number(round) + "> line " + QByteArray::number(i);
            store.replace(i, l);
            model[i] = l;
        }
    checkSame(store, model);
    // What was replaced is given back: the buffers stay within a few times the
    // bytes of the lines and a megabyte or two, not the forty rounds' worth.
    QVERIFY2(store.bufferBytes() < 3 * store.joined().size() + 2 * 1024 * 1024,
             QByteArray::number(store.bufferBytes()).constData());
}

void TstLineStore::sharedLinesTakenOver()
{
    LineStore source = LineStore::fromBytes("<h>\r\nbody\r\n</h>\r\nrest\r\n");
    LineStore out = source.sharingBytes();
    out.append("<new>");
    out.appendFrom(source, 1, 3);
    out.appendFrom(source, 0, 1);
    checkSame(out, {"<new>", "body", "</h>", "rest", "<h>"});
    // The source changed afterwards leaves what was taken over as it was.
    source.replace(1, "changed");
    source.clear();
    checkSame(out, {"<new>", "body", "</h>", "rest", "<h>"});
    // From a store that shares nothing, the bytes are copied.
    LineStore other{"<x>", "y"};
    out.appendFrom(other, 0, 2);
    other.replace(0, "z");
    checkSame(out, {"<new>", "body", "</h>", "rest", "<h>", "<x>", "y"});
}

using Edit = std::function<void(LineStore&)>;

void TstLineStore::everyEditChangesTheVersion_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::newRow("replace") << Edit([](LineStore& s) { s.replace(1, "x"); });
    QTest::newRow("assign through []") << Edit([](LineStore& s) { s[0] = "<y>"; });
    QTest::newRow("insert") << Edit([](LineStore& s) { s.insert(1, "z"); });
    QTest::newRow("insert lines") << Edit([](LineStore& s) { s.insert(0, LineStore{"a", "b"}); });
    QTest::newRow("append") << Edit([](LineStore& s) { s << "tail"; });
    QTest::newRow("remove") << Edit([](LineStore& s) { s.remove(0, 2); });
    QTest::newRow("take") << Edit([](LineStore& s) { s.takeLast(); });
    QTest::newRow("swap") << Edit([](LineStore& s) { s.swapItemsAt(0, 2); });
    QTest::newRow("move") << Edit([](LineStore& s) { s.move(2, 0); });
    QTest::newRow("remove all") << Edit([](LineStore& s) { s.removeAll("body"); });
    QTest::newRow("clear") << Edit([](LineStore& s) { s.clear(); });
    QTest::newRow("taken over") << Edit([](LineStore& s) { s.appendFrom(s.mid(0, 1), 0, 1); });
}

void TstLineStore::everyEditChangesTheVersion()
{
    QFETCH(Edit, edit);
    // A copy, an unshared copy and the original agree until one is edited;
    // then the edited one tells so, whichever it is.
    const LineStore original = LineStore::fromBytes("<h>\r\nbody\r\n</h>\r\n");
    LineStore copy = original;
    LineStore own;
    own.assignUnshared(original);
    QCOMPARE(copy.version(), original.version());
    QCOMPARE(own.version(), original.version());
    edit(copy);
    edit(own);
    QVERIFY(copy.version() != original.version());
    QVERIFY(own.version() != original.version());
    checkSame(original, {"<h>", "body", "</h>"});
    QCOMPARE(own, copy);
    // Two stores of the same lines made apart are not taken for copies: only
    // a version that says "same" is trusted, never one that says "changed".
    QVERIFY(LineStore::fromBytes("a\r\n").version() != LineStore::fromBytes("a\r\n").version());
    QVERIFY(original.mid(0, 1).version() != original.mid(0, 1).version());
}

void TstLineStore::unsharedCopyReusesItsTable()
{
    QByteArray data;
    for (int i = 0; i < 2000; ++i)
        data += (i % 5 == 0 ? "<BLOC" : "field ") + QByteArray::number(i) + "\r\n";
    LineStore book = LineStore::fromBytes(data);
    QList<QByteArray> model = referenceSplit(data);
    LineStore copy;
    copy.assignUnshared(book);
    checkSame(copy, model);
    // Neither shares its table with the other: an edit of one leaves the
    // other's table where it was, and the other's lines as they were.
    const void* bookTable = book.constData();
    const void* copyTable = copy.constData();
    QVERIFY(bookTable != copyTable);
    book.replace(3, "<changed>");
    book.insert(10, "added");
    copy.replace(0, "mine");
    QCOMPARE(copy.constData(), copyTable);
    QList<QByteArray> copyModel = model;
    copyModel[0] = "mine";
    checkSame(copy, copyModel);
    model[3] = "<changed>";
    model.insert(10, "added");
    checkSame(book, model);
    // A later copy goes into the same table, a smaller one too, and lets go
    // of the bytes it shared.
    copy.assignUnshared(book);
    QCOMPARE(copy.constData(), copyTable);
    checkSame(copy, model);
    copy.assignUnshared(book.mid(100, 20));
    QCOMPARE(copy.constData(), copyTable);
    checkSame(copy, model.mid(100, 20));
    copy.assignUnshared(LineStore());
    QVERIFY(copy.isEmpty());
    QCOMPARE(copy.bufferBytes(), 0);
    // A copy of a shared table takes one of its own.
    LineStore shared = book;
    shared.assignUnshared(book);
    QVERIFY(shared.constData() != book.constData());
    checkSame(shared, model);
}

QTEST_GUILESS_MAIN(TstLineStore)
#include "tst_line_store.moc"
