#include "sync/multistatus.h"
#include "sync/sync_plan.h"

#include <QTest>

using namespace tarvik::sync;

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Conflict)
Q_DECLARE_METATYPE(Choice)

class TestSyncPlan : public QObject
{
    Q_OBJECT

private slots:
    void oneItem_data();
    void oneItem();
    void choicesSettleEveryConflict_data();
    void choicesSettleEveryConflict();
    void writesCarryTheServersEtag();
    void multistatusOfRadicale();
    void multistatusRefused_data();
    void multistatusRefused();
};

// Every combination of the three states of one UID: present in the file
// (changed or not since the last sync), on the server (changed or not), and
// in the last-synced state.
void TestSyncPlan::oneItem_data()
{
    QTest::addColumn<bool>("here");
    QTest::addColumn<bool>("hereChanged");
    QTest::addColumn<bool>("there");
    QTest::addColumn<bool>("thereChanged");
    QTest::addColumn<bool>("synced");
    QTest::addColumn<Action>("action");
    QTest::addColumn<Conflict>("conflict");

    const auto none = Conflict::None;
    QTest::newRow("in sync") << true << false << true << false << true << Action::Keep << none;
    QTest::newRow("edited here") << true << true << true << false << true << Action::Send << none;
    QTest::newRow("edited there") << true << false << true << true << true << Action::Take << none;
    QTest::newRow("edited on both sides")
        << true << true << true << true << true << Action::Stand << Conflict::BothChanged;
    QTest::newRow("deleted there")
        << true << false << false << false << true << Action::DeleteHere << none;
    QTest::newRow("edited here, deleted there")
        << true << true << false << false << true << Action::Stand << Conflict::EditedHereGoneThere;
    QTest::newRow("deleted here") << false << false << true << false << true << Action::DeleteThere
                                  << none;
    QTest::newRow("deleted here, edited there")
        << false << false << true << true << true << Action::Stand << Conflict::GoneHereEditedThere;
    QTest::newRow("deleted on both sides")
        << false << false << false << false << true << Action::Forget << none;
    QTest::newRow("new here") << true << false << false << false << false << Action::Create << none;
    QTest::newRow("new there") << false << false << true << false << false << Action::Add << none;
    QTest::newRow("on both sides, never synced (state lost)")
        << true << false << true << false << false << Action::Match << none;
}

void TestSyncPlan::oneItem()
{
    QFETCH(bool, here);
    QFETCH(bool, hereChanged);
    QFETCH(bool, there);
    QFETCH(bool, thereChanged);
    QFETCH(bool, synced);
    QFETCH(Action, action);
    QFETCH(Conflict, conflict);

    LocalStates l;
    ServerStates s;
    SyncedStates y;
    if (here)
        l.insert("u1", {hereChanged ? "h2" : "h1"});
    if (there)
        s.insert("u1", {"/book/u1.vcf", thereChanged ? "\"e2\"" : "\"e1\""});
    if (synced)
        y.insert("u1", {"/book/u1.vcf", "\"e1\"", "h1"});

    const QList<PlanItem> plan = planSync(l, s, y);
    QCOMPARE(plan.size(), 1);
    QCOMPARE(plan.at(0).uid, QStringLiteral("u1"));
    QCOMPARE(plan.at(0).action, action);
    QCOMPARE(plan.at(0).conflict, conflict);
    if (synced || there)
        QCOMPARE(plan.at(0).href, QStringLiteral("/book/u1.vcf"));
}

void TestSyncPlan::choicesSettleEveryConflict_data()
{
    QTest::addColumn<bool>("here");
    QTest::addColumn<bool>("there");
    QTest::addColumn<bool>("synced");
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<Action>("action");
    QTest::addColumn<Conflict>("conflict");

    QTest::newRow("both edited, keep local")
        << true << true << true << Choice::Local << Action::Send << Conflict::BothChanged;
    QTest::newRow("both edited, take server")
        << true << true << true << Choice::Server << Action::Take << Conflict::BothChanged;
    QTest::newRow("gone there, keep local") << true << false << true << Choice::Local
                                            << Action::Create << Conflict::EditedHereGoneThere;
    QTest::newRow("gone there, take server") << true << false << true << Choice::Server
                                             << Action::DeleteHere << Conflict::EditedHereGoneThere;
    QTest::newRow("gone here, keep local") << false << true << true << Choice::Local
                                           << Action::DeleteThere << Conflict::GoneHereEditedThere;
    QTest::newRow("gone here, take server")
        << false << true << true << Choice::Server << Action::Add << Conflict::GoneHereEditedThere;
    QTest::newRow("both new, keep local")
        << true << true << false << Choice::Local << Action::Send << Conflict::BothNew;
    QTest::newRow("both new, take server")
        << true << true << false << Choice::Server << Action::Take << Conflict::BothNew;
}

void TestSyncPlan::choicesSettleEveryConflict()
{
    QFETCH(bool, here);
    QFETCH(bool, there);
    QFETCH(bool, synced);
    QFETCH(Choice, choice);
    QFETCH(Action, action);
    QFETCH(Conflict, conflict);

    LocalStates l;
    ServerStates s;
    SyncedStates y;
    if (here)
        l.insert("u1", {"h2"});
    if (there)
        s.insert("u1", {"/book/u1.vcf", "\"e2\""});
    if (synced)
        y.insert("u1", {"/book/u1.vcf", "\"e1\"", "h1"});
    const QList<PlanItem> plan = planSync(l, s, y, {{"u1", choice}});
    QCOMPARE(plan.size(), 1);
    QCOMPARE(plan.at(0).action, action);
    QCOMPARE(plan.at(0).conflict, conflict);

    // A choice for another UID settles nothing here.
    const QList<PlanItem> other = planSync(l, s, y, {{"u2", choice}});
    QVERIFY(other.at(0).action == Action::Stand || other.at(0).action == Action::Match);
}

void TestSyncPlan::writesCarryTheServersEtag()
{
    // The If-Match of a write is what the server holds now, so that a card
    // saved on the server since the listing refuses the write (412).
    const LocalStates l{{"a", {"h2"}}, {"b", {"h1"}}};
    const ServerStates s{{"a", {"/a.vcf", "\"ea\""}}, {"c", {"/c.vcf", "\"ec\""}}};
    const SyncedStates y{{"a", {"/a.vcf", "\"ea\"", "h1"}}};
    const QList<PlanItem> plan = planSync(l, s, y);
    QCOMPARE(plan.size(), 3);
    QCOMPARE(plan.at(0), (PlanItem{"a", Action::Send, Conflict::None, "/a.vcf", "\"ea\""}));
    QCOMPARE(plan.at(1), (PlanItem{"b", Action::Create, Conflict::None, {}, {}}));
    QCOMPARE(plan.at(2), (PlanItem{"c", Action::Add, Conflict::None, "/c.vcf", "\"ec\""}));
}

void TestSyncPlan::multistatusOfRadicale()
{
    const QByteArray body =
        R"(<?xml version='1.0' encoding='utf-8'?>
<multistatus xmlns="DAV:" xmlns:CR="urn:ietf:params:xml:ns:carddav" xmlns:C="urn:ietf:params:xml:ns:caldav">
<response><href>/alice/book/</href><propstat><prop><getetag>"4cd8"</getetag>
<resourcetype><CR:addressbook /><collection /></resourcetype><displayname>Clients</displayname>
<sync-token>http://radicale.org/ns/sync/c133</sync-token></prop>
<status>HTTP/1.1 200 OK</status></propstat></response>
<response><href>/alice/book/x%201.vcf</href><propstat><prop><getetag>"71c7"</getetag>
<resourcetype /><CR:address-data>BEGIN:VCARD&#13;
UID:x1&#13;
END:VCARD&#13;
</CR:address-data></prop><status>HTTP/1.1 200 OK</status></propstat>
<propstat><prop><displayname /></prop><status>HTTP/1.1 404 Not Found</status></propstat></response>
<response><href>/alice/tasks/</href><propstat><prop><resourcetype><collection/><C:calendar/></resourcetype>
<C:supported-calendar-component-set><C:comp name="VEVENT"/><C:comp name="VTODO"/></C:supported-calendar-component-set>
</prop><status>HTTP/1.1 200 OK</status></propstat></response>
<response><href>/alice/gone.vcf</href><status>HTTP/1.1 404 Not Found</status></response>
<response><href>/</href><propstat><prop><current-user-principal><href>/alice/</href></current-user-principal>
<CR:addressbook-home-set><href>/alice/</href></CR:addressbook-home-set></prop>
<status>HTTP/1.1 200 OK</status></propstat></response>
</multistatus>)";
    const auto ms = parseMultistatus(body);
    QVERIFY(ms);
    QCOMPARE(ms->resources.size(), 5);
    const DavResource& book = ms->resources.at(0);
    QVERIFY(book.collection && book.addressBook && !book.calendar);
    QCOMPARE(book.displayName, QStringLiteral("Clients"));
    QCOMPARE(book.etag, QStringLiteral("\"4cd8\""));
    const DavResource& card = ms->resources.at(1);
    QCOMPARE(card.href, QStringLiteral("/alice/book/x%201.vcf"));
    QCOMPARE(card.status, 200);
    QVERIFY(!card.collection);
    QCOMPARE(card.data, QByteArray("BEGIN:VCARD\r\nUID:x1\r\nEND:VCARD\r\n"));
    QVERIFY(ms->resources.at(2).calendar && ms->resources.at(2).calendarHoldsTasks);
    QCOMPARE(ms->resources.at(3).status, 404);
    QCOMPARE(ms->resources.at(4).principal, QStringLiteral("/alice/"));
    QCOMPARE(ms->resources.at(4).addressHome, QStringLiteral("/alice/"));
}

void TestSyncPlan::multistatusRefused_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("cut short") << QByteArray("<multistatus xmlns=\"DAV:\"><response><href>/a");
    QTest::newRow("not XML") << QByteArray("BEGIN:VCARD\r\n");
    QTest::newRow("no multistatus") << QByteArray("<html><body>Proxy error</body></html>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("mismatched tags")
        << QByteArray("<multistatus xmlns=\"DAV:\"><response></multistatus>");
}

void TestSyncPlan::multistatusRefused()
{
    QFETCH(QByteArray, body);
    QString why;
    QVERIFY(!parseMultistatus(body, &why));
    QVERIFY(!why.isEmpty());
}

QTEST_GUILESS_MAIN(TestSyncPlan)
#include "tst_sync_plan.moc"
