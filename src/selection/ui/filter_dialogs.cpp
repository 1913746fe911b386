#include "selection/ui/filter_dialogs.h"

#include "platform/ui/ansi_widgets.h"
#include "platform/ui/dialog_buttons.h"
#include "storage/ansi.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik {

TFcp::TFcp(QWidget* parent)
    : LineInputDialog(QStringLiteral("Code postal"), QStringLiteral("Code postal"), Keys::Digits,
                      parent)
{
}

std::optional<QByteArray> TFcp::ask(QWidget* parent, const QByteArray& current)
{
    TFcp dialog(parent);
    dialog.setText(current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

TVille::TVille(QWidget* parent)
    : LineInputDialog(QStringLiteral("Ville"), QStringLiteral("Ville"), Keys::Any, parent)
{
}

std::optional<QByteArray> TVille::ask(QWidget* parent, const QByteArray& current)
{
    TVille dialog(parent);
    dialog.setText(current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ansi::upper(dialog.text());
}

TSTyp::TSTyp(const QList<QByteArray>& types, const QByteArray& current, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Type d'opération"));
    setModal(true);
    auto* label = new QLabel(QStringLiteral("Type"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("ComboBox1"));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    for (const QByteArray& t : types)
        m_combo->addItem(ansi::toUnicode(t));
    m_combo->lineEdit()->setValidator(new AnsiValidator(m_combo));
    m_combo->setEditText(ansi::toUnicode(current));
    label->setBuddy(m_combo);

    QHBoxLayout* buttons = okCancelRow(this, QStringLiteral("Annuler"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_combo);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(300);
}

QByteArray TSTyp::value() const
{
    if (result() != QDialog::Accepted)
        return {};
    return ansi::upper(ansi::fromUnicode(m_combo->currentText()));
}

void TSTyp::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_combo->setFocus();
    m_combo->lineEdit()->selectAll();
}

std::optional<QByteArray> TSTyp::ask(QWidget* parent, const QList<QByteArray>& types,
                                     const QByteArray& current)
{
    TSTyp dialog(types, current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.value();
}

} // namespace tarvik
