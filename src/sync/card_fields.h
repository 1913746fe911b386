#pragma once

#include "contacts/contact_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

namespace tarvik::sync {

// The contact fields a card carries, each compared and written on its own so
// that a change of one never rewrites another property of the server's card.
enum CardField {
    FieldName,
    FieldAddress1,
    FieldAddress2,
    FieldPostcode,
    FieldTown,
    FieldPhone,
    FieldFax,
    FieldActivity,
    FieldEmail,
    FieldCivility,
    FieldDecisionMaker,
    FieldFunction,
    FieldCode,
    FieldNote,
    CardFieldCount
};

// The values of those fields, Windows-1252 bytes as the contact file holds them.
using CardValues = std::array<QByteArray, CardFieldCount>;

CardValues valuesOf(const ContactRecord& record);
// Writes `values` into `record`; the other fields of the record stay.
void applyValues(const CardValues& values, ContactRecord& record);

// One short hash per field, joined: the "as last synced" of the sync state,
// from which the fields the user changed since are found again.
QString fieldHashes(const CardValues& values);
// The fields whose hash differs between two hash texts (all of them when
// either text is not a hash text of this program).
QList<CardField> changedFields(const QString& before, const QString& now);

// A vCard as the server holds it: its unfolded lines, kept as they came so
// that what the program does not map (PHOTO, BDAY, a second TEL, groups,
// other clients' X- properties) is written back untouched.
class ServerCard
{
public:
    // Reads one card. False, with the reason in `error`, when the text is
    // not one vCard.
    bool parse(const QByteArray& text, QString* error = nullptr);

    QString uid() const;
    // The mapped fields, characters outside Windows-1252 as '?'; `lossy`
    // tells which fields lost characters so.
    CardValues values(std::array<bool, CardFieldCount>* lossy = nullptr) const;
    // Rewrites the properties of `fields` only, from `values`.
    void merge(const CardValues& values, const QList<CardField>& fields);
    // The card's text: CRLF line ends, lines folded at 75 octets.
    QByteArray text() const;

    // A new card for a record that has none on the server.
    static ServerCard fromValues(const QString& uid, const CardValues& values);

private:
    QList<QByteArray> m_lines; // unfolded, without BEGIN and END
};

// The logical lines of a vCard or iCalendar text (folds joined).
QList<QByteArray> unfoldLines(const QByteArray& text);
// One logical line folded at 75 octets, never inside a UTF-8 character.
QByteArray foldLine(const QByteArray& line);

} // namespace tarvik::sync
