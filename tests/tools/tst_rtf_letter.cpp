#include "tools/letter_editor.h"
#include "tools/rtf/rtf_file.h"
#include "tools/rtf/rtf_writer.h"
#include "tools/ruler_geometry.h"

#include "rtf_helpers.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using namespace build;
using Answer = Prompter::Answer;

// The editor's side of the file commands, as a plain value.
class FakeView : public LetterView
{
public:
    rtf::Document shown = doc({para({})});
    bool modified = false;
    int replaced = 0;

    rtf::Document letter() const override { return shown; }
    void showLetter(const rtf::Document& letter) override
    {
        shown = letter;
        modified = false;
        ++replaced;
    }
    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
};

static const QStringList Company = {"Dupont SA", "1 rue Haute", "75001 Paris", "01 02 03 04",
                                    "ligne 5",   "ligne 6",     "ligne 7"};

class TstRtfLetter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void saveQuestionNamesTheFileOnly();
    void newLetterStartsWithFourCompanyLines();
    void questionBeforeNew_data();
    void questionBeforeNew();
    void saveDoesNothingWhenUnmodified();
    void saveWritesAndRemembersTheName();
    void saveAsksBeforeReplacingAnotherFile();
    void saveFailureKeepsTheLetterModified();
    void closeAnswers_data();
    void closeAnswers();
    void openAsksFirst_data();
    void openAsksFirst();
    void openRefusesBadFiles_data();
    void openRefusesBadFiles();
    void openDamagedFileSaysSo();
    void rulerMarkers_data();
    void rulerMarkers();
    void rulerDrops_data();
    void rulerDrops();
    void firstLineDropKeepsFollowingLines();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
};

void TstRtfLetter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TstRtfLetter::saveQuestionNamesTheFileOnly()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    QCOMPARE(editor.saveQuestion(), QStringLiteral("Enregistrer changements dans  ?"));

    const QString file = path("lettre.rtf");
    writeBytes(file, rtf::write(doc({para({run("x")})})));
    prompter.openAnswers.push_back(Prompter::FileChoice{file});
    QVERIFY(editor.open());
    QCOMPARE(editor.fileName(), file);
    QCOMPARE(editor.saveQuestion(), QStringLiteral("Enregistrer changements dans lettre.rtf ?"));
}

void TstRtfLetter::newLetterStartsWithFourCompanyLines()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    editor.newLetter();
    QVERIFY(prompter.asked.isEmpty());
    QCOMPARE(view.shown, doc({para({run("Dupont SA")}), para({run("1 rue Haute")}),
                              para({run("75001 Paris")}), para({run("01 02 03 04")}), para({})}));

    // Fewer lines than four: the missing ones are empty lines.
    LetterEditor shortCompany(prompter, view, {"Seule"});
    shortCompany.newLetter();
    QCOMPARE(view.shown, doc({para({run("Seule")}), para({}), para({}), para({}), para({})}));
}

void TstRtfLetter::questionBeforeNew_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveChosen");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes, saved") << int(Answer::Yes) << true << true << true;
    QTest::newRow("yes, save dialog cancelled") << int(Answer::Yes) << false << false << false;
    QTest::newRow("no") << int(Answer::No) << false << true << false;
    QTest::newRow("cancel") << int(Answer::Cancel) << false << false << false;
}

void TstRtfLetter::questionBeforeNew()
{
    QFETCH(int, answer);
    QFETCH(bool, saveChosen);
    QFETCH(bool, replaced);
    QFETCH(bool, written);
    ScriptedPrompter prompter;
    FakeView view;
    const rtf::Document typed = doc({para({run("brouillon", Bold)})});
    view.shown = typed;
    view.modified = true;
    LetterEditor editor(prompter, view, Company);
    prompter.yesNoCancelAnswers.push_back(Answer(answer));
    if (Answer(answer) == Answer::Yes) {
        if (saveChosen)
            prompter.saveAnswers.push_back(Prompter::FileChoice{path("b.rtf")});
        else
            prompter.saveAnswers.push_back(std::nullopt);
    }
    editor.newLetter();
    QCOMPARE(prompter.texts("yesnocancel"),
             QStringList{QStringLiteral("Enregistrer changements dans  ?")});
    QCOMPARE(view.replaced == 1, replaced);
    if (!replaced) {
        QCOMPARE(view.shown, typed);
        QVERIFY(view.modified);
    }
    QCOMPARE(QFileInfo::exists(path("b.rtf")), written);
    if (written)
        QCOMPARE(rtf::loadFile(path("b.rtf")).document, typed);
}

void TstRtfLetter::saveDoesNothingWhenUnmodified()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    QVERIFY(editor.save());
    QVERIFY(prompter.asked.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
}

void TstRtfLetter::saveWritesAndRemembersTheName()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    view.shown = doc({para({run("Texte", Italic, 12, "Arial")}, rtf::Alignment::Center)});
    view.modified = true;
    const QString file = path("a.rtf");
    prompter.saveAnswers.push_back(Prompter::FileChoice{file});
    QVERIFY(editor.save());
    QCOMPARE(prompter.lastFilters, QStringList{QStringLiteral("Fichiers rtf (*.rtf)")});
    QCOMPARE(prompter.texts("save"), QStringList{QString()}); // no name proposed yet
    QVERIFY(!view.modified);
    QCOMPARE(editor.fileName(), file);
    QCOMPARE(rtf::loadFile(file).document, view.shown);

    // The next save proposes the name, and replaces its own file without asking.
    view.modified = true;
    view.shown = doc({para({run("Autre")})});
    prompter.saveAnswers.push_back(Prompter::FileChoice{file});
    QVERIFY(editor.save());
    QCOMPARE(prompter.texts("save").last(), file);
    QCOMPARE(prompter.texts("yesno"), QStringList());
    QCOMPARE(rtf::loadFile(file).document, view.shown);
}

void TstRtfLetter::saveAsksBeforeReplacingAnotherFile()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    const QString other = path("autre.rtf");
    writeBytes(other, "ancien");
    view.shown = doc({para({run("nouveau")})});
    view.modified = true;

    prompter.saveAnswers.push_back(Prompter::FileChoice{other});
    prompter.yesNoAnswers.push_back(false);
    QVERIFY(!editor.save());
    QCOMPARE(prompter.texts("yesno"),
             QStringList{QStringLiteral("autre.rtf existe déjà.\nVoulez-vous le remplacer ?")});
    QCOMPARE(readBytes(other), QByteArray("ancien"));
    QVERIFY(view.modified);
    QCOMPARE(editor.fileName(), QString());

    prompter.saveAnswers.push_back(Prompter::FileChoice{other});
    prompter.yesNoAnswers.push_back(true);
    QVERIFY(editor.save());
    QCOMPARE(rtf::loadFile(other).document, view.shown);
}

void TstRtfLetter::saveFailureKeepsTheLetterModified()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    view.shown = doc({para({run("x")})});
    view.modified = true;
    prompter.saveAnswers.push_back(Prompter::FileChoice{path("absent/dossier/x.rtf")});
    QVERIFY(!editor.save());
    QCOMPARE(prompter.texts("information").size(), 1);
    QVERIFY(prompter.texts("information")
                .first()
                .startsWith(QStringLiteral("Impossible d'enregistrer le fichier x.rtf")));
    QVERIFY(view.modified);
    QCOMPARE(editor.fileName(), QString());
}

void TstRtfLetter::closeAnswers_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveChosen");
    QTest::addColumn<bool>("closes");
    QTest::newRow("unmodified") << false << -1 << false << true;
    QTest::newRow("yes, saved") << true << int(Answer::Yes) << true << true;
    QTest::newRow("yes, save dialog cancelled keeps the window")
        << true << int(Answer::Yes) << false << false;
    QTest::newRow("no") << true << int(Answer::No) << false << true;
    QTest::newRow("cancel") << true << int(Answer::Cancel) << false << false;
}

void TstRtfLetter::closeAnswers()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, saveChosen);
    QFETCH(bool, closes);
    ScriptedPrompter prompter;
    FakeView view;
    view.modified = modified;
    LetterEditor editor(prompter, view, Company);
    if (answer >= 0)
        prompter.yesNoCancelAnswers.push_back(Answer(answer));
    if (Answer(answer) == Answer::Yes) {
        if (saveChosen)
            prompter.saveAnswers.push_back(Prompter::FileChoice{path("c.rtf")});
        else
            prompter.saveAnswers.push_back(std::nullopt);
    }
    QCOMPARE(editor.mayClose(), closes);
    QCOMPARE(prompter.texts("yesnocancel").size(), modified ? 1 : 0);
    QCOMPARE(view.modified, modified && !(saveChosen && Answer(answer) == Answer::Yes));
}

void TstRtfLetter::openAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::newRow("yes, saved, then opened") << int(Answer::Yes) << true;
    QTest::newRow("no: opened without saving") << int(Answer::No) << true;
    QTest::newRow("cancel keeps the letter") << int(Answer::Cancel) << false;
}

void TstRtfLetter::openAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, opened);
    ScriptedPrompter prompter;
    FakeView view;
    const rtf::Document typed = doc({para({run("à garder")})});
    view.shown = typed;
    view.modified = true;
    LetterEditor editor(prompter, view, Company);
    const QString file = path("o.rtf");
    const rtf::Document inFile = doc({para({run("du fichier", Underline)})});
    writeBytes(file, rtf::write(inFile));

    prompter.yesNoCancelAnswers.push_back(Answer(answer));
    if (Answer(answer) == Answer::Yes)
        prompter.saveAnswers.push_back(Prompter::FileChoice{path("garde.rtf")});
    if (opened)
        prompter.openAnswers.push_back(Prompter::FileChoice{file});
    QCOMPARE(editor.open(), opened);
    // The question comes before the open dialog.
    QCOMPARE(prompter.asked.first().kind, QStringLiteral("yesnocancel"));
    QCOMPARE(view.shown, opened ? inFile : typed);
    QCOMPARE(view.modified, !opened);
    QCOMPARE(editor.fileName(), opened ? file : QString());
    if (Answer(answer) == Answer::Yes)
        QCOMPARE(rtf::loadFile(path("garde.rtf")).document, typed);
}

void TstRtfLetter::openRefusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("Le fichier f.rtf est vide");
    QTest::newRow("text") << QByteArray("Cher client,\r\n")
                          << QStringLiteral("Le fichier f.rtf n'est pas un document RTF");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                            << QStringLiteral("Le fichier f.rtf n'est pas un document RTF");
    QTest::newRow("nothing readable")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\info")
        << QStringLiteral("Le fichier f.rtf est trop endommagé pour être lu");
    QTest::newRow("missing") << QByteArray("-")
                             << QStringLiteral("Impossible d'ouvrir le fichier f.rtf");
}

void TstRtfLetter::openRefusesBadFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    const QString good = path("bon.rtf");
    writeBytes(good, rtf::write(doc({para({run("bon")})})));
    prompter.openAnswers.push_back(Prompter::FileChoice{good});
    QVERIFY(editor.open());
    view.shown = doc({para({run("bon, puis modifié")})});

    const QString file = path("f.rtf");
    if (content != "-")
        writeBytes(file, content);
    prompter.openAnswers.push_back(Prompter::FileChoice{file});
    QVERIFY(!editor.open());
    QCOMPARE(prompter.texts("information"), QStringList{message});
    QCOMPARE(view.shown, doc({para({run("bon, puis modifié")})}));
    QCOMPARE(view.replaced, 1);
    QCOMPARE(editor.fileName(), good);
}

void TstRtfLetter::openDamagedFileSaysSo()
{
    ScriptedPrompter prompter;
    FakeView view;
    LetterEditor editor(prompter, view, Company);
    const QString file = path("coupe.rtf");
    QByteArray truncated = rtf::write(doc({para({run("Bonjour")}), para({run("la suite")})}));
    truncated.chop(5);
    writeBytes(file, truncated);
    prompter.openAnswers.push_back(Prompter::FileChoice{file});
    QVERIFY(editor.open());
    QCOMPARE(view.shown.paragraphs.size(), 2);
    QCOMPARE(view.shown.paragraphs.at(0).text(), QStringLiteral("Bonjour"));
    QCOMPARE(view.shown.paragraphs.at(1).text(), QStringLiteral("la suite"));
    QCOMPARE(prompter.texts("information"),
             QStringList{QStringLiteral(
                 "Le fichier coupe.rtf est endommagé : une partie du document peut manquer")});
}

void TstRtfLetter::rulerMarkers_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<int>("firstAt");
    QTest::addColumn<int>("leftAt");
    QTest::addColumn<int>("rightAt");
    QTest::newRow("no indents") << 0.0 << 0.0 << 0.0 << 2 << 2 << 600 - 14;
    QTest::newRow("hanging") << 36.0 << -18.0 << 0.0 << 50 << 26 << 586;
    QTest::newRow("truncated, not rounded") << 1.0 << 0.5 << 1.0 << 3 << 4 << 600 - 6 - 9;
    QTest::newRow("negative truncates towards zero") << -1.0 << 0.0 << -7.0 << 1 << 1 << 595;
}

void TstRtfLetter::rulerMarkers()
{
    QFETCH(double, first);
    QFETCH(double, left);
    QFETCH(double, right);
    const ruler::Markers m = ruler::place(first, left, right, 600);
    QTEST(m.first, "firstAt");
    QTEST(m.left, "leftAt");
    QTEST(m.right, "rightAt");
}

void TstRtfLetter::rulerDrops_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    // Whole-point indents that land on whole pixels come back unchanged.
    QTest::newRow("zero") << 0 << 0 << 0;
    QTest::newRow("hanging") << 36 << -18 << 0;
    QTest::newRow("right") << 0 << 0 << 72;
    QTest::newRow("mixed") << 9 << 27 << 45;
}

void TstRtfLetter::rulerDrops()
{
    QFETCH(int, first);
    QFETCH(int, left);
    QFETCH(int, right);
    const ruler::Markers m = ruler::place(first, left, right, 700);
    QCOMPARE(ruler::firstIndentAt(m.first), first);
    QCOMPARE(ruler::leftIndentAt(m.left, first), left);
    QCOMPARE(ruler::rightIndentAt(m.right, 700), right);
}

void TstRtfLetter::firstLineDropKeepsFollowingLines()
{
    // First line 0, following lines 0; the first-line marker moved 48 pixels
    // right: the first line goes 36 points in, the following lines stay.
    const ruler::Markers m = ruler::place(0, 0, 0, 700);
    const int first = ruler::firstIndentAt(m.first + 48);
    QCOMPARE(first, 36);
    const int left = ruler::leftIndentAt(m.left, first);
    QCOMPARE(left, -36);
    QCOMPARE(ruler::place(first, left, 0, 700).left, m.left);
}

QTEST_GUILESS_MAIN(TstRtfLetter)
#include "tst_rtf_letter.moc"
