#include "exchange/csv_contacts.h"

#include "contacts/contact_record.h"
#include "exchange/csv_columns.h"
#include "exchange/csv_table.h"
#include "exchange/foreign_text.h"
#include "platform/errors.h"
#include "storage/ansi.h"
#include "storage/block_index.h"
#include "storage/dates.h"

#include <QHash>
#include <QRegularExpression>

#include <map>

namespace tarvik {

namespace exchange {

using namespace csv_columns;

namespace {

// Google writes several values of one cell joined by " ::: ".
QStringList cellValues(const QString& cell)
{
    QStringList values;
    for (const QString& v : cell.split(QLatin1String(" ::: ")))
        if (!v.trimmed().isEmpty())
            values.append(v.trimmed());
    return values;
}

struct Phone
{
    QString value;
    QString label;
    QString name; // what the free text calls it when it is not taken
};

struct Address
{
    QString label;
    QString parts[Formatted + 1];
    bool empty() const
    {
        for (const QString& p : parts)
            if (!p.trimmed().isEmpty())
                return false;
        return true;
    }
};

bool isFax(const QString& label)
{
    return label.contains(QLatin1String("fax"), Qt::CaseInsensitive) ||
           label.contains(QLatin1String("télécopie"), Qt::CaseInsensitive);
}

bool isWork(const QString& label)
{
    return label.contains(QLatin1String("work"), Qt::CaseInsensitive) ||
           label.contains(QLatin1String("business"), Qt::CaseInsensitive) ||
           label.contains(QLatin1String("bureau"), Qt::CaseInsensitive) ||
           label.contains(QLatin1String("travail"), Qt::CaseInsensitive);
}

QString joined(const QStringList& parts, const QString& glue)
{
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty())
            kept.append(p.trimmed());
    return kept.join(glue);
}

// A value of the program's own export that must be a date, a time or a box
// to be read back: anything else is left out of its field and kept in the
// free text.
bool fitsField(int offset, const QString& value)
{
    const QByteArray b = value.toLatin1();
    switch (offset) {
    case contact::ContactDate:
    case contact::FollowupDate:
        return dates::parse(b).isValid();
    case contact::ContactTime:
    case contact::FollowupTime:
        return dates::parseTime(b).isValid();
    case contact::Alert:
    case contact::SaleClosed:
        return value == u"Y" || value == u"N";
    default:
        return true;
    }
}

bool trimmedField(int offset)
{
    return offset == contact::ContactDate || offset == contact::ContactTime ||
           offset == contact::FollowupDate || offset == contact::FollowupTime ||
           offset == contact::Alert || offset == contact::SaleClosed;
}

} // namespace

QStringList csvHeaders()
{
    QStringList headers;
    for (const char* c : Captions)
        headers.append(QString::fromUtf8(c));
    headers.append(QString::fromUtf8(FreeTextCaption));
    return headers;
}

QString columnChoiceName(int choice)
{
    if (choice == ColumnChoice::FreeText)
        return QString::fromUtf8(FreeTextCaption);
    if (choice >= contact::Code && choice <= contact::FixedLines) {
        QString name = QString::fromUtf8(Captions[choice - 1]);
        if (choice == contact::Address1)
            name += QStringLiteral(" (1re ligne)");
        else if (choice == contact::Address2)
            name += QStringLiteral(" (2e ligne)");
        return name;
    }
    return QStringLiteral("(ignorée)");
}

QByteArray exportCsv(const BlockList& list)
{
    QString out = csv::row(csvHeaders());
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    QStringList fields;
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        fields.clear();
        for (int offset = contact::Code; offset <= contact::FixedLines; ++offset)
            fields.append(ansi::toUnicode(contact::field(list, block.first, offset)));
        QStringList freeText;
        const qsizetype end = block.end();
        for (qsizetype i = block.first + contact::FixedLines + 1; i < end; ++i) {
            const QByteArray& line = list.at(i);
            if (line.startsWith(contact::FreeTextPrefix))
                freeText.append(ansi::toUnicode(line.mid(4)));
        }
        fields.append(freeText.join(u'\n'));
        out += csv::row(fields);
    }
    return "\xEF\xBB\xBF" + out.toUtf8();
}

namespace {

// Each column's target by its header; the columns no header names are put
// to the user through `mapper` (without one, they are left out).
QList<Target> columnTargets(const csv::Table& table, ColumnMapper* mapper, QStringList& skipped)
{
    const QHash<QString, Target>& known = knownHeaders();
    const QStringList& header = table.rows.first();
    QList<Target> targets(header.size());
    QList<UnknownColumn> unknown;
    int addressSeen = 0;
    for (int i = 0; i < header.size(); ++i) {
        const QString k = key(header.at(i));
        if (k.isEmpty())
            continue;
        if (k == u"adresse") {
            // The two address lines of this program's export share a caption.
            targets[i] = {
                Kind::Field, addressSeen++ == 0 ? contact::Address1 : contact::Address2, 0, 0, {}};
            continue;
        }
        if (const auto it = known.constFind(k); it != known.constEnd()) {
            targets[i] = *it;
            continue;
        }
        if (const std::optional<Target> t = numbered(k)) {
            targets[i] = *t;
            continue;
        }
        UnknownColumn u{i, header.at(i), {}};
        for (qsizetype r = 1; r < table.rows.size() && u.samples.size() < 3; ++r) {
            const QString v = table.rows.at(r).value(i).trimmed();
            if (!v.isEmpty())
                u.samples.append(v);
        }
        if (!u.samples.isEmpty()) // a column that holds nothing needs no answer
            unknown.append(u);
    }
    if (unknown.isEmpty())
        return targets;
    std::optional<QList<int>> choices;
    if (mapper) {
        choices = mapper->mapColumns(unknown);
        if (!choices)
            throw TarvikError(QStringLiteral("Import annulé"));
    }
    for (qsizetype u = 0; u < unknown.size(); ++u) {
        const int choice = choices ? choices->value(u, ColumnChoice::Ignored) : 0;
        Target& t = targets[unknown.at(u).column];
        if (choice == ColumnChoice::FreeText)
            t.kind = Kind::Extra;
        else if (choice >= contact::Name && choice <= contact::FixedLines)
            t = {Kind::Field, choice, 0, 0, {}};
        else
            skipped.append(QStringLiteral("colonne « %1 » ignorée").arg(unknown.at(u).header));
    }
    return targets;
}

// What the cells of one row give, before the record's fields are chosen.
struct RowValues
{
    QString direct[contact::FixedLines + 1];
    QString first, middle, last, display, company;
    std::map<int, Phone> phones;
    std::map<int, Phone> emails;
    std::map<int, Address> addresses;
    QStringList freeText;
    QStringList extras; // kept in the free text after it
    bool longRow = false;
};

void takeCell(RowValues& v, const Target& t, const QString& header, const QString& cell)
{
    auto keep = [](QString& into, const QString& value) {
        if (into.isEmpty())
            into = value;
    };
    switch (t.kind) {
    case Kind::Ignore:
        break;
    case Kind::Field:
        if (!fitsField(t.offset, cell.trimmed()))
            v.extras.append(header + QStringLiteral(" : ") + cell);
        else if (v.direct[t.offset].isEmpty())
            v.direct[t.offset] = trimmedField(t.offset) ? cell.trimmed() : cell;
        break;
    case Kind::FreeText:
        v.freeText.append(cell);
        break;
    case Kind::Extra:
        // Outlook writes "0/0/00" for a date it does not have.
        if (cell.trimmed() != u"0/0/00")
            v.extras.append(header + QStringLiteral(" : ") + cell);
        break;
    case Kind::First:
        keep(v.first, cell.trimmed());
        break;
    case Kind::Middle:
        keep(v.middle, cell.trimmed());
        break;
    case Kind::Last:
        keep(v.last, cell.trimmed());
        break;
    case Kind::Display:
        keep(v.display, cell.trimmed());
        break;
    case Kind::Company:
        keep(v.company, cell.trimmed());
        break;
    case Kind::PhoneValue:
    case Kind::EmailValue: {
        Phone& p = (t.kind == Kind::PhoneValue ? v.phones : v.emails)[t.slot];
        QStringList values = cellValues(cell);
        p.value = values.isEmpty() ? QString() : values.takeFirst();
        if (!t.label.isEmpty()) {
            p.label = t.label;
            p.name = header;
        }
        for (const QString& more : values)
            v.extras.append(header + QStringLiteral(" : ") + more);
        break;
    }
    case Kind::PhoneLabel: {
        Phone& p = v.phones[t.slot];
        p.label = cell;
        p.name = cell.trimmed().remove(QLatin1String("* "));
        break;
    }
    case Kind::AddressPart: {
        Address& a = v.addresses[t.slot];
        a.parts[t.part] = cell;
        if (!t.label.isEmpty())
            a.label = t.label;
        break;
    }
    case Kind::AddressLabel:
        v.addresses[t.slot].label = cell;
        break;
    }
}

RowValues gather(const QStringList& row, const QStringList& header, const QList<Target>& targets)
{
    RowValues v;
    for (int i = 0; i < header.size() && i < row.size(); ++i)
        if (!row.at(i).trimmed().isEmpty())
            takeCell(v, targets.at(i), header.at(i), row.at(i));
    // Values beyond the header's last column are kept in the free text.
    for (qsizetype i = header.size(); i < row.size(); ++i)
        if (!row.at(i).trimmed().isEmpty()) {
            v.longRow = true;
            v.extras.append(row.at(i));
        }
    return v;
}

void chooseNames(RowValues& v)
{
    const QString person = v.first.isEmpty() && v.middle.isEmpty() && v.last.isEmpty()
                               ? v.display
                               : joined({v.first, v.middle, v.last}, QStringLiteral(" "));
    if (v.direct[contact::Name].isEmpty())
        v.direct[contact::Name] =
            !v.company.isEmpty() ? v.company : (!v.display.isEmpty() ? v.display : person);
    if (v.direct[contact::DecisionMaker].isEmpty())
        v.direct[contact::DecisionMaker] = person;
}

// The phone: the first work number that is not a fax, else the first that
// is not a fax; the fax: the first fax. The numbers not taken are kept in
// the free text.
void choosePhones(RowValues& v)
{
    const Phone* phone = nullptr;
    const Phone* anyPhone = nullptr;
    const Phone* fax = nullptr;
    for (const auto& [slot, p] : v.phones) {
        if (p.value.isEmpty())
            continue;
        if (isFax(p.label)) {
            if (!fax)
                fax = &p;
        } else {
            if (!phone && isWork(p.label))
                phone = &p;
            if (!anyPhone)
                anyPhone = &p;
        }
    }
    if (!phone)
        phone = anyPhone;
    if (v.direct[contact::Phone].isEmpty() && phone)
        v.direct[contact::Phone] = phone->value;
    if (v.direct[contact::Fax].isEmpty() && fax)
        v.direct[contact::Fax] = fax->value;
    for (const auto& [slot, p] : v.phones)
        if (!p.value.isEmpty() && &p != phone && &p != fax)
            v.extras.append((p.name.isEmpty() ? QStringLiteral("Téléphone") : p.name) +
                            QStringLiteral(" : ") + p.value);
}

void chooseEmail(RowValues& v)
{
    bool emailTaken = !v.direct[contact::Email].isEmpty();
    for (const auto& [slot, e] : v.emails) {
        if (e.value.isEmpty())
            continue;
        if (!emailTaken) {
            v.direct[contact::Email] = e.value;
            emailTaken = true;
        } else {
            v.extras.append((e.name.isEmpty() ? QStringLiteral("E-mail") : e.name) +
                            QStringLiteral(" : ") + e.value);
        }
    }
}

// The first work address, else the first; taken only when the row gives no
// address field of its own.
void chooseAddress(RowValues& v)
{
    const Address* address = nullptr;
    for (const auto& [slot, a] : v.addresses)
        if (!a.empty() && isWork(a.label)) {
            address = &a;
            break;
        }
    if (!address)
        for (const auto& [slot, a] : v.addresses)
            if (!a.empty()) {
                address = &a;
                break;
            }
    QString* direct = v.direct;
    if (!address || !direct[contact::Address1].isEmpty() || !direct[contact::Address2].isEmpty() ||
        !direct[contact::Town].isEmpty() || !direct[contact::Postcode].isEmpty())
        return;
    const QString* p = address->parts;
    QString streetText = p[Street];
    if (streetText.trimmed().isEmpty() && p[City].trimmed().isEmpty())
        streetText = p[Formatted];
    streetText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = streetText.split(u'\n');
    const QString line1 = lines.takeFirst();
    QStringList rest = lines;
    rest << p[Street2] << p[Street3] << p[Extended] << p[PoBox] << p[Region];
    const QString country = p[Country].trimmed();
    if (country.compare(QLatin1String("France"), Qt::CaseInsensitive) != 0 &&
        country.compare(QLatin1String("FR"), Qt::CaseInsensitive) != 0)
        rest << country;
    direct[contact::Address1] = line1.trimmed();
    direct[contact::Address2] = joined(rest, QStringLiteral(", "));
    direct[contact::Town] = p[City].trimmed();
    direct[contact::Postcode] = p[Postcode].trimmed();
}

} // namespace

ForeignRead readCsv(const QByteArray& data, ColumnMapper* mapper)
{
    ForeignRead out;
    const csv::Table table = csv::read(data);
    out.skipped = table.skipped;
    if (table.rows.isEmpty())
        return out;
    const QStringList& header = table.rows.first();
    const QList<Target> targets = columnTargets(table, mapper, out.skipped);

    int longRows = 0;
    ForeignText text;
    constexpr int Slots = contact::FixedLines - contact::Name + 1;
    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        RowValues v = gather(table.rows.at(r), header, targets);
        if (v.longRow)
            ++longRows;
        chooseNames(v);
        choosePhones(v);
        chooseEmail(v);
        chooseAddress(v);

        ForeignContact c;
        c.fields.reserve(Slots);
        for (int offset = contact::Name; offset <= contact::FixedLines; ++offset) {
            c.fields.append(text.line(v.direct[offset]));
            text.endField();
        }
        v.freeText += v.extras;
        for (const QString& t : v.freeText)
            c.freeText += text.lines(t);
        text.endField();
        out.contacts.append(std::move(c));
    }
    if (longRows > 0)
        out.skipped.append(QStringLiteral("%1 ligne(s) plus longue(s) que l'en-tête : les "
                                          "valeurs en trop sont dans le texte libre")
                               .arg(longRows));
    out.replacedFields = text.replacedFields();
    return out;
}

} // namespace exchange

} // namespace tarvik
