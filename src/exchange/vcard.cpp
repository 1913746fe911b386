#include "exchange/vcard.h"

namespace tarvik {

namespace vcard {

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

constexpr qsizetype FoldOctets = 75;

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

} // namespace vcard

} // namespace tarvik
