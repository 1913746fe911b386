#pragma once

#include "store/contact_record.h"

#include <QList>

// The seven lines that a validated contact attempt puts at the top of the
// history, newest first.
namespace history {

QList<QByteArray> entryLines(const ContactRecord& entry);

// The eight values remembered by a validation for "Rappeler historique".
QList<QByteArray> recallValues(const ContactRecord& entry);
// Puts remembered values back into the entry fields (no-op on an empty list).
void applyRecall(const QList<QByteArray>& values, ContactRecord& entry);

} // namespace history
