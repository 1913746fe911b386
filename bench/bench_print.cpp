// The address listing printed to a PDF file, for 9,999 and 89,998 records:
// time and pages. With "--samples DIR FILE.ctc COMPANY.soc", writes one PDF of
// each report of that file into DIR instead.
//
// Last run (2 shared cores, A4 at 1200 dpi, one iteration each):
//   9,999 records: 295 pages, 2.1 s wall, 0.74 s CPU
//   89,998 records: 2,648 pages, 24.9 s wall, 8.0 s CPU
//   ratio: 9.0 in pages, 10.8 in CPU time, 12.0 in wall time (file writing)
#include "contacts/contact_record.h"
#include "print/envelopes.h"
#include "print/listing_reports.h"
#include "print/print_job.h"
#include "print/record_sheet.h"
#include "print/ui/qt_print_host.h"
#include "settings/settings.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarvik;

namespace {

BlockList contactFile(int records)
{
    BlockList list;
    list.reserve(qsizetype(records) * 36);
    ContactRecord r;
    r.contact_date = QDate(2025, 11, 3);
    r.contact_time = QTime(9, 12, 0);
    r.followup_date = QDate(2026, 1, 10);
    r.followup_time = QTime(0, 0, 0);
    r.address1 = "12 rue des Halles";
    r.postcode = "69003";
    r.town = "LYON";
    r.phone = "04 78 00 00 00";
    r.history = {"Appel\t\t03/11/2025      09:12:00\tM. Roy", QByteArray(189, '-')};
    for (int i = 0; i < records; ++i) {
        r.code = QByteArray::number(10001 + i);
        r.name = "Societe " + QByteArray::number(i);
        list += contact::blockLines(r, i);
    }
    return list;
}

// Counts the pages a report starts, passing every call on.
class PageCounter : public print::PrintDevice
{
public:
    explicit PageCounter(print::PrintDevice& d) : m(d) {}
    int pages = 0;
    print::Orientation orientation() const override { return m.orientation(); }
    void setOrientation(print::Orientation o) override { m.setOrientation(o); }
    void setTitle(const QString& t) override { m.setTitle(t); }
    void beginDoc() override
    {
        m.beginDoc();
        pages = 1;
    }
    void newPage() override
    {
        m.newPage();
        ++pages;
    }
    void endDoc() override { m.endDoc(); }
    int pageWidth() const override { return m.pageWidth(); }
    int pageHeight() const override { return m.pageHeight(); }
    int pageWidthMM() const override { return m.pageWidthMM(); }
    int pageHeightMM() const override { return m.pageHeightMM(); }
    print::Font font() const override { return m.font(); }
    void setFont(const print::Font& f) override { m.setFont(f); }
    void setPenStyle(print::PenStyle s) override { m.setPenStyle(s); }
    void setBrushColor(print::Rgb c) override { m.setBrushColor(c); }
    void textOut(int x, int y, const QString& t) override { m.textOut(x, y, t); }
    void moveTo(int x, int y) override { m.moveTo(x, y); }
    void lineTo(int x, int y) override { m.lineTo(x, y); }
    void fillRect(int l, int t, int r, int b) override { m.fillRect(l, t, r, b); }
    int textWidth(const QString& t) const override { return m.textWidth(t); }
    int textHeight(const QString& t) const override { return m.textHeight(t); }

private:
    print::PrintDevice& m;
};

void pdfPrinter(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(path);
}

void BM_AddressListingToPdf(benchmark::State& state)
{
    const int records = int(state.range(0));
    const BlockList list = contactFile(records);
    QTemporaryDir dir;
    int pages = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, dir.filePath(QStringLiteral("listing.pdf")));
        print::QtPrintHost::printOn(printer, [&](print::PrintDevice& d) {
            PageCounter counter(d);
            print::Imprime(counter, list, {0, records - 1});
            pages = counter.pages;
        });
        bytes = QFileInfo(dir.filePath(QStringLiteral("listing.pdf"))).size();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_AddressListingToPdf)
    ->Arg(9999)
    ->Arg(89998)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int writeSamples(const QString& folder, const QString& file, const QString& soc)
{
    const BlockList list = blocks::loadFile(file);
    const settings::CompanyLines company = settings::loadCompany(soc);
    const print::RecordRange all{0, 9998};
    const QDate today(2026, 3, 15);
    ContactRecord shown;
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    contact::readBlock(list, index.find(0)->first, shown);
    const print::EnvelopeAddress to{shown.name, shown.address1, shown.address2, shown.postcode,
                                    shown.town};
    const std::pair<const char*, print::PrintHost::Draw> reports[] = {
        {"fiche", [&](print::PrintDevice& d) { print::ImpficheContact(d, shown); }},
        {"listing", [&](print::PrintDevice& d) { print::Imprime(d, list, all); }},
        {"prospection", [&](print::PrintDevice& d) { print::ImpPros(d, list, all); }},
        {"alertes", [&](print::PrintDevice& d) { print::ImpAlerte(d, list, all); }},
        {"relances", [&](print::PrintDevice& d) { print::ImpRelance(d, list, all, today); }},
        {"ventes", [&](print::PrintDevice& d) { print::ImpVente(d, list, all); }},
        {"relances_a_faire", [&](print::PrintDevice& d) { print::ImpRelanceAFaire(d, list, all); }},
        {"enveloppe", [&](print::PrintDevice& d) { print::ImpEnv(d, company, to, 1, 0); }},
        {"enveloppes",
         [&](print::PrintDevice& d) {
             print::Enveloppes(d, company, list, all, {1, {}, {}, today}, 0);
         }},
    };
    for (const auto& [name, draw] : reports) {
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".pdf")));
        print::QtPrintHost::printOn(printer, draw);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 5 && QLatin1String(argv[1]) == QLatin1String("--samples"))
        return writeSamples(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                            QString::fromLocal8Bit(argv[4]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
