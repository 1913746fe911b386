#pragma once

#include "tools/letter_scale.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QWidget;

namespace tarvik {

// The letter scale: counters of the items of a mailing, the tariff, and the
// weight and postage they give.
class TPLettre : public QDialog
{
    Q_OBJECT
public:
    explicit TPLettre(QWidget* parent = nullptr);

private:
    // One box of counters per group of items, in the order of the items.
    QList<QGroupBox*> buildCounterGroups();
    QGroupBox* buildTariffs();
    QWidget* buildResultPanel();
    void recalculate();

    LetterScale m_scale;
    QLabel* m_weight;
    QLabel* m_francs;
    QLabel* m_euros;
};

} // namespace tarvik
