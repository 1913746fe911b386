#include "selection/ui/sort_dialog.h"

#include "platform/ui/dialog_buttons.h"
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik {

TTri::TTri(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Trier"));
    setModal(true);
    auto* box = new QGroupBox(QStringLiteral("Trier par"), this);
    box->setObjectName(QStringLiteral("RadioGroup1"));
    m_group = new QButtonGroup(this);
    auto* boxLayout = new QVBoxLayout(box);
    const QStringList items{QStringLiteral("Nom/ société"), QStringLiteral("Code postal"),
                            QStringLiteral("Ville"), QStringLiteral("Relance")};
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items.at(i), box);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i));
        m_group->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    m_group->button(0)->setChecked(true);

    QHBoxLayout* buttons = okCancelRow(this, QStringLiteral("Anuler"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    setMinimumWidth(260);
}

int TTri::Result() const
{
    return result() == QDialog::Accepted ? m_group->checkedId() : -1;
}

int TTri::ask(QWidget* parent)
{
    TTri dialog(parent);
    dialog.exec();
    return dialog.Result();
}

} // namespace tarvik
