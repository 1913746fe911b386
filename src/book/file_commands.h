#pragma once

#include "book/file_lock.h"
#include "book/file_stamp.h"
#include "book/recovery.h"

#include <QString>
#include <optional>

namespace tarvik {

class Clock;
class ProcessTable;
class Prompter;
class RecordBook;

// The file commands of the main window, with their checks, questions and
// messages: New, Open, Save, Save As, the save question, the auto-open at
// start and the order of closing. They hold the current file name, the only
// data of the main window. The book's load and save throw TarvikError when a
// file cannot be read or written; the commands let it through after putting
// the file name back as the failed command found it, and the window shows it.
//
// They also keep what is open safe from a crash and from a second copy of the
// program: the lock of the open file (a file another copy holds opens read-
// only, never to be written over), the recovery copy of the changes not saved
// and, at each save, the check that no other program changed the files since
// they were read. The command line uses them as they are, without a window.
class FileCommands
{
public:
    // With the system's processes and the recovery folder of the user's data.
    FileCommands(RecordBook& book, Prompter& prompter);
    FileCommands(RecordBook& book, Prompter& prompter, const ProcessTable& processes,
                 const QString& recoveryFolder);
    ~FileCommands();

    const QString& fileName() const { return m_fileName; }
    // The open file is held by another copy of the program (or cannot be
    // locked): "Enregistrer" is off and every save goes through Save As.
    bool readOnly() const { return m_readOnly; }

    // When something would be lost, asks "Enregistrer changements dans " +
    // the file name without its folder + " ?": Yes saves, No goes on (the
    // changes are given up, and their recovery copy with them), Cancel
    // stops. True when the command that asked may go on.
    bool saveQuestion();

    // New: after the save question, empties the book and forgets the file
    // name. True when done (the window then enables the commands and selects
    // all records).
    bool newFile();

    // Open: the save question, the open dialog, then the checks of the chosen
    // name: "Type de fichier non valide" (the name is forgotten) and "Le
    // fichier n'existe pas" (the name stays). True when a file was loaded.
    bool open();
    // The checks of Open and the load, for a name given without the dialog
    // (the command line at start). True when the file was loaded.
    bool openPath(const QString& path);

    // Save: Save As when there is no file name yet or the file is open
    // read-only; otherwise saves under the name with its extension replaced
    // by ".ctc", after asking when another program changed the files since
    // they were read. True when the book was saved (or had nothing to save).
    bool save();

    // Save As: the save dialog; the chosen name with its extension replaced
    // by ".ctc"; "Ce fichier existe déjà" (OK/Cancel) before replacing a file;
    // then a save even without changes. A cancelled or refused Save As keeps
    // the file that was open. A file another copy of the program holds is
    // not written over.
    bool saveAs();

    // The auto-open menu item: the new state becomes the settings' flag.
    void setAutoOpen(bool on);

    // The auto-open flag of the settings: at the first show the window then
    // checks its menu item, opens the last file and enables the commands
    // (whether the file could be loaded or not).
    bool autoOpenSet() const;
    // Loads the last file of the settings when it still exists; it becomes
    // the current file name once loaded.
    void openLastFile();
    // At start, before the auto-open: the changes a past session left
    // unsaved, file by file, newest first, each with its question. True when
    // one was taken back (its file is then open).
    bool recoverAtStart();

    // About once a second: the recovery copy of changes not yet copied, and
    // the user told once when it cannot be written.
    void tick();
    // Waits until the last recovery copy is on disk.
    void flushRecovery() { m_recovery.flush(); }
    const Recovery& recovery() const { return m_recovery; }

    // Closing: the save question (false: the program stays open), then the
    // settings, company lines and pick lists written to `programFolder`, with
    // the current file name as the last file, then the day's time file. A
    // file of these that cannot be written is told, and the program closes
    // all the same. The lock of the open file goes.
    bool close(const QString& programFolder);

    // `name` with the extension of its file-name part, if any, cut off.
    static QString withoutExtension(const QString& name);

private:
    // How a file is to be opened once its name passed the checks.
    enum class Access { Write, ReadOnly, None };
    Access lockFor(const QString& path, FileLock& lock);
    // The load of a checked name, with the lock and the recovery question.
    bool load(const QString& path);
    void takeBack(const Recovery::Entry& entry, FileLock&& lock, Access access);
    void reportDamaged(const Recovery::Entry& entry, const QString& why);
    void loaded(const QString& path, FileLock&& lock, Access access, const FileStamp& contacts,
                const FileStamp& operations);
    std::optional<Recovery::Entry> chooseRecovery(const QList<Recovery::Entry>& entries,
                                                  const QString& path);
    std::optional<Recovery::Entry> readWhole(const Recovery::Entry& entry, const QString& path);
    bool changedBehindOurBack() const;
    void stampFiles();

    RecordBook& m_book;
    Prompter& m_prompter;
    const ProcessTable& m_processes;
    QString m_fileName;
    FileLock m_lock;
    bool m_readOnly = false;
    FileStamp m_contactStamp;
    FileStamp m_operationsStamp;
    Recovery m_recovery;
    bool m_failureTold = false;
    int m_ticks = 0;
};

} // namespace tarvik
