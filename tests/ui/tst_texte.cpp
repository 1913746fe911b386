#include "app/main_form.h"
#include "book/record_book.h"
#include "contacts/ui/fiche.h"
#include "print/ui/qt_print_device.h"
#include "support/window_class.h"
#include "tools/rtf/rtf_file.h"
#include "tools/rtf/rtf_reader.h"
#include "tools/rtf/rtf_writer.h"
#include "tools/ui/texte_document.h"
#include "tools/ui/texte_ruler.h"
#include "tools/ui/texte_window.h"

#include "support/fixed_clock.h"
#include "support/scripted_print_host.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"
#include "tools/rtf_helpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

using namespace tarvik;

using namespace build;
using Answer = Prompter::Answer;

static const QStringList Company = {"Dupont SA", "1 rue Haute", "75001 Paris", "01 02 03 04",
                                    "cinquième"};

template <class T> static T* child(QWidget* w, const char* name)
{
    T* found = w->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

static void click(QWidget* w, const char* button)
{
    QTest::mouseClick(child<QAbstractButton>(w, button), Qt::LeftButton);
}

// A mouse event on a ruler marker at x pixels from its left edge.
static void mouse(QWidget* marker, QEvent::Type type, int x)
{
    const QPointF local(x, 3);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent e(type, local, marker->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(marker, &e);
}

// Drags a marker by dx pixels, holding it by its middle.
static void drag(QWidget* marker, int dx)
{
    const int middle = marker->width() / 2;
    mouse(marker, QEvent::MouseButtonPress, middle);
    mouse(marker, QEvent::MouseMove, middle + dx / 2);
    mouse(marker, QEvent::MouseMove, middle + dx - dx / 2);
    mouse(marker, QEvent::MouseButtonRelease, middle);
}

static rtf::Document everyAttribute()
{
    const QString arial = QStringLiteral("Arial");
    return doc({
        para({run("Dupont SA", Bold, 16, arial)}, rtf::Alignment::Center),
        para({run("Paris, le 3 mars", Italic, 10)}, rtf::Alignment::Right, 0, 0, 18),
        para({}),
        para({run("Objet : ", Bold | Underline, 12), run("votre commande n° 1024", Italic, 12)}),
        para({}),
        para({run("Madame, Monsieur,", Plain, 12)}, rtf::Alignment::Left, 36, -36),
        para({run("Nous vous remercions de votre commande, livrée le 12 mars avec ", Plain, 12),
              run("trois", Bold, 12), run(" articles ", Plain, 12), run("soulignés", Underline, 12),
              run(" et un ", Plain, 12),
              run("texte en Courier", Plain, 11, QStringLiteral("Courier New")),
              run(". Prix : 30 € hors taxes.", Plain, 12)},
             rtf::Alignment::Justify, 36, -36, 36),
        para({run("premier article", Plain, 12)}, rtf::Alignment::Left, 18, 18, 0, true),
        para({run("deuxième article", Italic, 12)}, rtf::Alignment::Left, 18, 18, 0, true),
        para({run("troisième", Bold | Italic | Underline, 12)}, rtf::Alignment::Left, 18, 18, 0,
             true),
        para({}),
        para({run("Jean Martin\tDirecteur", Plain, 12)}, rtf::Alignment::Left, 220),
    });
}

class TstTexte : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void toolbarAndControls();
    void closeButtonKeepsItsDistance();
    void markersForNoIndents();
    void markersFollowTheCaret();
    void draggingFirstLineKeepsFollowingLines();
    void draggingLeftAndRight();
    void boldWithoutSelectionFormatsWhatIsTypedNext();
    void formattingTheSelection();
    void alignmentAndBullets();
    void fontNameAndSize();
    void fontDialogOnTheSelection();
    void letterShownAndReadBack_data();
    void letterShownAndReadBack();
    void pasteKeepsLetterAttributes();
    void newLetterWithCompanyLines();
    void saveOnUnmodifiedOpensNoDialog();
    void saveQuestionBeforeAnySave();
    void closeWithSaveCancelledKeepsWindow();
    void openAsksFirstAndRefusesBadFiles();
    void savedFileOpensAgain();
    void printsThroughThePrintHost();
    void printsRichTextOnPaper();
    void menuItemOpensMaximized();
    void screenshot();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TTexte> m_w;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QTextEdit* edit() const { return m_w->editor(); }
    void show(const rtf::Document& letter)
    {
        QTemporaryDir d;
        const QString file = d.filePath("l.rtf");
        rtf::saveFile(file, letter);
        m_prompter->openAnswers.push_back(Prompter::FileChoice{file});
        m_w->openLetter();
    }
};

void TstTexte::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_w = std::make_unique<TTexte>(Company, nullptr, m_prompter.get());
    m_w->resize(800, 500);
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void TstTexte::cleanup()
{
    // Nothing left to ask: the window goes without a question.
    m_w->setAttribute(Qt::WA_DeleteOnClose, false);
    m_w->editor()->document()->setModified(false);
    m_w.reset();
}

void TstTexte::toolbarAndControls()
{
    QCOMPARE(m_w->windowTitle(), QStringLiteral("Texte"));
    const std::pair<const char*, const char*> hints[] = {
        {"SpeedButton2", "Enregistrer"}, {"SpeedButton3", "Imprimer"}, {"SpeedButton4", "Copier"},
        {"SpeedButton5", "Coller"},      {"SpeedButton6", "Gras"},     {"SpeedButton7", "Italique"},
        {"SpeedButton8", "Souligné"},    {"SpeedButton9", "Gauche"},   {"SpeedButton10", "Centré"},
        {"SpeedButton11", "Droite"},     {"SpeedButton12", "Puces"},   {"SpeedButton18", "Police"},
        {"ComboBox1", "Police"},         {"SpinEdit1", "Taille"},
    };
    for (const auto& [name, hint] : hints)
        QCOMPARE(child<QWidget>(m_w.get(), name)->toolTip(), QString::fromUtf8(hint));
    child<QToolButton>(m_w.get(), "SpeedButton1");
    child<QToolButton>(m_w.get(), "SpeedButton13");
    QCOMPARE(child<QPushButton>(m_w.get(), "Button1")->text(), QStringLiteral("Fermer"));
    child<QWidget>(m_w.get(), "Panel1");
    QCOMPARE(child<QWidget>(m_w.get(), "Ruler"), m_w->ruler());
    QCOMPARE(child<QTextEdit>(m_w.get(), "RichEdit1"), m_w->editor());

    auto* fonts = child<QComboBox>(m_w.get(), "ComboBox1");
    QCOMPARE(fonts->currentText(), QStringLiteral("Times New Roman"));
    QVERIFY(fonts->count() > 0);
    QStringList items;
    for (int i = 0; i < fonts->count(); ++i)
        items << fonts->itemText(i);
    for (int i = 1; i < items.size(); ++i)
        QVERIFY2(items.at(i - 1).compare(items.at(i), Qt::CaseInsensitive) <= 0,
                 qPrintable(items.at(i - 1) + " > " + items.at(i)));
    auto* size = child<QSpinBox>(m_w.get(), "SpinEdit1");
    QCOMPARE(size->minimum(), 4);
    QCOMPARE(size->maximum(), 72);
    QCOMPARE(size->value(), 10);

    // The editor's default font, which Times New Roman's metric twin stands for.
    const QFont font = edit()->document()->defaultFont();
    QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
    QCOMPARE(font.pointSize(), 10);
    const QTextFrameFormat root = edit()->document()->rootFrame()->frameFormat();
    QCOMPARE(root.leftMargin(), 6.0);
    QCOMPARE(root.rightMargin(), 6.0);
    QVERIFY(!edit()->document()->isModified());
    QCOMPARE(m_w->fileName(), QString());
}

void TstTexte::closeButtonKeepsItsDistance()
{
    auto* close = child<QPushButton>(m_w.get(), "Button1");
    for (int width : {900, 1200, 1000}) {
        m_w->resize(width, 400);
        QApplication::processEvents();
        QCOMPARE(m_w->width(), width);
        QCOMPARE(close->mapTo(m_w.get(), QPoint(0, 0)).x(), width - 90);
    }
    auto* line = child<QFrame>(m_w.get(), "RulerLine");
    QCOMPARE(line->width(), m_w->ruler()->width() - 2 * line->x());
}

void TstTexte::markersForNoIndents()
{
    const TexteRuler* r = m_w->ruler();
    QCOMPARE(r->firstMarker()->objectName(), QStringLiteral("FirstInd"));
    QCOMPARE(r->firstMarker()->x(), 2);
    QCOMPARE(r->leftMarker()->x(), 2);
    QCOMPARE(r->rightMarker()->x(), r->width() - 14);
    m_w->resize(1000, 500);
    QApplication::processEvents();
    QCOMPARE(r->rightMarker()->x(), r->width() - 14);
}

void TstTexte::markersFollowTheCaret()
{
    show(doc({para({run("un")}), para({run("deux")}, rtf::Alignment::Left, 36, -18, 9)}));
    QTextCursor c = edit()->textCursor();
    c.movePosition(QTextCursor::End);
    edit()->setTextCursor(c);
    const TexteRuler* r = m_w->ruler();
    QCOMPARE(r->firstMarker()->x(), 50);
    QCOMPARE(r->leftMarker()->x(), 26);
    QCOMPARE(r->rightMarker()->x(), r->width() - 6 - 20);
    c.movePosition(QTextCursor::Start);
    edit()->setTextCursor(c);
    QCOMPARE(r->firstMarker()->x(), 2);
    QCOMPARE(r->rightMarker()->x(), r->width() - 14);
}

void TstTexte::draggingFirstLineKeepsFollowingLines()
{
    show(doc({para({run(QString(QStringLiteral("Une ligne qui passe à la suivante. ")).repeated(12),
                        Plain, 12)})}));
    QTextCursor c = edit()->textCursor();
    c.movePosition(QTextCursor::Start);
    edit()->setTextCursor(c);
    QApplication::processEvents();
    QTextLayout* layout = edit()->document()->firstBlock().layout();
    QVERIFY(layout->lineCount() >= 3);
    const qreal firstBefore = layout->lineAt(0).x();
    const qreal secondBefore = layout->lineAt(1).x();

    drag(m_w->ruler()->firstMarker(), 48);
    QCOMPARE(m_w->ruler()->firstMarker()->x(), 50);
    const texte::Indents i = texte::indentsOf(edit()->textCursor().blockFormat());
    QCOMPARE(i.first, 36.0);
    QCOMPARE(i.left, -36.0);
    QApplication::processEvents();
    layout = edit()->document()->firstBlock().layout();
    QCOMPARE(layout->lineAt(0).x(), firstBefore + 48);
    QCOMPARE(layout->lineAt(1).x(), secondBefore);
    QCOMPARE(m_w->ruler()->leftMarker()->x(), 2);
    QVERIFY(edit()->document()->isModified());
}

void TstTexte::draggingLeftAndRight()
{
    show(doc({para({run("a")}), para({run("b")}), para({run("c")})}));
    // The first two paragraphs selected: both take the indents.
    QTextCursor c = edit()->textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
    drag(m_w->ruler()->leftMarker(), 24);
    drag(m_w->ruler()->rightMarker(), -40);
    QTextBlock b = edit()->document()->firstBlock();
    for (int k = 0; k < 3; ++k, b = b.next()) {
        const texte::Indents i = texte::indentsOf(b.blockFormat());
        QCOMPARE(i.first, 0.0);
        QCOMPARE(i.left, k < 2 ? 18.0 : 0.0);
        QCOMPARE(i.right, k < 2 ? 30.0 : 0.0);
    }
    QCOMPARE(m_w->ruler()->leftMarker()->x(), 26);
    QCOMPARE(m_w->ruler()->rightMarker()->x(), m_w->ruler()->width() - 14 - 40);
}

void TstTexte::boldWithoutSelectionFormatsWhatIsTypedNext()
{
    show(doc({para({run("abc")})}));
    QTextCursor c = edit()->textCursor();
    c.movePosition(QTextCursor::End);
    edit()->setTextCursor(c);
    click(m_w.get(), "SpeedButton6");
    QVERIFY(child<QToolButton>(m_w.get(), "SpeedButton6")->isChecked());
    QTest::keyClicks(edit(), "de");
    QCOMPARE(texte::letterOf(*edit()->document()), doc({para({run("abc"), run("de", Bold)})}));
    // The caret back in the plain text: the button comes up.
    c.setPosition(1);
    edit()->setTextCursor(c);
    QVERIFY(!child<QToolButton>(m_w.get(), "SpeedButton6")->isChecked());
}

void TstTexte::formattingTheSelection()
{
    show(doc({para({run("un deux trois")})}));
    QTextCursor c = edit()->textCursor();
    c.setPosition(3);
    c.setPosition(7, QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
    click(m_w.get(), "SpeedButton7");
    click(m_w.get(), "SpeedButton8");
    QCOMPARE(texte::letterOf(*edit()->document()),
             doc({para({run("un "), run("deux", Italic | Underline), run(" trois")})}));
    QVERIFY(edit()->document()->isModified());
    // Clicked again: the attributes go.
    click(m_w.get(), "SpeedButton7");
    QCOMPARE(texte::letterOf(*edit()->document()),
             doc({para({run("un "), run("deux", Underline), run(" trois")})}));
}

void TstTexte::alignmentAndBullets()
{
    show(doc({para({run("a")}), para({run("b")}), para({run("c")})}));
    QTextCursor c = edit()->textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
    click(m_w.get(), "SpeedButton10");
    click(m_w.get(), "SpeedButton12");
    rtf::Document d = texte::letterOf(*edit()->document());
    QCOMPARE(d.paragraphs.at(0).alignment, rtf::Alignment::Center);
    QCOMPARE(d.paragraphs.at(1).alignment, rtf::Alignment::Center);
    QCOMPARE(d.paragraphs.at(2).alignment, rtf::Alignment::Left);
    QVERIFY(d.paragraphs.at(0).bullet && d.paragraphs.at(1).bullet);
    QVERIFY(!d.paragraphs.at(2).bullet);

    // The buttons follow the caret.
    c.movePosition(QTextCursor::End);
    edit()->setTextCursor(c);
    QVERIFY(child<QToolButton>(m_w.get(), "SpeedButton9")->isChecked());
    QVERIFY(!child<QToolButton>(m_w.get(), "SpeedButton12")->isChecked());
    c.movePosition(QTextCursor::Start);
    edit()->setTextCursor(c);
    QVERIFY(child<QToolButton>(m_w.get(), "SpeedButton10")->isChecked());
    QVERIFY(!child<QToolButton>(m_w.get(), "SpeedButton9")->isChecked());
    QVERIFY(child<QToolButton>(m_w.get(), "SpeedButton12")->isChecked());

    click(m_w.get(), "SpeedButton11");
    click(m_w.get(), "SpeedButton12");
    d = texte::letterOf(*edit()->document());
    QCOMPARE(d.paragraphs.at(0).alignment, rtf::Alignment::Right);
    QVERIFY(!d.paragraphs.at(0).bullet);
    QVERIFY(d.paragraphs.at(1).bullet);
}

void TstTexte::fontNameAndSize()
{
    show(doc({para({run("abc")})}));
    QTextCursor c = edit()->textCursor();
    c.setPosition(0);
    c.setPosition(2, QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
    auto* fonts = child<QComboBox>(m_w.get(), "ComboBox1");
    const int arial = fonts->findText(QStringLiteral("Liberation Sans"));
    QVERIFY(arial >= 0);
    fonts->setCurrentIndex(arial);
    emit fonts->textActivated(fonts->itemText(arial));
    child<QSpinBox>(m_w.get(), "SpinEdit1")->setValue(20);
    QCOMPARE(texte::letterOf(*edit()->document()),
             doc({para({run("ab", Plain, 20, "Liberation Sans"), run("c")})}));
    // Refreshed from the selection, the controls do not format anything.
    c.setPosition(3);
    edit()->setTextCursor(c);
    QCOMPARE(child<QSpinBox>(m_w.get(), "SpinEdit1")->value(), 10);
    QCOMPARE(fonts->currentText(), QStringLiteral("Times New Roman"));
    QCOMPARE(texte::letterOf(*edit()->document()),
             doc({para({run("ab", Plain, 20, "Liberation Sans"), run("c")})}));
}

void TstTexte::fontDialogOnTheSelection()
{
    show(doc({para({run("abc", Italic)})}));
    QFont seen;
    m_w->setFontChooser([&seen](const QFont& initial) -> std::optional<QFont> {
        seen = initial;
        QFont f(QStringLiteral("Courier New"));
        f.setPointSize(14);
        f.setBold(true);
        return f;
    });
    QTextCursor c = edit()->textCursor();
    c.setPosition(1);
    c.setPosition(3, QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
    click(m_w.get(), "SpeedButton18");
    QVERIFY(seen.italic());
    QCOMPARE(seen.pointSize(), 10);
    QCOMPARE(texte::letterOf(*edit()->document()),
             doc({para({run("a", Italic), run("bc", Bold, 14, "Courier New")})}));

    m_w->setFontChooser([](const QFont&) { return std::optional<QFont>(); });
    click(m_w.get(), "SpeedButton18");
    QCOMPARE(texte::letterOf(*edit()->document()).paragraphs.at(0).runs.size(), 2);
}

void TstTexte::letterShownAndReadBack_data()
{
    QTest::addColumn<rtf::Document>("letter");
    QTest::newRow("every attribute") << everyAttribute();
    QTest::newRow("empty") << doc({para({})});
    QTest::newRow("fractions of points")
        << doc({para({run("x", Plain, 10.5)}, rtf::Alignment::Left, 12.35, -3.05, 0.7)});
    QTest::newRow("two bullet lists apart")
        << doc({para({run("a")}, rtf::Alignment::Left, 0, 0, 0, true), para({run("b")}),
                para({run("c")}, rtf::Alignment::Left, 0, 0, 0, true)});
    QTest::newRow("line break and tab")
        << doc({para({run(QStringLiteral("a") + QChar(0x2028) + "b\tc")})});
}

void TstTexte::letterShownAndReadBack()
{
    QFETCH(rtf::Document, letter);
    show(letter);
    QCOMPARE(texte::letterOf(*edit()->document()), letter);
    QVERIFY(!edit()->document()->isModified());
}

void TstTexte::pasteKeepsLetterAttributes()
{
    show(doc({para({run("début ")})}));
    QTextCursor c = edit()->textCursor();
    c.movePosition(QTextCursor::End);
    edit()->setTextCursor(c);
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<p><b style='color:red'>rouge</b> "
                                 "<span style='font-family:Arial;font-size:14pt'>arial</span>"
                                 "<img src='x.png'></p><p align=right><u>fin</u></p>"));
    mime->setText(QStringLiteral("rouge arial\nfin"));
    QApplication::clipboard()->setMimeData(mime);
    click(m_w.get(), "SpeedButton5");
    const rtf::Document d = texte::letterOf(*edit()->document());
    QCOMPARE(d.paragraphs.size(), 2);
    QCOMPARE(d.paragraphs.at(0).text(), QStringLiteral("début rouge arial"));
    QVERIFY(d.paragraphs.at(0).runs.at(1).bold);
    QCOMPARE(d.paragraphs.at(0).runs.last().font, QStringLiteral("Arial"));
    QCOMPARE(d.paragraphs.at(0).runs.last().size, 14.0);
    QCOMPARE(d.paragraphs.at(1).alignment, rtf::Alignment::Right);
    QVERIFY(d.paragraphs.at(1).runs.at(0).underline);
    // What is on screen is exactly what a save writes.
    QCOMPARE(rtf::read(rtf::write(d))->document, d);
}

void TstTexte::newLetterWithCompanyLines()
{
    click(m_w.get(), "SpeedButton1");
    QVERIFY(m_prompter->asked.isEmpty());
    QCOMPARE(edit()->toPlainText(),
             QStringLiteral("Dupont SA\n1 rue Haute\n75001 Paris\n01 02 03 04\n"));
    QCOMPARE(texte::lookOf(edit()->currentCharFormat()), rtf::Run{});
    QVERIFY(!edit()->document()->isModified());
}

void TstTexte::saveOnUnmodifiedOpensNoDialog()
{
    click(m_w.get(), "SpeedButton2");
    QVERIFY(m_prompter->asked.isEmpty());
    show(doc({para({run("x")})}));
    m_prompter->asked.clear();
    click(m_w.get(), "SpeedButton2");
    QVERIFY(m_prompter->asked.isEmpty());
}

void TstTexte::saveQuestionBeforeAnySave()
{
    QTest::keyClicks(edit(), "Bonjour");
    QVERIFY(edit()->document()->isModified());
    m_prompter->yesNoCancelAnswers.push_back(Answer::Cancel);
    click(m_w.get(), "SpeedButton1");
    QCOMPARE(m_prompter->texts("yesnocancel"),
             QStringList{QStringLiteral("Enregistrer changements dans  ?")});
    QCOMPARE(edit()->toPlainText(), QStringLiteral("Bonjour"));

    // Saved once, the question names the file.
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{path("bonjour.rtf")});
    click(m_w.get(), "SpeedButton2");
    QTest::keyClicks(edit(), "!");
    m_prompter->yesNoCancelAnswers.push_back(Answer::No);
    click(m_w.get(), "SpeedButton1");
    QCOMPARE(m_prompter->texts("yesnocancel").last(),
             QStringLiteral("Enregistrer changements dans bonjour.rtf ?"));
    QCOMPARE(edit()->document()->blockCount(), 5);
}

void TstTexte::closeWithSaveCancelledKeepsWindow()
{
    QTest::keyClicks(edit(), "Lettre");
    m_prompter->yesNoCancelAnswers.push_back(Answer::Yes);
    m_prompter->saveAnswers.push_back(std::nullopt);
    click(m_w.get(), "Button1");
    QVERIFY(m_w->isVisible());
    QCOMPARE(edit()->toPlainText(), QStringLiteral("Lettre"));

    // The close box too.
    m_prompter->yesNoCancelAnswers.push_back(Answer::Cancel);
    m_w->close();
    QVERIFY(m_w->isVisible());

    m_prompter->yesNoCancelAnswers.push_back(Answer::Yes);
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{path("lettre.rtf")});
    click(m_w.get(), "Button1");
    QVERIFY(!m_w->isVisible());
    QCOMPARE(rtf::loadFile(path("lettre.rtf")).document.paragraphs.at(0).text(),
             QStringLiteral("Lettre"));

    // Escape does not close the window.
    m_w->show();
    QTest::keyClick(m_w.get(), Qt::Key_Escape);
    QVERIFY(m_w->isVisible());
}

void TstTexte::openAsksFirstAndRefusesBadFiles()
{
    QTest::keyClicks(edit(), "Brouillon");
    m_prompter->yesNoCancelAnswers.push_back(Answer::Cancel);
    click(m_w.get(), "SpeedButton13");
    QCOMPARE(m_prompter->texts("yesnocancel").size(), 1);
    QCOMPARE(m_prompter->texts("open").size(), 0);
    QCOMPARE(edit()->toPlainText(), QStringLiteral("Brouillon"));

    writeBytes(path("faux.rtf"), "Ceci n'est pas du RTF");
    m_prompter->yesNoCancelAnswers.push_back(Answer::No);
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("faux.rtf")});
    click(m_w.get(), "SpeedButton13");
    QCOMPARE(m_prompter->texts("information"),
             QStringList{QStringLiteral("Le fichier faux.rtf n'est pas un document RTF")});
    QCOMPARE(edit()->toPlainText(), QStringLiteral("Brouillon"));
    QVERIFY(edit()->document()->isModified());
    QCOMPARE(m_w->fileName(), QString());
}

void TstTexte::savedFileOpensAgain()
{
    show(everyAttribute());
    QTest::keyClicks(edit(), " fin");
    const rtf::Document typed = texte::letterOf(*edit()->document());
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{path("tout.rtf")});
    click(m_w.get(), "SpeedButton2");
    QVERIFY(!edit()->document()->isModified());

    TTexte other(Company, nullptr, m_prompter.get());
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("tout.rtf")});
    other.openLetter();
    QCOMPARE(texte::letterOf(*other.editor()->document()), typed);
    QCOMPARE(other.fileName(), path("tout.rtf"));
}

void TstTexte::printsThroughThePrintHost()
{
    ScriptedPrintHost host;
    TTexte w(Company, nullptr, m_prompter.get(), &host);
    w.editor()->setPlainText(QStringLiteral("Bonjour\nà demain"));
    host.printerAnswers.push_back(false);
    click(&w, "SpeedButton3");
    QCOMPARE(host.printerDialogs, 1);
    QVERIFY(host.jobs.isEmpty());

    host.printerAnswers.push_back(true);
    click(&w, "SpeedButton3");
    QCOMPARE(host.jobs.size(), 1);
    QCOMPARE(host.jobs.first().title, QString());
    const print::RecordingPrintDevice* device = host.last();
    QCOMPARE(device->begun, 1);
    QCOMPARE(device->ended, 1);
    // Inside margins of 2 cm, one line under the other.
    const int margin = qRound(20.0 * device->pageWidth() / device->pageWidthMM());
    QCOMPARE(
        device->texts(),
        (QStringList{QStringLiteral("0:%1:%1:Bonjour").arg(margin),
                     QStringLiteral("0:%1:%2:à demain").arg(margin).arg(device->calls.last().y)}));
    QVERIFY(device->calls.last().y > margin);
    w.editor()->document()->setModified(false);
}

void TstTexte::printsRichTextOnPaper()
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("Ligne %1 de la lettre\n").arg(i);
    edit()->setPlainText(text);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("lettre.pdf"));
    {
        print::QtPrintDevice device(printer);
        m_w->drawLetter(device);
    }
    const QByteArray pdf = readBytes(path("lettre.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY2(pdf.count("/Type /Page") - pdf.count("/Type /Pages") >= 3, pdf.left(2000).constData());
    QCOMPARE(printer.docName(), QString());
    // Printing changes nothing on screen.
    QCOMPARE(edit()->toPlainText(), text);
    QCOMPARE(edit()->document()->rootFrame()->frameFormat().leftMargin(), 6.0);
}

void TstTexte::menuItemOpensMaximized()
{
    QTemporaryDir dir;
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ScriptedPrompter prompter;
    FixedClock clock;
    FakeClockSetter setter;
    {
        RecordBook book(prompter, clock);
        TMainForm form(book, prompter, clock, setter);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        settings::CompanyLines company = book.company();
        company[0] = "Soci\xe9t\xe9 Martin";
        company[3] = "ligne 4";
        book.setCompanyLines(company);
        QAction* item = form.action(QStringLiteral("Texte1"));
        QCOMPARE(item->text(), QStringLiteral("&Traitement de texte"));
        item->setEnabled(true);
        QString className;
        bool maximized = false;
        QString typed;
        QTimer::singleShot(100, [&] {
            auto* w = qobject_cast<TTexte*>(QApplication::activeModalWidget());
            if (!w)
                return;
            className = windowClass(w);
            maximized = w->windowState() & Qt::WindowMaximized;
            w->newLetter();
            typed = w->editor()->toPlainText();
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Button1")),
                              Qt::LeftButton);
        });
        item->trigger();
        QCOMPARE(className, QStringLiteral("TTexte"));
        QVERIFY(maximized);
        QCOMPARE(typed, QStringLiteral("Société Martin\n\n\nligne 4\n"));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(prompter.asked.isEmpty());
    }
    QDir::setCurrent(oldCwd);
}

void TstTexte::screenshot()
{
    // TARVIK_SCREENSHOTS=folder writes the window with a letter using every
    // attribute, for the documentation.
    const QString folder = qEnvironmentVariable("TARVIK_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("TARVIK_SCREENSHOTS not set");
    m_w->resize(1000, 620);
    show(everyAttribute());
    QTextCursor c = edit()->textCursor();
    c.setPosition(edit()->document()->findBlockByNumber(6).position() + 60);
    edit()->setTextCursor(c);
    QApplication::processEvents();
    QVERIFY(m_w->grab().save(QDir(folder).filePath("texte.png")));
    // The same letter as a save writes it, for opening in other programs.
    edit()->document()->setModified(true);
    m_prompter->saveAnswers.push_back(Prompter::FileChoice{QDir(folder).filePath("lettre.rtf")});
    QVERIFY(m_w->letterEditor().save());
}

QTEST_MAIN(TstTexte)
#include "tst_texte.moc"
