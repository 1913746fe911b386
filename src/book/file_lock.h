#pragma once

#include <QDateTime>
#include <QString>

namespace tarvik {

class Clock;
class ProcessTable;

// The lock of an open contact file: a small hidden file beside it ("." + the
// file's name + ".lock") naming the process that holds it, its user and its machine. It
// tells a second copy of the program, on this machine or on another one
// sharing the folder, that the file is being worked on.
//
// The lock is made whole under a name of its own and then linked to the lock
// name, which fails when a lock is already there: of two copies started at
// the same moment exactly one gets it, and no copy ever reads a lock that is
// still being written.
class FileLock
{
public:
    enum class Result {
        Taken,       // this process holds the lock now
        Held,        // another live process holds it (see owner())
        Unavailable, // no lock can be made beside the file (read-only folder or media)
    };

    struct Owner
    {
        qint64 pid = 0;
        QString token; // tells the process apart from a later one with the same id
        QString host;
        QString user;
        QDateTime written; // when the lock was made or last refreshed
    };

    FileLock(const ProcessTable& processes, const Clock& clock);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static QString lockPathFor(const QString& filePath);

    // Takes the lock of `filePath`, replacing one that no live process holds:
    // on this machine, its process is gone (or its id now names another
    // program); on another machine, it was not refreshed for a day; an empty
    // or damaged lock names no one. A lock this process already holds is
    // taken again.
    Result acquire(const QString& filePath);
    // Removes the lock when it is still this process's own.
    void release();
    // Puts the lock back when it was removed behind the program's back, and
    // marks it as still in use for the copies on other machines.
    void refresh();

    bool held() const { return !m_filePath.isEmpty(); }
    const QString& filePath() const { return m_filePath; }
    // The holder found by the last acquire that did not take the lock.
    const Owner& owner() const { return m_owner; }

    // The lock's text, and its reading; nullopt-like `ok` false when damaged.
    QByteArray content() const;
    static bool parse(const QByteArray& text, Owner& owner);

private:
    bool alive(const Owner& owner, const QDateTime& written) const;
    bool mine(const Owner& owner) const;
    bool place(const QString& lockPath, const QByteArray& text, int& error);

    const ProcessTable* m_processes;
    const Clock* m_clock;
    QString m_filePath; // the locked file, empty when none is held
    QByteArray m_text;  // what this process wrote
    Owner m_owner;
};

} // namespace tarvik
