#include "app/about_box.h"
#include "app/french.h"
#include "app/main_form.h"
#include "platform/clock.h"
#include "platform/ui/qt_prompter.h"
#include "tools/posix_clock_setter.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    installFrench(app);

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
