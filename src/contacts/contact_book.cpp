#include "contacts/contact_book.h"

#include "contacts/history.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "storage/integrity.h"

namespace tarvik {

ContactBook::ContactBook(BookFlags& flags, const Clock& clock, Prompter& prompter)
    : BlockBook(flags, clock, prompter)
{
    for (int i = 0; i < CopyFields; ++i)
        m_copy << QByteArray();
}

// ---------------------------------------------------------------- load

bool ContactBook::load(const QString& path)
{
    BlockList lines = blocks::loadFile(path);
    // The contact file starts a load: the flags of the previous file go.
    flags() = BookFlags();
    loadLines(std::move(lines), [this](BlockList& list, int& count) {
        const bool widened = integrity::Augmente(list);
        const bool rebuilt = integrity::Verif(list, count, prompter());
        const bool deduplicated = integrity::Doublons(list, count);
        return widened || rebuilt || deduplicated;
    });
    // A file without a single record still loads, its lines kept as they
    // are, but the caller learns that it is no contact file.
    return blocks::countHeaders(list()) == 0 && blocks::holdsMoreThanBlanks(path);
}

// ---------------------------------------------------------------- copy, paste, swap

// The identity fields the copy buffer holds, in its order.
static QByteArray ContactRecord::*const IdentityFields[ContactBook::CopyFields] = {
    &ContactRecord::name,     &ContactRecord::address1,
    &ContactRecord::address2, &ContactRecord::postcode,
    &ContactRecord::town,     &ContactRecord::phone,
    &ContactRecord::fax,      &ContactRecord::activity,
    &ContactRecord::email,    &ContactRecord::decision_maker,
    &ContactRecord::civility, &ContactRecord::function};

void ContactBook::Copier()
{
    for (int i = 0; i < CopyFields; ++i)
        m_copy[i] = shown().*IdentityFields[i];
}

void ContactBook::Coller()
{
    for (int i = 0; i < CopyFields; ++i)
        editable().*IdentityFields[i] = m_copy[i];
    flags().recordChanged = true;
    flags().fileModified = true;
}

void ContactBook::Permuter()
{
    if (!prompter().confirm(QStringLiteral("Confirmer permutation des champs ?")))
        return;
    reorder([this](BlockList& list) {
        const qsizetype n = list.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (!blocks::isHeader(list.view(i)) || i + contact::Address2 >= n)
                continue;
            const QByteArray first = list.at(i + contact::Address1);
            list[i + contact::Address1] = list.at(i + contact::Address2);
            list[i + contact::Address2] = first;
        }
        return count();
    });
}

// ---------------------------------------------------------------- edits

bool ContactBook::setText(contact::Offset field, const QByteArray& value, Edit how)
{
    QByteArray* target = contact::textField(editable(), field);
    if (!target)
        return false;
    *target = value;
    flags().recordChanged = true;
    if (how == Edit::Typed || how == Edit::Interlocutor)
        flags().fileModified = true;
    return true;
}

void ContactBook::setDate(contact::Offset field, const QDate& value)
{
    if (field == contact::ContactDate)
        editable().contact_date = value;
    else if (field == contact::FollowupDate)
        editable().followup_date = value;
    else
        return;
    flags().recordChanged = true;
}

void ContactBook::setTime(contact::Offset field, const QTime& value)
{
    if (field == contact::ContactTime)
        editable().contact_time = value;
    else if (field == contact::FollowupTime)
        editable().followup_time = value;
    else
        return;
    flags().recordChanged = true;
}

void ContactBook::setCheck(contact::Offset field, bool value)
{
    if (field == contact::Alert)
        editable().alert = value;
    else if (field == contact::SaleClosed)
        editable().sale_closed = value;
    else
        return;
    flags().recordChanged = true;
}

void ContactBook::setFreeText(const QList<QByteArray>& lines)
{
    editable().freeText = lines;
    flags().recordChanged = true;
    flags().fileModified = true;
}

void ContactBook::setHistory(const QList<QByteArray>& lines)
{
    editable().history = lines;
    flags().recordChanged = true;
    flags().fileModified = true;
}

void ContactBook::appendPick(contact::Offset field, const QByteArray& choice)
{
    QByteArray* target = contact::textField(editable(), field);
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
    flags().recordChanged = true;
}

void ContactBook::replaceShown(const ContactRecord& record)
{
    editable() = record;
    flags().recordChanged = true;
    flags().fileModified = true;
}

void ContactBook::recall(const QList<QByteArray>& values)
{
    history::applyRecall(values, editable());
}

} // namespace tarvik
