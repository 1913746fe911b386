#include "exchange/vcard.h"

#include "storage/ansi.h"

#include <QStringDecoder>

#include <optional>

// Reading cards as other programs write them: versions 2.1, 3.0 and 4.0,
// folded lines, quoted-printable values, charsets other than UTF-8.

namespace tarvik {

namespace vcard {

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

namespace {

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

bool isQuotedPrintable(const Parameter& param)
{
    return param.name == u"ENCODING" && param.values.size() == 1 &&
           sameName(param.values.first(), "QUOTED-PRINTABLE");
}

// Whether a line's value is quoted-printable, read from its parameters as
// the property itself is read: a soft line break is undone only where the
// value is then decoded.
bool quotedPrintable(const QByteArray& line)
{
    const qsizetype colon = valueColon(line);
    if (colon <= 0)
        return false;
    QList<QByteArray> parts = splitOutsideQuotes(line.left(colon), ';');
    parts.removeFirst();
    for (const QByteArray& part : parts)
        if (!part.trimmed().isEmpty() && isQuotedPrintable(readParameter(part)))
            return true;
    return false;
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

// A property, group or parameter name as cards write them: letters, digits
// and "-" ("_" too, which some programs use); a group may hold dots.
bool isName(QStringView name, bool dots)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                        (u >= '0' && u <= '9') || u == '-' || u == '_' || (dots && u == '.');
        if (!ok)
            return false;
    }
    return true;
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
        p.name = QString::fromUtf8(name).toUpper();
        // Anything else is no property: written out again, a quote or a
        // colon in a name would change how the line reads.
        if (!isName(p.name, false) || (dot >= 0 && !isName(p.group, true)))
            return false;
        bool qp = false;
        QString charset;
        for (const QByteArray& part : parts) {
            if (part.trimmed().isEmpty())
                continue;
            Parameter param = readParameter(part);
            if (!isName(param.name, false))
                continue; // damaged: no program could tell what it says
            if (isQuotedPrintable(param)) {
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
        if (p.name == u"BEGIN" || p.name == u"END") {
            // Not a card's marker, and no property: written out again it
            // could read as one and cut the card short.
            reader.skip(line.number, QStringLiteral("ligne %1 mal formée, ignorée").arg(p.name));
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

} // namespace vcard

} // namespace tarvik
