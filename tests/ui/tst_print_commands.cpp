#include "app/main_form.h"
#include "contacts/contact_record.h"
#include "contacts/ui/fiche.h"
#include "platform/errors.h"
#include "print/print_job.h"
#include "print/record_sheet.h"
#include "print/ui/print_preview.h"
#include "print/ui/qt_print_device.h"
#include "print/ui/qt_print_host.h"
#include "support/fixed_clock.h"
#include "support/form_fixture.h"
#include "support/scripted_print_host.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tarvik;

// The print commands driven through the real main window, with a scripted
// print dialog and a recording printer.
class TstPrintCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void rangeReportsFromTheMenu_data();
    void rangeReportsFromTheMenu();
    void cancelPrintsNothing_data();
    void cancelPrintsNothing();
    void recordSheetShowsUnsavedEdits_data();
    void recordSheetShowsUnsavedEdits();
    void recordSheetOfTheOperationsPage();
    void withoutAPrinterTheDialogComesFirst();
    void currentEnvelope_data();
    void currentEnvelope();
    void failureToStartIsReported();
    void pageSetupReachesTheIniFile();
    void pageSetupCancelled();
    void printerSetupFromTheMenu();
    void previewItemSurvivesARestart();
    void pdfOutputInLiberationSans();
    void pdfThatCannotBeWritten();
    void previewDrawsTheJob();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<FakeClockSetter> m_setter;
    std::unique_ptr<ScriptedPrintHost> m_host;
    std::unique_ptr<RecordBook> m_book;
    std::unique_ptr<TMainForm> m_form;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    RecordBook& book() { return *m_book; }
    void makeForm()
    {
        startForm(m_form, m_book, *m_prompter, *m_clock, *m_setter, nullptr, m_host.get());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void openSample()
    {
        QList<ContactRecord> records;
        const char* names[] = {"Alpha", "Beta", "Gamma", "Delta"};
        for (int i = 0; i < 4; ++i) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + i);
            r.name = names[i];
            r.address1 = "1 rue";
            r.postcode = "75001";
            r.town = "PARIS";
            r.contact_date = QDate(2026, 3, 1);
            r.contact_time = QTime(9, 0, 0);
            r.followup_date = QDate(1900, 1, 1);
            r.followup_time = QTime(0, 0, 0);
            records << r;
        }
        records[0].alert = true;
        records[1].sale_closed = true;
        records[2].followup_date = QDate(2026, 3, 15);
        records[3].followup_date = QDate(2026, 5, 1);
        BlockList list;
        for (int i = 0; i < records.size(); ++i)
            list += contact::blockLines(records.at(i), i);
        blocks::saveFile(path("sample.ctc"), list);
        m_prompter->openAnswers.push_back(Prompter::FileChoice{path("sample.ctc"), 1});
        m_form->openFile();
        QCOMPARE(book().recordCount(), 4);
        m_prompter->asked.clear();
    }
    void trigger(const char* name)
    {
        QAction* a = m_form->action(QLatin1String(name));
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }
    // The names printed at 40 mm (the listing reports' "Société" column) or
    // at 5 mm (the listing and the envelopes' sender) ...: every text.
    QStringList texts() const { return m_host->last() ? m_host->last()->texts() : QStringList(); }
};

void TstPrintCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("TarvikTests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_print_commands"));
}

void TstPrintCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<FixedClock>();
    m_setter = std::make_unique<FakeClockSetter>();
    m_host = std::make_unique<ScriptedPrintHost>();
    setPrintPreviewWanted(false);
    makeForm();
}

void TstPrintCommands::cleanup()
{
    if (m_form) {
        m_prompter->yesNoCancelAnswers.push_back(Prompter::Answer::No);
        m_form->close();
    }
    m_form.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
    setPrintPreviewWanted(false);
}

void TstPrintCommands::rangeReportsFromTheMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("listing") << "Listing1"
                             << "Nom/Société" << QStringList{"Beta", "Gamma", "Delta"};
    QTest::newRow("prospection") << "fichesdeprospection1"
                                 << "Fiches de prospection"
                                 << QStringList{"Beta", "Gamma", "Delta"};
    QTest::newRow("alerts") << "Fichesalertes1"
                            << "Fiches alerte" << QStringList{};
    QTest::newRow("today") << "Fichesrelance1"
                           << "Fiches relance" << QStringList{"Gamma"};
    QTest::newRow("closed") << "Fichesventesabouties1"
                            << "Fiches ventes abouties" << QStringList{"Beta"};
    QTest::newRow("to do") << "Fichesrelancesfaire1"
                           << "Fiches relance" << QStringList{"Gamma", "Delta"};
    QTest::newRow("envelopes") << "Enveloppes1"
                               << "" << QStringList{"Beta", "Gamma", "Delta"};
}

void TstPrintCommands::rangeReportsFromTheMenu()
{
    QFETCH(QString, item);
    QFETCH(QString, title);
    QFETCH(QStringList, names);
    openSample();
    // Pages 2 to 9: records 1 to 3, the end clipped to the last record.
    m_host->rangeAnswers.push_back(print::PageRange{2, 9});
    trigger(item.toLatin1().constData());
    QCOMPARE(m_host->rangesAsked.size(), 1);
    QCOMPARE(m_host->rangesAsked.at(0).from, 1);
    QCOMPARE(m_host->rangesAsked.at(0).to, 4);
    QCOMPARE(m_host->rangesAsked.at(0).max, 4);
    QCOMPARE(m_host->jobs.size(), 1);
    const print::RecordingPrintDevice& d = *m_host->last();
    QCOMPARE(d.ended, 1);
    if (!title.isEmpty())
        QCOMPARE(d.textsOnPage(0).first().text, title);
    QStringList seen;
    for (const QString name : {"Alpha", "Beta", "Gamma", "Delta"})
        if (d.findText(name))
            seen << name;
    QCOMPARE(seen, names);
    QVERIFY(m_prompter->asked.isEmpty());
}

void TstPrintCommands::cancelPrintsNothing_data()
{
    QTest::addColumn<QString>("item");
    for (const char* name : {"Listing1", "fichesdeprospection1", "Fichesalertes1", "Fichesrelance1",
                             "Fichesventesabouties1", "Fichesrelancesfaire1", "Enveloppes1"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TstPrintCommands::cancelPrintsNothing()
{
    QFETCH(QString, item);
    openSample();
    const BlockList before = book().contacts();
    m_host->rangeAnswers.push_back(std::nullopt);
    trigger(item.toLatin1().constData());
    QCOMPARE(m_host->rangesAsked.size(), 1);
    QVERIFY(m_host->jobs.isEmpty());
    QCOMPARE(book().contacts(), before);
    QVERIFY(!book().flags().fileModified);
}

void TstPrintCommands::recordSheetShowsUnsavedEdits_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("menu") << "Imprimerfiche1";
    QTest::newRow("button") << "SpeedButton8";
}

void TstPrintCommands::recordSheetShowsUnsavedEdits()
{
    QFETCH(QString, item);
    openSample();
    auto* name = m_form->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QVERIFY(name);
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Nouveau nom"));
    const BlockList before = book().contacts();
    trigger(item.toLatin1().constData());
    QCOMPARE(m_host->jobs.size(), 1);
    QVERIFY(m_host->rangesAsked.isEmpty());
    const print::RecordingPrintDevice& d = *m_host->last();
    // Name at (35, 5) mm on the default device: 11 px/mm.
    QVERIFY(d.texts().contains(QStringLiteral("0:385:88:Nouveau nom")));
    QVERIFY(d.findText(QStringLiteral("Historique")));
    QCOMPARE(d.orientationsAtBegin, QList<print::Orientation>{print::Orientation::Portrait});
    // Printing writes nothing back.
    QCOMPARE(book().contacts(), before);
}

void TstPrintCommands::recordSheetOfTheOperationsPage()
{
    openSample();
    trigger("SpeedButton13");
    QCOMPARE(book().page(), RecordBook::Page::Operations);
    trigger("Imprimerfiche1");
    QCOMPARE(m_host->jobs.size(), 1);
    const print::RecordingPrintDevice& d = *m_host->last();
    QVERIFY(d.findText(QStringLiteral("Description détaillée")));
    QVERIFY(!d.findText(QStringLiteral("Historique")));
}

void TstPrintCommands::withoutAPrinterTheDialogComesFirst()
{
    openSample();
    m_host->printerAvailable = false;
    m_host->printerAnswers = {false, true};
    trigger("Imprimerfiche1");
    QCOMPARE(m_host->printerDialogs, 1);
    QVERIFY(m_host->jobs.isEmpty());
    trigger("Imprimerfiche1");
    QCOMPARE(m_host->printerDialogs, 2);
    QCOMPARE(m_host->jobs.size(), 1);
}

void TstPrintCommands::currentEnvelope_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("menu") << "Enveloppe1";
    QTest::newRow("button") << "SpeedButton10";
}

void TstPrintCommands::currentEnvelope()
{
    QFETCH(QString, item);
    openSample();
    settings::CompanyLines company = book().company();
    company[0] = "Ma Soci\xe9t\xe9";
    book().setCompanyLines(company);
    book().setEnvelopeLayout(1, true);
    auto* town = m_form->findChild<QLineEdit*>(QStringLiteral("Edit5"));
    town->selectAll();
    QTest::keyClicks(town, QStringLiteral("LYON"));
    trigger(item.toLatin1().constData());
    QCOMPARE(m_prompter->texts("information"),
             QStringList{QStringLiteral("Insérez une enveloppe dans l'imprimante")});
    QCOMPARE(m_host->jobs.size(), 1);
    const print::RecordingPrintDevice& d = *m_host->last();
    QCOMPARE(d.orientationsAtBegin, QList<print::Orientation>{print::Orientation::Landscape});
    // Sender line 1 at (5, 105) mm, the town line at (110, 165) mm.
    QVERIFY(d.texts().contains(QStringLiteral("0:55:1188:Ma Société")));
    QVERIFY(d.texts().contains(QStringLiteral("0:1210:1848:75001 LYON")));
}

void TstPrintCommands::failureToStartIsReported()
{
    openSample();
    m_host->failToBegin = true;
    m_host->rangeAnswers.push_back(print::PageRange{1, 4});
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            poll.stop();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    poll.start();
    trigger("Listing1");
    QCOMPARE(m_host->jobs.size(), 1);
    QCOMPARE(m_host->last()->begun, 0);
    QCOMPARE(m_host->last()->orientation(), print::Orientation::Portrait);
}

static void answerPageSetup(bool landscape, bool guide, bool ok)
{
    QTimer::singleShot(50, [=] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Mise en page"));
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("RadioGroup2"))->property("title"),
                 QVariant(QStringLiteral("Orientation enveloppe")));
        if (landscape)
            w->findChild<QRadioButton*>(QStringLiteral("RadioGroup2Item1"))->setChecked(true);
        w->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(guide);
        QTest::mouseClick(w->findChild<QPushButton*>(QLatin1String(ok ? "Button2" : "Button1")),
                          Qt::LeftButton);
    });
}

void TstPrintCommands::pageSetupReachesTheIniFile()
{
    answerPageSetup(true, true, true);
    trigger("Miseenpage1");
    QCOMPARE(book().ini().envelopeOrientation, 1);
    QCOMPARE(book().ini().envelopeOffset, 100);
    m_form->close();
    m_form.reset();
    const QList<QByteArray> lines = readBytes(path("Tarvik.ini")).split('\n');
    QCOMPARE(lines.at(4).trimmed(), QByteArray("1"));
    QCOMPARE(lines.at(5).trimmed(), QByteArray("100"));

    // The next run shows them again.
    makeForm();
    QTimer::singleShot(50, [] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY(w);
        QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("RadioGroup2Item1"))->isChecked());
        QVERIFY(w->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->isChecked());
        QTest::keyClick(w, Qt::Key_Escape);
    });
    trigger("Miseenpage1");
    QCOMPARE(book().ini().envelopeOrientation, 1);
}

void TstPrintCommands::pageSetupCancelled()
{
    book().setEnvelopeLayout(2, true);
    answerPageSetup(true, false, false);
    trigger("Miseenpage1");
    QCOMPARE(book().ini().envelopeOrientation, 2);
    QCOMPARE(book().ini().envelopeOffset, 100);
    // Opened with orientation 2 it shows the defaults; OK stores them.
    QTimer::singleShot(50, [] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("RadioGroup2Item0"))->isChecked());
        QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->isChecked());
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });
    trigger("Miseenpage1");
    QCOMPARE(book().ini().envelopeOrientation, 0);
    QCOMPARE(book().ini().envelopeOffset, 0);
}

void TstPrintCommands::printerSetupFromTheMenu()
{
    trigger("Configurerlimprimante1");
    QCOMPARE(m_host->setups, 1);
}

void TstPrintCommands::previewItemSurvivesARestart()
{
    QAction* item = m_form->action(QStringLiteral("Apercuavantimpression1"));
    QVERIFY(item && item->isCheckable());
    QCOMPARE(item->text(), QStringLiteral("Aper&çu avant impression"));
    QVERIFY(!item->isChecked());
    item->trigger();
    QVERIFY(printPreviewWanted());
    m_form->close();
    m_form.reset();
    makeForm();
    QVERIFY(m_form->action(QStringLiteral("Apercuavantimpression1"))->isChecked());
    // Tarvik.ini keeps its thirteen lines.
    QCOMPARE(readBytes(path("Tarvik.ini")).count("\r\n"), 13);
}

void TstPrintCommands::pdfOutputInLiberationSans()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("sheet.pdf"));
    ContactRecord r;
    r.name = "Lef\xe8vre";
    QString family;
    int factor = 0;
    print::QtPrintHost::printOn(printer, [&](print::PrintDevice& d) {
        factor = d.pageWidth() / d.pageWidthMM();
        print::beginReport(d, print::Orientation::Portrait);
        family = static_cast<print::QtPrintDevice&>(d).painter().fontInfo().family();
        print::contactLayout(d, r);
        print::endReport(d);
    });
    QCOMPARE(family, QStringLiteral("Liberation Sans"));
    QVERIFY(factor >= 40); // high resolution: 1200 dpi is 47 px/mm
    const QByteArray pdf = readBytes(path("sheet.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.contains("LiberationSans"));
    QCOMPARE(printer.outputFileName(), path("sheet.pdf"));
}

void TstPrintCommands::pdfThatCannotBeWritten()
{
    writeBytes(path("keep.pdf"), "old");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("missing/dir/out.pdf"));
    QVERIFY_THROWS_EXCEPTION(TarvikError,
                             print::QtPrintHost::printOn(printer, [](print::PrintDevice& d) {
                                 print::ImpficheContact(d, ContactRecord());
                             }));
    // A job that fails half-way leaves the old file whole.
    printer.setOutputFileName(path("keep.pdf"));
    QVERIFY_THROWS_EXCEPTION(TarvikError,
                             print::QtPrintHost::printOn(printer, [](print::PrintDevice& d) {
                                 d.beginDoc();
                                 throw TarvikError(QStringLiteral("stop"));
                             }));
    QCOMPARE(readBytes(path("keep.pdf")), QByteArray("old"));
}

void TstPrintCommands::previewDrawsTheJob()
{
    setPrintPreviewWanted(true);
    print::QtPrintHost host(m_form.get());
    int drawn = 0;
    QString seen;
    // The preview lays the pages out before it shows itself, which takes long
    // on a loaded machine: look for it until it is there.
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
        if (auto* p = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            seen = p->windowTitle();
            p->reject();
        }
    });
    poll.start();
    host.print(QStringLiteral("Fiche"), [&drawn](print::PrintDevice& d) {
        ++drawn;
        print::ImpficheContact(d, ContactRecord());
    });
    QVERIFY(drawn >= 1);
    QCOMPARE(seen, QStringLiteral("Aperçu avant impression"));
}

QTEST_MAIN(TstPrintCommands)
#include "tst_print_commands.moc"
