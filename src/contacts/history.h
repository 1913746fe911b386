#pragma once

#include "contacts/contact_record.h"

#include <QList>

namespace tarvik {

class TextMeasure;

// The seven lines that a validated contact attempt puts at the top of the
// history, newest first.
namespace history {

QList<QByteArray> entryLines(const ContactRecord& entry);

// The eight values remembered by a validation for "Rappeler historique".
QList<QByteArray> recallValues(const ContactRecord& entry);
// Puts remembered values back into the entry fields (no-op on an empty list).
void applyRecall(const QList<QByteArray>& values, ContactRecord& entry);

// Tab stops, in pixels from the start of a line, that put the seven columns
// of an entry's second line under their titles on the first one, in the font
// `measure` measures. The stored lines keep their tabs as they are (one after
// a title, two or three between some values), so the stops come in pairs
// where the values take more tabs than the titles: a value no wider than its
// title lands in its column.
QList<int> columnTabStops(const TextMeasure& measure);

} // namespace history

} // namespace tarvik
