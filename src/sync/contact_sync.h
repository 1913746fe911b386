#pragma once

#include "storage/block_list.h"
#include "sync/dav_state.h"
#include "sync/sync_plan.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace tarvik::sync {

class DavClient;

// Who keeps the records' UIDs (the "uid" companion of the contact file).
class RecordIds
{
public:
    virtual ~RecordIds() = default;
    // The UID of every block of `list`, in list order.
    virtual QList<QByteArray> assign(const BlockList& list) = 0;
    // Gives the block at `headerIndex` (the last block of its code) this UID.
    virtual void setUid(const BlockList& list, qsizetype headerIndex, const QByteArray& uid) = 0;
    // The list went from `before` to `after` (records deleted, renumbered).
    virtual void follow(const BlockList& before, const BlockList& after) = 0;
};

// A record changed on both sides (or refused by the server), left for the user.
struct SyncConflict
{
    QString uid;
    Conflict kind = Conflict::None;
    QByteArray localName;  // Windows-1252, empty when deleted here
    QByteArray serverName; // Windows-1252, empty when deleted there
    QString detail;        // the fields that differ, in French
};

struct SyncReport
{
    int sent = 0;
    int received = 0;
    int deleted = 0;
    QList<SyncConflict> conflicts;
    QStringList problems; // per item: a card that could not be read or written
    bool cancelled = false;
    bool listChanged = false; // the contact list was changed in memory
    int requests = 0;

    // "N envoyée(s), M reçue(s), K supprimée(s), C conflit(s)"
    QString summary() const;
};

// One sync of the contacts of a file with an address book: the plan from the
// three states, then each item carried out or left whole. The list is changed
// in memory only; the caller saves the file and then the state (in that
// order, so that a sync cut short finds its work again at the next one).
class ContactSync
{
public:
    ContactSync(DavClient& client, RecordIds& ids);

    void setChoices(const Choices& choices) { m_choices = choices; }
    // The choice for every conflict that has none of its own.
    void setPrefer(Choice prefer) { m_prefer = prefer; }
    // A file opened read-only takes what the server has and sends nothing.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // Asked before each item; true stops the sync there.
    void setCancel(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    void setProgress(std::function<void(int done, int total)> progress)
    {
        m_progress = std::move(progress);
    }

    // Syncs `list` (with `count` records) with the address book of `state`,
    // updating `state.cards`. Throws TarvikError when the address book cannot
    // be read at all (nothing changed then).
    SyncReport run(BlockList& list, int& count, DavState& state);

private:
    class Run;

    DavClient& m_client;
    RecordIds& m_ids;
    Choices m_choices;
    Choice m_prefer = Choice::Undecided;
    bool m_readOnly = false;
    std::function<bool()> m_cancelled;
    std::function<void(int, int)> m_progress;
};

} // namespace tarvik::sync
