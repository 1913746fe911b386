#include "book/record_book.h"

#include "platform/clock.h"
#include "platform/prompter.h"
#include "selection/filtered_moves.h"
#include "selection/search.h"
#include "selection/sort.h"
#include "storage/ansi.h"

namespace tarvik {

// Selection modes, searches and sorts of the record book.

void RecordBook::setTownFilter(const QByteArray& value)
{
    m_townFilter = ansi::upper(value);
}

selection::ContactFilter RecordBook::contactFilter() const
{
    // The value read from the settings file may have been written by hand.
    return {int(m_selectionMode), m_postcodeFilter, ansi::upper(m_townFilter), m_clock.today()};
}

void RecordBook::SetSel(selection::Mode mode)
{
    m_selectionMode = selection::modeFromNumber(mode);
    m_storedSelection = int(mode);
    if (mode == selection::TodaysFollowups || mode == selection::FollowupsToDo)
        TriRelance();
}

void RecordBook::Trier(sorting::Key key)
{
    if (key < sorting::ByName || key > sorting::ByFollowup)
        return;
    EcritFiche();
    if (key == sorting::ByFollowup)
        TriRelance();
    else
        sortBy(key);
}

void RecordBook::TriRelance()
{
    sortBy(sorting::ByFollowup);
}

void RecordBook::sortBy(sorting::Key key)
{
    const BlockList before = contacts();
    m_contacts.reorder([key](BlockList& list) { return sorting::sortRecords(list, key); });
    m_uids.follow(before, contacts());
}

static bool findContact(RecordBook& book, int offset, const QByteArray& query)
{
    if (query.isEmpty())
        return false;
    // Written back first: the search reads the stored lines and must neither
    // miss the edits of the shown record nor throw them away when it moves.
    book.EcritFiche();
    const int found = search::findBlock(book.contacts(), blocks::ContactDigits, offset, query);
    if (found < 0) {
        book.prompter().information(search::notFoundText(query));
        return false;
    }
    book.goToRecord(found);
    return book.currentRecord() == found;
}

bool RecordBook::RechNom(const QByteArray& query)
{
    return findContact(*this, contact::Name, ansi::upper(query));
}

bool RecordBook::RechTel(const QByteArray& query)
{
    return findContact(*this, contact::Phone, query);
}

bool RecordBook::RechDeci(const QByteArray& query)
{
    return findContact(*this, contact::DecisionMaker, ansi::upper(query));
}

bool RecordBook::RechResume(const QByteArray& query)
{
    if (query.isEmpty())
        return false;
    const QByteArray q = ansi::upper(query);
    m_ops.EcritOperation();
    const int found =
        search::findBlock(m_ops.list(), blocks::OperationDigits, operation::Summary, q);
    if (found < 0) {
        m_prompter.information(search::notFoundText(q));
        return false;
    }
    m_ops.goTo(found);
    return m_ops.current() == found;
}

bool RecordBook::RechNum(const QByteArray& typed)
{
    if (typed.isEmpty())
        return false;
    bool ok = false;
    const int n = typed.toInt(&ok);
    if (!ok || n < 1 || n > recordCount()) {
        m_prompter.information(search::notFoundText(typed));
        return false;
    }
    // Written back first, as by the other searches: the record found may be
    // the one shown, whose edits must not be read over.
    EcritFiche();
    goToRecord(n - 1);
    return true;
}

} // namespace tarvik
