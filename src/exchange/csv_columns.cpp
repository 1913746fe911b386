#include "exchange/csv_columns.h"

#include <QRegularExpression>

#include <map>

namespace tarvik {

namespace exchange {

namespace csv_columns {

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

QString key(const QString& header)
{
    return header.simplified().toLower();
}

namespace {

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

} // namespace

const QHash<QString, Target>& knownHeaders()
{
    static const QHash<QString, Target> known = buildHeaders();
    return known;
}

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

} // namespace csv_columns

} // namespace exchange

} // namespace tarvik
