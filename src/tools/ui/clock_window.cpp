#include "tools/ui/clock_window.h"

#include "platform/clock.h"
#include "platform/ui/command_guard.h"
#include "tools/ui/spin_button.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvik {

THorloge::THorloge(const Clock& clock, SystemClockSetter& setter, QWidget* parent)
    : QDialog(parent), m_editor(clock), m_setter(setter), m_time(new QLabel(this)),
      m_date(new QLabel(this)), m_timer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Horloge"));

    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    for (QLabel* label : {m_time, m_date}) {
        label->setFont(big);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(
            label->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 24);
    }
    m_time->setObjectName(QStringLiteral("Label1"));
    m_date->setObjectName(QStringLiteral("Label2"));

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_editor.tick();
        refresh();
    });

    auto* parts = new QGroupBox(this);
    parts->setObjectName(QStringLiteral("RadioGroup1"));
    auto* partLayout = new QHBoxLayout(parts);
    auto* group = new QButtonGroup(this);
    const ClockEditor::Part allParts[] = {ClockEditor::Part::Hour, ClockEditor::Part::Minute,
                                          ClockEditor::Part::Day, ClockEditor::Part::Month,
                                          ClockEditor::Part::Year};
    for (ClockEditor::Part part : allParts) {
        auto* radio = new QRadioButton(ClockEditor::partCaption(part), parts);
        radio->setChecked(part == m_editor.part());
        group->addButton(radio);
        partLayout->addWidget(radio);
        connect(radio, &QRadioButton::clicked, this, [this, part] { m_editor.setPart(part); });
    }
    auto* spin = new SpinButton(this);
    spin->setObjectName(QStringLiteral("SpinButton1"));
    const auto step = [this](bool up) {
        runGuarded(this, [this, up] { m_editor.spin(up); });
        refresh();
    };
    connect(spin, &SpinButton::upClicked, this, [step] { step(true); });
    connect(spin, &SpinButton::downClicked, this, [step] { step(false); });

    auto* set = new QPushButton(QStringLiteral("Set"), this);
    set->setObjectName(QStringLiteral("Button2"));
    set->setCheckable(true);
    connect(set, &QPushButton::clicked, this, &THorloge::toggleEdit);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton* b : {set, close})
        b->setAutoDefault(false);

    auto* spinRow = new QHBoxLayout;
    spinRow->addWidget(parts);
    spinRow->addWidget(spin);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(set);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_time);
    layout->addWidget(m_date);
    layout->addLayout(spinRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_editor.activate();
    refresh();
}

void THorloge::refresh()
{
    m_time->setText(m_editor.timeText());
    m_date->setText(m_editor.dateText());
    if (auto* set = findChild<QPushButton*>(QStringLiteral("Button2")))
        set->setChecked(m_editor.editing());
}

void THorloge::activate()
{
    m_editor.activate();
    refresh();
    m_timer->start();
}

void THorloge::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activate();
}

void THorloge::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow()) {
        // Coming back to the clock ends an edit left half done.
        if (!m_timer->isActive())
            activate();
    } else if (!m_editor.editing()) {
        m_timer->stop();
    }
}

void THorloge::toggleEdit()
{
    const bool leaving = m_editor.editing();
    if (!leaving) {
        m_editor.toggleEdit(m_setter);
        m_timer->stop();
        refresh();
        return;
    }
    // The edit mode ends even when the clock cannot be set; the user is told why.
    runGuarded(this, [this] { m_editor.toggleEdit(m_setter); });
    m_editor.tick();
    refresh();
    m_timer->start();
}

} // namespace tarvik
