#pragma once

#include "tools/euro_converter.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace tarvik {

// The franc/euro converter window.
class TEurof : public QDialog
{
    Q_OBJECT
public:
    explicit TEurof(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();

    EuroConverter m_converter;
    QLabel* m_input;
    QLabel* m_result;
    QLineEdit* m_rate;
};

} // namespace tarvik
