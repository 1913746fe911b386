#include "operations/operation_book.h"
#include "operations/ui/operations_page.h"
#include "platform/ui/font_text_measure.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace tarvik;

namespace {

struct Fixture
{
    BookFlags flags;
    FixedClock clock;
    ScriptedPrompter prompter;
    OperationBook book{flags, clock, prompter};
    settings::PickLists lists;
    std::unique_ptr<OperationsPage> page;

    explicit Fixture(const BlockList& lines = {})
    {
        lists[settings::Operation] = {"Mailing", "Salon"};
        book.setLines(lines);
        book.LitOperation();
        page = std::make_unique<OperationsPage>(book, lists);
        page->resize(780, 480);
        page->show();
        QApplication::setActiveWindow(page.get());
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
    }
    template <typename T> T* find(const char* name)
    {
        T* w = page->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QStringList row(int r)
    {
        auto* grid = find<QTableWidget>("StringGrid3");
        QStringList cells;
        for (int c = 0; c < 3; ++c)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        return cells;
    }
};

BlockList oneOperation(const BlockList& tail = {})
{
    BlockList b{"<BLOC0000>", "10004",      "Salon", "Foire de Lyon",        "    12,50", "",
                "02/03/2026", "09/03/2026", "Y",     "MEM3premi\xe8re ligne"};
    b << tail << "</BLOC0000>";
    return b;
}

} // namespace

class TstOperationsPage : public QObject
{
    Q_OBJECT
private slots:
    void refreshShowsWithoutMarking();
    void costFieldFormatsOnLeaving();
    void costFieldDropsOtherCharacters();
    void typingMarksTheOperation_data();
    void typingMarksTheOperation();
    void enterAddsAnEntry_data();
    void enterAddsAnEntry();
    void blankPanelAddsNothing();
    void deleteRemovesAnEntry();
    void everyEntryIsShown();
};

void TstOperationsPage::refreshShowsWithoutMarking()
{
    Fixture f(oneOperation());
    QVERIFY(!f.flags.operationsChanged);
    QVERIFY(!f.flags.fileModified);
    QCOMPARE(f.find<QLineEdit>("Edit16")->text(), QString("10004"));
    QCOMPARE(f.find<QComboBox>("ComboBox10")->currentText(), QString("Salon"));
    QCOMPARE(f.find<QComboBox>("ComboBox10")->count(), 2);
    QCOMPARE(f.find<QLineEdit>("Edit17")->text(), QString("Foire de Lyon"));
    QCOMPARE(f.find<QLineEdit>("Edit18")->text(), QString("    12,50"));
    QCOMPARE(f.find<QDateEdit>("DateTimePicker5")->date(), QDate(2026, 3, 2));
    QCOMPARE(f.find<QDateEdit>("DateTimePicker6")->date(), QDate(2026, 3, 9));
    QCOMPARE(f.find<QDateEdit>("DateTimePicker7")->date(), QDate(2026, 3, 15));
    QVERIFY(f.find<QCheckBox>("CheckBox3")->isChecked());
    QCOMPARE(f.find<QPlainTextEdit>("Memo3")->toPlainText(), QString("première ligne"));

    auto* grid = f.find<QTableWidget>("StringGrid3");
    QCOMPARE(grid->rowCount(), 63);
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Libellé"));
    QCOMPARE(grid->columnWidth(0), 97);
    QCOMPARE(grid->columnWidth(1), 242);
    QCOMPARE(grid->columnWidth(2), 96);

    // Another operation read into the same page: still nothing marked.
    f.book.setLines({});
    f.book.LitOperation();
    f.page->refresh();
    QVERIFY(!f.flags.operationsChanged);
    QCOMPARE(f.find<QLineEdit>("Edit17")->text(), QString());
    QCOMPARE(f.find<QComboBox>("ComboBox10")->currentText(), QString());
    QVERIFY(!f.find<QCheckBox>("CheckBox3")->isChecked());
    QCOMPARE(f.find<QPlainTextEdit>("Memo3")->toPlainText(), QString());
}

void TstOperationsPage::costFieldFormatsOnLeaving()
{
    Fixture f;
    auto* cost = f.find<QLineEdit>("Edit18");
    cost->setFocus();
    QTest::keyClicks(cost, "12.5");
    QCOMPARE(cost->text(), QString("12,5"));
    QCOMPARE(f.book.shown().fixed_cost, QByteArray("12,5"));
    QVERIFY(f.flags.operationsChanged);

    f.find<QLineEdit>("Edit17")->setFocus();
    QVERIFY(!cost->hasFocus());
    QCOMPARE(cost->text().trimmed(), QString("12,50"));
    QVERIFY(cost->text().startsWith(' '));
    // Just over 90 pixels: one space less would not be.
    const FontTextMeasure measure(f.page.get());
    const QByteArray padded = f.book.shown().fixed_cost;
    QCOMPARE(padded, cost->text().toLatin1());
    QVERIFY(measure.width(padded) > 90);
    QVERIFY(measure.width(padded.mid(1)) <= 90);
}

void TstOperationsPage::costFieldDropsOtherCharacters()
{
    Fixture f;
    auto* cost = f.find<QLineEdit>("Edit19");
    cost->setFocus();
    QTest::keyClicks(cost, "1a2 .5e");
    QCOMPARE(cost->text(), QString("12,5"));
    QTest::keyClick(cost, Qt::Key_Backspace);
    QCOMPARE(cost->text(), QString("12,"));
    QCOMPARE(f.book.shown().unit_cost, QByteArray("12,"));
}

void TstOperationsPage::typingMarksTheOperation_data()
{
    QTest::addColumn<QByteArray>("control");
    QTest::newRow("code") << QByteArray("Edit16");
    QTest::newRow("summary") << QByteArray("Edit17");
    QTest::newRow("description") << QByteArray("Memo3");
    QTest::newRow("highlights") << QByteArray("Memo4");
    QTest::newRow("type") << QByteArray("ComboBox10");
    QTest::newRow("entry label") << QByteArray("Edit33");
    QTest::newRow("entry amount") << QByteArray("Edit34");
}

void TstOperationsPage::typingMarksTheOperation()
{
    QFETCH(QByteArray, control);
    Fixture f(oneOperation());
    QWidget* w = f.find<QWidget>(control.constData());
    if (auto* combo = qobject_cast<QComboBox*>(w))
        w = combo->lineEdit();
    w->setFocus();
    QTest::keyClicks(w, "7");
    QVERIFY(f.flags.operationsChanged);
    f.book.EcritOperation();
    QVERIFY(f.flags.fileModified);
    const OperationRecord& r = f.book.shown();
    if (control == "Edit16")
        QCOMPARE(r.op_code, QByteArray("100047"));
    else if (control == "Edit17")
        QCOMPARE(r.summary, QByteArray("Foire de Lyon7"));
    else if (control == "Memo3")
        QCOMPARE(r.description, QList<QByteArray>{"7premi\xe8re ligne"});
    else if (control == "Memo4")
        QCOMPARE(r.highlights, QList<QByteArray>{"7"});
    else if (control == "ComboBox10")
        QCOMPARE(r.op_type, QByteArray("Salon7"));
}

void TstOperationsPage::enterAddsAnEntry_data()
{
    QTest::addColumn<QByteArray>("where");
    QTest::newRow("Enter in the label") << QByteArray("Edit33");
    QTest::newRow("Enter in the amount") << QByteArray("Edit34");
    QTest::newRow("OK button") << QByteArray("SpeedButton3");
}

void TstOperationsPage::enterAddsAnEntry()
{
    QFETCH(QByteArray, where);
    Fixture f;
    f.find<QDateEdit>("DateTimePicker7")->setDate(QDate(2026, 3, 1));
    auto* label = f.find<QLineEdit>("Edit33");
    auto* amount = f.find<QLineEdit>("Edit34");
    label->setFocus();
    QTest::keyClicks(label, "Salon");
    amount->setFocus();
    QTest::keyClicks(amount, "1500");
    if (where == "SpeedButton3")
        QTest::mouseClick(f.find<QToolButton>("SpeedButton3"), Qt::LeftButton);
    else
        QTest::keyClick(f.find<QLineEdit>(where.constData()), Qt::Key_Return);

    QCOMPARE(f.row(0), (QStringList{"01/03/2026", "Salon", "1500,00"}));
    QCOMPARE(f.row(1), (QStringList{"", "", ""}));
    QVERIFY(label->text().isEmpty());
    QVERIFY(amount->text().isEmpty());
    QVERIFY(f.flags.fileModified);
    QVERIFY(f.flags.operationsChanged);
    f.book.EcritOperation();
    QVERIFY(f.book.list().contains("DATA01/03/2026\tSalon\t1500,00"));
}

void TstOperationsPage::blankPanelAddsNothing()
{
    Fixture f;
    auto* label = f.find<QLineEdit>("Edit33");
    label->setFocus();
    QTest::keyClicks(label, "Salon");
    QTest::keyClick(label, Qt::Key_Return);
    QCOMPARE(f.row(0), (QStringList{"", "", ""}));
    QCOMPARE(label->text(), QString("Salon"));
    QVERIFY(f.book.shown().entries.isEmpty());
}

void TstOperationsPage::deleteRemovesAnEntry()
{
    Fixture f(oneOperation(
        {"DATA01/03/2026\tun\t1,00", "DATA02/03/2026\tdeux\t2,00", "DATA03/03/2026\ttrois\t3,00"}));
    auto* grid = f.find<QTableWidget>("StringGrid3");
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(f.row(0), (QStringList{"02/03/2026", "deux", "2,00"}));
    QCOMPARE(f.row(1), (QStringList{"03/03/2026", "trois", "3,00"}));
    QCOMPARE(f.row(2), (QStringList{"", "", ""}));
    QVERIFY(f.flags.fileModified);
    QVERIFY(f.flags.operationsChanged);
    QCOMPARE(f.book.shown().entries.size(), 2);
}

void TstOperationsPage::everyEntryIsShown()
{
    BlockList tail;
    for (int i = 1; i <= 70; ++i)
        tail << "DATA01/03/2026\tligne " + QByteArray::number(i) + "\t1,00";
    Fixture f(oneOperation(tail));
    auto* grid = f.find<QTableWidget>("StringGrid3");
    QCOMPARE(grid->rowCount(), 70);
    QCOMPARE(f.row(69), (QStringList{"01/03/2026", "ligne 70", "1,00"}));

    f.book.setLines({});
    f.book.LitOperation();
    f.page->refresh();
    QCOMPARE(grid->rowCount(), 63);
    QCOMPARE(f.row(0), (QStringList{"", "", ""}));
}

QTEST_MAIN(TstOperationsPage)
#include "tst_operations_page.moc"
