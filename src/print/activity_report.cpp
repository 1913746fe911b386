#include "print/activity_report.h"

#include "activity/time_file.h"
#include "print/print_device.h"
#include "storage/ansi.h"

namespace tarvik {

namespace activity {

void printReport(const TimeTable& table, print::PrintDevice& device)
{
    using print::Mh;
    using print::Mv;
    const QString title = QStringLiteral("Rapport d'activité");
    constexpr int FirstRow = 5;
    constexpr int RowHeight = 5;
    constexpr int Columns[TimeTable::Columns] = {10, 40, 70, 90, 110};

    device.setOrientation(print::Orientation::Portrait);
    device.beginDoc();
    device.setFont({QStringLiteral("Arial"), 10, false});
    device.setPenStyle(print::PenStyle::Solid);
    device.textOut(Mh(device, 5), Mv(device, 0), title);
    int row = FirstRow;
    for (int i = 0; i < table.rowCount() && !table.cell(i, 0).isEmpty(); ++i) {
        for (int c = 0; c < TimeTable::Columns; ++c)
            device.textOut(Mh(device, Columns[c]), Mv(device, row),
                           ansi::toUnicode(table.cell(i, c)));
        row += RowHeight;
        if (Mv(device, row) > device.pageHeight() - Mv(device, 20)) {
            device.newPage();
            device.textOut(Mh(device, 5), Mv(device, 0), title);
            row = FirstRow;
        }
    }
    device.endDoc();
    device.setOrientation(print::Orientation::Portrait);
}

} // namespace activity

} // namespace tarvik
