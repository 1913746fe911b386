#include "store/integrity.h"

#include "platform/prompter.h"

#include <QHash>
#include <algorithm>
#include <map>
#include <optional>

namespace integrity {

namespace {

// The number of a line written exactly as "<BLOC" + `digits` digits + ">" (or
// "</BLOC" ... for a trailer). Anything else, a line with trailing characters
// included, is not a usable marker: find() would never match it.
std::optional<int> exactNumber(const QByteArray& line, int digits, bool trailerForm)
{
    const qsizetype markerSize = trailerForm ? 6 : 5;
    if (line.size() != markerSize + digits + 1 || line.back() != '>')
        return std::nullopt;
    if (trailerForm ? !blocks::isTrailer(line) : !blocks::isHeader(line))
        return std::nullopt;
    return trailerForm ? blocks::trailerNumber(line, digits) : blocks::headerNumber(line, digits);
}

std::optional<int> headerNumberOf(const QByteArray& line, int digits)
{
    return exactNumber(line, digits, false);
}

std::optional<int> trailerNumberOf(const QByteArray& line, int digits)
{
    return exactNumber(line, digits, true);
}

// One block of the list: its header at `begin`, its lines up to `end`
// (exclusive). A block ends at its own trailer; one that lacks it ends before
// the next header, so that it never swallows the blocks behind it.
struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
    bool hasTrailer = false;
    std::optional<int> number;
};

QList<Span> spans(const BlockList& list, int digits)
{
    QList<Span> result;
    const qsizetype n = list.size();
    qsizetype i = 0;
    while (i < n) {
        if (!blocks::isHeader(list.at(i))) {
            ++i;
            continue;
        }
        Span s;
        s.begin = i;
        s.number = headerNumberOf(list.at(i), digits);
        const QByteArray trail = blocks::trailerOf(list.at(i));
        qsizetype j = i + 1;
        while (j < n && !blocks::isHeader(list.at(j))) {
            if (blocks::sameLine(list.at(j), trail)) {
                s.hasTrailer = true;
                ++j;
                break;
            }
            ++j;
        }
        s.end = j;
        result.append(s);
        i = j;
    }
    return result;
}

// Appends the block `s` to `out` under the number `number`. Stray trailers
// inside it are structure left over from damage, not data, and are dropped so
// that the result balances.
void appendRenumbered(BlockList& out, const BlockList& list, const Span& s, int number, int digits)
{
    out.append(blocks::header(number, digits));
    const qsizetype last = s.hasTrailer ? s.end - 1 : s.end;
    for (qsizetype k = s.begin + 1; k < last; ++k)
        if (!blocks::isTrailer(list.at(k)))
            out.append(list.at(k));
    out.append(blocks::trailer(number, digits));
}

bool sameBody(const BlockList& list, const Span& a, const Span& b)
{
    const qsizetype aLast = a.hasTrailer ? a.end - 1 : a.end;
    const qsizetype bLast = b.hasTrailer ? b.end - 1 : b.end;
    if (aLast - a.begin != bLast - b.begin)
        return false;
    for (qsizetype k = 1; a.begin + k < aLast; ++k)
        if (list.at(a.begin + k) != list.at(b.begin + k))
            return false;
    return true;
}

} // namespace

bool Augmente(BlockList& list)
{
    bool widened = false;
    for (QByteArray& line : list) {
        if (blocks::isHeader(line)) {
            // From the first long header on, the file is in the current form.
            if (line.size() > 10)
                break;
            line.insert(5, '0');
            widened = true;
        } else if (blocks::isTrailer(line) && line.size() < 12) {
            line.insert(6, '0');
            widened = true;
        }
    }
    return widened;
}

bool damaged(const BlockList& list, int digits)
{
    qsizetype balance = 0;
    for (const QByteArray& line : list) {
        if (blocks::isHeader(line)) {
            ++balance;
            if (!headerNumberOf(line, digits))
                return true;
        } else if (blocks::isTrailer(line)) {
            --balance;
            if (!trailerNumberOf(line, digits))
                return true;
        }
    }
    return balance != 0;
}

int rebuild(BlockList& list, int recordCount, int digits)
{
    Q_UNUSED(recordCount); // every block is kept, whatever its number
    const QList<Span> all = spans(list, digits);

    // Blocks by number, each number's copies in list order; duplicates keep a
    // shared number so that the duplicate check that follows can judge them.
    std::map<int, QList<qsizetype>> byNumber;
    QList<qsizetype> unnumbered;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all.at(i).number)
            byNumber[*all.at(i).number].append(i);
        else
            unnumbered.append(i);
    }

    BlockList out;
    out.reserve(list.size() + all.size()); // room for the trailers added
    int next = 0;
    for (const auto& [number, copies] : byNumber) {
        for (qsizetype i : copies)
            appendRenumbered(out, list, all.at(i), next, digits);
        ++next;
    }
    for (qsizetype i : unnumbered)
        appendRenumbered(out, list, all.at(i), next++, digits);

    list = std::move(out);
    return blocks::countHeaders(list);
}

bool Verif(BlockList& list, int& recordCount, Prompter& prompter)
{
    if (!damaged(list, blocks::ContactDigits))
        return false;
    if (!prompter.askYesNo(QStringLiteral("Le fichier a été altéré. Restaurer ?")))
        return false;
    recordCount = rebuild(list, recordCount, blocks::ContactDigits);
    return true;
}

bool removeDuplicates(BlockList& list, int& recordCount, int digits)
{
    const QList<Span> all = spans(list, digits);

    // The first copy of a number in list order is the one the program reads
    // and writes back; later copies are judged against the copies kept.
    enum class Fate { Keep, Drop, MoveToEnd };
    QList<Fate> fate(all.size(), Fate::Keep);
    QHash<int, QList<qsizetype>> kept;
    int highest = -1;
    bool any = false;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Span& s = all.at(i);
        if (!s.number)
            continue;
        highest = std::max(highest, *s.number);
        QList<qsizetype>& copies = kept[*s.number];
        if (copies.isEmpty()) {
            copies.append(i);
            continue;
        }
        any = true;
        const bool same = std::any_of(copies.begin(), copies.end(),
                                      [&](qsizetype k) { return sameBody(list, all.at(k), s); });
        fate[i] = same ? Fate::Drop : Fate::MoveToEnd;
        if (!same)
            copies.append(i);
    }
    if (!any)
        return false;

    // One pass over the list: a long file is copied once, not moved per block.
    BlockList out;
    out.reserve(list.size() + all.size());
    qsizetype line = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Span& s = all.at(i);
        while (line < s.begin)
            out.append(list.at(line++));
        if (fate[i] == Fate::Keep)
            while (line < s.end)
                out.append(list.at(line++));
        line = s.end;
    }
    while (line < list.size())
        out.append(list.at(line++));
    for (qsizetype i = 0; i < all.size(); ++i)
        if (fate[i] == Fate::MoveToEnd)
            appendRenumbered(out, list, all.at(i), ++highest, digits);

    list = std::move(out);
    recordCount = blocks::countHeaders(list);
    return true;
}

void renumber(BlockList& list, int deleted, int& recordCount, int digits)
{
    if (recordCount <= 1)
        return;
    for (QByteArray& line : list) {
        if (blocks::isHeader(line)) {
            if (const auto n = headerNumberOf(line, digits); n && *n > deleted)
                line = blocks::header(*n - 1, digits);
        } else if (blocks::isTrailer(line)) {
            if (const auto n = trailerNumberOf(line, digits); n && *n > deleted)
                line = blocks::trailer(*n - 1, digits);
        }
    }
    --recordCount;
}

bool closeGaps(BlockList& list, int& recordCount, int digits)
{
    std::map<int, int> numbers; // old number -> dense number
    for (const QByteArray& line : list)
        if (blocks::isHeader(line))
            if (const auto n = headerNumberOf(line, digits))
                numbers.emplace(*n, 0);
    int next = 0;
    bool moved = false;
    for (auto& [old, dense] : numbers) {
        dense = next++;
        moved = moved || old != dense;
    }
    if (!moved)
        return false;

    for (QByteArray& line : list) {
        if (blocks::isHeader(line)) {
            if (const auto n = headerNumberOf(line, digits))
                line = blocks::header(numbers.at(*n), digits);
        } else if (blocks::isTrailer(line)) {
            // A trailer whose number has no header belongs to no block: left alone.
            if (const auto n = trailerNumberOf(line, digits); n && numbers.count(*n))
                line = blocks::trailer(numbers.at(*n), digits);
        }
    }
    recordCount = std::max(recordCount, int(numbers.size()));
    return true;
}

} // namespace integrity
