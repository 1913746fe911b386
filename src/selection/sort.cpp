#include "selection/sort.h"

#include "contacts/contact_record.h"
#include "storage/ansi.h"
#include "storage/block_index.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>
#include <vector>

namespace tarvik {

namespace sorting {

std::optional<Key> keyAt(int index)
{
    if (index < ByName || index > ByFollowup)
        return std::nullopt;
    return Key(index);
}

QByteArray sortKey(const BlockList& list, qsizetype h, Key key)
{
    switch (key) {
    case ByName:
        return contact::field(list, h, contact::Name);
    case ByPostcode:
        return contact::field(list, h, contact::Postcode);
    case ByTown:
        return contact::field(list, h, contact::Town);
    case ByFollowup: {
        // "dd/mm/yyyy" + "hh:mm:ss" -> "yyyymmdd" + "hh:mm:ss": chronological.
        const QByteArray d = contact::field(list, h, contact::FollowupDate);
        return d.mid(6, 4) + d.mid(3, 2) + d.mid(0, 2) +
               contact::field(list, h, contact::FollowupTime);
    }
    }
    return {};
}

namespace {

// The bytes of the sort key of the block at `h`, in place where the key is
// one field; the follow-up key is put together in `scratch`.
QByteArrayView keyBytes(const BlockList& list, qsizetype h, Key key, QByteArray& scratch)
{
    const auto field = [&](int offset) {
        const qsizetype i = h + offset;
        return i < list.size() ? list.view(i) : QByteArrayView();
    };
    switch (key) {
    case ByName:
        return field(contact::Name);
    case ByPostcode:
        return field(contact::Postcode);
    case ByTown:
        return field(contact::Town);
    case ByFollowup:
        scratch = sortKey(list, h, key);
        return scratch;
    }
    return {};
}

bool digitsOnly(QByteArrayView bytes)
{
    for (char c : bytes)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Windows-1252 to QString through a table of the 256 characters, built once
// from the program's own conversion: the sort decodes every key, and a decoder
// per line would cost more than the sort itself.
void decode(QByteArrayView bytes, QString& out)
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QString one = ansi::toUnicode(QByteArray(1, char(b)));
            t[size_t(b)] = one.size() == 1 ? one.at(0).unicode() : char16_t(0xFFFD);
        }
        return t;
    }();
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(table[static_cast<unsigned char>(bytes.at(i))]);
}

// "<BLOC" + n in five digits + ">" (or the trailer), without the number
// formatting of the general helpers: the sort writes two of them per record.
QByteArray marker(int n, bool trailer)
{
    if (n >= 100000)
        return trailer ? blocks::trailer(n, blocks::ContactDigits)
                       : blocks::header(n, blocks::ContactDigits);
    QByteArray m = trailer ? QByteArray("</BLOC00000>") : QByteArray("<BLOC00000>");
    char* p = m.data() + m.size() - 1;
    for (int k = 0; k < blocks::ContactDigits; ++k) {
        *--p = char('0' + n % 10);
        n /= 10;
    }
    return m;
}

struct Entry
{
    qsizetype first = 0; // index of the record's first line after its header
    qsizetype count = 0; // lines between header and trailer
    // The first line (the customer code, which breaks most ties) packed
    // byte by byte into a number, first byte highest, when it is at most
    // eight digits: two such numbers compare as the lines' bytes do, and
    // the tie is broken without going back to the lines.
    quint64 packedFirst = 0;
    bool packed = false;
    // A trailer stands among its lines (left-over structure of a damaged file).
    bool strayTrailer = false;
    // Collation keys of the record's lines, computed only when two records
    // tie on everything before them; always a prefix of the lines.
    std::vector<QCollatorSortKey> lineKeys;
};

class Sorter
{
public:
    explicit Sorter(const BlockList& list) : m_list(list)
    {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    // One text reused for every key: decoding allocates nothing per record.
    QCollatorSortKey keyOf(QByteArrayView bytes) const
    {
        decode(bytes, m_text);
        return m_collator.sortKey(m_text);
    }

    const QCollatorSortKey& lineKey(Entry& e, qsizetype i) const
    {
        while (qsizetype(e.lineKeys.size()) <= i)
            e.lineKeys.push_back(keyOf(m_list.view(e.first + qsizetype(e.lineKeys.size()))));
        return e.lineKeys[size_t(i)];
    }

    // Orders two records whose keys collate equal by their lines; 0 when
    // they are equal line for line.
    int compareLines(Entry& a, Entry& b) const
    {
        const qsizetype n = std::min(a.count, b.count);
        for (qsizetype i = 0; i < n; ++i) {
            const QByteArrayView x = m_list.view(a.first + i);
            const QByteArrayView y = m_list.view(b.first + i);
            // Byte-equal lines collate equal: skip the collation for them.
            if (x == y)
                continue;
            // Digits alone (the customer codes that break most ties) collate
            // digit by digit in their order, as bytes do.
            if (digitsOnly(x) && digitsOnly(y))
                return x.compare(y) < 0 ? -1 : 1;
            if (const int c = lineKey(a, i).compare(lineKey(b, i)); c != 0)
                return c;
        }
        return a.count < b.count ? -1 : a.count > b.count ? 1 : 0;
    }

private:
    const BlockList& m_list;
    QCollator m_collator{QLocale(QLocale::French)};
    mutable QString m_text;
};

} // namespace

int sortRecords(BlockList& list, Key key)
{
    Sorter sorter(list);
    std::vector<Entry> entries;
    std::vector<QCollatorSortKey> keys; // one per entry, side by side for the comparisons
    QByteArray scratch;
    const auto index = blocks::BlockIndex::of(list, blocks::ContactDigits);
    entries.reserve(size_t(index->inListOrder().size()));
    keys.reserve(size_t(index->inListOrder().size()));
    const QList<blocks::ListedBlock>& listed = index->inListOrder();
    // The line a key is read from, asked for ahead: on a large file each
    // stands in memory far from the last.
    const int keyLine = key == ByPostcode ? contact::Postcode
                        : key == ByTown   ? contact::Town
                                          : contact::Name;
    const QList<blocks::MarkedLine>& marks = index->markers();
    qsizetype mark = 0;
    for (qsizetype k = 0; k < listed.size(); ++k) {
        if (k + 16 < listed.size())
            list.ahead(listed.at(k + 16).first + keyLine);
        if (k + 8 < listed.size()) {
            list.aheadBytes(listed.at(k + 8).first + keyLine);
            list.aheadBytes(listed.at(k + 8).first + 1);
        }
        const blocks::ListedBlock& block = listed.at(k);
        // A record ends at its trailer; a damaged one without a trailer ends
        // before the next header, so it never swallows the record after it.
        // A stray trailer inside it is left-over structure, not a line of the
        // record: it is left out when the records are written back, or it
        // would unbalance the sorted file.
        Entry e;
        e.first = block.first + 1;
        e.count = (block.trailer >= 0 ? block.trailer : block.next) - e.first;
        // The markers are in list order, as the blocks are: one pass finds
        // the stray trailers of every record.
        while (mark < marks.size() && marks.at(mark).line < e.first)
            ++mark;
        for (qsizetype m = mark; m < marks.size() && marks.at(m).line < e.first + e.count; ++m)
            e.strayTrailer = e.strayTrailer || marks.at(m).marker.isTrailer();
        if (e.count > 0) {
            const QByteArrayView code = list.view(e.first);
            if (code.size() <= 8 && digitsOnly(code)) {
                e.packed = true;
                for (qsizetype i = 0; i < 8; ++i)
                    e.packedFirst =
                        e.packedFirst << 8 | (i < code.size() ? quint64(quint8(code[i])) : 0);
            }
        }
        keys.push_back(sorter.keyOf(keyBytes(list, block.first, key, scratch)));
        entries.push_back(std::move(e));
    }

    std::vector<qsizetype> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = qsizetype(i);
    // Records equal line for line keep their order.
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = keys[size_t(a)].compare(keys[size_t(b)]); c != 0)
            return c < 0;
        // Unequal codes of digits alone decide as the lines would.
        if (const Entry& x = entries[size_t(a)], &y = entries[size_t(b)];
            x.packed && y.packed && x.packedFirst != y.packedFirst)
            return x.packedFirst < y.packedFirst;
        if (const int c = sorter.compareLines(entries[size_t(a)], entries[size_t(b)]); c != 0)
            return c < 0;
        return a < b;
    });

    qsizetype total = 0;
    for (const Entry& e : entries)
        total += e.count + 2;
    // The sorted list shares the buffers of the old one: only the new
    // headers and trailers are written, every other line is taken over.
    BlockList sorted = list.sharingBytes();
    sorted.reserve(total);
    const QList<qsizetype>& markers = list.markerLines();
    int k = 0;
    for (size_t j = 0; j < order.size(); ++j) {
        // The records come in a new order, each from its own place in the
        // list: the lines of those a few steps on are asked for ahead.
        if (j + 4 < order.size()) {
            const Entry& next = entries[size_t(order[j + 4])];
            for (qsizetype line = 0; line < next.count; line += 8)
                list.ahead(next.first + line);
        }
        const Entry& e = entries[size_t(order[j])];
        sorted.append(marker(k, false));
        if (!e.strayTrailer) {
            sorted.appendFrom(list, e.first, e.count);
            sorted.append(marker(k, true));
            ++k;
            continue;
        }
        qsizetype run = e.first;
        const qsizetype end = e.first + e.count;
        for (auto it = std::lower_bound(markers.begin(), markers.end(), e.first);
             it != markers.end() && *it < end; ++it) {
            if (!blocks::isTrailer(list.view(*it)))
                continue;
            sorted.appendFrom(list, run, *it - run);
            run = *it + 1;
        }
        sorted.appendFrom(list, run, end - run);
        sorted.append(marker(k, true));
        ++k;
    }
    list = std::move(sorted);
    return k;
}

} // namespace sorting

} // namespace tarvik
