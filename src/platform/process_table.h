#pragma once

#include <QString>

namespace tarvik {

// What the lock of an open file needs to know about the running processes
// and the machine. The program asks the system; tests give a fixed table.
class ProcessTable
{
public:
    virtual ~ProcessTable() = default;

    // This process.
    virtual qint64 currentPid() const = 0;
    // A token that tells a process apart from a later one that gets the same
    // id once it is gone; empty when no process has this id now.
    virtual QString startToken(qint64 pid) const = 0;
    virtual QString hostName() const = 0;
    virtual QString userName() const = 0;
};

// The processes of this machine, as the system shows them.
class SystemProcessTable : public ProcessTable
{
public:
    qint64 currentPid() const override;
    QString startToken(qint64 pid) const override;
    QString hostName() const override;
    QString userName() const override;
};

} // namespace tarvik
