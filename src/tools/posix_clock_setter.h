#pragma once

#include "platform/clock.h"

namespace tarvik {

// Sets the computer's real-time clock with clock_settime. Throws TarvikError
// when the process may not change it or the system refuses the value.
class PosixClockSetter : public SystemClockSetter
{
public:
    void setUtc(const QDateTime& utc) override;
};

} // namespace tarvik
