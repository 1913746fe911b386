#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QDateTime>

namespace tarvik {

namespace exchange {

class UidStore;

// The follow-ups of the contacts as an iCalendar file of to-dos, for the
// calendar of a phone or a desktop: one VTODO per contact whose follow-up
// date is set (neither empty nor "01/01/1900"), due at the follow-up date
// and time in Europe/Paris (a whole day when the time is "00:00:00"), with a
// reminder at the due time. Each to-do keeps the same UID from one export to
// the next and names its contact's UID (RELATED-TO). `now` is the DTSTAMP.
QByteArray exportFollowups(const BlockList& list, UidStore& uids, const QDateTime& now);

// The UID of the to-do of the contact whose UID is `contactUid`.
QByteArray followupUid(const QByteArray& contactUid);

} // namespace exchange

} // namespace tarvik
