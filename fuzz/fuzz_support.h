#pragma once

#include "platform/clock.h"

#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdlib>

namespace tarvik {

// A clock stopped on one day, so that a run replays the same way.
class StoppedClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 15), QTime(10, 30, 0)); }
};

// Writes the fuzzer's bytes as a file; a write that fails is the machine's
// fault, not the input's, and stops the run.
inline void putFile(const QString& path, const char* data, std::size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(data, qint64(size)) != qint64(size))
        std::abort();
}

// A broken promise of the code under test: the fuzzer records the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            std::abort();                                                                          \
    } while (false)

} // namespace tarvik
