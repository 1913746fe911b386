#include "book/record_book.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/prompter.h"
#include "store/history.h"
#include "store/integrity.h"
#include "store/text_helpers.h"

#include <QFile>
#include <QFileInfo>

static constexpr int CopyFields = 12;

RecordBook::RecordBook(Prompter& prompter, const Clock& clock)
    : m_prompter(prompter), m_clock(clock), m_ops(m_flags, clock, prompter)
{
    for (int i = 0; i < CopyFields; ++i)
        m_copy << QByteArray();
    m_timerStart = m_clock.now();
    LitFiche();
}

QString RecordBook::caption() const
{
    return m_contactPath.isEmpty() ? QStringLiteral("Fiche") : QFileInfo(m_contactPath).fileName();
}

// ---------------------------------------------------------------- show, write

void RecordBook::LitFiche()
{
    m_flags.recordChanged = false;
    const QByteArray head = blocks::header(m_current, blocks::ContactDigits);

    ContactRecord r;
    const QDateTime now = m_clock.now();
    r.contact_date = now.date();
    r.followup_date = now.date();
    r.contact_time = QTime(now.time().hour(), now.time().minute(), now.time().second());
    r.followup_time = QTime(0, 0, 0);
    m_recall.clear();
    m_timerStart = now;

    const qsizetype at = blocks::find(m_contacts, head);
    if (at >= 0) {
        contact::readBlock(m_contacts, at, r);
        if (r.contact_date > r.followup_date)
            r.followup_date = r.contact_date;
        if (r.code.isEmpty())
            r.code = QByteArray::number(Numeroc());
    }
    m_shown = r;
}

void RecordBook::EcritFiche()
{
    if (!m_flags.recordChanged)
        return;
    m_flags.fileModified = true;
    blocks::replaceBlock(m_contacts, contact::blockLines(m_shown, m_current));
    // The shown record now matches its block: a later write back, after the
    // current number has moved, must not copy it into another block.
    m_flags.recordChanged = false;
}

void RecordBook::setCurrent(int number)
{
    // An edit still pending belongs to the block the shown record was read
    // from: it goes there before the number changes, never to the next one.
    // Commands that reorder or rebuild the list resolve it before they do.
    if (number != m_current)
        EcritFiche();
    m_current = number;
}

int RecordBook::Numeroc() const
{
    return contact::nextCustomerCode(m_contacts);
}

// ---------------------------------------------------------------- load, save

// True when the file holds any byte other than blanks and line ends. The
// whole file is looked at: reading lines stops at a NUL byte, which a binary
// file may start with.
static bool holdsMoreThanBlanks(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char buffer[1 << 14];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n <= 0)
            return false;
        for (qint64 i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                return true;
        }
    }
}

void RecordBook::Charge(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    BlockList lines = blocks::loadFile(path);
    m_contacts = std::move(lines);
    m_contactPath = path;
    m_count = blocks::countHeaders(m_contacts);
    m_flags = BookFlags();

    if (integrity::Augmente(m_contacts))
        m_flags.fileModified = true;
    if (integrity::Verif(m_contacts, m_count, m_prompter))
        m_flags.fileModified = true;
    if (integrity::Doublons(m_contacts, m_count))
        m_flags.fileModified = true;
    if (integrity::closeGaps(m_contacts, m_count, blocks::ContactDigits))
        m_flags.fileModified = true;
    // A file without a single record still loads, its lines kept as they
    // are, but the user learns that it is no contact file.
    const bool foreign = m_count == 0 && holdsMoreThanBlanks(path);
    if (m_count < 1)
        m_count = 1;

    // The new file is shown before its operations are read: should that read
    // fail, no record or operation of the previous file is left on show to be
    // written back into this one. The page that was showing stays.
    setCurrent(0);
    LitFiche();
    try {
        m_ops.ChargeOperation(path);
    } catch (...) {
        m_ops.reset();
        throw;
    }
    LitFiche();
    Compteurs();
    // The first contact of the selection, whichever page shows.
    contactMove(selection::Direction::First);
    if (foreign)
        m_prompter.information(QStringLiteral("Le fichier ") + QFileInfo(path).fileName() +
                               QStringLiteral(" ne contient aucune fiche de contact"));
}

void RecordBook::Sauve(const QString& path)
{
    if (!TestModif())
        return;
    EcritFiche();
    m_ops.EcritOperation();
    m_flags.fileModified = true;
    blocks::squize(m_contacts);
    blocks::saveFile(path, m_contacts);
    m_ops.save(path);
    m_flags = BookFlags();
    m_contactPath = path;
}

bool RecordBook::TestModif() const
{
    return m_flags.fileModified || m_flags.recordChanged || m_flags.operationsChanged;
}

// ---------------------------------------------------------------- moves

void RecordBook::contactMove(selection::Direction direction)
{
    using selection::Direction;
    if ((direction == Direction::Next || direction == Direction::Last) && m_count < 2)
        return;
    // Written back first: a filtered move reads the stored lines.
    EcritFiche();
    int target = m_current;
    if (selection::isFiltered(m_selectionMode)) {
        target = selection::moveContact(m_contacts, m_current, direction, contactFilter());
    } else {
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
    }
    setCurrent(target);
    LitFiche();
}

void RecordBook::Precedent()
{
    if (m_page == Page::Operations)
        m_ops.Precedent();
    else
        contactMove(selection::Direction::Previous);
}

void RecordBook::suivant()
{
    if (m_page == Page::Operations)
        m_ops.suivant();
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

void RecordBook::goToRecord(int number)
{
    if (number < 0 || number >= m_count)
        return;
    setCurrent(number);
    LitFiche();
}

// ---------------------------------------------------------------- add, delete

void RecordBook::Ajout()
{
    if (m_page == Page::Operations) {
        m_ops.Ajout();
        return;
    }
    EcritFiche();
    if (m_count > MaxRecords - 1) {
        m_prompter.information(QStringLiteral("Le fichier est plein"));
        return;
    }
    m_contacts.append(QByteArray(" "));
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

void RecordBook::Supprime()
{
    if (m_page == Page::Operations) {
        m_ops.Supprime();
        return;
    }
    // The edits of the deleted record go with it; after the renumbering its
    // number belongs to the next record.
    m_flags.recordChanged = false;
    blocks::deleteBlock(m_contacts, blocks::header(m_current, blocks::ContactDigits));
    m_flags.fileModified = true;
    integrity::Renum(m_contacts, m_current, m_count);
    if (m_current > m_count - 1)
        setCurrent(m_count - 1);
    LitFiche();
    Compteurs();
}

void RecordBook::Nouveau()
{
    // The save question came first: what it did not save is dropped.
    m_flags.recordChanged = false;
    m_contacts.clear();
    m_count = 1;
    setCurrent(0);
    // The page that was showing stays: the operations page then offers one
    // blank operation.
    m_ops.reset();
    LitFiche();
    m_flags = BookFlags();
    m_contactPath.clear();
    m_counters.contacts = 0;
}

// ---------------------------------------------------------------- copy, paste, swap

static QByteArray* identityField(ContactRecord& r, int i)
{
    QByteArray* fields[CopyFields] = {&r.name,  &r.address1,       &r.address2, &r.postcode,
                                      &r.town,  &r.phone,          &r.fax,      &r.activity,
                                      &r.email, &r.decision_maker, &r.civility, &r.function};
    return fields[i];
}

void RecordBook::Copier()
{
    if (m_page != Page::Contacts)
        return;
    for (int i = 0; i < CopyFields; ++i)
        m_copy[i] = *identityField(m_shown, i);
}

void RecordBook::Coller()
{
    if (m_page != Page::Contacts)
        return;
    for (int i = 0; i < CopyFields; ++i)
        *identityField(m_shown, i) = m_copy[i];
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

void RecordBook::Permuter()
{
    if (!m_prompter.confirm(QStringLiteral("Confirmer permutation des champs ?")))
        return;
    EcritFiche();
    const qsizetype n = m_contacts.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!blocks::isHeader(m_contacts.at(i)))
            continue;
        if (i + contact::Address2 < n)
            m_contacts[i + contact::Address1].swap(m_contacts[i + contact::Address2]);
    }
    LitFiche();
    m_flags.fileModified = true;
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

static QByteArray* textField(ContactRecord& r, contact::Offset f)
{
    using namespace contact;
    switch (f) {
    case Code:
        return &r.code;
    case Name:
        return &r.name;
    case Address1:
        return &r.address1;
    case Address2:
        return &r.address2;
    case Postcode:
        return &r.postcode;
    case Town:
        return &r.town;
    case Phone:
        return &r.phone;
    case Fax:
        return &r.fax;
    case Activity:
        return &r.activity;
    case Email:
        return &r.email;
    case Civility:
        return &r.civility;
    case DecisionMaker:
        return &r.decision_maker;
    case Function:
        return &r.function;
    case ContactType:
        return &r.contact_type;
    case Interlocutor:
        return &r.interlocutor;
    case Product:
        return &r.product;
    case PurchasePrice:
        return &r.purchase_price;
    case SalePrice:
        return &r.sale_price;
    case Response:
        return &r.response;
    case Arguments:
        return &r.arguments;
    case Appraisal:
        return &r.appraisal;
    case FollowupType:
        return &r.followup_type;
    default:
        return nullptr;
    }
}

void RecordBook::setText(contact::Offset field, const QByteArray& value, Edit how)
{
    QByteArray* target = textField(m_shown, field);
    if (!target)
        return;
    *target = value;
    m_flags.recordChanged = true;
    if (how == Edit::Typed || how == Edit::Interlocutor)
        m_flags.fileModified = true;
    if (how == Edit::Interlocutor)
        m_timerStart = m_clock.now();
}

void RecordBook::setDate(contact::Offset field, const QDate& value)
{
    if (field == contact::ContactDate)
        m_shown.contact_date = value;
    else if (field == contact::FollowupDate)
        m_shown.followup_date = value;
    else
        return;
    m_flags.recordChanged = true;
}

void RecordBook::setTime(contact::Offset field, const QTime& value)
{
    if (field == contact::ContactTime)
        m_shown.contact_time = value;
    else if (field == contact::FollowupTime)
        m_shown.followup_time = value;
    else
        return;
    m_flags.recordChanged = true;
}

void RecordBook::setCheck(contact::Offset field, bool value)
{
    if (field == contact::Alert)
        m_shown.alert = value;
    else if (field == contact::SaleClosed)
        m_shown.sale_closed = value;
    else
        return;
    m_flags.recordChanged = true;
}

void RecordBook::setFreeText(const QList<QByteArray>& lines)
{
    m_shown.freeText = lines;
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

void RecordBook::setHistory(const QList<QByteArray>& lines)
{
    m_shown.history = lines;
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
}

// ---------------------------------------------------------------- history, counters

void RecordBook::Valider()
{
    if (m_shown.contact_type.isEmpty())
        return;
    m_flags.recordChanged = true;
    m_flags.fileModified = true;
    const QList<QByteArray> entry = history::entryLines(m_shown);
    m_shown.history = entry + m_shown.history;
    m_recall = history::recallValues(m_shown);
    m_shown.response.clear();
    m_shown.arguments.clear();
    m_shown.appraisal.clear();

    // Measured from the later of the last interlocutor change and the previous
    // validation or the showing of the record.
    const QDateTime now = m_clock.now();
    m_counters.timeSpentSecs += std::max<qint64>(0, m_timerStart.secsTo(now));
    m_timerStart = now;
    if (m_shown.followup_time != QTime(0, 0, 0)) {
        ++m_counters.followups;
        m_labelsUpdated[2] = true;
    }
    ++m_counters.contacts;
    m_labelsUpdated[3] = true;
    m_labelsUpdated[4] = true;
}

void RecordBook::Rappel()
{
    history::applyRecall(m_recall, m_shown);
}

void RecordBook::Compteurs()
{
    int alerts = 0;
    int sales = 0;
    const qsizetype n = m_contacts.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!blocks::isHeader(m_contacts.at(i)))
            continue;
        if (n < i + 29)
            break;
        if (m_contacts.at(i + contact::Alert) == "Y")
            ++alerts;
        if (m_contacts.at(i + contact::SaleClosed) == "Y")
            ++sales;
    }
    m_counters.alerts = alerts;
    m_counters.closedSales = sales;
    m_labelsUpdated.fill(true);
}

QString RecordBook::counterLabel(int which) const
{
    static const char* const captions[] = {"Alertes", "Ventes abouties", "Relances", "Temps passé",
                                           "Nbr contacts"};
    if (which < 0 || which >= int(m_labelsUpdated.size()))
        return {};
    // Until its first update a label shows its caption alone.
    if (!m_labelsUpdated[which])
        return QString::fromUtf8(captions[which]);
    switch (which) {
    case 0:
        return QStringLiteral("Alertes  %1").arg(m_counters.alerts);
    case 1:
        return QStringLiteral("Ventes abouties  %1").arg(m_counters.closedSales);
    case 2:
        return QStringLiteral("Relances  %1").arg(m_counters.followups);
    case 3: {
        const qint64 mins = m_counters.timeSpentSecs / 60;
        return QStringLiteral("Temps passé  %1:%2")
            .arg(mins / 60, 2, 10, QLatin1Char('0'))
            .arg(mins % 60, 2, 10, QLatin1Char('0'));
    }
    case 4:
        return QStringLiteral("Nbr contacts  %1").arg(m_counters.contacts);
    default:
        return {};
    }
}

void RecordBook::appendPick(contact::Offset field, const QByteArray& choice)
{
    QByteArray* target = textField(m_shown, field);
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

// ---------------------------------------------------------------- settings

void RecordBook::ChargeSoc(const QString& folder)
{
    m_company = settings::loadCompany(settings::companyPath(folder));
}

void RecordBook::ChargeIni(const QString& folder)
{
    m_ini = settings::loadIni(settings::iniPath(folder));
    m_selectionMode = m_ini.selectionMode;
    m_postcodeFilter = m_ini.postcodeFilter;
    m_townFilter = m_ini.townFilter;
}

void RecordBook::ChargeCombo(const QString& folder)
{
    settings::loadPickLists(settings::pickListPath(folder), m_pickLists);
}

void RecordBook::SauveIni(const QString& folder, const QString& lastFile)
{
    m_ini.lastFile = lastFile;
    m_ini.selectionMode = m_selectionMode;
    m_ini.postcodeFilter = m_postcodeFilter;
    m_ini.townFilter = m_townFilter;
    settings::saveIni(settings::iniPath(folder), m_ini);
}

void RecordBook::SauveSoc(const QString& folder)
{
    settings::saveCompany(settings::companyPath(folder), m_company);
}

void RecordBook::SauveCombo(const QString& folder)
{
    settings::savePickLists(settings::pickListPath(folder), m_pickLists);
}

void RecordBook::saveProgramFiles(const QString& folder, const QString& lastFile)
{
    // Each file on its own: one that cannot be written must not cost the
    // others the changes of the session.
    QStringList failures;
    const auto attempt = [&failures](const auto& write) {
        try {
            write();
        } catch (const TarvikError& e) {
            failures << e.text();
        }
    };
    attempt([&] { SauveIni(folder, lastFile); });
    attempt([&] { SauveSoc(folder); });
    attempt([&] { SauveCombo(folder); });
    if (!failures.isEmpty())
        throw TarvikError(failures.join(QLatin1Char('\n')));
}

RecordBook::StartupValues RecordBook::GetIni() const
{
    return {m_ini.autoOpen == 1, m_ini.lastFile, m_selectionMode};
}
