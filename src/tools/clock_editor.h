#pragma once

#include <QDateTime>
#include <QString>

namespace tarvik {

class Clock;
class SystemClockSetter;

// The clock window's state: the time text "hh:mm:ss" and the date text
// "dd/mm/yyyy" it shows, the part the spin arrows change, and the edit mode in
// which the texts stand still and can be changed, then set the computer's clock.
class ClockEditor
{
public:
    enum class Part { Hour, Minute, Day, Month, Year }; // "Hr", "Mn", "Jo", "Mo", "An"

    explicit ClockEditor(const Clock& clock) : m_clock(clock) {}

    static QString partCaption(Part part);

    // Refreshes both texts from the clock.
    void tick();
    // Both texts from the clock and the edit mode off, as when the window comes
    // to the front.
    void activate();

    void setPart(Part part) { m_part = part; }
    Part part() const { return m_part; }
    // One step of the spin arrows on the chosen part.
    void spin(bool up);

    bool editing() const { return m_editing; }
    // Enters the edit mode, or leaves it and sets the computer's clock from the
    // texts. Leaving always ends the edit mode, even when setting fails (the
    // TarvikError is passed on for the user to see).
    void toggleEdit(SystemClockSetter& setter);

    QString timeText() const { return m_time; }
    QString dateText() const { return m_date; }
    void setTexts(const QString& time, const QString& date);

    // One spin step on a time or date text: hours are characters 1-2 and minutes
    // 4-5 of the time; day 1-2, month 4-5 and year 7-10 of the date. The value
    // stays within the part's limits and is written back with leading zeros.
    static QString stepped(const QString& text, Part part, bool up);

    // The computer's clock (UTC) for the shown local date and time. Throws
    // TarvikError when they do not form a valid date and time of the computer's
    // time zone.
    static QDateTime toUtc(const QString& date, const QString& time);

private:
    const Clock& m_clock;
    QString m_time;
    QString m_date;
    Part m_part = Part::Hour;
    bool m_editing = false;
};

} // namespace tarvik
