#include "tools/posix_clock_setter.h"

#include "platform/errors.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace tarvik {

void PosixClockSetter::setUtc(const QDateTime& utc)
{
    if (!utc.isValid())
        throw TarvikError(QStringLiteral("Impossible de régler l'horloge : date ou heure non "
                                         "valide"));
    const qint64 ms = utc.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long(ms % 1000) * 1000000L;
    if (::clock_settime(CLOCK_REALTIME, &ts) == 0)
        return;
    const int err = errno;
    if (err == EPERM)
        throw TarvikError(QStringLiteral("Impossible de régler l'horloge : vous n'avez pas le "
                                         "droit de changer l'heure de l'ordinateur"));
    if (err == EINVAL)
        throw TarvikError(QStringLiteral("Impossible de régler l'horloge : l'ordinateur refuse "
                                         "cette date et cette heure"));
    throw TarvikError(QStringLiteral("Impossible de régler l'horloge (%1)")
                          .arg(QString::fromLocal8Bit(std::strerror(err))));
}

} // namespace tarvik
