#include "book/file_lock.h"

#include "platform/clock.h"
#include "platform/process_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvik {

namespace {

constexpr char Marker[] = "TARVIK-LOCK 1";

QByteArray readSmall(const QString& path, bool& exists)
{
    QFile f(path);
    exists = f.exists();
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // A lock is a few lines: a huge file there is not one, and is not read whole.
    return f.read(4096);
}

} // namespace

FileLock::FileLock(const ProcessTable& processes, const Clock& clock)
    : m_processes(&processes), m_clock(&clock)
{
}

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_processes(other.m_processes), m_clock(other.m_clock),
      m_filePath(std::move(other.m_filePath)), m_text(std::move(other.m_text)),
      m_owner(std::move(other.m_owner))
{
    other.m_filePath.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_processes = other.m_processes;
        m_clock = other.m_clock;
        m_filePath = std::move(other.m_filePath);
        m_text = std::move(other.m_text);
        m_owner = std::move(other.m_owner);
        other.m_filePath.clear();
    }
    return *this;
}

QString FileLock::lockPathFor(const QString& filePath)
{
    // Hidden, so that the folder shows the user's files only.
    const QFileInfo info(filePath);
    return info.dir().filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".lock"));
}

QByteArray FileLock::content() const
{
    const qint64 pid = m_processes->currentPid();
    QByteArray text = Marker;
    text += '\n' + QByteArray::number(pid) + '\n' + m_processes->startToken(pid).toUtf8() + '\n' +
            m_processes->hostName().toUtf8() + '\n' + m_processes->userName().toUtf8() + '\n';
    return text;
}

bool FileLock::parse(const QByteArray& text, Owner& owner)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 5 || lines.at(0) != Marker)
        return false;
    bool ok = false;
    owner.pid = lines.at(1).toLongLong(&ok);
    if (!ok || owner.pid <= 0)
        return false;
    owner.token = QString::fromUtf8(lines.at(2));
    owner.host = QString::fromUtf8(lines.at(3));
    owner.user = QString::fromUtf8(lines.at(4));
    return !owner.host.isEmpty();
}

bool FileLock::mine(const Owner& owner) const
{
    const qint64 pid = m_processes->currentPid();
    return owner.pid == pid && owner.host == m_processes->hostName() &&
           owner.token == m_processes->startToken(pid);
}

bool FileLock::alive(const Owner& owner, const QDateTime& written) const
{
    if (owner.host == m_processes->hostName()) {
        const QString now = m_processes->startToken(owner.pid);
        // A token that cannot be read ("?") on either side proves nothing
        // against the process: it is taken as the one that wrote the lock.
        return !now.isEmpty() && (now == owner.token || now == QLatin1String("?") ||
                                  owner.token == QLatin1String("?"));
    }
    // The processes of another machine cannot be seen from here: its lock
    // holds while it is kept fresh.
    return written.isValid() && written.secsTo(m_clock->now()) < 24 * 3600;
}

bool FileLock::place(const QString& lockPath, const QByteArray& text, int& error)
{
    error = 0;
    // Written whole under a name no other process uses, then linked.
    const QString own = lockPath + QStringLiteral(".%1.tmp").arg(m_processes->currentPid());
    {
        QSaveFile f(own);
        f.setDirectWriteFallback(false);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit()) {
            error = EACCES;
            return false;
        }
    }
    const QByteArray from = QFile::encodeName(own);
    const QByteArray to = QFile::encodeName(lockPath);
    int rc = ::link(from.constData(), to.constData());
    error = rc == 0 ? 0 : errno;
    ::unlink(from.constData());
    if (rc == 0)
        return true;
    if (error == EEXIST)
        return false;
    if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EXDEV) {
        // A file system without hard links (memory sticks, some shares): an
        // exclusive creation, written in one call, is the next best thing.
        const int fd = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            error = errno;
            return false;
        }
        const ssize_t n = ::write(fd, text.constData(), size_t(text.size()));
        ::close(fd);
        if (n != text.size()) {
            ::unlink(to.constData());
            error = EIO;
            return false;
        }
        error = 0;
        return true;
    }
    return false;
}

FileLock::Result FileLock::acquire(const QString& filePath)
{
    const QString absolute = QFileInfo(filePath).absoluteFilePath();
    if (held() && m_filePath == absolute)
        return Result::Taken;
    const QString lockPath = lockPathFor(absolute);
    const QByteArray text = content();
    m_owner = Owner();
    // Twice at most: the second time after a lock of no one was moved away.
    for (int attempt = 0; attempt < 2; ++attempt) {
        int error = 0;
        if (place(lockPath, text, error)) {
            release();
            m_filePath = absolute;
            m_text = text;
            return Result::Taken;
        }
        if (error != EEXIST)
            return Result::Unavailable;

        bool exists = false;
        const QByteArray found = readSmall(lockPath, exists);
        if (!exists)
            continue; // released meanwhile
        Owner owner;
        const bool readable = parse(found, owner);
        owner.written = QFileInfo(lockPath).lastModified();
        if (readable && mine(owner)) {
            // Left by this very process (a file opened again).
            release();
            m_filePath = absolute;
            m_text = found;
            return Result::Taken;
        }
        if (readable && alive(owner, owner.written)) {
            m_owner = owner;
            return Result::Held;
        }
        // Nobody's lock: moved aside first, so that of two processes taking it
        // over at once, the second cannot remove the lock the first one made.
        const QString aside = lockPath + QStringLiteral(".%1.stale").arg(m_processes->currentPid());
        const QByteArray asideName = QFile::encodeName(aside);
        if (::rename(QFile::encodeName(lockPath).constData(), asideName.constData()) != 0) {
            if (errno == ENOENT)
                continue;
            return Result::Unavailable;
        }
        bool movedExists = false;
        const QByteArray moved = readSmall(aside, movedExists);
        if (moved != found) {
            // Another process's fresh lock was moved: it goes back.
            if (::link(asideName.constData(), QFile::encodeName(lockPath).constData()) != 0 &&
                errno != EEXIST) {
                ::unlink(asideName.constData());
                return Result::Unavailable;
            }
            ::unlink(asideName.constData());
            Owner other;
            parse(moved, other);
            other.written = QFileInfo(lockPath).lastModified();
            m_owner = other;
            return Result::Held;
        }
        ::unlink(asideName.constData());
    }
    return Result::Unavailable;
}

void FileLock::release()
{
    if (!held())
        return;
    const QString lockPath = lockPathFor(m_filePath);
    bool exists = false;
    // Only this process's own lock goes: one that replaced it (after it was
    // removed behind the program's back) belongs to someone else.
    if (readSmall(lockPath, exists) == m_text)
        QFile::remove(lockPath);
    m_filePath.clear();
    m_text.clear();
}

void FileLock::refresh()
{
    if (!held())
        return;
    const QString lockPath = lockPathFor(m_filePath);
    bool exists = false;
    const QByteArray found = readSmall(lockPath, exists);
    if (!exists) {
        int error = 0;
        place(lockPath, m_text, error);
        return;
    }
    if (found == m_text)
        ::utimensat(AT_FDCWD, QFile::encodeName(lockPath).constData(), nullptr, 0);
}

} // namespace tarvik
