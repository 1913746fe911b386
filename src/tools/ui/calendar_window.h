#pragma once

#include <QDialog>

class QCalendarWidget;
class QLabel;

namespace tarvik {

class Clock;

// A month calendar opened on today.
class TCalendrier : public QDialog
{
    Q_OBJECT
public:
    explicit TCalendrier(const Clock& clock, QWidget* parent = nullptr);

    void previousMonth();
    void nextMonth();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshTitle();

    QCalendarWidget* m_calendar;
    QLabel* m_title;
};

} // namespace tarvik
