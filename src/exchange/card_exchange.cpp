#include "exchange/card_exchange.h"

#include "contacts/contact_record.h"
#include "exchange/uid_store.h"
#include "exchange/vcard.h"
#include "storage/block_index.h"

namespace tarvik {

namespace exchange {

QByteArray exportVcards(const BlockList& list, UidStore& uids)
{
    QByteArray out;
    const QList<QByteArray> ids = uids.assign(list);
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index.inListOrder();
    for (qsizetype i = 0; i < listed.size(); ++i) {
        ContactRecord record;
        contact::readBlock(list, listed.at(i).first, record);
        out += vcard::write(vcard::fromContact(record, QString::fromUtf8(ids.at(i))));
    }
    return out;
}

ForeignRead readVcards(const QByteArray& data)
{
    ForeignRead out;
    vcard::ReadResult cards = vcard::read(data);
    out.skipped = std::move(cards.skipped);
    out.contacts.reserve(cards.cards.size());
    for (const vcard::Card& card : cards.cards) {
        const vcard::ContactFields f = vcard::toContact(card);
        const ContactRecord& c = f.contact;
        ForeignContact contact;
        contact.fields = {c.name, c.address1, c.address2, c.postcode, c.town,           c.phone,
                          c.fax,  c.activity, c.email,    c.civility, c.decision_maker, c.function};
        contact.freeText = c.freeText;
        contact.uid = card.uid().toUtf8();
        out.replacedFields += f.replacedFields;
        out.contacts.append(std::move(contact));
    }
    return out;
}

} // namespace exchange

} // namespace tarvik
