#pragma once

#include "contacts/contact_record.h"
#include "storage/block_index.h"
#include "storage/block_list.h"
#include "sync/dav_client.h"
#include "sync/sync_plan.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <map>

// The steps the contact and the task syncs share.
namespace tarvik::sync::steps {

// Cards and tasks are fetched this many to a request.
constexpr int Batch = 500;

// The path of a URL as the server writes it in its answers.
QString pathOf(const QUrl& url);

// The name of a new member of a collection, from its UID: the UID itself
// when it is plain, else a hash of it; `suffix` is ".vcf" or ".ics".
QString memberName(const QString& uid, const QString& suffix);

// Every member of `collection` (not the collection itself, nor the ones
// inside it) with its ETag, by path. Throws TarvikError when the listing
// fails or cannot be read.
QHash<QString, QString> listMembers(DavClient& client, const QUrl& collection);

// Fetches `hrefs` in batches and hands each member found (status 200) to
// `each` with its path. Throws TarvikError when a batch fails or cannot be read.
void fetchMembers(DavClient& client, const QUrl& collection, const QStringList& hrefs,
                  bool calendar,
                  const std::function<void(const QString& href, const DavResource&)>& each);

// The choices with `prefer` given to every conflict that has no choice of its
// own (nothing changes when `prefer` is Undecided).
Choices withPreferred(const LocalStates& local, const ServerStates& server,
                      const SyncedStates& synced, const Choices& choices, Choice prefer);

// The records of the indexed list that have a UID of their own (`uids` in list order,
// as the record ids give them), each once: the first block of its number and
// the first record of a UID; copies and unnumbered headers are passed over.
void forEachRecord(const blocks::BlockIndex& index, const QList<QByteArray>& uids,
                   const std::function<void(const QString& uid, const blocks::ListedBlock&)>& each);

// The list with the blocks of `records` (by record number) written over, in
// one pass.
void replaceRecords(BlockList& list, const blocks::BlockIndex& index,
                    const std::map<int, ContactRecord>& records);

} // namespace tarvik::sync::steps
