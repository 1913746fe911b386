#include "sync/contact_sync.h"

#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "storage/block_index.h"
#include "storage/integrity.h"
#include "sync/card_fields.h"
#include "sync/dav_client.h"
#include "sync/sync_steps.h"

#include <QHash>
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

using steps::pathOf;

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

// One run of a sync: what it learns of both sides, and what it changes.
class ContactSync::Run
{
public:
    Run(const ContactSync& sync, BlockList& list, int& count, DavState& state)
        : m_sync(sync), m_client(sync.m_client), m_list(list), m_count(count), m_state(state),
          m_book(state.addressBook), m_index(list, blocks::ContactDigits), m_next(state.cards)
    {
    }

    SyncReport run()
    {
        const int requestsBefore = m_client.requestCount();
        listServer();
        readLocal();
        const QList<PlanItem> plan = makePlan();
        carryOut(plan);
        applyTaken();
        applyAdded();
        applyRemoved();
        m_state.cards = m_next;
        m_report.requests = m_client.requestCount() - requestsBefore;
        return m_report;
    }

private:
    // The server's side: every card with its ETag, and the cards the last
    // sync did not see (their UID is in the card itself).
    void listServer()
    {
        m_etagByHref = steps::listMembers(m_client, m_book);

        QHash<QString, QString> uidByHref;
        for (auto it = m_state.cards.cbegin(); it != m_state.cards.cend(); ++it)
            uidByHref.insert(it->href, it.key());
        QStringList unknown;
        for (auto it = m_etagByHref.cbegin(); it != m_etagByHref.cend(); ++it)
            if (!uidByHref.contains(it.key()))
                unknown.append(it.key());
        std::sort(unknown.begin(), unknown.end());
        fetch(unknown);

        for (auto it = m_etagByHref.cbegin(); it != m_etagByHref.cend(); ++it) {
            QString uid = uidByHref.value(it.key());
            if (uid.isEmpty()) {
                const auto f = m_fetched.constFind(it.key());
                if (f == m_fetched.cend())
                    continue; // unreadable, told above
                uid = f->card.uid();
                if (uid.isEmpty()) {
                    m_report.problems.append(
                        QStringLiteral("Carte sans UID ignorée : %1").arg(it.key()));
                    continue;
                }
            }
            if (m_server.contains(uid)) {
                m_report.problems.append(
                    QStringLiteral("UID %1 utilisé par deux cartes, %2 ignorée")
                        .arg(uid, it.key()));
                continue;
            }
            m_server.insert(uid, {it.key(), it.value()});
        }
        // A duplicate found later than the card the last sync knew must not
        // replace it: the known href wins.
        for (auto it = m_state.cards.cbegin(); it != m_state.cards.cend(); ++it) {
            if (m_etagByHref.contains(it->href))
                m_server.insert(it.key(), {it->href, m_etagByHref.value(it->href)});
        }
    }

    void fetch(const QStringList& hrefs)
    {
        steps::fetchMembers(m_client, m_book, hrefs, false,
                            [this](const QString& href, const DavResource& r) { keep(href, r); });
    }

    void keep(const QString& href, const DavResource& r)
    {
        if (r.data.size() > m_client.limits().maxCard) {
            m_report.problems.append(
                QStringLiteral("Carte trop volumineuse ignorée : %1").arg(href));
            return;
        }
        Fetched f;
        QString error;
        if (!f.card.parse(r.data, &error)) {
            m_report.problems.append(
                QStringLiteral("Carte illisible ignorée (%1) : %2").arg(error, href));
            return;
        }
        f.etag = r.etag.isEmpty() ? m_etagByHref.value(href) : r.etag;
        m_fetched.insert(href, f);
    }

    // The file's side: each record with its UID and the hashes of its fields.
    void readLocal()
    {
        steps::forEachRecord(m_index, m_sync.m_ids.assign(m_list),
                             [this](const QString& uid, const blocks::ListedBlock& b) {
                                 Local l;
                                 l.number = b.number;
                                 l.header = b.first;
                                 contact::readBlock(m_list, b.first, l.record);
                                 l.values = valuesOf(l.record);
                                 l.hash = fieldHashes(l.values);
                                 m_local.insert(uid, {l.hash});
                                 m_locals.insert(uid, l);
                             });
    }

    // The plan, then every card it needs that the first listing did not bring.
    QList<PlanItem> makePlan()
    {
        const Choices choices = steps::withPreferred(m_local, m_server, m_state.cards,
                                                     m_sync.m_choices, m_sync.m_prefer);
        QList<PlanItem> plan = planSync(m_local, m_server, m_state.cards, choices);
        QStringList needed;
        for (const PlanItem& item : plan) {
            const bool wants = item.action == Action::Send || item.action == Action::Take ||
                               item.action == Action::Add || item.action == Action::Match ||
                               item.action == Action::Stand;
            if (wants && m_server.contains(item.uid) && !m_fetched.contains(item.href))
                needed.append(item.href);
        }
        fetch(needed);
        return plan;
    }

    void carryOut(const QList<PlanItem>& plan)
    {
        const int total = int(plan.size());
        int done = 0;
        for (const PlanItem& item : plan) {
            if (m_sync.m_cancelled && m_sync.m_cancelled()) {
                m_report.cancelled = true;
                break;
            }
            if (m_sync.m_progress)
                m_sync.m_progress(done, total);
            ++done;
            carryOut(item);
        }
        if (m_sync.m_progress)
            m_sync.m_progress(done, total);
    }

    void carryOut(const PlanItem& item)
    {
        const auto l = m_locals.constFind(item.uid);
        const auto f = m_fetched.constFind(item.href);
        const bool haveCard = f != m_fetched.cend();
        const bool needsCard = item.action == Action::Send || item.action == Action::Take ||
                               item.action == Action::Add || item.action == Action::Match;
        if (needsCard && !haveCard) {
            if (m_server.contains(item.uid))
                m_report.problems.append(
                    QStringLiteral("Carte non reçue du serveur : %1").arg(item.href));
            return;
        }
        switch (item.action) {
        case Action::Keep:
            break;
        case Action::Match:
        case Action::Stand:
        case Action::Send:
            if (!haveCard || l == m_locals.cend()) {
                // A conflict with one side gone.
                conflict(item, item.conflict,
                         item.conflict == Conflict::EditedHereGoneThere
                             ? QStringLiteral("modifiée ici, supprimée sur le serveur")
                             : QStringLiteral("supprimée ici, modifiée sur le serveur"));
                break;
            }
            settle(item, *l, *f);
            break;
        case Action::Create: {
            if (m_sync.m_readOnly || l == m_locals.cend())
                break;
            const QString href =
                pathOf(m_book.resolved(QUrl(steps::memberName(item.uid, QStringLiteral(".vcf")))));
            write(item, ServerCard::fromValues(item.uid, l->values).text(), href, {}, l->hash);
            break;
        }
        case Action::Take:
            take(item, *l, *f);
            break;
        case Action::Add: {
            ContactRecord record;
            applyValues(f->card.values(), record);
            m_added.append({item.uid, record});
            ++m_report.received;
            break;
        }
        case Action::DeleteThere:
            deleteThere(item);
            break;
        case Action::DeleteHere:
            if (l != m_locals.cend()) {
                m_removed.append({item.uid, l->number});
                m_next.remove(item.uid);
                ++m_report.deleted;
            }
            break;
        case Action::Forget:
            m_next.remove(item.uid);
            break;
        }
    }

    // A record on both sides: sent, taken, or left as a conflict.
    void settle(const PlanItem& item, const Local& l, const Fetched& f)
    {
        const QList<CardField> diff = differing(l.values, f.card.values());
        auto adopt = [&] { m_next.insert(item.uid, {item.href, f.etag, l.hash}); };
        if (item.action != Action::Send) {
            // The same contents on both sides (changed the same way, or a
            // sync cut short before its state was saved): nothing to settle.
            const Choice chosen = m_sync.m_choices.value(item.uid, m_sync.m_prefer);
            if (diff.isEmpty()) {
                adopt();
                return;
            }
            if (item.action == Action::Match && chosen == Choice::Server) {
                take(item, l, f);
                return;
            }
            if (item.action != Action::Match || chosen != Choice::Local) {
                conflict(item, item.conflict == Conflict::None ? Conflict::BothNew : item.conflict,
                         describeFields(diff));
                return;
            }
        }
        if (m_sync.m_readOnly)
            return;
        // Only what the user changed goes back: a field the server holds
        // with characters the file cannot hold stays as the server has it.
        QList<CardField> fields;
        if (item.conflict != Conflict::None || item.action == Action::Match) {
            fields = diff;
        } else {
            const QList<CardField> changed =
                changedFields(m_state.cards.value(item.uid).hash, l.hash);
            for (CardField c : changed)
                if (diff.contains(c) || c == FieldCode)
                    fields.append(c);
        }
        if (fields.isEmpty()) {
            adopt();
            return;
        }
        ServerCard card = f.card;
        card.merge(l.values, fields);
        write(item, card.text(), item.href, f.etag, l.hash);
    }

    void conflict(const PlanItem& item, Conflict kind, const QString& detail)
    {
        SyncConflict c;
        c.uid = item.uid;
        c.kind = kind;
        if (const auto l = m_locals.constFind(item.uid); l != m_locals.cend())
            c.localName = l->record.name;
        if (const auto f = m_fetched.constFind(item.href); f != m_fetched.cend())
            c.serverName = f->card.values()[FieldName];
        c.detail = detail;
        m_report.conflicts.append(c);
    }

    bool write(const PlanItem& item, const QByteArray& data, const QString& href,
               const QString& ifMatch, const QString& hash)
    {
        QUrl url = m_book;
        url.setPath(href, QUrl::TolerantMode);
        const DavReply reply = m_client.put(url, data, CardType, ifMatch);
        if (reply.status == 412) {
            conflict(item, Conflict::Refused,
                     QStringLiteral("enregistrée sur le serveur entre-temps"));
            return false;
        }
        if (!reply.ok()) {
            m_report.problems.append(DavClient::describe(reply));
            return false;
        }
        m_next.insert(item.uid, {href, reply.etag, hash});
        ++m_report.sent;
        return true;
    }

    void take(const PlanItem& item, const Local& l, const Fetched& f)
    {
        ContactRecord record = l.record;
        applyValues(f.card.values(), record);
        const QString hash = fieldHashes(valuesOf(record));
        if (hash != l.hash) {
            m_taken[l.number] = record;
            ++m_report.received;
        }
        m_next.insert(item.uid, {item.href, f.etag, hash});
    }

    void deleteThere(const PlanItem& item)
    {
        if (m_sync.m_readOnly)
            return;
        QUrl url = m_book;
        url.setPath(item.href, QUrl::TolerantMode);
        const DavReply reply = m_client.remove(url, item.etag);
        if (reply.status == 412) {
            conflict(item, Conflict::GoneHereEditedThere,
                     QStringLiteral("supprimée ici, modifiée sur le serveur"));
            return;
        }
        if (!reply.ok() && reply.status != 404) {
            m_report.problems.append(DavClient::describe(reply));
            return;
        }
        m_next.remove(item.uid);
        ++m_report.deleted;
    }

    // --- the changes of the list, in one pass each
    void applyTaken()
    {
        if (m_taken.empty())
            return;
        steps::replaceRecords(m_list, m_index, m_taken);
        m_report.listChanged = true;
    }

    void applyAdded()
    {
        if (m_added.isEmpty())
            return;
        if (blocks::countHeaders(m_list) == 0) {
            // A new file's single record has no block yet: the first card takes its number.
            m_count = 0;
        }
        int code = contact::nextCustomerCode(m_list);
        for (const auto& [uid, record] : m_added) {
            ContactRecord r = record;
            r.code = QByteArray::number(code++);
            const qsizetype header = m_list.size();
            m_list.append(contact::blockLines(r, m_count));
            ++m_count;
            m_sync.m_ids.setUid(m_list, header, uid.toUtf8());
            const QString href = m_server.value(uid).href;
            m_next.insert(uid, {href, m_fetched.value(href).etag, fieldHashes(valuesOf(r))});
        }
        m_report.listChanged = true;
    }

    void applyRemoved()
    {
        if (m_removed.isEmpty())
            return;
        const BlockList before = m_list;
        std::sort(m_removed.begin(), m_removed.end(),
                  [](const auto& a, const auto& b) { return a.second > b.second; });
        for (const auto& [uid, number] : m_removed) {
            blocks::deleteBlock(m_list, blocks::header(number, blocks::ContactDigits));
            integrity::Renum(m_list, number, m_count);
        }
        m_sync.m_ids.follow(before, m_list);
        m_report.listChanged = true;
    }

    const ContactSync& m_sync;
    DavClient& m_client;
    BlockList& m_list;
    int& m_count;
    DavState& m_state;
    const QUrl m_book;
    const blocks::BlockIndex m_index;
    SyncReport m_report;

    QHash<QString, QString> m_etagByHref;
    QHash<QString, Fetched> m_fetched; // by href
    ServerStates m_server;
    QHash<QString, Local> m_locals;
    LocalStates m_local;

    SyncedStates m_next;
    std::map<int, ContactRecord> m_taken; // by record number
    QList<std::pair<QString, ContactRecord>> m_added;
    QList<std::pair<QString, int>> m_removed; // uid, number
};

ContactSync::ContactSync(DavClient& client, RecordIds& ids) : m_client(client), m_ids(ids) {}

SyncReport ContactSync::run(BlockList& list, int& count, DavState& state)
{
    if (state.addressBook.isEmpty())
        throw TarvikError(QStringLiteral("Aucun carnet d'adresses n'est choisi pour ce fichier."));
    return Run(*this, list, count, state).run();
}

} // namespace tarvik::sync
