#pragma once

#include "tools/clock_editor.h"

#include <QDialog>

class QLabel;
class QTimer;

namespace tarvik {

class SystemClockSetter;

// A running clock whose time and date can be changed and set on the computer.
class THorloge : public QDialog
{
    Q_OBJECT
public:
    THorloge(const Clock& clock, SystemClockSetter& setter, QWidget* parent = nullptr);

    const ClockEditor& editor() const { return m_editor; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void activate();
    void refresh();
    void toggleEdit();

    ClockEditor m_editor;
    SystemClockSetter& m_setter;
    QLabel* m_time;
    QLabel* m_date;
    QTimer* m_timer;
};

} // namespace tarvik
