#include "platform/ui/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace tarvik {

QHBoxLayout* okCancelRow(QDialog* dialog, const QString& cancelCaption)
{
    auto* cancel = new QPushButton(cancelCaption, dialog);
    cancel->setObjectName(QStringLiteral("Button1"));
    cancel->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("Button2"));
    ok->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

bool clickButtonForKey(QWidget* window, const QKeyEvent* event, QString (*buttonForKey)(QChar key))
{
    const QString text = event->text();
    if (text.size() != 1 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QString name = buttonForKey(text.at(0));
    if (name.isEmpty())
        return false;
    if (auto* button = window->findChild<QPushButton*>(name))
        button->click();
    return true;
}

} // namespace tarvik
