// The card side of the sync without a server: fields to and from a card,
// the property-by-property merge, folding, the sync state file and the
// password file.
#include "platform/errors.h"
#include "support/temp_files.h"
#include "sync/card_fields.h"
#include "sync/credentials.h"
#include "sync/dav_state.h"
#include "sync/follow_up_task.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;
using namespace tarvik::sync;

class TestCardFields : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldThroughANewCard();
    void mergeRewritesOnlyTheFieldsGiven();
    void changedFieldsFromHashes();
    void foldingKeepsCharactersWhole();
    void cardsRefused_data();
    void cardsRefused();
    void stateRoundTripAndDamage();
    void passwordFile();
    void followUpTasks();
};

static ContactRecord everyField()
{
    ContactRecord r;
    r.code = "10042";
    r.name = "Caf\xE9 \"L'\x8C"
             "uvre\"; Brest, Nord";
    r.address1 = "3 rue de Siam";
    r.address2 = "B\xE2timent C";
    r.postcode = "29200";
    r.town = "Brest";
    r.phone = "02 98 00 00 00";
    r.fax = "02 98 00 00 01";
    r.activity = "Restauration\\bar";
    r.email = "contact@oeuvre.bzh";
    r.civility = "Mme";
    r.decision_maker = "Le Bihan";
    r.function = "G\xE9rante";
    r.freeText = {"Premi\xE8re ligne; avec point-virgule", "Prix \x80 20"};
    return r;
}

void TestCardFields::everyFieldThroughANewCard()
{
    const CardValues values = valuesOf(everyField());
    ServerCard card = ServerCard::fromValues(QStringLiteral("urn:uuid:1"), values);
    ServerCard back;
    QVERIFY(back.parse(card.text()));
    QCOMPARE(back.uid(), QStringLiteral("urn:uuid:1"));
    std::array<bool, CardFieldCount> lossy{};
    QCOMPARE(back.values(&lossy), values);
    QVERIFY(std::none_of(lossy.begin(), lossy.end(), [](bool b) { return b; }));
    QVERIFY(card.text().contains("ORG:Caf\xC3\xA9 \"L'\xC5\x92uvre\"\\; Brest\\, Nord\r\n"));
    QVERIFY(card.text().contains("NOTE:Premi\xC3\xA8re ligne\\; avec point-virgule\\nPrix "
                                 "\xE2\x82\xAC 20\r\n"));

    // A record with only a name writes FN and ORG, nothing empty.
    ContactRecord bare;
    bare.name = "Riou";
    const QByteArray text = ServerCard::fromValues("u", valuesOf(bare)).text();
    QCOMPARE(text, QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nUID:u\r\nFN:Riou\r\nORG:Riou\r\n"
                              "END:VCARD\r\n"));
}

void TestCardFields::mergeRewritesOnlyTheFieldsGiven()
{
    const QByteArray phone =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p\r\nFN:Riou\r\nN:Riou;Yann;;M.;\r\n"
        "ORG:Riou;Boulangerie\r\nitem2.TEL;TYPE=WORK:02 11\r\nTEL;TYPE=HOME:02 22\r\n"
        "TEL;TYPE=FAX:02 33\r\nADR;TYPE=HOME:;;1 rue A;Vannes;;56000;France\r\n"
        "ADR;TYPE=WORK:;;2 rue B;Lorient;;56100;France\r\nEMAIL:a@b.fr\r\n"
        "X-OTHER;X-P=\"a:b\":kept\r\nEND:VCARD\r\n";
    ServerCard card;
    QVERIFY(card.parse(phone));
    CardValues v = card.values();
    QCOMPARE(v[FieldPhone], QByteArray("02 11"));
    QCOMPARE(v[FieldFax], QByteArray("02 33"));
    QCOMPARE(v[FieldTown], QByteArray("Lorient"));
    QCOMPARE(v[FieldCivility], QByteArray("M."));
    QCOMPARE(v[FieldDecisionMaker], QByteArray("Riou"));

    v[FieldPhone] = "02 99";
    v[FieldTown] = "Quimper";
    v[FieldDecisionMaker] = "Le Riou";
    v[FieldFax].clear();
    v[FieldEmail] = "changed@but.not.merged";
    card.merge(v, {FieldPhone, FieldTown, FieldDecisionMaker, FieldFax});
    QCOMPARE(
        card.text(),
        QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p\r\nFN:Riou\r\nN:Le Riou;Yann;;M.;\r\n"
                   "ORG:Riou;Boulangerie\r\nitem2.TEL;TYPE=WORK:02 99\r\nTEL;TYPE=HOME:02 22\r\n"
                   "ADR;TYPE=HOME:;;1 rue A;Vannes;;56000;France\r\n"
                   "ADR;TYPE=WORK:;;2 rue B;Quimper;;56100;France\r\nEMAIL:a@b.fr\r\n"
                   "X-OTHER;X-P=\"a:b\":kept\r\nEND:VCARD\r\n"));
}

void TestCardFields::changedFieldsFromHashes()
{
    CardValues a = valuesOf(everyField());
    CardValues b = a;
    QVERIFY(changedFields(fieldHashes(a), fieldHashes(b)).isEmpty());
    b[FieldTown] = "Morlaix";
    b[FieldNote] = "autre";
    QCOMPARE(changedFields(fieldHashes(a), fieldHashes(b)),
             (QList<CardField>{FieldTown, FieldNote}));
    // A hash text of no known shape (an old or damaged state): every field.
    QCOMPARE(changedFields(QStringLiteral("x"), fieldHashes(b)).size(), int(CardFieldCount));
}

void TestCardFields::foldingKeepsCharactersWhole()
{
    const QByteArray line = "NOTE:" + QString(200, QChar(0x00E9)).toUtf8();
    const QByteArray folded = foldLine(line);
    for (const QByteArray& part : folded.split('\n')) {
        QVERIFY(part.size() <= 76); // 75 octets and the CR
        QVERIFY(QString::fromUtf8(part).toUtf8() == part);
    }
    QCOMPARE(unfoldLines(folded), QList<QByteArray>{line});
    // Folds written with LF only, or with a tab, read the same.
    QCOMPARE(unfoldLines("FN:ab\n\tcd\nN:x\r\n"), (QList<QByteArray>{"FN:abcd", "N:x"}));
}

void TestCardFields::cardsRefused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("no END") << QByteArray("BEGIN:VCARD\r\nUID:a\r\nFN:A\r\n");
    QTest::newRow("no BEGIN") << QByteArray("UID:a\r\nEND:VCARD\r\n");
    QTest::newRow("an event") << QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    QTest::newRow("binary") << QByteArray("\x00\x01\xFF\xFE", 4);
}

void TestCardFields::cardsRefused()
{
    QFETCH(QByteArray, text);
    ServerCard card;
    QString why;
    QVERIFY(!card.parse(text, &why));
    QVERIFY(!why.isEmpty());
}

void TestCardFields::stateRoundTripAndDamage()
{
    QTemporaryDir dir;
    const QString path = DavState::companionPath(dir.filePath("clients.ctc"));
    QCOMPARE(path, dir.filePath("clients.dav"));
    DavState s;
    s.server = QUrl("https://dav.example.org/");
    s.addressBook = QUrl("https://dav.example.org/anne/clients/");
    s.calendar = QUrl("https://dav.example.org/anne/relances/");
    s.user = QStringLiteral("anne");
    s.cards.insert(QStringLiteral("urn:uuid:1"), {"/anne/clients/1.vcf", "\"e1\"", "h,h"});
    s.cards.insert(QStringLiteral("tab\tin uid"), {"/anne/clients/a%20b.vcf", "W/\"2\"", "h"});
    s.tasks.insert(QStringLiteral("urn:uuid:1"), {"/anne/relances/1.ics", "\"t\"", "x"});
    s.save(path);
    QCOMPARE(DavState::load(path), s);
    QVERIFY(!readBytes(path).contains("secret"));

    // Damaged lines are passed over and told; the rest is read.
    QByteArray bytes = readBytes(path);
    bytes.replace("card\turn", "card");
    bytes += "\x01garbage\r\ncard\tonly two\r\n";
    writeBytes(path, bytes);
    QStringList notices;
    const DavState damaged = DavState::load(path, &notices);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(damaged.addressBook, s.addressBook);
    QCOMPARE(damaged.cards.size(), 1);
    QVERIFY(DavState::load(dir.filePath("none.dav")).cards.isEmpty());
}

void TestCardFields::passwordFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pw");
    writeBytes(path, "s3cr\xC3\xA9t\r\nsecond line\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(readPasswordFile(path), QStringLiteral("s3cr\u00E9t"));
    writeBytes(path, "only");
    QCOMPARE(readPasswordFile(path), QStringLiteral("only"));

    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadOther);
    QVERIFY_THROWS_EXCEPTION(TarvikError, readPasswordFile(path));
    QVERIFY_THROWS_EXCEPTION(TarvikError, readPasswordFile(dir.filePath("missing")));
    QCOMPARE(
        passwordKey(QUrl("https://u@dav.example.org:8443/anne/clients/"), QStringLiteral("anne")),
        QStringLiteral("anne@https://dav.example.org:8443"));
}

void TestCardFields::followUpTasks()
{
    // An hour in Paris, and a day without an hour.
    const FollowUp call{QDate(2026, 3, 29), QTime(10, 30), "Rappel"};
    const QByteArray task = newTask("urn:uuid:7", call, "Caf\xE9 Riou");
    QVERIFY(task.contains("DUE;TZID=Europe/Paris:20260329T103000"));
    QVERIFY(task.contains("BEGIN:VTIMEZONE"));
    QVERIFY(task.contains("SUMMARY:Rappel : Caf\xC3\xA9 Riou"));
    QVERIFY(task.contains("RELATED-TO:urn:uuid:7"));
    QVERIFY(task.contains("STATUS:NEEDS-ACTION"));
    const auto read = readTask(task);
    QVERIFY(read);
    QCOMPARE(read->uid, taskUid("urn:uuid:7"));
    QCOMPARE(contactOfTask(*read), QStringLiteral("urn:uuid:7"));
    QCOMPARE(read->due.date, call.date);
    QCOMPARE(read->due.time, call.time);
    QVERIFY(!read->completed);

    const FollowUp day{QDate(2026, 4, 2), QTime(0, 0), {}};
    const QByteArray dayTask = newTask("u", day, "Riou");
    QVERIFY(dayTask.contains("DUE;VALUE=DATE:20260402"));
    QVERIFY(dayTask.contains("SUMMARY:Riou\r\n"));

    // A phone moves the task to a UTC hour and completes it; the rewrite
    // opens it again and keeps what it does not know.
    QByteArray phone = task;
    phone.replace("STATUS:NEEDS-ACTION", "STATUS:COMPLETED\r\nCOMPLETED:20260330T080000Z\r\n"
                                         "X-PHONE:kept");
    phone.replace("DUE;TZID=Europe/Paris:20260329T103000", "DUE:20260401T070000Z");
    const auto done = readTask(phone);
    QVERIFY(done->completed);
    QCOMPARE(done->due.date, QDate(2026, 4, 1));
    QCOMPARE(done->due.time, QTime(9, 0)); // summer time in Paris
    const QByteArray reopened = rewriteTask(phone, day, "Riou");
    const auto again = readTask(reopened);
    QVERIFY(!again->completed);
    QCOMPARE(again->due, (FollowUp{QDate(2026, 4, 2), QTime(0, 0), {}}));
    QVERIFY(reopened.contains("X-PHONE:kept"));

    // The record's follow-up cleared as the file writes "none".
    ContactRecord r;
    r.alert = true;
    setFollowUp(r, FollowUp{});
    QCOMPARE(r.followup_date, QDate(1900, 1, 1));
    QCOMPARE(r.followup_time, QTime(0, 0));
    QVERIFY(r.alert);
    QVERIFY(!followUpOf(r).isSet());
    QVERIFY(!readTask("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"));
}

QTEST_GUILESS_MAIN(TestCardFields)
#include "tst_card_fields.moc"
