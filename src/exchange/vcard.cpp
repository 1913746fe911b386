#include "exchange/vcard.h"

#include "exchange/foreign_text.h"
#include "storage/ansi.h"

#include <QStringDecoder>

#include <optional>

namespace tarvik {

namespace vcard {

namespace {

constexpr qsizetype FoldOctets = 75;

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// ------------------------------------------------------------ reading

struct PhysicalLine
{
    QByteArray text;
    int number = 0; // 1-based
};

QByteArray toUtf8Text(const QByteArray& data)
{
    // A file saved as UTF-16 (by a Windows tool, say), with or without its mark.
    std::optional<QStringConverter::Encoding> wide;
    if (data.startsWith("\xFF\xFE") || (data.size() >= 2 && data[0] != '\0' && data[1] == '\0'))
        wide = QStringConverter::Utf16LE;
    else if (data.startsWith("\xFE\xFF") ||
             (data.size() >= 2 && data[0] == '\0' && data[1] != '\0'))
        wide = QStringConverter::Utf16BE;
    if (wide) {
        QStringDecoder decode(*wide);
        QString text = decode(data);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text.toUtf8();
    }
    if (data.startsWith("\xEF\xBB\xBF"))
        return data.mid(3);
    return data;
}

QList<PhysicalLine> physicalLines(const QByteArray& data)
{
    QList<PhysicalLine> lines;
    const qsizetype n = data.size();
    qsizetype start = 0;
    int number = 1;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append({data.mid(start, i - start), number++});
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append({data.mid(start), number});
    return lines;
}

// The index of the colon that ends the name and parameters, outside quotes.
qsizetype valueColon(const QByteArray& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted)
            return i;
    }
    return -1;
}

bool quotedPrintable(const QByteArray& line)
{
    const qsizetype colon = valueColon(line);
    const QByteArray head = (colon < 0 ? line : line.left(colon)).toUpper();
    return head.contains("QUOTED-PRINTABLE");
}

// Lines with their folding undone: a line that begins with a blank continues
// the one before, and a quoted-printable line that ends with "=" goes on on
// the next line (its soft line break).
QList<PhysicalLine> logicalLines(const QList<PhysicalLine>& physical)
{
    QList<PhysicalLine> lines;
    bool softBreak = false;
    for (const PhysicalLine& line : physical) {
        if (softBreak && !line.text.isEmpty()) {
            PhysicalLine& last = lines.last();
            last.text.chop(1);
            last.text += line.text;
        } else if (!lines.isEmpty() && !line.text.isEmpty() &&
                   (line.text[0] == ' ' || line.text[0] == '\t')) {
            lines.last().text += QByteArrayView(line.text).sliced(1);
        } else if (!line.text.isEmpty()) {
            lines.append(line);
        } else {
            softBreak = false;
            continue;
        }
        const PhysicalLine& last = lines.last();
        softBreak = last.text.endsWith('=') && quotedPrintable(last.text);
    }
    return lines;
}

QByteArray decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    const qsizetype n = in.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = in[i];
        if (c == '=' && i + 2 < n && hex(in[i + 1]) >= 0 && hex(in[i + 2]) >= 0) {
            out += char(hex(in[i + 1]) * 16 + hex(in[i + 2]));
            i += 2;
        } else if (c == '=' && i + 1 == n) {
            // a soft line break left at the very end
        } else {
            out += c; // a lone "=" is kept as it stands
        }
    }
    return out;
}

QString unquote(QByteArray value)
{
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    QString text = QString::fromUtf8(value);
    // The caret escapes of parameter values.
    if (text.contains(u'^')) {
        text.replace(QLatin1String("^n"), QLatin1String("\n"));
        text.replace(QLatin1String("^'"), QLatin1String("\""));
        text.replace(QLatin1String("^^"), QLatin1String("^"));
    }
    return text;
}

QList<QByteArray> splitOutsideQuotes(const QByteArray& text, char separator)
{
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == separator && !quoted) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

Parameter readParameter(const QByteArray& text)
{
    Parameter p;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0) {
        // vCard 2.1 writes bare values: an encoding or a type.
        const QString value = unquote(text.trimmed());
        const QString upper = value.toUpper();
        p.name = (upper == u"QUOTED-PRINTABLE" || upper == u"BASE64" || upper == u"8BIT" ||
                  upper == u"7BIT")
                     ? QStringLiteral("ENCODING")
                     : QStringLiteral("TYPE");
        p.values = {value};
        return p;
    }
    p.name = QString::fromUtf8(text.left(eq).trimmed()).toUpper();
    for (const QByteArray& v : splitOutsideQuotes(text.mid(eq + 1), ','))
        p.values.append(unquote(v));
    return p;
}

struct Reader
{
    ReadResult result;
    bool sawForeignBytes = false;

    // The text of a value: its CHARSET when it names one Qt knows, else UTF-8,
    // else Windows-1252 (which holds every byte) for a file written by an old
    // program in its own code page.
    QString decodeValue(const QByteArray& bytes, const QString& charset)
    {
        if (!charset.isEmpty()) {
            QStringDecoder named(charset.toLatin1().constData(), QStringConverter::Flag::Stateless);
            if (named.isValid()) {
                QString text = named(bytes);
                if (!named.hasError())
                    return text;
            }
        }
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
        sawForeignBytes = true;
        return ansi::toUnicode(bytes);
    }

    // False when the line is no property.
    bool readProperty(const QByteArray& line, Property& p)
    {
        const qsizetype colon = valueColon(line);
        if (colon <= 0)
            return false;
        const QByteArray head = line.left(colon);
        QList<QByteArray> parts = splitOutsideQuotes(head, ';');
        QByteArray name = parts.takeFirst().trimmed();
        const qsizetype dot = name.lastIndexOf('.');
        if (dot >= 0) {
            p.group = QString::fromUtf8(name.left(dot));
            name = name.mid(dot + 1);
        }
        if (name.isEmpty())
            return false;
        p.name = QString::fromUtf8(name).toUpper();
        bool qp = false;
        QString charset;
        for (const QByteArray& part : parts) {
            if (part.trimmed().isEmpty())
                continue;
            Parameter param = readParameter(part);
            if (param.name == u"ENCODING" && param.values.size() == 1 &&
                sameName(param.values.first(), "QUOTED-PRINTABLE")) {
                qp = true;
                continue; // the value is decoded below
            }
            if (param.name == u"CHARSET") {
                charset = param.values.value(0);
                continue;
            }
            p.parameters.append(param);
        }
        QByteArray value = line.mid(colon + 1);
        if (qp)
            value = decodeQuotedPrintable(value);
        p.value = decodeValue(value, charset);
        if (qp) {
            // A line break written as =0D=0A is a line break of the text.
            p.value.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
            p.value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
            p.value.replace(QLatin1Char('\r'), QLatin1String("\\n"));
        }
        return true;
    }

    void skip(int line, const QString& why)
    {
        result.skipped.append(QStringLiteral("ligne %1 : %2").arg(line).arg(why));
    }
};

bool isMarker(const QByteArray& line, const char* marker)
{
    // "BEGIN:VCARD", any letter case, blanks around the value allowed.
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return false;
    const QByteArray name = line.left(colon).trimmed().toUpper();
    const QByteArray value = line.mid(colon + 1).trimmed().toUpper();
    return name == marker && value == "VCARD";
}

} // namespace

ReadResult read(const QByteArray& data)
{
    Reader reader;
    const QList<PhysicalLine> lines = logicalLines(physicalLines(toUtf8Text(data)));

    bool inCard = false;
    int cardLine = 0;
    int nested = 0;
    bool strayLines = false;
    Card card;
    for (const PhysicalLine& line : lines) {
        const QByteArray& text = line.text;
        if (isMarker(text, "BEGIN")) {
            if (!inCard) {
                inCard = true;
                cardLine = line.number;
                card = Card();
                continue;
            }
            // A card inside a card: the AGENT of vCard 2.1 may hold one; kept
            // out of the outer card's fields.
            const bool agent = !card.properties.isEmpty() &&
                               card.properties.last().name == u"AGENT" &&
                               card.properties.last().value.trimmed().isEmpty();
            if (agent || nested > 0) {
                ++nested;
                continue;
            }
            reader.result.skipped.append(
                QStringLiteral("carte de la ligne %1 : pas de END:VCARD, carte ignorée")
                    .arg(cardLine));
            cardLine = line.number;
            card = Card();
            continue;
        }
        if (isMarker(text, "END")) {
            if (nested > 0) {
                --nested;
                continue;
            }
            if (!inCard) {
                reader.skip(line.number, QStringLiteral("END:VCARD sans BEGIN:VCARD, ignoré"));
                continue;
            }
            reader.result.cards.append(card);
            inCard = false;
            continue;
        }
        if (!inCard) {
            if (!text.trimmed().isEmpty())
                strayLines = true;
            continue;
        }
        if (nested > 0)
            continue;
        Property p;
        if (!reader.readProperty(text, p)) {
            reader.skip(line.number,
                        QStringLiteral("ligne qui n'est pas une propriété de carte, ignorée"));
            continue;
        }
        if (p.name == u"VERSION")
            card.version = p.value.trimmed();
        else
            card.properties.append(p);
    }
    if (inCard)
        reader.result.skipped.append(
            QStringLiteral("carte de la ligne %1 : pas de END:VCARD, carte ignorée").arg(cardLine));
    if (strayLines)
        reader.result.skipped.append(QStringLiteral("lignes hors des cartes ignorées"));
    if (reader.sawForeignBytes)
        reader.result.skipped.append(
            QStringLiteral("texte qui n'est pas en UTF-8 lu comme du Windows-1252"));
    return std::move(reader.result);
}

// ------------------------------------------------------------ values

QString escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case ',':
            out += QLatin1String("\\,");
            break;
        case ';':
            out += QLatin1String("\\;");
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QLatin1String("\\n");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescape(const QString& raw)
{
    if (!raw.contains(u'\\'))
        return raw;
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 'n':
        case 'N':
            out += u'\n';
            break;
        case '\\':
        case ',':
        case ';':
        case ':':
            out += next;
            break;
        default:
            // Not an escape (a 2.1 value may hold a path): kept as written.
            out += c;
            out += next;
        }
    }
    return out;
}

namespace {

QStringList rawSplit(const QString& raw, QChar separator)
{
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'\\' && i + 1 < raw.size()) {
            current += c;
            current += raw[++i];
        } else if (c == separator) {
            parts.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(current);
    return parts;
}

} // namespace

QStringList split(const QString& raw, QChar separator)
{
    QStringList parts = rawSplit(raw, separator);
    for (QString& part : parts)
        part = unescape(part);
    return parts;
}

QStringList Property::parameter(const QString& wanted) const
{
    QStringList values;
    for (const Parameter& p : parameters)
        if (p.name.compare(wanted, Qt::CaseInsensitive) == 0)
            for (const QString& v : p.values)
                // "TYPE=work,voice" and the 2.1 "TYPE=WORK;VOICE" alike
                for (const QString& one : v.split(u','))
                    values.append(one.trimmed());
    return values;
}

bool Property::hasType(const QString& type) const
{
    return parameter(QStringLiteral("TYPE")).contains(type, Qt::CaseInsensitive);
}

QString Property::text() const
{
    return unescape(value);
}

QStringList Property::components() const
{
    return split(value, u';');
}

const Property* Card::first(const QString& name) const
{
    for (const Property& p : properties)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

QList<const Property*> Card::all(const QString& name) const
{
    QList<const Property*> found;
    for (const Property& p : properties)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            found.append(&p);
    return found;
}

QString Card::text(const QString& name) const
{
    const Property* p = first(name);
    return p ? p->text() : QString();
}

// ------------------------------------------------------------ writing

namespace {

QString parameterValue(const QString& value)
{
    QString v = value;
    v.replace(u'"', u'\'');
    v.replace(QLatin1String("\r\n"), QLatin1String("^n"));
    v.replace(u'\n', QLatin1String("^n"));
    v.replace(u'\r', QLatin1String("^n"));
    if (v.contains(u':') || v.contains(u';') || v.contains(u','))
        return u'"' + v + u'"';
    return v;
}

// The raw value made safe for one line: a line break left in it is written
// as its escape, other control characters, which a card may not hold, are
// left out.
QString lineValue(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < raw.size() && raw[i + 1] == u'\n')
                ++i;
            out += QLatin1String("\\n");
        } else if (c.unicode() < 0x20 && c != u'\t') {
            continue;
        } else if (c.unicode() == 0x7F) {
            continue;
        } else {
            out += c;
        }
    }
    return out;
}

void appendFolded(QByteArray& out, const QByteArray& line)
{
    qsizetype pos = 0;
    qsizetype room = FoldOctets;
    const qsizetype n = line.size();
    while (n - pos > room) {
        qsizetype cut = pos + room;
        // Never inside a UTF-8 sequence: back to the start of the character.
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += QByteArrayView(line).sliced(pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = FoldOctets - 1;
    }
    out += QByteArrayView(line).sliced(pos);
    out += "\r\n";
}

} // namespace

QByteArray write(const Card& card)
{
    QByteArray out("BEGIN:VCARD\r\nVERSION:4.0\r\n");
    for (const Property& p : card.properties) {
        QString line;
        if (!p.group.isEmpty())
            line += p.group + u'.';
        line += p.name;
        for (const Parameter& param : p.parameters) {
            line += u';' + param.name;
            if (param.values.isEmpty())
                continue;
            line += u'=';
            for (qsizetype i = 0; i < param.values.size(); ++i) {
                if (i > 0)
                    line += u',';
                line += parameterValue(param.values.at(i));
            }
        }
        line += u':' + lineValue(p.value);
        appendFolded(out, line.toUtf8());
    }
    out += "END:VCARD\r\n";
    return out;
}

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

ContactFields toContact(const Card& card)
{
    ContactFields out;
    ContactRecord& c = out.contact;
    exchange::ForeignText w;
    const Chosen chosen = choose(card);
    auto at = [&card](int i) -> const Property* {
        return i >= 0 ? &card.properties.at(i) : nullptr;
    };

    // The person of N: family name alone as this program writes it, else
    // the given, additional and family names in reading order.
    QString person;
    QString prefix;
    if (const Property* n = at(chosen.n)) {
        const QStringList parts = rawSplit(n->value, u';');
        const QString family = listText(parts.value(0), QStringLiteral(" "));
        QStringList names;
        for (int i : {1, 2})
            if (const QString v = listText(parts.value(i), QStringLiteral(" ")); !v.isEmpty())
                names.append(v);
        if (!family.isEmpty())
            names.append(family);
        person = names.join(u' ');
        prefix = listText(parts.value(3), QStringLiteral(" "));
    }

    QString name;
    if (const Property* fn = at(chosen.fn); fn && !blank(*fn))
        name = fn->text();
    else if (const Property* org = at(chosen.org); org && !blank(*org)) {
        QStringList units;
        for (const QString& u : org->components())
            if (!u.trimmed().isEmpty())
                units.append(u.trimmed());
        name = units.join(QLatin1String(", "));
    } else
        name = person;
    c.name = w.line(name);
    w.endField();
    c.decision_maker = w.line(person);
    w.endField();
    c.civility = w.line(prefix);
    w.endField();
    if (const Property* title = at(chosen.title)) {
        c.function = w.line(title->text());
        w.endField();
    }

    if (const Property* adr = at(chosen.adr)) {
        const QStringList parts = adr->components();
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
    if (const Property* tel = at(chosen.phone)) {
        c.phone = w.line(telephone(*tel));
        w.endField();
    }
    if (const Property* fax = at(chosen.fax)) {
        c.fax = w.line(telephone(*fax));
        w.endField();
    }
    if (const Property* email = at(chosen.email)) {
        QString text = email->text().trimmed();
        if (text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
            text = text.mid(7);
        c.email = w.line(text);
        w.endField();
    }
    if (const Property* cat = at(chosen.categories)) {
        c.activity = w.line(listText(cat->value, QStringLiteral(", ")));
        w.endField();
    }
    for (int i : chosen.notes)
        if (!blank(card.properties.at(i)))
            c.freeText += w.lines(card.properties.at(i).text());
    w.endField();
    out.replacedFields = w.replacedFields();
    return out;
}

} // namespace vcard

} // namespace tarvik
