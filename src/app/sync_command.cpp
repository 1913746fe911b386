#include "app/sync_command.h"

#include "book/file_lock.h"
#include "book/record_book.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fixed_prompter.h"
#include "platform/process_table.h"
#include "storage/ansi.h"
#include "sync/credentials.h"
#include "sync/dav_client.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace tarvik {

namespace {

void say(FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

// The questions of a load have a fixed answer here, and the answer is said.
// No dialog: the choices of files and texts have no answer here.
class CommandPrompter : public FixedPrompter
{
public:
    void information(const QString& text) override { say(stdout, text); }
    bool confirm(const QString& text) override { return answer(text); }
    bool askYesNo(const QString& text) override { return answer(text); }
    Answer askYesNoCancel(const QString& text) override
    {
        return answer(text) ? Answer::Yes : Answer::Cancel;
    }

private:
    static bool answer(const QString& question)
    {
        say(stdout, question + QStringLiteral(" Oui"));
        return true;
    }
};

const char* const Usage = "Usage : tarvik sync [--server URL] [--calendar URL] [--user NOM] "
                          "[--password-file FICHIER] [--prefer local|server] FICHIER.ctc\n";

int usage(const QString& why)
{
    if (!why.isEmpty())
        say(stderr, QStringLiteral("tarvik sync : ") + why);
    std::fputs(Usage, stderr);
    return 2;
}

} // namespace

int runSyncCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption server(QStringLiteral("server"), QString(), QStringLiteral("URL"));
    const QCommandLineOption calendar(QStringLiteral("calendar"), QString(), QStringLiteral("URL"));
    const QCommandLineOption user(QStringLiteral("user"), QString(), QStringLiteral("NOM"));
    const QCommandLineOption passwordFile(QStringLiteral("password-file"), QString(),
                                          QStringLiteral("FICHIER"));
    const QCommandLineOption prefer(QStringLiteral("prefer"), QString(),
                                    QStringLiteral("local|server"));
    parser.addOptions({server, calendar, user, passwordFile, prefer});
    if (!parser.parse(QStringList{QStringLiteral("tarvik")} + arguments))
        return usage(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("un seul fichier de contacts est attendu"));

    sync::SyncRequest request;
    if (parser.isSet(prefer)) {
        const QString p = parser.value(prefer);
        if (p == u"local")
            request.prefer = sync::Choice::Local;
        else if (p == u"server")
            request.prefer = sync::Choice::Server;
        else
            return usage(QStringLiteral("--prefer attend local ou server"));
    }
    if (parser.isSet(server))
        request.server = QUrl(parser.value(server));
    if (parser.isSet(calendar))
        request.calendar = QUrl(parser.value(calendar));
    request.user = parser.value(user);
    const QString path = QFileInfo(parser.positionalArguments().at(0)).absoluteFilePath();

    try {
        if (parser.isSet(passwordFile))
            request.password = sync::readPasswordFile(parser.value(passwordFile));
        if (!QFileInfo::exists(path))
            throw TarvikError(QStringLiteral("Le fichier %1 n'existe pas").arg(path));
        CommandPrompter prompter;
        SystemClock clock;
        // The window of another copy may hold the file: its next save would
        // undo this sync, so the file is not touched while it is open there.
        SystemProcessTable processes;
        FileLock lock(processes, clock);
        if (lock.acquire(path) == FileLock::Result::Held)
            throw TarvikError(
                QStringLiteral("Le fichier %1 est ouvert par %2 sur %3 : fermez-le, puis "
                               "relancez la synchronisation.")
                    .arg(path, lock.owner().user, lock.owner().host));
        RecordBook book(prompter, clock);
        book.Charge(path);
        sync::DavClient client;
        const sync::SyncResult result = book.synchronise(client, request);
        for (const QString& notice : result.notices)
            say(stdout, notice);
        for (const QString& problem : result.report.problems)
            say(stderr, problem);
        say(stdout, result.report.summary());
        if (!result.report.conflicts.isEmpty()) {
            for (const sync::SyncConflict& c : result.report.conflicts)
                say(stdout,
                    QStringLiteral("Conflit : %1 (%2)")
                        .arg(ansi::toUnicode(c.localName.isEmpty() ? c.serverName : c.localName),
                             sync::conflictText(c.kind)));
            say(stdout, QStringLiteral("Conflits laissés en attente : relancez avec --prefer "
                                       "local ou --prefer server, ou synchronisez depuis la "
                                       "fenêtre."));
            return 3;
        }
        return result.report.problems.isEmpty() ? 0 : 1;
    } catch (const TarvikError& e) {
        say(stderr, QStringLiteral("tarvik sync : ") + e.text());
        return 1;
    }
}

} // namespace tarvik
