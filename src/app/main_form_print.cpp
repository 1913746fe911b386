// The wiring of the main window's print commands.
#include "app/main_form.h"

#include "contacts/ui/fiche.h"
#include "print/print_host.h"
#include "print/ui/page_setup_dialog.h"
#include "print/ui/print_commands.h"
#include "print/ui/print_preview.h"

#include <QAction>

namespace tarvik {

void TMainForm::wirePrinting()
{
    TFiche* f = m_fiche;
    RecordBook& book = m_book;
    print::PrintHost* host = m_printHost;

    on("Imprimerfiche1",
       [f, host, &book] { f->run([host, &book] { printui::recordSheet(book, *host); }); });
    on("Listing1",
       [f, host, &book] { f->run([host, &book] { printui::addressListing(book, *host); }); });
    using printui::Listing;
    const struct
    {
        commands::Id name;
        Listing which;
    } listings[] = {
        {"fichesdeprospection1", Listing::Prospection},
        {"Fichesalertes1", Listing::Alerts},
        {"Fichesrelance1", Listing::TodaysFollowups},
        {"Fichesventesabouties1", Listing::ClosedSales},
        {"Fichesrelancesfaire1", Listing::FollowupsToDo},
    };
    for (const auto& [name, which] : listings) {
        on(name, [f, host, which = which, &book] {
            f->run([host, which, &book] { printui::listingReport(book, *host, which); });
        });
    }
    on("Enveloppe1",
       [f, host, &book] { f->run([host, &book] { printui::currentEnvelope(book, *host); }); });
    on("Enveloppes1",
       [f, host, &book] { f->run([host, &book] { printui::envelopeBatch(book, *host); }); });
    on("Miseenpage1", [this, &book] { ParM(book, this); });
    on("Configurerlimprimante1", [f, host] { f->run([host] { host->setupPrinter(); }); });

    QAction* preview = wire("Apercuavantimpression1");
    preview->setChecked(printPreviewWanted());
    connect(preview, &QAction::toggled, this, [](bool on) { setPrintPreviewWanted(on); });
}

} // namespace tarvik
