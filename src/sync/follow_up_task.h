#pragma once

#include "contacts/contact_record.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace tarvik::sync {

// A contact's follow-up as a task (VTODO) of a calendar.
struct FollowUp
{
    QDate date;
    QTime time; // 00:00:00: a day without an hour
    QByteArray type;

    // Neither empty nor the "none" date 01/01/1900.
    bool isSet() const { return date.isValid() && date != QDate(1900, 1, 1); }
    bool operator==(const FollowUp&) const = default;
};

FollowUp followUpOf(const ContactRecord& record);
// The record with its follow-up set, or cleared ("01/01/1900", "00:00:00",
// no type) for a follow-up that is not set; its alert is left alone.
void setFollowUp(ContactRecord& record, const FollowUp& followUp);
QString followUpHash(const FollowUp& followUp);

// What the sync reads of a task on the server.
struct ServerTask
{
    QString uid;
    QString relatedTo; // the contact's UID
    bool completed = false;
    FollowUp due; // in Europe/Paris
};

// The UID of the task of the contact `contactUid`.
QString taskUid(const QString& contactUid);
// The contact a task belongs to: its RELATED-TO, or the UID it was made with.
QString contactOfTask(const ServerTask& task);

// A calendar object holding one VTODO for the follow-up (libical).
QByteArray newTask(const QString& contactUid, const FollowUp& followUp, const QByteArray& name);
// Reads the VTODO of a calendar object; nothing (with the reason) when it has none.
std::optional<ServerTask> readTask(const QByteArray& text, QString* error = nullptr);
// The server's task with a new due date and summary, the rest as it was; a
// completed task is opened again.
QByteArray rewriteTask(const QByteArray& text, const FollowUp& followUp, const QByteArray& name);

} // namespace tarvik::sync
