#pragma once

#include "book/file_stamp.h"
#include "contacts/contact_record.h"
#include "operations/operation_book.h"
#include "storage/block_list.h"

#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace tarvik {

class Clock;
class ProcessTable;
class RecordBook;

// The recovery copies of the lists in memory: while a contact file has
// changes not saved, a copy of both lists (contacts and operations, with the
// edits on show written back) is kept in a folder of the user's data, so that
// a crash, a power cut or a killed session loses at most the last second of
// work. One entry per open file and process, naming the contact file's full
// path; it goes when the changes are saved or refused.
//
// The copy is taken on the calling (window) thread and written by a thread
// of its own through QSaveFile, so that a large file never holds up the
// window. Taking it copies the lists' tables of lines (not their bytes) into
// storage that the writer hands back after each copy: a copy that shared the
// book's tables instead would make the book's next edit copy them whole, in
// fresh memory, on the window's thread.
class Recovery
{
public:
    struct Lists
    {
        BlockList contacts;
        BlockList operations;
        bool operator==(const Lists&) const = default;
    };

    // What an entry says about itself, and its lists once read whole.
    struct Entry
    {
        QString entryPath; // in the recovery folder
        QString filePath;  // the contact file
        qint64 pid = 0;
        QString token;
        QString host;
        QString user;
        QDateTime written; // UTC
        bool readOnly = false;
        FileStamp contactStamp;
        FileStamp operationsStamp;
        Lists lists;
        // Why the heading could not be taken as it is; empty when it could.
        QString problem;
    };

    // The version this program writes; a higher one comes from a newer program.
    static constexpr int Version = 1;

    Recovery(const QString& folder, const ProcessTable& processes, const Clock& clock);
    ~Recovery();
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // `recovery/` in the user's data folder.
    static QString defaultFolder();
    const QString& folder() const { return m_folder; }

    // --- the copy of the open file
    // From now on the copies are of this file; the stamps are those of the
    // files as loaded, for the changed-file check after a recovery.
    void attach(const QString& filePath, bool readOnly, const FileStamp& contacts,
                const FileStamp& operations);
    // No file any more: the entry of this process goes.
    void detach();
    // The changes were saved or refused: the entry of this process goes; a
    // later change writes it again.
    void discard();
    // Called about once a second. When the book has changes not saved and
    // its lists or the edits on show differ from the last copy, a new copy is
    // handed to the writer. True when one was.
    bool tick(const RecordBook& book);
    // The copy written now, on this thread; false when it could not be.
    bool writeNow(const RecordBook& book);
    // Waits for the writer to finish the copy it was given.
    void flush();
    // A write that failed since the last call: the reason, else empty.
    QString takeFailure();
    // The file of this process's entry for the attached file.
    QString ownEntryPath() const;

    // --- the entries of past sessions
    // The entries no live process keeps (its own process gone, or on another
    // machine not written for a day), newest first, read as far as their
    // heading; of one contact file only when `filePath` is given. An entry
    // whose heading cannot be read, or names another file than its name
    // says, is listed with the problem.
    QList<Entry> orphans(const QString& filePath = QString()) const;
    // The entry read whole. Throws TarvikError saying what is wrong: cut
    // short, empty, of another file, written by a newer program, damaged.
    Entry read(const QString& entryPath, const QString& expectedFile = QString()) const;
    // A damaged entry renamed so that it is no longer offered, and kept for
    // whoever wants to look at it; returns the new name.
    QString keepAside(const QString& entryPath) const;
    static void remove(const QString& entryPath);

    // The bytes of an entry.
    static void write(QIODevice& device, const Entry& heading, const Lists& lists);
    static Entry decode(const QByteArray& bytes);
    // The heading alone, from the first bytes of an entry; throws as decode.
    static Entry decodeHeading(const QByteArray& head);

    // The lists of the book as they would be with the edits on show written
    // back: what a recovery gives back.
    static Lists listsOf(const RecordBook& book);

private:
    // The lists as the book holds them, in tables of their own, and the
    // edits on show, written back by the writer.
    struct Job
    {
        QString path;
        Entry heading;
        Lists lists;
        std::optional<ContactRecord> contact;
        int contactNumber = 0;
        std::optional<OperationRecord> operation;
        int operationNumber = 0;
    };
    Job jobOf(const RecordBook& book);
    Lists takeStorage();
    void keepStorage(Lists lists);
    // What the last copy was taken from: the versions of the lists, which
    // any change of them changes.
    struct Seen
    {
        quint64 contacts = 0;
        quint64 operations = 0;
        bool recordChanged = false;
        bool operationsChanged = false;
        int record = -1;
        int operation = -1;
        ContactRecord shown;
        OperationRecord shownOperation;
    };

    Entry heading() const;
    bool sameAsSeen(const RecordBook& book) const;
    void remember(const RecordBook& book);
    void hand(Job job);
    void run();
    bool writeJob(Job& job, QString& failure) const;
    bool alive(const Entry& entry) const;
    void dropOwnEntry();

    QString m_folder;
    const ProcessTable& m_processes;
    const Clock& m_clock;
    QString m_filePath;
    bool m_readOnly = false;
    FileStamp m_contactStamp;
    FileStamp m_operationsStamp;
    std::optional<Seen> m_seen;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_job;
    // Lists whose tables the next copy is written into (their bytes let go).
    std::optional<Lists> m_spare;
    bool m_busy = false;
    bool m_stop = false;
    QString m_failure;
    std::thread m_thread;
};

} // namespace tarvik
