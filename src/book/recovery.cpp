#include "book/recovery.h"

#include "book/record_book.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/process_table.h"
#include "storage/large_memory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace tarvik {

namespace {

constexpr char Suffix[] = ".rec";

// The entries of one contact file share the start of their name.
QString keyOf(const QString& filePath)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(filePath.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
}

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

Recovery::Recovery(const QString& folder, const ProcessTable& processes, const Clock& clock)
    : m_folder(folder), m_processes(processes), m_clock(clock)
{
}

Recovery::~Recovery()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

QString Recovery::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

// ---------------------------------------------------------------- the open file

void Recovery::attach(const QString& filePath, bool readOnly, const FileStamp& contacts,
                      const FileStamp& operations)
{
    const QString path = absolute(filePath);
    if (path != m_filePath)
        dropOwnEntry();
    m_filePath = path;
    m_readOnly = readOnly;
    m_contactStamp = contacts;
    m_operationsStamp = operations;
    m_seen.reset();
}

void Recovery::detach()
{
    dropOwnEntry();
    m_filePath.clear();
    m_seen.reset();
}

void Recovery::discard()
{
    dropOwnEntry();
    // Whatever is still in memory and not saved gets a new copy at the next tick.
    m_seen.reset();
}

void Recovery::dropOwnEntry()
{
    if (m_filePath.isEmpty())
        return;
    {
        // A copy still waiting is dropped, and one being written is let
        // finish, so that no copy appears after it was removed.
        std::unique_lock lock(m_mutex);
        if (m_job && !m_spare)
            m_spare = std::move(m_job->lists);
        m_job.reset();
        m_idle.wait(lock, [this] { return !m_busy; });
    }
    remove(ownEntryPath());
}

QString Recovery::ownEntryPath() const
{
    if (m_filePath.isEmpty())
        return {};
    return QDir(m_folder).filePath(keyOf(m_filePath) +
                                   QStringLiteral("-%1").arg(m_processes.currentPid()) +
                                   QLatin1String(Suffix));
}

Recovery::Lists Recovery::listsOf(const RecordBook& book)
{
    Lists lists{book.contacts(), book.operations().list()};
    if (book.flags().recordChanged)
        ContactBook::writeRecord(lists.contacts, book.shown(), book.currentRecord());
    if (book.flags().operationsChanged)
        OperationBook::writeRecord(lists.operations, book.operations().shown(),
                                   book.operations().current());
    return lists;
}

bool Recovery::sameAsSeen(const RecordBook& book) const
{
    if (!m_seen)
        return false;
    const Seen& s = *m_seen;
    if (book.contacts().version() != s.contacts ||
        book.operations().list().version() != s.operations)
        return false;
    const BookFlags& flags = book.flags();
    if (flags.recordChanged != s.recordChanged || flags.operationsChanged != s.operationsChanged ||
        book.currentRecord() != s.record || book.operations().current() != s.operation)
        return false;
    if (flags.recordChanged && !(book.shown() == s.shown))
        return false;
    if (flags.operationsChanged && !(book.operations().shown() == s.shownOperation))
        return false;
    return true;
}

void Recovery::remember(const RecordBook& book)
{
    Seen s;
    s.contacts = book.contacts().version();
    s.operations = book.operations().list().version();
    s.recordChanged = book.flags().recordChanged;
    s.operationsChanged = book.flags().operationsChanged;
    s.record = book.currentRecord();
    s.operation = book.operations().current();
    if (s.recordChanged)
        s.shown = book.shown();
    if (s.operationsChanged)
        s.shownOperation = book.operations().shown();
    m_seen = std::move(s);
}

Recovery::Entry Recovery::heading() const
{
    Entry e;
    e.filePath = m_filePath;
    e.pid = m_processes.currentPid();
    e.token = m_processes.startToken(e.pid);
    e.host = m_processes.hostName();
    e.user = m_processes.userName();
    e.written = m_clock.now().toUTC();
    e.readOnly = m_readOnly;
    e.contactStamp = m_contactStamp;
    e.operationsStamp = m_operationsStamp;
    return e;
}

Recovery::Lists Recovery::takeStorage()
{
    std::lock_guard lock(m_mutex);
    // A copy not yet started is replaced by the one about to be taken, which
    // goes into its storage.
    if (m_job) {
        Lists lists = std::move(m_job->lists);
        m_job.reset();
        return lists;
    }
    if (m_spare) {
        Lists lists = std::move(*m_spare);
        m_spare.reset();
        return lists;
    }
    return {};
}

void Recovery::keepStorage(Lists lists)
{
    // The bytes go, the tables stay: the book's buffers are its own again
    // (its next edit goes on filling them instead of starting new ones), and
    // the next copy is written into memory that is already there.
    lists.contacts.assignUnshared(BlockList());
    lists.operations.assignUnshared(BlockList());
    std::lock_guard lock(m_mutex);
    if (!m_spare)
        m_spare = std::move(lists);
}

Recovery::Job Recovery::jobOf(const RecordBook& book)
{
    Job job;
    job.lists = takeStorage();
    job.lists.contacts.assignUnshared(book.contacts());
    job.lists.operations.assignUnshared(book.operations().list());
    if (book.flags().recordChanged) {
        job.contact = book.shown();
        job.contactNumber = book.currentRecord();
    }
    if (book.flags().operationsChanged) {
        job.operation = book.operations().shown();
        job.operationNumber = book.operations().current();
    }
    return job;
}

bool Recovery::tick(const RecordBook& book)
{
    if (m_filePath.isEmpty() || !book.TestModif() || sameAsSeen(book))
        return false;
    Job job = jobOf(book);
    remember(book);
    job.path = ownEntryPath();
    job.heading = heading();
    hand(std::move(job));
    return true;
}

bool Recovery::writeNow(const RecordBook& book)
{
    if (m_filePath.isEmpty())
        return false;
    flush();
    remember(book);
    QString failure;
    Job job = jobOf(book);
    job.path = ownEntryPath();
    job.heading = heading();
    const bool ok = writeJob(job, failure);
    keepStorage(std::move(job.lists));
    if (!ok) {
        std::lock_guard lock(m_mutex);
        m_failure = failure;
    }
    return ok;
}

void Recovery::hand(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        // Only the newest copy matters: one not yet started is replaced.
        m_job = std::move(job);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void Recovery::run()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_stop || m_job.has_value(); });
        if (!m_job) {
            if (m_stop)
                return;
            continue;
        }
        Job job = std::move(*m_job);
        m_job.reset();
        m_busy = true;
        lock.unlock();
        QString failure;
        const bool ok = writeJob(job, failure);
        keepStorage(std::move(job.lists));
        job = Job();
        lock.lock();
        if (!ok)
            m_failure = failure;
        m_busy = false;
        m_idle.notify_all();
    }
}

void Recovery::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_job; });
}

QString Recovery::takeFailure()
{
    std::lock_guard lock(m_mutex);
    QString f = m_failure;
    m_failure.clear();
    return f;
}

bool Recovery::writeJob(Job& job, QString& failure) const
{
    // The edits on show go back into the copies of the lists here, off the
    // window's thread: on a large file that is the costly part.
    if (job.contact)
        ContactBook::writeRecord(job.lists.contacts, *job.contact, job.contactNumber);
    if (job.operation)
        OperationBook::writeRecord(job.lists.operations, *job.operation, job.operationNumber);
    if (!QDir().mkpath(m_folder)) {
        failure = QStringLiteral("le dossier %1 ne peut pas être créé")
                      .arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    QSaveFile file(job.path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        failure = file.errorString();
        return false;
    }
    write(file, job.heading, job.lists);
    if (!file.commit()) {
        failure = file.errorString();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- past sessions

bool Recovery::alive(const Entry& e) const
{
    if (e.host == m_processes.hostName()) {
        const QString now = m_processes.startToken(e.pid);
        return !now.isEmpty() && now == e.token;
    }
    return e.written.isValid() && e.written.secsTo(m_clock.now()) < 24 * 3600;
}

QList<Recovery::Entry> Recovery::orphans(const QString& filePath) const
{
    QList<Entry> found;
    const QDir dir(m_folder);
    const QString prefix = filePath.isEmpty() ? QString() : keyOf(absolute(filePath));
    const QStringList names =
        dir.entryList({prefix + QStringLiteral("*") + QLatin1String(Suffix)}, QDir::Files);
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        QFile f(path);
        Entry e;
        if (f.open(QIODevice::ReadOnly)) {
            // The heading is a few hundred bytes; the lists are not read here.
            const QByteArray head = f.read(16384);
            try {
                e = decodeHeading(head);
            } catch (const TarvikError& error) {
                e = Entry();
                e.problem = error.text();
            }
        } else {
            e.problem = f.errorString();
        }
        e.entryPath = path;
        if (e.problem.isEmpty() && alive(e))
            continue;
        if (e.problem.isEmpty() && !filePath.isEmpty() && e.filePath != absolute(filePath))
            e.problem = QStringLiteral("copie d'un autre fichier");
        found.append(e);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Entry& a, const Entry& b) { return a.written > b.written; });
    return found;
}

Recovery::Entry Recovery::read(const QString& entryPath, const QString& expectedFile) const
{
    QFile f(entryPath);
    if (!f.open(QIODevice::ReadOnly))
        throw TarvikError(f.errorString());
    Entry e = decode(memory::readAll(f));
    e.entryPath = entryPath;
    if (!expectedFile.isEmpty() && e.filePath != absolute(expectedFile))
        throw TarvikError(QStringLiteral("copie d'un autre fichier"));
    return e;
}

QString Recovery::keepAside(const QString& entryPath) const
{
    const QString stamp = m_clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = entryPath + QStringLiteral(".illisible-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = entryPath + QStringLiteral(".illisible-") + stamp + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(entryPath, aside))
        return entryPath;
    return aside;
}

void Recovery::remove(const QString& entryPath)
{
    if (!entryPath.isEmpty())
        QFile::remove(entryPath);
}

} // namespace tarvik
