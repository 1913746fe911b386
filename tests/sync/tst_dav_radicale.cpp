// The client and the sync against a real Radicale on 127.0.0.1, and the
// faults a server or a network can add, from a small proxy in front of it.
#include "fault_proxy.h"
#include "platform/errors.h"
#include "radicale_server.h"
#include "storage/integrity.h"
#include "sync/card_fields.h"
#include "sync/dav_client.h"
#include "sync/follow_up_task.h"
#include "sync/sync_job.h"
#include "sync_fixture.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>

using namespace tarvik;
using namespace tarvik::sync;
using namespace tarvik::testing;
using Fault = FaultProxy::Fault;

namespace {

// One contact file with its sync state and its UIDs.
struct File
{
    BlockList list;
    int count = 0;
    DavState state;
    CodeIds ids;

    SyncReport sync(DavClient& client, const Choices& choices = {}, bool readOnly = false)
    {
        ContactSync run(client, ids);
        run.setChoices(choices);
        run.setReadOnly(readOnly);
        return run.run(list, count, state);
    }
    // The whole sync: contacts, then follow-ups.
    SyncReport syncAll(DavClient& client, const Choices& choices = {})
    {
        SyncRequest request;
        request.user = QStringLiteral("alice");
        request.password = QStringLiteral("secret");
        request.choices = choices;
        return runSync(client, request, list, count, ids, state).report;
    }
};

} // namespace

class TestDavRadicale : public QObject
{
    Q_OBJECT

private:
    RadicaleServer m_server;
    int m_books = 0;

    std::unique_ptr<DavClient> client(const QString& user = QStringLiteral("alice"),
                                      DavLimits limits = {})
    {
        auto c = std::make_unique<DavClient>(limits);
        c->setCredentials(user, QStringLiteral("secret"));
        return c;
    }
    // A new empty address book of alice's.
    QUrl newBook()
    {
        auto cOwned = client();
        DavClient& c = *cOwned;
        const QUrl url = m_server.url(QStringLiteral("/alice/book%1/").arg(++m_books));
        const DavReply r = c.makeAddressBook(url, QStringLiteral("Clients"));
        if (r.status != 201)
            qWarning() << "MKCOL" << r.status << r.error;
        return url;
    }
    File fileWith(const QList<ContactRecord>& records, const QUrl& book)
    {
        File f;
        f.list = fileOf(records);
        f.count = int(records.size());
        f.state.addressBook = book;
        return f;
    }
    // The cards of `book` by UID, with their ETags.
    QHash<QString, std::pair<ServerCard, QString>> cards(const QUrl& book)
    {
        auto cOwned = client();
        DavClient& c = *cOwned;
        const DavReply list = c.listMembers(book);
        QStringList hrefs;
        const auto members = parseMultistatus(list.body);
        for (const DavResource& r : members->resources)
            if (!r.collection)
                hrefs.append(r.href);
        QHash<QString, std::pair<ServerCard, QString>> out;
        if (hrefs.isEmpty())
            return out;
        const DavReply got = c.multiget(book, hrefs, false);
        const auto found = parseMultistatus(got.body);
        for (const DavResource& r : found->resources) {
            ServerCard card;
            if (card.parse(r.data))
                out.insert(card.uid(), {card, r.etag});
        }
        return out;
    }
    // Writes `text` as the card of `uid` in `book` (as another client would).
    bool putCard(const QUrl& book, const QString& name, const QByteArray& text,
                 const QString& etag = {})
    {
        auto c = client();
        return c->put(book.resolved(QUrl(name)), text, "text/vcard", etag).ok();
    }
    QString hrefOf(const File& f, const QByteArray& code)
    {
        return f.state.cards.value(QString::fromUtf8(f.ids.uidOf(code))).href;
    }

private slots:
    void initTestCase() { START_RADICALE(m_server); }

    void discovery();
    void requestsRefusedAndStatuses();
    void firstSyncThenAnEditOnEachSide();
    void conflictKeptThenSettledEachWay();
    void deletesOnEachSide();
    void twoFilesShareOneBook();
    void unmappedPropertiesAndPhotoSurvive();
    void lostStateCreatesNoDuplicates();
    void interruptedSyncIsFinishedByTheNext();
    void readOnlyFileSendsNothing();
    void faults_data();
    void faults();
    void writeRefusedIsAConflict();
    void followUpsAsTasks();
};

void TestDavRadicale::discovery()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    const QUrl tasks = m_server.url(QStringLiteral("/alice/relances/"));
    QCOMPARE(c.makeCalendar(tasks, QStringLiteral("Relances")).status, 201);

    // From the server's base URL, as DAVx5 does: .well-known, principal, home sets.
    const Discovery found = c.discover(m_server.base());
    QCOMPARE(found.principal, m_server.url(QStringLiteral("/alice/")));
    QList<QUrl> books;
    for (const DavCollection& b : found.addressBooks)
        books.append(b.url);
    QVERIFY(books.contains(book));
    QCOMPARE(found.calendars.size(), 1);
    QCOMPARE(found.calendars.at(0).url, tasks);
    QCOMPARE(found.calendars.at(0).name, QStringLiteral("Relances"));

    // A collection given directly is taken as it is.
    const Discovery direct = c.discover(book);
    QCOMPARE(direct.addressBooks.size(), 1);
    QCOMPARE(direct.addressBooks.at(0).url, book);
    QCOMPARE(direct.addressBooks.at(0).name, QStringLiteral("Clients"));

    // A wrong password is said as such.
    DavClient wrong;
    wrong.setCredentials(QStringLiteral("alice"), QStringLiteral("nope"));
    try {
        wrong.discover(m_server.base());
        QFAIL("a wrong password was accepted");
    } catch (const TarvikError& e) {
        QVERIFY2(e.text().contains(u"401"), qPrintable(e.text()));
    }
}

void TestDavRadicale::requestsRefusedAndStatuses()
{
    // Plain HTTP only to loopback; nothing at all is sent elsewhere.
    auto cOwned = client();
    DavClient& c = *cOwned;
    for (const char* url : {"http://192.0.2.1/dav/", "http://example.org/", "ftp://127.0.0.1/"}) {
        const DavReply r = c.listMembers(QUrl(QString::fromLatin1(url)));
        QVERIFY2(!r.error.isEmpty(), url);
        QCOMPARE(r.status, 0);
    }
    QCOMPARE(c.requestCount(), 0);
    QVERIFY(DavClient::refusal(QUrl("http://[::1]:8080/")).isEmpty());
    QVERIFY(DavClient::refusal(QUrl("http://127.3.4.5/")).isEmpty());
    QVERIFY(DavClient::refusal(QUrl("http://LocalHost/")).isEmpty());
    QVERIFY(DavClient::refusal(QUrl("https://dav.example.org/")).isEmpty());
    QVERIFY(!DavClient::refusal(QUrl("http://localhost.example.org/")).isEmpty());

    // Create once, then If-None-Match and a stale If-Match are refused.
    const QUrl book = newBook();
    const QUrl card = book.resolved(QUrl("a.vcf"));
    const QByteArray text = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:a\r\nFN:A\r\nEND:VCARD\r\n";
    const DavReply made = c.put(card, text, "text/vcard", {});
    QCOMPARE(made.status, 201);
    QVERIFY(!made.etag.isEmpty());
    QCOMPARE(c.put(card, text, "text/vcard", {}).status, 412);
    QCOMPARE(c.put(card, text, "text/vcard", QStringLiteral("\"stale\"")).status, 412);
    QCOMPARE(c.remove(card, QStringLiteral("\"stale\"")).status, 412);
    QVERIFY(c.remove(card, made.etag).ok());

    // Another user's book (403) and a book that is gone (404).
    auto bobOwned = client(QStringLiteral("bob"));
    DavClient& bob = *bobOwned;
    QCOMPARE(bob.listMembers(book).status, 403);
    QVERIFY(DavClient::describe(bob.listMembers(book)).contains(u"403"));
    QCOMPARE(c.listMembers(m_server.url("/alice/none/")).status, 404);
}

void TestDavRadicale::firstSyncThenAnEditOnEachSide()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    File f = fileWith({person("10001", "Boulangerie Riou", "02 99 00 00 01"),
                       person("10002", "Garage Le Goff"), person("10003", "Pharmacie Tanguy")},
                      book);
    const SyncReport first = f.sync(c);
    QCOMPARE(first.summary(),
             QStringLiteral("3 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    QVERIFY(first.problems.isEmpty());
    auto server = cards(book);
    QCOMPARE(server.size(), 3);
    const ServerCard riou = server.value(QString::fromUtf8(f.ids.uidOf("10001"))).first;
    QCOMPARE(riou.values()[FieldName], QByteArray("Boulangerie Riou"));
    QCOMPARE(riou.values()[FieldPhone], QByteArray("02 99 00 00 01"));
    QCOMPARE(riou.values()[FieldCode], QByteArray("10001"));

    // In sync: nothing moves, and no card is fetched.
    const int before = c.requestCount();
    QCOMPARE(f.sync(c).summary(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    QCOMPARE(c.requestCount() - before, 1);

    // An edit in the file goes to its card.
    ContactRecord r = recordAt(f.list, 1);
    r.phone = "02 98 11 22 33";
    blocks::replaceBlock(f.list, contact::blockLines(r, 1));
    QCOMPARE(f.sync(c).sent, 1);
    server = cards(book);
    QCOMPARE(server.value(QString::fromUtf8(f.ids.uidOf("10002"))).first.values()[FieldPhone],
             QByteArray("02 98 11 22 33"));

    // An edit on the server comes into the record; the history stays.
    const QString uid = QString::fromUtf8(f.ids.uidOf("10003"));
    ServerCard tanguy = server.value(uid).first;
    CardValues v = tanguy.values();
    v[FieldTown] = "Brest";
    tanguy.merge(v, {FieldTown});
    QVERIFY(putCard(book, hrefOf(f, "10003"), tanguy.text(), server.value(uid).second));
    const SyncReport pulled = f.sync(c);
    QCOMPARE(pulled.received, 1);
    QCOMPARE(pulled.sent, 0);
    const ContactRecord t = recordAt(f.list, 2);
    QCOMPARE(t.town, QByteArray("Brest"));
    QCOMPARE(t.postcode, QByteArray("35000"));
    QCOMPARE(t.history, person("", "").history);
    QCOMPARE(t.code, QByteArray("10003"));
    QCOMPARE(f.sync(c).summary(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
}

void TestDavRadicale::conflictKeptThenSettledEachWay()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    File f = fileWith({person("10001", "Riou"), person("10002", "Le Goff")}, book);
    f.sync(c);

    auto editBoth = [&](int number, const QByteArray& code, const QByteArray& here,
                        const QByteArray& there) {
        ContactRecord r = recordAt(f.list, number);
        r.phone = here;
        blocks::replaceBlock(f.list, contact::blockLines(r, number));
        const auto server = cards(book);
        const QString uid = QString::fromUtf8(f.ids.uidOf(code));
        ServerCard card = server.value(uid).first;
        CardValues v = card.values();
        v[FieldPhone] = there;
        card.merge(v, {FieldPhone});
        QVERIFY(putCard(book, hrefOf(f, code), card.text(), server.value(uid).second));
    };
    editBoth(0, "10001", "01 ici", "02 serveur");
    editBoth(1, "10002", "03 ici", "04 serveur");

    // Nothing is overwritten while the user has not chosen.
    const SyncReport standing = f.sync(c);
    QCOMPARE(standing.conflicts.size(), 2);
    QCOMPARE(standing.conflicts.at(0).kind, Conflict::BothChanged);
    QVERIFY(standing.conflicts.at(0).detail.contains(u"Téléphone"));
    QCOMPARE(standing.sent + standing.received, 0);
    QCOMPARE(recordAt(f.list, 0).phone, QByteArray("01 ici"));
    QCOMPARE(cards(book).value(QString::fromUtf8(f.ids.uidOf("10001"))).first.values()[FieldPhone],
             QByteArray("02 serveur"));
    QCOMPARE(f.sync(c).conflicts.size(), 2); // still there at the next sync

    // One record kept as the file has it, the other taken from the server.
    const SyncReport settled =
        f.sync(c, {{QString::fromUtf8(f.ids.uidOf("10001")), Choice::Local},
                   {QString::fromUtf8(f.ids.uidOf("10002")), Choice::Server}});
    QCOMPARE(settled.conflicts.size(), 0);
    QCOMPARE(settled.sent, 1);
    QCOMPARE(settled.received, 1);
    const auto server = cards(book);
    QCOMPARE(server.value(QString::fromUtf8(f.ids.uidOf("10001"))).first.values()[FieldPhone],
             QByteArray("01 ici"));
    QCOMPARE(recordAt(f.list, 1).phone, QByteArray("04 serveur"));
    QCOMPARE(f.sync(c).summary(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
}

void TestDavRadicale::deletesOnEachSide()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    File f = fileWith({person("10001", "Riou"), person("10002", "Le Goff"),
                       person("10003", "Tanguy"), person("10004", "Kerhervé")},
                      book);
    f.sync(c);
    const QString leGoff = QString::fromUtf8(f.ids.uidOf("10002"));
    const QString tanguy = QString::fromUtf8(f.ids.uidOf("10003"));

    // Deleted on the server: the record goes, the others are renumbered.
    const auto server = cards(book);
    QVERIFY(c.remove(book.resolved(QUrl(hrefOf(f, "10002"))), server.value(leGoff).second).ok());
    const SyncReport gone = f.sync(c);
    QCOMPARE(gone.deleted, 1);
    QCOMPARE(f.count, 3);
    QCOMPARE(recordAt(f.list, 1).name, QByteArray("Tanguy"));
    QCOMPARE(recordAt(f.list, 2).name, QByteArray("Kerhervé"));

    // Deleted in the file: the card goes.
    const qsizetype at = blocks::deleteBlock(f.list, blocks::header(1, blocks::ContactDigits));
    QVERIFY(at >= 0);
    integrity::Renum(f.list, 1, f.count);
    QCOMPARE(f.sync(c).deleted, 1);
    QVERIFY(!cards(book).contains(tanguy));
    QCOMPARE(cards(book).size(), 2);

    // Edited in the file while deleted on the server: a conflict, the record stays.
    ContactRecord r = recordAt(f.list, 1);
    r.email = "contact@kerherve.bzh";
    blocks::replaceBlock(f.list, contact::blockLines(r, 1));
    const QString kerherve = QString::fromUtf8(f.ids.uidOf("10004"));
    QVERIFY(
        c.remove(book.resolved(QUrl(hrefOf(f, "10004"))), cards(book).value(kerherve).second).ok());
    const SyncReport standing = f.sync(c);
    QCOMPARE(standing.conflicts.size(), 1);
    QCOMPARE(standing.conflicts.at(0).kind, Conflict::EditedHereGoneThere);
    QCOMPARE(f.count, 2);
    // Kept: the card comes back with the edit.
    QCOMPARE(f.sync(c, {{kerherve, Choice::Local}}).sent, 1);
    QCOMPARE(cards(book).value(kerherve).first.values()[FieldEmail],
             QByteArray("contact@kerherve.bzh"));
}

void TestDavRadicale::twoFilesShareOneBook()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    File anne = fileWith({person("10001", "Riou"), person("10002", "Le Goff")}, book);
    File yann = fileWith({person("10001", "Tanguy"), person("10007", "Kerhervé")}, book);
    QCOMPARE(anne.sync(c).sent, 2);
    const SyncReport y = yann.sync(c);
    QCOMPARE(y.sent, 2);
    QCOMPARE(y.received, 2);
    QCOMPARE(yann.count, 4);
    // The newcomers take the next codes of Yann's own file.
    const QSet<QByteArray> codes{recordNamed(yann.list, "Riou").code,
                                 recordNamed(yann.list, "Le Goff").code};
    QCOMPARE(codes, (QSet<QByteArray>{"10008", "10009"}));
    QCOMPARE(anne.sync(c).received, 2);
    QCOMPARE(anne.count, 4);
    const QSet<QByteArray> anneCodes{recordNamed(anne.list, "Tanguy").code,
                                     recordNamed(anne.list, "Kerhervé").code};
    QCOMPARE(anneCodes, (QSet<QByteArray>{"10003", "10004"}));

    // Yann's edit of a contact Anne made reaches Anne; its code stays Anne's.
    const int n = [&] {
        for (int i = 0; i < yann.count; ++i)
            if (recordAt(yann.list, i).name == "Riou")
                return i;
        return -1;
    }();
    ContactRecord r = recordAt(yann.list, n);
    r.fax = "02 99 99 99 99";
    blocks::replaceBlock(yann.list, contact::blockLines(r, n));
    QCOMPARE(yann.sync(c).sent, 1);
    QCOMPARE(anne.sync(c).received, 1);
    const ContactRecord riou = recordNamed(anne.list, "Riou");
    QCOMPARE(riou.fax, QByteArray("02 99 99 99 99"));
    QCOMPARE(riou.code, QByteArray("10001"));
    QCOMPARE(anne.sync(c).summary(), yann.sync(c).summary());
}

void TestDavRadicale::unmappedPropertiesAndPhotoSurvive()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    // A card as a phone leaves it: a photo, a birthday, a
    // second number, a grouped address with its label, another client's
    // property, and a town the contact file cannot hold.
    const QByteArray photo = QByteArray(192 * 1024, 'Q').toBase64();
    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nFN:Crêperie Łódź\r\n"
                      "N:Morvan;Anna;;Mme;\r\nTEL;TYPE=CELL:06 12 34 56 78\r\n"
                      "TEL;TYPE=WORK,VOICE:02 97 00 00 00\r\nBDAY:1980-04-02\r\n"
                      "item1.EMAIL;TYPE=INTERNET:anna@creperie.bzh\r\nitem1.X-ABLabel:Pro\r\n"
                      "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Nana\r\n"
                      "PHOTO;ENCODING=b;TYPE=JPEG:" +
                      photo + "\r\nEND:VCARD\r\n";
    QByteArray folded;
    for (const QByteArray& line : unfoldLines(card))
        folded += foldLine(line);
    QVERIFY(putCard(book, "phone-1.vcf", "BEGIN:VCARD\r\n" + folded.mid(13)));

    File f = fileWith({}, book);
    QCOMPARE(f.sync(c).received, 1);
    ContactRecord r = recordAt(f.list, 0);
    QCOMPARE(r.name, QByteArray("Cr\xEAperie ?\xF3"
                                "d?"));
    QCOMPARE(r.phone, QByteArray("02 97 00 00 00"));
    QCOMPARE(r.civility, QByteArray("Mme"));
    QCOMPARE(r.decision_maker, QByteArray("Morvan"));
    QCOMPARE(r.email, QByteArray("anna@creperie.bzh"));
    QCOMPARE(r.code, QByteArray("10001"));

    r.phone = "02 97 11 11 11";
    blocks::replaceBlock(f.list, contact::blockLines(r, 0));
    QCOMPARE(f.sync(c).sent, 1);
    const ServerCard after = cards(book).value("phone-1").first;
    // The server may reorder the properties and change their letter case.
    const QList<QByteArray> lines = unfoldLines(after.text());
    auto has = [&](const QByteArray& line) {
        for (const QByteArray& l : lines)
            if (l.compare(line, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    QVERIFY(has("TEL;TYPE=WORK,VOICE:02 97 11 11 11"));
    QVERIFY(has("TEL;TYPE=CELL:06 12 34 56 78"));
    QVERIFY(has("BDAY:1980-04-02"));
    QVERIFY(has("item1.X-ABLabel:Pro"));
    QVERIFY(std::any_of(lines.cbegin(), lines.cend(), [](const QByteArray& l) {
        return l.toUpper().startsWith("X-ANDROID-CUSTOM:") && l.endsWith("Nana");
    }));
    QVERIFY(has("VERSION:3.0"));
    // The name the file could not hold was not changed, so it is not written.
    QVERIFY(has("FN:Crêperie Łódź"));
    QVERIFY(has("PHOTO;ENCODING=b;TYPE=JPEG:" + photo));

    // A card over the size bound is passed over and said; the others go on.
    DavLimits small;
    small.maxCard = 100 * 1024;
    auto bounded = client(QStringLiteral("alice"), small);
    File other = fileWith({person("10001", "Riou")}, book);
    const SyncReport r2 = other.sync(*bounded);
    QCOMPARE(r2.sent, 1);
    QCOMPARE(r2.received, 0);
    QCOMPARE(r2.problems.size(), 1);
    QVERIFY2(r2.problems.at(0).contains("trop volumineuse"), qPrintable(r2.problems.at(0)));
}

void TestDavRadicale::lostStateCreatesNoDuplicates()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    File f = fileWith({person("10001", "Riou"), person("10002", "Le Goff")}, book);
    f.sync(c);

    // The companion deleted (or damaged past reading): the next sync matches
    // records and cards by UID and contents.
    f.state.cards.clear();
    const SyncReport again = f.sync(c);
    QCOMPARE(again.summary(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    QCOMPARE(f.count, 2);
    QCOMPARE(cards(book).size(), 2);
    QCOMPARE(f.state.cards.size(), 2);

    // A record that differs from its card without a last sync to tell who
    // changed it: the user decides.
    ContactRecord r = recordAt(f.list, 0);
    r.town = "Vannes";
    blocks::replaceBlock(f.list, contact::blockLines(r, 0));
    f.state.cards.clear();
    const SyncReport standing = f.sync(c);
    QCOMPARE(standing.conflicts.size(), 1);
    QCOMPARE(standing.conflicts.at(0).kind, Conflict::BothNew);
    QVERIFY(standing.conflicts.at(0).detail.contains(u"Ville"));
}

void TestDavRadicale::interruptedSyncIsFinishedByTheNext()
{
    // A sync stopped before its file and state were saved (a kill, a power
    // cut) leaves the server ahead of the file: the next sync from the old
    // file and the old state finishes the work, with no duplicate.
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    File f = fileWith({person("10001", "Riou"), person("10002", "Le Goff")}, book);
    f.sync(c);
    QVERIFY(putCard(book, "other.vcf",
                    "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:other\r\nFN:Tanguy\r\nEND:VCARD\r\n"));
    ContactRecord r = recordAt(f.list, 0);
    r.phone = "02 00 00 00 01";
    blocks::replaceBlock(f.list, contact::blockLines(r, 0));
    f.list.append(contact::blockLines(person("10003", "Kerhervé"), 2));
    f.count = 3;

    const BlockList oldList = f.list;
    const DavState oldState = f.state;
    QCOMPARE(f.sync(c).summary(),
             QStringLiteral("2 envoyée(s), 1 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    f.list = oldList;
    f.count = 3;
    f.state = oldState;
    const SyncReport again = f.sync(c);
    QCOMPARE(again.summary(),
             QStringLiteral("0 envoyée(s), 1 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    QCOMPARE(f.count, 4);
    QCOMPARE(cards(book).size(), 4);
    QCOMPARE(f.sync(c).summary(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
}

void TestDavRadicale::readOnlyFileSendsNothing()
{
    auto cOwned = client();
    DavClient& c = *cOwned;
    const QUrl book = newBook();
    QVERIFY(putCard(book, "x.vcf",
                    "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:x\r\nFN:Tanguy\r\nEND:VCARD\r\n"));
    File f = fileWith({person("10001", "Riou")}, book);
    const SyncReport r = f.sync(c, {}, true);
    QCOMPARE(r.sent, 0);
    QCOMPARE(r.received, 1);
    QCOMPARE(f.count, 2);
    QCOMPARE(cards(book).size(), 1);
}

void TestDavRadicale::faults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("wholeSyncFails");
    QTest::addColumn<QString>("said");

    QTest::newRow("connection closed mid-response")
        << Fault::CloseMidway << QByteArray("PROPFIND") << 0 << true
        << QString("interrompue|illisible");
    QTest::newRow("endless response")
        << Fault::Endless << QByteArray("PROPFIND") << 0 << true << QString("trop volumineuse");
    QTest::newRow("malformed multistatus")
        << Fault::Malformed << QByteArray("PROPFIND") << 0 << true << QString("illisible");
    QTest::newRow("no answer") << Fault::Silent << QByteArray("PROPFIND") << 0 << true
                               << QString("temps imparti");
    QTest::newRow("insufficient storage on PUT")
        << Fault::Status << QByteArray("PUT") << 507 << false << QString("507");
    QTest::newRow("card cut short in a multiget") << Fault::CloseMidway << QByteArray("REPORT") << 0
                                                  << true << QString("interrompue|illisible");
}

void TestDavRadicale::faults()
{
    QFETCH(Fault, fault);
    QFETCH(QByteArray, verb);
    QFETCH(int, status);
    QFETCH(bool, wholeSyncFails);
    QFETCH(QString, said);

    const QUrl book = newBook();
    FaultProxy proxy(m_server.port());
    const QUrl viaProxy = proxy.base().resolved(QUrl(book.path()));
    DavLimits limits;
    limits.idleMs = 400;
    limits.maxListing = 2 * 1024 * 1024;
    auto cOwned = client(QStringLiteral("alice"), limits);
    DavClient& c = *cOwned;

    // A card on the server and an edit of the file, so that each kind of
    // request of a sync is made.
    QVERIFY(putCard(book, "s.vcf",
                    "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:s\r\nFN:Tanguy\r\nEND:VCARD\r\n"));
    File f = fileWith({person("10001", "Riou")}, viaProxy);
    const BlockList listBefore = f.list;
    const DavState stateBefore = f.state;

    proxy.setFault(fault, verb, -1, status);
    if (wholeSyncFails) {
        try {
            f.sync(c);
            QFAIL("the sync did not fail");
        } catch (const TarvikError& e) {
            QVERIFY2(e.text().contains(QRegularExpression(said)), qPrintable(e.text()));
        }
        QCOMPARE(f.list, listBefore);
        QCOMPARE(f.state, stateBefore);
    } else {
        // The one item fails and is said; the others are done.
        const SyncReport r = f.sync(c);
        QCOMPARE(r.sent, 0);
        QCOMPARE(r.received, 1);
        QCOMPARE(r.problems.size(), 1);
        QVERIFY2(r.problems.at(0).contains(said), qPrintable(r.problems.at(0)));
        QVERIFY(!f.state.cards.contains(QString::fromUtf8(f.ids.uidOf("10001"))));
    }

    // Once the fault is gone, the next sync does everything.
    proxy.setFault(Fault::None);
    const SyncReport healed = f.sync(c);
    QVERIFY(healed.problems.isEmpty());
    QCOMPARE(healed.sent, 1);
    QCOMPARE(cards(book).size(), 2);
    QCOMPARE(f.count, 2);
}

void TestDavRadicale::writeRefusedIsAConflict()
{
    // Someone saved the card between the listing and the write: 412.
    const QUrl book = newBook();
    FaultProxy proxy(m_server.port());
    auto cOwned = client();
    DavClient& c = *cOwned;
    File f = fileWith({person("10001", "Riou")}, proxy.base().resolved(QUrl(book.path())));
    f.sync(c);
    ContactRecord r = recordAt(f.list, 0);
    r.phone = "02 00 00 00 09";
    blocks::replaceBlock(f.list, contact::blockLines(r, 0));
    proxy.setFault(Fault::Status, "PUT", 1, 412);
    const SyncReport refused = f.sync(c);
    QCOMPARE(refused.sent, 0);
    QCOMPARE(refused.conflicts.size(), 1);
    QCOMPARE(refused.conflicts.at(0).kind, Conflict::Refused);
    QCOMPARE(recordAt(f.list, 0).phone, QByteArray("02 00 00 00 09"));
    // The write is tried again at the next sync, and goes through.
    QCOMPARE(f.sync(c).sent, 1);
}

void TestDavRadicale::followUpsAsTasks()
{
    auto owned = client();
    DavClient& c = *owned;
    const QUrl book = newBook();
    const QUrl tasks = m_server.url(QStringLiteral("/alice/taches%1/").arg(m_books));
    QCOMPARE(c.makeCalendar(tasks, QStringLiteral("Relances")).status, 201);
    ContactRecord riou = person("10001", "Riou");
    riou.followup_date = QDate(2026, 3, 30);
    riou.followup_time = QTime(14, 0);
    riou.followup_type = "Rappel";
    riou.alert = true;
    ContactRecord goff = person("10002", "Le Goff");
    goff.followup_date = QDate(2026, 4, 7);
    goff.followup_time = QTime(0, 0);
    ContactRecord none = person("10003", "Tanguy");
    none.followup_date = QDate(1900, 1, 1);
    File f = fileWith({riou, goff, none}, book);
    f.state.calendar = tasks;
    QCOMPARE(f.syncAll(c).sent, 5); // three cards, two tasks

    auto taskOf = [&](const QByteArray& code) -> std::pair<QByteArray, QString> {
        const QString href = f.state.tasks.value(QString::fromUtf8(f.ids.uidOf(code))).href;
        const DavReply r = c.multiget(tasks, {href}, true);
        const auto ms = parseMultistatus(r.body);
        if (!ms || ms->resources.isEmpty())
            return {};
        return {ms->resources.at(0).data, ms->resources.at(0).etag};
    };
    auto [riouTask, riouEtag] = taskOf("10001");
    QCOMPARE(readTask(riouTask)->due, (FollowUp{QDate(2026, 3, 30), QTime(14, 0), {}}));

    // Completed on a phone: the follow-up is cleared, the alert stays, and
    // the task stays on the server as the phone left it.
    QByteArray done = riouTask;
    done.replace("STATUS:NEEDS-ACTION", "STATUS:COMPLETED");
    const QString href = f.state.tasks.value(QString::fromUtf8(f.ids.uidOf("10001"))).href;
    QVERIFY(c.put(tasks.resolved(QUrl(href)), done, "text/calendar", riouEtag).ok());
    // Moved on the server: the follow-up moves.
    auto [goffTask, goffEtag] = taskOf("10002");
    const QString goffHref = f.state.tasks.value(QString::fromUtf8(f.ids.uidOf("10002"))).href;
    QVERIFY(c.put(tasks.resolved(QUrl(goffHref)),
                  rewriteTask(goffTask, {QDate(2026, 4, 9), QTime(11, 15), {}}, "Le Goff"),
                  "text/calendar", goffEtag)
                .ok());

    QCOMPARE(f.syncAll(c).received, 2);
    const ContactRecord r = recordAt(f.list, 0);
    QCOMPARE(r.followup_date, QDate(1900, 1, 1));
    QCOMPARE(r.followup_time, QTime(0, 0));
    QCOMPARE(r.followup_type, QByteArray());
    QVERIFY(r.alert);
    QVERIFY(readTask(taskOf("10001").first)->completed);
    const ContactRecord g = recordAt(f.list, 1);
    QCOMPARE(g.followup_date, QDate(2026, 4, 9));
    QCOMPARE(g.followup_time, QTime(11, 15));
    QCOMPARE(f.syncAll(c).summary(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    QVERIFY(readTask(taskOf("10001").first)->completed);

    // A contact deleted takes its task with it.
    blocks::deleteBlock(f.list, blocks::header(1, blocks::ContactDigits));
    integrity::Renum(f.list, 1, f.count);
    QCOMPARE(f.syncAll(c).deleted, 1);
    QVERIFY(c.listMembers(tasks.resolved(QUrl(goffHref))).status == 404);
}

QTEST_GUILESS_MAIN(TestDavRadicale)
#include "tst_dav_radicale.moc"
