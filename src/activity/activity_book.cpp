#include "activity/activity_book.h"

#include "platform/errors.h"

#include "contacts/contact_book.h"
#include "contacts/history.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "storage/block_index.h"

#include <QDir>

namespace tarvik {

ActivityBook::ActivityBook(const Clock& clock, Prompter& prompter)
    : m_clock(clock), m_prompter(prompter)
{
    m_timerStart = m_clock.now();
}

void ActivityBook::recordShown()
{
    m_recall.clear();
    m_timerStart = m_clock.now();
}

void ActivityBook::restartTimer()
{
    m_timerStart = m_clock.now();
}

void ActivityBook::Valider(ContactBook& contacts)
{
    ContactRecord r = contacts.shown();
    if (r.contact_type.isEmpty())
        return;
    const QList<QByteArray> entry = history::entryLines(r);
    r.history = entry + r.history;
    m_recall = history::recallValues(r);
    r.response.clear();
    r.arguments.clear();
    r.appraisal.clear();
    contacts.replaceShown(r);

    // Measured from the later of the last interlocutor change and the previous
    // validation or the showing of the record.
    const QDateTime now = m_clock.now();
    m_counters.timeSpentSecs += std::max<qint64>(0, m_timerStart.secsTo(now));
    m_timerStart = now;
    if (r.followup_time != QTime(0, 0, 0)) {
        ++m_counters.followups;
        m_labelsUpdated[2] = true;
    }
    ++m_counters.contacts;
    m_labelsUpdated[3] = true;
    m_labelsUpdated[4] = true;
}

void ActivityBook::Rappel(ContactBook& contacts) const
{
    contacts.recall(m_recall);
}

void ActivityBook::Compteurs(const BlockList& list)
{
    int alerts = 0;
    int sales = 0;
    const qsizetype n = list.size();
    // The headers in list order, from the index kept with the list; the
    // fields are read in place.
    const auto index = blocks::BlockIndex::of(list, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index->inListOrder();
    for (qsizetype k = 0; k < listed.size(); ++k) {
        if (k + 16 < listed.size())
            list.ahead(listed.at(k + 16).first + contact::Alert);
        if (k + 8 < listed.size()) {
            list.aheadBytes(listed.at(k + 8).first + contact::Alert);
            list.aheadBytes(listed.at(k + 8).first + contact::SaleClosed);
        }
        const qsizetype i = listed.at(k).first;
        if (n < i + 29)
            break;
        if (list.view(i + contact::Alert) == "Y")
            ++alerts;
        if (list.view(i + contact::SaleClosed) == "Y")
            ++sales;
    }
    m_counters.alerts = alerts;
    m_counters.closedSales = sales;
    m_labelsUpdated.fill(true);
}

QString ActivityBook::counterLabel(int which) const
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

// ---------------------------------------------------------------- time file

QString ActivityBook::timeFilePath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Tarvik.tps"));
}

void ActivityBook::loadTimeFile(const QString& folder)
{
    try {
        m_table.Charge(timeFilePath(folder));
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
    }
    m_counters.timeSpentSecs = m_table.GetIni(m_clock.today());
}

void ActivityBook::updateTimeTable()
{
    const Counters& c = m_counters;
    m_table.Init(m_clock.today(), c.contacts, c.closedSales, c.followups, c.timeSpentSecs);
}

void ActivityBook::saveTimeFile(const QString& folder)
{
    updateTimeTable();
    m_table.Sauve(timeFilePath(folder));
}

} // namespace tarvik
