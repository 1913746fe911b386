#include "platform/process_table.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace tarvik {

qint64 SystemProcessTable::currentPid() const
{
    return qint64(::getpid());
}

QString SystemProcessTable::startToken(qint64 pid) const
{
    if (pid <= 0)
        return {};
    // EPERM: the process exists but belongs to someone else.
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return {};
    // The start time in clock ticks since boot (field 22 of the status line)
    // changes when the id is given to another process. The command name in
    // brackets may hold spaces and brackets, so the fields are counted from
    // the last closing one.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return QStringLiteral("?");
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // After the name: state is field 3, start time field 22.
    constexpr int StartTime = 22 - 3;
    if (fields.size() <= StartTime)
        return QStringLiteral("?");
    return QString::fromLatin1(fields.at(StartTime));
}

QString SystemProcessTable::hostName() const
{
    return QSysInfo::machineHostName();
}

QString SystemProcessTable::userName() const
{
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

} // namespace tarvik
