#pragma once

#include "contacts/contact_record.h"

#include <QHash>
#include <QString>

#include <optional>

// The columns a spreadsheet of contacts may have, by their headers: this
// program's own export, and the exports of the address books people move
// their contacts from. Used by the spreadsheet reader and writer only.

namespace tarvik {

namespace exchange {

namespace csv_columns {

// The captions of the record window, field by field (offsets 1 .. 28); the
// two controls without a caption of their own get a name that says what
// they hold.
extern const char* const Captions[contact::FixedLines];
extern const char* const FreeTextCaption;

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

// A header as it is looked up: spaces simplified, lower case.
QString key(const QString& header);
// The headers known by name, keyed by key().
const QHash<QString, Target>& knownHeaders();
// A header of the Google export's numbered groups: "Phone 2 - Value".
std::optional<Target> numbered(const QString& key);

} // namespace csv_columns

} // namespace exchange

} // namespace tarvik
