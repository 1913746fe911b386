// Start to first record: the program's own start-up (the same steps as
// main(): splash, record book, main window, the file given on the command
// line opened when the window is first shown), timed until the event loop
// first runs with the first record shown. Prints the time since `since` (the
// launch time, nanoseconds since the epoch, taken by bench/figures.sh just
// before starting this program) and the peak memory of the process.
//   QT_QPA_PLATFORM=offscreen bench_first_record FILE SINCE_NS
#include "app/about_box.h"
#include "app/french.h"
#include "app/main_form.h"
#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "platform/clock.h"
#include "platform/ui/qt_prompter.h"
#include "tools/posix_clock_setter.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>

using namespace tarvik;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: bench_first_record FILE SINCE_NS\n", stderr);
        return 2;
    }
    const long long since = std::atoll(argv[2]);
    QApplication app(argc, argv);
    installFrench(app);
    TSplash splash;
    splash.show();
    splash.repaint();
    app.processEvents();
    app.setApplicationName(QStringLiteral("Tarvik"));

    SystemClock clock;
    PosixClockSetter clockSetter;
    QtPrompter prompter;
    RecordBook book(prompter, clock);
    TMainForm form(book, prompter, clock, clockSetter);
    prompter.setParent(&form);
    form.setStartFile(QString::fromLocal8Bit(argv[1]));
    splash.close();
    form.show();
    QTimer::singleShot(0, &form, [&] {
        const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count();
        QFile status(QStringLiteral("/proc/self/status"));
        QByteArray hwm;
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    hwm = line.mid(6).trimmed();
        std::printf("first_record_ms %.1f records %d VmHWM %s code %s\n", double(now - since) / 1e6,
                    book.recordCount(), hwm.constData(), book.shown().code.constData());
        app.quit();
    });
    return app.exec();
}
