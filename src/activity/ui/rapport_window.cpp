#include "activity/ui/rapport_window.h"

#include "book/record_book.h"
#include "print/activity_report.h"
#include "print/print_host.h"
#include "storage/ansi.h"

#include <QAbstractTableModel>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace tarvik {

namespace {

constexpr int ColumnWidths[activity::TimeTable::Columns] = {130, 87, 83, 81, 80};

} // namespace

// The table as the grid shows it: row 0 of the table is the header, rows 1
// onward the grid's rows, the empty ones included.
class TimeTableModel : public QAbstractTableModel
{
public:
    explicit TimeTableModel(const activity::TimeTable& table, QObject* parent)
        : QAbstractTableModel(parent), m_table(table)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table.rowCount() - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : activity::TimeTable::Columns;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return ansi::toUnicode(m_table.cell(index.row() + 1, index.column()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return ansi::toUnicode(m_table.cell(0, section));
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const activity::TimeTable& m_table;
};

TRapport::TRapport(RecordBook& book, QWidget* parent) : QDialog(parent), m_book(book)
{
    setObjectName(QStringLiteral("Rapport"));
    setWindowTitle(QStringLiteral("Rapport d'activité"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* close = new QPushButton(QStringLiteral("Fermer"), panel);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QHBoxLayout(panel);
    top->setContentsMargins(4, 3, 4, 3);
    top->addWidget(close);
    top->addStretch();

    m_model = new TimeTableModel(m_book.timeTable(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    int width = 0;
    for (int c = 0; c < activity::TimeTable::Columns; ++c) {
        m_grid->setColumnWidth(c, ColumnWidths[c]);
        width += ColumnWidths[c];
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(m_grid, 1);

    // A fixed window just wide enough for the five columns and the scroll bar.
    const int frame = 2 * m_grid->frameWidth();
    setFixedSize(width + frame + m_grid->verticalScrollBar()->sizeHint().width(), 360);
}

TRapport::~TRapport() = default;

void TRapport::refresh()
{
    m_model->reset();
}

const activity::TimeTable& TRapport::table() const
{
    return m_book.timeTable();
}

void TRapport::Imprime(print::PrintHost& host)
{
    if (!host.askPrinter())
        return;
    host.print(QStringLiteral("Rapport d'activité"), [this](print::PrintDevice& device) {
        activity::printReport(m_book.timeTable(), device);
    });
}

void TRapport::Rapport1()
{
    m_book.updateTimeTable();
    refresh();
    m_grid->scrollToTop();
    exec();
}

void TRapport::ImpRapport(print::PrintHost& host)
{
    m_book.updateTimeTable();
    refresh();
    Imprime(host);
}

} // namespace tarvik
