// The vCard reader on arbitrary bytes: no crash; every card it gives maps to
// contact fields that are safe lines of the contact file; a card written
// again reads back to the same properties; a contact written as a card and
// read back keeps its fields.
#include "exchange/card_exchange.h"
#include "exchange/vcard.h"
#include "fuzz_support.h"
#include "storage/block_list.h"

#include <algorithm>
#include <cstdint>

using namespace tarvik;
using namespace tarvik::exchange;

namespace {

bool safeLine(const QByteArray& line)
{
    return !line.contains('\r') && !line.contains('\n') && !line.contains('\0') &&
           blocks::fieldLine(line) == line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const vcard::ReadResult read = vcard::read(bytes);
    for (const vcard::Card& card : read.cards) {
        const vcard::ContactFields f = vcard::toContact(card);
        const ContactRecord& c = f.contact;
        for (const QByteArray* field :
             {&c.name, &c.address1, &c.address2, &c.postcode, &c.town, &c.phone, &c.fax,
              &c.activity, &c.email, &c.civility, &c.decision_maker, &c.function})
            FUZZ_CHECK(safeLine(*field));
        for (const QByteArray& line : c.freeText)
            FUZZ_CHECK(!line.contains('\r') && !line.contains('\n') && line.size() <= 255);

        // Written again (as 4.0) and read back: the same properties.
        const vcard::ReadResult again = vcard::read(vcard::write(card));
        FUZZ_CHECK(again.cards.size() == 1);
        const vcard::Card& back = again.cards.first();
        FUZZ_CHECK(back.properties.size() == card.properties.size());
        for (qsizetype i = 0; i < card.properties.size(); ++i) {
            FUZZ_CHECK(back.properties[i].name == card.properties[i].name);
            FUZZ_CHECK(
                back.properties[i].text() == card.properties[i].text() ||
                card.properties[i].value.contains(QChar(0x7F)) ||
                std::any_of(card.properties[i].value.begin(), card.properties[i].value.end(),
                            [](QChar ch) { return ch.unicode() < 0x20 || ch.isSurrogate(); }));
        }

        // The contact it gave, as a card and back: the same fields.
        const vcard::ContactFields round = vcard::toContact(vcard::fromContact(c, card.uid()));
        const ContactRecord& r = round.contact;
        FUZZ_CHECK(r.name == c.name || c.name.trimmed().isEmpty());
        FUZZ_CHECK(r.address1 == c.address1 || c.address1.trimmed().isEmpty());
        FUZZ_CHECK(r.town == c.town && r.postcode == c.postcode);
        FUZZ_CHECK(r.activity == c.activity || c.activity.trimmed().isEmpty());
    }
    (void)readVcards(bytes);
    return 0;
}
