#pragma once

#include "tools/letter_scale.h"

#include <QDialog>

class QLabel;

namespace tarvik {

// The letter scale: counters of the items of a mailing, the tariff, and the
// weight and postage they give.
class TPLettre : public QDialog
{
    Q_OBJECT
public:
    explicit TPLettre(QWidget* parent = nullptr);

private:
    void recalculate();

    LetterScale m_scale;
    QLabel* m_weight;
    QLabel* m_francs;
    QLabel* m_euros;
};

} // namespace tarvik
