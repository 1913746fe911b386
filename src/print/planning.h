#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QDate>
#include <QList>

namespace tarvik {

// The planning of follow-ups: every contact with its follow-up date, time and
// name, in follow-up order, and the contacts that follow up on one day.
namespace planning {

struct Entry
{
    int record = -1;
    QByteArray date; // followup_date, "dd/mm/yyyy"
    QByteArray time; // followup_time, "hh:mm:ss"
    QByteArray name;
};

// A date as the calendar gives it to the list: "dd/mm/yyyy".
QByteArray calendarDay(const QDate& date);

class PlanningList
{
public:
    // Reads every contact block of `contacts` (the list itself is left as it
    // is) and orders the entries by follow-up date (year, month, day), then
    // time, compared as text with letter case ignored; equal keys keep the
    // order of their record numbers.
    explicit PlanningList(const BlockList& contacts);

    const QList<Entry>& entries() const { return m_entries; }
    // The entries whose follow-up date is exactly `day`, in planning order.
    QList<Entry> day(const QByteArray& day) const;

private:
    QList<Entry> m_entries;
};

} // namespace planning

} // namespace tarvik
