#include "sync/task_sync.h"

#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "storage/block_index.h"
#include "sync/dav_client.h"
#include "sync/follow_up_task.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <map>

namespace tarvik::sync {

namespace {

constexpr int Batch = 500;
const QByteArray TaskType = "text/calendar; charset=utf-8";
// The hash of a follow-up cleared because its task was completed on the
// server: the file and the server agree, and the task stays as it is.
const QString Completed = QStringLiteral("completed");

QString pathOf(const QUrl& url)
{
    return url.path(QUrl::FullyEncoded);
}

QString memberName(const QString& uid)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._:-]{1,200}$"));
    QString name = uid;
    if (!plain.match(uid).hasMatch())
        name = QString::fromLatin1(
            QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex());
    name.replace(u':', u'-');
    return name + QStringLiteral(".ics");
}

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

void TaskSync::run(BlockList& list, DavState& state, SyncReport& report)
{
    const QUrl calendar = state.calendar;
    if (calendar.isEmpty())
        return;
    const DavReply listing = m_client.listMembers(calendar);
    if (!listing.ok() || listing.status != 207)
        throw TarvikError(DavClient::describe(listing));
    QString why;
    const auto members = parseMultistatus(listing.body, &why);
    if (!members)
        throw TarvikError(QStringLiteral("Réponse illisible du serveur (%1) : %2")
                              .arg(why, calendar.toString(QUrl::RemoveUserInfo)));
    const QString home = pathOf(calendar);
    QHash<QString, QString> etagByHref;
    for (const DavResource& r : members->resources) {
        const QString href = pathOf(resolveHref(listing.url, r.href));
        if (r.collection || r.status != 200 || href == home || href + u'/' == home)
            continue;
        etagByHref.insert(href, r.etag);
    }
    QHash<QString, QString> uidByHref;
    for (auto it = state.tasks.cbegin(); it != state.tasks.cend(); ++it)
        uidByHref.insert(it->href, it.key());

    QHash<QString, Fetched> fetched;
    auto fetch = [&](const QStringList& hrefs) {
        for (qsizetype at = 0; at < hrefs.size(); at += Batch) {
            const DavReply reply = m_client.multiget(calendar, hrefs.mid(at, Batch), true);
            if (!reply.ok() || reply.status != 207)
                throw TarvikError(DavClient::describe(reply));
            QString bad;
            const auto ms = parseMultistatus(reply.body, &bad);
            if (!ms)
                throw TarvikError(QStringLiteral("Réponse illisible du serveur (%1) : %2")
                                      .arg(bad, calendar.toString(QUrl::RemoveUserInfo)));
            for (const DavResource& r : ms->resources) {
                if (r.status != 200)
                    continue;
                const QString href = pathOf(resolveHref(reply.url, r.href));
                QString error;
                const auto task = readTask(r.data, &error);
                if (!task) {
                    report.problems.append(
                        QStringLiteral("Tâche illisible ignorée (%1) : %2").arg(error, href));
                    continue;
                }
                fetched.insert(href,
                               {r.data, *task, r.etag.isEmpty() ? etagByHref.value(href) : r.etag});
            }
        }
    };
    QStringList unknown;
    for (auto it = etagByHref.cbegin(); it != etagByHref.cend(); ++it)
        if (!uidByHref.contains(it.key()))
            unknown.append(it.key());
    fetch(unknown);

    // --- the file's follow-ups, by contact UID
    const QList<QByteArray> uids = m_ids.assign(list);
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    QHash<QString, Local> locals;
    QSet<QString> contacts;
    LocalStates local;
    for (qsizetype k = 0; k < index.inListOrder().size() && k < uids.size(); ++k) {
        const blocks::ListedBlock& b = index.inListOrder().at(k);
        const auto span = index.find(b.number);
        if (b.number < 0 || !span || span->first != b.first)
            continue;
        const QString uid = QString::fromUtf8(uids.at(k));
        if (uid.isEmpty() || locals.contains(uid))
            continue;
        Local l;
        l.number = b.number;
        contact::readBlock(list, b.first, l.record);
        l.followUp = followUpOf(l.record);
        contacts.insert(uid);
        if (l.followUp.isSet())
            local.insert(uid, {followUpHash(l.followUp)});
        else if (state.tasks.value(uid).hash == Completed)
            local.insert(uid, {Completed});
        locals.insert(uid, l);
    }

    // --- the server's tasks, by the contact they belong to
    ServerStates server;
    for (auto it = etagByHref.cbegin(); it != etagByHref.cend(); ++it) {
        QString uid = uidByHref.value(it.key());
        if (uid.isEmpty()) {
            const auto f = fetched.constFind(it.key());
            if (f == fetched.cend())
                continue;
            uid = contactOfTask(f->task);
            // A task of the calendar that is no contact's follow-up is not ours.
            if (uid.isEmpty() || !contacts.contains(uid) || server.contains(uid))
                continue;
            // A completed task nobody follows any more is left alone.
            if (f->task.completed && !local.contains(uid))
                continue;
        }
        server.insert(uid, {it.key(), it.value()});
    }

    Choices choices = m_choices;
    if (m_prefer != Choice::Undecided)
        for (const PlanItem& item : planSync(local, server, state.tasks, m_choices))
            if (item.action == Action::Stand && !choices.contains(item.uid))
                choices.insert(item.uid, m_prefer);
    const QList<PlanItem> plan = planSync(local, server, state.tasks, choices);

    QStringList needed;
    for (const PlanItem& item : plan)
        if (server.contains(item.uid) && !fetched.contains(item.href) &&
            item.action != Action::Keep && item.action != Action::DeleteThere &&
            item.action != Action::Forget)
            needed.append(item.href);
    fetch(needed);

    SyncedStates next = state.tasks;
    std::map<int, ContactRecord> changed;
    auto setHere = [&](const Local& l, const FollowUp& f) {
        ContactRecord r = changed.count(l.number) ? changed[l.number] : l.record;
        FollowUp kept = f;
        if (f.isSet())
            kept.type = l.followUp.isSet() ? l.followUp.type : QByteArray();
        setFollowUp(r, kept);
        changed[l.number] = r;
        return kept;
    };
    auto put = [&](const PlanItem& item, const QByteArray& data, const QString& href,
                   const QString& etag, const QString& hash) {
        QUrl url = calendar;
        url.setPath(href, QUrl::TolerantMode);
        const DavReply reply = m_client.put(url, data, TaskType, etag);
        if (reply.status == 412) {
            report.conflicts.append({item.uid,
                                     Conflict::Refused,
                                     locals.value(item.uid).record.name,
                                     {},
                                     QStringLiteral("relance enregistrée sur le serveur "
                                                    "entre-temps")});
            return;
        }
        if (!reply.ok()) {
            report.problems.append(DavClient::describe(reply));
            return;
        }
        next.insert(item.uid, {href, reply.etag, hash});
        ++report.sent;
    };

    for (const PlanItem& item : plan) {
        if (m_cancelled && m_cancelled()) {
            report.cancelled = true;
            break;
        }
        const auto l = locals.constFind(item.uid);
        const auto f = fetched.constFind(item.href);
        const bool haveTask = f != fetched.cend();
        switch (item.action) {
        case Action::Keep:
        case Action::Forget:
            if (item.action == Action::Forget)
                next.remove(item.uid);
            break;
        case Action::Create:
            if (!m_readOnly && l != locals.cend())
                put(item, newTask(item.uid, l->followUp, l->record.name),
                    pathOf(calendar.resolved(QUrl(memberName(taskUid(item.uid))))), {},
                    followUpHash(l->followUp));
            break;
        case Action::Send:
            if (!m_readOnly && l != locals.cend() && haveTask)
                put(item, rewriteTask(f->text, l->followUp, l->record.name), item.href, f->etag,
                    followUpHash(l->followUp));
            break;
        case Action::Take:
        case Action::Add:
        case Action::Match:
        case Action::Stand: {
            if (l == locals.cend() || !haveTask) {
                if (item.action == Action::Stand)
                    report.conflicts.append(
                        {item.uid, item.conflict, {}, {}, QStringLiteral("relance")});
                break;
            }
            const FollowUp there = f->task.completed ? FollowUp{} : f->task.due;
            if (sameDue(there, l->followUp)) {
                next.insert(item.uid, {item.href, f->etag,
                                       f->task.completed ? Completed : followUpHash(l->followUp)});
                break;
            }
            if (item.action == Action::Match || item.action == Action::Stand) {
                report.conflicts.append(
                    {item.uid, item.conflict == Conflict::None ? Conflict::BothNew : item.conflict,
                     l->record.name, l->record.name, QStringLiteral("Relance")});
                break;
            }
            const FollowUp kept = setHere(*l, there);
            next.insert(item.uid,
                        {item.href, f->etag, f->task.completed ? Completed : followUpHash(kept)});
            ++report.received;
            break;
        }
        case Action::DeleteThere: {
            if (m_readOnly)
                break;
            QUrl url = calendar;
            url.setPath(item.href, QUrl::TolerantMode);
            const DavReply reply = m_client.remove(url, item.etag);
            if (!reply.ok() && reply.status != 404) {
                report.problems.append(DavClient::describe(reply));
                break;
            }
            next.remove(item.uid);
            break;
        }
        case Action::DeleteHere:
            // The task deleted on the server: the follow-up goes, the contact stays.
            if (l != locals.cend() && l->followUp.isSet()) {
                setHere(*l, FollowUp{});
                ++report.received;
            }
            next.remove(item.uid);
            break;
        }
    }

    if (!changed.empty()) {
        BlockList rebuilt;
        rebuilt.reserve(list.size());
        qsizetype at = 0;
        for (const auto& [number, record] : changed) {
            const auto span = index.find(number);
            if (!span)
                continue;
            while (at < span->first)
                rebuilt.append(list.at(at++));
            rebuilt.append(contact::blockLines(record, number));
            at = span->last + 1;
        }
        while (at < list.size())
            rebuilt.append(list.at(at++));
        list = rebuilt;
        report.listChanged = true;
    }
    state.tasks = next;
}

} // namespace tarvik::sync
