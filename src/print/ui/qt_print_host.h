#pragma once

#include "print/print_host.h"

#include <QPrinter>

class QWidget;

namespace tarvik {

namespace print {

// The print host of the windows: QPrintDialog for the page range and the
// printer, a QPrinter in high resolution kept for the whole run, and
// QPrintPreviewDialog when the preview is wanted. A PDF file is written
// whole or not at all: the job is printed to a temporary file first and
// saved under its name only when it is complete.
class QtPrintHost : public PrintHost
{
public:
    explicit QtPrintHost(QWidget* parent = nullptr);

    QPrinter& printer() { return m_printer; }
    void setParent(QWidget* parent) { m_parent = parent; }

    std::optional<PageRange> askPageRange(int from, int to, int max) override;
    bool askPrinter() override;
    bool printerReady() override;
    void print(const QString& title, const Draw& draw) override;
    void setupPrinter() override;

    // Prints `draw` on `printer` (the job itself, without any dialog).
    static void printOn(QPrinter& printer, const Draw& draw);

private:
    QWidget* m_parent;
    QPrinter m_printer{QPrinter::HighResolution};
};

} // namespace print

} // namespace tarvik
