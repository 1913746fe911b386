#include "app/about_box.h"
#include "app/main_form.h"
#include "platform/clock.h"
#include "platform/ui/qt_prompter.h"
#include "tools/posix_clock_setter.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    // The program speaks French whatever the machine's locale: Qt's own
    // buttons and dialogs come from its French translations.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    TSplash splash;
    splash.show();
    splash.repaint();
    app.processEvents();

    app.setApplicationName(QStringLiteral("Tarvik"));
    app.setApplicationDisplayName(QStringLiteral("Tarvik"));

    SystemClock clock;
    PosixClockSetter clockSetter;
    QtPrompter prompter;
    TMainForm form(prompter, clock, clockSetter);
    prompter.setParent(&form);

    splash.close();
    form.show();
    return app.exec();
}
