#include "select/sort.h"

#include "store/ansi.h"
#include "store/contact_record.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <optional>
#include <vector>

namespace sorting {

QByteArray sortKey(const BlockList& list, qsizetype h, Key key)
{
    switch (key) {
    case ByName: return contact::field(list, h, contact::Name);
    case ByPostcode: return contact::field(list, h, contact::Postcode);
    case ByTown: return contact::field(list, h, contact::Town);
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

struct Entry
{
    qsizetype first = 0; // index of the record's first line after its header
    qsizetype count = 0; // lines between header and trailer
    std::optional<QCollatorSortKey> key;
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

    QCollatorSortKey keyOf(const QByteArray& bytes) const
    {
        return m_collator.sortKey(ansi::toUnicode(bytes));
    }

    const QCollatorSortKey& lineKey(Entry& e, qsizetype i) const
    {
        while (qsizetype(e.lineKeys.size()) <= i)
            e.lineKeys.push_back(keyOf(m_list.at(e.first + qsizetype(e.lineKeys.size()))));
        return e.lineKeys[size_t(i)];
    }

    bool less(Entry& a, Entry& b) const
    {
        if (const int c = a.key->compare(*b.key); c != 0)
            return c < 0;
        const qsizetype n = std::min(a.count, b.count);
        for (qsizetype i = 0; i < n; ++i) {
            // Byte-equal lines collate equal: skip the collation for them.
            if (m_list.at(a.first + i) == m_list.at(b.first + i))
                continue;
            if (const int c = lineKey(a, i).compare(lineKey(b, i)); c != 0)
                return c < 0;
        }
        return a.count < b.count;
    }

private:
    const BlockList& m_list;
    QCollator m_collator{QLocale(QLocale::French)};
};

} // namespace

int sortRecords(BlockList& list, Key key)
{
    Sorter sorter(list);
    std::vector<Entry> entries;
    const qsizetype n = list.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!blocks::isHeader(list.at(i)))
            continue;
        Entry e;
        e.first = i + 1;
        // A record ends at its trailer; a damaged one without a trailer ends
        // before the next header, so it never swallows the record after it.
        qsizetype j = i + 1;
        while (j < n && !blocks::isTrailer(list.at(j)) && !blocks::isHeader(list.at(j)))
            ++j;
        e.count = j - e.first;
        e.key = sorter.keyOf(sortKey(list, i, key));
        entries.push_back(std::move(e));
        i = (j < n && blocks::isTrailer(list.at(j))) ? j : j - 1;
    }

    std::vector<Entry*> order;
    order.reserve(entries.size());
    for (Entry& e : entries)
        order.push_back(&e);
    // Records equal line for line keep their order.
    std::stable_sort(order.begin(), order.end(),
                     [&sorter](Entry* a, Entry* b) { return sorter.less(*a, *b); });

    qsizetype total = 0;
    for (const Entry* e : order)
        total += e->count + 2;
    BlockList sorted;
    sorted.reserve(total);
    int k = 0;
    for (const Entry* e : order) {
        sorted.append(blocks::header(k, blocks::ContactDigits));
        for (qsizetype i = 0; i < e->count; ++i)
            sorted.append(list.at(e->first + i));
        sorted.append(blocks::trailer(k, blocks::ContactDigits));
        ++k;
    }
    list = std::move(sorted);
    return k;
}

} // namespace sorting
