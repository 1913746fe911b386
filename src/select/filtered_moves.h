#pragma once

#include "store/block_list.h"

#include <QByteArray>
#include <QDate>

// Moves under a contacts selection mode: a scan of the whole list for the
// nearest record number whose block passes the mode's test.
namespace selection {

enum class Direction { Previous, Next, First, Last };

// Contacts modes; any other value moves over all records.
enum Mode {
    All = 1,
    Alerts = 2,
    ClosedSales = 3,
    TodaysFollowups = 4,
    Postcode = 5,
    Town = 6,
    FollowupsToDo = 7,
};

struct ContactFilter
{
    int mode = All;
    QByteArray postcode; // compared exactly
    QByteArray town;     // already upper-cased (a..z only)
    QDate today;
};

// True for the modes 2 to 7, whose moves are filtered.
bool isFiltered(int mode);

// The record number a filtered move reaches from `current`, or `current`
// itself when no record qualifies.
int moveContact(const BlockList& list, int current, Direction direction,
                const ContactFilter& filter);

} // namespace selection
