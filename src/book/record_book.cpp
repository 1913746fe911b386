#include "book/record_book.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/prompter.h"

#include <QFileInfo>

namespace tarvik {

RecordBook::RecordBook(Prompter& prompter, const Clock& clock)
    : m_prompter(prompter), m_clock(clock), m_contacts(m_flags, clock, prompter),
      m_activity(clock, prompter), m_ops(m_flags, clock, prompter)
{
    // Every record read for show forgets the recall buffer and restarts the
    // contact timer.
    m_contacts.setOnRead([this] { m_activity.recordShown(); });
    LitFiche();
}

QString RecordBook::caption() const
{
    return m_contactPath.isEmpty() ? QStringLiteral("Fiche") : QFileInfo(m_contactPath).fileName();
}

// ---------------------------------------------------------------- show, write

// ---------------------------------------------------------------- load, save

void RecordBook::Charge(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    // The new file is shown before its operations are read: should that read
    // fail, no record or operation of the previous file is left on show to be
    // written back into this one. The page that was showing stays.
    const bool foreign = m_contacts.load(path);
    m_contactPath = path;
    const QStringList uidNotices = m_uids.load(path);
    try {
        m_ops.load(path);
    } catch (...) {
        m_ops.clear();
        throw;
    }
    LitFiche();
    Compteurs();
    // The first contact of the selection, whichever page shows.
    contactMove(selection::Direction::First);
    if (foreign)
        m_prompter.information(QStringLiteral("Le fichier ") + QFileInfo(path).fileName() +
                               QStringLiteral(" ne contient aucune fiche de contact"));
    if (!uidNotices.isEmpty())
        m_prompter.information(uidNotices.join(QLatin1Char('\n')));
}

void RecordBook::loadContacts(const BlockList& lines)
{
    m_contacts.setLines(lines);
    m_flags = BookFlags();
}

void RecordBook::Sauve(const QString& path)
{
    if (!TestModif())
        return;
    EcritFiche();
    m_ops.EcritOperation();
    m_flags.fileModified = true;
    m_contacts.save(path);
    m_ops.save(path);
    m_uids.save(path, contacts());
    m_flags = BookFlags();
    m_contactPath = path;
}

void RecordBook::restore(const QString& path, const BlockList& contacts,
                         const BlockList& operations)
{
    m_contacts.setLines(contacts);
    m_ops.setLines(operations);
    m_contactPath = path;
    m_flags = BookFlags();
    m_flags.fileModified = true;
    Compteurs();
}

// ---------------------------------------------------------------- moves

void RecordBook::contactMove(selection::Direction direction)
{
    if (!selection::isFiltered(m_selectionMode)) {
        m_contacts.move(direction);
        return;
    }
    // The filter reads the stored lines: the move writes the shown record
    // back before it asks.
    const selection::ContactFilter filter = contactFilter();
    m_contacts.move(direction,
                    [&filter](const BlockList& list, int current, int, selection::Direction d) {
                        return selection::moveContact(list, current, d, filter);
                    });
}

void RecordBook::Precedent()
{
    if (m_page == Page::Operations)
        m_ops.Precedent();
    else
        contactMove(selection::Direction::Previous);
}

void RecordBook::Suivant()
{
    if (m_page == Page::Operations)
        m_ops.Suivant();
    else
        contactMove(selection::Direction::Next);
}

void RecordBook::Premier()
{
    if (m_page == Page::Operations)
        m_ops.Premier();
    else
        contactMove(selection::Direction::First);
}

void RecordBook::Dernier()
{
    if (m_page == Page::Operations)
        m_ops.Dernier();
    else
        contactMove(selection::Direction::Last);
}

// ---------------------------------------------------------------- add, delete

void RecordBook::Ajout()
{
    if (m_page == Page::Operations)
        m_ops.Ajout();
    else
        m_contacts.Ajout();
}

void RecordBook::Supprime()
{
    if (m_page == Page::Operations) {
        m_ops.Supprime();
        return;
    }
    const BlockList before = contacts();
    m_contacts.Supprime();
    m_uids.follow(before, contacts());
    Compteurs();
}

void RecordBook::Nouveau()
{
    m_contacts.clear();
    // The page that was showing stays: the operations page then offers one
    // blank operation.
    m_ops.clear();
    m_flags = BookFlags();
    m_contactPath.clear();
    m_uids.clear();
    m_activity.newFile();
}

// ---------------------------------------------------------------- copy, paste, swap

void RecordBook::Copier()
{
    if (m_page == Page::Contacts)
        m_contacts.Copier();
}

void RecordBook::Coller()
{
    if (m_page == Page::Contacts)
        m_contacts.Coller();
}

// ---------------------------------------------------------------- pages

void RecordBook::showContacts()
{
    // The page left is written back: an edit made there is never lost.
    if (m_page == Page::Operations)
        m_ops.EcritOperation();
    m_page = Page::Contacts;
    LitFiche();
}

void RecordBook::showOperations()
{
    if (m_page == Page::Contacts)
        EcritFiche();
    m_page = Page::Operations;
    m_ops.LitOperation();
}

// ---------------------------------------------------------------- edits

void RecordBook::setText(contact::Offset field, const QByteArray& value, Edit how)
{
    if (m_contacts.setText(field, value, how) && how == Edit::Interlocutor)
        m_activity.restartTimer();
}

// ---------------------------------------------------------------- history, counters

// ---------------------------------------------------------------- settings

void RecordBook::ChargeIni(const QString& folder)
{
    m_prefs.ChargeIni(folder);
    m_storedSelection = m_prefs.ini().selectionMode;
    m_selectionMode = selection::modeFromNumber(m_storedSelection);
    m_postcodeFilter = m_prefs.ini().postcodeFilter;
    m_townFilter = m_prefs.ini().townFilter;
}

void RecordBook::SauveIni(const QString& folder, const QString& lastFile)
{
    m_prefs.setLastFile(lastFile);
    m_prefs.setSelection(m_storedSelection, m_postcodeFilter, m_townFilter);
    m_prefs.SauveIni(folder);
}

void RecordBook::saveProgramFiles(const QString& folder, const QString& lastFile)
{
    m_prefs.setLastFile(lastFile);
    m_prefs.setSelection(m_storedSelection, m_postcodeFilter, m_townFilter);
    m_prefs.saveAll(folder);
}

RecordBook::StartupValues RecordBook::GetIni() const
{
    return {m_prefs.autoOpen(), m_prefs.ini().lastFile, m_selectionMode};
}

} // namespace tarvik
