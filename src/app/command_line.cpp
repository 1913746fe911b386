#include "app/command_line.h"

#include "app/version.h"
#include "book/exchange_commands.h"
#include "book/file_lock.h"
#include "book/record_book.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fixed_prompter.h"
#include "platform/process_table.h"
#include "platform/startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace tarvik {

namespace commandline {

namespace {

void print(FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), to);
    if (!text.endsWith(u'\n'))
        std::fputc('\n', to);
    std::fflush(to);
}

// The questions the windows ask get the answer a user would give to go on,
// and the command says which: a damaged file is repaired as "Oui" would.
// Messages go to standard error, which leaves standard output to the data.
// No dialog: the choices of files and texts have no answer here.
class AnsweringPrompter : public FixedPrompter
{
public:
    void information(const QString& text) override { print(stderr, text); }
    bool confirm(const QString& text) override
    {
        print(stderr, text + QStringLiteral(" -> OK"));
        return true;
    }
    bool askYesNo(const QString& text) override
    {
        print(stderr, text + QStringLiteral(" -> Oui"));
        return true;
    }
    Answer askYesNoCancel(const QString& text) override
    {
        print(stderr, text + QStringLiteral(" -> Oui"));
        return Answer::Yes;
    }
};

int usageError(const QString& why)
{
    if (!why.isEmpty())
        print(stderr, QStringLiteral("tarvik : ") + why);
    print(stderr, usageText());
    return 2;
}

int failure(const QString& text)
{
    print(stderr, QStringLiteral("tarvik : ") + text);
    return 1;
}

QString absolute(const QString& path)
{
    return QFileInfo(QDir::current(), path).absoluteFilePath();
}

int exportFile(const QString& formatName, const QStringList& files)
{
    const auto format = ExchangeCommands::exportFormatNamed(formatName);
    if (!format)
        return usageError(QStringLiteral("format d'export inconnu : ") + formatName);
    if (files.size() != 2)
        return usageError(QStringLiteral("il faut FICHIER.ctc et SORTIE"));
    const QString file = absolute(files.at(0));
    if (!QFileInfo(file).isFile())
        return failure(QStringLiteral("Le fichier ") + files.at(0) +
                       QStringLiteral(" n'existe pas"));
    AnsweringPrompter prompter;
    SystemClock clock;
    RecordBook book(prompter, clock);
    ExchangeCommands commands(book, prompter);
    try {
        book.Charge(file);
        if (files.at(1) == u"-") {
            const QByteArray data = commands.exportBytes(*format);
            if (std::fwrite(data.constData(), 1, data.size(), stdout) !=
                    static_cast<size_t>(data.size()) ||
                std::fflush(stdout) != 0)
                return failure(QStringLiteral("Impossible d'écrire sur la sortie standard"));
        } else {
            commands.exportTo(absolute(files.at(1)), *format);
        }
    } catch (const TarvikError& e) {
        return failure(e.text());
    }
    return 0;
}

int importFiles(const QString& formatName, const QStringList& files)
{
    const auto format = ExchangeCommands::importFormatNamed(formatName);
    if (!format)
        return usageError(QStringLiteral("format d'import inconnu : ") + formatName);
    if (files.size() < 2)
        return usageError(QStringLiteral("il faut FICHIER.ctc et au moins un fichier ENTRÉE"));
    const QString file = absolute(files.at(0));
    QStringList inputs;
    for (qsizetype i = 1; i < files.size(); ++i)
        inputs.append(absolute(files.at(i)));

    AnsweringPrompter prompter;
    SystemClock clock;
    SystemProcessTable processes;
    // The import writes the contact file: not while a copy of the program
    // has it open, whose next save would lose the imported records (or
    // whose work this save would lose). The lock is held until the end.
    FileLock lock(processes, clock);
    switch (lock.acquire(file)) {
    case FileLock::Result::Taken:
        break;
    case FileLock::Result::Held:
        return failure(QStringLiteral("Le fichier ") + files.at(0) +
                       QStringLiteral(" est déjà ouvert par ") + lock.owner().user +
                       QStringLiteral(" sur ") + lock.owner().host +
                       QStringLiteral(" : il n'est pas modifié"));
    case FileLock::Result::Unavailable:
        return failure(QStringLiteral("Aucun verrou ne peut être posé à côté du fichier ") +
                       files.at(0) + QStringLiteral(" : il n'est pas modifié"));
    }
    RecordBook book(prompter, clock);
    ExchangeCommands commands(book, prompter);
    try {
        if (QFileInfo::exists(file))
            book.Charge(file);
        const QString summary = commands.importFiles(inputs, *format);
        book.SetModif();
        book.Sauve(file);
        print(stdout, summary);
    } catch (const TarvikError& e) {
        return failure(e.text());
    }
    return 0;
}

} // namespace

bool wanted(int argc, char** argv)
{
    if (argc < 2)
        return false;
    const char* first = argv[1];
    for (const char* word : {"export", "import", "--help", "-h", "--version", "-v"})
        if (std::strcmp(first, word) == 0)
            return true;
    return false;
}

QString usageText()
{
    return startup::usageText() +
           QStringLiteral(
               "       tarvik export --format FORMAT FICHIER.ctc SORTIE\n"
               "         écrit tous les contacts ; FORMAT : vcard, ics (les relances), csv,\n"
               "         txt, semicolon ou xml ; SORTIE « - » : la sortie standard.\n"
               "       tarvik import --format FORMAT FICHIER.ctc ENTRÉE...\n"
               "         ajoute les contacts des fichiers ENTRÉE à FICHIER.ctc (créé s'il\n"
               "         n'existe pas) et l'enregistre ; FORMAT : vcard, csv, txt, semicolon\n"
               "         ou dbf.\n"
               "       tarvik sync [--server URL] [--calendar URL] [--user NOM]\n"
               "                   [--password-file FICHIER] [--prefer local|server] FICHIER.ctc\n"
               "         synchronise les contacts (CardDAV) et les relances (CalDAV) avec le\n"
               "         serveur ; ce qui est donné une fois est gardé pour ce fichier (jamais\n"
               "         le mot de passe, lu dans FICHIER, illisible par les autres).\n"
               "       tarvik --help | --version\n"
               "Code de sortie : 0 réussite, 1 fichier illisible ou impossible à écrire (rien\n"
               "n'est écrit), 2 ligne de commande incomprise ; pour sync, 3 : des conflits\n"
               "restent à trancher (--prefer, ou Synchroniser dans la fenêtre).\n");
}

int run(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tarvik"));
    app.setApplicationVersion(QStringLiteral(TARVIK_VERSION));
    QStringList args = app.arguments();
    const QString command = args.value(1);
    if (command == u"--help" || command == u"-h") {
        if (args.size() != 2)
            return usageError(QString());
        print(stdout, usageText());
        return 0;
    }
    if (command == u"--version" || command == u"-v") {
        if (args.size() != 2)
            return usageError(QString());
        print(stdout, QStringLiteral("Tarvik ") + QStringLiteral(TARVIK_VERSION));
        return 0;
    }

    args.removeAt(1);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption formatOption({QStringLiteral("f"), QStringLiteral("format")},
                                          QStringLiteral("format"), QStringLiteral("FORMAT"));
    parser.addOption(formatOption);
    if (!parser.parse(args))
        return usageError(parser.errorText());
    const QString formatName = parser.value(formatOption);
    const QStringList files = parser.positionalArguments();
    if (formatName.isEmpty())
        return usageError(QStringLiteral("--format manquant"));

    if (command == u"export")
        return exportFile(formatName, files);
    return importFiles(formatName, files);
}

} // namespace commandline

} // namespace tarvik
