#include "contacts/contact_book.h"
#include "operations/operation_book.h"
#include "storage/block_list.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

// The record book skeleton, run over both record kinds: every test function
// takes the kind as a data column and runs the same steps on a ContactBook or
// an OperationBook. Each kind says how a test edits one text field of its
// records and where its file lies.
namespace {

struct Contacts
{
    using Book = ContactBook;
    using Codec = ContactCodec;
    static constexpr int TextLine = contact::Name;
    static QByteArray text(const ContactRecord& r) { return r.name; }
    static void setText(ContactRecord& r, const QByteArray& v) { r.name = v; }
    static void edit(Book& b, const QByteArray& v) { b.setText(contact::Name, v); }
    static QString file(const QString& contactPath) { return contactPath; }
};

struct Operations
{
    using Book = OperationBook;
    using Codec = OperationCodec;
    static constexpr int TextLine = operation::Summary;
    static QByteArray text(const OperationRecord& r) { return r.summary; }
    static void setText(OperationRecord& r, const QByteArray& v) { r.summary = v; }
    static void edit(Book& b, const QByteArray& v) { b.setText(operation::Summary, v); }
    static QString file(const QString& contactPath) { return OperationBook::pathFor(contactPath); }
};

template <typename Kind> struct Fixture
{
    using KindType = Kind;
    using Record = typename Kind::Codec::Record;

    QTemporaryDir dir;
    BookFlags flags;
    FixedClock clock;
    ScriptedPrompter prompter;
    typename Kind::Book book{flags, clock, prompter};

    QString contactPath() const { return dir.filePath(QStringLiteral("clients.ctc")); }

    // Records numbered 0, 1, ... with these texts and codes 10001, 10002, ...
    static BlockList fileOf(const QList<QByteArray>& texts, const QList<int>& numbers = {})
    {
        BlockList lines;
        for (int i = 0; i < texts.size(); ++i) {
            // The dates a read presets, so that a block written back unchanged
            // reads the same.
            Record r = Kind::Codec::blank(FixedClock());
            Kind::setText(r, texts.at(i));
            Kind::Codec::code(r) = QByteArray::number(10001 + i);
            lines << Kind::Codec::lines(r, numbers.isEmpty() ? i : numbers.at(i));
        }
        return lines;
    }
    void load(const BlockList& lines)
    {
        writeBytes(Kind::file(contactPath()), blocks::joinLines(lines));
        book.load(contactPath());
    }
    void save() { book.save(contactPath()); }

    bool& changed() { return flags.*(Kind::Codec::Rules.changed); }
    QByteArray shownText() const { return Kind::text(book.shown()); }
    QByteArray shownCode() const
    {
        Record r = book.shown();
        return Kind::Codec::code(r);
    }
    // The text stored in block `n`, or "-" when it has none.
    QByteArray stored(int n) const { return storedLine(n, Kind::TextLine); }
    QByteArray storedCode(int n) const { return storedLine(n, 1); }
    QByteArray storedLine(int n, int offset) const
    {
        const qsizetype at =
            blocks::find(book.list(), blocks::header(n, Kind::Codec::Rules.digits));
        return at < 0 ? QByteArray("-") : book.list().at(at + offset);
    }
    QList<QByteArray> headers() const
    {
        QList<QByteArray> r;
        for (const QByteArray& line : book.list())
            if (blocks::isHeader(line))
                r << line.mid(5, Kind::Codec::Rules.digits);
        return r;
    }
};

enum Kind { ContactKind, OperationKind };

// Runs `test` with the fixture of the row's kind.
template <typename Test> void forKind(int kind, Test&& test)
{
    if (kind == ContactKind) {
        Fixture<Contacts> f;
        test(f);
    } else {
        Fixture<Operations> f;
        test(f);
    }
}

void addKindRows()
{
    QTest::newRow("contacts") << int(ContactKind);
    QTest::newRow("operations") << int(OperationKind);
}

} // namespace

class TstBlockBook : public QObject
{
    Q_OBJECT
private slots:
    void addWritesTheBlockAtOnce_data() { kindColumn(); }
    void addWritesTheBlockAtOnce();
    void addStopsAtAFullFile_data() { kindColumn(); }
    void addStopsAtAFullFile();
    void writeBackClearsTheChangedFlag_data() { kindColumn(); }
    void writeBackClearsTheChangedFlag();
    void pendingEditStaysWithItsRecord_data();
    void pendingEditStaysWithItsRecord();
    void plainMoves_data();
    void plainMoves();
    void deleteRenumbersAndClamps_data() { kindColumn(); }
    void deleteRenumbersAndClamps();
    void loadClosesGapsAndDropsTheOldFile_data() { kindColumn(); }
    void loadClosesGapsAndDropsTheOldFile();
    void saveWritesTheShownRecord_data() { kindColumn(); }
    void saveWritesTheShownRecord();

    // Where the two kinds differ, one rule each.
    void writePlace();
    void moveGuard_data();
    void moveGuard();
    void codeWithoutBlock_data() { kindColumn(); }
    void codeWithoutBlock();

private:
    static void kindColumn()
    {
        QTest::addColumn<int>("kind");
        addKindRows();
    }
};

void TstBlockBook::addWritesTheBlockAtOnce()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        f.load(f.fileOf({"A", "B", "C"}));
        f.book.Ajout();
        f.book.Ajout();
        QCOMPARE(f.book.count(), 5);
        QCOMPARE(f.book.current(), 4);
        QVERIFY(!f.changed());
        QVERIFY(f.flags.fileModified);
        // Both new records have their blocks, each with a code of its own,
        // though neither was edited: a reload finds all five.
        QCOMPARE(f.storedCode(3), QByteArray("10004"));
        QCOMPARE(f.storedCode(4), QByteArray("10005"));
        f.save();
        f.flags = BookFlags();
        f.book.load(f.contactPath());
        QCOMPARE(f.book.count(), 5);
        QVERIFY(!f.flags.fileModified);
    });
}

void TstBlockBook::addStopsAtAFullFile()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        const int digits = std::decay_t<decltype(f.book)>::Rules.digits;
        BlockList lines;
        for (int i = 0; i < 9998; ++i)
            lines << blocks::header(i, digits) << blocks::trailer(i, digits);
        f.load(lines);
        f.book.Ajout(); // the last number there is, 9998
        QCOMPARE(f.book.count(), 9999);
        QCOMPARE(f.stored(9998), QByteArray());
        const BlockList before = f.book.list();
        f.book.Ajout();
        QCOMPARE(f.prompter.texts("information"), QStringList{"Le fichier est plein"});
        QCOMPARE(f.book.count(), 9999);
        QCOMPARE(f.book.current(), 9998);
        QCOMPARE(f.book.list(), before);
    });
}

void TstBlockBook::writeBackClearsTheChangedFlag()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        f.load(f.fileOf({"A", "B"}));
        QVERIFY(!f.flags.fileModified);
        const BlockList before = f.book.list();
        f.book.writeBack(); // nothing edited: nothing written
        QVERIFY(!f.flags.fileModified);
        QCOMPARE(f.book.list(), before);

        std::decay_t<decltype(f)>::KindType::edit(f.book, "A2");
        QVERIFY(f.changed());
        f.book.writeBack();
        QVERIFY(!f.changed());
        QVERIFY(f.flags.fileModified);
        QCOMPARE(f.stored(0), QByteArray("A2"));
    });
}

void TstBlockBook::pendingEditStaysWithItsRecord_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("command");
    const char* commands[] = {"next", "go to", "move to", "add", "load"};
    for (int c = 0; c < 5; ++c)
        for (int kind : {int(ContactKind), int(OperationKind)})
            QTest::addRow("%s, %s", kind == ContactKind ? "contacts" : "operations", commands[c])
                << kind << c;
}

// Whatever changes the current number, an edit goes to the block it was made
// on and to no other; a load drops it with the file it belongs to.
void TstBlockBook::pendingEditStaysWithItsRecord()
{
    QFETCH(int, kind);
    QFETCH(int, command);
    forKind(kind, [command](auto& f) {
        using K = typename std::decay_t<decltype(f)>::KindType;
        f.load(f.fileOf({"A", "B", "C"}));
        K::edit(f.book, "Alpha");
        switch (command) {
        case 0:
            f.book.move(blocks::Direction::Next);
            break;
        case 1:
            f.book.goTo(2);
            break;
        case 2:
            f.book.moveTo(0); // a filter that stays: the record is read again
            break;
        case 3:
            f.book.Ajout();
            break;
        case 4:
            f.book.load(f.contactPath());
            break;
        }
        QCOMPARE(f.stored(0), QByteArray(command == 4 ? "A" : "Alpha"));
        QCOMPARE(f.stored(1), QByteArray("B"));
        QCOMPARE(f.stored(2), QByteArray("C"));
        QVERIFY(!f.changed());
        QCOMPARE(f.flags.fileModified, command != 4);
    });
}

void TstBlockBook::plainMoves_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("reached");
    using D = blocks::Direction;
    const struct
    {
        const char* name;
        int from;
        D direction;
        int reached;
    } rows[] = {
        {"previous", 2, D::Previous, 1}, {"previous at 0 stays", 0, D::Previous, 0},
        {"next", 0, D::Next, 1},         {"next at the end stays", 2, D::Next, 2},
        {"first", 2, D::First, 0},       {"last", 0, D::Last, 2},
    };
    for (const auto& row : rows)
        for (int kind : {int(ContactKind), int(OperationKind)})
            QTest::addRow("%s, %s", kind == ContactKind ? "contacts" : "operations", row.name)
                << kind << row.from << int(row.direction) << row.reached;
}

void TstBlockBook::plainMoves()
{
    QFETCH(int, kind);
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(int, reached);
    forKind(kind, [&](auto& f) {
        const QList<QByteArray> texts{"A", "B", "C"};
        f.load(f.fileOf(texts));
        f.book.goTo(from);
        f.book.move(blocks::Direction(direction));
        QCOMPARE(f.book.current(), reached);
        QCOMPARE(f.shownText(), texts.at(reached));
        // Out of range: nothing moves.
        f.book.goTo(3);
        f.book.goTo(-1);
        QCOMPARE(f.book.current(), reached);
    });
}

void TstBlockBook::deleteRenumbersAndClamps()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        using K = typename std::decay_t<decltype(f)>::KindType;
        f.load(f.fileOf({"A", "B", "C"}));
        f.book.goTo(1);
        K::edit(f.book, "edited, then deleted");
        f.book.Supprime();
        QCOMPARE(f.book.count(), 2);
        QCOMPARE(f.book.current(), 1);
        QCOMPARE(f.shownText(), QByteArray("C"));
        QCOMPARE(f.stored(0), QByteArray("A"));
        QCOMPARE(f.stored(1), QByteArray("C"));
        QCOMPARE(f.stored(2), QByteArray("-"));
        QVERIFY(f.flags.fileModified);
        QVERIFY(!f.changed());

        // The last record deleted: the number before it is shown.
        f.book.Supprime();
        QCOMPARE(f.book.current(), 0);
        QCOMPARE(f.shownText(), QByteArray("A"));
        // The only record deleted: one blank record is left.
        f.book.Supprime();
        QCOMPARE(f.book.count(), 1);
        QCOMPARE(f.book.current(), 0);
        QVERIFY(f.shownText().isEmpty());
        QVERIFY(f.headers().isEmpty());
    });
}

void TstBlockBook::loadClosesGapsAndDropsTheOldFile()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        // Numbers 0, 2 and 5: the records behind the gaps stay reachable.
        f.load(f.fileOf({"A", "C", "F"}, {0, 2, 5}));
        QCOMPARE(f.book.count(), 3);
        QVERIFY(f.flags.fileModified);
        QCOMPARE(f.stored(1), QByteArray("C"));
        QCOMPARE(f.stored(2), QByteArray("F"));
        f.book.move(blocks::Direction::Last);
        QCOMPARE(f.shownText(), QByteArray("F"));

        // A file that is fine loads unmodified, record 0 shown; nothing of the
        // list before stays.
        f.flags = BookFlags();
        f.load(f.fileOf({"X"}));
        QCOMPARE(f.book.count(), 1);
        QCOMPARE(f.book.current(), 0);
        QCOMPARE(f.shownText(), QByteArray("X"));
        QCOMPARE(f.headers().size(), 1);
        QVERIFY(!f.flags.fileModified);
        QVERIFY(f.prompter.asked.isEmpty());
    });
}

void TstBlockBook::saveWritesTheShownRecord()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        using K = typename std::decay_t<decltype(f)>::KindType;
        const QString file = K::file(f.contactPath());
        // Leading blank lines go; the rest is written as it was read.
        const BlockList lines = BlockList{"", " "} + f.fileOf({"A", "B"});
        f.load(lines);
        K::edit(f.book, "A2");
        f.save();
        BlockList expected = f.fileOf({"A2", "B"});
        if (K::Codec::Rules.writePlace == WritePlace::AtEnd) {
            const qsizetype half = expected.size() / 2;
            expected = expected.mid(half) + expected.mid(0, half);
        }
        QCOMPARE(blocks::splitLines(readBytes(file)), expected);
        QVERIFY(!f.changed());
    });
}

void TstBlockBook::writePlace()
{
    // The contact file keeps its order; a rewritten operation moves to the end.
    Fixture<Contacts> c;
    c.load(c.fileOf({"A", "B", "C"}));
    Contacts::edit(c.book, "A2");
    c.book.writeBack();
    QCOMPARE(c.headers(), (QList<QByteArray>{"00000", "00001", "00002"}));

    Fixture<Operations> o;
    o.load(o.fileOf({"A", "B", "C"}));
    Operations::edit(o.book, "A2");
    o.book.writeBack();
    QCOMPARE(o.headers(), (QList<QByteArray>{"0001", "0002", "0000"}));
}

void TstBlockBook::moveGuard_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("runs");
    using D = blocks::Direction;
    QTest::newRow("contacts, next") << int(ContactKind) << int(D::Next) << false;
    QTest::newRow("contacts, last") << int(ContactKind) << int(D::Last) << false;
    QTest::newRow("contacts, first") << int(ContactKind) << int(D::First) << true;
    QTest::newRow("operations, next") << int(OperationKind) << int(D::Next) << true;
    QTest::newRow("operations, last") << int(OperationKind) << int(D::Last) << false;
    QTest::newRow("operations, previous") << int(OperationKind) << int(D::Previous) << true;
}

// With a single record, a guarded move does nothing at all, not even the
// write back; the others write back and read the record again.
void TstBlockBook::moveGuard()
{
    QFETCH(int, kind);
    QFETCH(int, direction);
    QFETCH(bool, runs);
    forKind(kind, [&](auto& f) {
        using K = typename std::decay_t<decltype(f)>::KindType;
        f.load(f.fileOf({"A"}));
        K::edit(f.book, "typed");
        // Typing in a contact marks its file at once; only the write back counts here.
        f.flags.fileModified = false;
        f.book.move(blocks::Direction(direction));
        QCOMPARE(f.changed(), !runs);
        QCOMPARE(f.flags.fileModified, runs);
        QCOMPARE(f.stored(0), QByteArray(runs ? "typed" : "A"));
        QCOMPARE(f.shownText(), QByteArray("typed"));
    });
}

void TstBlockBook::codeWithoutBlock()
{
    QFETCH(int, kind);
    forKind(kind, [](auto& f) {
        using K = typename std::decay_t<decltype(f)>::KindType;
        f.load(f.fileOf({"A", "B"}));
        f.book.clear();
        QCOMPARE(f.book.count(), 1);
        QVERIFY(f.book.list().isEmpty());
        // A number without a block: only the operations page offers a code.
        QCOMPARE(f.shownCode(),
                 K::Codec::Rules.codeWithoutBlock ? QByteArray("10001") : QByteArray());
        // Once added, a record has its code whatever the kind.
        f.book.Ajout();
        QCOMPARE(f.shownCode(), QByteArray("10001"));
    });
}

QTEST_GUILESS_MAIN(TstBlockBook)
#include "tst_block_book.moc"
