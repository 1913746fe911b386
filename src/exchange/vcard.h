#pragma once

#include "contacts/contact_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarvik {

// vCards as address books and phones exchange them: read in versions 2.1, 3.0
// and 4.0 (folded lines, quoted-printable and CHARSET= of 2.1, grouped
// properties such as "item1.TEL", many cards in one file), written in 4.0
// (UTF-8, CRLF, lines folded at 75 octets). A card keeps every property it was
// read with, unknown ones included, with their groups and parameters, so that
// a card read, changed and written again loses nothing.
namespace vcard {

struct Parameter
{
    QString name;       // upper case; a 2.1 parameter given without a name is a TYPE
    QStringList values; // as written, without quotes ("work", "voice")
};

struct Property
{
    QString group; // "item1" of "item1.TEL", as written; empty when none
    QString name;  // upper case
    QList<Parameter> parameters;
    // The value unfolded and decoded to text (quoted-printable and the
    // CHARSET of 2.1 undone), its backslash escapes still in place: use
    // text() or components() to read it, escape() to set it.
    QString value;

    // The values of parameter `name` (any letter case); several occurrences
    // and comma lists are joined into one list.
    QStringList parameter(const QString& name) const;
    // True when TYPE holds `type` (any letter case).
    bool hasType(const QString& type) const;
    // The value unescaped as one text.
    QString text() const;
    // The value cut at its unescaped ";" (N, ADR, ORG), each part unescaped.
    QStringList components() const;
};

struct Card
{
    QString version; // as read ("2.1", "3.0", "4.0"); write() always writes 4.0
    // Every property between BEGIN:VCARD and END:VCARD but VERSION, in order.
    QList<Property> properties;

    // The first property of that name, or nullptr.
    const Property* first(const QString& name) const;
    QList<const Property*> all(const QString& name) const;
    // The text of the first property of that name, or an empty text.
    QString text(const QString& name) const;
    QString uid() const { return text(QStringLiteral("UID")); }
};

struct ReadResult
{
    QList<Card> cards;
    // One French line per damaged card left out or damaged line read past.
    QStringList skipped;
};

// Every card of a file. A card without its END:VCARD, or that another
// BEGIN:VCARD interrupts, is left out and told in `skipped`; a line that is
// no property is read past and told. Text that is not valid UTF-8 (and names
// no CHARSET) is read as Windows-1252, which holds every byte. A byte-order
// mark, and a whole file in UTF-16, are understood.
ReadResult read(const QByteArray& data);

// The card in vCard 4.0: BEGIN, VERSION:4.0, its properties in order, END.
QByteArray write(const Card& card);

// A text with the escapes of a vCard value: backslash, comma, semicolon and
// line break.
QString escape(const QString& text);
// The unescaped text of a raw value.
QString unescape(const QString& raw);
// The raw value cut at its unescaped `separator` (';' or ','), each part
// unescaped.
QStringList split(const QString& raw, QChar separator);
// The raw value cut at its unescaped `separator`, the parts left escaped.
QStringList rawSplit(const QString& raw, QChar separator);
// Names and parameter values compare without regard to case.
bool sameName(const QString& a, const char* b);

// ------------------------------------------------------------ contact fields

// The card of a contact, properties in this order: UID, FN (always, empty
// when the name is), N, ORG, TITLE, ADR;TYPE=work, TEL;TYPE=work,voice,
// TEL;TYPE=work,fax, EMAIL;TYPE=work, CATEGORIES, NOTE, X-TARVIK-CODE; an
// empty field writes none. The text fields of the contact are Windows-1252.
// With a `base` card (one read from a server, say), its properties that
// fromCard() would read are replaced and every other one is kept.
Card fromContact(const ContactRecord& contact, const QString& uid, const Card* base = nullptr);

struct ContactFields
{
    // The text fields and the free text; the code is left empty (a card's
    // X-TARVIK-CODE is not the code of the record it becomes) and the dates
    // are not set.
    ContactRecord contact;
    // Fields that held characters Windows-1252 cannot hold: they were
    // replaced by "?".
    int replacedFields = 0;
};

// The contact fields of a card: name from FN, else ORG, else N; decision
// maker and civility from N; the first work (else any) TEL not a fax as the
// phone, the first fax TEL; the first EMAIL; the first work (else any) ADR;
// CATEGORIES as the activity; NOTE as the free text.
ContactFields toContact(const Card& card);

} // namespace vcard

} // namespace tarvik
