#include "tools/calendar_text.h"

namespace tarvik {

namespace calendartext {

QString monthName(int month)
{
    static const char16_t* const names[] = {
        u"janvier", u"février", u"mars",      u"avril",   u"mai",      u"juin",
        u"juillet", u"août",    u"septembre", u"octobre", u"novembre", u"décembre",
    };
    if (month < 1 || month > 12)
        return {};
    return QString::fromUtf16(names[month - 1]);
}

QString title(const QDate& shown)
{
    return monthName(shown.month()) + QStringLiteral("  ") + QString::number(shown.year());
}

} // namespace calendartext

} // namespace tarvik
