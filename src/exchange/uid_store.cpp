#include "exchange/uid_store.h"

#include "contacts/contact_record.h"
#include "platform/errors.h"
#include "storage/block_index.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QUuid>

namespace tarvik {

namespace exchange {

namespace {

QByteArray codeOf(const BlockList& list, qsizetype header)
{
    return contact::field(list, header, contact::Code);
}

// The lines that say who a record is: all but its header and trailer, which
// a renumbering rewrites.
QByteArray identityOf(const BlockList& list, const blocks::ListedBlock& block)
{
    QByteArray key;
    const qsizetype end = block.trailer >= 0 ? block.trailer : block.next;
    for (qsizetype i = block.first + 1; i < end; ++i) {
        key += list.at(i);
        key += '\n';
    }
    return key;
}

// A UID read from a card may hold anything; the companion holds one per line.
QByteArray oneLine(QByteArray uid)
{
    for (char& c : uid)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return uid.trimmed();
}

} // namespace

QString UidStore::companionPath(const QString& contactPath)
{
    const QFileInfo info(contactPath);
    const QString suffix = info.suffix();
    if (suffix.isEmpty() || info.fileName() == u'.' + suffix)
        return contactPath + QStringLiteral(".uid");
    return contactPath.left(contactPath.size() - suffix.size()) + QStringLiteral("uid");
}

QByteArray UidStore::newUid()
{
    return "urn:uuid:" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
}

void UidStore::clear()
{
    m_byCode.clear();
    m_used.clear();
    m_hadFile = false;
}

QStringList UidStore::load(const QString& contactPath)
{
    clear();
    QStringList notices;
    QFile file(companionPath(contactPath));
    if (!file.exists())
        return notices;
    if (!file.open(QIODevice::ReadOnly))
        throw TarvikError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                              .arg(file.fileName(), file.errorString()));
    const BlockList lines = blocks::splitLines(file.readAll());
    m_hadFile = true;
    int number = 0;
    for (const QByteArray& line : lines) {
        ++number;
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype tab = line.indexOf('\t');
        const QByteArray uid = tab < 0 ? QByteArray() : line.mid(tab + 1).trimmed();
        if (uid.isEmpty()) {
            notices.append(QStringLiteral("%1, ligne %2 : ligne sans identifiant, ignorée")
                               .arg(QFileInfo(file.fileName()).fileName())
                               .arg(number));
            continue;
        }
        m_byCode[line.left(tab)].append(uid);
        m_used.insert(uid);
    }
    return notices;
}

QList<QByteArray> UidStore::assign(const BlockList& list)
{
    QList<QByteArray> uids;
    QHash<QByteArray, int> seen;
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    uids.reserve(index.inListOrder().size());
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        const QByteArray code = codeOf(list, block.first);
        const int k = seen[code]++;
        QList<QByteArray>& ofCode = m_byCode[code];
        while (ofCode.size() <= k) {
            ofCode.append(newUid());
            m_used.insert(ofCode.last());
        }
        uids.append(ofCode.at(k));
    }
    return uids;
}

QByteArray UidStore::uidAt(const BlockList& list, qsizetype headerIndex)
{
    const QByteArray code = codeOf(list, headerIndex);
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    int k = 0;
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        if (block.first == headerIndex)
            break;
        if (codeOf(list, block.first) == code)
            ++k;
    }
    QList<QByteArray>& ofCode = m_byCode[code];
    while (ofCode.size() <= k) {
        ofCode.append(newUid());
        m_used.insert(ofCode.last());
    }
    return ofCode.at(k);
}

bool UidStore::setUid(const QByteArray& code, const QByteArray& uid)
{
    const QByteArray clean = oneLine(uid);
    if (clean.isEmpty() || m_used.contains(clean))
        return false;
    m_byCode[code] = {clean};
    m_used.insert(clean);
    return true;
}

void UidStore::follow(const BlockList& before, const BlockList& after)
{
    // With every code its own, the code alone finds each record again.
    {
        QHash<QByteArray, int> count;
        bool shared = false;
        const blocks::BlockIndex index(before, blocks::ContactDigits);
        for (const blocks::ListedBlock& block : index.inListOrder())
            if (++count[codeOf(before, block.first)] > 1) {
                shared = true;
                break;
            }
        if (!shared)
            return;
    }

    const QList<QByteArray> uids = assign(before);
    QHash<QByteArray, QList<QByteArray>> byIdentity;
    {
        const blocks::BlockIndex index(before, blocks::ContactDigits);
        const QList<blocks::ListedBlock>& listed = index.inListOrder();
        for (qsizetype i = 0; i < listed.size(); ++i)
            byIdentity[identityOf(before, listed.at(i))].append(uids.at(i));
    }

    const blocks::BlockIndex index(after, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index.inListOrder();
    QList<QByteArray> found(listed.size());
    QSet<QByteArray> taken;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        auto it = byIdentity.find(identityOf(after, listed.at(i)));
        if (it != byIdentity.end() && !it->isEmpty()) {
            found[i] = it->takeFirst();
            taken.insert(found[i]);
        }
    }
    // A record whose lines changed meanwhile takes the first UID of its code
    // that no other record took.
    QHash<QByteArray, QList<QByteArray>> rebuilt;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QByteArray code = codeOf(after, listed.at(i).first);
        if (found[i].isEmpty()) {
            for (const QByteArray& uid : m_byCode.value(code))
                if (!taken.contains(uid)) {
                    found[i] = uid;
                    break;
                }
            if (found[i].isEmpty()) {
                found[i] = newUid();
                m_used.insert(found[i]);
            }
            taken.insert(found[i]);
        }
        rebuilt[code].append(found[i]);
    }
    m_byCode = std::move(rebuilt);
}

void UidStore::save(const QString& contactPath, const BlockList& list)
{
    const QList<QByteArray> uids = assign(list);
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    QByteArray data;
    const QList<blocks::ListedBlock>& listed = index.inListOrder();
    for (qsizetype i = 0; i < listed.size(); ++i) {
        data += codeOf(list, listed.at(i).first);
        data += '\t';
        data += uids.at(i);
        data += "\r\n";
    }
    const QString path = companionPath(contactPath);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw TarvikError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, file.errorString()));
    m_hadFile = true;
}

} // namespace exchange

} // namespace tarvik
