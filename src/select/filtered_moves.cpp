#include "select/filtered_moves.h"

#include "store/contact_record.h"

namespace selection {

bool isFiltered(int mode)
{
    return mode >= Alerts && mode <= FollowupsToDo;
}

int blockNumber(const QByteArray& line, int digits)
{
    // "<BLOC" + digits + ">": exactly the header blocks::header() builds, so a
    // number found here is one the record window can read back.
    const qsizetype n = line.size();
    if (n < digits + 6 || !blocks::isHeader(line) || line.at(n - 1) != '>')
        return -1;
    const qsizetype width = n - 6;
    if (width > digits && line.at(5) == '0')
        return -1;
    if (width > 9)
        return -1;
    int value = 0;
    for (qsizetype i = 5; i < n - 1; ++i) {
        const char c = line.at(i);
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int move(const BlockList& list, int current, Direction direction, int digits, const BlockTest& test)
{
    // The best candidate so far; -1 stands for "none yet", below every number
    // for previous and last, above every number for next and first.
    int best = -1;
    const qsizetype n = list.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QByteArray& line = list.at(i);
        // The length alone rules out most field lines without reading them.
        if (line.size() < digits + 6 || line.size() > digits + 10)
            continue;
        const int candidate = blockNumber(line, digits);
        if (candidate < 0)
            continue;
        bool better = false;
        switch (direction) {
        case Direction::Previous:
            better = candidate < current && candidate > best;
            break;
        case Direction::Next:
            better = candidate > current && (best < 0 || candidate < best);
            break;
        case Direction::First:
            better = best < 0 || candidate < best;
            break;
        case Direction::Last:
            better = candidate > best;
            break;
        }
        if (better && test(list, i))
            best = candidate;
    }
    return best < 0 ? current : best;
}

static bool upperEquals(const QByteArray& line, const QByteArray& upperValue)
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
    static const QByteArray yes("Y");
    static const QByteArray noDate("01/01/1900");
    auto at = [&](int offset) -> const QByteArray& {
        static const QByteArray none;
        const qsizetype i = h + offset;
        return i < list.size() ? list.at(i) : none;
    };
    switch (filter.mode) {
    case Alerts:
        return at(contact::Alert) == yes;
    case ClosedSales:
        return at(contact::SaleClosed) == yes;
    case TodaysFollowups:
        return at(contact::FollowupDate) == contact::formatDate(filter.today);
    case Postcode:
        return at(contact::Postcode) == filter.postcode;
    case Town:
        return upperEquals(at(contact::Town), filter.town);
    case FollowupsToDo: {
        // An empty follow-up date reads as the no-date value.
        const QByteArray& d = at(contact::FollowupDate);
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
                        return i < l.size() && l.at(i) == today;
                    });
    }
    return move(list, current, direction, blocks::ContactDigits,
                [&f](const BlockList& l, qsizetype h) { return passes(l, h, f); });
}

} // namespace selection
