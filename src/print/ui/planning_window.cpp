#include "print/ui/planning_window.h"

#include "book/record_book.h"
#include "platform/clock.h"
#include "storage/ansi.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvik {

namespace {

constexpr int InitialRows = 64;
constexpr int ColumnWidths[4] = {35, 82, 80, 219};

} // namespace

TPlanning::TPlanning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Planning"));
    setWindowTitle(QStringLiteral("Planning"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* close = new QPushButton(QStringLiteral("Fermer"), panel);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] {
        m_chosen = false;
        reject();
    });
    auto* top = new QHBoxLayout(panel);
    top->setContentsMargins(4, 3, 4, 3);
    top->addWidget(close);
    top->addStretch();

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("Calendar1"));
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(true);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TPlanning::Calendar1Change);

    m_grid = new QTableWidget(InitialRows - 1, 4, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setHorizontalHeaderLabels({QString(), QStringLiteral("Date"), QStringLiteral("Heure"),
                                       QStringLiteral("Nom/Société")});
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    // The record number and the time must be read whole whatever the font.
    const QFontMetrics fm = m_grid->fontMetrics();
    const int minimum[4] = {fm.horizontalAdvance(QStringLiteral("00000")) + 10,
                            fm.horizontalAdvance(QStringLiteral("00/00/0000")) + 10,
                            fm.horizontalAdvance(QStringLiteral("00:00:00")) + 10, 0};
    int width = 0;
    for (int c = 0; c < 4; ++c) {
        const int w = std::max(ColumnWidths[c], minimum[c]);
        m_grid->setColumnWidth(c, w);
        width += w;
    }
    m_grid->setMinimumWidth(width + 2 * m_grid->frameWidth() +
                            m_grid->verticalScrollBar()->sizeHint().width());
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { StringGrid1DblClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(6, 6, 6, 6);
    body->setSpacing(6);
    body->addWidget(m_calendar);
    body->addWidget(m_grid, 1);
    layout->addLayout(body, 1);
    resize(sizeHint().width(), 560);
}

TPlanning::~TPlanning() = default;

void TPlanning::Init(const BlockList& contacts, const QDate& today)
{
    m_chosen = false;
    m_list = std::make_unique<planning::PlanningList>(contacts);
    const QSignalBlocker quiet(m_calendar);
    m_calendar->setSelectedDate(today);
    LitJour(planning::calendarDay(today));
}

void TPlanning::LitJour(const QByteArray& day)
{
    const QList<planning::Entry> entries = m_list ? m_list->day(day) : QList<planning::Entry>();
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    // The grid keeps room for one more row after the day's entries.
    if (entries.size() + 1 > m_grid->rowCount())
        m_grid->setRowCount(int(entries.size()) + 10);
    int r = 0;
    for (const planning::Entry& e : entries) {
        m_grid->setItem(r, 0,
                        new QTableWidgetItem(
                            ansi::toUnicode(blocks::padNumber(e.record, blocks::ContactDigits))));
        m_grid->setItem(r, 1, new QTableWidgetItem(ansi::toUnicode(e.date)));
        m_grid->setItem(r, 2, new QTableWidgetItem(ansi::toUnicode(e.time)));
        m_grid->setItem(r, 3, new QTableWidgetItem(ansi::toUnicode(e.name)));
        ++r;
    }
    m_grid->setUpdatesEnabled(true);
    m_grid->scrollToTop();
}

void TPlanning::Calendar1Change()
{
    LitJour(planning::calendarDay(m_calendar->selectedDate()));
}

void TPlanning::StringGrid1DblClick()
{
    const int row = m_grid->currentRow();
    const QTableWidgetItem* item = row >= 0 ? m_grid->item(row, 0) : nullptr;
    if (!item || item->text().isEmpty())
        return;
    bool ok = false;
    const int number = item->text().toInt(&ok);
    if (!ok)
        return;
    m_chosen = true;
    m_number = number;
    accept();
}

bool TPlanning::Relances(RecordBook& book, QWidget* parent)
{
    book.EcritFiche();
    TPlanning window(parent);
    window.Init(book.contacts(), book.clock().today());
    window.exec();
    const int chosen = window.Result();
    if (chosen < 0 || chosen >= book.recordCount())
        return false;
    book.goToRecord(chosen);
    return true;
}

} // namespace tarvik
