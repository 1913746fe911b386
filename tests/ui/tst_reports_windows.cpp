#include "activity/ui/rapport_window.h"
#include "app/main_form.h"
#include "contacts/contact_record.h"
#include "contacts/ui/fiche.h"
#include "print/ui/graph_window.h"
#include "print/ui/planning_window.h"
#include "print/ui/stats_window.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_print_host.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"
#include "support/window_class.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

using namespace tarvik;

// The activity report, the planning and the statistics through the real
// main window and its menu items.
class TstReportsWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuItemsOpenTheirWindows();
    void planningChoiceByDoubleClick();
    void planningFromTheOperationsPage();
    void activityRowsAfterAValidation();
    void timeFileAtStartAndAtClosing();
    void printedActivityReport();
    void statisticsTablePrintedAndCharted();
    void windowsOnTheDemoFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<FakeClockSetter> m_setter;
    std::unique_ptr<ScriptedPrintHost> m_host;
    std::unique_ptr<RecordBook> m_book;
    std::unique_ptr<TMainForm> m_form;
    QString m_demo;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    RecordBook& book() { return *m_book; }
    void makeForm()
    {
        startForm(m_form, m_book, *m_prompter, *m_clock, *m_setter, nullptr, m_host.get());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    // 20 contacts, record 12 and record 3 following up today (15/03/2026),
    // and three operations, one with an amount that is not a number.
    void openFile()
    {
        BlockList contacts;
        for (int i = 0; i < 20; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = "Client " + QByteArray::number(i);
            r.contact_date = QDate(2026, 3, 1);
            r.followup_date = QDate(2026, 4, 1);
            if (i == 12) {
                r.followup_date = QDate(2026, 3, 15);
                r.followup_time = QTime(14, 0, 0);
            }
            if (i == 3) {
                r.followup_date = QDate(2026, 3, 15);
                r.followup_time = QTime(9, 30, 0);
            }
            contacts += contact::blockLines(r, i);
        }
        blocks::saveFile(path("clients.ctc"), contacts);
        BlockList ops;
        const QList<QList<QByteArray>> op = {
            {"15/01/2027", "Salon", "02/01/2027\tStand\t100,00", "03/01/2027\tHotel\t50,50"},
            {"02/05/2027", "Mailing", "02/01/2027\tEnvoi\t1 200,00"},
            {"20/03/2027", "Relance", "02/01/2027\tErreur\tdouze"},
        };
        for (int i = 0; i < op.size(); ++i) {
            ops += blocks::header(i, blocks::OperationDigits);
            ops += {QByteArray::number(10001 + i),
                    "Type",
                    op[i][1],
                    "",
                    "",
                    "01/01/2027",
                    op[i][0],
                    "N"};
            for (int e = 2; e < op[i].size(); ++e)
                ops += "DATA" + op[i][e];
            ops += blocks::trailer(i, blocks::OperationDigits);
        }
        blocks::saveFile(path("clients.opr"), ops);
        m_prompter->openAnswers.push_back(Prompter::FileChoice{path("clients.ctc"), 1});
        m_form->action("OpenItem")->trigger();
        QCOMPARE(book().recordCount(), 20);
    }
    // Runs `trigger`, which opens a modal window, and hands that window to
    // `inside` while it is shown; returns its class name.
    QString whileModal(const std::function<void()>& trigger,
                       const std::function<void(QWidget*)>& inside)
    {
        QString seen;
        QTimer::singleShot(50, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w)
                return;
            seen = windowClass(w);
            inside(w);
            if (w->isVisible())
                if (auto* d = qobject_cast<QDialog*>(w))
                    d->reject();
        });
        trigger();
        return seen;
    }
    static void clickClose(QWidget* w)
    {
        auto* close = w->findChild<QPushButton*>("Button1");
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("Fermer"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!w->isVisible());
    }
    static void doubleClickRow(QTableWidget* grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

void TstReportsWindows::init()
{
    // Found from the tests folder, before the test moves to its own folder.
    m_demo = QFINDTESTDATA("../examples/demo.ctc");
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<FixedClock>();
    m_setter = std::make_unique<FakeClockSetter>();
    m_host = std::make_unique<ScriptedPrintHost>();
    makeForm();
}

void TstReportsWindows::cleanup()
{
    m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
    m_form->close();
    m_form.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TstReportsWindows::menuItemsOpenTheirWindows()
{
    openFile();
    QVERIFY(m_form->rapport()->isHidden());
    const struct
    {
        const char* item;
        const char* className;
        QString caption;
    } items[] = {
        {"Rapportdactivit1", "TRapport", QStringLiteral("Rapport d'activité")},
        {"Planning1", "TPlanning", QStringLiteral("Planning")},
        {"Statsoprations1", "TStatsOpr", QStringLiteral("Statistiques sur les opérations")},
    };
    for (const auto& it : items) {
        QVERIFY(m_form->action(it.item)->isEnabled());
        QString caption;
        const QString cls = whileModal([&] { m_form->action(it.item)->trigger(); },
                                       [&](QWidget* w) {
                                           caption = w->windowTitle();
                                           clickClose(w);
                                       });
        QCOMPARE(cls, QString::fromLatin1(it.className));
        QCOMPARE(caption, it.caption);
    }
    // The activity window is the same one every time, and hidden again.
    QVERIFY(m_form->rapport()->isHidden());
    QCOMPARE(m_form->action("Statsoprations1")->statusTip(),
             QStringLiteral("Statistiques sur les opérations"));
    QVERIFY(m_prompter->texts("information").isEmpty());
}

void TstReportsWindows::planningChoiceByDoubleClick()
{
    openFile();
    const BlockList before = book().contacts();
    QStringList rows;
    QString cls = whileModal([&] { m_form->action("Planning1")->trigger(); },
                             [&](QWidget* w) {
                                 auto* grid = w->findChild<QTableWidget*>("StringGrid1");
                                 for (int r = 0; r < 3; ++r)
                                     rows << (grid->item(r, 0) ? grid->item(r, 0)->text() + " " +
                                                                     grid->item(r, 2)->text()
                                                               : QString());
                                 // The calendar starts on today and its weeks on Sunday.
                                 auto* cal = w->findChild<QCalendarWidget*>("Calendar1");
                                 QCOMPARE(cal->selectedDate(), QDate(2026, 3, 15));
                                 QCOMPARE(cal->firstDayOfWeek(), Qt::Sunday);
                                 clickClose(w);
                             });
    QCOMPARE(cls, QStringLiteral("TPlanning"));
    QCOMPARE(rows, (QStringList{"00003 09:30:00", "00012 14:00:00", QString()}));
    // Opening and closing changes no block and moves nothing.
    QCOMPARE(book().contacts(), before);
    QCOMPARE(book().currentRecord(), 0);

    bool stillOpen = false;
    cls = whileModal(
        [&] { m_form->action("Planning1")->trigger(); },
        [&](QWidget* w) {
            auto* grid = w->findChild<QTableWidget*>("StringGrid1");
            // The title row and an empty row choose nothing.
            const QPoint title = grid->horizontalHeader()->sectionViewportPosition(0) > -1
                                     ? QPoint(10, grid->horizontalHeader()->height() / 2)
                                     : QPoint();
            QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, title);
            doubleClickRow(grid, 5);
            stillOpen = w->isVisible();
            // Another day of the calendar relists the grid.
            auto* cal = w->findChild<QCalendarWidget*>("Calendar1");
            cal->setSelectedDate(QDate(2026, 4, 1));
            QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("01/04/2026"));
            QVERIFY(grid->item(17, 0));
            cal->setSelectedDate(QDate(2026, 3, 15));
            doubleClickRow(grid, 1);
        });
    QVERIFY(stillOpen);
    QCOMPARE(book().currentRecord(), 12);
    QCOMPARE(book().shown().name, QByteArray("Client 12"));
    QCOMPARE(m_form->fiche()->findChild<QLineEdit*>("Edit1")->text(), QStringLiteral("Client 12"));
    QCOMPARE(book().contacts(), before);
}

void TstReportsWindows::planningFromTheOperationsPage()
{
    openFile();
    m_form->action("Oprations1")->trigger();
    QVERIFY(m_form->action("Planning1")->isEnabled());
    whileModal([&] { m_form->action("Planning1")->trigger(); },
               [&](QWidget* w) { doubleClickRow(w->findChild<QTableWidget*>("StringGrid1"), 0); });
    QCOMPARE(book().currentRecord(), 3);
    QCOMPARE(book().page(), RecordBook::Page::Contacts);
    QVERIFY(m_form->action("Importer1")->isEnabled());
}

void TstReportsWindows::activityRowsAfterAValidation()
{
    openFile();
    TFiche* f = m_form->fiche();
    auto* interlocutor = f->findChild<QComboBox*>("ComboBox4");
    auto* type = f->findChild<QComboBox*>("ComboBox3");
    QVERIFY(interlocutor && type);
    interlocutor->setEditText(QStringLiteral("M. Martin"));
    type->setEditText(QStringLiteral("Appel"));
    book().setText(contact::Interlocutor, "M. Martin", RecordBook::Edit::Interlocutor);
    book().setText(contact::ContactType, "Appel", RecordBook::Edit::Changed);
    m_clock->current = m_clock->current.addSecs(40 * 60);
    f->validate();
    QCOMPARE(book().counters().contacts, 1);

    QStringList today;
    QStringList titles;
    whileModal([&] { m_form->action("Rapportdactivit1")->trigger(); },
               [&](QWidget* w) {
                   auto* grid = w->findChild<QTableView*>("StringGrid1");
                   for (int c = 0; c < 5; ++c) {
                       titles << grid->model()->headerData(c, Qt::Horizontal).toString();
                       today << grid->model()->index(0, c).data().toString();
                   }
                   QCOMPARE(grid->columnWidth(0), 130);
                   QVERIFY(grid->model()->index(1, 0).data().toString().isEmpty());
                   clickClose(w);
               });
    QCOMPARE(titles, (QStringList{"Date", "Temps passé", "Contacts", "Ventes", "Relances"}));
    QCOMPARE(today, (QStringList{"15/03/2026", "00:40", "1", "0", "0"}));
}

void TstReportsWindows::timeFileAtStartAndAtClosing()
{
    m_form->close();
    m_form.reset();
    writeBytes(path("Tarvik.tps"), "14/03/2026\t03:00\r\nno tab here\r\n15/03/2026\t01:30\r\n");
    makeForm();
    QCOMPARE(book().counters().timeSpentSecs, qint64(5400));
    book().setTimeSpent(5400 + 45 * 60);
    m_form->close();
    QCOMPARE(readBytes(path("Tarvik.tps")),
             QByteArray("14/03/2026\t03:00\r\n15/03/2026\t02:15\r\n"));

    // A time file that cannot be read is told about and left as it is.
    m_form.reset();
    const QByteArray big(activity::TimeTable::MaxFileSize + 10, '\t');
    writeBytes(path("Tarvik.tps"), big);
    makeForm();
    QCOMPARE(m_prompter->texts("information").size(), 1);
    QVERIFY(m_prompter->texts("information").first().contains("Tarvik.tps"));
    QCOMPARE(book().counters().timeSpentSecs, qint64(0));
    m_form->close();
    QCOMPARE(readBytes(path("Tarvik.tps")).size(), big.size());
}

void TstReportsWindows::printedActivityReport()
{
    openFile();
    m_host->printerAnswers = {false, true};
    m_form->action("Fichessupportdactivit1")->trigger();
    QVERIFY(m_host->jobs.isEmpty());
    m_form->action("Fichessupportdactivit1")->trigger();
    QCOMPARE(m_host->jobs.size(), 1);
    const auto* dev = m_host->last();
    QVERIFY(dev->findText(QStringLiteral("Rapport d'activité")));
    QVERIFY(dev->findText(QStringLiteral("Temps passé")));
    const auto* day = dev->findText(QStringLiteral("15/03/2026"));
    QVERIFY(day);
    QCOMPARE(day->y, print::Mv(*dev, 10));
    QCOMPARE(dev->ended, 1);
}

void TstReportsWindows::statisticsTablePrintedAndCharted()
{
    openFile();
    QStringList dates;
    QString total;
    QString unreadable;
    QList<qint64> bars;
    whileModal([&] { m_form->action("Statsoprations1")->trigger(); },
               [&](QWidget* w) {
                   auto* stats = qobject_cast<TStatsOpr*>(w);
                   QCOMPARE(stats->rowsFilled(), 3);
                   auto* grid = w->findChild<QTableWidget*>("StringGrid1");
                   for (int r = 0; r < 3; ++r)
                       dates << grid->item(r, 0)->text() + " " + grid->item(r, 1)->text();
                   total = grid->item(2, 3)->text();
                   unreadable = w->findChild<QLabel*>("UnreadableLabel")->text();
                   m_host->printerAnswers = {false, true};
                   QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton8"), Qt::LeftButton);
                   QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton8"), Qt::LeftButton);
                   // The chart opens over the statistics.
                   QTimer::singleShot(50, [&] {
                       auto* graph = qobject_cast<TGraph*>(QApplication::activeModalWidget());
                       if (!graph)
                           return;
                       bars = graph->values();
                       QCOMPARE(graph->paintBox()->size(), QSize(559, 321));
                       clickClose(graph);
                   });
                   QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
                   clickClose(w);
               });
    QCOMPARE(dates, (QStringList{"1 02/05/2027", "2 15/01/2027", "3 20/03/2027"}));
    QCOMPARE(total.trimmed(), QStringLiteral("0,00"));
    QVERIFY(total.startsWith(' '));
    QCOMPARE(unreadable, QStringLiteral("1 montant illisible compté pour 0"));
    QCOMPARE(bars, (QList<qint64>{1200, 150, 0}));

    QCOMPARE(m_host->jobs.size(), 1);
    QCOMPARE(m_host->jobs.first().title, QStringLiteral("Statistiques employés au 15/03/2026"));
    const auto* dev = m_host->last();
    QVERIFY(dev->findText(QStringLiteral("Imprimé le 15/03/2026")));
    QVERIFY(dev->findText(QStringLiteral("Mailing")));
    QVERIFY(dev->findText(QStringLiteral("Numéro")));
}

// The three windows and the chart on the demo file; with TARVIK_SCREENSHOTS
// set to a folder, each window is saved there as a PNG.
void TstReportsWindows::windowsOnTheDemoFile()
{
    QVERIFY(!m_demo.isEmpty());
    QVERIFY(QFile::copy(m_demo, path("demo.ctc")));
    QVERIFY(QFile::copy(m_demo.chopped(3) + "opr", path("demo.opr")));
    m_form->close();
    m_form.reset();
    writeBytes(path("Tarvik.tps"), "12/03/2026\t02:40\r\n13/03/2026\t01:05\r\n"
                                   "14/03/2026\t03:20\r\n15/03/2026\t00:50\r\n");
    makeForm();
    m_prompter->openAnswers.push_back(Prompter::FileChoice{path("demo.ctc"), 1});
    m_form->action("OpenItem")->trigger();
    QCOMPARE(book().recordCount(), 40);
    const QString shots = qEnvironmentVariable("TARVIK_SCREENSHOTS");
    auto save = [&shots](QWidget* w, const QString& name) {
        QApplication::processEvents();
        if (!shots.isEmpty())
            QVERIFY(w->grab().save(QDir(shots).filePath(name)));
    };

    whileModal([&] { m_form->action("Rapportdactivit1")->trigger(); },
               [&](QWidget* w) {
                   auto* grid = w->findChild<QTableView*>("StringGrid1");
                   QCOMPARE(grid->model()->index(3, 1).data().toString(), QStringLiteral("00:50"));
                   save(w, "rapport.png");
               });
    int followups = 0;
    whileModal(
        [&] { m_form->action("Planning1")->trigger(); },
        [&](QWidget* w) {
            w->findChild<QCalendarWidget*>("Calendar1")->setSelectedDate(QDate(2026, 12, 19));
            auto* grid = w->findChild<QTableWidget*>("StringGrid1");
            while (grid->item(followups, 0))
                ++followups;
            save(w, "planning.png");
        });
    QCOMPARE(followups, 2);
    int rows = 0;
    QList<qint64> bars;
    whileModal([&] { m_form->action("Statsoprations1")->trigger(); },
               [&](QWidget* w) {
                   rows = qobject_cast<TStatsOpr*>(w)->rowsFilled();
                   QVERIFY(w->findChild<QLabel*>("UnreadableLabel")->isHidden());
                   save(w, "stats.png");
                   QTimer::singleShot(50, [&] {
                       auto* graph = qobject_cast<TGraph*>(QApplication::activeModalWidget());
                       if (!graph)
                           return;
                       bars = graph->values();
                       save(graph, "graph.png");
                       graph->reject();
                   });
                   QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
               });
    QCOMPARE(rows, 8);
    QCOMPARE(bars.size(), 8);
    QVERIFY(*std::max_element(bars.begin(), bars.end()) >= 4920); // 3 200 + 540 + 870 + 310
}

QTEST_MAIN(TstReportsWindows)
#include "tst_reports_windows.moc"
