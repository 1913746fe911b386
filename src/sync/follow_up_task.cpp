#include "sync/follow_up_task.h"

#include "storage/ansi.h"

#include <QCryptographicHash>
#include <libical/ical.h>

namespace tarvik::sync {

namespace {

const QString Suffix = QStringLiteral("-relance");

icaltimezone* paris()
{
    // TZID=Europe/Paris, as phones and other calendars resolve it.
    static icaltimezone* zone = [] {
        icaltimezone_set_tzid_prefix("");
        return icaltimezone_get_builtin_timezone("Europe/Paris");
    }();
    return zone;
}

QByteArray summaryOf(const FollowUp& f, const QByteArray& name)
{
    const QByteArray text = f.type.isEmpty() ? name : f.type + " : " + name;
    return ansi::toUnicode(text).toUtf8();
}

icaltimetype dueOf(const FollowUp& f)
{
    icaltimetype t = icaltime_null_time();
    t.year = f.date.year();
    t.month = f.date.month();
    t.day = f.date.day();
    if (f.time == QTime(0, 0)) {
        t.is_date = 1;
        return t;
    }
    t.hour = f.time.hour();
    t.minute = f.time.minute();
    t.second = f.time.second();
    t.zone = paris();
    return t;
}

void putDue(icalcomponent* todo, const FollowUp& f)
{
    while (icalproperty* p = icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY)) {
        icalcomponent_remove_property(todo, p);
        icalproperty_free(p);
    }
    const icaltimetype due = dueOf(f);
    icalproperty* prop = icalproperty_new_due(due);
    if (!due.is_date)
        icalproperty_add_parameter(prop, icalparameter_new_tzid("Europe/Paris"));
    icalcomponent_add_property(todo, prop);
}

void ensureZone(icalcomponent* calendar)
{
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
         c; c = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty* id = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY);
        if (id && qstrcmp(icalproperty_get_tzid(id), "Europe/Paris") == 0)
            return;
    }
    if (icalcomponent* zone = icaltimezone_get_component(paris()))
        icalcomponent_add_component(calendar, icalcomponent_new_clone(zone));
}

QByteArray text(icalcomponent* calendar)
{
    char* s = icalcomponent_as_ical_string_r(calendar);
    QByteArray out(s);
    free(s);
    return out;
}

icalcomponent* todoIn(icalcomponent* c)
{
    if (!c)
        return nullptr;
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT)
        return c;
    return icalcomponent_get_first_component(c, ICAL_VTODO_COMPONENT);
}

} // namespace

FollowUp followUpOf(const ContactRecord& r)
{
    FollowUp f{r.followup_date, r.followup_time.isValid() ? r.followup_time : QTime(0, 0),
               r.followup_type};
    if (!f.isSet())
        return {};
    return f;
}

void setFollowUp(ContactRecord& r, const FollowUp& f)
{
    if (f.isSet()) {
        r.followup_date = f.date;
        r.followup_time = f.time;
        r.followup_type = f.type;
    } else {
        r.followup_date = QDate(1900, 1, 1);
        r.followup_time = QTime(0, 0);
        r.followup_type.clear();
    }
}

QString followUpHash(const FollowUp& f)
{
    if (!f.isSet())
        return QStringLiteral("none");
    const QByteArray key = f.date.toString(Qt::ISODate).toLatin1() + '|' +
                           f.time.toString(Qt::ISODate).toLatin1() + '|' + f.type;
    return QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

QString taskUid(const QString& contactUid)
{
    return contactUid + Suffix;
}

QString contactOfTask(const ServerTask& task)
{
    if (!task.relatedTo.isEmpty())
        return task.relatedTo;
    if (task.uid.endsWith(Suffix))
        return task.uid.chopped(Suffix.size());
    return {};
}

QByteArray newTask(const QString& contactUid, const FollowUp& f, const QByteArray& name)
{
    icalcomponent* cal = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//Tarvik//Relances//FR"));
    icalcomponent* todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
    icalcomponent_add_property(todo, icalproperty_new_uid(taskUid(contactUid).toUtf8()));
    icalcomponent_add_property(todo, icalproperty_new_dtstamp(icaltime_current_time_with_zone(
                                         icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(todo, icalproperty_new_summary(summaryOf(f, name)));
    icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
    icalcomponent_add_property(todo, icalproperty_new_relatedto(contactUid.toUtf8()));
    putDue(todo, f);
    icalcomponent_add_component(cal, todo);
    if (f.time != QTime(0, 0))
        ensureZone(cal);
    const QByteArray out = text(cal);
    icalcomponent_free(cal);
    return out;
}

std::optional<ServerTask> readTask(const QByteArray& data, QString* error)
{
    icalcomponent* root = icalparser_parse_string(data.constData());
    icalcomponent* todo = todoIn(root);
    if (!todo) {
        if (error)
            *error = QStringLiteral("pas de tâche VTODO");
        if (root)
            icalcomponent_free(root);
        return std::nullopt;
    }
    ServerTask t;
    if (const char* uid = icalcomponent_get_uid(todo))
        t.uid = QString::fromUtf8(uid);
    if (icalproperty* rel = icalcomponent_get_first_property(todo, ICAL_RELATEDTO_PROPERTY))
        t.relatedTo = QString::fromUtf8(icalproperty_get_relatedto(rel));
    t.completed = icalcomponent_get_status(todo) == ICAL_STATUS_COMPLETED ||
                  icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY) != nullptr;
    if (icalproperty* dueProp = icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY)) {
        icaltimetype due = icalproperty_get_due(dueProp);
        if (icalparameter* tzid = icalproperty_get_first_parameter(dueProp, ICAL_TZID_PARAMETER)) {
            icaltimezone* zone = icalcomponent_get_timezone(root, icalparameter_get_tzid(tzid));
            if (!zone)
                zone = icaltimezone_get_builtin_timezone(icalparameter_get_tzid(tzid));
            if (zone)
                due = icaltime_set_timezone(&due, zone);
        }
        if (!due.is_date && due.zone)
            due = icaltime_convert_to_zone(due, paris());
        t.due.date = QDate(due.year, due.month, due.day);
        t.due.time = due.is_date ? QTime(0, 0) : QTime(due.hour, due.minute, due.second);
    }
    icalcomponent_free(root);
    return t;
}

QByteArray rewriteTask(const QByteArray& data, const FollowUp& f, const QByteArray& name)
{
    icalcomponent* root = icalparser_parse_string(data.constData());
    icalcomponent* todo = todoIn(root);
    if (!todo) {
        if (root)
            icalcomponent_free(root);
        return {};
    }
    putDue(todo, f);
    icalcomponent_set_summary(todo, summaryOf(f, name));
    if (icalcomponent_get_status(todo) == ICAL_STATUS_COMPLETED) {
        icalcomponent_set_status(todo, ICAL_STATUS_NEEDSACTION);
        for (icalproperty_kind kind : {ICAL_COMPLETED_PROPERTY, ICAL_PERCENTCOMPLETE_PROPERTY})
            while (icalproperty* p = icalcomponent_get_first_property(todo, kind)) {
                icalcomponent_remove_property(todo, p);
                icalproperty_free(p);
            }
    }
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT && f.time != QTime(0, 0))
        ensureZone(root);
    const QByteArray out = text(root);
    icalcomponent_free(root);
    return out;
}

} // namespace tarvik::sync
