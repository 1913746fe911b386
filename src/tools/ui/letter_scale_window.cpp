#include "tools/ui/letter_scale_window.h"

#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tarvik {

TPLettre::TPLettre(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Pèse-Lettres"));
    const QList<QGroupBox*> order = buildCounterGroups();
    QGroupBox* tariffs = buildTariffs();
    QWidget* panel = buildResultPanel();

    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    // Enter in a counter must not close the window.
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // Envelopes on the left, sheets and media in the middle, photos, the extra
    // weight, the tariff and the result on the right.
    auto* grid = new QGridLayout(this);
    grid->addWidget(order.value(0), 0, 0);
    grid->addWidget(order.value(1), 1, 0);
    grid->addWidget(order.value(2), 0, 1);
    grid->addWidget(order.value(3), 1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(order.value(4));
    right->addWidget(order.value(5));
    right->addWidget(tariffs);
    right->addWidget(panel);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    right->addLayout(buttons);
    grid->addLayout(right, 0, 2, 2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

QList<QGroupBox*> TPLettre::buildCounterGroups()
{
    QMap<QString, QGroupBox*> groups;
    QList<QGroupBox*> order;
    for (const PostageItem& item : LetterScale::items()) {
        QGroupBox*& box = groups[item.group];
        if (!box) {
            box = new QGroupBox(item.group, this);
            auto* form = new QFormLayout(box);
            form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
            order.append(box);
        }
        auto* spin = new QSpinBox(box);
        spin->setObjectName(QStringLiteral("SpinEdit%1").arg(item.counter));
        spin->setRange(0, LetterScale::MaxCount);
        spin->setMinimumWidth(60);
        static_cast<QFormLayout*>(box->layout())->addRow(item.caption, spin);
        const int counter = item.counter;
        connect(spin, &QSpinBox::valueChanged, this, [this, counter](int value) {
            m_scale.setCount(counter, value);
            recalculate();
        });
    }
    return order;
}

QGroupBox* TPLettre::buildTariffs()
{
    auto* tariffs = new QGroupBox(QStringLiteral("Tarification"), this);
    auto* tariffLayout = new QVBoxLayout(tariffs);
    const LetterScale::Tariff tariffOrder[] = {LetterScale::Tariff::FranceRapide,
                                               LetterScale::Tariff::UnionEuropeenne,
                                               LetterScale::Tariff::FranceEcopli};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(LetterScale::tariffCaption(tariffOrder[i]), tariffs);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radio->setChecked(i == 0);
        tariffLayout->addWidget(radio);
        const LetterScale::Tariff tariff = tariffOrder[i];
        connect(radio, &QRadioButton::clicked, this, [this, tariff] {
            m_scale.setTariff(tariff);
            recalculate();
        });
    }
    return tariffs;
}

// The weight and the postage in francs and euros, large, on white.
QWidget* TPLettre::buildResultPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(pal);
    auto* panelLayout = new QVBoxLayout(panel);
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    const auto makeLabel = [&](const char* name, const QString& text) {
        auto* label = new QLabel(text, panel);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(big);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        panelLayout->addWidget(label);
        return label;
    };
    m_weight = makeLabel("Label22", LetterScale::initialWeightText());
    m_francs = makeLabel("Label23", LetterScale::initialFrancText());
    m_euros = makeLabel("Label24", LetterScale::initialEuroText());
    return panel;
}

void TPLettre::recalculate()
{
    m_weight->setText(m_scale.weightText());
    m_francs->setText(m_scale.francText());
    m_euros->setText(m_scale.euroText());
}

} // namespace tarvik
