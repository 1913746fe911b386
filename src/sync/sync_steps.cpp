#include "sync/sync_steps.h"

#include "platform/errors.h"
#include "sync/multistatus.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSet>

namespace tarvik::sync::steps {

QString pathOf(const QUrl& url)
{
    return url.path(QUrl::FullyEncoded);
}

QString memberName(const QString& uid, const QString& suffix)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._:-]{1,200}$"));
    QString name = uid;
    if (!plain.match(uid).hasMatch())
        name = QString::fromLatin1(
            QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex());
    name.replace(u':', u'-');
    return name + suffix;
}

namespace {

Multistatus readMultistatus(const DavReply& reply, const QUrl& collection)
{
    if (!reply.ok() || reply.status != 207)
        throw TarvikError(DavClient::describe(reply));
    QString why;
    auto ms = parseMultistatus(reply.body, &why);
    if (!ms)
        throw TarvikError(QStringLiteral("Réponse illisible du serveur (%1) : %2")
                              .arg(why, collection.toString(QUrl::RemoveUserInfo)));
    return std::move(*ms);
}

} // namespace

QHash<QString, QString> listMembers(DavClient& client, const QUrl& collection)
{
    const DavReply listing = client.listMembers(collection);
    const Multistatus members = readMultistatus(listing, collection);
    const QString home = pathOf(collection);
    QHash<QString, QString> etagByHref;
    for (const DavResource& r : members.resources) {
        const QString href = pathOf(resolveHref(listing.url, r.href));
        if (r.collection || r.status != 200 || href == home || href == home + u'/' ||
            home == href + u'/')
            continue;
        etagByHref.insert(href, r.etag);
    }
    return etagByHref;
}

void fetchMembers(DavClient& client, const QUrl& collection, const QStringList& hrefs,
                  bool calendar,
                  const std::function<void(const QString& href, const DavResource&)>& each)
{
    for (qsizetype at = 0; at < hrefs.size(); at += Batch) {
        const DavReply reply = client.multiget(collection, hrefs.mid(at, Batch), calendar);
        const Multistatus ms = readMultistatus(reply, collection);
        for (const DavResource& r : ms.resources)
            if (r.status == 200)
                each(pathOf(resolveHref(reply.url, r.href)), r);
    }
}

Choices withPreferred(const LocalStates& local, const ServerStates& server,
                      const SyncedStates& synced, const Choices& choices, Choice prefer)
{
    Choices out = choices;
    if (prefer == Choice::Undecided)
        return out;
    // Only for what is a conflict: a choice turns a Match into a write even
    // when the contents agree, which is harmless but counted.
    for (const PlanItem& item : planSync(local, server, synced, choices))
        if (item.action == Action::Stand && !out.contains(item.uid))
            out.insert(item.uid, prefer);
    return out;
}

void forEachRecord(const blocks::BlockIndex& index, const QList<QByteArray>& uids,
                   const std::function<void(const QString& uid, const blocks::ListedBlock&)>& each)
{
    QSet<QString> seen;
    const QList<blocks::ListedBlock>& listed = index.inListOrder();
    for (qsizetype k = 0; k < listed.size() && k < uids.size(); ++k) {
        const blocks::ListedBlock& b = listed.at(k);
        const auto span = index.find(b.number);
        if (b.number < 0 || !span || span->first != b.first)
            continue; // a copy or an unnumbered header: no record of its own
        const QString uid = QString::fromUtf8(uids.at(k));
        if (uid.isEmpty() || seen.contains(uid))
            continue;
        seen.insert(uid);
        each(uid, b);
    }
}

void replaceRecords(BlockList& list, const blocks::BlockIndex& index,
                    const std::map<int, ContactRecord>& records)
{
    BlockList rebuilt;
    rebuilt.reserve(list.size());
    qsizetype at = 0;
    for (const auto& [number, record] : records) {
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
}

} // namespace tarvik::sync::steps
