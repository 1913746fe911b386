// The sync as a user runs it from the real main window, against a real
// Radicale on 127.0.0.1: the server set in "Synchronisation...", the command
// turned on by it, an edit still pending in the window sent, and a record
// changed on both sides left to the user's choice in the conflict list.
#include "../sync/radicale_server.h"
#include "app/main_form.h"
#include "contacts/contact_record.h"
#include "storage/block_list.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"
#include "sync/dav_client.h"
#include "sync/dav_state.h"
#include "sync/multistatus.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace tarvik;
using namespace tarvik::testing;

class TstSyncWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void settingsThenSyncFromTheMenu();
    void conflictLeftToTheUser();
    void passwordAskedForTheRun();

private:
    RadicaleServer m_server;
    int m_books = 0;
    QString m_oldCwd;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<FakeClockSetter> m_setter;
    std::unique_ptr<RecordBook> m_book;
    std::unique_ptr<TMainForm> m_form;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    QAction* action(const char* name) { return m_form->action(QLatin1String(name)); }
    template <typename T> T* in(QWidget* w, const char* name)
    {
        T* child = w->findChild<T*>(QLatin1String(name));
        if (!child)
            qWarning("no child %s", name);
        return child;
    }

    QUrl newBook(const QString& user = QStringLiteral("alice"))
    {
        sync::DavClient c;
        c.setCredentials(user, "secret");
        const QUrl url = m_server.url(QStringLiteral("/%1/equipe%2/").arg(user).arg(++m_books));
        c.makeAddressBook(url, QStringLiteral("Equipe"));
        return url;
    }
    // The cards of `book` as the server holds them, by href.
    QHash<QUrl, sync::DavReply> cards(const QUrl& book,
                                      const QString& user = QStringLiteral("alice"))
    {
        sync::DavClient c;
        c.setCredentials(user, "secret");
        QHash<QUrl, sync::DavReply> out;
        const auto ms = sync::parseMultistatus(c.listMembers(book).body);
        for (const sync::DavResource& r : ms ? ms->resources : QList<sync::DavResource>{}) {
            if (r.collection)
                continue;
            const QUrl url = book.resolved(QUrl(r.href));
            out.insert(url, c.send("GET", url));
        }
        return out;
    }
    void openFile(int records)
    {
        BlockList list;
        for (int i = 0; i < records; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = "Client " + QByteArray::number(i);
            r.town = "Rennes";
            list.append(contact::blockLines(r, i));
        }
        blocks::saveFile(path("equipe.ctc"), list);
        m_prompter->openAnswers.push_back(Prompter::FileChoice{path("equipe.ctc"), 1});
        action("OpenItem")->trigger();
        QCOMPARE(m_book->recordCount(), records);
    }
    // Runs `trigger`, which opens the modal window `name` (the progress
    // window may come first), and `answer` on that window once it shows.
    void withModal(const QString& name, const std::function<void()>& trigger,
                   const std::function<void(QWidget*)>& answer)
    {
        bool answered = false;
        std::function<void()> look;
        look = [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (w && w->objectName() == name) {
                answered = true;
                answer(w);
                return;
            }
            QTimer::singleShot(20, look);
        };
        QTimer::singleShot(20, look);
        trigger();
        QVERIFY(answered);
    }
    void setServer(const QUrl& book);
};

void TstSyncWindow::initTestCase()
{
    // No desktop keyring here, as on a server without a session: the
    // password is then asked for and kept for the run only.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    START_RADICALE(m_server);
}

void TstSyncWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    // The program keeps its own files beside it: here, in the test's folder.
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<FixedClock>();
    m_setter = std::make_unique<FakeClockSetter>();
    startForm(m_form, m_book, *m_prompter, *m_clock, *m_setter);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TstSyncWindow::cleanup()
{
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
    m_form->close();
    m_form.reset();
    m_book.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TstSyncWindow::setServer(const QUrl& book)
{
    withModal(
        QStringLiteral("SyncSettingsDialog"), [&] { action("Synchronisation1")->trigger(); },
        [&](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("SyncSettingsDialog"));
            in<QLineEdit>(w, "SyncServerEdit")->setText(book.toString());
            in<QLineEdit>(w, "SyncUserEdit")->setText(QStringLiteral("alice"));
            in<QLineEdit>(w, "SyncPasswordEdit")->setText(QStringLiteral("secret"));
            QTest::mouseClick(in<QPushButton>(w, "SyncTestButton"), Qt::LeftButton);
            auto* books = in<QComboBox>(w, "SyncAddressBookCombo");
            QCOMPARE(books->count(), 1);
            QCOMPARE(books->currentData().toUrl(), book);
            static_cast<QDialog*>(w)->accept();
        });
}

void TstSyncWindow::settingsThenSyncFromTheMenu()
{
    openFile(3);
    // A file open, but no server yet: nothing to sync with.
    QVERIFY(!action("Synchroniser1")->isEnabled());
    const QUrl book = newBook();
    setServer(book);
    QVERIFY2(m_prompter->texts("information").join('\n').contains("trousseau"),
             qPrintable(m_prompter->texts("information").join('\n')));
    QVERIFY(action("Synchroniser1")->isEnabled());
    QCOMPARE(QKeySequence::fromString("Ctrl+Shift+S"), action("Synchroniser1")->shortcut());

    // An edit still in the window goes with the sync, and the file is saved.
    auto* name = m_form->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Client Sud");
    m_prompter->asked.clear();
    action("Synchroniser1")->trigger();
    const QStringList said = m_prompter->texts("information");
    QVERIFY2(!said.isEmpty() &&
                 said.last() == "3 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)",
             qPrintable(said.join('\n')));
    const auto onServer = cards(book);
    QCOMPARE(onServer.size(), 3);
    int typed = 0;
    for (const sync::DavReply& r : onServer)
        typed += QString::fromUtf8(r.body).contains(QStringLiteral("Client Sud")) ? 1 : 0;
    QCOMPARE(typed, 1);
    QVERIFY(readBytes(path("equipe.ctc")).contains("Client Sud\r\n"));
    QVERIFY(!readBytes(path("equipe.dav")).contains("secret"));

    // In sync: the next run sends and takes nothing.
    m_prompter->asked.clear();
    action("Synchroniser1")->trigger();
    QCOMPARE(m_prompter->texts("information").last(),
             QStringLiteral("0 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
}

void TstSyncWindow::conflictLeftToTheUser()
{
    openFile(2);
    const QUrl book = newBook();
    setServer(book);
    action("Synchroniser1")->trigger();
    QCOMPARE(cards(book).size(), 2);

    // The first record changed on the server by a colleague...
    sync::DavClient c;
    c.setCredentials("alice", "secret");
    const auto onServer = cards(book);
    int changed = 0;
    for (auto it = onServer.begin(); it != onServer.end(); ++it) {
        QByteArray card = it.value().body;
        if (!card.contains("Client 0"))
            continue;
        card.replace("Client 0", "Client du serveur");
        QVERIFY(c.put(it.key(), card, "text/vcard; charset=utf-8", it.value().etag).ok());
        ++changed;
    }
    QCOMPARE(changed, 1);
    // ...and here, where the window shows it.
    QCOMPARE(m_book->currentRecord(), 0);
    auto* town = m_form->findChild<QLineEdit*>(QStringLiteral("Edit5"));
    town->setFocus();
    town->selectAll();
    QTest::keyClicks(town, "Brest");

    // The user takes the server's record from the conflict list.
    m_prompter->asked.clear();
    QString listed;
    withModal(
        QStringLiteral("SyncConflictDialog"), [&] { action("Synchroniser1")->trigger(); },
        [&](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("SyncConflictDialog"));
            listed = w->findChild<QWidget*>(QStringLiteral("SyncConflictTable"))
                         ->property("rowCount")
                         .toString();
            QTest::mouseClick(in<QPushButton>(w, "SyncAllServerButton"), Qt::LeftButton);
            QTest::mouseClick(in<QPushButton>(w, "SyncApplyButton"), Qt::LeftButton);
        });
    QCOMPARE(listed, QStringLiteral("1"));
    QVERIFY2(m_prompter->texts("information").last().endsWith("0 conflit(s)"),
             qPrintable(m_prompter->texts("information").join('\n')));
    const QByteArray saved = readBytes(path("equipe.ctc"));
    QVERIFY(saved.contains("Client du serveur\r\n"));
    QVERIFY(!saved.contains("Brest"));
    int serverKept = 0;
    for (const sync::DavReply& r : cards(book))
        serverKept += r.body.contains("Client du serveur") && !r.body.contains("Brest") ? 1 : 0;
    QCOMPARE(serverKept, 1);
}

// Settings kept from an earlier session, and no keyring: the password is
// asked for, and a cancelled question sends nothing.
void TstSyncWindow::passwordAskedForTheRun()
{
    openFile(2);
    // Another user: no password of the run is known for him yet.
    const QUrl book = newBook(QStringLiteral("bob"));
    sync::DavState state;
    state.server = book;
    state.addressBook = book;
    state.user = QStringLiteral("bob");
    m_book->setSyncState(state);
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("equipe.ctc"), 1});
    action("OpenItem")->trigger();
    QVERIFY(action("Synchroniser1")->isEnabled());

    m_prompter->asked.clear();
    m_prompter->inputAnswers.push_back(std::nullopt);
    action("Synchroniser1")->trigger();
    QVERIFY2(m_prompter->texts("information").isEmpty(),
             qPrintable(m_prompter->texts("information").join(u'\n')));
    QCOMPARE(cards(book, QStringLiteral("bob")).size(), 0);

    m_prompter->inputAnswers.push_back(QStringLiteral("secret"));
    action("Synchroniser1")->trigger();
    QCOMPARE(m_prompter->texts("information").last(),
             QStringLiteral("2 envoyée(s), 0 reçue(s), 0 supprimée(s), 0 conflit(s)"));
    QCOMPARE(cards(book, QStringLiteral("bob")).size(), 2);
}

QTEST_MAIN(TstSyncWindow)
#include "tst_sync_window.moc"
