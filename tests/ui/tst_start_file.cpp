// The contact file named on the command line, opened by the real main window
// at its first show.
#include "app/main_form.h"
#include "contacts/ui/fiche.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tarvik;

namespace {

QByteArray contactFile(const QList<QByteArray>& names)
{
    QByteArray data;
    for (int n = 0; n < names.size(); ++n) {
        const QByteArray number = QByteArray::number(n).rightJustified(5, '0');
        data += "<BLOC" + number + ">\r\n" + QByteArray::number(10001 + n) + "\r\n" + names[n] +
                "\r\n1 rue A\r\n\r\n75001\r\nParis\r\n0102030405\r\n\r\n\r\n\r\nM.\r\nDupont\r\n"
                "\r\nVisite\r\n01/02/2026\r\n10:00:00\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                "01/03/2026\r\n00:00:00\r\n\r\nN\r\nN\r\n</BLOC" +
                number + ">\r\n";
    }
    return data;
}

QByteArray iniOpening(const QString& last, int selectionMode)
{
    return " 0.00000000000000E+0000\r\n" + last.toLocal8Bit() +
           "\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n" + "0\r\n0\r\n" + QByteArray::number(selectionMode) +
           "\r\n\r\n\r\n";
}

} // namespace

class TstStartFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensTheFile_data();
    void opensTheFile();
    void refusedLikeOpen_data();
    void refusedLikeOpen();
    void winsOverAutoOpen();
    void refusedFileLeavesAutoOpenFileClosed();
    void noFileStartsAsBefore();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    FixedClock m_clock;
    FakeClockSetter m_setter;
    std::unique_ptr<RecordBook> m_book;
    std::unique_ptr<TMainForm> m_form;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    void start(const QString& file)
    {
        startForm(m_form, m_book, *m_prompter, m_clock, m_setter);
        m_form->setStartFile(file);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    RecordBook& book() { return *m_book; }
    QString shownName() const
    {
        return m_form->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text();
    }
};

void TstStartFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void TstStartFile::cleanup()
{
    if (m_form) {
        m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
        m_form->close();
        m_form.reset();
    }
    m_prompter.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TstStartFile::opensTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << "clients.ctc";
    QTest::newRow("upper case") << "CLIENTS.CTC";
    QTest::newRow("folder with a dot") << "v1.2/clients.ctc";
}

void TstStartFile::opensTheFile()
{
    QFETCH(QString, name);
    QVERIFY(QDir().mkpath(QFileInfo(path(name)).path()));
    writeBytes(path(name), contactFile({"Boulangerie Lef\xe8vre", "Garage Martin", "Fleurs"}));
    start(path(name));
    QVERIFY(m_prompter->asked.isEmpty());
    QCOMPARE(m_form->fileName(), path(name));
    QCOMPARE(book().contactPath(), path(name));
    QCOMPARE(book().recordCount(), 3);
    QCOMPARE(book().currentRecord(), 0);
    QCOMPARE(shownName(), QStringLiteral("Boulangerie Lefèvre"));
    // The commands are enabled as after an Open.
    QVERIFY(m_form->action("SaveItem")->isEnabled());
    QVERIFY(m_form->action("Suivant1")->isEnabled());
    QVERIFY(m_form->action("Exporter1")->isEnabled());
    QVERIFY(m_form->action("Touteslesfiches1")->isChecked());
    QVERIFY(!m_form->action("Ouvrirautomatiquement1")->isChecked());
    // What is opened is saved back to the same place.
    m_form->action("SpeedButton4")->trigger();
    QCOMPARE(book().currentRecord(), 1);
    QVERIFY(m_form->saveFile());
    QVERIFY(readBytes(path(name)).contains("Garage Martin"));
}

void TstStartFile::refusedLikeOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("fileNameAfter");

    QTest::newRow("other extension")
        << "clients.txt" << true << "Type de fichier non valide" << QString();
    QTest::newRow("no extension") << "clients" << true << "Type de fichier non valide" << QString();
    QTest::newRow("ctc inside the name")
        << "clients.ctc.bak" << true << "Type de fichier non valide" << QString();
    // The chosen path stays the current file name, as after Open.
    QTest::newRow("missing") << "absent.ctc" << false << "Le fichier n'existe pas"
                             << "absent.ctc";
}

void TstStartFile::refusedLikeOpen()
{
    QFETCH(QString, name);
    QFETCH(bool, create);
    QFETCH(QString, message);
    QFETCH(QString, fileNameAfter);
    if (create)
        writeBytes(path(name), contactFile({"Ne doit pas \xeatre lu"}));
    start(path(name));
    QCOMPARE(m_prompter->texts(), QStringList{message});
    QCOMPARE(m_prompter->asked.first().kind, QStringLiteral("information"));
    QCOMPARE(m_form->fileName(), fileNameAfter.isEmpty() ? QString() : path(fileNameAfter));
    QVERIFY(book().contactPath().isEmpty());
    QCOMPARE(book().recordCount(), 1);
    QVERIFY(shownName().isEmpty());
    // Nothing was opened: the commands stay as at a plain start.
    QVERIFY(!m_form->action("SaveItem")->isEnabled());
    QVERIFY(!m_form->action("Suivant1")->isEnabled());
    QVERIFY(m_form->action("Touteslesfiches1")->isChecked());
}

void TstStartFile::winsOverAutoOpen()
{
    writeBytes(path("last.ctc"), contactFile({"Dernier fichier"}));
    writeBytes(path("given.ctc"), contactFile({"Fichier donn\xe9", "Autre"}));
    writeBytes(path("Tarvik.ini"), iniOpening(path("last.ctc"), 2));
    start(path("given.ctc"));
    QVERIFY(m_prompter->asked.isEmpty());
    QCOMPARE(m_form->fileName(), path("given.ctc"));
    QCOMPARE(book().recordCount(), 2);
    // As an auto-open: the option stays checked, the stored selection mode too.
    QVERIFY(m_form->action("Ouvrirautomatiquement1")->isChecked());
    QVERIFY(m_form->action("Alarme1")->isChecked());
    QVERIFY(m_form->action("SaveItem")->isEnabled());
    // The next start reopens the file given this time.
    m_form->close();
    m_form.reset();
    QVERIFY(readBytes(path("Tarvik.ini")).contains(path("given.ctc").toLocal8Bit() + "\r\n1\r\n"));
}

void TstStartFile::refusedFileLeavesAutoOpenFileClosed()
{
    writeBytes(path("last.ctc"), contactFile({"Dernier fichier"}));
    writeBytes(path("Tarvik.ini"), iniOpening(path("last.ctc"), 1));
    start(path("absent.ctc"));
    QCOMPARE(m_prompter->texts(), QStringList{"Le fichier n'existe pas"});
    QVERIFY(book().contactPath().isEmpty());
    QVERIFY(shownName().isEmpty());
}

void TstStartFile::noFileStartsAsBefore()
{
    writeBytes(path("last.ctc"), contactFile({"Dernier fichier"}));
    writeBytes(path("Tarvik.ini"), iniOpening(path("last.ctc"), 1));
    start(QString());
    QVERIFY(m_prompter->asked.isEmpty());
    QCOMPARE(m_form->fileName(), path("last.ctc"));
    QCOMPARE(shownName(), QStringLiteral("Dernier fichier"));
}

QTEST_MAIN(TstStartFile)
#include "tst_start_file.moc"
