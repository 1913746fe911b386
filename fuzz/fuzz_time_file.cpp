// The time file reader on any bytes: every day read has a date and no line
// break, its time at most 255 bytes; today's time is a time of day; what the
// table writes back reads back to the same days.
#include "activity/time_file.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

using namespace tarvik;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool hasLineBreak(const QByteArray& b)
{
    return b.contains('\r') || b.contains('\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    activity::TimeTable table;
    table.read(bytes);

    const int days = table.dayCount();
    check(table.rowCount() > days + 1);
    for (int r = 1; r <= days; ++r) {
        const QByteArray& date = table.cell(r, 0);
        const QByteArray& time = table.cell(r, 1);
        check(!date.isEmpty() && !date.contains('\t') && !hasLineBreak(date));
        check(time.size() <= 255 && !hasLineBreak(time));
    }

    const QDate today(2026, 3, 15);
    const qint64 spent = table.GetIni(today);
    check(spent >= 0 && spent < 24 * 3600);

    // Written back and read again: the same days, and the same bytes once more.
    const QByteArray written = table.fileBytes();
    activity::TimeTable again;
    again.read(written);
    check(again.dayCount() == days);
    for (int r = 1; r <= days; ++r)
        check(again.cell(r, 0) == table.cell(r, 0) && again.cell(r, 1) == table.cell(r, 1));
    check(again.fileBytes() == written);

    // Today's row goes after the days or on the row of today that was read;
    // the next run reads back what was written, unless a time of today that
    // cannot be read hides the rows behind it.
    bool unreadableToday = false;
    for (int r = 1; r <= days; ++r)
        unreadableToday = unreadableToday || (table.cell(r, 0) == activity::dayText(today) &&
                                              !table.cell(r, 1).isEmpty() &&
                                              !activity::parseTimeOfDay(table.cell(r, 1)));
    again.Init(today, 1, 2, 3, spent + 60);
    check(again.dayCount() == days || again.dayCount() == days + 1);
    check(unreadableToday ||
          again.GetIni(today) ==
              activity::parseTimeOfDay(activity::formatTimeSpent(spent + 60)).value_or(-1));
    return 0;
}
