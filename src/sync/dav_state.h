#pragma once

#include "sync/sync_plan.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace tarvik::sync {

// The companion of a contact file that remembers its sync (same path,
// extension "dav"): the server and collections, the user name, and per UID
// the href, ETag and field hashes of each card and task as last synced.
// Never a password.
struct DavState
{
    QUrl server;
    QUrl addressBook;
    QUrl calendar;
    QString user;
    SyncedStates cards;
    SyncedStates tasks;

    // NAME.ctc -> NAME.dav
    static QString companionPath(const QString& contactPath);

    // Reads the companion; a missing file gives an empty state. A damaged
    // line is passed over and told in `notices`: the next sync then matches
    // cards and records by UID and contents, so nothing is created twice.
    static DavState load(const QString& path, QStringList* notices = nullptr);
    // Throws TarvikError when it cannot be written (the old file stays whole).
    void save(const QString& path) const;

    bool operator==(const DavState&) const = default;
};

} // namespace tarvik::sync
