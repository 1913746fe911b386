#pragma once

namespace tarvik {

namespace print {
class PrintDevice;
}

namespace activity {

class TimeTable;

// The printed activity report: the title "Rapport d'activité", then the
// table's rows from the titles row down to the last day, one row every 5 mm,
// in "Arial" 10, portrait, with the page break of the listings.
void printReport(const TimeTable& table, print::PrintDevice& device);

} // namespace activity

} // namespace tarvik
