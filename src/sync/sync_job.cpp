#include "sync/sync_job.h"

#include "platform/errors.h"
#include "sync/dav_client.h"
#include "sync/task_sync.h"

namespace tarvik::sync {

namespace {

bool sameCollection(const QUrl& a, const QUrl& b)
{
    auto path = [](QString p) {
        if (!p.endsWith(u'/'))
            p += u'/';
        return p;
    };
    return a.scheme() == b.scheme() && a.host() == b.host() && a.port() == b.port() &&
           path(a.path()) == path(b.path());
}

} // namespace

void settleCollections(DavClient& client, const SyncRequest& request, DavState& state,
                       QStringList& notices)
{
    const bool given = !request.server.isEmpty();
    if (!given && !state.addressBook.isEmpty()) {
        // What was kept for the file, as it was kept.
        if (!request.calendar.isEmpty()) {
            if (const QString why = DavClient::refusal(request.calendar); !why.isEmpty())
                throw TarvikError(why);
            state.calendar = request.calendar;
        }
        return;
    }
    const QUrl server = given ? request.server : state.server;
    if (server.isEmpty())
        throw TarvikError(
            QStringLiteral("Aucun serveur de synchronisation n'est indiqué pour ce fichier."));
    if (const QString why = DavClient::refusal(server); !why.isEmpty())
        throw TarvikError(why);
    if (given && !sameCollection(server, state.server)) {
        // Another server: what was kept for the old one means nothing here.
        if (!state.server.isEmpty() && !sameCollection(server, state.addressBook)) {
            state.addressBook.clear();
            state.calendar.clear();
        }
        state.server = server;
    }
    if (!request.calendar.isEmpty()) {
        if (const QString why = DavClient::refusal(request.calendar); !why.isEmpty())
            throw TarvikError(why);
        state.calendar = request.calendar;
    }
    const Discovery found = client.discover(server);
    if (found.addressBooks.isEmpty())
        throw TarvikError(QStringLiteral("Aucun carnet d'adresses trouvé sur %1")
                              .arg(server.toString(QUrl::RemoveUserInfo)));
    auto pick = [](const QList<DavCollection>& list, const QUrl& kept) {
        for (const DavCollection& c : list)
            if (sameCollection(c.url, kept))
                return c.url;
        return list.isEmpty() ? QUrl() : list.first().url;
    };
    state.addressBook = pick(found.addressBooks, state.addressBook);
    if (request.calendar.isEmpty()) {
        if (found.principal.isEmpty() && state.calendar.isEmpty()) {
            // The URL named an address book: no calendar comes with it.
            notices.append(QStringLiteral("Aucun calendrier indiqué (--calendar) : les "
                                          "relances ne sont pas synchronisées."));
        } else if (!found.calendars.isEmpty()) {
            state.calendar = pick(found.calendars, state.calendar);
        } else if (!found.principal.isEmpty()) {
            notices.append(QStringLiteral("Aucun calendrier de tâches sur le serveur : les "
                                          "relances ne sont pas synchronisées."));
        }
    }
}

SyncResult runSync(DavClient& client, const SyncRequest& request, BlockList& list, int& count,
                   RecordIds& ids, DavState& state, const std::function<bool()>& cancelled,
                   const std::function<void(int, int)>& progress)
{
    SyncResult result;
    if (!request.user.isEmpty())
        state.user = request.user;
    client.setCredentials(state.user, request.password);
    settleCollections(client, request, state, result.notices);

    ContactSync contacts(client, ids);
    Choices choices = request.choices;
    contacts.setChoices(choices);
    contacts.setPrefer(request.prefer);
    contacts.setReadOnly(request.readOnly);
    if (cancelled)
        contacts.setCancel(cancelled);
    if (progress)
        contacts.setProgress(progress);
    const int before = client.requestCount();
    result.report = contacts.run(list, count, state);
    if (!state.calendar.isEmpty() && !result.report.cancelled) {
        TaskSync tasks(client, ids);
        tasks.setChoices(request.choices, request.prefer);
        tasks.setReadOnly(request.readOnly);
        if (cancelled)
            tasks.setCancel(cancelled);
        tasks.run(list, state, result.report);
        result.tasksSynced = true;
    }
    result.report.requests = client.requestCount() - before;
    return result;
}

} // namespace tarvik::sync

namespace tarvik::sync {

QString describeDiscovery(const Discovery& found)
{
    return QStringLiteral("%1 carnet(s) d'adresses, %2 calendrier(s) de tâches trouvé(s)")
        .arg(found.addressBooks.size())
        .arg(found.calendars.size());
}

QString conflictText(Conflict kind)
{
    switch (kind) {
    case Conflict::BothChanged:
        return QStringLiteral("Modifiée ici et sur le serveur");
    case Conflict::BothNew:
        return QStringLiteral("Différente ici et sur le serveur");
    case Conflict::EditedHereGoneThere:
        return QStringLiteral("Modifiée ici, supprimée sur le serveur");
    case Conflict::GoneHereEditedThere:
        return QStringLiteral("Supprimée ici, modifiée sur le serveur");
    case Conflict::Refused:
        return QStringLiteral("Enregistrée sur le serveur entre-temps");
    case Conflict::None:
        break;
    }
    return {};
}

} // namespace tarvik::sync
