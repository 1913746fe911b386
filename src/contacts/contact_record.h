#pragma once

#include "storage/block_book_rules.h"
#include "storage/block_list.h"
#include "storage/dates.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QTime>

namespace tarvik {

// Line offsets of a contact block, counted from its header.
namespace contact {
enum Offset {
    Code = 1,
    Name = 2,
    Address1 = 3,
    Address2 = 4,
    Postcode = 5,
    Town = 6,
    Phone = 7,
    Fax = 8,
    Activity = 9,
    Email = 10,
    Civility = 11,
    DecisionMaker = 12,
    Function = 13,
    ContactType = 14,
    ContactDate = 15,
    ContactTime = 16,
    Interlocutor = 17,
    Product = 18,
    PurchasePrice = 19,
    SalePrice = 20,
    Response = 21,
    Arguments = 22,
    Appraisal = 23,
    FollowupDate = 24,
    FollowupTime = 25,
    FollowupType = 26,
    Alert = 27,
    SaleClosed = 28,
    FixedLines = 28, // lines 1..28 always present
};
constexpr const char* HistoryPrefix = "MEMO";
constexpr const char* FreeTextPrefix = "TEXT";
} // namespace contact

// The shown contact, one value per control of the contacts page.
struct ContactRecord
{
    QByteArray code;
    QByteArray name;
    QByteArray address1;
    QByteArray address2;
    QByteArray postcode;
    QByteArray town;
    QByteArray phone;
    QByteArray fax;
    QByteArray activity;
    QByteArray email;
    QByteArray civility;
    QByteArray decision_maker;
    QByteArray function;
    QByteArray contact_type;
    QDate contact_date;
    QTime contact_time;
    QByteArray interlocutor;
    QByteArray product;
    QByteArray purchase_price;
    QByteArray sale_price;
    QByteArray response;
    QByteArray arguments;
    QByteArray appraisal;
    QDate followup_date;
    QTime followup_time;
    QByteArray followup_type;
    bool alert = false;
    bool sale_closed = false;
    QList<QByteArray> history;  // one entry per history line, without "MEMO"
    QList<QByteArray> freeText; // one entry per free-text line, without "TEXT"

    bool operator==(const ContactRecord&) const = default;
};

namespace contact {

// The date and time rules of every data file, under the names the contact
// code has always used.
inline QByteArray formatDate(const QDate& d)
{
    return dates::format(d);
}
inline QByteArray formatTime(const QTime& t)
{
    return dates::formatTime(t);
}
inline QDate parseDate(const QByteArray& text)
{
    return dates::parse(text);
}
inline QTime parseTime(const QByteArray& text)
{
    return dates::parseTime(text);
}

// The whole block of `record` numbered `number`: header, 28 field lines,
// history lines, free-text lines, trailer.
QList<QByteArray> blockLines(const ContactRecord& record, int number);

// Fills `record` from the block whose header stands at `headerIndex`. The
// caller has preset the record (dates, times); a date or time line that is
// empty or unreadable keeps the preset value. Every history and free-text line
// up to the trailer is kept whole.
void readBlock(const BlockList& list, qsizetype headerIndex, ContactRecord& record);

// The field line at `offset` of the block at `headerIndex`, or an empty text
// when the list ends first.
QByteArray field(const BlockList& list, qsizetype headerIndex, int offset);

// The text field of `record` at line `offset`, or nullptr when that line is
// not a text field (a date, a time, a box).
QByteArray* textField(ContactRecord& record, Offset offset);

// The next customer code: 1 + the largest code of the list (the line after
// each header), 10000 at the least, so the first code is 10001. A code line
// that is empty or not an integer is ignored.
int nextCustomerCode(const BlockList& list);

} // namespace contact

class Clock;

// How a contact is read from and written to its block, for the record book
// skeleton.
struct ContactCodec
{
    using Record = ContactRecord;
    static constexpr BookRules Rules = ContactRules;
    // Dates today, the contact time now, no follow-up time.
    static ContactRecord blank(const Clock& clock);
    // The block's fields; a follow-up date before the contact date becomes the
    // contact date.
    static void read(const BlockList& list, qsizetype headerIndex, ContactRecord& record);
    static QList<QByteArray> lines(const ContactRecord& record, int number)
    {
        return contact::blockLines(record, number);
    }
    static QByteArray& code(ContactRecord& record) { return record.code; }
};

} // namespace tarvik
