#pragma once

#include "sync/contact_sync.h"
#include "sync/dav_client.h"
#include "sync/dav_state.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace tarvik::sync {

class DavClient;

// What the user gave for one sync; empty values are taken from the file's
// sync state, where what was given once is kept (never the password).
struct SyncRequest
{
    QUrl server;   // a base URL (discovery) or an address book
    QUrl calendar; // the calendar, when `server` names an address book
    QString user;
    QString password;
    Choice prefer = Choice::Undecided; // for every conflict of the run
    Choices choices;                   // per UID, from the conflict list
    bool readOnly = false;
};

struct SyncResult
{
    SyncReport report;
    QStringList notices; // said to the user beside the report
    bool tasksSynced = false;
    bool saved = false; // the contact file and its sync state were written
};

// Settles where to sync (the collections from what was given and what was
// kept), then syncs `list` with them; `state` is updated for the caller to
// save after the contact file. Throws TarvikError when nothing could be done.
SyncResult runSync(DavClient& client, const SyncRequest& request, BlockList& list, int& count,
                   RecordIds& ids, DavState& state, const std::function<bool()>& cancelled = {},
                   const std::function<void(int, int)>& progress = {});

// Fills the collections of `state` from `request`: discovery when the server
// URL is not an address book itself. Throws TarvikError.
void settleCollections(DavClient& client, const SyncRequest& request, DavState& state,
                       QStringList& notices);

} // namespace tarvik::sync

namespace tarvik::sync {

// What "Tester" found, as the settings window says it.
QString describeDiscovery(const Discovery& found);

// The French name of a conflict's kind, as the conflict list shows it.
QString conflictText(Conflict kind);

} // namespace tarvik::sync
