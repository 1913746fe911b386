#include "exchange/foreign_text.h"
#include "exchange/vcard.h"
#include "storage/ansi.h"

namespace tarvik {

namespace vcard {

// ------------------------------------------------------------ contact fields

namespace {

// The properties toContact reads, by index in the card; -1 where none.
struct Chosen
{
    int fn = -1;
    int org = -1;
    int n = -1;
    int title = -1;
    int adr = -1;
    int phone = -1;
    int fax = -1;
    int email = -1;
    int categories = -1;
    QList<int> notes;
};

bool blank(const Property& p)
{
    return p.text().trimmed().isEmpty();
}

Chosen choose(const Card& card)
{
    Chosen c;
    int anyAdr = -1;
    int anyPhone = -1;
    for (int i = 0; i < card.properties.size(); ++i) {
        const Property& p = card.properties.at(i);
        const QString& name = p.name;
        if (name == u"FN" && c.fn < 0)
            c.fn = i;
        else if (name == u"ORG" && c.org < 0)
            c.org = i;
        else if (name == u"N" && c.n < 0)
            c.n = i;
        else if (name == u"TITLE" && c.title < 0)
            c.title = i;
        else if (name == u"CATEGORIES" && c.categories < 0)
            c.categories = i;
        else if (name == u"NOTE")
            c.notes.append(i);
        else if (name == u"EMAIL" && c.email < 0 && !blank(p))
            c.email = i;
        else if (name == u"ADR" && !blank(p)) {
            if (c.adr < 0 && p.hasType(QStringLiteral("work")))
                c.adr = i;
            if (anyAdr < 0)
                anyAdr = i;
        } else if (name == u"TEL" && !blank(p)) {
            if (p.hasType(QStringLiteral("fax"))) {
                if (c.fax < 0)
                    c.fax = i;
            } else {
                if (c.phone < 0 && p.hasType(QStringLiteral("work")))
                    c.phone = i;
                if (anyPhone < 0)
                    anyPhone = i;
            }
        }
    }
    if (c.adr < 0)
        c.adr = anyAdr;
    if (c.phone < 0)
        c.phone = anyPhone;
    return c;
}

Property property(const char* name, const QString& raw, QStringList types = {})
{
    Property p;
    p.name = QLatin1String(name);
    p.value = raw;
    if (!types.isEmpty())
        p.parameters.append({QStringLiteral("TYPE"), types});
    return p;
}

QString uni(const QByteArray& bytes)
{
    return ansi::toUnicode(bytes);
}

// The values of a component that is a comma list, joined by `glue`.
QString listText(const QString& rawComponent, const QString& glue)
{
    QStringList parts;
    for (const QString& part : split(rawComponent, u','))
        if (!part.trimmed().isEmpty())
            parts.append(part);
    return parts.join(glue);
}

QString telephone(const Property& p)
{
    QString text = p.text().trimmed();
    if (text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        text = text.mid(4);
    return text;
}

} // namespace

Card fromContact(const ContactRecord& c, const QString& uid, const Card* base)
{
    Card card;
    card.version = QStringLiteral("4.0");
    QList<Property>& props = card.properties;
    if (!uid.isEmpty())
        props.append(property("UID", escape(uid)));
    props.append(property("FN", escape(uni(c.name))));
    if (!c.decision_maker.isEmpty() || !c.civility.isEmpty())
        props.append(property("N", escape(uni(c.decision_maker)) + QLatin1String(";;;") +
                                       escape(uni(c.civility)) + QLatin1String(";")));
    if (!c.name.isEmpty())
        props.append(property("ORG", escape(uni(c.name))));
    if (!c.function.isEmpty())
        props.append(property("TITLE", escape(uni(c.function))));
    if (!c.address1.isEmpty() || !c.address2.isEmpty() || !c.town.isEmpty() ||
        !c.postcode.isEmpty()) {
        QString street = uni(c.address1);
        if (!c.address2.isEmpty())
            street += u'\n' + uni(c.address2);
        props.append(property("ADR",
                              QLatin1String(";;") + escape(street) + u';' + escape(uni(c.town)) +
                                  QLatin1String(";;") + escape(uni(c.postcode)) + u';',
                              {QStringLiteral("work")}));
    }
    if (!c.phone.isEmpty())
        props.append(property("TEL", escape(uni(c.phone)),
                              {QStringLiteral("work"), QStringLiteral("voice")}));
    if (!c.fax.isEmpty())
        props.append(
            property("TEL", escape(uni(c.fax)), {QStringLiteral("work"), QStringLiteral("fax")}));
    if (!c.email.isEmpty())
        props.append(property("EMAIL", escape(uni(c.email)), {QStringLiteral("work")}));
    if (!c.activity.isEmpty())
        props.append(property("CATEGORIES", escape(uni(c.activity))));
    if (!c.freeText.isEmpty()) {
        QStringList lines;
        for (const QByteArray& line : c.freeText)
            lines.append(uni(line));
        props.append(property("NOTE", escape(lines.join(u'\n'))));
    }
    if (!c.code.isEmpty())
        props.append(property("X-TARVIK-CODE", escape(uni(c.code))));

    if (base) {
        const Chosen chosen = choose(*base);
        const QList<int> replaced = {chosen.fn,    chosen.org,   chosen.n,
                                     chosen.title, chosen.adr,   chosen.phone,
                                     chosen.fax,   chosen.email, chosen.categories};
        for (int i = 0; i < base->properties.size(); ++i) {
            const Property& p = base->properties.at(i);
            if (replaced.contains(i) || chosen.notes.contains(i) || p.name == u"UID" ||
                p.name == u"X-TARVIK-CODE")
                continue;
            props.append(p);
        }
    }
    return card;
}

namespace {

struct Person
{
    QString names;  // in reading order
    QString prefix; // "M.", "Mme"
};

// The person of N: family name alone as this program writes it, else the
// given, additional and family names in reading order.
Person personOf(const Property& n)
{
    const QStringList parts = rawSplit(n.value, u';');
    const QString family = listText(parts.value(0), QStringLiteral(" "));
    QStringList names;
    for (int i : {1, 2})
        if (const QString v = listText(parts.value(i), QStringLiteral(" ")); !v.isEmpty())
            names.append(v);
    if (!family.isEmpty())
        names.append(family);
    return {names.join(u' '), listText(parts.value(3), QStringLiteral(" "))};
}

// FN, else the units of ORG, else the person.
QString nameOf(const Property* fn, const Property* org, const QString& person)
{
    if (fn && !blank(*fn))
        return fn->text();
    if (org && !blank(*org)) {
        QStringList units;
        for (const QString& u : org->components())
            if (!u.trimmed().isEmpty())
                units.append(u.trimmed());
        return units.join(QLatin1String(", "));
    }
    return person;
}

void readAddress(const Property& adr, ContactRecord& c, exchange::ForeignText& w)
{
    const QStringList parts = adr.components();
    QString street = parts.value(2);
    street.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList streetLines = street.split(u'\n');
    const QString first = streetLines.takeFirst();
    QStringList rest;
    for (const QString& l : streetLines)
        if (!l.trimmed().isEmpty())
            rest.append(l);
    // Nothing of the address is dropped: the extended address, the post
    // office box, the region and a country other than France follow the
    // second street line.
    for (int i : {1, 0, 4})
        if (!parts.value(i).trimmed().isEmpty())
            rest.append(parts.value(i).trimmed());
    const QString country = parts.value(6).trimmed();
    if (!country.isEmpty() && !sameName(country, "France") && !sameName(country, "FR"))
        rest.append(country);
    c.address1 = w.line(first);
    w.endField();
    c.address2 = w.line(rest.join(QLatin1String(", ")));
    w.endField();
    c.town = w.line(parts.value(3));
    w.endField();
    c.postcode = w.line(parts.value(5));
    w.endField();
}

QString withoutScheme(QString text, QLatin1String scheme)
{
    text = text.trimmed();
    if (text.startsWith(scheme, Qt::CaseInsensitive))
        text = text.mid(scheme.size());
    return text;
}

} // namespace

ContactFields toContact(const Card& card)
{
    ContactFields out;
    ContactRecord& c = out.contact;
    exchange::ForeignText w;
    const Chosen chosen = choose(card);
    auto at = [&card](int i) -> const Property* {
        return i >= 0 ? &card.properties.at(i) : nullptr;
    };
    // One field of the record from the text of one property, when the card has it.
    auto field = [&w](QByteArray& into, const QString& text) {
        into = w.line(text);
        w.endField();
    };

    const Person person = at(chosen.n) ? personOf(*at(chosen.n)) : Person();
    field(c.name, nameOf(at(chosen.fn), at(chosen.org), person.names));
    field(c.decision_maker, person.names);
    field(c.civility, person.prefix);
    if (const Property* title = at(chosen.title))
        field(c.function, title->text());
    if (const Property* adr = at(chosen.adr))
        readAddress(*adr, c, w);
    if (const Property* tel = at(chosen.phone))
        field(c.phone, telephone(*tel));
    if (const Property* fax = at(chosen.fax))
        field(c.fax, telephone(*fax));
    if (const Property* email = at(chosen.email))
        field(c.email, withoutScheme(email->text(), QLatin1String("mailto:")));
    if (const Property* cat = at(chosen.categories))
        field(c.activity, listText(cat->value, QStringLiteral(", ")));
    for (int i : chosen.notes)
        if (!blank(card.properties.at(i)))
            c.freeText += w.lines(card.properties.at(i).text());
    w.endField();
    out.replacedFields = w.replacedFields();
    return out;
}

} // namespace vcard

} // namespace tarvik
