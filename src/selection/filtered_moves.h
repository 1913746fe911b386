#pragma once

#include "storage/block_index.h"
#include "storage/block_list.h"

#include <QByteArray>
#include <QDate>
#include <functional>

namespace tarvik {

// Moves under a contacts selection mode: a scan of the whole list for the
// nearest record number whose block passes the mode's test.
namespace selection {

using Direction = blocks::Direction;

// Contacts modes, by the number the settings file keeps for them; any other
// number moves over all records.
enum Mode : int {
    All = 1,
    Alerts = 2,
    ClosedSales = 3,
    TodaysFollowups = 4,
    Postcode = 5,
    Town = 6,
    FollowupsToDo = 7,
};

// The mode a number stands for (the settings file and the menu keep modes as
// these numbers): All for any number outside 2 to 7.
Mode modeFromNumber(int stored);
// The position of `mode` in the menu group of the seven modes (0 for all).
int menuIndex(Mode mode);

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

// Whether the block whose header stands at `headerIndex` passes the test of
// `filter.mode`; true for the unfiltered modes.
bool passes(const BlockList& list, qsizetype headerIndex, const ContactFilter& filter);

// The test of one block, given the index of its header line.
using BlockTest = std::function<bool(const BlockList& list, qsizetype headerIndex)>;

// The generic filtered move over blocks numbered with `digits` digits:
// previous gives the nearest qualifying number below `current`, next the
// nearest above, first the lowest, last the highest; `current` when none
// qualifies. Each number's block is the one the record window reads for it.
int move(const BlockList& list, int current, Direction direction, int digits,
         const BlockTest& test);

} // namespace selection

} // namespace tarvik
