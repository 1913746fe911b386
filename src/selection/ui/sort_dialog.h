#pragma once

#include <QDialog>

class QButtonGroup;

namespace tarvik {

// "Trier": the sort key, in RadioGroup1 "Trier par": 0 name, 1 postcode,
// 2 town, 3 follow-up.
class TTri : public QDialog
{
    Q_OBJECT
public:
    explicit TTri(QWidget* parent = nullptr);
    // The index chosen when closed with "OK", otherwise -1.
    int Result() const;
    static int ask(QWidget* parent);

private:
    QButtonGroup* m_group;
};

} // namespace tarvik
