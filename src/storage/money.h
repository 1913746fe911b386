#pragma once

#include <QByteArray>
#include <optional>

namespace tarvik {

// Amounts are free text with "," as the decimal separator; a formatted amount
// carries exactly two decimals. Contacts, operations and the reports read and
// write them here only, with no help from the process locale.
namespace money {

// The text rule of the entry fields: "12" -> "12,00", "12,5" -> "12,50",
// "12,567" -> "12,56" (cut, not rounded), "12," -> "12,00". Whatever stands
// before the comma is kept as typed.
QByteArray twoDecimals(const QByteArray& amount);

// The amount of a money text in cents: blanks anywhere are ignored (the
// padding of the cost fields, thousands written "1 500"), an optional sign,
// digits, then "," or "." and decimals, of which the first two count (as
// twoDecimals cuts them). nullopt for an empty or unreadable text, or one too
// large to add up safely.
std::optional<qint64> parse(const QByteArray& text);

// Cents as money text: "1500,50", "-3,05", "0,00".
QByteArray format(qint64 cents);

} // namespace money

} // namespace tarvik
