#include "print/envelopes.h"

#include "contacts/contact_record.h"
#include "storage/ansi.h"

namespace tarvik {

namespace print {

void envelopeSides(PrintDevice& d, const settings::CompanyLines& company, const EnvelopeAddress& to,
                   int g)
{
    for (int i = 0; i < 4; ++i)
        textAt(d, 5, 5 + 5 * i + g, company.at(i));
    textAt(d, 110, 50 + g, to.name);
    textAt(d, 110, 55 + g, to.address1);
    textAt(d, 110, 60 + g, to.address2);
    textAt(d, 110, 65 + g, to.postcode + ' ' + to.town);
}

void ImpEnv(PrintDevice& d, const settings::CompanyLines& company, const EnvelopeAddress& to,
            int envelopeOrientation, int guideOffset)
{
    beginReport(d, envelopeOrientation == 1 ? Orientation::Landscape : Orientation::Portrait);
    envelopeSides(d, company, to, guideOffset);
    endReport(d);
}

bool envelopeWanted(const BlockLines& b, const selection::ContactFilter& filter)
{
    switch (filter.mode) {
    case selection::Alerts:
        return b.field(contact::Alert) == "Y";
    case selection::ClosedSales:
        return b.field(contact::SaleClosed) == "Y";
    case selection::TodaysFollowups:
        return b.field(contact::FollowupDate) == contact::formatDate(filter.today);
    case selection::Postcode:
        return b.field(contact::Postcode) == filter.postcode;
    case selection::Town:
        return ansi::upper(b.field(contact::Town)) == filter.town;
    case selection::FollowupsToDo: {
        const QByteArray date = b.field(contact::FollowupDate);
        return !date.isEmpty() && date != "01/01/1900";
    }
    default:
        return true;
    }
}

void Envelop2(PrintDevice& d, const settings::CompanyLines& company, const BlockLines& b,
              int guideOffset)
{
    const EnvelopeAddress to{b.field(contact::Name), b.field(contact::Address1),
                             b.field(contact::Address2), b.field(contact::Postcode),
                             b.field(contact::Town)};
    envelopeSides(d, company, to, guideOffset);
    d.newPage();
}

void Enveloppes(PrintDevice& d, const settings::CompanyLines& company, const BlockList& contacts,
                RecordRange range, const selection::ContactFilter& filter, int guideOffset)
{
    beginReport(d, Orientation::Landscape);
    forEachBlock(contacts, range, [&](int, const BlockLines& b) {
        if (envelopeWanted(b, filter))
            Envelop2(d, company, b, guideOffset);
    });
    endReport(d);
}

} // namespace print

} // namespace tarvik
