#include "book/file_commands.h"
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using Answer = Prompter::Answer;

namespace {

// A book, its file commands and a folder for the files.
struct Files
{
    ScriptedPrompter prompter;
    FixedClock clock;
    RecordBook book{prompter, clock};
    FileCommands commands{book, prompter};
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    // A contact file of one record named `name`.
    QString contactFile(const QString& file, const QByteArray& name)
    {
        ContactRecord r;
        r.code = "10001";
        r.name = name;
        r.contact_date = QDate(2026, 1, 2);
        r.followup_date = QDate(2026, 1, 2);
        r.contact_time = QTime(9, 0, 0);
        r.followup_time = QTime(0, 0, 0);
        const QString p = path(file);
        blocks::saveFile(p, contact::blockLines(r, 0));
        return p;
    }

    void choose(const QString& path) { prompter.openAnswers.push_back(Prompter::FileChoice{path}); }
    void chooseSave(const QString& path)
    {
        prompter.saveAnswers.push_back(Prompter::FileChoice{path});
    }
    void open(const QString& path)
    {
        choose(path);
        QVERIFY(commands.open());
        prompter.asked.clear();
    }
    void edit(const QByteArray& name) { book.setText(contact::Name, name); }
};

} // namespace

class TstFileCommands : public QObject
{
    Q_OBJECT
private slots:
    void openChecksTheChosenName_data();
    void openChecksTheChosenName();
    void openCancelledChangesNothing();
    void openPathChecksLikeOpen_data() { openChecksTheChosenName_data(); }
    void openPathChecksLikeOpen();
    void saveQuestionAnswers_data();
    void saveQuestionAnswers();
    void saveQuestionOfANewFile();
    void saveWritesUnderTheCtcName_data();
    void saveWritesUnderTheCtcName();
    void saveWithoutChangesWritesNothing();
    void saveAsAlwaysWrites();
    void saveAsNames_data();
    void saveAsNames();
    void saveAsOverwriteQuestion_data();
    void saveAsOverwriteQuestion();
    void saveOfANewFileAsksForAName();
    void failedSaveKeepsTheNameAndTheFlags();
    void newFileEmptiesTheBook();
    void autoOpen_data();
    void autoOpen();
    void closeOrder_data();
    void closeOrder();
};

void TstFileCommands::openChecksTheChosenName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("nameKept");
    QTest::newRow("lower case") << "clients.ctc" << true << QString() << true;
    QTest::newRow("upper case") << "CLIENTS.CTC" << true << QString() << true;
    QTest::newRow("text file") << "clients.txt" << true << "Type de fichier non valide" << false;
    QTest::newRow("no extension") << "clients" << true << "Type de fichier non valide" << false;
    QTest::newRow("missing") << "absent.ctc" << false << "Le fichier n'existe pas" << true;
}

void TstFileCommands::openChecksTheChosenName()
{
    QFETCH(QString, file);
    QFETCH(bool, exists);
    QFETCH(QString, message);
    QFETCH(bool, nameKept);
    Files f;
    f.open(f.contactFile("before.ctc", "Avant"));
    const QString chosen = exists ? f.contactFile(file, "Choisi") : f.path(file);
    f.choose(chosen);

    QCOMPARE(f.commands.open(), message.isEmpty());
    QCOMPARE(f.prompter.texts("information"),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.prompter.lastFilters, QStringList{"Fichiers contacts (*.ctc)"});
    QCOMPARE(f.commands.fileName(), nameKept ? chosen : QString());
    // A refused name leaves the data in memory as they were.
    QCOMPARE(f.book.shown().name, message.isEmpty() ? QByteArray("Choisi") : QByteArray("Avant"));
}

// A name given on the command line: the checks and messages of Open, with no
// dialog.
void TstFileCommands::openPathChecksLikeOpen()
{
    QFETCH(QString, file);
    QFETCH(bool, exists);
    QFETCH(QString, message);
    QFETCH(bool, nameKept);
    Files f;
    const QString given = exists ? f.contactFile(file, "Choisi") : f.path(file);

    QCOMPARE(f.commands.openPath(given), message.isEmpty());
    QCOMPARE(f.prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.commands.fileName(), nameKept ? given : QString());
    QCOMPARE(f.book.contactPath(), message.isEmpty() ? given : QString());
    QCOMPARE(f.book.shown().name, message.isEmpty() ? QByteArray("Choisi") : QByteArray());
}

void TstFileCommands::openCancelledChangesNothing()
{
    Files f;
    const QString first = f.contactFile("a.ctc", "A");
    f.open(first);
    f.prompter.openAnswers.push_back(std::nullopt);
    QVERIFY(!f.commands.open());
    QCOMPARE(f.commands.fileName(), first);
    QCOMPARE(f.book.shown().name, QByteArray("A"));
}

void TstFileCommands::saveQuestionAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("opened");
    QTest::newRow("yes saves, then opens") << int(Answer::Yes) << true << true;
    QTest::newRow("no opens without saving") << int(Answer::No) << false << true;
    QTest::newRow("cancel stops before the dialog") << int(Answer::Cancel) << false << false;
}

void TstFileCommands::saveQuestionAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(bool, opened);
    Files f;
    const QString first = f.contactFile("premier.ctc", "Premier");
    const QString second = f.contactFile("second.ctc", "Second");
    f.open(first);
    f.edit("Modifié");
    f.prompter.yesNoCancelAnswers.push_back(Answer(answer));
    if (answer != int(Answer::Cancel))
        f.choose(second);

    QCOMPARE(f.commands.open(), opened);
    QCOMPARE(f.prompter.texts("yesnocancel"),
             QStringList{"Enregistrer changements dans premier.ctc ?"});
    // Cancel: no open dialog at all.
    QCOMPARE(f.prompter.texts("open").size(), opened ? 1 : 0);
    QCOMPARE(f.commands.fileName(), opened ? second : first);
    RecordBook check(f.prompter, f.clock);
    check.Charge(first);
    QCOMPARE(check.shown().name, saved ? QByteArray("Modifié") : QByteArray("Premier"));
    if (!opened)
        QVERIFY(f.book.TestModif());
}

void TstFileCommands::saveQuestionOfANewFile()
{
    Files f;
    f.edit("Nouveau");
    f.prompter.yesNoCancelAnswers.push_back(Answer::Cancel);
    QVERIFY(!f.commands.newFile());
    // No name yet: two spaces in a row.
    QCOMPARE(f.prompter.texts(), QStringList{"Enregistrer changements dans  ?"});
    QCOMPARE(f.book.shown().name, QByteArray("Nouveau"));
}

void TstFileCommands::saveWritesUnderTheCtcName_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("saved");
    QTest::newRow("plain") << ""
                           << "base.ctc"
                           << "base.ctc";
    QTest::newRow("capitals") << ""
                              << "BASE.CTC"
                              << "BASE.ctc";
    QTest::newRow("dotted folder") << "mes.donnees"
                                   << "base.ctc"
                                   << "mes.donnees/base.ctc";
}

void TstFileCommands::saveWritesUnderTheCtcName()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, saved);
    Files f;
    if (!folder.isEmpty())
        QVERIFY(QDir(f.dir.path()).mkdir(folder));
    const QString name = folder.isEmpty() ? file : folder + "/" + file;
    f.open(f.contactFile(name, "Nom"));
    f.edit("Autre");
    QVERIFY(f.commands.save());
    QVERIFY(f.prompter.asked.isEmpty());
    QCOMPARE(f.commands.fileName(), f.path(saved));
    QVERIFY(QFileInfo::exists(f.path(saved)));
    // The operations file beside it, named after it.
    QVERIFY(QFileInfo::exists(f.path(saved).chopped(3) + "opr"));
    QVERIFY(!f.book.TestModif());
}

void TstFileCommands::saveWithoutChangesWritesNothing()
{
    Files f;
    const QString p = f.contactFile("base.ctc", "Nom");
    f.open(p);
    const QByteArray before = readBytes(p);
    QFile::remove(p);
    QVERIFY(f.commands.save());
    QVERIFY(!QFileInfo::exists(p));
    QVERIFY(!QFileInfo::exists(p.chopped(3) + "opr"));
    Q_UNUSED(before);
}

void TstFileCommands::saveAsAlwaysWrites()
{
    Files f;
    f.open(f.contactFile("base.ctc", "Nom"));
    f.chooseSave(f.path("copie.ctc"));
    QVERIFY(f.commands.saveAs());
    QCOMPARE(f.prompter.texts("save"), QStringList{"*.ctc"});
    QCOMPARE(f.prompter.lastFilters, QStringList{"Fichers contact (*.ctc)"});
    QCOMPARE(f.commands.fileName(), f.path("copie.ctc"));
    QVERIFY(QFileInfo::exists(f.path("copie.ctc")));
    QVERIFY(QFileInfo::exists(f.path("copie.opr")));
}

void TstFileCommands::saveAsNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved"); // empty: nothing saved
    QTest::newRow("extension added") << "lettre"
                                     << "lettre.ctc";
    QTest::newRow("other extension replaced") << "lettre.txt"
                                              << "lettre.ctc";
    QTest::newRow("two dots") << "a.b.ctc"
                              << "a.b.ctc";
    QTest::newRow("only an extension") << ".ctc"
                                       << "";
}

void TstFileCommands::saveAsNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    Files f;
    const QString open = f.contactFile("base.ctc", "Nom");
    f.open(open);
    f.chooseSave(f.path(chosen));
    QCOMPARE(f.commands.saveAs(), !saved.isEmpty());
    if (saved.isEmpty()) {
        // Nothing left of the name: the file that was open stays the current one.
        QCOMPARE(f.commands.fileName(), open);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList{"base.ctc"});
    } else {
        QCOMPARE(f.commands.fileName(), f.path(saved));
        QVERIFY(QFileInfo::exists(f.path(saved)));
    }
}

void TstFileCommands::saveAsOverwriteQuestion_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK replaces") << true;
    QTest::newRow("Cancel keeps") << false;
}

void TstFileCommands::saveAsOverwriteQuestion()
{
    QFETCH(bool, ok);
    Files f;
    const QString open = f.contactFile("base.ctc", "Nouveau contenu");
    const QString other = f.contactFile("autre.ctc", "Ancien contenu");
    f.open(open);
    f.chooseSave(other);
    f.prompter.confirmAnswers.push_back(ok);
    QCOMPARE(f.commands.saveAs(), ok);
    QCOMPARE(f.prompter.texts("confirm"), QStringList{"Ce fichier existe déjà"});
    QCOMPARE(f.commands.fileName(), ok ? other : open);
    RecordBook check(f.prompter, f.clock);
    check.Charge(other);
    QCOMPARE(check.shown().name, ok ? QByteArray("Nouveau contenu") : QByteArray("Ancien contenu"));
}

void TstFileCommands::saveOfANewFileAsksForAName()
{
    Files f;
    f.edit("Premier");
    f.prompter.saveAnswers.push_back(std::nullopt);
    QVERIFY(!f.commands.save());
    QCOMPARE(f.prompter.texts("save"), QStringList{"*.ctc"});
    QVERIFY(f.commands.fileName().isEmpty());

    f.chooseSave(f.path("neuf"));
    QVERIFY(f.commands.save());
    QCOMPARE(f.commands.fileName(), f.path("neuf.ctc"));
    RecordBook check(f.prompter, f.clock);
    check.Charge(f.path("neuf.ctc"));
    QCOMPARE(check.shown().name, QByteArray("Premier"));
}

void TstFileCommands::failedSaveKeepsTheNameAndTheFlags()
{
    Files f;
    const QString open = f.contactFile("base.ctc", "Nom");
    f.open(open);
    f.edit("Changé");
    // A folder stands where the file should go: it cannot be written.
    QVERIFY(QDir(f.dir.path()).mkdir("bloque.ctc"));
    f.chooseSave(f.path("bloque.ctc"));
    f.prompter.confirmAnswers.push_back(true); // the name exists
    QVERIFY_THROWS_EXCEPTION(TarvikError, f.commands.saveAs());
    QCOMPARE(f.commands.fileName(), open);
    QVERIFY(f.book.TestModif());
}

void TstFileCommands::newFileEmptiesTheBook()
{
    Files f;
    f.open(f.contactFile("base.ctc", "Nom"));
    f.edit("Changé");
    f.prompter.yesNoCancelAnswers.push_back(Answer::No);
    QVERIFY(f.commands.newFile());
    QVERIFY(f.commands.fileName().isEmpty());
    QVERIFY(f.book.shown().name.isEmpty());
    QCOMPARE(f.book.recordCount(), 1);
    QVERIFY(!f.book.TestModif());
    QCOMPARE(f.book.caption(), QStringLiteral("Fiche"));
}

void TstFileCommands::autoOpen_data()
{
    QTest::addColumn<bool>("flag");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("flag set, file there") << true << true << true;
    QTest::newRow("flag set, file gone") << true << false << false;
    QTest::newRow("flag clear") << false << true << false;
}

void TstFileCommands::autoOpen()
{
    QFETCH(bool, flag);
    QFETCH(bool, fileThere);
    QFETCH(bool, loaded);
    Files f;
    const QString last = f.contactFile("dernier.ctc", "Dernier");
    // The settings of the previous run, as the closing wrote them.
    {
        Files before;
        before.commands.setAutoOpen(flag);
        before.open(last);
        QVERIFY(before.commands.close(f.dir.path()));
    }
    if (!fileThere)
        QFile::remove(last);
    f.book.ChargeIni(f.dir.path());
    QCOMPARE(f.commands.autoOpenSet(), flag);
    if (f.commands.autoOpenSet())
        f.commands.openLastFile();
    QCOMPARE(f.commands.fileName(), loaded ? last : QString());
    QCOMPARE(f.book.shown().name, loaded ? QByteArray("Dernier") : QByteArray());
    QVERIFY(f.prompter.asked.isEmpty());
}

void TstFileCommands::closeOrder_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("contactsSaved");
    QTest::newRow("yes") << int(Answer::Yes) << true << true;
    QTest::newRow("no") << int(Answer::No) << true << false;
    QTest::newRow("cancel") << int(Answer::Cancel) << false << false;
}

void TstFileCommands::closeOrder()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, contactsSaved);
    Files f;
    const QString file = f.contactFile("base.ctc", "Nom");
    f.open(file);
    f.edit("Changé");
    f.prompter.yesNoCancelAnswers.push_back(Answer(answer));
    QTemporaryDir program;
    QCOMPARE(f.commands.close(program.path()), closes);
    QCOMPARE(f.prompter.texts(), QStringList{"Enregistrer changements dans base.ctc ?"});
    // The program's own files only once the question let the closing go on.
    QCOMPARE(QFileInfo::exists(program.filePath("Tarvik.ini")), closes);
    if (closes)
        QVERIFY(readBytes(program.filePath("Tarvik.ini")).contains(file.toLocal8Bit()));
    RecordBook check(f.prompter, f.clock);
    check.Charge(file);
    QCOMPARE(check.shown().name, contactsSaved ? QByteArray("Changé") : QByteArray("Nom"));
}

QTEST_GUILESS_MAIN(TstFileCommands)
#include "tst_file_commands.moc"
