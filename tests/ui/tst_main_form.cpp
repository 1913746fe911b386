#include "app/main_form.h"
#include "book/record_book.h"
#include "contacts/ui/fiche.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tarvik;

namespace {

QByteArray contactBlock(int n, const QByteArray& name, const QByteArray& town = "Paris")
{
    QByteArray b = "<BLOC" + QByteArray::number(n).rightJustified(5, '0') + ">\r\n";
    b += QByteArray::number(10001 + n) + "\r\n" + name + "\r\n1 rue A\r\n\r\n75001\r\n" + town +
         "\r\n0102030405\r\n\r\n\r\n\r\nM.\r\nDupont\r\n\r\nVisite\r\n01/02/2026\r\n"
         "10:00:00\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n01/03/2026\r\n00:00:00\r\n\r\nN\r\nN\r\n";
    b += "</BLOC" + QByteArray::number(n).rightJustified(5, '0') + ">\r\n";
    return b;
}

QByteArray contactFile(int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += contactBlock(i, "Societe " + QByteArray::number(i));
    return data;
}

} // namespace

class TstMainForm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void menuCaptions();
    void enablingSteps();
    void hintsGoToFirstPanel();
    void clockPanel();
    void openChecks_data();
    void openChecks();
    void openWithPendingChanges();
    void saveQuestionForNewFile();
    void saveWritesOnlyChanges();
    void saveAsWritesBothFiles();
    void quitWithoutChangesAsksNothing();
    void keyboardMoves();
    void validateThroughButton();
    void deleteAskedBothWays();
    void everyEditMarksTheRecord();
    void swapAskedBothWays();
    void historyDeletionAskedBothWays();
    void settingsWrittenAtClose();
    void autoOpenAtStart();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    ScriptedPrompter* m_prompter = nullptr;
    FixedClock* m_clock = nullptr;
    FakeClockSetter* m_setter = nullptr;
    std::unique_ptr<RecordBook> m_book;
    TMainForm* m_form = nullptr;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    void makeForm()
    {
        m_book = std::make_unique<RecordBook>(*m_prompter, *m_clock);
        m_form = new TMainForm(*m_book, *m_prompter, *m_clock, *m_setter);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    void open(const QString& file)
    {
        m_prompter->openAnswers.push_back(Prompter::FileChoice{file, 1});
        m_form->openFile();
    }
    RecordBook& book() { return *m_book; }
    template <typename T> T* child(const char* name)
    {
        T* w = m_form->findChild<T*>(QLatin1String(name));
        if (!w)
            qWarning("no child %s", name);
        return w;
    }
};

void TstMainForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = new ScriptedPrompter;
    m_clock = new FixedClock;
    m_setter = new FakeClockSetter;
}

void TstMainForm::cleanup()
{
    if (m_form) {
        m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
        m_form->close();
        delete m_form;
        m_form = nullptr;
    }
    m_book.reset();
    delete m_prompter;
    delete m_clock;
    delete m_setter;
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TstMainForm::startState()
{
    makeForm();
    QVERIFY(m_form->action("Touteslesfiches1")->isChecked());
    QVERIFY(m_form->action("Touteslesfiches2")->isChecked());
    QCOMPARE(m_form->fileName(), QString());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Tarvik"));
    QCOMPARE(book().recordCount(), 1);
    QVERIFY(child<QLineEdit>("Edit1")->text().isEmpty());
    QCOMPARE(m_form->programFolder(), m_dir->path());
    // A screen 800 pixels wide or less maximizes the window; a wider one gets 800 x 600.
    if (m_form->screen()->geometry().width() <= 800)
        QVERIFY(m_form->windowState() & Qt::WindowMaximized);
    else
        QCOMPARE(m_form->size(), QSize(800, 600));
    QCOMPARE(m_form->action("ExitItem")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
}

void TstMainForm::menuCaptions()
{
    makeForm();
    QStringList tops;
    for (QAction* a : m_form->menuBar()->actions())
        tops << a->text();
    QCOMPARE(tops, QStringList({"&Fichier", "&Ediiton", "&Base", "&Sélection", "&Outils",
                                "&Paramètres", "&Utilitaires", "&Aide"}));
    QCOMPARE(m_form->action("Prcdent1")->text(),
             QStringLiteral("&Précédent                  PgUp"));
    QCOMPARE(m_form->action("Listredescontacts1")->text(),
             QStringLiteral("&Listre                           F2"));
    QCOMPARE(m_form->action("Tlephone2")->text(), QStringLiteral("Recherche &Télephone..."));
    QCOMPARE(m_form->action("Eutoconversion1")->text(), QStringLiteral("&Euto conversion"));
    QCOMPARE(m_form->action("SpeedButton9")->toolTip(),
             QStringLiteral("Onglet commentaire annexe"));
    QCOMPARE(m_form->action("SaveBtn")->toolTip(), QStringLiteral("Enregistrer"));
    // No toolbar button is ever blank.
    for (const char* name :
         {"SpeedButton11", "SpeedButton1", "SaveBtn", "CopyBtn", "PasteBtn", "SpeedButton2",
          "SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton7", "SpeedButton9",
          "SpeedButton6", "SpeedButton12", "SpeedButton13", "SpeedButton8", "SpeedButton10"})
        QVERIFY2(!m_form->action(name)->icon().isNull(), name);
}

void TstMainForm::enablingSteps()
{
    makeForm();
    auto enabled = [this](const char* name) { return m_form->action(name)->isEnabled(); };
    QVERIFY(!enabled("SaveItem"));
    QVERIFY(!enabled("Exporter1"));
    QVERIFY(enabled("Importer1"));
    QVERIFY(enabled("SpeedButton6"));
    QVERIFY(!enabled("Statsoprations1"));

    m_form->newFile();
    QVERIFY(enabled("SaveItem"));
    QVERIFY(enabled("SpeedButton4"));
    QVERIFY(enabled("Exporter1"));
    QVERIFY(enabled("Statsoprations1"));
    QVERIFY(!enabled("Rechercherrsum1"));

    m_form->action("SpeedButton13")->trigger();
    QCOMPARE(book().page(), RecordBook::Page::Operations);
    QVERIFY(!enabled("Exporter1"));
    QVERIFY(!enabled("Importer1"));
    QVERIFY(!enabled("Nom1"));
    QVERIFY(!enabled("SpeedButton13"));
    QVERIFY(enabled("SpeedButton12"));
    QVERIFY(enabled("Rechercherrsum1"));
    QVERIFY(enabled("Type1"));
    QVERIFY(enabled("SaveItem")); // the page steps leave it alone

    m_form->action("Contacts1")->trigger();
    QCOMPARE(book().page(), RecordBook::Page::Contacts);
    QVERIFY(enabled("Exporter1"));
    QVERIFY(enabled("Importer1"));
    QVERIFY(!enabled("SpeedButton12"));
    QVERIFY(!enabled("Type1"));
}

void TstMainForm::hintsGoToFirstPanel()
{
    makeForm();
    QStatusTipEvent tip(QStringLiteral("Ouvrir"));
    QApplication::sendEvent(m_form, &tip);
    QCOMPARE(m_form->hintPanel()->text(), QStringLiteral("Ouvrir"));
    QCOMPARE(m_form->hintPanel()->width(), m_form->width() - 100);
}

void TstMainForm::clockPanel()
{
    makeForm();
    QCOMPARE(m_form->clockPanel()->text(), QStringLiteral("    10:30:00"));
}

void TstMainForm::openChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("keepsName");
    QTest::newRow("upper case accepted") << "CLIENTS.CTC" << true << QString() << true;
    QTest::newRow("wrong type") << "clients.txt" << true << "Type de fichier non valide" << false;
    QTest::newRow("missing") << "absent.ctc" << false << "Le fichier n'existe pas" << true;
}

void TstMainForm::openChecks()
{
    QFETCH(QString, name);
    QFETCH(bool, create);
    QFETCH(QString, message);
    QFETCH(bool, keepsName);
    if (create)
        writeBytes(path(name), contactFile(3));
    makeForm();
    open(path(name));
    if (message.isEmpty()) {
        QVERIFY(m_prompter->texts("information").isEmpty());
        QCOMPARE(book().recordCount(), 3);
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Societe 0"));
        QVERIFY(m_form->action("SaveItem")->isEnabled());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Tarvik - [%1]").arg(name));
    } else {
        QCOMPARE(m_prompter->texts("information"), QStringList{message});
        QCOMPARE(book().recordCount(), 1);
    }
    QCOMPARE(m_form->fileName(), keepsName ? path(name) : QString());
}

void TstMainForm::openWithPendingChanges()
{
    writeBytes(path("a.ctc"), contactFile(2));
    writeBytes(path("b.ctc"), contactFile(4));
    makeForm();
    open(path("a.ctc"));
    child<QLineEdit>("Edit1")->end(false);
    QTest::keyClicks(child<QLineEdit>("Edit1"), "X");
    QVERIFY(book().TestModif());

    // Cancel: nothing happens, no dialog is shown.
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::Cancel);
    m_form->openFile();
    QCOMPARE(m_prompter->texts("yesnocancel").last(),
             QStringLiteral("Enregistrer changements dans a.ctc ?"));
    QCOMPARE(m_prompter->texts("open").size(), 1);
    QCOMPARE(book().recordCount(), 2);

    // Yes: saved first, then opened.
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::Yes);
    open(path("b.ctc"));
    QVERIFY(readBytes(path("a.ctc")).contains("Societe 0X\r\n"));
    QCOMPARE(book().recordCount(), 4);
    QVERIFY(!book().TestModif());
}

void TstMainForm::saveQuestionForNewFile()
{
    makeForm();
    m_form->newFile();
    QTest::keyClicks(child<QLineEdit>("Edit1"), "Neuf");
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::Cancel);
    m_form->newFile();
    QCOMPARE(m_prompter->texts("yesnocancel"), QStringList{"Enregistrer changements dans  ?"});
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Neuf"));
}

void TstMainForm::saveWritesOnlyChanges()
{
    writeBytes(path("c.ctc"), contactFile(3));
    makeForm();
    open(path("c.ctc"));
    const QDateTime before = QFileInfo(path("c.ctc")).lastModified();
    QFile::remove(path("c.opr"));
    QVERIFY(m_form->saveFile());
    QVERIFY(!QFile::exists(path("c.opr"))); // nothing written
    QCOMPARE(QFileInfo(path("c.ctc")).lastModified(), before);

    child<QLineEdit>("Edit5")->end(false);
    QTest::keyClicks(child<QLineEdit>("Edit5"), "-Nord");
    QVERIFY(m_form->saveFile());
    QVERIFY(readBytes(path("c.ctc")).contains("Paris-Nord\r\n"));
    QVERIFY(QFile::exists(path("c.opr")));
}

void TstMainForm::saveAsWritesBothFiles()
{
    writeBytes(path("d.ctc"), contactFile(2));
    makeForm();
    open(path("d.ctc"));
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{path("copie.txt"), 1});
    QVERIFY(m_form->saveFileAs());
    QCOMPARE(m_form->fileName(), path("copie.ctc"));
    QCOMPARE(readBytes(path("copie.ctc")), readBytes(path("d.ctc")));
    QVERIFY(QFile::exists(path("copie.opr")));

    // An existing target asks first; Cancel saves nothing and keeps the file open.
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{path("d.ctc"), 1});
    m_prompter->confirmAnswers.push_back(false);
    QVERIFY(!m_form->saveFileAs());
    QCOMPARE(m_prompter->texts("confirm"), QStringList{"Ce fichier existe déjà"});
    QCOMPARE(m_form->fileName(), path("copie.ctc"));
}

void TstMainForm::quitWithoutChangesAsksNothing()
{
    writeBytes(path("e.ctc"), contactFile(2));
    makeForm();
    open(path("e.ctc"));
    m_form->close();
    QVERIFY(m_prompter->texts("yesnocancel").isEmpty());
    QVERIFY(!m_form->isVisible());
}

void TstMainForm::keyboardMoves()
{
    writeBytes(path("f.ctc"), contactFile(5));
    makeForm();
    open(path("f.ctc"));
    QLineEdit* name = child<QLineEdit>("Edit1");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_PageDown);
    QCOMPARE(book().currentRecord(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QCOMPARE(book().currentRecord(), 2);
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Societe 2"));
    QCOMPARE(QApplication::focusWidget(), child<QComboBox>("ComboBox3"));
    QTest::keyClick(name, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(book().currentRecord(), 4);
    QTest::keyClick(name, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(book().currentRecord(), 4);
    QTest::keyClick(name, Qt::Key_PageUp);
    QCOMPARE(book().currentRecord(), 3);
    QTest::keyClick(child<QPlainTextEdit>("Memo2"), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(book().currentRecord(), 0);

    // An edit is written back by the move that leaves the record.
    name->end(false);
    QTest::keyClicks(name, " bis");
    QTest::keyClick(name, Qt::Key_PageDown);
    QTest::keyClick(name, Qt::Key_PageUp);
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Societe 0 bis"));
}

void TstMainForm::validateThroughButton()
{
    writeBytes(path("g.ctc"), contactFile(1));
    makeForm();
    open(path("g.ctc"));
    QTest::keyClicks(child<QLineEdit>("Edit13"), "Interesse");
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    const QString history = child<QPlainTextEdit>("Memo1")->toPlainText();
    QVERIFY(history.startsWith(QStringLiteral("Type de contact\tDate\t")));
    QVERIFY(history.contains(QStringLiteral("Réponse interlocuteur  : Interesse")));
    QVERIFY(child<QLineEdit>("Edit13")->text().isEmpty());
    QCOMPARE(child<QLabel>("Label30")->text(), QStringLiteral("Nbr contacts  1"));
    QVERIFY(book().flags().fileModified);
}

void TstMainForm::deleteAskedBothWays()
{
    writeBytes(path("h.ctc"), contactFile(3));
    makeForm();
    open(path("h.ctc"));
    m_prompter->confirmAnswers.push_back(false);
    m_form->action("Supprimercontact1")->trigger();
    QCOMPARE(m_prompter->texts("confirm"), QStringList{"Confirmer suppression de la fiche ?"});
    QCOMPARE(book().recordCount(), 3);
    m_prompter->confirmAnswers.push_back(true);
    m_form->action("Supprimercontact1")->trigger();
    QCOMPARE(book().recordCount(), 2);
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("Societe 1"));
}

void TstMainForm::everyEditMarksTheRecord()
{
    writeBytes(path("i.ctc"), contactFile(2));
    makeForm();
    open(path("i.ctc"));
    // Prices, answers and the contact date reach the file on their own.
    QTest::keyClicks(child<QLineEdit>("Edit11"), "120");
    QVERIFY(book().flags().recordChanged);
    QTest::keyClick(child<QLineEdit>("Edit1"), Qt::Key_PageDown);
    QVERIFY(book().contacts().contains("120"));

    child<QDateEdit>("DateTimePicker1")->setDate(QDate(2025, 12, 24));
    QVERIFY(book().flags().recordChanged);
    QVERIFY(m_form->saveFile());
    QVERIFY(readBytes(path("i.ctc")).contains("24/12/2025"));
}

void TstMainForm::settingsWrittenAtClose()
{
    writeBytes(path("j.ctc"), contactFile(2));
    makeForm();
    open(path("j.ctc"));
    m_form->action("Ouvrirautomatiquement1")->trigger();
    m_form->close();
    QVERIFY(!m_form->isVisible());
    const QByteArray ini = readBytes(path("Tarvik.ini"));
    QVERIFY(ini.contains(path("j.ctc").toLocal8Bit() + "\r\n1\r\n"));
}

void TstMainForm::autoOpenAtStart()
{
    writeBytes(path("k.ctc"), contactFile(3));
    writeBytes(path("Tarvik.ini"), " 0.00000000000000E+0000\r\n" + path("k.ctc").toLocal8Bit() +
                                       "\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n2\r\n\r\n\r\n");
    makeForm();
    QCOMPARE(m_form->fileName(), path("k.ctc"));
    QCOMPARE(book().recordCount(), 3);
    QVERIFY(m_form->action("Ouvrirautomatiquement1")->isChecked());
    QVERIFY(m_form->action("Alarme1")->isChecked());
    QVERIFY(!m_form->action("Touteslesfiches1")->isChecked());
    QVERIFY(m_form->action("SaveItem")->isEnabled());
}

void TstMainForm::swapAskedBothWays()
{
    writeBytes(path("l.ctc"), contactFile(2));
    makeForm();
    open(path("l.ctc"));
    m_prompter->confirmAnswers.push_back(false);
    m_form->action("Permuteradresse1adresse21")->trigger();
    QCOMPARE(m_prompter->texts("confirm"), QStringList{"Confirmer permutation des champs ?"});
    QCOMPARE(child<QLineEdit>("Edit2")->text(), QStringLiteral("1 rue A"));
    m_prompter->confirmAnswers.push_back(true);
    m_form->action("Permuteradresse1adresse21")->trigger();
    QCOMPARE(child<QLineEdit>("Edit3")->text(), QStringLiteral("1 rue A"));
    QVERIFY(child<QLineEdit>("Edit2")->text().isEmpty());
    QVERIFY(book().flags().fileModified);
}

void TstMainForm::historyDeletionAskedBothWays()
{
    writeBytes(path("m.ctc"), contactFile(1));
    makeForm();
    open(path("m.ctc"));
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(m_form->saveFile());
    auto* memo = child<QPlainTextEdit>("Memo1");
    const int lines = memo->toPlainText().split('\n').size();
    QCOMPARE(lines, 7);

    memo->setFocus();
    QTextCursor c = memo->textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    memo->setTextCursor(c);
    m_prompter->confirmAnswers.push_back(false);
    QTest::keyClick(memo, Qt::Key_Delete);
    QCOMPARE(m_prompter->texts("confirm"), QStringList{"Confirmer suppression ?"});
    QCOMPARE(memo->toPlainText().split('\n').size(), 7);
    QVERIFY(!book().TestModif());

    m_prompter->confirmAnswers.push_back(true);
    QTest::keyClick(memo, Qt::Key_Delete);
    QCOMPARE(memo->toPlainText().split('\n').size(), 6);
    QVERIFY(book().flags().recordChanged);
    QVERIFY(m_form->saveFile());
    QVERIFY(!readBytes(path("m.ctc")).contains("MEMOType de contact"));
}

QTEST_MAIN(TstMainForm)
#include "tst_main_form.moc"
