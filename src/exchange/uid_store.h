#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tarvik {

namespace exchange {

// The stable identifiers (UIDs) of the contacts, which address books and
// calendars know them by. They live in a companion file beside the contact
// file (same path, extension "uid"), one line per record: customer code, tab,
// UID; the contact file itself is never touched for them. A record is found by
// its code; records that share one code take that code's lines in file order.
// A record without a line gets a new random "urn:uuid:" identifier, which then
// stays with it for the run and is written at the next save.
class UidStore
{
public:
    // NAME.ctc -> NAME.uid (the extension of the file name replaced, or added).
    static QString companionPath(const QString& contactPath);
    static QByteArray newUid();

    // Reads the companion of `contactPath`; a missing one leaves the store
    // empty. Lines without a tab are read past and told in the result. Throws
    // TarvikError when the file exists but cannot be read.
    QStringList load(const QString& contactPath);
    void clear();
    // True when load() found a companion file.
    bool hadFile() const { return m_hadFile; }

    // The UID of every block of `list`, in list order (the order of
    // BlockIndex::inListOrder), new ones given where missing.
    QList<QByteArray> assign(const BlockList& list);
    // The UID of the block whose header stands at `headerIndex`.
    QByteArray uidAt(const BlockList& list, qsizetype headerIndex);
    // Gives the record of `code`, a code no other record has (an imported
    // record's), this UID: an imported card's own. A UID another record
    // already has is not given twice (the record then gets a new one), nor
    // an empty one. Returns true when given.
    bool setUid(const QByteArray& code, const QByteArray& uid);

    // The list was rearranged (sorted, renumbered, a record deleted) from
    // `before` to `after`: each record keeps its UID, found by its lines when
    // its code is shared with another record.
    void follow(const BlockList& before, const BlockList& after);

    // Writes the companion of `contactPath` for the records of `list`.
    // Throws TarvikError when it cannot be written (the old file stays whole).
    void save(const QString& contactPath, const BlockList& list);

private:
    // Makes m_lastCodes and m_lastUids those of every block of `list`, in
    // list order, giving new UIDs where missing.
    void assignAll(const BlockList& list);

    // The UIDs of one code, in file order, and how many of them the pass of
    // forEachAssigned numbered `pass` has given so far: a code's count is
    // then found in the same lookup as its UIDs.
    struct OfCode
    {
        QList<QByteArray> uids;
        quint64 pass = 0;
        int given = 0;
    };
    QHash<QByteArray, OfCode> m_byCode;
    quint64 m_pass = 0;
    // Every change of m_byCode gives a new generation.
    quint64 m_generation = 0;
    // The codes and UIDs of the last pass, in list order, and the generation
    // they were given in.
    QList<QByteArray> m_lastCodes;
    QList<QByteArray> m_lastUids;
    quint64 m_lastGeneration = ~quint64(0);
    quint64 m_lastVersion = 0; // of the list that pass read (LineStore::version)
    // The companion's bytes for the codes and UIDs of that generation.
    QByteArray m_data;
    quint64 m_dataGeneration = ~quint64(0);
    QSet<QByteArray> m_used; // every UID of m_byCode
    bool m_hadFile = false;
};

} // namespace exchange

} // namespace tarvik
