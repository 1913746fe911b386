#include "print/planning.h"

#include "contacts/contact_record.h"
#include "storage/ansi.h"
#include "storage/block_index.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <vector>

namespace tarvik {

namespace planning {

QByteArray calendarDay(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
}

PlanningList::PlanningList(const BlockList& contacts)
{
    const blocks::BlockIndex index(contacts, blocks::ContactDigits);
    const QList<blocks::BlockSpan> spans = index.inNumberOrder();

    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);

    struct Keyed
    {
        Entry entry;
        QCollatorSortKey key;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(spans.size()));
    for (const blocks::BlockSpan& span : spans) {
        // A short block lacks the lines past its trailer: they read as empty.
        auto line = [&](int offset) {
            const qsizetype i = span.first + offset;
            if (i > span.last || blocks::isTrailer(contacts.at(i)))
                return QByteArray();
            return contacts.at(i);
        };
        Entry e;
        e.record = span.number;
        e.date = line(contact::FollowupDate);
        e.time = line(contact::FollowupTime);
        e.name = line(contact::Name);
        const QByteArray key = e.date.mid(6, 4) + e.date.mid(3, 2) + e.date.mid(0, 2) + e.time;
        keyed.push_back({std::move(e), collator.sortKey(ansi::toUnicode(key))});
    }
    // The spans come in record number order: a stable sort keeps it for ties.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key.compare(b.key) < 0; });
    m_entries.reserve(qsizetype(keyed.size()));
    for (Keyed& k : keyed)
        m_entries.append(std::move(k.entry));
}

QList<Entry> PlanningList::day(const QByteArray& day) const
{
    QList<Entry> out;
    for (const Entry& e : m_entries)
        if (e.date == day)
            out.append(e);
    return out;
}

} // namespace planning

} // namespace tarvik
