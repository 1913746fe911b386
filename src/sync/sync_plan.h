#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace tarvik::sync {

// The three states an item is seen in at a sync, by UID: as the file holds it
// now (a hash of its synced fields), as the server holds it now (href and
// ETag), and as both held it at the end of the last sync.
struct LocalState
{
    QString hash;
};
struct ServerState
{
    QString href;
    QString etag;
};
struct SyncedState
{
    QString href;
    QString etag;
    QString hash;
    bool operator==(const SyncedState&) const = default;
};

enum class Conflict {
    None,
    BothChanged,         // edited on both sides since the last sync
    BothNew,             // on both sides without a last sync (different content)
    EditedHereGoneThere, // edited in the file, deleted on the server
    GoneHereEditedThere, // deleted from the file, edited on the server
    Refused,             // the server refused a write made in good faith (412)
};

enum class Action {
    Keep,        // in sync
    Send,        // the local change merged into the server's card, PUT If-Match
    Take,        // the server's card merged into the record
    Create,      // a new card from the record, PUT If-None-Match: *
    Add,         // a new record from the server's card
    DeleteThere, // DELETE If-Match
    DeleteHere,  // the record deleted
    Forget,      // gone from both sides: the last-synced entry dropped
    Match,       // on both sides, nothing synced before: compare contents
    Stand,       // a conflict left for the user
};

// How the user settled a conflict.
enum class Choice { Undecided, Local, Server };

struct PlanItem
{
    QString uid;
    Action action = Action::Keep;
    Conflict conflict = Conflict::None;
    QString href; // the server's, or the last synced one
    QString etag; // the server's current ETag (the If-Match of a write)
    bool operator==(const PlanItem&) const = default;
};

using LocalStates = QHash<QString, LocalState>;
using ServerStates = QHash<QString, ServerState>;
using SyncedStates = QHash<QString, SyncedState>;
using Choices = QHash<QString, Choice>;

// What to do with each UID seen on any side, ordered by UID. A change is a
// hash that differs from the last synced one (local) or an ETag that does
// (server). Nothing changed on both sides is ever written over: it becomes a
// conflict, which a choice of the user turns into the write of one side.
QList<PlanItem> planSync(const LocalStates& local, const ServerStates& server,
                         const SyncedStates& synced, const Choices& choices = {});

// The conflict that `action` leads to when the contents turn out to differ
// (Match compares the contents of a card and a record on both sides).
Action settle(Conflict conflict, Choice choice);

} // namespace tarvik::sync
