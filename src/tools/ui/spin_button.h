#pragma once

#include <QWidget>

class QToolButton;

namespace tarvik {

// A pair of small up and down arrows, stacked, for stepping a value shown
// beside them. The arrows are named "SpinButtonUp" and "SpinButtonDown".
class SpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace tarvik
