#include "app/main_form.h"
#include "contacts/ui/fiche.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <functional>
#include <memory>

using namespace tarvik;

namespace {

QByteArray block(int n, const QByteArray& name, const QByteArray& history = {})
{
    const QByteArray num = QByteArray::number(n).rightJustified(5, '0');
    QByteArray b = "<BLOC" + num + ">\r\n" + QByteArray::number(10001 + n) + "\r\n" + name +
                   "\r\n1 rue A\r\n\r\n75001\r\nParis\r\n0102030405\r\n0102030406\r\n\r\n\r\n"
                   "M.\r\nDupont\r\n\r\nVisite\r\n01/02/2026\r\n10:00:00\r\n\r\n\r\n\r\n\r\n"
                   "\r\n\r\n\r\n01/03/2026\r\n00:00:00\r\n\r\nY\r\nN\r\n";
    b += history;
    b += "</BLOC" + num + ">\r\n";
    return b;
}

QByteArray contactFile(int count, const QByteArray& history = {})
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += block(i, "Soci\xE9t\xE9 " + QByteArray::number(i), history);
    return data;
}

} // namespace

// The record window inside the real main window: what the user sees of the
// pages, the counters, the history memo and the list window.
class TstRecordWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandsKeepThePage_data();
    void commandsKeepThePage();
    void counterCaptionsUntilFirstUpdate();
    void memoKeysMoveTheCaret_data();
    void memoKeysMoveTheCaret();
    void historyColumnsLineUp();
    void contactListFitsTheMainWindow();
    void importWithAnEditPending();

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
    void open(const QString& file)
    {
        m_prompter->openAnswers.push_back(Prompter::FileChoice{file, 1});
        m_form->openFile();
    }
    template <typename T> T* child(const char* name)
    {
        T* w = m_form->findChild<T*>(QLatin1String(name));
        if (!w)
            qWarning("no child %s", name);
        return w;
    }
    bool enabled(const char* name) { return m_form->action(QLatin1String(name))->isEnabled(); }
};

void TstRecordWindow::init()
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

void TstRecordWindow::cleanup()
{
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
    m_form->close();
    m_form.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

// New, Open and a new record leave the page that was showing on show, and the toolbar and
// menus as that page wants them: only the enable-all step runs, and on the
// operations page the commands of the contacts page stay off.
void TstRecordWindow::commandsKeepThePage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("operations");
    QTest::newRow("New, contacts page") << "new" << false;
    QTest::newRow("New, operations page") << "new" << true;
    QTest::newRow("Open, contacts page") << "open" << false;
    QTest::newRow("Open, operations page") << "open" << true;
    QTest::newRow("new record, contacts page") << "record" << false;
    QTest::newRow("new record, operations page") << "record" << true;
}

void TstRecordWindow::commandsKeepThePage()
{
    QFETCH(QString, command);
    QFETCH(bool, operations);
    writeBytes(path("a.ctc"), contactFile(2));
    writeBytes(path("a.opr"), "<BLOC0000>\r\n10001\r\nSalon\r\nSalon de Lyon\r\n100,00\r\n"
                              "2,00\r\n01/02/2026\r\n02/02/2026\r\nN\r\n</BLOC0000>\r\n");
    if (command == "record")
        open(path("a.ctc"));
    if (operations)
        m_form->action("SpeedButton13")->trigger();
    if (command == "new")
        m_form->newFile();
    else if (command == "open")
        open(path("a.ctc"));
    else
        m_form->action("Nouveaucontact1")->trigger();

    const RecordBook::Page page =
        operations ? RecordBook::Page::Operations : RecordBook::Page::Contacts;
    QCOMPARE(book().page(), page);
    auto* pages = child<QStackedWidget>("PageControl1");
    QCOMPARE(pages->currentWidget()->objectName(),
             QLatin1String(operations ? "TabSheet2" : "TabSheet1"));
    const bool newOperation = command == "record" && operations;
    QCOMPARE(book().operations().current(), newOperation ? 1 : 0);
    QCOMPARE(book().operations().shown().summary,
             QByteArray(command != "new" && !newOperation ? "Salon de Lyon" : ""));

    QVERIFY(enabled("SaveItem"));
    QVERIFY(enabled("SpeedButton4"));
    QVERIFY(enabled("SpeedButton12"));
    QCOMPARE(enabled("SpeedButton13"), !operations);
    QCOMPARE(enabled("Oprations1"), true);
    for (const char* item : {"Rechercherrsum1", "Touteslesfiches2", "Type1"})
        QVERIFY2(enabled(item) == operations, item);
    for (const char* item : {"Exporter1", "Nom1", "Trier1", "Importer1", "Touteslesfiches1"})
        QVERIFY2(enabled(item) == !operations, item);
}

void TstRecordWindow::counterCaptionsUntilFirstUpdate()
{
    const char* names[] = {"Label26", "Label27", "Label28", "Label29", "Label30"};
    QStringList shown;
    for (const char* n : names)
        shown << child<QLabel>(n)->text();
    QCOMPARE(shown, (QStringList{"Alertes", "Ventes abouties", "Relances", "Temps passé",
                                 "Nbr contacts"}));

    writeBytes(path("b.ctc"), contactFile(3));
    open(path("b.ctc"));
    QCOMPARE(child<QLabel>("Label26")->text(), QStringLiteral("Alertes  3"));
    QCOMPARE(child<QLabel>("Label27")->text(), QStringLiteral("Ventes abouties  0"));
    QCOMPARE(child<QLabel>("Label30")->text(), QStringLiteral("Nbr contacts  0"));
}

// In the history memo Ctrl+Home and Ctrl+End move the caret, as in any text;
// the record stays.
void TstRecordWindow::memoKeysMoveTheCaret_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("atEnd");
    QTest::newRow("Ctrl+End") << int(Qt::Key_End) << true;
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << false;
}

void TstRecordWindow::memoKeysMoveTheCaret()
{
    QFETCH(int, key);
    QFETCH(bool, atEnd);
    QByteArray history;
    for (int i = 0; i < 40; ++i)
        history += "MEMOligne " + QByteArray::number(i) + "\r\n";
    writeBytes(path("c.ctc"), contactFile(3, history));
    open(path("c.ctc"));
    m_form->action("Suivant1")->trigger();
    QCOMPARE(book().currentRecord(), 1);

    auto* memo = child<QPlainTextEdit>("Memo1");
    memo->setFocus();
    QTRY_VERIFY(memo->hasFocus());
    QTextCursor c = memo->textCursor();
    c.setPosition(memo->document()->findBlockByNumber(20).position());
    memo->setTextCursor(c);
    QTest::keyClick(memo, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(book().currentRecord(), 1);
    const int expected = atEnd ? memo->document()->characterCount() - 1 : 0;
    QCOMPARE(memo->textCursor().position(), expected);
    // The record keys still work everywhere else.
    auto* name = child<QLineEdit>("Edit1");
    name->setFocus();
    QTRY_VERIFY(name->hasFocus());
    QTest::keyClick(name, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(book().currentRecord(), atEnd ? 2 : 0);
}

// The titles of a history entry stand over its values in the memo's font.
void TstRecordWindow::historyColumnsLineUp()
{
    writeBytes(path("d.ctc"), contactFile(1));
    open(path("d.ctc"));
    auto* type = child<QComboBox>("ComboBox3");
    type->setEditText(QStringLiteral("Appel"));
    book().setText(contact::ContactType, "Appel", RecordBook::Edit::Changed);
    book().setText(contact::Interlocutor, "Standard", RecordBook::Edit::Interlocutor);
    book().setText(contact::Product, "Copieur", RecordBook::Edit::Changed);
    book().setText(contact::PurchasePrice, "1200,00");
    book().setText(contact::SalePrice, "1500,00");
    m_form->fiche()->refresh();
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);

    auto* memo = child<QPlainTextEdit>("Memo1");
    QTextDocument* doc = memo->document();
    const QString titles = doc->findBlockByNumber(0).text();
    const QString values = doc->findBlockByNumber(1).text();
    QVERIFY(titles.startsWith(QStringLiteral("Type de contact")));
    const auto xAt = [memo, doc](int blockNumber, int column) {
        QTextCursor c(doc->findBlockByNumber(blockNumber));
        c.setPosition(c.block().position() + column);
        return memo->cursorRect(c).left();
    };
    const auto startOf = [](const QString& line, const QString& text) {
        return int(line.indexOf(text));
    };
    const std::pair<QString, QString> columns[] = {
        {QStringLiteral("Type de contact"), QStringLiteral("Appel")},
        {QStringLiteral("Date"), QStringLiteral("01/02/2026")},
        {QStringLiteral("Interlocuteur"), QStringLiteral("Standard")},
        {QStringLiteral("produit/besoin/concurent"), QStringLiteral("Copieur")},
        {QStringLiteral("Prix Achat"), QStringLiteral("1200,00")},
        {QStringLiteral("Prix vente"), QStringLiteral("1500,00")},
    };
    int previous = -1;
    for (const auto& [title, value] : columns) {
        const int tx = xAt(0, startOf(titles, title));
        const int vx = xAt(1, startOf(values, value));
        QVERIFY2(std::abs(tx - vx) <= 1, qPrintable(title + ": " + QString::number(tx - vx)));
        QVERIFY2(tx > previous, qPrintable(title));
        previous = tx;
    }
    // "Heure" over the time, within the width of a blank.
    const int space = memo->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const int heure = xAt(0, startOf(titles, QStringLiteral("Heure")));
    const int time = xAt(1, startOf(values, QStringLiteral("10:00:00")));
    QVERIFY2(std::abs(heure - time) <= space, qPrintable(QString::number(heure - time)));
}

// The contact list opens inside the main window's screen, no wider than the
// main window, with every column in view without scrolling sideways.
void TstRecordWindow::contactListFitsTheMainWindow()
{
    m_form->setWindowState(Qt::WindowNoState);
    m_form->resize(800, 600);
    writeBytes(path("e.ctc"), contactFile(3));
    open(path("e.ctc"));

    QRect frame;
    QRect screenArea;
    int overflow = -1;
    QStringList headings;
    bool seen = false;
    QTimer::singleShot(100, [&] {
        auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!w)
            return;
        seen = true;
        frame = w->frameGeometry();
        screenArea = w->screen()->availableGeometry();
        auto* grid = w->findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        overflow = grid->horizontalScrollBar()->maximum();
        for (int c = 2; c < grid->columnCount(); ++c) {
            const int right = grid->columnViewportPosition(c) + grid->columnWidth(c);
            if (right > grid->viewport()->width() || grid->columnWidth(c) < 20)
                headings << grid->horizontalHeaderItem(c)->text();
        }
        w->reject();
    });
    m_form->action("Listredescontacts1")->trigger();
    QVERIFY(seen);
    QVERIFY2(screenArea.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                        .arg(frame.x())
                                                        .arg(frame.y())
                                                        .arg(frame.width())
                                                        .arg(frame.height())));
    QVERIFY(frame.width() <= m_form->frameGeometry().width());
    QCOMPARE(overflow, 0);
    QCOMPARE(headings, QStringList());
}

// The town of the shown record is edited, a two-line text file imported and
// the file saved: the edit is in its record, both lines are imported, and no
// record is there twice.
void TstRecordWindow::importWithAnEditPending()
{
    writeBytes(path("f.ctc"), contactFile(2));
    open(path("f.ctc"));
    m_form->action("Suivant1")->trigger();
    auto* town = child<QLineEdit>("Edit5");
    town->setFocus();
    town->selectAll();
    QTest::keyClicks(town, "Rouen");
    writeBytes(path("new.txt"), "Alpha\t1 rue A\t\t76000\tRouen\t01\t02\r\n"
                                "Beta\t2 rue B\t\t69001\tLyon\t03\t04\r\n");
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("new.txt"), 1});
    m_form->action("Importer1")->trigger();
    QCOMPARE(book().recordCount(), 4);
    QVERIFY(m_form->saveFile());

    const QByteArray saved = readBytes(path("f.ctc"));
    QCOMPARE(saved.count("\r\n10002\r\n"), 1);
    QCOMPARE(saved.count("Soci\xE9t\xE9 1\r\n1 rue A\r\n\r\n75001\r\nRouen\r\n"), 1);
    QCOMPARE(saved.count("\r\nAlpha\r\n"), 1);
    QCOMPARE(saved.count("\r\nBeta\r\n"), 1);
    QCOMPARE(saved.count("<BLOC"), 4);
}

QTEST_MAIN(TstRecordWindow)
#include "tst_record_window.moc"
