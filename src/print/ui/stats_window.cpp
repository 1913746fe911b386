#include "print/ui/stats_window.h"

#include "activity/time_file.h"
#include "book/record_book.h"
#include "platform/clock.h"
#include "platform/ui/command_guard.h"
#include "platform/ui/font_text_measure.h"
#include "print/grid_printer.h"
#include "print/print_host.h"
#include "print/ui/graph_window.h"
#include "storage/ansi.h"
#include "storage/text_helpers.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik {

namespace {

constexpr int InitialRows = 64;
constexpr int ColumnWidths[4] = {64, 63, 294, 85};

QToolButton* speedButton(const char* name, const QString& text, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(text);
    b->setStatusTip(text);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

TStatsOpr::TStatsOpr(const Clock& clock, print::PrintHost& host, QWidget* parent)
    : QDialog(parent), m_clock(clock), m_host(host)
{
    setObjectName(QStringLiteral("StatsOpr"));
    setWindowTitle(QStringLiteral("Statistiques sur les opérations"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* print = speedButton("SpeedButton8", QStringLiteral("Imprimer"), panel);
    auto* chart = speedButton("SpeedButton1", QStringLiteral("Graphique"), panel);
    auto* close = new QPushButton(QStringLiteral("Fermer"), panel);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(print, &QToolButton::clicked, this,
            [this] { runGuarded(this, [this] { SpeedButton8Click(); }); });
    connect(chart, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_unreadable = new QLabel(panel);
    m_unreadable->setObjectName(QStringLiteral("UnreadableLabel"));
    m_unreadable->hide();
    auto* top = new QHBoxLayout(panel);
    top->setContentsMargins(4, 2, 4, 2);
    top->addWidget(print);
    top->addWidget(chart);
    top->addSpacing(12);
    top->addWidget(m_unreadable);
    top->addStretch();
    top->addWidget(close);

    m_grid = new QTableWidget(InitialRows - 1, 4, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    // A date must be read whole whatever the font.
    const int dateWidth =
        m_grid->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 12;
    int width = 0;
    for (int c = 0; c < 4; ++c) {
        const int w = c == 1 ? std::max(ColumnWidths[c], dateWidth) : ColumnWidths[c];
        m_grid->setColumnWidth(c, w);
        width += w;
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(m_grid, 1);
    setFixedSize(width + 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width(),
                 420);
}

QByteArray TStatsOpr::Rset(const QByteArray& text, int width) const
{
    return text::rightAlign(text, width, FontTextMeasure(m_grid));
}

void TStatsOpr::Init(QList<stats::Line> lines, const QString& suffix, int unreadable)
{
    setWindowTitle(QStringLiteral("Statistiques sur les opérations") + suffix);
    stats::sortLines(lines);
    m_rows = stats::tableRows(lines, FontTextMeasure(m_grid));
    m_filled = int(lines.size());

    QStringList titles;
    for (const QByteArray& t : m_rows.first())
        titles << ansi::toUnicode(t);
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    if (m_filled >= m_grid->rowCount())
        m_grid->setRowCount(m_filled);
    const QBrush fixed = palette().brush(QPalette::Button);
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        // Column 0 holds the row numbers, shown as a fixed column.
        auto* number =
            new QTableWidgetItem(r < m_filled ? ansi::toUnicode(m_rows[r + 1][0]) : QString());
        number->setBackground(fixed);
        number->setFlags(Qt::ItemIsEnabled);
        m_grid->setItem(r, 0, number);
        if (r >= m_filled)
            continue;
        for (int c = 1; c < 4; ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(ansi::toUnicode(m_rows[r + 1][c])));
    }
    m_grid->setUpdatesEnabled(true);

    if (unreadable > 0) {
        m_unreadable->setText(
            unreadable == 1
                ? QStringLiteral("1 montant illisible compté pour 0")
                : QStringLiteral("%1 montants illisibles comptés pour 0").arg(unreadable));
        m_unreadable->show();
    } else {
        m_unreadable->hide();
    }
}

void TStatsOpr::SpeedButton8Click()
{
    const QDate today = m_clock.today();
    const QString title = stats::printTitle(activity::dayText(today));
    if (!m_host.askPrinter())
        return;
    print::GridTable table;
    for (const QList<QByteArray>& row : m_rows) {
        QStringList cells;
        for (const QByteArray& cell : row)
            cells << ansi::toUnicode(cell);
        table.rows << cells;
    }
    for (int c = 0; c < 4; ++c) {
        table.columnWidths << m_grid->columnWidth(c);
        table.width += m_grid->columnWidth(c);
    }
    table.width += 2 * m_grid->frameWidth();
    const QFont f = m_grid->font();
    table.font = {f.family(), f.pointSize() > 0 ? f.pointSize() : 10, f.bold()};
    WaitCursor wait;
    m_host.print(title, [&](print::PrintDevice& device) {
        print::printGrid(device, table, title, QString(), m_filled, today);
    });
}

void TStatsOpr::SpeedButton1Click()
{
    QList<QByteArray> texts;
    for (int r = 1; r <= m_filled; ++r)
        texts << m_rows[r][3];
    TGraph graph(this);
    graph.Init(texts);
    graph.exec();
}

void TStatsOpr::StatsOperation(RecordBook& book, print::PrintHost& host, QWidget* parent)
{
    book.operations().EcritOperation();
    stats::Lines result;
    {
        WaitCursor wait;
        result = stats::statisticsLines(book.operations().list());
    }
    TStatsOpr window(book.clock(), host, parent);
    window.Init(std::move(result.lines), QString(), result.unreadableAmounts);
    window.exec();
}

} // namespace tarvik
