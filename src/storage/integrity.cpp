#include "storage/integrity.h"

#include "platform/prompter.h"
#include "storage/block_index.h"

#include <QHash>
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace tarvik {

namespace integrity {

namespace {

// A header or trailer in capitals whose number is written exactly as the
// program writes it. Anything else, a line with trailing characters included,
// is not a usable marker: find() would never match it.
bool usable(const blocks::Marker& m)
{
    return m.capitals && m.number >= 0;
}

using Span = blocks::ListedBlock;

// Whether a line of a block would read as a marker once moved under a new
// number, and so must be made safe as a field is.
bool readsAsMarker(QByteArrayView line)
{
    return (line.size() >= 5 && qstrnicmp(line.data(), "<BLOC", 5) == 0) ||
           (line.size() >= 6 && qstrnicmp(line.data(), "</BLOC", 6) == 0);
}

// Appends the block `s` to `out` under the number `number`. Stray trailers
// inside it are structure left over from damage, not data, and are dropped so
// that the result balances. Other lines that read like a marker ("</bloc..."
// in small letters) stay data, made safe as a field is: under its new number
// such a line could otherwise turn into the block's trailer at the next load.
// The other lines are taken over as they are, without copying their bytes.
void appendRenumbered(BlockList& out, const BlockList& list, const Span& s, int number, int digits)
{
    out.append(blocks::header(number, digits));
    const qsizetype last = s.trailer >= 0 ? s.trailer : s.next;
    qsizetype run = s.first + 1; // lines from here on are taken over unchanged
    for (qsizetype k = s.first + 1; k < last; ++k) {
        const QByteArrayView line = list.view(k);
        if (line.isEmpty() || line.front() != '<' || !readsAsMarker(line))
            continue;
        out.appendFrom(list, run, k - run);
        run = k + 1;
        if (!blocks::isTrailer(line))
            out.append(blocks::fieldLine(line));
    }
    out.appendFrom(list, run, last - run);
    out.append(blocks::trailer(number, digits));
}

bool sameBody(const BlockList& list, const Span& a, const Span& b)
{
    const qsizetype aLast = a.trailer >= 0 ? a.trailer : a.next;
    const qsizetype bLast = b.trailer >= 0 ? b.trailer : b.next;
    if (aLast - a.first != bLast - b.first)
        return false;
    for (qsizetype k = 1; a.first + k < aLast; ++k)
        if (list.view(a.first + k) != list.view(b.first + k))
            return false;
    return true;
}

} // namespace

bool Augmente(BlockList& list)
{
    bool widened = false;
    // Widening keeps every marker a line that begins with "<": the list of
    // them stays as it is while the lines change.
    const QList<qsizetype> markers = list.markerLines();
    for (const qsizetype i : markers) {
        const QByteArrayView line = list.view(i);
        if (blocks::isHeader(line)) {
            // From the first long header on, the file is in the current form.
            if (line.size() > 10)
                break;
            QByteArray wide = line.toByteArray();
            list.replace(i, wide.insert(5, '0'));
            widened = true;
        } else if (blocks::isTrailer(line) && line.size() < 12) {
            QByteArray wide = line.toByteArray();
            list.replace(i, wide.insert(6, '0'));
            widened = true;
        }
    }
    return widened;
}

bool damaged(const BlockList& list, int digits)
{
    const auto index = blocks::BlockIndex::of(list, digits);
    qsizetype balance = 0;
    for (const blocks::MarkedLine& marked : index->markers()) {
        const blocks::Marker& m = marked.marker;
        if (m.isHeader())
            ++balance;
        else if (m.isTrailer())
            --balance;
        else
            continue;
        if (!usable(m))
            return true;
    }
    if (balance != 0)
        return true;
    // Equal counts can still hide a block without its trailer (or ended by a
    // trailer in small letters, which is not counted) and a stray trailer
    // further down; the duplicate check would then cut the list into blocks
    // that no longer balance.
    for (const Span& s : index->inListOrder())
        if (s.trailer < 0 || !s.trailerInCapitals)
            return true;
    return false;
}

int rebuild(BlockList& list, int recordCount, int digits)
{
    Q_UNUSED(recordCount); // every block is kept, whatever its number
    const auto index = blocks::BlockIndex::of(list, digits);
    const QList<Span>& all = index->inListOrder();

    // Blocks by number, each number's copies in list order; duplicates keep a
    // shared number so that the duplicate check that follows can judge them.
    std::map<int, QList<qsizetype>> byNumber;
    QList<qsizetype> unnumbered;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all.at(i).number >= 0)
            byNumber[all.at(i).number].append(i);
        else
            unnumbered.append(i);
    }

    BlockList out = list.sharingBytes();
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
    const auto index = blocks::BlockIndex::of(list, digits);
    const QList<Span>& all = index->inListOrder();

    // The first copy of a number in list order is the one the program reads
    // and writes back; later copies are judged against the copies kept.
    // Most files hold no copy at all: that is settled without a table per
    // number.
    {
        std::vector<qsizetype> numbers;
        numbers.reserve(size_t(all.size()));
        for (const Span& s : all)
            if (s.number >= 0)
                numbers.push_back(s.number);
        if (!std::is_sorted(numbers.begin(), numbers.end()))
            std::sort(numbers.begin(), numbers.end());
        if (std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end())
            return false;
    }
    enum class Fate { Keep, Drop, MoveToEnd };
    QList<Fate> fate(all.size(), Fate::Keep);
    QHash<int, QList<qsizetype>> kept;
    int highest = -1;
    bool any = false;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Span& s = all.at(i);
        if (s.number < 0)
            continue;
        highest = std::max(highest, s.number);
        QList<qsizetype>& copies = kept[s.number];
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

    // One pass over the list, the lines kept taken over in runs without
    // copying their bytes.
    BlockList out = list.sharingBytes();
    out.reserve(list.size() + all.size());
    qsizetype line = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Span& s = all.at(i);
        const qsizetype to = fate[i] == Fate::Keep ? s.end() : s.first;
        out.appendFrom(list, line, to - line);
        line = s.end();
    }
    out.appendFrom(list, line, list.size() - line);
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
    // Rewritten markers still begin with "<": the list of them holds.
    const QList<qsizetype> markers = list.markerLines();
    for (const qsizetype i : markers) {
        const blocks::Marker m = blocks::readMarker(list.view(i), digits);
        if (!usable(m) || m.number <= deleted)
            continue;
        list.replace(i, m.kind == blocks::Marker::Header ? blocks::header(m.number - 1, digits)
                                                         : blocks::trailer(m.number - 1, digits));
    }
    --recordCount;
}

bool closeGaps(BlockList& list, int& recordCount, int digits)
{
    // The numbers of the headers, sorted and unique: a number's dense number
    // is its place among them.
    std::vector<int> numbers;
    // Held here: the renumbering below drops the index kept with the list.
    const auto index = blocks::BlockIndex::of(list, digits);
    const QList<blocks::MarkedLine>& markers = index->markers();
    numbers.reserve(size_t(index->inListOrder().size()));
    for (const blocks::MarkedLine& marked : markers)
        if (usable(marked.marker) && marked.marker.isHeader())
            numbers.push_back(marked.marker.number);
    if (!std::is_sorted(numbers.begin(), numbers.end()))
        std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    if (numbers.empty() || numbers.back() == int(numbers.size()) - 1)
        return false;
    const auto dense = [&numbers](int n) {
        return int(std::lower_bound(numbers.begin(), numbers.end(), n) - numbers.begin());
    };
    const auto has = [&numbers](int n) {
        return std::binary_search(numbers.begin(), numbers.end(), n);
    };

    for (const blocks::MarkedLine& marked : markers) {
        const qsizetype i = marked.line;
        const blocks::Marker& m = marked.marker;
        if (!usable(m))
            continue;
        if (m.number == dense(m.number))
            continue;
        if (m.isHeader())
            list.replace(i, blocks::header(dense(m.number), digits));
        // A trailer whose number has no header belongs to no block: left alone.
        else if (has(m.number))
            list.replace(i, blocks::trailer(dense(m.number), digits));
    }
    recordCount = std::max(recordCount, int(numbers.size()));
    return true;
}

} // namespace integrity

} // namespace tarvik
