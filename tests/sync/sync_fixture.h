#pragma once

#include "contacts/contact_record.h"
#include "storage/block_index.h"
#include "storage/block_list.h"
#include "sync/contact_sync.h"

#include <QHash>
#include <QUuid>

namespace tarvik::testing {

// The records' UIDs kept by customer code, as the "uid" companion does for
// files whose codes are distinct.
class CodeIds : public sync::RecordIds
{
public:
    QList<QByteArray> assign(const BlockList& list) override
    {
        QList<QByteArray> out;
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        for (const blocks::ListedBlock& b : index.inListOrder()) {
            const QByteArray code = contact::field(list, b.first, contact::Code);
            QByteArray& uid = m_byCode[code];
            if (uid.isEmpty())
                uid = "urn:uuid:" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
            out.append(uid);
        }
        return out;
    }
    void setUid(const BlockList& list, qsizetype header, const QByteArray& uid) override
    {
        m_byCode[contact::field(list, header, contact::Code)] = uid;
    }
    void follow(const BlockList&, const BlockList&) override {}
    QByteArray uidOf(const QByteArray& code) const { return m_byCode.value(code); }

private:
    QHash<QByteArray, QByteArray> m_byCode;
};

inline ContactRecord person(const QByteArray& code, const QByteArray& name,
                            const QByteArray& phone = {})
{
    ContactRecord r;
    r.code = code;
    r.name = name;
    r.phone = phone;
    r.town = "Rennes";
    r.postcode = "35000";
    r.history = {"Type de contact\tDate", "Appel du lundi"};
    r.freeText = {"Client depuis 2019"};
    return r;
}

inline BlockList fileOf(const QList<ContactRecord>& records)
{
    BlockList list;
    for (int i = 0; i < records.size(); ++i)
        list.append(contact::blockLines(records.at(i), i));
    return list;
}

inline ContactRecord recordAt(const BlockList& list, int number)
{
    ContactRecord r;
    const qsizetype at = blocks::find(list, blocks::header(number, blocks::ContactDigits));
    if (at >= 0)
        contact::readBlock(list, at, r);
    return r;
}

// The record of `list` whose name is `name`, or an empty one.
inline ContactRecord recordNamed(const BlockList& list, const QByteArray& name)
{
    const int n = blocks::countHeaders(list);
    for (int i = 0; i < n; ++i) {
        const ContactRecord r = recordAt(list, i);
        if (r.name == name)
            return r;
    }
    return {};
}

} // namespace tarvik::testing
