#include "sync/task_sync.h"

#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "storage/block_index.h"
#include "sync/dav_client.h"
#include "sync/follow_up_task.h"
#include "sync/sync_steps.h"

#include <map>

namespace tarvik::sync {

namespace {

const QByteArray TaskType = "text/calendar; charset=utf-8";
// The hash of a follow-up cleared because its task was completed on the
// server: the file and the server agree, and the task stays as it is.
const QString Completed = QStringLiteral("completed");

bool sameDue(const FollowUp& a, const FollowUp& b)
{
    return a.isSet() == b.isSet() && (!a.isSet() || (a.date == b.date && a.time == b.time));
}

struct Local
{
    int number = -1;
    ContactRecord record;
    FollowUp followUp;
};

struct Fetched
{
    QByteArray text;
    ServerTask task;
    QString etag;
};

} // namespace

// One run of the task sync: the server's tasks, the file's follow-ups, and
// what the plan makes of them.
class TaskSync::Run
{
public:
    Run(const TaskSync& sync, BlockList& list, DavState& state, SyncReport& report)
        : m_sync(sync), m_client(sync.m_client), m_list(list), m_state(state), m_report(report),
          m_calendar(state.calendar), m_index(list, blocks::ContactDigits), m_next(state.tasks)
    {
    }

    void run()
    {
        listServer();
        readLocal();
        matchServer();
        const Choices choices = steps::withPreferred(m_local, m_server, m_state.tasks,
                                                     m_sync.m_choices, m_sync.m_prefer);
        const QList<PlanItem> plan = planSync(m_local, m_server, m_state.tasks, choices);
        QStringList needed;
        for (const PlanItem& item : plan)
            if (m_server.contains(item.uid) && !m_fetched.contains(item.href) &&
                item.action != Action::Keep && item.action != Action::DeleteThere &&
                item.action != Action::Forget)
                needed.append(item.href);
        fetch(needed);

        for (const PlanItem& item : plan) {
            if (m_sync.m_cancelled && m_sync.m_cancelled()) {
                m_report.cancelled = true;
                break;
            }
            carryOut(item);
        }
        if (!m_changed.empty()) {
            steps::replaceRecords(m_list, m_index, m_changed);
            m_report.listChanged = true;
        }
        m_state.tasks = m_next;
    }

private:
    void listServer()
    {
        m_etagByHref = steps::listMembers(m_client, m_calendar);
        for (auto it = m_state.tasks.cbegin(); it != m_state.tasks.cend(); ++it)
            m_uidByHref.insert(it->href, it.key());
        QStringList unknown;
        for (auto it = m_etagByHref.cbegin(); it != m_etagByHref.cend(); ++it)
            if (!m_uidByHref.contains(it.key()))
                unknown.append(it.key());
        fetch(unknown);
    }

    void fetch(const QStringList& hrefs)
    {
        steps::fetchMembers(
            m_client, m_calendar, hrefs, true, [this](const QString& href, const DavResource& r) {
                QString error;
                const auto task = readTask(r.data, &error);
                if (!task) {
                    m_report.problems.append(
                        QStringLiteral("Tâche illisible ignorée (%1) : %2").arg(error, href));
                    return;
                }
                m_fetched.insert(
                    href, {r.data, *task, r.etag.isEmpty() ? m_etagByHref.value(href) : r.etag});
            });
    }

    // The file's follow-ups, by contact UID.
    void readLocal()
    {
        steps::forEachRecord(m_index, m_sync.m_ids.assign(m_list),
                             [this](const QString& uid, const blocks::ListedBlock& b) {
                                 Local l;
                                 l.number = b.number;
                                 contact::readBlock(m_list, b.first, l.record);
                                 l.followUp = followUpOf(l.record);
                                 m_contacts.insert(uid);
                                 if (l.followUp.isSet())
                                     m_local.insert(uid, {followUpHash(l.followUp)});
                                 else if (m_state.tasks.value(uid).hash == Completed)
                                     m_local.insert(uid, {Completed});
                                 m_locals.insert(uid, l);
                             });
    }

    // The server's tasks, by the contact they belong to.
    void matchServer()
    {
        for (auto it = m_etagByHref.cbegin(); it != m_etagByHref.cend(); ++it) {
            QString uid = m_uidByHref.value(it.key());
            if (uid.isEmpty()) {
                const auto f = m_fetched.constFind(it.key());
                if (f == m_fetched.cend())
                    continue;
                uid = contactOfTask(f->task);
                // A task of the calendar that is no contact's follow-up is not ours.
                if (uid.isEmpty() || !m_contacts.contains(uid) || m_server.contains(uid))
                    continue;
                // A completed task nobody follows any more is left alone.
                if (f->task.completed && !m_local.contains(uid))
                    continue;
            }
            m_server.insert(uid, {it.key(), it.value()});
        }
    }

    void carryOut(const PlanItem& item)
    {
        const auto l = m_locals.constFind(item.uid);
        const auto f = m_fetched.constFind(item.href);
        const bool haveTask = f != m_fetched.cend();
        switch (item.action) {
        case Action::Keep:
            break;
        case Action::Forget:
            m_next.remove(item.uid);
            break;
        case Action::Create:
            if (!m_sync.m_readOnly && l != m_locals.cend())
                put(item, newTask(item.uid, l->followUp, l->record.name),
                    steps::pathOf(m_calendar.resolved(
                        QUrl(steps::memberName(taskUid(item.uid), QStringLiteral(".ics"))))),
                    {}, followUpHash(l->followUp));
            break;
        case Action::Send:
            if (!m_sync.m_readOnly && l != m_locals.cend() && haveTask)
                put(item, rewriteTask(f->text, l->followUp, l->record.name), item.href, f->etag,
                    followUpHash(l->followUp));
            break;
        case Action::Take:
        case Action::Add:
        case Action::Match:
        case Action::Stand:
            if (l == m_locals.cend() || !haveTask) {
                if (item.action == Action::Stand)
                    m_report.conflicts.append(
                        {item.uid, item.conflict, {}, {}, QStringLiteral("relance")});
                break;
            }
            settle(item, *l, *f);
            break;
        case Action::DeleteThere:
            deleteThere(item);
            break;
        case Action::DeleteHere:
            // The task deleted on the server: the follow-up goes, the contact stays.
            if (l != m_locals.cend() && l->followUp.isSet()) {
                setHere(*l, FollowUp{});
                ++m_report.received;
            }
            m_next.remove(item.uid);
            break;
        }
    }

    // A follow-up and its task: the same due, the task's due taken, or a conflict.
    void settle(const PlanItem& item, const Local& l, const Fetched& f)
    {
        const FollowUp there = f.task.completed ? FollowUp{} : f.task.due;
        if (sameDue(there, l.followUp)) {
            m_next.insert(item.uid, {item.href, f.etag,
                                     f.task.completed ? Completed : followUpHash(l.followUp)});
            return;
        }
        if (item.action == Action::Match || item.action == Action::Stand) {
            m_report.conflicts.append(
                {item.uid, item.conflict == Conflict::None ? Conflict::BothNew : item.conflict,
                 l.record.name, l.record.name, QStringLiteral("Relance")});
            return;
        }
        const FollowUp kept = setHere(l, there);
        m_next.insert(item.uid,
                      {item.href, f.etag, f.task.completed ? Completed : followUpHash(kept)});
        ++m_report.received;
    }

    FollowUp setHere(const Local& l, const FollowUp& f)
    {
        ContactRecord r = m_changed.count(l.number) ? m_changed[l.number] : l.record;
        FollowUp kept = f;
        if (f.isSet())
            kept.type = l.followUp.isSet() ? l.followUp.type : QByteArray();
        setFollowUp(r, kept);
        m_changed[l.number] = r;
        return kept;
    }

    void put(const PlanItem& item, const QByteArray& data, const QString& href, const QString& etag,
             const QString& hash)
    {
        QUrl url = m_calendar;
        url.setPath(href, QUrl::TolerantMode);
        const DavReply reply = m_client.put(url, data, TaskType, etag);
        if (reply.status == 412) {
            m_report.conflicts.append(
                {item.uid,
                 Conflict::Refused,
                 m_locals.value(item.uid).record.name,
                 {},
                 QStringLiteral("relance enregistrée sur le serveur entre-temps")});
            return;
        }
        if (!reply.ok()) {
            m_report.problems.append(DavClient::describe(reply));
            return;
        }
        m_next.insert(item.uid, {href, reply.etag, hash});
        ++m_report.sent;
    }

    void deleteThere(const PlanItem& item)
    {
        if (m_sync.m_readOnly)
            return;
        QUrl url = m_calendar;
        url.setPath(item.href, QUrl::TolerantMode);
        const DavReply reply = m_client.remove(url, item.etag);
        if (!reply.ok() && reply.status != 404) {
            m_report.problems.append(DavClient::describe(reply));
            return;
        }
        m_next.remove(item.uid);
    }

    const TaskSync& m_sync;
    DavClient& m_client;
    BlockList& m_list;
    DavState& m_state;
    SyncReport& m_report;
    const QUrl m_calendar;
    const blocks::BlockIndex m_index;

    QHash<QString, QString> m_etagByHref;
    QHash<QString, QString> m_uidByHref;
    QHash<QString, Fetched> m_fetched; // by href
    QHash<QString, Local> m_locals;
    QSet<QString> m_contacts;
    LocalStates m_local;
    ServerStates m_server;
    SyncedStates m_next;
    std::map<int, ContactRecord> m_changed; // by record number
};

void TaskSync::run(BlockList& list, DavState& state, SyncReport& report)
{
    if (state.calendar.isEmpty())
        return;
    Run(*this, list, state, report).run();
}

} // namespace tarvik::sync
