#include "selection/ui/line_input_dialog.h"

#include "platform/ui/ansi_widgets.h"
#include "storage/ansi.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik {

bool dropsForDigits(const QString& typed)
{
    for (const QChar c : typed) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return true;
    }
    return false;
}

LineInputDialog::LineInputDialog(const QString& caption, const QString& label, Keys keys,
                                 QWidget* parent)
    : QDialog(parent), m_keys(keys)
{
    setWindowTitle(caption);
    setModal(true);

    m_label = new QLabel(label, this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setValidator(new AnsiValidator(m_edit));
    m_edit->installEventFilter(this);
    m_label->setBuddy(m_edit);

    m_cancel = new QPushButton(QStringLiteral("Annuler"), this);
    m_cancel->setObjectName(QStringLiteral("Button1"));
    m_cancel->setAutoDefault(false);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button2"));
    m_ok->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(300);
}

void LineInputDialog::setText(const QByteArray& text)
{
    m_edit->setText(ansi::toUnicode(text));
}

QByteArray LineInputDialog::text() const
{
    return ansi::fromUnicode(m_edit->text());
}

QByteArray LineInputDialog::value() const
{
    return result() == QDialog::Accepted ? text() : QByteArray();
}

bool LineInputDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && m_keys == Keys::Digits && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            dropsForDigits(key->text()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LineInputDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_edit->setFocus();
    m_edit->selectAll();
}

} // namespace tarvik
