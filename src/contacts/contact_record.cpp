#include "contacts/contact_record.h"

#include "platform/clock.h"

#include <utility>

namespace tarvik {

namespace contact {

static QByteArray yesNo(bool b)
{
    return b ? "Y" : "N";
}

QList<QByteArray> blockLines(const ContactRecord& r, int number)
{
    QList<QByteArray> b;
    b.reserve(30 + r.history.size() + r.freeText.size());
    using blocks::fieldLine;
    b << blocks::header(number, blocks::ContactDigits) << fieldLine(r.code) << fieldLine(r.name)
      << fieldLine(r.address1) << fieldLine(r.address2) << fieldLine(r.postcode)
      << fieldLine(r.town) << fieldLine(r.phone) << fieldLine(r.fax) << fieldLine(r.activity)
      << fieldLine(r.email) << fieldLine(r.civility) << fieldLine(r.decision_maker)
      << fieldLine(r.function) << fieldLine(r.contact_type) << formatDate(r.contact_date)
      << formatTime(r.contact_time) << fieldLine(r.interlocutor) << fieldLine(r.product)
      << fieldLine(r.purchase_price) << fieldLine(r.sale_price) << fieldLine(r.response)
      << fieldLine(r.arguments) << fieldLine(r.appraisal) << formatDate(r.followup_date)
      << formatTime(r.followup_time) << fieldLine(r.followup_type) << yesNo(r.alert)
      << yesNo(r.sale_closed);
    for (const QByteArray& line : r.history)
        b << HistoryPrefix + line;
    for (const QByteArray& line : r.freeText)
        b << FreeTextPrefix + line;
    b << blocks::trailer(number, blocks::ContactDigits);
    return b;
}

QByteArray field(const BlockList& list, qsizetype headerIndex, int offset)
{
    const qsizetype i = headerIndex + offset;
    return i < list.size() ? list.at(i) : QByteArray();
}

void readBlock(const BlockList& list, qsizetype h, ContactRecord& r)
{
    auto f = [&](int offset) { return field(list, h, offset); };
    r.code = f(Code);
    r.name = f(Name);
    r.address1 = f(Address1);
    r.address2 = f(Address2);
    r.postcode = f(Postcode);
    r.town = f(Town);
    r.phone = f(Phone);
    r.fax = f(Fax);
    r.activity = f(Activity);
    r.email = f(Email);
    r.civility = f(Civility);
    r.decision_maker = f(DecisionMaker);
    r.function = f(Function);
    r.contact_type = f(ContactType);
    if (const QDate d = parseDate(f(ContactDate)); d.isValid())
        r.contact_date = d;
    if (const QTime t = parseTime(f(ContactTime)); t.isValid())
        r.contact_time = t;
    r.interlocutor = f(Interlocutor);
    r.product = f(Product);
    r.purchase_price = f(PurchasePrice);
    r.sale_price = f(SalePrice);
    r.response = f(Response);
    r.arguments = f(Arguments);
    r.appraisal = f(Appraisal);
    if (const QDate d = parseDate(f(FollowupDate)); d.isValid())
        r.followup_date = d;
    if (const QTime t = parseTime(f(FollowupTime)); t.isValid())
        r.followup_time = t;
    r.followup_type = f(FollowupType);
    r.alert = f(Alert) == "Y";
    r.sale_closed = f(SaleClosed) == "Y";

    const QByteArray trail = blocks::trailerOf(list.at(h));
    for (qsizetype i = h + FixedLines + 1; i < list.size(); ++i) {
        const QByteArray& line = list.at(i);
        if (blocks::sameLine(line, trail))
            break;
        // The last line of a file that lacks its trailer is not a field.
        if (i == list.size() - 1)
            break;
        if (line.startsWith(HistoryPrefix))
            r.history << line.mid(4);
        else if (line.startsWith(FreeTextPrefix))
            r.freeText << line.mid(4);
    }
}

QByteArray* textField(ContactRecord& r, Offset offset)
{
    using R = ContactRecord;
    static constexpr std::pair<Offset, QByteArray R::*> fields[] = {
        {Code, &R::code},
        {Name, &R::name},
        {Address1, &R::address1},
        {Address2, &R::address2},
        {Postcode, &R::postcode},
        {Town, &R::town},
        {Phone, &R::phone},
        {Fax, &R::fax},
        {Activity, &R::activity},
        {Email, &R::email},
        {Civility, &R::civility},
        {DecisionMaker, &R::decision_maker},
        {Function, &R::function},
        {ContactType, &R::contact_type},
        {Interlocutor, &R::interlocutor},
        {Product, &R::product},
        {PurchasePrice, &R::purchase_price},
        {SalePrice, &R::sale_price},
        {Response, &R::response},
        {Arguments, &R::arguments},
        {Appraisal, &R::appraisal},
        {FollowupType, &R::followup_type},
    };
    for (const auto& [at, member] : fields)
        if (at == offset)
            return &(r.*member);
    return nullptr;
}

int nextCustomerCode(const BlockList& list)
{
    return blocks::nextCode(list);
}

} // namespace contact

ContactRecord ContactCodec::blank(const Clock& clock)
{
    ContactRecord r;
    const QDateTime now = clock.now();
    r.contact_date = now.date();
    r.followup_date = now.date();
    r.contact_time = QTime(now.time().hour(), now.time().minute(), now.time().second());
    r.followup_time = QTime(0, 0, 0);
    return r;
}

void ContactCodec::read(const BlockList& list, qsizetype headerIndex, ContactRecord& record)
{
    contact::readBlock(list, headerIndex, record);
    if (record.contact_date > record.followup_date)
        record.followup_date = record.contact_date;
}

} // namespace tarvik
