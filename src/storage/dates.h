#pragma once

#include <QByteArray>
#include <QDate>
#include <QTime>

namespace tarvik {

// Dates and times as the data files write them: "dd/mm/yyyy" and "hh:mm:ss".
// Contacts, operations and the reports read and write them here only, with
// no help from the process locale.
namespace dates {

QByteArray format(const QDate& date);     // "dd/mm/yyyy"; empty for an invalid date
QByteArray formatTime(const QTime& time); // "hh:mm:ss"; empty for an invalid time

// "dd/mm/yyyy", also with one-digit day or month ("1/2/2026"); a two-digit
// year is taken in the current century. Blanks around are ignored. Invalid
// when unreadable or when there is no such day (31/02/2026).
QDate parse(const QByteArray& text);
// "hh:mm:ss" or "hh:mm", one-digit parts accepted; invalid when unreadable.
QTime parseTime(const QByteArray& text);

} // namespace dates

} // namespace tarvik
