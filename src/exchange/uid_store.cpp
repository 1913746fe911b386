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
    ++m_generation;
    m_lastCodes.clear();
    m_lastUids.clear();
    m_data.clear();
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
        m_byCode[line.left(tab)].uids.append(uid);
        m_used.insert(uid);
    }
    ++m_generation;
    return notices;
}

void UidStore::assignAll(const BlockList& list)
{
    const auto index = blocks::BlockIndex::of(list, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index->inListOrder();
    // The code lines of a large file stand far apart in memory: asked for
    // ahead, they are there when the loop comes.
    const auto ahead = [&](qsizetype k) {
        if (k + 16 < listed.size())
            list.ahead(listed.at(k + 16).first + contact::Code);
        if (k + 8 < listed.size())
            list.aheadBytes(listed.at(k + 8).first + contact::Code);
    };
    const auto codeLine = [&](qsizetype k) {
        const qsizetype i = listed.at(k).first + contact::Code;
        return i < list.size() ? list.view(i) : QByteArrayView();
    };
    // The same codes in the same order, with no UID changed since the last
    // pass, give the UIDs that pass gave: the usual save, after edits that
    // leave the codes alone, costs no lookup.
    if (m_lastGeneration == m_generation && list.version() != 0 && list.version() == m_lastVersion)
        return; // the very lines of the last pass
    if (m_lastGeneration == m_generation && m_lastCodes.size() == listed.size()) {
        qsizetype k = 0;
        for (; k < listed.size(); ++k) {
            ahead(k);
            if (codeLine(k) != m_lastCodes.at(k))
                break;
        }
        if (k == listed.size()) {
            m_lastVersion = list.version();
            return;
        }
    }
    QList<QByteArray> codes;
    codes.reserve(listed.size());
    for (qsizetype k = 0; k < listed.size(); ++k) {
        ahead(k);
        codes.append(codeLine(k).toByteArray());
    }
    ++m_pass;
    QList<QByteArray> uids;
    uids.reserve(codes.size());
    for (const QByteArray& code : std::as_const(codes)) {
        OfCode& of = m_byCode[code];
        if (of.pass != m_pass) {
            of.pass = m_pass;
            of.given = 0;
        }
        const int n = of.given++;
        while (of.uids.size() <= n) {
            of.uids.append(newUid());
            m_used.insert(of.uids.last());
        }
        uids.append(of.uids.at(n));
    }
    m_lastCodes = std::move(codes);
    m_lastUids = std::move(uids);
    m_lastGeneration = ++m_generation;
    m_lastVersion = list.version();
}

QList<QByteArray> UidStore::assign(const BlockList& list)
{
    assignAll(list);
    return m_lastUids;
}

QByteArray UidStore::uidAt(const BlockList& list, qsizetype headerIndex)
{
    const QByteArray code = codeOf(list, headerIndex);
    const auto index = blocks::BlockIndex::of(list, blocks::ContactDigits);
    int k = 0;
    for (const blocks::ListedBlock& block : index->inListOrder()) {
        if (block.first == headerIndex)
            break;
        if (codeOf(list, block.first) == code)
            ++k;
    }
    QList<QByteArray>& ofCode = m_byCode[code].uids;
    if (ofCode.size() <= k)
        ++m_generation;
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
    ++m_generation;
    m_byCode[code] = OfCode{{clean}};
    m_used.insert(clean);
    return true;
}

void UidStore::follow(const BlockList& before, const BlockList& after)
{
    // With every code its own, the code alone finds each record again.
    {
        QHash<QByteArray, int> count;
        bool shared = false;
        const auto index = blocks::BlockIndex::of(before, blocks::ContactDigits);
        for (const blocks::ListedBlock& block : index->inListOrder())
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
        const auto index = blocks::BlockIndex::of(before, blocks::ContactDigits);
        const QList<blocks::ListedBlock>& listed = index->inListOrder();
        for (qsizetype i = 0; i < listed.size(); ++i)
            byIdentity[identityOf(before, listed.at(i))].append(uids.at(i));
    }

    const auto index = blocks::BlockIndex::of(after, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index->inListOrder();
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
    QHash<QByteArray, OfCode> rebuilt;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QByteArray code = codeOf(after, listed.at(i).first);
        if (found[i].isEmpty()) {
            for (const QByteArray& uid : m_byCode.value(code).uids)
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
        rebuilt[code].uids.append(found[i]);
    }
    ++m_generation;
    m_byCode = std::move(rebuilt);
}

void UidStore::save(const QString& contactPath, const BlockList& list)
{
    assignAll(list);
    // The companion's bytes follow from the codes and UIDs alone: the same
    // ones write the same bytes again.
    if (m_dataGeneration != m_lastGeneration) {
        qsizetype size = 0;
        for (qsizetype k = 0; k < m_lastCodes.size(); ++k)
            size += m_lastCodes.at(k).size() + m_lastUids.at(k).size() + 3;
        QByteArray data;
        data.reserve(size);
        for (qsizetype k = 0; k < m_lastCodes.size(); ++k) {
            data += m_lastCodes.at(k);
            data += '\t';
            data += m_lastUids.at(k);
            data += "\r\n";
        }
        m_data = std::move(data);
        m_dataGeneration = m_lastGeneration;
    }
    const QByteArray& data = m_data;
    const QString path = companionPath(contactPath);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw TarvikError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, file.errorString()));
    m_hadFile = true;
}

} // namespace exchange

} // namespace tarvik
