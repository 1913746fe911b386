#pragma once

#include <QDate>
#include <QString>

namespace tarvik {

namespace calendartext {

// The French name of a month, 1..12 ("janvier" .. "décembre").
QString monthName(int month);

// The calendar's title: the month's full name, two blanks, the year
// ("mars  2001").
QString title(const QDate& shown);

} // namespace calendartext

} // namespace tarvik
