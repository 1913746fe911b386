#include "tools/clock_editor.h"

#include "platform/clock.h"
#include "platform/errors.h"

#include <algorithm>

namespace tarvik {

namespace {

struct PartField
{
    int start;   // 0-based position in the text
    int length;  // characters read
    int width;   // digits written back
    int lowest;  // after a step down
    int highest; // after a step up
};

PartField field(ClockEditor::Part part)
{
    switch (part) {
    case ClockEditor::Part::Hour:
        return {0, 2, 2, 0, 24};
    case ClockEditor::Part::Minute:
        return {3, 2, 2, 0, 59};
    case ClockEditor::Part::Day:
        return {0, 2, 2, 0, 31};
    case ClockEditor::Part::Month:
        return {3, 2, 2, 0, 12};
    case ClockEditor::Part::Year:
        break;
    }
    return {6, 4, 4, 1900, 2099};
}

int readNumber(const QString& text, int start, int length)
{
    bool ok = false;
    const int v = text.mid(start, length).trimmed().toInt(&ok);
    if (!ok)
        throw TarvikError(QStringLiteral("'%1' n'est pas une valeur entière correcte")
                              .arg(text.mid(start, length)));
    return v;
}

[[noreturn]] void invalidDateTime(const QString& date, const QString& time)
{
    throw TarvikError(QStringLiteral("Impossible de régler l'horloge : le %1 à %2 "
                                     "n'est pas une date et une heure valides")
                          .arg(date, time));
}

} // namespace

QString ClockEditor::partCaption(Part part)
{
    switch (part) {
    case Part::Hour:
        return QStringLiteral("Hr");
    case Part::Minute:
        return QStringLiteral("Mn");
    case Part::Day:
        return QStringLiteral("Jo");
    case Part::Month:
        return QStringLiteral("Mo");
    case Part::Year:
        break;
    }
    return QStringLiteral("An");
}

void ClockEditor::tick()
{
    const QDateTime now = m_clock.now();
    m_time = now.time().toString(QStringLiteral("HH:mm:ss"));
    m_date = now.date().toString(QStringLiteral("dd/MM/yyyy"));
}

void ClockEditor::activate()
{
    tick();
    m_editing = false;
}

void ClockEditor::setTexts(const QString& time, const QString& date)
{
    m_time = time;
    m_date = date;
}

void ClockEditor::spin(bool up)
{
    const bool onTime = m_part == Part::Hour || m_part == Part::Minute;
    QString& text = onTime ? m_time : m_date;
    text = stepped(text, m_part, up);
}

QString ClockEditor::stepped(const QString& text, Part part, bool up)
{
    const PartField f = field(part);
    // A date written with a two-digit year holds fewer characters after the
    // second separator; whatever is there is the year.
    const int length = part == Part::Year ? int(text.size()) - f.start : f.length;
    int value = readNumber(text, f.start, length);
    if (part == Part::Year && value < 100)
        value += 1900;
    value = up ? std::min(value + 1, f.highest) : std::max(value - 1, f.lowest);
    QString out = text;
    out.replace(f.start, length, QStringLiteral("%1").arg(value, f.width, 10, QChar('0')));
    return out;
}

QDateTime ClockEditor::toUtc(const QString& date, const QString& time)
{
    int values[6] = {};
    try {
        values[0] = readNumber(date, 6, int(date.size()) - 6);
        values[1] = readNumber(date, 3, 2);
        values[2] = readNumber(date, 0, 2);
        values[3] = readNumber(time, 0, 2);
        values[4] = readNumber(time, 3, 2);
        values[5] = readNumber(time, 6, 2);
    } catch (const TarvikError&) {
        invalidDateTime(date, time);
    }
    const QDate d(values[0], values[1], values[2]);
    const QTime t(values[3], values[4], values[5]);
    if (!d.isValid() || !t.isValid())
        invalidDateTime(date, time);
    const QDateTime local(d, t, Qt::LocalTime);
    // A time skipped when the clocks go forward does not exist here.
    if (!local.isValid() || local.date() != d || local.time() != t)
        invalidDateTime(date, time);
    return local.toUTC();
}

void ClockEditor::toggleEdit(SystemClockSetter& setter)
{
    if (!m_editing) {
        m_editing = true;
        return;
    }
    m_editing = false;
    setter.setUtc(toUtc(m_date, m_time));
}

} // namespace tarvik
