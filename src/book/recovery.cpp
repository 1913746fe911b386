#include "book/recovery.h"

#include "book/record_book.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/process_table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace tarvik {

namespace {

constexpr char Marker[] = "TARVIK-RECOVERY ";
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

// Lines are written with their length before them, so that any byte a line
// holds comes back as it was.
void appendLines(QByteArray& out, const BlockList& lines, QIODevice& device,
                 QCryptographicHash& hash)
{
    for (const QByteArray& line : lines) {
        out += QByteArray::number(line.size());
        out += ':';
        out += line;
        out += '\n';
        if (out.size() > (1 << 20)) {
            hash.addData(out);
            device.write(out);
            out.clear();
        }
    }
}

QByteArray headingText(const Recovery::Entry& e, const Recovery::Lists& lists)
{
    QByteArray h = Marker + QByteArray::number(Recovery::Version) + '\n';
    h += "path=" + QUrl::toPercentEncoding(e.filePath, "/") + '\n';
    h += "pid=" + QByteArray::number(e.pid) + '\n';
    h += "token=" + QUrl::toPercentEncoding(e.token) + '\n';
    h += "host=" + QUrl::toPercentEncoding(e.host) + '\n';
    h += "user=" + QUrl::toPercentEncoding(e.user) + '\n';
    h += "written=" + e.written.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    h += QByteArray("readonly=") + (e.readOnly ? "1" : "0") + '\n';
    h += "contactfile=" + e.contactStamp.toText() + '\n';
    h += "operationsfile=" + e.operationsStamp.toText() + '\n';
    h += "contacts=" + QByteArray::number(lists.contacts.size()) + '\n';
    h += "operations=" + QByteArray::number(lists.operations.size()) + '\n';
    h += '\n';
    return h;
}

[[noreturn]] void damaged(const QString& why)
{
    throw TarvikError(why);
}

// Reads the heading; `pos` is left on the first line of the lists. Throws on
// a heading that is not one.
Recovery::Entry readHeading(const QByteArray& bytes, qsizetype& pos, qsizetype& contacts,
                            qsizetype& operations)
{
    if (bytes.isEmpty())
        damaged(QStringLiteral("copie vide"));
    if (!bytes.startsWith(Marker))
        damaged(QStringLiteral("ce n'est pas une copie de récupération"));
    Recovery::Entry e;
    contacts = -1;
    operations = -1;
    pos = 0;
    bool first = true;
    while (true) {
        const qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            damaged(QStringLiteral("copie tronquée"));
        const QByteArray line = bytes.mid(pos, end - pos);
        pos = end + 1;
        if (first) {
            first = false;
            bool ok = false;
            const int version = line.mid(int(sizeof(Marker)) - 1).toInt(&ok);
            if (!ok)
                damaged(QStringLiteral("version illisible"));
            if (version > Recovery::Version)
                damaged(QStringLiteral("copie écrite par une version plus récente du programme"));
            continue;
        }
        if (line.isEmpty())
            break;
        const qsizetype eq = line.indexOf('=');
        const QByteArray key = line.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : line.mid(eq + 1);
        if (key == "path")
            e.filePath = QUrl::fromPercentEncoding(value);
        else if (key == "pid")
            e.pid = value.toLongLong();
        else if (key == "token")
            e.token = QUrl::fromPercentEncoding(value);
        else if (key == "host")
            e.host = QUrl::fromPercentEncoding(value);
        else if (key == "user")
            e.user = QUrl::fromPercentEncoding(value);
        else if (key == "written")
            e.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        else if (key == "readonly")
            e.readOnly = value == "1";
        else if (key == "contactfile")
            e.contactStamp = FileStamp::fromText(value);
        else if (key == "operationsfile")
            e.operationsStamp = FileStamp::fromText(value);
        else if (key == "contacts")
            contacts = value.toLongLong();
        else if (key == "operations")
            operations = value.toLongLong();
    }
    if (e.filePath.isEmpty() || contacts < 0 || operations < 0)
        damaged(QStringLiteral("en-tête incomplet"));
    return e;
}

bool readLines(const QByteArray& bytes, qsizetype& pos, qsizetype count, BlockList& out)
{
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype colon = bytes.indexOf(':', pos);
        if (colon < 0 || colon - pos > 12)
            return false;
        bool ok = false;
        const qsizetype length = bytes.mid(pos, colon - pos).toLongLong(&ok);
        if (!ok || length < 0 || colon + 1 + length >= bytes.size() ||
            bytes.at(colon + 1 + length) != '\n')
            return false;
        out.append(bytes.mid(colon + 1, length));
        pos = colon + 2 + length;
    }
    return true;
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
    // The lists seen last are shared with the book's: any change of the
    // book's lists since then has given them storage of their own.
    const BlockList& contacts = book.contacts();
    const BlockList& operations = book.operations().list();
    if (contacts.constData() != s.contacts.constData() || contacts.size() != s.contacts.size() ||
        operations.constData() != s.operations.constData() ||
        operations.size() != s.operations.size())
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
    s.contacts = book.contacts();
    s.operations = book.operations().list();
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

Recovery::Job Recovery::jobOf(const RecordBook& book)
{
    Job job;
    job.lists = Lists{book.contacts(), book.operations().list()};
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
    if (m_seen)
        job.retired.append(Lists{std::move(m_seen->contacts), std::move(m_seen->operations)});
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
        // Only the newest copy matters: one not yet started is replaced,
        // and its lists go with the new one to be let go by the writer.
        if (m_job) {
            job.retired.append(std::move(m_job->lists));
            job.retired.append(std::move(m_job->retired));
        }
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
        // The lists go while the lock is not held: freeing them may take a while.
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

void Recovery::write(QIODevice& device, const Entry& heading, const Lists& lists)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QByteArray out = headingText(heading, lists);
    appendLines(out, lists.contacts, device, hash);
    appendLines(out, lists.operations, device, hash);
    hash.addData(out);
    device.write(out);
    // The last line proves the copy whole: a copy cut short lacks it or
    // does not match it.
    device.write("end=" + hash.result().toHex() + '\n');
}

Recovery::Entry Recovery::decode(const QByteArray& bytes)
{
    qsizetype pos = 0;
    qsizetype contacts = 0;
    qsizetype operations = 0;
    Entry e = readHeading(bytes, pos, contacts, operations);
    if (!readLines(bytes, pos, contacts, e.lists.contacts) ||
        !readLines(bytes, pos, operations, e.lists.operations))
        damaged(QStringLiteral("copie tronquée"));
    const QByteArray end = bytes.mid(pos);
    const QByteArray sum =
        QCryptographicHash::hash(bytes.left(pos), QCryptographicHash::Sha1).toHex();
    if (!end.startsWith("end="))
        damaged(QStringLiteral("copie tronquée"));
    if (end != "end=" + sum + '\n')
        damaged(QStringLiteral("copie endommagée"));
    return e;
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
            qsizetype pos = 0;
            qsizetype c = 0;
            qsizetype o = 0;
            try {
                e = readHeading(head, pos, c, o);
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
        damaged(f.errorString());
    Entry e = decode(f.readAll());
    e.entryPath = entryPath;
    if (!expectedFile.isEmpty() && e.filePath != absolute(expectedFile))
        damaged(QStringLiteral("copie d'un autre fichier"));
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
