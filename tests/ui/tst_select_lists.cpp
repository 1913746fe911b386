#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"

#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "selection/ui/list_windows.h"
#include "selection/ui/selection_commands.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tarvik;

class TstSelectLists : public QObject
{
    Q_OBJECT
private slots:
    void contactListGrowsAndChoosesByDoubleClick();
    void closeWithoutChoice();
    void emptyRowIsNotAChoice();
    void operationListColumns();
    void showListWritesBackAndMoves();
    void noOperationListWithoutWholeBlock();
};

static BlockList contacts(int count)
{
    BlockList l;
    for (int i = 0; i < count; ++i) {
        ContactRecord r;
        r.code = QByteArray::number(10001 + i);
        r.name = "Soci\xE9t\xE9 " + QByteArray::number(i);
        r.town = "Paris";
        r.postcode = "75001";
        r.contact_date = r.followup_date = QDate(2026, 1, 1);
        r.contact_time = r.followup_time = QTime(0, 0, 0);
        l << contact::blockLines(r, i);
    }
    return l;
}

static void doubleClickRow(QTableWidget* grid, int row)
{
    const QRect rect = grid->visualRect(grid->model()->index(row, 2));
    QVERIFY(rect.isValid());
    // A real double-click: press and release, then the double-click event.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void TstSelectLists::contactListGrowsAndChoosesByDoubleClick()
{
    TFListe window;
    window.Init(contacts(25));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableWidget* grid = window.findChild<QTableWidget*>("StringGrid1");
    QVERIFY(grid);
    QCOMPARE(window.windowTitle(), QString("Liste des contacts"));
    QCOMPARE(grid->columnCount(), 9);
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), QString("Nom/Société"));
    QCOMPARE(grid->horizontalHeaderItem(5)->text(), QString("C.P."));
    QCOMPARE(grid->horizontalHeaderItem(7)->text(), QString("Téléphone"));
    QVERIFY(grid->isColumnHidden(0));
    QCOMPARE(grid->columnWidth(1), 40);
    // The name takes its share of the width, at most its own 221 pixels.
    QVERIFY(grid->columnWidth(2) > 100 && grid->columnWidth(2) <= 221);
    // 20 grid rows with the heading row; the 20th block grows it to 31.
    QCOMPARE(grid->rowCount(), 30);
    QCOMPARE(grid->item(24, 1)->text(), QString("25"));
    QCOMPARE(grid->item(24, 0)->text(), QString("00024"));
    QCOMPARE(grid->item(24, 2)->text(), QString::fromUtf8("Société 24"));
    QVERIFY(!grid->item(25, 0));

    doubleClickRow(grid, 1);
    QCOMPARE(window.Result(), 1);
    QVERIFY(!window.isVisible());
}

void TstSelectLists::closeWithoutChoice()
{
    TFListe window;
    window.Init(contacts(3));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.grid()->rowCount(), 19);
    window.grid()->selectRow(2);
    QPushButton* close = window.findChild<QPushButton*>("Button1");
    QCOMPARE(close->text(), QString("Fermer"));
    QVERIFY(close->parentWidget()->objectName() == "Panel1");
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Result(), -1);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.grid()->selectRow(1);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Result(), -1);
}

void TstSelectLists::emptyRowIsNotAChoice()
{
    TFListe window;
    BlockList l = contacts(3);
    l[blocks::find(l, blocks::header(1, 5))] = "<BLOCxy>"; // unreadable number
    window.Init(l);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    doubleClickRow(window.grid(), 10);
    doubleClickRow(window.grid(), 1);
    QVERIFY(window.isVisible());
    QCOMPARE(window.Result(), -1);
    const QPoint heading = window.grid()->horizontalHeader()->geometry().center();
    QTest::mouseDClick(window.grid()->horizontalHeader()->viewport(), Qt::LeftButton,
                       Qt::NoModifier, QPoint(heading.x(), 5));
    QVERIFY(window.isVisible());
    doubleClickRow(window.grid(), 2);
    QCOMPARE(window.Result(), 2);
}

void TstSelectLists::operationListColumns()
{
    BlockList ops;
    for (int n : {1, 2, 0}) {
        ops << blocks::header(n, 4) << "1000" + QByteArray::number(n) << "Mailing"
            << "R\xE9sum\xE9 " + QByteArray::number(n) << "100,00"
            << "2,50"
            << "01/02/2026"
            << "28/02/2026"
            << "N" << blocks::trailer(n, 4);
    }
    TFListe2 window;
    window.Init(ops);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableWidget* grid = window.grid();
    QCOMPARE(window.windowTitle(), QString("Liste des opérations"));
    QCOMPARE(grid->columnCount(), 8);
    QCOMPARE(grid->horizontalHeaderItem(4)->text(), QString("Coû fixe"));
    QCOMPARE(grid->horizontalHeaderItem(5)->text(), QString("Coût unitaire"));
    QStringList order;
    for (int r = 0; r < 3; ++r)
        order << grid->item(r, 1)->text();
    QCOMPARE(order, (QStringList{"0001", "0002", "0000"}));
    QCOMPARE(grid->item(2, 3)->text(), QString::fromUtf8("Résumé 0"));
    QCOMPARE(grid->item(0, 7)->text(), QString("28/02/2026"));
    doubleClickRow(grid, 2);
    QCOMPARE(window.Result(), 0);
}

struct Book
{
    QTemporaryDir dir;
    FixedClock clock;
    ScriptedPrompter prompter;
    RecordBook book{prompter, clock};
    explicit Book(const BlockList& l)
    {
        const QString path = QDir(dir.path()).filePath("t.ctc");
        blocks::saveFile(path, l);
        book.Charge(path);
    }
};

static void whenModal(std::function<void(QWidget*)> drive)
{
    QTimer::singleShot(0, [drive] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY(w);
        drive(w);
    });
}

void TstSelectLists::showListWritesBackAndMoves()
{
    Book b(contacts(4));
    b.book.setText(contact::Name, "Nouveau nom");
    QString listed;
    whenModal([&listed](QWidget* w) {
        auto* grid = w->findChild<QTableWidget*>("StringGrid1");
        listed = grid->item(0, 2)->text();
        doubleClickRow(grid, 2);
    });
    selectionui::showList(b.book, nullptr);
    QCOMPARE(listed, QString("Nouveau nom"));
    QCOMPARE(b.book.currentRecord(), 2);

    whenModal([](QWidget* w) {
        w->findChild<QTableWidget*>("StringGrid1")->selectRow(3);
        w->findChild<QPushButton*>("Button1")->click();
    });
    selectionui::showList(b.book, nullptr);
    QCOMPARE(b.book.currentRecord(), 2);
}

void TstSelectLists::noOperationListWithoutWholeBlock()
{
    Book b(contacts(1));
    b.book.showOperations();
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened = true;
            w->close();
        }
    });
    selectionui::showList(b.book, nullptr);
    QTest::qWait(10);
    QVERIFY(!opened);
}

QTEST_MAIN(TstSelectLists)
#include "tst_select_lists.moc"
