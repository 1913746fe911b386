#include "activity/time_file.h"
#include "print/activity_report.h"
#include "print/recording_print_device.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using print::RecordingPrintDevice;

// The printed activity report on a recording device.
class TstActivityReport : public QObject
{
    Q_OBJECT
private slots:
    void titleAndRows();
    void pageBreakRepeatsTheTitle();

private:
    static activity::TimeTable tableOf(int pastDays)
    {
        QTemporaryDir dir;
        QByteArray file;
        for (int i = 0; i < pastDays; ++i)
            file += QDate(2025, 1, 1).addDays(i).toString("dd/MM/yyyy").toLatin1() +
                    "\t00:" + QByteArray::number(10 + i % 50) + "\r\n";
        writeBytes(dir.filePath("Tarvik.tps"), file);
        activity::TimeTable t;
        t.Charge(dir.filePath("Tarvik.tps"));
        t.Init(QDate(2026, 3, 15), 7, 3, 2, 5400);
        return t;
    }
};

void TstActivityReport::titleAndRows()
{
    RecordingPrintDevice dev;
    dev.setOrientation(print::Orientation::Landscape);
    activity::printReport(tableOf(1), dev);
    QCOMPARE(dev.begun, 1);
    QCOMPARE(dev.ended, 1);
    QCOMPARE(dev.orientationsAtBegin, QList<print::Orientation>{print::Orientation::Portrait});
    QCOMPARE(dev.orientation(), print::Orientation::Portrait);
    QCOMPARE(dev.font(), (print::Font{"Arial", 10, false}));
    // 11 pixels a millimetre both ways on this device; y is 3 mm lower.
    const QStringList expected{
        "0:55:33:Rapport d'activité",
        "0:110:88:Date",
        "0:440:88:Temps passé",
        "0:770:88:Contacts",
        "0:990:88:Ventes",
        "0:1210:88:Relances",
        "0:110:143:01/01/2025",
        "0:440:143:00:10",
        "0:770:143:",
        "0:990:143:",
        "0:1210:143:",
        "0:110:198:15/03/2026",
        "0:440:198:01:30",
        "0:770:198:7",
        "0:990:198:3",
        "0:1210:198:2",
    };
    QCOMPARE(dev.texts(), expected);
    QCOMPARE(dev.pageCount(), 1);
}

void TstActivityReport::pageBreakRepeatsTheTitle()
{
    // A row starts a new page once the next row would begin past
    // PageHeight - Mv(20): rows at 5, 10, ... 280 mm fill the first page.
    RecordingPrintDevice dev;
    activity::printReport(tableOf(60), dev);
    QCOMPARE(dev.pageCount(), 2);
    const auto first = dev.textsOnPage(0);
    const auto second = dev.textsOnPage(1);
    QCOMPARE(first.size(), 1 + 56 * 5);
    QCOMPARE(second.size(), 1 + 6 * 5); // grid rows 56 .. 61 (today last)
    for (const auto& page : {first, second}) {
        QCOMPARE(page.first().text, QStringLiteral("Rapport d'activité"));
        QCOMPARE(page.first().y, 33);
        QCOMPARE(page.at(1).y, 88);
    }
    QCOMPARE(first.last().y, (280 + 3) * 11);
    QCOMPARE(second.at(1).text, QStringLiteral("25/02/2025")); // grid row 56
    QCOMPARE(second.last().text, QStringLiteral("2"));

    // Exactly 55 rows after the titles: the last one crosses the threshold,
    // and the report ends with a page holding only its title.
    RecordingPrintDevice full;
    activity::printReport(tableOf(54), full);
    QCOMPARE(full.pageCount(), 2);
    QCOMPARE(full.textsOnPage(1).size(), 1);
}

QTEST_GUILESS_MAIN(TstActivityReport)
#include "tst_activity_report.moc"
