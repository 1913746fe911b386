#pragma once

#include "platform/clock.h"

namespace tarvik {

// A clock that shows whatever the test sets.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2026, 3, 15), QTime(10, 30, 0))) : current(t)
    {
    }
    QDateTime now() const override { return current; }
    QDateTime current;
};

class FakeClockSetter : public SystemClockSetter
{
public:
    void setUtc(const QDateTime& utc) override { calls.append(utc); }
    QList<QDateTime> calls;
};

} // namespace tarvik
