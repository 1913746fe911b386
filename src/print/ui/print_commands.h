#pragma once

namespace tarvik {

class RecordBook;

namespace print {
class PrintHost;
}

// The print commands of the main window. Each reads the record book, asks
// through the print host and prints; none changes stored data. Errors are
// thrown as TarvikError for the caller's error boundary.
namespace printui {

// The shown contact or operation, whichever page is on show, with the edits
// not yet written back. Without a printer, the print dialog comes first.
void recordSheet(RecordBook& book, print::PrintHost& host);
// The address listing of a range of records.
void addressListing(RecordBook& book, print::PrintHost& host);

enum class Listing { Prospection, Alerts, TodaysFollowups, ClosedSales, FollowupsToDo };
void listingReport(RecordBook& book, print::PrintHost& host, Listing which);

// The envelope of the shown contact, after "Insérez une enveloppe dans
// l'imprimante".
void currentEnvelope(RecordBook& book, print::PrintHost& host);
// The envelopes of a range of records under the selection mode.
void envelopeBatch(RecordBook& book, print::PrintHost& host);

} // namespace printui

} // namespace tarvik
