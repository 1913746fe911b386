#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace tarvik {

// Today and now. Nothing in the program reads the real clock except SystemClock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Sets the computer's clock. Throws TarvikError with a French text when the
// clock cannot be set (no right to do so, or an invalid date and time).
class SystemClockSetter
{
public:
    virtual ~SystemClockSetter() = default;
    virtual void setUtc(const QDateTime& utc) = 0;
};

} // namespace tarvik
