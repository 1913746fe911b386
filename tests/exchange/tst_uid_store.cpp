// The contacts' stable identifiers: kept beside the contact file, and never
// handed to another contact by a sort, a renumbering or a deletion.
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "exchange/uid_store.h"
#include "selection/sort.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;
using exchange::UidStore;

class TstUidStore : public QObject
{
    Q_OBJECT
private slots:
    void companionPath_data();
    void companionPath();
    void givenOnceThenKept();
    void sharedCodesTakeLinesInFileOrder();
    void sortAndDeletionKeepIdentities();
    void savedWithTheContactFile();
    void writtenAgainAfterEveryChange();
};

static BlockList contacts(const QList<QPair<QByteArray, QByteArray>>& codeAndName)
{
    BlockList list;
    int n = 0;
    for (const auto& [code, name] : codeAndName) {
        ContactRecord r;
        r.code = code;
        r.name = name;
        list << contact::blockLines(r, n++);
    }
    return list;
}

void TstUidStore::companionPath_data()
{
    QTest::addColumn<QString>("contact");
    QTest::addColumn<QString>("companion");
    QTest::newRow("ctc") << "/d/Clients.ctc"
                         << "/d/Clients.uid";
    QTest::newRow("capitals") << "/d/CLIENTS.CTC"
                              << "/d/CLIENTS.uid";
    QTest::newRow("no extension") << "/d.x/clients"
                                  << "/d.x/clients.uid";
    QTest::newRow("dot file") << "/d/.ctc"
                              << "/d/.ctc.uid";
}

void TstUidStore::companionPath()
{
    QFETCH(QString, contact);
    QFETCH(QString, companion);
    QCOMPARE(UidStore::companionPath(contact), companion);
}

void TstUidStore::givenOnceThenKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ctc");
    const BlockList list = contacts({{"10001", "A"}, {"10002", "B"}});
    UidStore store;
    QVERIFY(store.load(path).isEmpty());
    QVERIFY(!store.hadFile());
    const QList<QByteArray> first = store.assign(list);
    QCOMPARE(first.size(), 2);
    QVERIFY(first[0].startsWith("urn:uuid:"));
    QVERIFY(first[0] != first[1]);
    QCOMPARE(store.assign(list), first);
    QCOMPARE(store.uidAt(list, blocks::find(list, blocks::header(1, 5))), first[1]);
    store.save(path, list);
    QCOMPARE(readBytes(UidStore::companionPath(path)),
             "10001\t" + first[0] + "\r\n10002\t" + first[1] + "\r\n");

    UidStore again;
    QVERIFY(again.load(path).isEmpty());
    QVERIFY(again.hadFile());
    QCOMPARE(again.assign(list), first);
}

void TstUidStore::sharedCodesTakeLinesInFileOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ctc");
    writeBytes(UidStore::companionPath(path),
               "10001\tu-first\r\nsans tabulation\r\n10005\tu-other\r\n10001\tu-second\r\n");
    UidStore store;
    QCOMPARE(store.load(path).size(), 1); // the line without a tab is told
    const BlockList list = contacts({{"10001", "A"}, {"10005", "E"}, {"10001", "B"}, {"", "C"}});
    const QList<QByteArray> uids = store.assign(list);
    QCOMPARE(uids.mid(0, 3), (QList<QByteArray>{"u-first", "u-other", "u-second"}));
    QVERIFY(uids[3].startsWith("urn:uuid:"));

    // An imported card's identifier is kept, cleaned of anything that would
    // break the companion's lines.
    QVERIFY(store.setUid("", "card\tuid\n"));
    QCOMPARE(store.assign(list)[3], QByteArray("card uid"));
    // ... but never twice, nor one another record has
    QVERIFY(!store.setUid("10009", "card uid"));
    QVERIFY(!store.setUid("10009", "u-other"));
}

void TstUidStore::sortAndDeletionKeepIdentities()
{
    FixedClock clock;
    ScriptedPrompter prompter;
    RecordBook book(prompter, clock);
    // Two records share a code (an edited code), so the code alone cannot
    // tell them apart.
    book.loadContacts(contacts({{"10001", "ZORRO"}, {"10002", "MIDDLE"}, {"10001", "ALPHA"}}));
    auto byName = [&book] {
        QHash<QByteArray, QByteArray> m;
        const QList<QByteArray> uids = book.uids().assign(book.contacts());
        const blocks::BlockIndex index(book.contacts(), blocks::ContactDigits);
        for (int i = 0; i < uids.size(); ++i)
            m[contact::field(book.contacts(), index.inListOrder()[i].first, contact::Name)] =
                uids[i];
        return m;
    };
    const auto before = byName();
    book.Trier(sorting::ByName); // ALPHA now comes before ZORRO
    QCOMPARE(contact::field(book.contacts(), 0, contact::Name), QByteArray("ALPHA"));
    QCOMPARE(byName(), before);

    book.goToRecord(0); // ALPHA
    book.Supprime();
    auto after = byName();
    QCOMPARE(after.size(), 2);
    QCOMPARE(after["ZORRO"], before["ZORRO"]);
    QCOMPARE(after["MIDDLE"], before["MIDDLE"]);
}

void TstUidStore::savedWithTheContactFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("c.ctc");
    blocks::saveFile(path, contacts({{"10001", "A"}}));
    FixedClock clock;
    ScriptedPrompter prompter;
    RecordBook book(prompter, clock);
    book.Charge(path);
    const QByteArray uid = book.uids().assign(book.contacts()).value(0);
    book.SetModif();
    book.Sauve(path);
    const QByteArray companion = readBytes(UidStore::companionPath(path));
    QCOMPARE(companion, "10001\t" + uid + "\r\n");

    RecordBook other(prompter, clock);
    other.Charge(path);
    QCOMPARE(other.uids().assign(other.contacts()).value(0), uid);
    other.Nouveau();
    QVERIFY(other.uids().assign(contacts({{"10001", "A"}})).value(0) != uid);
}

// Saves that follow one another write what the records and their UIDs are at
// each: a code edited in place, a code now shared, a UID given to a code, the
// companion read again from the disk.
void TstUidStore::writtenAgainAfterEveryChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ctc");
    BlockList list = contacts({{"10001", "A"}, {"10002", "B"}, {"10003", "C"}});
    const qsizetype second = blocks::find(list, blocks::header(1, 5)) + contact::Code;
    UidStore store;
    store.save(path, list);
    const QList<QByteArray> uids = store.assign(list);
    const auto companion = [&] { return readBytes(UidStore::companionPath(path)); };
    const auto lines = [](const QList<QPair<QByteArray, QByteArray>>& pairs) {
        QByteArray out;
        for (const auto& [code, uid] : pairs)
            out += code + '\t' + uid + "\r\n";
        return out;
    };
    QCOMPARE(companion(), lines({{"10001", uids[0]}, {"10002", uids[1]}, {"10003", uids[2]}}));

    list.replace(second, "10009"); // same length, same place
    store.save(path, list);
    const QByteArray renamed = store.assign(list).at(1);
    QVERIFY(renamed != uids[1]);
    QCOMPARE(companion(), lines({{"10001", uids[0]}, {"10009", renamed}, {"10003", uids[2]}}));

    list.replace(second, "10001"); // shared with the first record
    store.save(path, list);
    const QByteArray sharing = store.assign(list).at(1);
    QVERIFY(sharing != uids[0] && sharing != renamed);
    QCOMPARE(companion(), lines({{"10001", uids[0]}, {"10001", sharing}, {"10003", uids[2]}}));

    list.replace(second, "10007");
    QVERIFY(store.setUid("10007", "carte-7"));
    store.save(path, list);
    QCOMPARE(companion(), lines({{"10001", uids[0]}, {"10007", "carte-7"}, {"10003", uids[2]}}));

    writeBytes(UidStore::companionPath(path), "10001\tlu-1\r\n10007\tlu-7\r\n");
    QVERIFY(store.load(path).isEmpty());
    store.save(path, list);
    const QByteArray third = store.assign(list).at(2);
    QCOMPARE(companion(), lines({{"10001", "lu-1"}, {"10007", "lu-7"}, {"10003", third}}));
    QVERIFY(third != uids[2]);
}

QTEST_GUILESS_MAIN(TstUidStore)
#include "tst_uid_store.moc"
