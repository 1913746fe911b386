#include "print/ui/qt_print_host.h"

#include "platform/errors.h"
#include "print/ui/print_preview.h"
#include "print/ui/qt_print_device.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryFile>

namespace tarvik {

namespace print {

QtPrintHost::QtPrintHost(QWidget* parent) : m_parent(parent)
{
    m_printer.setFullPage(false);
}

std::optional<PageRange> QtPrintHost::askPageRange(int from, int to, int max)
{
    m_printer.setPrintRange(QPrinter::AllPages);
    m_printer.setFromTo(from, to);
    QPrintDialog dialog(&m_printer, m_parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, max);
    dialog.setFromTo(from, to);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    std::optional<PageRange> chosen;
    if (accepted) {
        if (m_printer.printRange() == QPrinter::PageRange)
            chosen = PageRange{m_printer.fromPage(), m_printer.toPage()};
        else
            chosen = PageRange{from, to};
    }
    // The pages are records: the printer must not drop any page of the job.
    m_printer.setPrintRange(QPrinter::AllPages);
    m_printer.setFromTo(0, 0);
    return chosen;
}

bool QtPrintHost::askPrinter()
{
    m_printer.setPrintRange(QPrinter::AllPages);
    m_printer.setFromTo(0, 0);
    QPrintDialog dialog(&m_printer, m_parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrintHost::printerReady()
{
    // A PDF file chosen for an earlier job is not overwritten unasked.
    const bool realPrinter = m_printer.outputFormat() == QPrinter::NativeFormat &&
                             !m_printer.printerName().isEmpty() && m_printer.isValid();
    return realPrinter || askPrinter();
}

void QtPrintHost::setupPrinter()
{
    QPrintDialog dialog(&m_printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'impression"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // The choice is kept for the next prints; nothing is printed now.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialog.exec();
}

void QtPrintHost::print(const QString& title, const Draw& draw)
{
    m_printer.setDocName(title);
    if (!printPreviewWanted()) {
        printOn(m_printer, draw);
        return;
    }
    QPrintPreviewDialog preview(&m_printer, m_parent);
    preview.setWindowTitle(QStringLiteral("Aperçu avant impression"));
    preview.resize(900, 700);
    std::optional<TarvikError> failure;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&draw, &failure](QPrinter* printer) {
                         // This runs inside the dialog's event loop: nothing
                         // may leave it but through `failure`.
                         try {
                             if (printer->paintEngine() &&
                                 printer->paintEngine()->type() == QPaintEngine::Picture) {
                                 QtPrintDevice device(*printer);
                                 draw(device);
                             } else {
                                 printOn(*printer, draw);
                             }
                         } catch (const TarvikError& e) {
                             if (!failure)
                                 failure = e;
                         } catch (const std::exception& e) {
                             if (!failure)
                                 failure = TarvikError(QString::fromLocal8Bit(e.what()));
                         }
                     });
    preview.exec();
    if (failure)
        throw *failure;
}

namespace {

// Puts the printer's file name back when the job is over.
class OutputNameGuard
{
public:
    OutputNameGuard(QPrinter& printer, const QString& name)
        : m_printer(printer), m_name(printer.outputFileName())
    {
        m_printer.setOutputFileName(name);
    }
    ~OutputNameGuard() { m_printer.setOutputFileName(m_name); }
    OutputNameGuard(const OutputNameGuard&) = delete;
    OutputNameGuard& operator=(const OutputNameGuard&) = delete;

private:
    QPrinter& m_printer;
    QString m_name;
};

QString cannotWrite(const QString& path)
{
    return QStringLiteral("Impossible d'écrire le fichier ") + QDir::toNativeSeparators(path);
}

} // namespace

void QtPrintHost::printOn(QPrinter& printer, const Draw& draw)
{
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        QtPrintDevice device(printer);
        draw(device);
        return;
    }
    const QString target = printer.outputFileName();
    if (target.isEmpty())
        throw TarvikError(QStringLiteral("Aucun fichier n'a été choisi pour l'impression"));
    QTemporaryFile temporary(QDir(QDir::tempPath()).filePath(QStringLiteral("tarvik-XXXXXX.pdf")));
    if (!temporary.open())
        throw TarvikError(QStringLiteral("Impossible de lancer l'impression"));
    temporary.close();
    {
        OutputNameGuard name(printer, temporary.fileName());
        QtPrintDevice device(printer);
        draw(device);
    }
    QFile in(temporary.fileName());
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        throw TarvikError(cannotWrite(target));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            throw TarvikError(cannotWrite(target));
        }
    }
    if (!out.commit())
        throw TarvikError(cannotWrite(target));
}

} // namespace print

} // namespace tarvik
