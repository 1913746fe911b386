// The import and export commands as the main window and the command line run
// them: checks, dialogs, closing messages, and the identifiers that cards
// carry from one program to another.
#include "book/exchange_commands.h"
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "exchange/uid_store.h"
#include "exchange/vcard.h"
#include "platform/errors.h"
#include "storage/ansi.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;
using exchange::ExportFormat;
using exchange::ImportFormat;

namespace {

struct Bench
{
    ScriptedPrompter prompter;
    FixedClock clock;
    RecordBook book{prompter, clock};
    ExchangeCommands commands{book, prompter};
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    QString file(const QString& name, const QByteArray& data)
    {
        writeBytes(path(name), data);
        return path(name);
    }
    // A saved contact file of the given names, loaded.
    QString load(const QList<QByteArray>& names)
    {
        BlockList list;
        int n = 0;
        for (const QByteArray& name : names) {
            ContactRecord r;
            r.code = QByteArray::number(10001 + n);
            r.name = name;
            list << contact::blockLines(r, n++);
        }
        const QString p = path("c.ctc");
        blocks::saveFile(p, list);
        book.Charge(p);
        return p;
    }
    void choose(const QString& p, int entry)
    {
        prompter.openAnswers.push_back(Prompter::FileChoice{p, entry});
    }
    void chooseSave(const QString& p, int entry)
    {
        prompter.saveAnswers.push_back(Prompter::FileChoice{p, entry});
    }
    QByteArray name(int record) const
    {
        return contact::field(book.contacts(),
                              blocks::find(book.contacts(), blocks::header(record, 5)),
                              contact::Name);
    }
};

const QByteArray TwoCards = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:card-1\r\nFN:Alpha\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nFN:Sans fin\r\n"
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:東京 Bêta\r\nEND:VCARD\r\n";

} // namespace

class TstExchangeCommands : public QObject
{
    Q_OBJECT
private slots:
    void dialogEntries();
    void importCardsThroughTheDialog();
    void importRefusedOrCancelled();
    void exportThroughTheDialog_data();
    void exportThroughTheDialog();
    void severalFilesAllOrNothing();
    void identifiersTravelWithCards();
};

void TstExchangeCommands::dialogEntries()
{
    Bench b;
    b.load({"A"});
    b.prompter.openAnswers.push_back(std::nullopt);
    QVERIFY(!b.commands.importFile());
    QCOMPARE(b.prompter.lastFilters.mid(3),
             (QStringList{"vCard (*.vcf)", "CSV avec en-têtes (*.csv)"}));
    b.prompter.saveAnswers.push_back(std::nullopt);
    QVERIFY(!b.commands.exportFile());
    QCOMPARE(
        b.prompter.lastFilters.mid(3),
        (QStringList{"vCard (*.vcf)", "Relances iCalendar (*.ics)", "CSV avec en-têtes (*.csv)"}));
}

void TstExchangeCommands::importCardsThroughTheDialog()
{
    Bench b;
    b.load({"A"});
    b.book.setText(contact::Town, "BREST"); // a pending edit, written back first
    b.choose(b.file("cartes.vcf", TwoCards), 4);
    QVERIFY(b.commands.importFile());
    QCOMPARE(contact::field(b.book.contacts(), 0, contact::Town), QByteArray("BREST"));
    QCOMPARE(b.book.recordCount(), 3);
    QCOMPARE(b.name(1), QByteArray("Alpha"));
    QCOMPARE(b.name(2), ansi::fromUnicode(QStringLiteral("?? Bêta")));
    QCOMPARE(contact::field(b.book.contacts(),
                            blocks::find(b.book.contacts(), blocks::header(2, 5)), contact::Code),
             QByteArray("10003"));
    QVERIFY(b.book.flags().fileModified);
    const QStringList told = b.prompter.texts("information");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].startsWith(QStringLiteral(
                 "2 fiche(s) importée(s), 1 champ(s) avec des caractères remplacés par ?")),
             qPrintable(told[0]));
    QVERIFY(told[0].contains(QStringLiteral("END:VCARD"))); // the card left out is told

    // A headered spreadsheet through the fifth entry, though its name ends in ".csv".
    b.prompter.asked.clear();
    b.choose(b.file("liste.csv", "Company,Business Phone\r\nGamma,01\r\n"), 5);
    QVERIFY(b.commands.importFile());
    QCOMPARE(b.name(3), QByteArray("Gamma"));
    QCOMPARE(b.prompter.texts("information"), QStringList{"1 fiche importée."});
}

void TstExchangeCommands::importRefusedOrCancelled()
{
    Bench b;
    b.load({"A"});
    b.choose(b.path("absent.vcf"), 4);
    QVERIFY(!b.commands.importFile());
    QCOMPARE(b.prompter.texts("information"),
             QStringList{QStringLiteral("Le ficher ") + b.path("absent.vcf") +
                         QStringLiteral("n'existe pas")});
    QCOMPARE(b.book.recordCount(), 1);
    QVERIFY(!b.book.flags().fileModified);

    // Not on the operations page: no dialog at all.
    b.book.showOperations();
    b.prompter.asked.clear();
    QVERIFY(!b.commands.importFile());
    QVERIFY(!b.commands.exportFile());
    QVERIFY(b.prompter.asked.isEmpty());
}

void TstExchangeCommands::exportThroughTheDialog_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("starts");
    QTest::newRow("vCard") << 4 << "sortie.vcf" << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\n");
    QTest::newRow("calendar") << 5 << "sortie.ics" << QByteArray("BEGIN:VCALENDAR\r\n");
    QTest::newRow("CSV") << 6 << "sortie.csv"
                         << QByteArray("\xEF\xBB\xBF"
                                       "Code,Nom");
    QTest::newRow("tab text") << 1 << "sortie.txt" << QByteArray("BREST");
}

void TstExchangeCommands::exportThroughTheDialog()
{
    QFETCH(int, entry);
    QFETCH(QString, written);
    QFETCH(QByteArray, starts);
    Bench b;
    b.load({"A"});
    b.book.setText(contact::Name, "BREST"); // the pending edit is exported
    b.chooseSave(b.path("sortie"), entry);
    QVERIFY(b.commands.exportFile());
    const QByteArray data = readBytes(b.path(written));
    QVERIFY2(data.startsWith(starts), data.left(40).constData());
    if (entry == 4)
        QVERIFY(data.contains("FN:BREST"));
}

void TstExchangeCommands::severalFilesAllOrNothing()
{
    Bench b;
    b.load({"A"});
    const QString good = b.file("a.vcf", "BEGIN:VCARD\r\nFN:Bon\r\nEND:VCARD\r\n");
    QVERIFY_THROWS_EXCEPTION(
        TarvikError, b.commands.importFiles({good, b.path("absent.vcf")}, ImportFormat::Vcard));
    QCOMPARE(b.book.recordCount(), 1);
    QVERIFY(!b.book.flags().fileModified);

    const QString tab = b.file("b.txt", "Deux\tx\r\nTrois\r\n");
    const QString summary = b.commands.importFiles({tab, tab}, ImportFormat::Text);
    QCOMPARE(b.book.recordCount(), 5);
    QVERIFY(summary.startsWith(QStringLiteral("4 fiches importées.")));
    QCOMPARE(b.name(4), QByteArray("Trois"));
}

void TstExchangeCommands::identifiersTravelWithCards()
{
    Bench b;
    const QString ctc = b.load({"A", "B"});
    const QString companion = exchange::UidStore::companionPath(ctc);
    QVERIFY(!QFile::exists(companion));
    const QByteArray first = b.commands.exportBytes(ExportFormat::Vcard);
    // The export made the companion, so that a second run gives the same.
    QVERIFY(QFile::exists(companion));
    RecordBook other(b.prompter, b.clock);
    other.Charge(ctc);
    QCOMPARE(ExchangeCommands(other, b.prompter).exportBytes(ExportFormat::Vcard), first);

    // A card's own UID is kept, in the export and in the companion at the save.
    b.commands.importFiles({b.file("c.vcf", TwoCards)}, ImportFormat::Vcard);
    const vcard::ReadResult cards = vcard::read(b.commands.exportBytes(ExportFormat::Vcard));
    QCOMPARE(cards.cards.size(), 4);
    QCOMPARE(cards.cards[2].uid(), QStringLiteral("card-1"));
    QVERIFY(cards.cards[3].uid().startsWith(QStringLiteral("urn:uuid:")));
    b.book.Sauve(ctc);
    QVERIFY(readBytes(companion).contains("10003\tcard-1\r\n"));
    // Importing the same card again does not give its UID twice.
    b.commands.importFiles({b.file("c.vcf", TwoCards)}, ImportFormat::Vcard);
    const QList<QByteArray> uids = b.book.uids().assign(b.book.contacts());
    QCOMPARE(uids.count("card-1"), 1);
}

QTEST_GUILESS_MAIN(TstExchangeCommands)
#include "tst_exchange_commands.moc"
