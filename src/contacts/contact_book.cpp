#include "contacts/contact_book.h"

#include "contacts/history.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "storage/integrity.h"

namespace tarvik {

ContactBook::ContactBook(BookFlags& flags, const Clock& clock, Prompter& prompter)
    : m_flags(flags), m_clock(clock), m_prompter(prompter)
{
    for (int i = 0; i < CopyFields; ++i)
        m_copy << QByteArray();
}

// ---------------------------------------------------------------- show, write

void ContactBook::LitFiche()
{
    m_flags.recordChanged = false;
    const QByteArray head = blocks::header(m_current, blocks::ContactDigits);

    ContactRecord r;
    const QDateTime now = m_clock.now();
    r.contact_date = now.date();
    r.followup_date = now.date();
    r.contact_time = QTime(now.time().hour(), now.time().minute(), now.time().second());
    r.followup_time = QTime(0, 0, 0);
    if (m_onRead)
        m_onRead();

    const qsizetype at = blocks::find(m_list, head);
    if (at >= 0) {
        contact::readBlock(m_list, at, r);
        if (r.contact_date > r.followup_date)
            r.followup_date = r.contact_date;
        if (r.code.isEmpty())
            r.code = QByteArray::number(Numeroc());
    }
    m_shown = r;
}

void ContactBook::EcritFiche()
{
    if (!m_flags.recordChanged)
        return;
    m_flags.fileModified = true;
    blocks::replaceBlock(m_list, contact::blockLines(m_shown, m_current));
    // The shown record now matches its block: a later write back, after the
    // current number has moved, must not copy it into another block.
    m_flags.recordChanged = false;
}

void ContactBook::setCurrent(int number)
{
    // An edit still pending belongs to the block the shown record was read
    // from: it goes there before the number changes, never to the next one.
    // Commands that reorder or rebuild the list resolve it before they do.
    if (number != m_current)
        EcritFiche();
    m_current = number;
}

int ContactBook::Numeroc() const
{
    return contact::nextCustomerCode(m_list);
}

// ---------------------------------------------------------------- load, save

bool ContactBook::load(const QString& path)
{
    BlockList lines = blocks::loadFile(path);
    m_list = std::move(lines);
    m_count = blocks::countHeaders(m_list);
    m_flags = BookFlags();

    if (integrity::Augmente(m_list))
        m_flags.fileModified = true;
    if (integrity::Verif(m_list, m_count, m_prompter))
        m_flags.fileModified = true;
    if (integrity::Doublons(m_list, m_count))
        m_flags.fileModified = true;
    if (integrity::closeGaps(m_list, m_count, blocks::ContactDigits))
        m_flags.fileModified = true;
    // A file without a single record still loads, its lines kept as they
    // are, but the caller learns that it is no contact file.
    const bool foreign = m_count == 0 && blocks::holdsMoreThanBlanks(path);
    if (m_count < 1)
        m_count = 1;
    setCurrent(0);
    LitFiche();
    return foreign;
}

void ContactBook::save(const QString& path)
{
    blocks::squize(m_list);
    blocks::saveFile(path, m_list);
}

void ContactBook::clear()
{
    // What the save question did not save is dropped.
    m_flags.recordChanged = false;
    m_list.clear();
    m_count = 1;
    setCurrent(0);
    LitFiche();
}

void ContactBook::setLines(const BlockList& lines)
{
    m_flags.recordChanged = false;
    m_list = lines;
    m_count = std::max(1, blocks::countHeaders(m_list));
    m_current = 0;
    LitFiche();
}

// ---------------------------------------------------------------- moves

void ContactBook::move(blocks::Direction direction)
{
    using blocks::Direction;
    if ((direction == Direction::Next || direction == Direction::Last) && m_count < 2)
        return;
    int target = m_current;
    switch (direction) {
    case Direction::Previous:
        target = std::max(0, m_current - 1);
        break;
    case Direction::Next:
        target = std::min(m_count - 1, m_current + 1);
        break;
    case Direction::First:
        target = 0;
        break;
    case Direction::Last:
        target = m_count - 1;
        break;
    }
    moveTo(target);
}

void ContactBook::moveTo(int number)
{
    EcritFiche();
    setCurrent(number);
    LitFiche();
}

void ContactBook::goTo(int number)
{
    if (number < 0 || number >= m_count)
        return;
    setCurrent(number);
    LitFiche();
}

// ---------------------------------------------------------------- add, delete

void ContactBook::Ajout()
{
    EcritFiche();
    if (m_count > MaxRecords - 1) {
        m_prompter.information(QStringLiteral("Le fichier est plein"));
        return;
    }
    m_list.append(QByteArray(" "));
    setCurrent(m_count);
    ++m_count;
    LitFiche();
    m_shown.contact_date = m_clock.today();
    if (m_shown.code.isEmpty())
        m_shown.code = QByteArray::number(Numeroc());
    // The new record gets its block at once: a record left without an edit
    // must not leave a hole in the numbering that hides the records after it.
    m_flags.recordChanged = true;
    EcritFiche();
    m_flags.recordChanged = false;
}

void ContactBook::Supprime()
{
    // The edits of the deleted record go with it; after the renumbering its
    // number belongs to the next record.
    m_flags.recordChanged = false;
    blocks::deleteBlock(m_list, blocks::header(m_current, blocks::ContactDigits));
    m_flags.fileModified = true;
    integrity::Renum(m_list, m_current, m_count);
    if (m_current > m_count - 1)
        setCurrent(m_count - 1);
    LitFiche();
}

// ---------------------------------------------------------------- copy, paste, swap

static QByteArray* identityField(ContactRecord& r, int i)
{
    QByteArray* fields[ContactBook::CopyFields] = {
        &r.name, &r.address1, &r.address2, &r.postcode,       &r.town,     &r.phone,
        &r.fax,  &r.activity, &r.email,    &r.decision_maker, &r.civility, &r.function};
    return fields[i];
}

void ContactBook::Copier()
{
    for (int i = 0; i < CopyFields; ++i)
        m_copy[i] = *identityField(m_shown, i);
}

void ContactBook::Coller()
{
    for (int i = 0; i < CopyFields; ++i)
        *identityField(m_shown, i) = m_copy[i];
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

void ContactBook::Permuter()
{
    if (!m_prompter.confirm(QStringLiteral("Confirmer permutation des champs ?")))
        return;
    EcritFiche();
    const qsizetype n = m_list.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!blocks::isHeader(m_list.at(i)))
            continue;
        if (i + contact::Address2 < n)
            m_list[i + contact::Address1].swap(m_list[i + contact::Address2]);
    }
    LitFiche();
    m_flags.fileModified = true;
}

// ---------------------------------------------------------------- edits

bool ContactBook::setText(contact::Offset field, const QByteArray& value, Edit how)
{
    QByteArray* target = contact::textField(m_shown, field);
    if (!target)
        return false;
    *target = value;
    m_flags.recordChanged = true;
    if (how == Edit::Typed || how == Edit::Interlocutor)
        m_flags.fileModified = true;
    return true;
}

void ContactBook::setDate(contact::Offset field, const QDate& value)
{
    if (field == contact::ContactDate)
        m_shown.contact_date = value;
    else if (field == contact::FollowupDate)
        m_shown.followup_date = value;
    else
        return;
    m_flags.recordChanged = true;
}

void ContactBook::setTime(contact::Offset field, const QTime& value)
{
    if (field == contact::ContactTime)
        m_shown.contact_time = value;
    else if (field == contact::FollowupTime)
        m_shown.followup_time = value;
    else
        return;
    m_flags.recordChanged = true;
}

void ContactBook::setCheck(contact::Offset field, bool value)
{
    if (field == contact::Alert)
        m_shown.alert = value;
    else if (field == contact::SaleClosed)
        m_shown.sale_closed = value;
    else
        return;
    m_flags.recordChanged = true;
}

void ContactBook::setFreeText(const QList<QByteArray>& lines)
{
    m_shown.freeText = lines;
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

void ContactBook::setHistory(const QList<QByteArray>& lines)
{
    m_shown.history = lines;
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

void ContactBook::appendPick(contact::Offset field, const QByteArray& choice)
{
    QByteArray* target = contact::textField(m_shown, field);
    if (!target)
        return;
    QByteArray v = *target + ' ' + choice;
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && v[b] == ' ')
        ++b;
    while (e > b && v[e - 1] == ' ')
        --e;
    *target = v.mid(b, e - b);
    m_flags.recordChanged = true;
}

void ContactBook::replaceShown(const ContactRecord& record)
{
    m_shown = record;
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

void ContactBook::recall(const QList<QByteArray>& values)
{
    history::applyRecall(values, m_shown);
}

// ---------------------------------------------------------------- whole-list changes

void ContactBook::reorder(const std::function<int(BlockList&)>& change)
{
    // The shown record goes back into its block first: afterwards another
    // record may stand at its number, and the edits must stay with their record.
    EcritFiche();
    const int records = change(m_list);
    m_count = std::max(1, records);
    if (m_current > m_count - 1)
        setCurrent(m_count - 1);
    LitFiche();
    m_flags.fileModified = true;
}

void ContactBook::append(const std::function<void(BlockList&, int&, int&)>& add)
{
    // The shown record goes back into its own block before any is appended:
    // the first record appended to a new file takes the number 0.
    EcritFiche();
    int last = m_current;
    try {
        add(m_list, m_count, last);
    } catch (...) {
        setCurrent(std::max(0, std::min(last, m_count - 1)));
        // The record now current is shown: the one shown before belongs to
        // another number, and an edit would write it over this one.
        LitFiche();
        // Whatever was appended before the failure is the user's data now.
        if (blocks::countHeaders(m_list) > 0)
            m_flags.fileModified = true;
        throw;
    }
    setCurrent(last);
    // Even when a table stopped in the middle, the blocks appended so far are
    // in the list: the file counts as modified so that they can be saved.
    m_flags.fileModified = true;
}

} // namespace tarvik
