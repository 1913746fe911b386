#include "store/record_book.h"

#include "platform/clock.h"
#include "platform/prompter.h"
#include "store/ansi.h"

// Selection, search and sort of the record book. A first cut: the selection
// developer completes these members.

void RecordBook::setTownFilter(const QByteArray& value)
{
    m_townFilter = ansi::upper(value);
}

selection::ContactFilter RecordBook::contactFilter() const
{
    return {m_selectionMode, m_postcodeFilter, m_townFilter, m_clock.today()};
}

void RecordBook::SetSel(int mode)
{
    m_selectionMode = mode;
}

void RecordBook::Trier(int) {}
void RecordBook::TriRelance() {}
void RecordBook::sortBy(int) {}
bool RecordBook::RechNom(const QByteArray&) { return false; }
bool RecordBook::RechTel(const QByteArray&) { return false; }
bool RecordBook::RechDeci(const QByteArray&) { return false; }
bool RecordBook::RechResume(const QByteArray&) { return false; }
bool RecordBook::RechNum(const QByteArray&) { return false; }
