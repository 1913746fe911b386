#include "sync/sync_plan.h"

#include <QSet>
#include <algorithm>

namespace tarvik::sync {

Action settle(Conflict conflict, Choice choice)
{
    if (choice == Choice::Undecided)
        return Action::Stand;
    const bool local = choice == Choice::Local;
    switch (conflict) {
    case Conflict::BothChanged:
    case Conflict::BothNew:
    case Conflict::Refused:
        return local ? Action::Send : Action::Take;
    case Conflict::EditedHereGoneThere:
        return local ? Action::Create : Action::DeleteHere;
    case Conflict::GoneHereEditedThere:
        return local ? Action::DeleteThere : Action::Add;
    case Conflict::None:
        break;
    }
    return Action::Keep;
}

QList<PlanItem> planSync(const LocalStates& local, const ServerStates& server,
                         const SyncedStates& synced, const Choices& choices)
{
    QSet<QString> uids;
    for (auto it = local.cbegin(); it != local.cend(); ++it)
        uids.insert(it.key());
    for (auto it = server.cbegin(); it != server.cend(); ++it)
        uids.insert(it.key());
    for (auto it = synced.cbegin(); it != synced.cend(); ++it)
        uids.insert(it.key());
    QStringList ordered(uids.cbegin(), uids.cend());
    std::sort(ordered.begin(), ordered.end());

    QList<PlanItem> out;
    out.reserve(ordered.size());
    for (const QString& uid : ordered) {
        const auto l = local.constFind(uid);
        const auto s = server.constFind(uid);
        const auto y = synced.constFind(uid);
        const bool hasL = l != local.cend();
        const bool hasS = s != server.cend();
        const bool hasY = y != synced.cend();

        PlanItem item;
        item.uid = uid;
        if (hasS) {
            item.href = s->href;
            item.etag = s->etag;
        } else if (hasY) {
            item.href = y->href;
        }
        const bool localChanged = hasL && hasY && l->hash != y->hash;
        const bool serverChanged = hasS && hasY && s->etag != y->etag;
        const Choice choice = choices.value(uid, Choice::Undecided);

        auto conflict = [&](Conflict c) {
            item.conflict = c;
            item.action = settle(c, choice);
        };

        if (hasL && hasS && hasY) {
            if (localChanged && serverChanged)
                conflict(Conflict::BothChanged);
            else if (localChanged)
                item.action = Action::Send;
            else if (serverChanged)
                item.action = Action::Take;
            else
                item.action = Action::Keep;
        } else if (hasL && hasS) {
            // Never synced together (a first sync, or the sync state lost):
            // the same UID on both sides is the same contact, and only its
            // contents say whether there is anything to settle.
            item.action = Action::Match;
            if (choice != Choice::Undecided) {
                item.conflict = Conflict::BothNew;
                item.action = settle(Conflict::BothNew, choice);
            }
        } else if (hasL && hasY) {
            if (localChanged)
                conflict(Conflict::EditedHereGoneThere);
            else
                item.action = Action::DeleteHere;
        } else if (hasS && hasY) {
            if (serverChanged)
                conflict(Conflict::GoneHereEditedThere);
            else
                item.action = Action::DeleteThere;
        } else if (hasL) {
            item.action = Action::Create;
        } else if (hasS) {
            item.action = Action::Add;
        } else {
            item.action = Action::Forget;
        }
        out.append(item);
    }
    return out;
}

} // namespace tarvik::sync
