#include "selection/filtered_moves.h"

#include "contacts/contact_record.h"
#include "storage/block_index.h"

namespace tarvik {

namespace selection {

bool isFiltered(int mode)
{
    return mode >= Alerts && mode <= FollowupsToDo;
}

Mode modeFromNumber(int stored)
{
    return isFiltered(stored) ? Mode(stored) : All;
}

int menuIndex(Mode mode)
{
    return int(modeFromNumber(mode)) - int(All);
}

int move(const BlockList& list, int current, Direction direction, int digits, const BlockTest& test)
{
    // The index kept with the list: a move reads the blocks it tests, not the
    // whole list.
    return blocks::nearest(*blocks::BlockIndex::of(list, digits), current, direction,
                           [&](const blocks::BlockSpan& s) { return test(list, s.first); });
}

static bool upperEquals(QByteArrayView line, QByteArrayView upperValue)
{
    if (line.size() != upperValue.size())
        return false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        char c = line.at(i);
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != upperValue.at(i))
            return false;
    }
    return true;
}

bool passes(const BlockList& list, qsizetype h, const ContactFilter& filter)
{
    constexpr QByteArrayView yes("Y");
    constexpr QByteArrayView noDate("01/01/1900");
    // The field bytes are compared where they stand in the list.
    auto at = [&](int offset) -> QByteArrayView {
        const qsizetype i = h + offset;
        return i < list.size() ? list.view(i) : QByteArrayView();
    };
    switch (filter.mode) {
    case Alerts:
        return at(contact::Alert) == yes;
    case ClosedSales:
        return at(contact::SaleClosed) == yes;
    case TodaysFollowups:
        return at(contact::FollowupDate) == QByteArrayView(contact::formatDate(filter.today));
    case Postcode:
        return at(contact::Postcode) == QByteArrayView(filter.postcode);
    case Town:
        return upperEquals(at(contact::Town), filter.town);
    case FollowupsToDo: {
        // An empty follow-up date reads as the no-date value.
        const QByteArrayView d = at(contact::FollowupDate);
        return !d.isEmpty() && d != noDate;
    }
    default:
        return true;
    }
}

int moveContact(const BlockList& list, int current, Direction direction,
                const ContactFilter& filter)
{
    if (!isFiltered(filter.mode))
        return current;
    ContactFilter f = filter;
    if (f.mode == TodaysFollowups) {
        // Formatted once per move rather than once per block.
        const QByteArray today = contact::formatDate(filter.today);
        return move(list, current, direction, blocks::ContactDigits,
                    [today](const BlockList& l, qsizetype h) {
                        const qsizetype i = h + contact::FollowupDate;
                        return i < l.size() && l.view(i) == QByteArrayView(today);
                    });
    }
    return move(list, current, direction, blocks::ContactDigits,
                [&f](const BlockList& l, qsizetype h) { return passes(l, h, f); });
}

} // namespace selection

} // namespace tarvik
