#include "sync/contact_sync.h"

#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "storage/block_index.h"
#include "storage/integrity.h"
#include "sync/card_fields.h"
#include "sync/dav_client.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <map>

namespace tarvik::sync {

QString SyncReport::summary() const
{
    return QStringLiteral("%1 envoyée(s), %2 reçue(s), %3 supprimée(s), %4 conflit(s)")
        .arg(sent)
        .arg(received)
        .arg(deleted)
        .arg(conflicts.size());
}

namespace {

constexpr int Batch = 500;
const QByteArray CardType = "text/vcard; charset=utf-8";

const char* const FieldCaptions[CardFieldCount] = {
    "Nom / Société", "Adresse", "Adresse",  "Code postal", "Ville",    "Téléphone", "Fax",
    "Activité",      "E.mail",  "Civilité", "Décideur",    "Fonction", "Code",      "Texte libre"};

// The fields whose values differ, the customer code aside: each file numbers
// its own customers, so the code of a card made by another file says nothing.
QList<CardField> differing(const CardValues& a, const CardValues& b)
{
    QList<CardField> out;
    for (int f = 0; f < CardFieldCount; ++f)
        if (f != FieldCode && a[f] != b[f])
            out.append(CardField(f));
    return out;
}

QString describeFields(const QList<CardField>& fields)
{
    QStringList names;
    for (CardField f : fields) {
        const QString name = QString::fromUtf8(FieldCaptions[f]);
        if (!names.contains(name))
            names.append(name);
    }
    return names.join(QStringLiteral(", "));
}

QString pathOf(const QUrl& url)
{
    return url.path(QUrl::FullyEncoded);
}

// The name of a new card on the server, from its UID.
QString memberName(const QString& uid)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._:-]{1,200}$"));
    QString name = uid;
    if (!plain.match(uid).hasMatch())
        name = QString::fromLatin1(
            QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex());
    name.replace(u':', u'-');
    return name + QStringLiteral(".vcf");
}

struct Local
{
    int number = -1;
    qsizetype header = -1;
    ContactRecord record;
    CardValues values;
    QString hash;
};

struct Fetched
{
    ServerCard card;
    QString etag;
};

} // namespace

ContactSync::ContactSync(DavClient& client, RecordIds& ids) : m_client(client), m_ids(ids) {}

SyncReport ContactSync::run(BlockList& list, int& count, DavState& state)
{
    SyncReport report;
    const int requestsBefore = m_client.requestCount();
    const QUrl book = state.addressBook;
    if (book.isEmpty())
        throw TarvikError(QStringLiteral("Aucun carnet d'adresses n'est choisi pour ce fichier."));

    // --- the server's side: every card with its ETag
    const DavReply listing = m_client.listMembers(book);
    if (!listing.ok() || listing.status != 207)
        throw TarvikError(DavClient::describe(listing));
    QString why;
    const auto members = parseMultistatus(listing.body, &why);
    if (!members)
        throw TarvikError(QStringLiteral("Réponse illisible du serveur (%1) : %2")
                              .arg(why, book.toString(QUrl::RemoveUserInfo)));
    const QString bookPath = pathOf(book);
    QHash<QString, QString> etagByHref;
    for (const DavResource& r : members->resources) {
        const QString href = pathOf(resolveHref(listing.url, r.href));
        if (r.collection || r.status != 200 || href == bookPath || href == bookPath + u'/' ||
            bookPath == href + u'/')
            continue;
        etagByHref.insert(href, r.etag);
    }

    QHash<QString, QString> uidByHref;
    for (auto it = state.cards.cbegin(); it != state.cards.cend(); ++it)
        uidByHref.insert(it->href, it.key());

    QHash<QString, Fetched> fetched; // by href
    auto fetch = [&](const QStringList& hrefs) {
        for (qsizetype at = 0; at < hrefs.size(); at += Batch) {
            const QStringList part = hrefs.mid(at, Batch);
            const DavReply reply = m_client.multiget(book, part, false);
            if (!reply.ok() || reply.status != 207)
                throw TarvikError(DavClient::describe(reply));
            QString bad;
            const auto ms = parseMultistatus(reply.body, &bad);
            if (!ms)
                throw TarvikError(QStringLiteral("Réponse illisible du serveur (%1) : %2")
                                      .arg(bad, book.toString(QUrl::RemoveUserInfo)));
            for (const DavResource& r : ms->resources) {
                const QString href = pathOf(resolveHref(reply.url, r.href));
                if (r.status != 200)
                    continue;
                Fetched f;
                QString error;
                if (r.data.size() > m_client.limits().maxCard) {
                    report.problems.append(
                        QStringLiteral("Carte trop volumineuse ignorée : %1").arg(href));
                    continue;
                }
                if (!f.card.parse(r.data, &error)) {
                    report.problems.append(
                        QStringLiteral("Carte illisible ignorée (%1) : %2").arg(error, href));
                    continue;
                }
                f.etag = r.etag.isEmpty() ? etagByHref.value(href) : r.etag;
                fetched.insert(href, f);
            }
        }
    };

    // Cards the last sync did not see: their UID is in the card itself.
    QStringList unknown;
    for (auto it = etagByHref.cbegin(); it != etagByHref.cend(); ++it)
        if (!uidByHref.contains(it.key()))
            unknown.append(it.key());
    std::sort(unknown.begin(), unknown.end());
    fetch(unknown);

    ServerStates server;
    for (auto it = etagByHref.cbegin(); it != etagByHref.cend(); ++it) {
        QString uid = uidByHref.value(it.key());
        if (uid.isEmpty()) {
            const auto f = fetched.constFind(it.key());
            if (f == fetched.cend())
                continue; // unreadable, told above
            uid = f->card.uid();
            if (uid.isEmpty()) {
                report.problems.append(QStringLiteral("Carte sans UID ignorée : %1").arg(it.key()));
                continue;
            }
        }
        if (server.contains(uid)) {
            report.problems.append(
                QStringLiteral("UID %1 utilisé par deux cartes, %2 ignorée").arg(uid, it.key()));
            continue;
        }
        server.insert(uid, {it.key(), it.value()});
    }
    // A duplicate found later than the card the last sync knew must not
    // replace it: the known href wins.
    for (auto it = state.cards.cbegin(); it != state.cards.cend(); ++it) {
        if (etagByHref.contains(it->href))
            server.insert(it.key(), {it->href, etagByHref.value(it->href)});
    }

    // --- the file's side
    const QList<QByteArray> uids = m_ids.assign(list);
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index.inListOrder();
    QHash<QString, Local> locals;
    LocalStates local;
    for (qsizetype k = 0; k < listed.size() && k < uids.size(); ++k) {
        const blocks::ListedBlock& b = listed.at(k);
        const auto span = index.find(b.number);
        if (b.number < 0 || !span || span->first != b.first)
            continue; // a copy or an unnumbered header: no record of its own
        const QString uid = QString::fromUtf8(uids.at(k));
        if (uid.isEmpty() || locals.contains(uid))
            continue;
        Local l;
        l.number = b.number;
        l.header = b.first;
        contact::readBlock(list, b.first, l.record);
        l.values = valuesOf(l.record);
        l.hash = fieldHashes(l.values);
        local.insert(uid, {l.hash});
        locals.insert(uid, l);
    }

    Choices choices = m_choices;
    if (m_prefer != Choice::Undecided) {
        // Only for what is a conflict: a choice turns a Match into a write
        // even when the contents agree, which is harmless but counted.
        for (const PlanItem& item : planSync(local, server, state.cards, m_choices))
            if (item.action == Action::Stand && !choices.contains(item.uid))
                choices.insert(item.uid, m_prefer);
    }
    QList<PlanItem> plan = planSync(local, server, state.cards, choices);

    // --- every card the plan needs and the first listing did not bring
    QStringList needed;
    for (const PlanItem& item : plan) {
        const bool wants = item.action == Action::Send || item.action == Action::Take ||
                           item.action == Action::Add || item.action == Action::Match ||
                           item.action == Action::Stand;
        if (wants && server.contains(item.uid) && !fetched.contains(item.href))
            needed.append(item.href);
    }
    fetch(needed);

    SyncedStates next = state.cards;
    std::map<int, ContactRecord> taken; // by record number
    QList<std::pair<QString, ContactRecord>> added;
    QList<std::pair<QString, int>> removed; // uid, number

    auto conflict = [&](const PlanItem& item, Conflict kind, const QString& detail) {
        SyncConflict c;
        c.uid = item.uid;
        c.kind = kind;
        if (const auto l = locals.constFind(item.uid); l != locals.cend())
            c.localName = l->record.name;
        if (const auto f = fetched.constFind(item.href); f != fetched.cend())
            c.serverName = f->card.values()[FieldName];
        c.detail = detail;
        report.conflicts.append(c);
    };

    auto write = [&](const PlanItem& item, const QByteArray& data, const QString& href,
                     const QString& ifMatch, const QString& hash) {
        QUrl url = book;
        url.setPath(href, QUrl::TolerantMode);
        const DavReply reply = m_client.put(url, data, CardType, ifMatch);
        if (reply.status == 412) {
            conflict(item, Conflict::Refused,
                     QStringLiteral("enregistrée sur le serveur entre-temps"));
            return false;
        }
        if (!reply.ok()) {
            report.problems.append(DavClient::describe(reply));
            return false;
        }
        next.insert(item.uid, {href, reply.etag, hash});
        ++report.sent;
        return true;
    };

    auto take = [&](const PlanItem& item, const Local& l, const Fetched& f) {
        ContactRecord record = l.record;
        applyValues(f.card.values(), record);
        const QString hash = fieldHashes(valuesOf(record));
        if (hash != l.hash) {
            taken[l.number] = record;
            ++report.received;
        }
        next.insert(item.uid, {item.href, f.etag, hash});
    };

    const int total = int(plan.size());
    int done = 0;
    for (const PlanItem& item : plan) {
        if (m_cancelled && m_cancelled()) {
            report.cancelled = true;
            break;
        }
        if (m_progress)
            m_progress(done, total);
        ++done;

        const auto l = locals.constFind(item.uid);
        const auto f = fetched.constFind(item.href);
        const bool haveCard = f != fetched.cend();
        const bool needsCard = item.action == Action::Send || item.action == Action::Take ||
                               item.action == Action::Add || item.action == Action::Match;
        if (needsCard && !haveCard) {
            if (server.contains(item.uid))
                report.problems.append(
                    QStringLiteral("Carte non reçue du serveur : %1").arg(item.href));
            continue;
        }
        const bool settled = item.conflict != Conflict::None;
        switch (item.action) {
        case Action::Keep:
            break;
        case Action::Match:
        case Action::Stand:
        case Action::Send: {
            if (!haveCard || l == locals.cend()) {
                // A conflict with one side gone.
                conflict(item, item.conflict,
                         item.conflict == Conflict::EditedHereGoneThere
                             ? QStringLiteral("modifiée ici, supprimée sur le serveur")
                             : QStringLiteral("supprimée ici, modifiée sur le serveur"));
                break;
            }
            const QList<CardField> diff = differing(l->values, f->card.values());
            auto adopt = [&] { next.insert(item.uid, {item.href, f->etag, l->hash}); };
            if (item.action != Action::Send) {
                // The same contents on both sides (changed the same way, or a
                // sync cut short before its state was saved): nothing to settle.
                const Choice chosen = m_choices.value(item.uid, m_prefer);
                if (diff.isEmpty()) {
                    adopt();
                    break;
                }
                if (item.action == Action::Match && chosen == Choice::Server) {
                    take(item, *l, *f);
                    break;
                }
                if (item.action != Action::Match || chosen != Choice::Local) {
                    conflict(item,
                             item.conflict == Conflict::None ? Conflict::BothNew : item.conflict,
                             describeFields(diff));
                    break;
                }
            }
            if (m_readOnly)
                break;
            // Only what the user changed goes back: a field the server holds
            // with characters the file cannot hold stays as the server has it.
            QList<CardField> fields;
            if (settled || item.action == Action::Match) {
                fields = diff;
            } else {
                const QList<CardField> changed =
                    changedFields(state.cards.value(item.uid).hash, l->hash);
                for (CardField c : changed)
                    if (diff.contains(c) || c == FieldCode)
                        fields.append(c);
            }
            if (fields.isEmpty()) {
                adopt();
                break;
            }
            ServerCard card = f->card;
            card.merge(l->values, fields);
            write(item, card.text(), item.href, f->etag, l->hash);
            break;
        }
        case Action::Create: {
            if (m_readOnly || l == locals.cend())
                break;
            const QString href = pathOf(book.resolved(QUrl(memberName(item.uid))));
            write(item, ServerCard::fromValues(item.uid, l->values).text(), href, {}, l->hash);
            break;
        }
        case Action::Take:
            take(item, *l, *f);
            break;
        case Action::Add: {
            ContactRecord record;
            applyValues(f->card.values(), record);
            added.append({item.uid, record});
            ++report.received;
            break;
        }
        case Action::DeleteThere: {
            if (m_readOnly)
                break;
            QUrl url = book;
            url.setPath(item.href, QUrl::TolerantMode);
            const DavReply reply = m_client.remove(url, item.etag);
            if (reply.status == 412) {
                conflict(item, Conflict::GoneHereEditedThere,
                         QStringLiteral("supprimée ici, modifiée sur le serveur"));
                break;
            }
            if (!reply.ok() && reply.status != 404) {
                report.problems.append(DavClient::describe(reply));
                break;
            }
            next.remove(item.uid);
            ++report.deleted;
            break;
        }
        case Action::DeleteHere:
            if (l != locals.cend()) {
                removed.append({item.uid, l->number});
                next.remove(item.uid);
                ++report.deleted;
            }
            break;
        case Action::Forget:
            next.remove(item.uid);
            break;
        }
    }
    if (m_progress)
        m_progress(done, total);

    // --- the changes of the list, in one pass each
    if (!taken.empty()) {
        BlockList rebuilt;
        rebuilt.reserve(list.size());
        qsizetype at = 0;
        for (const auto& [number, record] : taken) {
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
    if (!added.isEmpty()) {
        if (blocks::countHeaders(list) == 0) {
            // A new file's single record has no block yet: the first card takes its number.
            count = 0;
        }
        int code = contact::nextCustomerCode(list);
        for (const auto& [uid, record] : added) {
            ContactRecord r = record;
            r.code = QByteArray::number(code++);
            const qsizetype header = list.size();
            list.append(contact::blockLines(r, count));
            ++count;
            m_ids.setUid(list, header, uid.toUtf8());
            next.insert(uid, {server.value(uid).href, fetched.value(server.value(uid).href).etag,
                              fieldHashes(valuesOf(r))});
        }
        report.listChanged = true;
    }
    if (!removed.isEmpty()) {
        const BlockList before = list;
        std::sort(removed.begin(), removed.end(),
                  [](const auto& a, const auto& b) { return a.second > b.second; });
        for (const auto& [uid, number] : removed) {
            blocks::deleteBlock(list, blocks::header(number, blocks::ContactDigits));
            integrity::Renum(list, number, count);
        }
        m_ids.follow(before, list);
        report.listChanged = true;
    }

    state.cards = next;
    report.requests = m_client.requestCount() - requestsBefore;
    return report;
}

} // namespace tarvik::sync
