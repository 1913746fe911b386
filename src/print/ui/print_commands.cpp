#include "print/ui/print_commands.h"

#include "book/record_book.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "print/envelopes.h"
#include "print/listing_reports.h"
#include "print/print_host.h"
#include "print/print_job.h"
#include "print/record_sheet.h"

namespace tarvik {

namespace printui {

void recordSheet(RecordBook& book, print::PrintHost& host)
{
    if (!host.printerReady())
        return;
    if (book.page() == RecordBook::Page::Operations) {
        const OperationRecord shown = book.operations().shown();
        host.print(QStringLiteral("Fiche"),
                   [shown](print::PrintDevice& d) { print::ImpficheOperation(d, shown); });
    } else {
        const ContactRecord shown = book.shown();
        host.print(QStringLiteral("Fiche"),
                   [shown](print::PrintDevice& d) { print::ImpficheContact(d, shown); });
    }
}

void addressListing(RecordBook& book, print::PrintHost& host)
{
    const BlockList& contacts = book.contacts();
    print::runRangeReport(host, book.recordCount(), QStringLiteral("Listing"),
                          [&contacts](print::PrintDevice& d, print::RecordRange range) {
                              print::Imprime(d, contacts, range);
                          });
}

void listingReport(RecordBook& book, print::PrintHost& host, Listing which)
{
    const BlockList& contacts = book.contacts();
    // Today is taken once for the whole job.
    const QDate today = book.clock().today();
    QString title;
    std::function<void(print::PrintDevice&, print::RecordRange)> report;
    switch (which) {
    case Listing::Prospection:
        title = QStringLiteral("Fiches de prospection");
        report = [&contacts](print::PrintDevice& d, print::RecordRange r) {
            print::ImpPros(d, contacts, r);
        };
        break;
    case Listing::Alerts:
        title = QStringLiteral("Fiches alerte");
        report = [&contacts](print::PrintDevice& d, print::RecordRange r) {
            print::ImpAlerte(d, contacts, r);
        };
        break;
    case Listing::TodaysFollowups:
        title = QStringLiteral("Fiches relance");
        report = [&contacts, today](print::PrintDevice& d, print::RecordRange r) {
            print::ImpRelance(d, contacts, r, today);
        };
        break;
    case Listing::ClosedSales:
        title = QStringLiteral("Fiches ventes abouties");
        report = [&contacts](print::PrintDevice& d, print::RecordRange r) {
            print::ImpVente(d, contacts, r);
        };
        break;
    case Listing::FollowupsToDo:
        title = QStringLiteral("Fiches relance");
        report = [&contacts](print::PrintDevice& d, print::RecordRange r) {
            print::ImpRelanceAFaire(d, contacts, r);
        };
        break;
    }
    print::runRangeReport(host, book.recordCount(), title, report);
}

void currentEnvelope(RecordBook& book, print::PrintHost& host)
{
    book.prompter().information(QStringLiteral("Insérez une enveloppe dans l'imprimante"));
    if (!host.printerReady())
        return;
    const ContactRecord& shown = book.shown();
    const print::EnvelopeAddress to{shown.name, shown.address1, shown.address2, shown.postcode,
                                    shown.town};
    const settings::CompanyLines company = book.company();
    const int orientation = book.ini().envelopeOrientation;
    const int offset = book.ini().envelopeOffset;
    host.print(QStringLiteral("Enveloppe"),
               [=](print::PrintDevice& d) { print::ImpEnv(d, company, to, orientation, offset); });
}

void envelopeBatch(RecordBook& book, print::PrintHost& host)
{
    const BlockList& contacts = book.contacts();
    const settings::CompanyLines company = book.company();
    const selection::ContactFilter filter = book.contactFilter();
    const int offset = book.ini().envelopeOffset;
    print::runRangeReport(host, book.recordCount(), QStringLiteral("Enveloppes"),
                          [&](print::PrintDevice& d, print::RecordRange range) {
                              print::Enveloppes(d, company, contacts, range, filter, offset);
                          });
}

} // namespace printui

} // namespace tarvik
