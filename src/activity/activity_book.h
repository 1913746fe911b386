#pragma once

#include "activity/time_file.h"
#include "storage/block_list.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>

namespace tarvik {

class Clock;
class ContactBook;
class Prompter;

// The activity of the day: the counters of the status labels, the time spent
// with contacts and its timer, the history validation and its recall buffer,
// and the day table of the activity report with its time file.
class ActivityBook
{
public:
    struct Counters
    {
        int alerts = 0;
        int closedSales = 0;
        int followups = 0;
        qint64 timeSpentSecs = 0;
        int contacts = 0;
    };

    ActivityBook(const Clock& clock, Prompter& prompter);

    const Counters& counters() const { return m_counters; }
    void setTimeSpent(qint64 secs) { m_counters.timeSpentSecs = secs; }
    // The text of counter label `which` (0 alerts .. 4 contacts): the caption
    // alone until the label is first updated, then caption and value.
    QString counterLabel(int which) const;
    const QList<QByteArray>& recallBuffer() const { return m_recall; }

    // A record was read for show: the recall buffer is forgotten and the
    // contact timer starts again.
    void recordShown();
    // The interlocutor changed: the contact timer starts again.
    void restartTimer();
    // A new, empty file: no contact made in it yet.
    void newFile() { m_counters.contacts = 0; }

    // "Valider histor.": the entry fields of the shown contact go to the top
    // of its history, the time since the timer started is added to the time
    // spent and the counters move on. Nothing without a contact type.
    void Valider(ContactBook& contacts);
    // "Rappeler historique": the values of the last validation back into the
    // entry fields.
    void Rappel(ContactBook& contacts) const;
    // Alerts and closed sales counted over the contact list; every label
    // then shows its value.
    void Compteurs(const BlockList& contacts);

    // --- the day table of the activity report and "Tarvik.tps"
    const activity::TimeTable& timeTable() const { return m_table; }
    // Reads the time file of `folder`, and today's time spent from it. The
    // user is told when the file is left unread (it is then not rewritten).
    void loadTimeFile(const QString& folder);
    // Today's row from the counters.
    void updateTimeTable();
    // Today's row, then the time file of `folder` written. Throws TarvikError
    // when it cannot be written; the old file then stays whole.
    void saveTimeFile(const QString& folder);

    static QString timeFilePath(const QString& folder);

private:
    const Clock& m_clock;
    Prompter& m_prompter;
    Counters m_counters;
    std::array<bool, 5> m_labelsUpdated{}; // a counter label shows its value
    QDateTime m_timerStart;
    QList<QByteArray> m_recall;
    activity::TimeTable m_table;
};

} // namespace tarvik
