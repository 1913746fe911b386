#include "exchange/csv_contacts.h"

#include "contacts/contact_record.h"
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

namespace {

// The captions of the record window, field by field (offsets 1 .. 28); the
// two controls without a caption of their own get a name that says what
// they hold.
const char* const Captions[contact::FixedLines] = {
    "Code",
    "Nom / Société",
    "Adresse",
    "Adresse",
    "Code postal",
    "Ville",
    "Téléphone",
    "Fax",
    "Activité",
    "E.mail",
    "Civilité",
    "Décideur",
    "Fonction",
    "Type contact",
    "Date",
    "Heure",
    "Interlocuteur",
    "Produit/besoin/concurent",
    "Prix achat",
    "Prix Vente",
    "Réponse interlocuteur",
    "Nos arguments",
    "Appréciaiton",
    "Relance",
    "Heure de relance",
    "Type de relance",
    "Alerte",
    "Vente aboutie",
};
const char* const FreeTextCaption = "Texte libre";

enum class Kind {
    Ignore,
    Field,
    FreeText,
    Extra, // a value kept in the free text under its header
    First,
    Middle,
    Last,
    Display,
    Company,
    PhoneValue,
    PhoneLabel,
    EmailValue,
    AddressPart,
    AddressLabel,
};

enum Part { Street, Street2, Street3, City, Postcode, Region, Country, PoBox, Extended, Formatted };

struct Target
{
    Kind kind = Kind::Ignore;
    int offset = 0; // Field
    int slot = 0;   // phones, e-mails, addresses: which one
    int part = 0;   // AddressPart
    QString label;  // the fixed label of a phone or an address column
};

QString key(const QString& header)
{
    return header.simplified().toLower();
}

QHash<QString, Target> buildHeaders()
{
    QHash<QString, Target> h;
    auto field = [&h](const char* name, int offset) {
        h.insert(key(QString::fromUtf8(name)), {Kind::Field, offset, 0, 0, {}});
    };
    auto kind = [&h](const char* name, Kind k) {
        h.insert(key(QString::fromUtf8(name)), {k, 0, 0, 0, {}});
    };
    auto phone = [&h](const char* name, int slot, const char* label) {
        h.insert(key(QString::fromUtf8(name)),
                 {Kind::PhoneValue, 0, slot, 0, QString::fromUtf8(label)});
    };
    auto email = [&h](const char* name, int slot) {
        h.insert(key(QString::fromUtf8(name)),
                 {Kind::EmailValue, 0, slot, 0, QStringLiteral("e-mail")});
    };
    auto address = [&h](const char* name, int slot, Part part, const char* label) {
        h.insert(key(QString::fromUtf8(name)),
                 {Kind::AddressPart, 0, slot, part, QString::fromUtf8(label)});
    };

    // This program's own export ("Adresse" twice: see readCsv).
    for (int offset = contact::Code; offset <= contact::FixedLines; ++offset)
        field(Captions[offset - 1], offset);
    kind("Code", Kind::Ignore); // an imported row gets the next code
    kind(FreeTextCaption, Kind::FreeText);

    // Names, company, function: Google (current and older), Outlook,
    // Thunderbird, and the French Outlook and Thunderbird.
    for (const char* n : {"First Name", "Given Name", "Prénom"})
        kind(n, Kind::First);
    for (const char* n : {"Middle Name", "Additional Name", "Deuxième prénom"})
        kind(n, Kind::Middle);
    for (const char* n : {"Last Name", "Family Name", "Nom", "Nom de famille"})
        kind(n, Kind::Last);
    for (const char* n : {"Name", "Display Name", "Nom à afficher"})
        kind(n, Kind::Display);
    for (const char* n :
         {"Organization Name", "Organization 1 - Name", "Company", "Organization", "Société"})
        kind(n, Kind::Company);
    for (const char* n : {"Name Prefix", "Title", "Titre"})
        field(n, contact::Civility);
    for (const char* n :
         {"Organization Title", "Organization 1 - Title", "Job Title", "Profession"})
        field(n, contact::Function);
    for (const char* n : {"Notes", "Note"})
        kind(n, Kind::FreeText);
    for (const char* n : {"Categories", "Catégories"})
        field(n, contact::Activity);

    // Phones with the kind their header says.
    int slot = 1;
    for (const char* n : {"Business Phone", "Work Phone", "Company Main Phone", "Business Phone 2",
                          "Téléphone (bureau)", "Tél. professionnel", "Téléphone 2 (bureau)"})
        phone(n, slot++, "work");
    for (const char* n : {"Business Fax", "Télécopie (bureau)"})
        phone(n, slot++, "work fax");
    for (const char* n : {"Fax Number", "Home Fax", "Other Fax", "Télécopie (domicile)"})
        phone(n, slot++, "fax");
    for (const char* n :
         {"Primary Phone", "Mobile Phone", "Mobile Number", "Portable", "Tél. mobile", "Home Phone",
          "Home Phone 2", "Tél. personnel", "Téléphone (domicile)", "Other Phone", "Car Phone",
          "Callback", "Assistant's Phone", "Radio Phone", "ISDN", "TTY/TDD Phone"})
        phone(n, slot++, "other");

    int mail = 1;
    for (const char* n : {"E-mail Address", "Primary Email", "Adresse de messagerie",
                          "Adresse électronique principale", "E-mail 2 Address", "Secondary Email",
                          "Adresse électronique secondaire", "E-mail 3 Address"})
        email(n, mail++);

    // Addresses: business first, then home, then other.
    struct AddressSet
    {
        int slot;
        const char* label;
        const char* street;
        const char* street2;
        const char* street3;
        const char* city;
        const char* region;
        const char* postcode;
        const char* country;
        const char* poBox;
    };
    const AddressSet sets[] = {
        {1, "work", "Business Street", "Business Street 2", "Business Street 3", "Business City",
         "Business State", "Business Postal Code", "Business Country/Region",
         "Business Address PO Box"},
        {2, "work", "Work Address", "Work Address 2", nullptr, "Work City", "Work State",
         "Work ZipCode", "Work Country", nullptr},
        {3, "work", "Rue (bureau)", "Rue (bureau) 2", "Rue (bureau) 3", "Ville (bureau)",
         "Dép/Région (bureau)", "Code postal (bureau)", "Pays/Région (bureau)",
         "B.P. professionnelle"},
        {4, "home", "Home Street", "Home Street 2", "Home Street 3", "Home City", "Home State",
         "Home Postal Code", "Home Country/Region", "Home Address PO Box"},
        {5, "home", "Home Address", "Home Address 2", nullptr, "Home City", "Home State",
         "Home ZipCode", "Home Country", nullptr},
        {6, "home", "Rue (domicile)", "Rue (domicile) 2", "Rue (domicile) 3", "Ville (domicile)",
         "Dép/Région (domicile)", "Code postal (domicile)", "Pays/Région (domicile)", nullptr},
        {7, "other", "Other Street", "Other Street 2", "Other Street 3", "Other City",
         "Other State", "Other Postal Code", "Other Country/Region", "Other Address PO Box"},
    };
    for (const AddressSet& s : sets) {
        const std::pair<const char*, Part> parts[] = {
            {s.street, Street}, {s.street2, Street2},   {s.street3, Street3}, {s.city, City},
            {s.region, Region}, {s.postcode, Postcode}, {s.country, Country}, {s.poBox, PoBox}};
        for (const auto& [name, part] : parts)
            if (name)
                address(name, s.slot, part, s.label);
    }

    // Kept in the free text under their header when they hold something.
    for (const char* n : {"Nickname",
                          "Name Suffix",
                          "Suffix",
                          "Birthday",
                          "Anniversary",
                          "Organization Department",
                          "Organization 1 - Department",
                          "Department",
                          "Service",
                          "Web Page",
                          "Web Page 1",
                          "Web Page 2",
                          "Spouse",
                          "Assistant's Name",
                          "Manager's Name",
                          "Office Location",
                          "Pager",
                          "Pager Number",
                          "Telex",
                          "Surnom",
                          "Anniversaire",
                          "Page Web"})
        kind(n, Kind::Extra);
    // Read past: what only the program that wrote them uses.
    for (const char* n : {"Phonetic First Name",
                          "Phonetic Middle Name",
                          "Phonetic Last Name",
                          "Yomi Name",
                          "Given Name Yomi",
                          "Additional Name Yomi",
                          "Family Name Yomi",
                          "File As",
                          "Photo",
                          "Labels",
                          "Group Membership",
                          "Initials",
                          "Short Name",
                          "Maiden Name",
                          "Gender",
                          "Location",
                          "Billing Information",
                          "Directory Server",
                          "Mileage",
                          "Occupation",
                          "Hobby",
                          "Sensitivity",
                          "Priority",
                          "Subject",
                          "Language",
                          "Private",
                          "Keywords",
                          "Account",
                          "Children",
                          "Referred By",
                          "Government ID Number",
                          "Organizational ID Number",
                          "Internet Free Busy",
                          "User 1",
                          "User 2",
                          "User 3",
                          "User 4",
                          "E-mail Type",
                          "E-mail Display Name",
                          "E-mail 2 Type",
                          "E-mail 2 Display Name",
                          "E-mail 3 Type",
                          "E-mail 3 Display Name",
                          "Screen Name",
                          "Custom 1",
                          "Custom 2",
                          "Custom 3",
                          "Custom 4",
                          "Birth Year",
                          "Birth Month",
                          "Birth Day",
                          "Organization 1 - Type",
                          "Organization 1 - Yomi Name",
                          "Organization 1 - Symbol",
                          "Organization 1 - Location",
                          "Organization 1 - Job Description"})
        kind(n, Kind::Ignore);
    return h;
}

// A header of the Google export's numbered groups: "Phone 2 - Value".
std::optional<Target> numbered(const QString& k)
{
    static const QRegularExpression re(QStringLiteral("^(.+) (\\d+) - (.+)$"));
    const QRegularExpressionMatch m = re.match(k);
    if (!m.hasMatch())
        return std::nullopt;
    const QString group = m.captured(1);
    const int n = m.captured(2).toInt();
    const QString what = m.captured(3);
    const bool label = what == u"label" || what == u"type";
    Target t;
    if (group == u"phone") {
        t.kind = label ? Kind::PhoneLabel : Kind::PhoneValue;
        t.slot = 1000 + n;
        return what == u"value" || label ? std::optional(t) : std::nullopt;
    }
    if (group == u"e-mail") {
        if (label)
            return Target{};
        t.kind = Kind::EmailValue;
        t.slot = 1000 + n;
        return what == u"value" ? std::optional(t) : std::nullopt;
    }
    if (group == u"address") {
        t.slot = 1000 + n;
        if (label) {
            t.kind = Kind::AddressLabel;
            return t;
        }
        static const std::map<QString, Part> parts = {
            {QStringLiteral("street"), Street},
            {QStringLiteral("city"), City},
            {QStringLiteral("po box"), PoBox},
            {QStringLiteral("region"), Region},
            {QStringLiteral("postal code"), Postcode},
            {QStringLiteral("country"), Country},
            {QStringLiteral("extended address"), Extended},
            {QStringLiteral("formatted"), Formatted}};
        const auto it = parts.find(what);
        if (it == parts.end())
            return std::nullopt;
        t.kind = Kind::AddressPart;
        t.part = it->second;
        return t;
    }
    // Websites, relations, events, messaging, custom fields: their values
    // kept in the free text, their labels read past.
    if (label)
        return Target{};
    if (what == u"value") {
        t.kind = Kind::Extra;
        return t;
    }
    return std::nullopt;
}

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

ForeignRead readCsv(const QByteArray& data, ColumnMapper* mapper)
{
    static const QHash<QString, Target> known = buildHeaders();
    ForeignRead out;
    csv::Table table = csv::read(data);
    out.skipped = table.skipped;
    if (table.rows.isEmpty())
        return out;
    const QStringList header = table.rows.first();

    // Each column's target by its header.
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
    if (!unknown.isEmpty()) {
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
                out.skipped.append(
                    QStringLiteral("colonne « %1 » ignorée").arg(unknown.at(u).header));
        }
    }

    int longRows = 0;
    ForeignText text;
    constexpr int Slots = contact::FixedLines - contact::Name + 1;
    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows.at(r);
        QString direct[contact::FixedLines + 1];
        QString first, middle, last, display, company;
        std::map<int, Phone> phones;
        std::map<int, Phone> emails;
        std::map<int, Address> addresses;
        QStringList freeText;
        QStringList extras;
        for (int i = 0; i < header.size() && i < row.size(); ++i) {
            const QString& cell = row.at(i);
            if (cell.trimmed().isEmpty())
                continue;
            const Target& t = targets.at(i);
            auto keep = [](QString& into, const QString& v) {
                if (into.isEmpty())
                    into = v;
            };
            switch (t.kind) {
            case Kind::Ignore:
                break;
            case Kind::Field:
                if (!fitsField(t.offset, cell.trimmed()))
                    extras.append(header.at(i) + QStringLiteral(" : ") + cell);
                else if (direct[t.offset].isEmpty())
                    direct[t.offset] = trimmedField(t.offset) ? cell.trimmed() : cell;
                break;
            case Kind::FreeText:
                freeText.append(cell);
                break;
            case Kind::Extra:
                // Outlook writes "0/0/00" for a date it does not have.
                if (cell.trimmed() != u"0/0/00")
                    extras.append(header.at(i) + QStringLiteral(" : ") + cell);
                break;
            case Kind::First:
                keep(first, cell.trimmed());
                break;
            case Kind::Middle:
                keep(middle, cell.trimmed());
                break;
            case Kind::Last:
                keep(last, cell.trimmed());
                break;
            case Kind::Display:
                keep(display, cell.trimmed());
                break;
            case Kind::Company:
                keep(company, cell.trimmed());
                break;
            case Kind::PhoneValue:
            case Kind::EmailValue: {
                Phone& p = (t.kind == Kind::PhoneValue ? phones : emails)[t.slot];
                QStringList values = cellValues(cell);
                p.value = values.isEmpty() ? QString() : values.takeFirst();
                if (!t.label.isEmpty()) {
                    p.label = t.label;
                    p.name = header.at(i);
                }
                for (const QString& more : values)
                    extras.append(header.at(i) + QStringLiteral(" : ") + more);
                break;
            }
            case Kind::PhoneLabel: {
                Phone& p = phones[t.slot];
                p.label = cell;
                p.name = cell.trimmed().remove(QLatin1String("* "));
                break;
            }
            case Kind::AddressPart: {
                Address& a = addresses[t.slot];
                a.parts[t.part] = cell;
                if (!t.label.isEmpty())
                    a.label = t.label;
                break;
            }
            case Kind::AddressLabel:
                addresses[t.slot].label = cell;
                break;
            }
        }
        if (row.size() > header.size()) {
            QStringList beyond;
            for (qsizetype i = header.size(); i < row.size(); ++i)
                if (!row.at(i).trimmed().isEmpty())
                    beyond.append(row.at(i));
            if (!beyond.isEmpty()) {
                ++longRows;
                extras += beyond;
            }
        }

        const QString person = first.isEmpty() && middle.isEmpty() && last.isEmpty()
                                   ? display
                                   : joined({first, middle, last}, QStringLiteral(" "));
        if (direct[contact::Name].isEmpty())
            direct[contact::Name] =
                !company.isEmpty() ? company : (!display.isEmpty() ? display : person);
        if (direct[contact::DecisionMaker].isEmpty())
            direct[contact::DecisionMaker] = person;

        // The phone: the first work number that is not a fax, else the
        // first that is not a fax; the fax: the first fax.
        const Phone* phone = nullptr;
        const Phone* anyPhone = nullptr;
        const Phone* fax = nullptr;
        for (const auto& [slot, p] : phones) {
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
        if (direct[contact::Phone].isEmpty() && phone)
            direct[contact::Phone] = phone->value;
        if (direct[contact::Fax].isEmpty() && fax)
            direct[contact::Fax] = fax->value;
        // The numbers not taken are kept in the free text.
        for (const auto& [slot, p] : phones)
            if (!p.value.isEmpty() && &p != phone && &p != fax)
                extras.append((p.name.isEmpty() ? QStringLiteral("Téléphone") : p.name) +
                              QStringLiteral(" : ") + p.value);

        bool emailTaken = !direct[contact::Email].isEmpty();
        for (const auto& [slot, e] : emails) {
            if (e.value.isEmpty())
                continue;
            if (!emailTaken) {
                direct[contact::Email] = e.value;
                emailTaken = true;
            } else {
                extras.append((e.name.isEmpty() ? QStringLiteral("E-mail") : e.name) +
                              QStringLiteral(" : ") + e.value);
            }
        }

        const Address* address = nullptr;
        for (const auto& [slot, a] : addresses)
            if (!a.empty() && isWork(a.label)) {
                address = &a;
                break;
            }
        if (!address)
            for (const auto& [slot, a] : addresses)
                if (!a.empty()) {
                    address = &a;
                    break;
                }
        if (address && direct[contact::Address1].isEmpty() && direct[contact::Address2].isEmpty() &&
            direct[contact::Town].isEmpty() && direct[contact::Postcode].isEmpty()) {
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

        ForeignContact c;
        c.fields.reserve(Slots);
        for (int offset = contact::Name; offset <= contact::FixedLines; ++offset) {
            c.fields.append(text.line(direct[offset]));
            text.endField();
        }
        freeText += extras;
        for (const QString& t : freeText)
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
