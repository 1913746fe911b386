#include "sync/card_fields.h"

#include "storage/ansi.h"

#include <QCryptographicHash>
#include <optional>

namespace tarvik::sync {

// ---------------------------------------------------------------- values of a record

CardValues valuesOf(const ContactRecord& r)
{
    CardValues v;
    v[FieldName] = r.name;
    v[FieldAddress1] = r.address1;
    v[FieldAddress2] = r.address2;
    v[FieldPostcode] = r.postcode;
    v[FieldTown] = r.town;
    v[FieldPhone] = r.phone;
    v[FieldFax] = r.fax;
    v[FieldActivity] = r.activity;
    v[FieldEmail] = r.email;
    v[FieldCivility] = r.civility;
    v[FieldDecisionMaker] = r.decision_maker;
    v[FieldFunction] = r.function;
    v[FieldCode] = r.code;
    v[FieldNote] = r.freeText.join('\n');
    return v;
}

void applyValues(const CardValues& v, ContactRecord& r)
{
    r.name = v[FieldName];
    r.address1 = v[FieldAddress1];
    r.address2 = v[FieldAddress2];
    r.postcode = v[FieldPostcode];
    r.town = v[FieldTown];
    r.phone = v[FieldPhone];
    r.fax = v[FieldFax];
    r.activity = v[FieldActivity];
    r.email = v[FieldEmail];
    r.civility = v[FieldCivility];
    r.decision_maker = v[FieldDecisionMaker];
    r.function = v[FieldFunction];
    // The customer code stays the file's own: a card's X-TARVIK-CODE may be
    // another file's numbering.
    r.freeText.clear();
    if (!v[FieldNote].isEmpty())
        r.freeText = v[FieldNote].split('\n');
}

QString fieldHashes(const CardValues& values)
{
    QStringList parts;
    for (const QByteArray& value : values)
        parts.append(QString::fromLatin1(
            QCryptographicHash::hash(value, QCryptographicHash::Sha1).toHex().left(10)));
    return parts.join(u',');
}

QList<CardField> changedFields(const QString& before, const QString& now)
{
    const QStringList a = before.split(u',');
    const QStringList b = now.split(u',');
    QList<CardField> out;
    for (int f = 0; f < CardFieldCount; ++f)
        if (a.size() != CardFieldCount || b.size() != CardFieldCount || a.at(f) != b.at(f))
            out.append(CardField(f));
    return out;
}

// ---------------------------------------------------------------- lines

QList<QByteArray> unfoldLines(const QByteArray& text)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = n;
        QByteArray line = text.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = end + 1;
        if (!line.isEmpty() && (line.at(0) == ' ' || line.at(0) == '\t') && !out.isEmpty())
            out.last().append(line.mid(1));
        else if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

QByteArray foldLine(const QByteArray& line)
{
    QByteArray out;
    qsizetype pos = 0;
    int room = 75;
    while (line.size() - pos > room) {
        qsizetype cut = pos + room;
        // Back up to the first byte of a UTF-8 character.
        while (cut > pos && (uchar(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        out.append(line.mid(pos, cut - pos));
        out.append("\r\n ");
        pos = cut;
        room = 74;
    }
    out.append(line.mid(pos));
    out.append("\r\n");
    return out;
}

namespace {

struct Property
{
    QByteArray group; // with its dot
    QByteArray name;  // upper case
    QByteArray params;
    QByteArray value;

    QByteArray line() const { return group + name + params + ':' + value; }
};

std::optional<Property> readProperty(const QByteArray& line)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon <= 0)
        return std::nullopt;
    const QByteArray head = line.left(colon);
    Property p;
    qsizetype semi = head.indexOf(';');
    QByteArray name = semi < 0 ? head : head.left(semi);
    p.params = semi < 0 ? QByteArray() : head.mid(semi);
    const qsizetype dot = name.indexOf('.');
    if (dot >= 0) {
        p.group = name.left(dot + 1);
        name = name.mid(dot + 1);
    }
    p.name = name.toUpper();
    p.value = line.mid(colon + 1);
    return p;
}

QString unescape(const QByteArray& raw)
{
    const QString s = QString::fromUtf8(raw);
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'\\' && i + 1 < s.size()) {
            const QChar n = s.at(++i);
            out.append(n == u'n' || n == u'N' ? QChar(u'\n') : n);
        } else {
            out.append(c);
        }
    }
    return out;
}

QByteArray escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\\' || c == u',' || c == u';')
            out.append(u'\\').append(c);
        else if (c == u'\n')
            out.append(QStringLiteral("\\n"));
        else if (c != u'\r')
            out.append(c);
    }
    return out.toUtf8();
}

// The value's components, split at the semicolons that are not escaped.
QList<QByteArray> components(const QByteArray& value)
{
    QList<QByteArray> out{QByteArray()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '\\' && i + 1 < value.size()) {
            out.last().append(c).append(value.at(++i));
        } else if (c == ';') {
            out.append(QByteArray());
        } else {
            out.last().append(c);
        }
    }
    return out;
}

bool hasType(const Property& p, const char* type)
{
    // TYPE=work,fax / TYPE=WORK;TYPE=FAX / a bare 2.1 parameter ;FAX
    const QByteArray params = p.params.toLower();
    for (const QByteArray& param : params.split(';')) {
        const QByteArray value = param.startsWith("type=") ? param.mid(5) : param;
        for (const QByteArray& t : value.split(','))
            if (t == type || t == QByteArray("\"") + type + "\"")
                return true;
    }
    return false;
}

// The line that carries `field`, or -1.
qsizetype findLine(const QList<QByteArray>& lines, const char* name,
                   bool (*accept)(const Property&) = nullptr,
                   bool (*prefer)(const Property&) = nullptr)
{
    qsizetype first = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto p = readProperty(lines.at(i));
        if (!p || p->name != name || (accept && !accept(*p)))
            continue;
        if (!prefer || prefer(*p))
            return i;
        if (first < 0)
            first = i;
    }
    return first;
}

bool isFax(const Property& p)
{
    return hasType(p, "fax");
}
bool notFax(const Property& p)
{
    return !hasType(p, "fax");
}
bool isWork(const Property& p)
{
    return hasType(p, "work");
}

qsizetype phoneLine(const QList<QByteArray>& lines)
{
    return findLine(lines, "TEL", notFax, isWork);
}
qsizetype faxLine(const QList<QByteArray>& lines)
{
    return findLine(lines, "TEL", isFax);
}
qsizetype addressLine(const QList<QByteArray>& lines)
{
    return findLine(lines, "ADR", nullptr, isWork);
}

// A field of the contact file: one line, Windows-1252.
QByteArray toFile(const QString& text, bool* lossy, bool multiline = false)
{
    QString t = text;
    if (!multiline)
        t.replace(u'\n', u' ');
    t.remove(u'\r');
    QByteArray out;
    if (!ansi::fromUnicode(t, out)) {
        if (lossy)
            *lossy = true;
        out = ansi::fromUnicode(t);
    }
    return out;
}

QString fromFile(const QByteArray& bytes)
{
    return ansi::toUnicode(bytes);
}

QString component(const QList<QByteArray>& parts, int i)
{
    return i < parts.size() ? unescape(parts.at(i)) : QString();
}

} // namespace

// ---------------------------------------------------------------- the server's card

bool ServerCard::parse(const QByteArray& text, QString* error)
{
    m_lines.clear();
    const QList<QByteArray> lines = unfoldLines(text);
    int depth = 0;
    bool ended = false;
    for (const QByteArray& line : lines) {
        const QByteArray upper = line.trimmed().toUpper();
        if (upper == "BEGIN:VCARD") {
            if (++depth > 1) {
                m_lines.append(line); // a nested card (an AGENT) is kept as it is
            }
            continue;
        }
        if (upper == "END:VCARD") {
            if (--depth == 0) {
                ended = true;
                break;
            }
            m_lines.append(line);
            continue;
        }
        if (depth >= 1)
            m_lines.append(line);
    }
    if (!ended) {
        if (error)
            *error = QStringLiteral("carte vCard incomplète (pas de END:VCARD)");
        m_lines.clear();
        return false;
    }
    return true;
}

QString ServerCard::uid() const
{
    const qsizetype i = findLine(m_lines, "UID");
    if (i < 0)
        return {};
    return unescape(readProperty(m_lines.at(i))->value).trimmed();
}

CardValues ServerCard::values(std::array<bool, CardFieldCount>* lossy) const
{
    CardValues v;
    std::array<bool, CardFieldCount> lost{};
    auto value = [&](qsizetype line) {
        return line < 0 ? QByteArray() : readProperty(m_lines.at(line))->value;
    };
    auto text = [&](const char* name) { return unescape(value(findLine(m_lines, name))); };

    QString name = text("FN").trimmed();
    if (name.isEmpty())
        name = component(components(value(findLine(m_lines, "ORG"))), 0);
    const QList<QByteArray> n = components(value(findLine(m_lines, "N")));
    if (name.isEmpty())
        name = (component(n, 1) + u' ' + component(n, 0)).trimmed();
    v[FieldName] = toFile(name, &lost[FieldName]);

    const QList<QByteArray> adr = components(value(addressLine(m_lines)));
    const QString street = component(adr, 2);
    const qsizetype nl = street.indexOf(u'\n');
    v[FieldAddress1] = toFile(nl < 0 ? street : street.left(nl), &lost[FieldAddress1]);
    v[FieldAddress2] = toFile(nl < 0 ? QString() : street.mid(nl + 1), &lost[FieldAddress2]);
    v[FieldTown] = toFile(component(adr, 3), &lost[FieldTown]);
    v[FieldPostcode] = toFile(component(adr, 5), &lost[FieldPostcode]);

    v[FieldPhone] = toFile(unescape(value(phoneLine(m_lines))), &lost[FieldPhone]);
    v[FieldFax] = toFile(unescape(value(faxLine(m_lines))), &lost[FieldFax]);
    v[FieldActivity] = toFile(text("CATEGORIES"), &lost[FieldActivity]);
    v[FieldEmail] = toFile(text("EMAIL"), &lost[FieldEmail]);
    v[FieldCivility] = toFile(component(n, 3), &lost[FieldCivility]);
    v[FieldDecisionMaker] = toFile(component(n, 0), &lost[FieldDecisionMaker]);
    v[FieldFunction] = toFile(text("TITLE"), &lost[FieldFunction]);
    v[FieldCode] = toFile(text("X-TARVIK-CODE"), &lost[FieldCode]);
    v[FieldNote] = toFile(text("NOTE"), &lost[FieldNote], true);
    if (lossy)
        *lossy = lost;
    return v;
}

void ServerCard::merge(const CardValues& v, const QList<CardField>& fields)
{
    auto has = [&](CardField f) { return fields.contains(f); };
    auto text = [&](CardField f) { return fromFile(v[f]); };

    // Sets the value of the line at `index` (keeping its group and
    // parameters), adds `fresh` + value when there is none, and removes the
    // line when the value is empty and `removeWhenEmpty`.
    auto put = [&](qsizetype index, const QByteArray& fresh, const QByteArray& value,
                   bool removeWhenEmpty = true) {
        if (index >= 0) {
            if (value.isEmpty() && removeWhenEmpty) {
                m_lines.removeAt(index);
                return;
            }
            Property p = *readProperty(m_lines.at(index));
            p.value = value;
            m_lines[index] = p.line();
        } else if (!value.isEmpty() || !removeWhenEmpty) {
            m_lines.append(fresh + ':' + value);
        }
    };
    // Replaces components of the line at `index`, keeping the others.
    auto putComponents = [&](qsizetype index, const QByteArray& fresh, int count,
                             const QList<std::pair<int, QString>>& parts) {
        QList<QByteArray> comps;
        if (index >= 0)
            comps = components(readProperty(m_lines.at(index))->value);
        while (comps.size() < count)
            comps.append(QByteArray());
        bool any = false;
        for (const auto& [i, value] : parts)
            comps[i] = escape(value);
        for (const QByteArray& c : comps)
            any |= !c.isEmpty();
        put(index, fresh, any ? comps.join(';') : QByteArray());
    };

    if (has(FieldName)) {
        put(findLine(m_lines, "FN"), "FN", escape(text(FieldName)), false);
        const qsizetype org = findLine(m_lines, "ORG");
        if (org >= 0 || !v[FieldName].isEmpty())
            putComponents(org, "ORG", 1, {{0, text(FieldName)}});
    }
    if (has(FieldAddress1) || has(FieldAddress2) || has(FieldPostcode) || has(FieldTown)) {
        QList<std::pair<int, QString>> parts;
        if (has(FieldAddress1) || has(FieldAddress2)) {
            const QString a2 = text(FieldAddress2);
            parts.append(
                {2, a2.isEmpty() ? text(FieldAddress1) : text(FieldAddress1) + u'\n' + a2});
        }
        if (has(FieldTown))
            parts.append({3, text(FieldTown)});
        if (has(FieldPostcode))
            parts.append({5, text(FieldPostcode)});
        putComponents(addressLine(m_lines), "ADR;TYPE=work", 7, parts);
    }
    if (has(FieldPhone))
        put(phoneLine(m_lines), "TEL;TYPE=work,voice", escape(text(FieldPhone)));
    if (has(FieldFax))
        put(faxLine(m_lines), "TEL;TYPE=work,fax", escape(text(FieldFax)));
    if (has(FieldActivity))
        put(findLine(m_lines, "CATEGORIES"), "CATEGORIES", escape(text(FieldActivity)));
    if (has(FieldEmail))
        put(findLine(m_lines, "EMAIL"), "EMAIL;TYPE=work", escape(text(FieldEmail)));
    if (has(FieldCivility) || has(FieldDecisionMaker)) {
        QList<std::pair<int, QString>> parts;
        if (has(FieldDecisionMaker))
            parts.append({0, text(FieldDecisionMaker)});
        if (has(FieldCivility))
            parts.append({3, text(FieldCivility)});
        putComponents(findLine(m_lines, "N"), "N", 5, parts);
    }
    if (has(FieldFunction))
        put(findLine(m_lines, "TITLE"), "TITLE", escape(text(FieldFunction)));
    if (has(FieldCode))
        put(findLine(m_lines, "X-TARVIK-CODE"), "X-TARVIK-CODE", escape(text(FieldCode)));
    if (has(FieldNote))
        put(findLine(m_lines, "NOTE"), "NOTE", escape(text(FieldNote)));
}

QByteArray ServerCard::text() const
{
    QByteArray out = "BEGIN:VCARD\r\n";
    for (const QByteArray& line : m_lines)
        out += foldLine(line);
    out += "END:VCARD\r\n";
    return out;
}

ServerCard ServerCard::fromValues(const QString& uid, const CardValues& values)
{
    ServerCard card;
    card.m_lines = {"VERSION:4.0", "UID:" + escape(uid)};
    QList<CardField> all;
    for (int f = 0; f < CardFieldCount; ++f)
        all.append(CardField(f));
    card.merge(values, all);
    return card;
}

} // namespace tarvik::sync
