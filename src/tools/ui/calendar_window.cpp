#include "tools/ui/calendar_window.h"

#include "platform/clock.h"
#include "tools/calendar_text.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tarvik {

TCalendrier::TCalendrier(const Clock& clock, QWidget* parent)
    : QDialog(parent), m_calendar(new QCalendarWidget(this)), m_title(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Calendrier"));

    m_title->setObjectName(QStringLiteral("Label1"));
    m_title->setAlignment(Qt::AlignCenter);
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_title->setFont(big);

    m_calendar->setObjectName(QStringLiteral("Calendar1"));
    m_calendar->setLocale(QLocale(QLocale::French, QLocale::France));
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setSelectedDate(clock.today());
    m_calendar->setMinimumSize(m_calendar->sizeHint());
    // The grid would change the month on its own with Page Up/Down; route the
    // keys through the window so both ways go through the same steps.
    const auto views = m_calendar->findChildren<QWidget*>();
    for (QWidget* w : views)
        w->installEventFilter(this);

    auto* previous =
        new QPushButton(style()->standardIcon(QStyle::SP_ArrowLeft), QStringLiteral("Mois"), this);
    previous->setObjectName(QStringLiteral("BitBtn1"));
    auto* next =
        new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), QStringLiteral("Mois"), this);
    next->setObjectName(QStringLiteral("BitBtn2"));
    next->setLayoutDirection(Qt::RightToLeft); // the arrow on the right
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    for (QPushButton* b : {previous, next, close})
        b->setAutoDefault(false);
    connect(previous, &QPushButton::clicked, this, &TCalendrier::previousMonth);
    connect(next, &QPushButton::clicked, this, &TCalendrier::nextMonth);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_calendar, &QCalendarWidget::currentPageChanged, this, &TCalendrier::refreshTitle);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TCalendrier::refreshTitle);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previous);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addStretch();
    buttons->addWidget(next);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_calendar);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    refreshTitle();
}

void TCalendrier::refreshTitle()
{
    m_title->setText(
        calendartext::title(QDate(m_calendar->yearShown(), m_calendar->monthShown(), 1)));
}

void TCalendrier::previousMonth()
{
    m_calendar->setSelectedDate(m_calendar->selectedDate().addMonths(-1));
    refreshTitle();
}

void TCalendrier::nextMonth()
{
    m_calendar->setSelectedDate(m_calendar->selectedDate().addMonths(1));
    refreshTitle();
}

void TCalendrier::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageUp && event->modifiers() == Qt::NoModifier) {
        previousMonth();
        return;
    }
    if (event->key() == Qt::Key_PageDown && event->modifiers() == Qt::NoModifier) {
        nextMonth();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TCalendrier::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown) &&
            key->modifiers() == Qt::NoModifier) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvik
