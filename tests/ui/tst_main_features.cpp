#include "app/help_window.h"
#include "app/main_form.h"
#include "contacts/ui/fiche.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"
#include "support/window_class.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tarvik;

// The commands of the main window that open other windows or reach other
// parts of the program, driven through the real menu items.
class TstMainFeatures : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void importThroughTheMenu();
    void importOfAMissingFile();
    void exportThroughTheMenu();
    void selectionCheckMarks();
    void accessoriesOpenModally_data();
    void accessoriesOpenModally();
    void helpItemsOpenTheHelp();
    void listWindowFromF2();
    void companyDialogFromTheMenu();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<FakeClockSetter> m_setter;
    std::unique_ptr<RecordBook> m_book;
    std::unique_ptr<TMainForm> m_form;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    RecordBook& book() { return *m_book; }
    // Runs `trigger`, which opens a modal window; returns that window's
    // caption and class after closing it with Escape.
    QPair<QString, QString> closeModal(const std::function<void()>& trigger)
    {
        QPair<QString, QString> seen;
        QTimer::singleShot(100, [&seen] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w)
                return;
            seen = {w->windowTitle(), windowClass(w)};
            QTest::keyClick(w, Qt::Key_Escape);
            if (w->isVisible())
                if (auto* d = qobject_cast<QDialog*>(w))
                    d->reject();
        });
        trigger();
        return seen;
    }
};

void TstMainFeatures::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<FixedClock>();
    m_setter = std::make_unique<FakeClockSetter>();
    startForm(m_form, m_book, *m_prompter, *m_clock, *m_setter);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TstMainFeatures::cleanup()
{
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
    m_form->close();
    m_form.reset();
    if (HelpWindow* h = HelpWindow::instance())
        h->close();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TstMainFeatures::importThroughTheMenu()
{
    writeBytes(
        path("clients.txt"),
        "Alpha\t1 rue A\t\t75001\tParis\t0102\t0103\r\nBeta\t2 rue B\t\t69001\tLyon\t\t\r\n");
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("clients.txt"), 1});
    m_form->action("Importer1")->trigger();
    QCOMPARE(book().recordCount(), 2);
    QCOMPARE(book().shown().name, QByteArray("Alpha")); // all records, first one
    QVERIFY(book().flags().fileModified);
    QVERIFY(m_form->action("SaveItem")->isEnabled());
    QVERIFY(m_form->action("Touteslesfiches1")->isChecked());
    QCOMPARE(m_prompter->texts("information").size(), 1);
    QCOMPARE(m_prompter->lastFilters.size(), 5); // the three text and dBase entries, vCard, CSV
}

void TstMainFeatures::importOfAMissingFile()
{
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("absent.txt"), 1});
    m_form->action("Importer1")->trigger();
    QCOMPARE(m_prompter->texts("information"),
             QStringList{"Le ficher " + path("absent.txt") + "n'existe pas"});
    QVERIFY(!book().flags().fileModified);
    QVERIFY(!m_form->action("SaveItem")->isEnabled());
}

void TstMainFeatures::exportThroughTheMenu()
{
    writeBytes(path("clients.txt"), "Alpha & fils\t1 rue A\t\t75001\tParis\t0102\t\r\n");
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("clients.txt"), 1});
    m_form->action("Importer1")->trigger();

    // The town edited and not saved is exported; a name without a dot gets
    // the extension of the chosen entry.
    auto* town = m_form->findChild<QLineEdit*>("Edit5");
    town->end(false);
    QTest::keyClicks(town, " 8e");
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{path("sortie"), 2});
    m_form->action("Exporter1")->trigger();
    QCOMPARE(readBytes(path("sortie.csv")),
             QByteArray("Alpha & fils;1 rue A;;75001;Paris 8e;0102;\r\n"));
}

void TstMainFeatures::selectionCheckMarks()
{
    m_form->newFile();
    m_form->action("Alarme1")->trigger();
    QVERIFY(m_form->action("Alarme1")->isChecked());
    QVERIFY(!m_form->action("Touteslesfiches1")->isChecked());
    QCOMPARE(book().selectionMode(), 2);
    m_form->action("Venteaboutie1")->trigger();
    QVERIFY(!m_form->action("Alarme1")->isChecked());
    QVERIFY(m_form->action("Venteaboutie1")->isChecked());

    // New file: all records again.
    m_form->newFile();
    QVERIFY(m_form->action("Touteslesfiches1")->isChecked());
    QVERIFY(!m_form->action("Venteaboutie1")->isChecked());
    QCOMPARE(book().selectionMode(), 1);

    // The operations items are reachable on the operations page only.
    QVERIFY(!m_form->action("Type1")->isEnabled());
    m_form->action("SpeedButton13")->trigger();
    QVERIFY(m_form->action("Type1")->isEnabled());
    QVERIFY(!m_form->action("Alarme1")->isEnabled());
    const auto seen = closeModal([this] { m_form->action("Type1")->trigger(); });
    QCOMPARE(seen.first, QStringLiteral("Type d'opération"));
    QVERIFY(m_form->action("Type1")->isChecked());
    QVERIFY(!m_form->action("Touteslesfiches2")->isChecked());
    m_form->action("Touteslesfiches2")->trigger();
    QVERIFY(m_form->action("Touteslesfiches2")->isChecked());
    QVERIFY(!m_form->action("Type1")->isChecked());
}

void TstMainFeatures::accessoriesOpenModally_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("className");
    QTest::newRow("calendar") << "Calendrier1"
                              << "TCalendrier";
    QTest::newRow("calculator") << "Calculatrice1"
                                << "TPocket";
    QTest::newRow("clock") << "Horloge1"
                           << "THorloge";
    QTest::newRow("converter") << "Eutoconversion1"
                               << "TEurof";
    QTest::newRow("notepad") << "Blocnotes1"
                             << "TBlocnotes";
    QTest::newRow("departements") << "Dpartements1"
                                  << "TDepart";
    QTest::newRow("postage") << "Pselettres1"
                             << "TPLettre";
    QTest::newRow("first names") << "Prnoms1"
                                 << "TPrenoms";
}

void TstMainFeatures::accessoriesOpenModally()
{
    QFETCH(QString, item);
    QFETCH(QString, className);
    const auto seen = closeModal([this, item] { m_form->action(item)->trigger(); });
    QCOMPARE(seen.second, className);
    QVERIFY(!seen.first.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
    // The notepad, opened and closed without typing, writes nothing.
    QVERIFY(!QFile::exists(path("Contact.nte")));
}

void TstMainFeatures::helpItemsOpenTheHelp()
{
    for (const char* item : {"Index1", "Rechercher1", "Utiliserlaide1"}) {
        m_form->action(item)->trigger();
        QVERIFY(HelpWindow::instance());
        QVERIFY(HelpWindow::instance()->isVisible());
    }
}

void TstMainFeatures::listWindowFromF2()
{
    writeBytes(path("clients.txt"), "Alpha\r\nBeta\r\nGamma\r\n");
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("clients.txt"), 1});
    m_form->action("Importer1")->trigger();
    auto* name = m_form->findChild<QLineEdit*>("Edit1");
    const auto seen = closeModal([name] { QTest::keyClick(name, Qt::Key_F2); });
    QCOMPARE(seen.first, QStringLiteral("Liste des contacts"));
    QCOMPARE(book().currentRecord(), 0);
}

void TstMainFeatures::companyDialogFromTheMenu()
{
    const auto seen = closeModal([this] { m_form->action("Socit1")->trigger(); });
    QCOMPARE(seen.first, QStringLiteral("Société"));
    const auto pick = closeModal([this] { m_form->action("Relance1")->trigger(); });
    QCOMPARE(pick.first, QStringLiteral("Les types de relance"));
}

QTEST_MAIN(TstMainFeatures)
#include "tst_main_features.moc"
