// The sync's two windows: its settings ("Tester" fills the lists from what
// the server has) and the conflict list (a choice per record, or for all).
#include "platform/errors.h"
#include "sync/dav_client.h"
#include "sync/ui/sync_conflict_dialog.h"
#include "sync/ui/sync_settings_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace tarvik;
using namespace tarvik::sync;

class TestSyncDialogs : public QObject
{
    Q_OBJECT

private slots:
    void settingsTestFillsTheLists();
    void settingsRefusePlainHttpToAnotherHost();
    void conflictListChoices();

private:
    // With TARVIK_SCREENSHOTS set to a folder, the windows are kept there as
    // pictures for the documentation.
    static void keepPicture(QWidget& w, const QString& name)
    {
        const QString folder = qEnvironmentVariable("TARVIK_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        w.show();
        QTest::qWait(50);
        w.grab().save(QDir(folder).filePath(name));
    }
};

void TestSyncDialogs::settingsTestFillsTheLists()
{
    DavState kept;
    kept.server = QUrl("https://dav.exemple.fr/");
    kept.user = QStringLiteral("anne");
    kept.addressBook = QUrl("https://dav.exemple.fr/anne/equipe/");
    kept.cards.insert("u1", {"/anne/equipe/u1.vcf", "\"1\"", "h"});

    QUrl askedServer;
    QString askedPassword;
    auto discover = [&](const QUrl& server, const QString&, const QString& password) {
        askedServer = server;
        askedPassword = password;
        Discovery d;
        d.principal = QUrl("https://dav.exemple.fr/anne/");
        d.addressBooks = {{QUrl("https://dav.exemple.fr/anne/perso/"), QStringLiteral("Perso")},
                          {QUrl("https://dav.exemple.fr/anne/equipe/"), QStringLiteral("Équipe")}};
        d.calendars = {{QUrl("https://dav.exemple.fr/anne/taches/"), QStringLiteral("Tâches")}};
        return d;
    };
    SyncSettingsDialog dialog(kept, QString(), discover);
    auto* password = dialog.findChild<QLineEdit*>("SyncPasswordEdit");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QTest::keyClicks(password, "s3cret");
    QTest::mouseClick(dialog.findChild<QPushButton*>("SyncTestButton"), Qt::LeftButton);
    QCOMPARE(askedServer, kept.server);
    QCOMPARE(askedPassword, QStringLiteral("s3cret"));

    auto* books = dialog.findChild<QComboBox*>("SyncAddressBookCombo");
    auto* calendars = dialog.findChild<QComboBox*>("SyncCalendarCombo");
    QCOMPARE(books->count(), 2);
    // The book kept for the file stays the one chosen.
    QCOMPARE(books->currentData().toUrl(), kept.addressBook);
    QCOMPARE(calendars->count(), 2);
    QCOMPARE(calendars->currentData().toUrl(), QUrl("https://dav.exemple.fr/anne/taches/"));
    QCOMPARE(dialog.findChild<QLabel*>("SyncFoundLabel")->text(),
             QStringLiteral("2 carnet(s) d'adresses, 1 calendrier(s) de tâches trouvé(s)"));
    keepPicture(dialog, "sync_settings.png");

    DavState chosen = dialog.state();
    QCOMPARE(chosen.addressBook, kept.addressBook);
    QCOMPARE(chosen.cards, kept.cards);
    QCOMPARE(chosen.calendar, QUrl("https://dav.exemple.fr/anne/taches/"));
    QCOMPARE(dialog.password(), QStringLiteral("s3cret"));

    // Another book: what was synced with the old one no longer counts.
    books->setCurrentIndex(0);
    QVERIFY(dialog.state().cards.isEmpty());

    // A server that refuses is said in the window, and nothing is lost.
    SyncSettingsDialog refused(
        kept, QString(), [](const QUrl&, const QString&, const QString&) -> Discovery {
            throw TarvikError(QStringLiteral("Nom d'utilisateur ou mot de passe refusé par le "
                                             "serveur (401)"));
        });
    QTest::mouseClick(refused.findChild<QPushButton*>("SyncTestButton"), Qt::LeftButton);
    QVERIFY(refused.findChild<QLabel*>("SyncFoundLabel")->text().contains("401"));
    QCOMPARE(refused.state().addressBook, kept.addressBook);
}

void TestSyncDialogs::settingsRefusePlainHttpToAnotherHost()
{
    SyncSettingsDialog dialog(
        {}, QString(), [](const QUrl&, const QString&, const QString&) { return Discovery{}; });
    auto* server = dialog.findChild<QLineEdit*>("SyncServerEdit");
    server->setText("http://dav.exemple.fr/");
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.findChild<QLabel*>("SyncFoundLabel")->text().contains("https"));
    server->setText("http://127.0.0.1:5232/");
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestSyncDialogs::conflictListChoices()
{
    QList<SyncConflict> conflicts = {
        {"u1", Conflict::BothChanged, "Boulangerie Riou", "Boulangerie Riou", "Téléphone, Ville"},
        {"u2", Conflict::EditedHereGoneThere, "Garage Le Goff", {}, "modifiée ici"},
        {"u3", Conflict::GoneHereEditedThere, {}, "Pharmacie Tanguy", "modifiée sur le serveur"},
    };
    SyncConflictDialog dialog(conflicts);
    auto* table = dialog.findChild<QTableWidget*>("SyncConflictTable");
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("Modifiée ici et sur le serveur"));
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("(supprimée)"));
    QCOMPARE(table->item(2, 0)->text(), QStringLiteral("(supprimée)"));
    // Nothing is decided until the user says so.
    QVERIFY(dialog.choices().isEmpty());

    auto* second = dialog.findChild<QComboBox*>("SyncConflictChoice1");
    second->setCurrentIndex(2);
    QCOMPARE(dialog.choices(), (Choices{{"u2", Choice::Server}}));
    keepPicture(dialog, "sync_conflicts.png");

    QTest::mouseClick(dialog.findChild<QPushButton*>("SyncAllLocalButton"), Qt::LeftButton);
    QCOMPARE(dialog.choices(),
             (Choices{{"u1", Choice::Local}, {"u2", Choice::Local}, {"u3", Choice::Local}}));
    QTest::mouseClick(dialog.findChild<QPushButton*>("SyncAllServerButton"), Qt::LeftButton);
    QCOMPARE(dialog.choices().value("u3"), Choice::Server);
}

QTEST_MAIN(TestSyncDialogs)
#include "tst_sync_dialogs.moc"
