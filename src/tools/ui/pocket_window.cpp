#include "tools/ui/pocket_window.h"

#include "platform/ui/command_guard.h"
#include "platform/ui/dialog_buttons.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tarvik {

TPocket::TPocket(QWidget* parent) : QDialog(parent), m_display(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Calculatrice"));

    m_display->setObjectName(QStringLiteral("Label1"));
    m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_display->setFrameShape(QFrame::Panel);
    m_display->setFrameShadow(QFrame::Sunken);
    m_display->setAutoFillBackground(true);
    QPalette pal = m_display->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    m_display->setPalette(pal);
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    m_display->setFont(big);
    m_display->setMinimumWidth(m_display->fontMetrics().horizontalAdvance(QString(19, '8')));
    m_display->setMinimumHeight(m_display->fontMetrics().height() + 10);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_display, 0, 0, 1, 5);

    using Op = PocketCalculator::Operator;
    struct Key
    {
        int number;
        const char* caption;
        int row;
        int column;
        std::function<void(PocketCalculator&)> press;
    };
    const std::vector<Key> keys = {
        {7, "7", 1, 0, [](PocketCalculator& c) { c.digit(7); }},
        {8, "8", 1, 1, [](PocketCalculator& c) { c.digit(8); }},
        {9, "9", 1, 2, [](PocketCalculator& c) { c.digit(9); }},
        {15, "/", 1, 3, [](PocketCalculator& c) { c.applyOperator(Op::Divide); }},
        {18, "C", 1, 4, [](PocketCalculator& c) { c.reset(); }},
        {4, "4", 2, 0, [](PocketCalculator& c) { c.digit(4); }},
        {5, "5", 2, 1, [](PocketCalculator& c) { c.digit(5); }},
        {6, "6", 2, 2, [](PocketCalculator& c) { c.digit(6); }},
        {14, "*", 2, 3, [](PocketCalculator& c) { c.applyOperator(Op::Multiply); }},
        {16, "1/x", 2, 4, [](PocketCalculator& c) { c.reciprocal(); }},
        {1, "1", 3, 0, [](PocketCalculator& c) { c.digit(1); }},
        {2, "2", 3, 1, [](PocketCalculator& c) { c.digit(2); }},
        {3, "3", 3, 2, [](PocketCalculator& c) { c.digit(3); }},
        {13, "-", 3, 3, [](PocketCalculator& c) { c.applyOperator(Op::Subtract); }},
        {17, "sqr", 3, 4, [](PocketCalculator& c) { c.squareRoot(); }},
        {0, "0", 4, 0, [](PocketCalculator& c) { c.digit(0); }},
        {10, ",", 4, 1, [](PocketCalculator& c) { c.comma(); }},
        {11, "=", 4, 2, [](PocketCalculator& c) { c.equals(); }},
        {12, "+", 4, 3, [](PocketCalculator& c) { c.applyOperator(Op::Add); }},
    };
    for (const Key& key : keys) {
        auto* button = new QPushButton(QString::fromLatin1(key.caption), this);
        button->setObjectName(QStringLiteral("Button%1").arg(key.number));
        button->setAutoDefault(false);
        button->setMinimumWidth(48);
        grid->addWidget(button, key.row, key.column);
        const auto press = key.press;
        const bool isClear = key.number == 18;
        connect(button, &QPushButton::clicked, this, [this, press, isClear] {
            run([this, press] { press(m_calc); });
            if (isClear)
                m_equals->setFocus();
        });
        if (key.number == 11)
            m_equals = button;
    }
    // Enter presses "=" whatever button has the focus.
    m_equals->setDefault(true);

    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button19"));
    close->setAutoDefault(false);
    grid->addWidget(close, 4, 4);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TPocket::run(const std::function<void()>& key)
{
    runGuarded(this, key);
    m_display->setText(m_calc.display());
}

void TPocket::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_calc.reset();
    m_display->setText(m_calc.display());
    m_equals->setFocus();
}

void TPocket::keyPressEvent(QKeyEvent* event)
{
    if (clickButtonForKey(this, event, &PocketCalculator::buttonForKey))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace tarvik
