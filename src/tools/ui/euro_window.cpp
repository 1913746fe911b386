#include "tools/ui/euro_window.h"

#include "platform/ui/dialog_buttons.h"
#include "tools/ui/spin_button.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik {

static QLabel* displayLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    QFont big = label->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    label->setFont(big);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString(16, '8')));
    label->setMinimumHeight(label->fontMetrics().height() + 10);
    return label;
}

TEurof::TEurof(QWidget* parent)
    : QDialog(parent), m_input(displayLabel(this, "Label1")),
      m_result(displayLabel(this, "Label2")), m_rate(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Euro convertisseur"));

    m_rate->setObjectName(QStringLiteral("Edit3"));
    m_rate->setReadOnly(true);
    m_rate->setFocusPolicy(Qt::NoFocus);
    m_rate->setAlignment(Qt::AlignRight);
    m_rate->setFixedWidth(m_rate->fontMetrics().horizontalAdvance(QStringLiteral("6,555555")) + 16);
    auto* spin = new SpinButton(this);
    spin->setObjectName(QStringLiteral("SpinButton1"));
    connect(spin, &SpinButton::upClicked, this, [this] {
        m_converter.rateUp();
        refresh();
    });
    connect(spin, &SpinButton::downClicked, this, [this] {
        m_converter.rateDown();
        refresh();
    });

    auto* toEuros = new QRadioButton(QStringLiteral("Fr>Euro"), this);
    toEuros->setObjectName(QStringLiteral("RadioButton1"));
    toEuros->setChecked(true);
    auto* toFrancs = new QRadioButton(QStringLiteral("Euro>Fr"), this);
    toFrancs->setObjectName(QStringLiteral("RadioButton2"));
    connect(toEuros, &QRadioButton::toggled, this, [this](bool on) {
        m_converter.setDirection(on ? EuroConverter::Direction::FrancsToEuros
                                    : EuroConverter::Direction::EurosToFrancs);
    });

    auto* top = new QHBoxLayout;
    top->addWidget(toEuros);
    top->addWidget(toFrancs);
    top->addStretch();
    top->addWidget(m_rate);
    top->addWidget(spin);

    auto* keys = new QGridLayout;
    const auto addKey = [&](int number, const QString& caption, int row, int column,
                            const std::function<void()>& press) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("Button%1").arg(number));
        button->setAutoDefault(false);
        button->setMinimumWidth(48);
        keys->addWidget(button, row, column);
        connect(button, &QPushButton::clicked, this, [this, press] {
            press();
            refresh();
        });
        return button;
    };
    for (int d = 1; d <= 9; ++d) {
        addKey(d, QString::number(d), 3 - (d - 1) / 3, (d - 1) % 3,
               [this, d] { m_converter.type(QChar('0' + d)); });
    }
    addKey(0, QStringLiteral("0"), 4, 0, [this] { m_converter.type(QChar('0')); });
    addKey(12, QStringLiteral(","), 4, 1, [this] { m_converter.type(QChar(',')); });
    QPushButton* equals = addKey(11, QStringLiteral("="), 4, 2, [this] { m_converter.convert(); });
    equals->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button10"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    keys->addWidget(close, 4, 3);
    keys->setColumnMinimumWidth(3, 80);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_input);
    layout->addWidget(m_result);
    layout->addLayout(keys);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
}

void TEurof::refresh()
{
    m_input->setText(m_converter.input());
    m_result->setText(m_converter.result());
    m_rate->setText(m_converter.rateText());
}

void TEurof::keyPressEvent(QKeyEvent* event)
{
    if (clickButtonForKey(this, event, &EuroConverter::buttonForKey))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace tarvik
