#pragma once

#include "book/file_commands.h"
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "storage/block_list.h"
#include "support/fixed_clock.h"
#include "support/fixed_processes.h"
#include "support/scripted_prompter.h"

#include <QDir>
#include <QString>

namespace tarvik {

// One copy of the program: its own process id on the fixed machine, its
// book and file commands, the recovery folder of the user.
struct Session
{
    Session(qint64 pid, const QString& recoveryFolder)
        : processes(pid), commands(book, prompter, processes, recoveryFolder)
    {
    }

    ScriptedPrompter prompter;
    FixedClock clock;
    FixedProcesses processes;
    RecordBook book{prompter, clock};
    FileCommands commands;

    void openFile(const QString& path)
    {
        prompter.openAnswers.push_back(Prompter::FileChoice{path});
        commands.open();
    }
    // The copy of the changes written, as the window's timer does it.
    void keepCopy()
    {
        commands.tick();
        commands.flushRecovery();
    }
};

// A contact file of one record per name (contact type "Visite", so that a
// history entry can be validated), beside an operations file of one operation.
inline void writeContactFile(const QString& path, const QList<QByteArray>& names)
{
    BlockList lines;
    for (int n = 0; n < names.size(); ++n) {
        ContactRecord r;
        r.code = QByteArray::number(10001 + n);
        r.name = names[n];
        r.contact_type = "Visite";
        r.contact_date = QDate(2026, 1, 2);
        r.followup_date = QDate(2026, 1, 2);
        r.contact_time = QTime(9, 0, 0);
        r.followup_time = QTime(0, 0, 0);
        lines += contact::blockLines(r, n);
    }
    blocks::saveFile(path, lines);
    blocks::saveFile(path.left(path.size() - 3) + "opr",
                     {"<BLOC0000>", "10000", "SALON", "Salon de mars", "100,00", "", "01/03/2026",
                      "02/03/2026", "N", "</BLOC0000>"});
}

inline QStringList recoveryEntries(const QString& folder)
{
    return QDir(folder).entryList({"*.rec"}, QDir::Files);
}

} // namespace tarvik
