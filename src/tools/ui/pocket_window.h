#pragma once

#include "tools/pocket_calculator.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace tarvik {

// The pocket calculator window: buttons and keys press the calculator's keys.
class TPocket : public QDialog
{
    Q_OBJECT
public:
    explicit TPocket(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void run(const std::function<void()>& key);

    PocketCalculator m_calc;
    QLabel* m_display;
    QPushButton* m_equals = nullptr;
};

} // namespace tarvik
