#include "app/about_box.h"
#include "app/command_line.h"
#include "app/french.h"
#include "app/main_form.h"
#include "app/sync_command.h"
#include "app/version.h"
#include "book/record_book.h"
#include "platform/clock.h"
#include "platform/startup.h"
#include "platform/ui/qt_prompter.h"
#include "tools/posix_clock_setter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <cstdio>
#include <cstring>

using namespace tarvik;

int main(int argc, char** argv)
{
    // The commands without a window need no display.
    if (commandline::wanted(argc, argv))
        return commandline::run(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "sync") == 0) {
        QCoreApplication app(argc, argv);
        return runSyncCommand(app.arguments().mid(2));
    }
    QApplication app(argc, argv);
    app.setApplicationVersion(QStringLiteral(TARVIK_VERSION));
    // Ties the windows to the installed desktop entry (its icon, its name).
    app.setDesktopFileName(QStringLiteral("fr.tarvik.Tarvik"));

    // A relative file name is read from the folder the user typed it in,
    // before the program folder may become the working folder.
    const QString working = QDir::currentPath();
    const startup::Arguments arguments = startup::parseArguments(app.arguments(), working);
    if (arguments.misused) {
        std::fputs(commandline::usageText().toLocal8Bit().constData(), stderr);
        return 2;
    }
    const QString folder =
        startup::programFolder(QProcessEnvironment::systemEnvironment(), working, QDir::homePath());
    if (folder != working && !startup::enterProgramFolder(folder))
        std::fprintf(stderr, "tarvik: %s: dossier impossible à créer, %s est utilisé\n",
                     QDir::toNativeSeparators(folder).toLocal8Bit().constData(),
                     QDir::toNativeSeparators(working).toLocal8Bit().constData());

    installFrench(app);

    TSplash splash;
    splash.show();
    splash.repaint();
    app.processEvents();

    app.setApplicationName(QStringLiteral("Tarvik"));

    SystemClock clock;
    PosixClockSetter clockSetter;
    QtPrompter prompter;
    // The data of the whole run, handed to every window that needs them.
    RecordBook book(prompter, clock);
    TMainForm form(book, prompter, clock, clockSetter);
    prompter.setParent(&form);
    form.setStartFile(arguments.file);

    splash.close();
    form.show();
    return app.exec();
}
