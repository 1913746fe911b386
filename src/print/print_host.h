#pragma once

#include "print/print_device.h"

#include <QString>
#include <functional>
#include <optional>

namespace tarvik {

namespace print {

// Pages as the print dialog numbers them, from 1.
struct PageRange
{
    int from = 1;
    int to = 1;
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// The way every window prints: the print dialog and a print job on the
// printer the user chose. The main window owns one for the whole run (the
// printer chosen in "Configurer l'imprimante" holds until the program ends)
// and hands it to the windows that print; the tests give a scripted one that
// draws on a recording device.
class PrintHost
{
public:
    using Draw = std::function<void(PrintDevice&)>;

    virtual ~PrintHost() = default;

    // The print dialog with its page range preset to from..to, pages 1..max.
    // The pages typed, or the preset when the user left "all pages";
    // nullopt when the user cancels.
    virtual std::optional<PageRange> askPageRange(int from, int to, int max) = 0;

    // The print dialog without a page range; false when the user cancels.
    virtual bool askPrinter() = 0;

    // For a print that goes to the printer without asking: true at once when
    // there is a printer to print on; otherwise the print dialog (where the
    // user can choose a PDF file), false when cancelled.
    virtual bool printerReady() = 0;

    // Runs one job: `draw` gets a device on the chosen printer, or on the
    // preview when the user wants one (from which the user prints or
    // closes). `draw` may then run more than once and must draw the whole
    // document each time. Throws TarvikError when the job cannot start or
    // its file cannot be written.
    virtual void print(const QString& title, const Draw& draw) = 0;

    // The platform's printer and paper choice, kept for the rest of the run.
    virtual void setupPrinter() = 0;
};

} // namespace print

} // namespace tarvik
