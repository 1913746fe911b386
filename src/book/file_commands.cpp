#include "book/file_commands.h"

#include "book/record_book.h"
#include "operations/operation_book.h"
#include "platform/errors.h"
#include "platform/process_table.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFileInfo>

namespace tarvik {

namespace {

const ProcessTable& systemProcesses()
{
    static const SystemProcessTable table;
    return table;
}

// File names in messages are written without their folder, as the save
// question writes them.
QString shortName(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

FileCommands::FileCommands(RecordBook& book, Prompter& prompter)
    : FileCommands(book, prompter, systemProcesses(), Recovery::defaultFolder())
{
}

FileCommands::FileCommands(RecordBook& book, Prompter& prompter, const ProcessTable& processes,
                           const QString& recoveryFolder)
    : m_book(book), m_prompter(prompter), m_processes(processes), m_lock(processes, book.clock()),
      m_recovery(recoveryFolder, processes, book.clock())
{
}

FileCommands::~FileCommands() = default;

QString FileCommands::withoutExtension(const QString& name)
{
    QString base = name;
    const qsizetype slash =
        std::max(base.lastIndexOf(QLatin1Char('/')), base.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        base.truncate(dot);
    return base;
}

bool FileCommands::saveQuestion()
{
    if (!m_book.TestModif())
        return true;
    const QString text = QStringLiteral("Enregistrer changements dans ") +
                         QFileInfo(m_fileName).fileName() + QStringLiteral(" ?");
    switch (m_prompter.askYesNoCancel(text)) {
    case Prompter::Answer::Yes:
        return save();
    case Prompter::Answer::No:
        // The user gave the changes up: nothing is to be offered back.
        m_recovery.discard();
        return true;
    case Prompter::Answer::Cancel:
        return false;
    }
    return false;
}

bool FileCommands::newFile()
{
    if (!saveQuestion())
        return false;
    m_fileName.clear();
    m_book.Nouveau();
    m_recovery.detach();
    m_lock.release();
    m_readOnly = false;
    m_contactStamp = FileStamp();
    m_operationsStamp = FileStamp();
    return true;
}

bool FileCommands::open()
{
    if (!saveQuestion())
        return false;
    const auto choice = m_prompter.chooseOpenFile({QStringLiteral("Fichiers contacts (*.ctc)")},
                                                  QStringLiteral("ctc"));
    if (!choice || choice->path.isEmpty())
        return false;
    return openPath(choice->path);
}

bool FileCommands::openPath(const QString& path)
{
    const QString previous = m_fileName;
    m_fileName = path;
    if (m_fileName.right(4).toUpper() != QLatin1String(".CTC")) {
        m_fileName.clear();
        m_prompter.information(QStringLiteral("Type de fichier non valide"));
        return false;
    }
    if (!QFileInfo::exists(m_fileName)) {
        m_prompter.information(QStringLiteral("Le fichier n'existe pas"));
        return false;
    }
    if (!load(path)) {
        // Left closed: what was open stays open under its own name.
        m_fileName = previous;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- lock, load

FileCommands::Access FileCommands::lockFor(const QString& path, FileLock& lock)
{
    if (m_lock.held() && m_lock.filePath() == absolute(path)) {
        lock = std::move(m_lock);
        return Access::Write;
    }
    switch (lock.acquire(path)) {
    case FileLock::Result::Taken:
        return Access::Write;
    case FileLock::Result::Held: {
        const FileLock::Owner& owner = lock.owner();
        const QString text = QStringLiteral("Le fichier ") + shortName(path) +
                             QStringLiteral(" est déjà ouvert par ") + owner.user +
                             QStringLiteral(" sur ") + owner.host +
                             QStringLiteral(". L'ouvrir en lecture seule ?");
        return m_prompter.askYesNoInformation(text) ? Access::ReadOnly : Access::None;
    }
    case FileLock::Result::Unavailable:
        m_prompter.information(QStringLiteral("Aucun verrou ne peut être posé à côté du fichier ") +
                               shortName(path) +
                               QStringLiteral(" : il est ouvert en lecture seule."));
        return Access::ReadOnly;
    }
    return Access::None;
}

bool FileCommands::load(const QString& path)
{
    FileLock lock(m_processes, m_book.clock());
    const bool relocking = m_lock.held() && m_lock.filePath() == absolute(path);
    const Access access = lockFor(path, lock);
    if (access == Access::None)
        return false;
    if (std::optional<Recovery::Entry> back = chooseRecovery(m_recovery.orphans(path), path)) {
        takeBack(*back, std::move(lock), access);
        return true;
    }
    // Stamped before the read: a change made while it reads is then seen at
    // the next save rather than taken for the file that was read.
    const FileStamp contacts = FileStamp::of(path);
    const FileStamp operations = FileStamp::of(OperationBook::pathFor(path));
    try {
        m_book.Charge(path);
    } catch (...) {
        // When the contacts were read before the failure, they are what is
        // open now, and what the lock and the recovery copies must follow.
        if (m_book.contactPath() == path)
            loaded(path, std::move(lock), access, contacts, operations);
        else if (relocking)
            m_lock = std::move(lock);
        throw;
    }
    loaded(path, std::move(lock), access, contacts, operations);
    return true;
}

void FileCommands::loaded(const QString& path, FileLock&& lock, Access access,
                          const FileStamp& contacts, const FileStamp& operations)
{
    m_fileName = path;
    if (lock.held() || access == Access::ReadOnly)
        m_lock = std::move(lock);
    else
        m_lock.release();
    m_readOnly = access == Access::ReadOnly;
    m_contactStamp = contacts;
    m_operationsStamp = operations;
    m_recovery.attach(path, m_readOnly, contacts, operations);
    m_failureTold = false;
}

// ---------------------------------------------------------------- recovery

void FileCommands::reportDamaged(const Recovery::Entry& entry, const QString& why)
{
    const QString aside = m_recovery.keepAside(entry.entryPath);
    // The file the copy is of, when its heading says it.
    const QString name = entry.filePath.isEmpty() || !entry.problem.isEmpty()
                             ? shortName(entry.entryPath)
                             : shortName(entry.filePath);
    m_prompter.information(QStringLiteral("La copie de récupération de ") + name +
                           QStringLiteral(" est illisible (") + why +
                           QStringLiteral(") ; elle est gardée sous ") +
                           QDir::toNativeSeparators(aside) + QStringLiteral("."));
}

std::optional<Recovery::Entry> FileCommands::readWhole(const Recovery::Entry& entry,
                                                       const QString& path)
{
    if (!entry.problem.isEmpty()) {
        reportDamaged(entry, entry.problem);
        return std::nullopt;
    }
    try {
        return m_recovery.read(entry.entryPath, path);
    } catch (const TarvikError& e) {
        reportDamaged(entry, e.text());
    }
    return std::nullopt;
}

std::optional<Recovery::Entry> FileCommands::chooseRecovery(const QList<Recovery::Entry>& entries,
                                                            const QString& path)
{
    for (const Recovery::Entry& heading : entries) {
        std::optional<Recovery::Entry> entry = readWhole(heading, path);
        if (!entry)
            continue;
        const QString text = QStringLiteral("Des modifications de ") + shortName(entry->filePath) +
                             QStringLiteral(" n'ont pas été enregistrées lors de la dernière "
                                            "session. Les récupérer ?");
        if (m_prompter.askYesNo(text))
            return entry;
        Recovery::remove(entry->entryPath);
    }
    return std::nullopt;
}

void FileCommands::takeBack(const Recovery::Entry& entry, FileLock&& lock, Access access)
{
    m_book.restore(entry.filePath, entry.lists.contacts, entry.lists.operations);
    // The files as the session that made the copy read them: a change made
    // since by another program is asked about at the save.
    loaded(entry.filePath, std::move(lock), access, entry.contactStamp, entry.operationsStamp);
    // The copy becomes this session's own before the old one goes, so that
    // there is always one on disk.
    if (m_recovery.writeNow(m_book) && entry.entryPath != m_recovery.ownEntryPath())
        Recovery::remove(entry.entryPath);
}

bool FileCommands::recoverAtStart()
{
    for (const Recovery::Entry& heading : m_recovery.orphans()) {
        std::optional<Recovery::Entry> entry = readWhole(heading, QString());
        if (!entry)
            continue;
        const QString text = QStringLiteral("Des modifications de ") + shortName(entry->filePath) +
                             QStringLiteral(" n'ont pas été enregistrées lors de la dernière "
                                            "session. Les récupérer ?");
        if (!m_prompter.askYesNo(text)) {
            Recovery::remove(entry->entryPath);
            continue;
        }
        FileLock lock(m_processes, m_book.clock());
        const Access access = lockFor(entry->filePath, lock);
        if (access == Access::None)
            return false; // the copy stays for a later start
        takeBack(*entry, std::move(lock), access);
        return true;
    }
    return false;
}

void FileCommands::tick()
{
    m_recovery.tick(m_book);
    const QString failure = m_recovery.takeFailure();
    if (!failure.isEmpty() && !m_failureTold) {
        m_failureTold = true;
        m_prompter.information(QStringLiteral("Les modifications de ") + shortName(m_fileName) +
                               QStringLiteral(" ne peuvent pas être mises à l'abri (") + failure +
                               QStringLiteral(") : elles seront perdues si le programme "
                                              "s'arrête avant l'enregistrement."));
    }
    // Keeps the lock fresh for the copies on other machines, which take a
    // lock not refreshed for a day for a forgotten one.
    if (++m_ticks % 600 == 0)
        m_lock.refresh();
}

// ---------------------------------------------------------------- save

bool FileCommands::changedBehindOurBack() const
{
    return FileStamp::of(m_fileName) != m_contactStamp ||
           FileStamp::of(OperationBook::pathFor(m_fileName)) != m_operationsStamp;
}

void FileCommands::stampFiles()
{
    m_contactStamp = FileStamp::of(m_fileName);
    m_operationsStamp = FileStamp::of(OperationBook::pathFor(m_fileName));
}

bool FileCommands::save()
{
    if (m_fileName.isEmpty() || m_readOnly)
        return saveAs();
    const QString path = withoutExtension(m_fileName) + QStringLiteral(".ctc");
    if (!m_book.TestModif())
        return true;
    if (path == m_fileName && changedBehindOurBack()) {
        const QString changed = FileStamp::of(m_fileName) != m_contactStamp
                                    ? m_fileName
                                    : OperationBook::pathFor(m_fileName);
        if (!m_prompter.askYesNo(QStringLiteral("Le fichier ") + shortName(changed) +
                                 QStringLiteral(" a été modifié par un autre programme depuis "
                                                "son ouverture. Le remplacer ?")))
            return false;
    }
    m_lock.refresh();
    m_book.Sauve(path);
    const bool renamed = path != m_fileName;
    m_fileName = path;
    stampFiles();
    m_recovery.discard();
    if (renamed)
        m_recovery.attach(path, false, m_contactStamp, m_operationsStamp);
    return true;
}

bool FileCommands::saveAs()
{
    // A Save As that does not end in a save keeps the file that was open:
    // forgetting its name would send the next Save to a dialog for nothing.
    const QString previous = m_fileName;
    const auto choice = m_prompter.chooseSaveFile({QStringLiteral("Fichers contact (*.ctc)")},
                                                  QStringLiteral("ctc"), QStringLiteral("*.ctc"));
    if (!choice)
        return false;
    const QString base = withoutExtension(choice->path);
    if (base.isEmpty() || base.endsWith(QLatin1Char('/')))
        return false;
    const QString path = base + QStringLiteral(".ctc");
    if (QFileInfo::exists(path) && !m_prompter.confirm(QStringLiteral("Ce fichier existe déjà")))
        return false;

    FileLock lock(m_processes, m_book.clock());
    const bool ours = m_lock.held() && m_lock.filePath() == absolute(path);
    if (!ours && lock.acquire(path) == FileLock::Result::Held) {
        // Another copy of the program works on that file: writing over it
        // would lose its work when it saves, or this one's.
        const FileLock::Owner& owner = lock.owner();
        m_prompter.information(QStringLiteral("Le fichier ") + shortName(path) +
                               QStringLiteral(" est déjà ouvert par ") + owner.user +
                               QStringLiteral(" sur ") + owner.host +
                               QStringLiteral(" : il ne peut pas être remplacé."));
        return false;
    }
    m_fileName.clear();
    try {
        m_book.SetModif();
        m_book.Sauve(path);
    } catch (...) {
        m_fileName = previous;
        throw;
    }
    m_fileName = path;
    if (!ours)
        m_lock = std::move(lock);
    m_readOnly = false;
    stampFiles();
    m_recovery.discard();
    m_recovery.attach(path, false, m_contactStamp, m_operationsStamp);
    return true;
}

void FileCommands::setAutoOpen(bool on)
{
    m_book.SetIni(on);
}

bool FileCommands::autoOpenSet() const
{
    return m_book.GetIni().autoOpen;
}

void FileCommands::openLastFile()
{
    const QString last = m_book.GetIni().lastFile;
    if (last.isEmpty() || !QFileInfo::exists(last))
        return;
    load(last);
}

bool FileCommands::close(const QString& programFolder)
{
    if (!saveQuestion())
        return false;
    try {
        m_book.saveProgramFiles(programFolder, m_fileName);
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
    }
    // Apart from the settings files, so that one failure does not lose the
    // day's time.
    try {
        m_book.saveTimeFile(programFolder);
    } catch (const TarvikError& e) {
        m_prompter.information(e.text());
    }
    m_recovery.detach();
    m_lock.release();
    return true;
}

} // namespace tarvik
