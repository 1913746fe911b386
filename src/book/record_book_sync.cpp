// The sync of the open contact file with its server: the pending edit written
// back, the contacts synced on a copy of the list, the copy taken as the list
// when the sync changed it, then the file saved before its sync state.
#include "book/record_book.h"

#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "sync/dav_client.h"

#include <QFileInfo>

namespace tarvik {

namespace {

// The records' UIDs as the "uid" companion keeps them.
class CompanionIds : public sync::RecordIds
{
public:
    explicit CompanionIds(exchange::UidStore& store) : m_store(store) {}
    QList<QByteArray> assign(const BlockList& list) override { return m_store.assign(list); }
    void setUid(const BlockList& list, qsizetype header, const QByteArray& uid) override
    {
        // A new record from the server: its code is its own, just given.
        m_store.setUid(contact::field(list, header, contact::Code), uid);
    }
    void follow(const BlockList& before, const BlockList& after) override
    {
        m_store.follow(before, after);
    }

private:
    exchange::UidStore& m_store;
};

} // namespace

sync::DavState RecordBook::syncState(QStringList* notices) const
{
    if (m_contactPath.isEmpty())
        return {};
    return sync::DavState::load(sync::DavState::companionPath(m_contactPath), notices);
}

bool RecordBook::syncConfigured() const
{
    return !m_contactPath.isEmpty() &&
           QFileInfo::exists(sync::DavState::companionPath(m_contactPath)) &&
           !syncState().server.isEmpty();
}

void RecordBook::setSyncState(const sync::DavState& state)
{
    if (m_contactPath.isEmpty())
        throw TarvikError(QStringLiteral("Enregistrez d'abord le fichier de contacts."));
    state.save(sync::DavState::companionPath(m_contactPath));
}

sync::SyncResult RecordBook::synchronise(sync::DavClient& client, const sync::SyncRequest& request,
                                         const std::function<bool()>& cancelled,
                                         const std::function<void(int, int)>& progress,
                                         const std::function<bool()>& save)
{
    if (m_contactPath.isEmpty())
        throw TarvikError(QStringLiteral("Enregistrez d'abord le fichier de contacts."));
    m_contacts.EcritFiche();

    QStringList notices;
    sync::DavState state = syncState(&notices);
    BlockList list = contacts();
    int count = recordCount();
    if (blocks::countHeaders(list) == 0)
        count = 0;
    CompanionIds ids(m_uids);
    // The UIDs are on disk before any card goes out under them: a sync cut
    // short before the save would otherwise leave cards on the server that
    // the next run, with fresh UIDs, sends again as new ones.
    if (!request.readOnly)
        m_uids.save(m_contactPath, list);
    sync::SyncResult result =
        sync::runSync(client, request, list, count, ids, state, cancelled, progress);
    result.notices = notices + result.notices;
    if (result.report.listChanged) {
        m_contacts.reorder([&](BlockList& l) {
            l = list;
            return count;
        });
        Compteurs();
    }
    if (!request.readOnly) {
        // The file first: a sync cut short after it finds its work again
        // from the old state; the other way round, the next sync would take
        // the records received now for records deleted here.
        if (save)
            result.saved = save();
        else {
            Sauve(m_contactPath);
            result.saved = true;
        }
        if (result.saved)
            state.save(sync::DavState::companionPath(m_contactPath));
    }
    return result;
}

} // namespace tarvik
