#include "exchange/followup_calendar.h"

#include "contacts/contact_record.h"
#include "exchange/uid_store.h"
#include "storage/ansi.h"
#include "storage/block_index.h"
#include "storage/dates.h"

#include <QUuid>

#include <cstdlib>
#include <libical/ical.h>
#include <memory>

namespace tarvik {

namespace exchange {

namespace {

const char* const Zone = "Europe/Paris";

// The zone as phones and other readers know it: "Europe/Paris", without the
// prefix libical puts before the zones it builds.
icaltimezone* paris()
{
    static icaltimezone* zone = [] {
        icaltimezone_set_tzid_prefix("");
        std::atexit([] { icaltimezone_free_builtin_timezones(); });
        return icaltimezone_get_builtin_timezone(Zone);
    }();
    return zone;
}

struct ComponentFree
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

const char* utf8(const QByteArray& windows1252, QByteArray& keep)
{
    keep = ansi::toUnicode(windows1252).toUtf8();
    return keep.constData();
}

// The newest history entry: its lines up to the first dashed separator.
QByteArray newestEntry(const BlockList& list, const blocks::ListedBlock& block)
{
    QByteArray text;
    for (qsizetype i = block.first + contact::FixedLines + 1; i < block.end(); ++i) {
        const QByteArray& line = list.at(i);
        if (!line.startsWith(contact::HistoryPrefix))
            continue;
        const QByteArray entry = line.mid(4);
        if (entry.startsWith("---"))
            break;
        if (!text.isEmpty())
            text += '\n';
        text += entry;
    }
    return text;
}

icaltimetype dueTime(const QDate& date, const QTime& time, bool allDay)
{
    icaltimetype t = icaltime_null_time();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    if (allDay) {
        t.is_date = 1;
        return t;
    }
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.zone = paris();
    return t;
}

} // namespace

QByteArray followupUid(const QByteArray& contactUid)
{
    // Derived from the contact's UID, so that it stays the same from one
    // export to the next without being stored.
    static const QUuid space(QStringLiteral("6f0e3c52-4f7e-4a59-9d0b-2d1c8a7e5b31"));
    return "urn:uuid:" + QUuid::createUuidV5(space, contactUid).toByteArray(QUuid::WithoutBraces);
}

QByteArray exportFollowups(const BlockList& list, UidStore& uids, const QDateTime& now)
{
    icaltimezone* zone = paris();
    std::unique_ptr<icalcomponent, ComponentFree> calendar(
        icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent* cal = calendar.get();
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//Tarvik//Relances//FR"));
    if (zone) {
        icalcomponent* vtimezone = icalcomponent_new_clone(icaltimezone_get_component(zone));
        // Some libical versions take an empty prefix for their default one:
        // the zone is named here whatever the version.
        if (icalproperty* tzid = icalcomponent_get_first_property(vtimezone, ICAL_TZID_PROPERTY))
            icalproperty_set_tzid(tzid, Zone);
        icalcomponent_add_component(cal, vtimezone);
    }

    const QDateTime utc = now.toUTC();
    icaltimetype stamp = icaltime_null_time();
    stamp.year = utc.date().year();
    stamp.month = utc.date().month();
    stamp.day = utc.date().day();
    stamp.hour = utc.time().hour();
    stamp.minute = utc.time().minute();
    stamp.second = utc.time().second();
    stamp.zone = icaltimezone_get_utc_timezone();

    const QList<QByteArray> ids = uids.assign(list);
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    const QList<blocks::ListedBlock>& listed = index.inListOrder();
    QByteArray keep;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const blocks::ListedBlock& block = listed.at(i);
        const QByteArray dateText = contact::field(list, block.first, contact::FollowupDate);
        const QDate date = dates::parse(dateText);
        if (dateText.isEmpty() || dateText == "01/01/1900" || !date.isValid())
            continue;
        const QByteArray timeText = contact::field(list, block.first, contact::FollowupTime);
        const QTime time = dates::parseTime(timeText);
        const bool allDay = !zone || !time.isValid() || time == QTime(0, 0);

        icalcomponent* todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
        icalcomponent_add_property(todo, icalproperty_new_uid(followupUid(ids.at(i)).constData()));
        icalcomponent_add_property(todo, icalproperty_new_dtstamp(stamp));
        const QByteArray name = contact::field(list, block.first, contact::Name);
        const QByteArray type = contact::field(list, block.first, contact::FollowupType);
        const QByteArray summary = type.isEmpty() ? name : type + " : " + name;
        icalcomponent_add_property(todo, icalproperty_new_summary(utf8(summary, keep)));
        icalproperty* due = icalproperty_new_due(dueTime(date, time, allDay));
        if (allDay)
            icalproperty_add_parameter(due, icalparameter_new_value(ICAL_VALUE_DATE));
        else
            icalproperty_add_parameter(due, icalparameter_new_tzid(Zone));
        icalcomponent_add_property(todo, due);

        QByteArray description;
        const QByteArray phone = contact::field(list, block.first, contact::Phone);
        const QByteArray who = contact::field(list, block.first, contact::Interlocutor);
        if (!phone.isEmpty())
            description += ansi::fromUnicode(QStringLiteral("Téléphone : ")) + phone + '\n';
        if (!who.isEmpty())
            description += "Interlocuteur : " + who + '\n';
        description += newestEntry(list, block);
        while (description.endsWith('\n'))
            description.chop(1);
        if (!description.isEmpty())
            icalcomponent_add_property(todo, icalproperty_new_description(utf8(description, keep)));
        icalcomponent_add_property(todo, icalproperty_new_relatedto(ids.at(i).constData()));
        icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));

        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger;
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_null_duration();
        icalproperty* when = icalproperty_new_trigger(trigger);
        icalproperty_add_parameter(when, icalparameter_new_related(ICAL_RELATED_END));
        icalcomponent_add_property(alarm, when);
        icalcomponent_add_property(alarm, icalproperty_new_description(utf8(summary, keep)));
        icalcomponent_add_component(todo, alarm);

        icalcomponent_add_component(cal, todo);
    }
    char* text = icalcomponent_as_ical_string_r(cal);
    QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

} // namespace exchange

} // namespace tarvik
