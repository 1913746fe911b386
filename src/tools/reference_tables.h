#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarvik {

// The two reference lists of the accessories, as Windows-1252 rows.
namespace reftables {

// The French départements: the two-digit code, a blank and the name, in code
// order from "00 Armées" to "97 Dom" (97 rows).
const QList<QByteArray>& departements();

// First names and their name days, 26 bytes a row: the name padded with "." to
// 20, the day in two digits, a blank and the month ("Jan" .. "Déc"); in byte
// order of the names (326 rows).
const QList<QByteArray>& firstNames();

// The row a typed letter selects: the first row whose first byte is that
// letter in upper case; -1 for a key that is not a letter a..z / A..Z or when
// no row starts with it.
int typeAheadRow(const QList<QByteArray>& rows, QChar key);

} // namespace reftables

} // namespace tarvik
