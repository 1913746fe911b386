// `tarvik sync` as a scheduled job runs it: the real program against a real
// Radicale on 127.0.0.1, its exit statuses, what it keeps for the next run,
// and a run killed in the middle that the next one finishes.
#include "../sync/radicale_server.h"
#include "contacts/contact_record.h"
#include "storage/block_list.h"
#include "support/temp_files.h"
#include "sync/dav_client.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;
using namespace tarvik::testing;

class TestSyncCommand : public QObject
{
    Q_OBJECT

private:
    RadicaleServer m_server;
    QTemporaryDir m_dir;
    QString m_password;
    int m_books = 0;

    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };
    Run tarvik(const QStringList& arguments)
    {
        QProcess p;
        p.start(QStringLiteral(TARVIK_EXE), QStringList{"sync"} + arguments);
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromLocal8Bit(p.readAllStandardOutput()),
                QString::fromLocal8Bit(p.readAllStandardError())};
    }
    QString contactFile(const QString& name, int records)
    {
        BlockList list;
        for (int i = 0; i < records; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = "Client " + QByteArray::number(i);
            r.phone = "02 99 00 " + QByteArray::number(1000 + i);
            list.append(contact::blockLines(r, i));
        }
        const QString path = m_dir.filePath(name);
        blocks::saveFile(path, list);
        return path;
    }
    QUrl newBook()
    {
        sync::DavClient c;
        c.setCredentials("alice", "secret");
        const QUrl url = m_server.url(QStringLiteral("/alice/cli%1/").arg(++m_books));
        c.makeAddressBook(url, QStringLiteral("Clients"));
        return url;
    }
    // The cards Radicale holds in `book`, from its storage folder.
    int cardsOnServer(const QUrl& book)
    {
        sync::DavClient c;
        c.setCredentials("alice", "secret");
        const sync::DavReply r = c.listMembers(book);
        const auto ms = sync::parseMultistatus(r.body);
        int n = 0;
        for (const sync::DavResource& res : ms ? ms->resources : QList<sync::DavResource>{})
            n += res.collection ? 0 : 1;
        return n;
    }

private slots:
    void initTestCase()
    {
        START_RADICALE(m_server);
        m_password = m_dir.filePath("pw");
        writeBytes(m_password, "secret\n");
        QFile::setPermissions(m_password, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    void statusesAndKeptSettings();
    void killedRunIsFinishedByTheNext();
};

void TestSyncCommand::statusesAndKeptSettings()
{
    const QString file = contactFile("equipe.ctc", 3);
    const QUrl book = newBook();

    QCOMPARE(tarvik({}).status, 2);
    QCOMPARE(tarvik({"--prefer", "both", file}).status, 2);
    const QString open = m_dir.filePath("open-pw");
    writeBytes(open, "secret\n");
    QFile::setPermissions(open, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadOther);
    Run r = tarvik({"--server", book.toString(), "--user", "alice", "--password-file", open, file});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("lisible par d'autres"), qPrintable(r.err));
    r = tarvik({"--server", "http://192.0.2.1/dav/", "--password-file", m_password, file});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("https"), qPrintable(r.err));
    const QByteArray before = readBytes(file);

    // The address book given directly: no calendar, and the command says so.
    r = tarvik(
        {"--server", book.toString(), "--user", "alice", "--password-file", m_password, file});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains("3 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"),
             qPrintable(r.out + r.err));
    QVERIFY(r.out.contains("--calendar"));
    QCOMPARE(cardsOnServer(book), 3);
    QCOMPARE(readBytes(file), before); // nothing of the file's own lines changed
    const QByteArray dav = readBytes(m_dir.filePath("equipe.dav"));
    QVERIFY(dav.contains("alice"));
    QVERIFY(!dav.contains("secret"));
    QVERIFY(QFile::exists(m_dir.filePath("equipe.uid")));

    // The next time, the password file is enough.
    r = tarvik({"--password-file", m_password, file});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains("0 envoyée(s), 0 reçue(s)"), qPrintable(r.out + r.err));

    // A wrong password is an error, and nothing is lost.
    const QString wrong = m_dir.filePath("wrong-pw");
    writeBytes(wrong, "nope");
    QFile::setPermissions(wrong, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    r = tarvik({"--password-file", wrong, file});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("401"), qPrintable(r.err));
    QCOMPARE(readBytes(file), before);
}

void TestSyncCommand::killedRunIsFinishedByTheNext()
{
    const int records = 300;
    const QString file = contactFile("gros.ctc", records);
    const QUrl book = newBook();
    QProcess p;
    p.start(QStringLiteral(TARVIK_EXE), {"sync", "--server", book.toString(), "--user", "alice",
                                         "--password-file", m_password, file});
    QVERIFY(p.waitForStarted());
    // Killed once part of the cards are on the server.
    QTRY_VERIFY_WITH_TIMEOUT(cardsOnServer(book) >= 40, 60000);
    p.kill();
    p.waitForFinished();
    const int sentBefore = cardsOnServer(book);
    QVERIFY(sentBefore < records);

    const Run r = tarvik(
        {"--server", book.toString(), "--user", "alice", "--password-file", m_password, file});
    QCOMPARE(r.status, 0);
    QCOMPARE(cardsOnServer(book), records);
    BlockList list = blocks::loadFile(file);
    QCOMPARE(blocks::countHeaders(list), records);
    const Run again = tarvik({"--password-file", m_password, file});
    QCOMPARE(again.status, 0);
    QVERIFY2(again.out.contains("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"),
             qPrintable(again.out));
}

QTEST_GUILESS_MAIN(TestSyncCommand)
#include "tst_sync_command.moc"
