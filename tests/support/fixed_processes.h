#pragma once

#include "platform/process_table.h"

#include <QMap>

namespace tarvik {

// A process table that shows the processes a test sets, on a fixed machine.
class FixedProcesses : public ProcessTable
{
public:
    explicit FixedProcesses(qint64 pid = 100, QString user = QStringLiteral("alice"))
        : pid(pid), user(std::move(user))
    {
        running.insert(pid, QStringLiteral("t%1").arg(pid));
    }

    qint64 currentPid() const override { return pid; }
    QString startToken(qint64 p) const override { return running.value(p); }
    QString hostName() const override { return host; }
    QString userName() const override { return user; }

    qint64 pid;
    QString user;
    QString host = QStringLiteral("poste1");
    QMap<qint64, QString> running; // pid -> start token
};

} // namespace tarvik
