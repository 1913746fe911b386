#include "selection/ui/list_windows.h"

#include "storage/ansi.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik {

// Rows below the heading row when the window opens, and how many more the grid
// takes each time it is full.
static constexpr int StartRows = 19;
static constexpr int GrowBy = 10;

ListWindow::ListWindow(const Layout& layout, QWidget* parent) : QDialog(parent), m_layout(layout)
{
    setWindowTitle(layout.caption);
    setModal(true);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    m_close = new QPushButton(QStringLiteral("Fermer"), m_panel);
    m_close->setObjectName(QStringLiteral("Button1"));
    m_close->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    auto* panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(6, 4, 25, 4);
    panelLayout->addStretch();
    panelLayout->addWidget(m_close);

    const int columns = int(layout.headings.size());
    m_grid = new QTableWidget(StartRows, columns, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setHorizontalHeaderLabels(layout.headings);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < columns && c < layout.widths.size(); ++c)
        m_grid->setColumnWidth(c, layout.widths.at(c));
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { choose(row); });

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(m_panel);
    main->addWidget(m_grid);

    // No wider than the main window it belongs to, and inside the screen that
    // window is on; the columns then share the width (fitColumns).
    QSize size(1000, 560);
    const QWidget* owner = parent ? parent->window() : nullptr;
    if (owner && owner->isVisible())
        size = size.boundedTo(owner->size());
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

void ListWindow::fitColumns()
{
    // The narrow columns hold numbers, codes and dates and keep their width;
    // the wide text columns share what is left, so that every column shows
    // without scrolling sideways.
    constexpr int TextColumn = 120;
    int fixedWidth = 0;
    int textWidth = 0;
    QList<int> textColumns;
    for (int c = 1; c < m_grid->columnCount(); ++c) {
        const int preferred = c < m_layout.widths.size() ? m_layout.widths.at(c) : 0;
        if (c >= 2 && preferred >= TextColumn) {
            textColumns << c;
            textWidth += preferred;
        } else {
            fixedWidth += m_grid->columnWidth(c);
        }
    }
    const int available = m_grid->viewport()->width() - fixedWidth;
    if (textColumns.isEmpty() || available <= 0)
        return;
    const int least = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 4;
    int left = available;
    for (int i = 0; i < textColumns.size(); ++i) {
        const int c = textColumns.at(i);
        const int share = i + 1 == textColumns.size()
                              ? left
                              : int(qint64(available) * m_layout.widths.at(c) / textWidth);
        const int width = std::max(least, std::min(share, m_layout.widths.at(c)));
        m_grid->setColumnWidth(c, width);
        left -= width;
    }
}

void ListWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (isVisible())
        fitColumns();
}

void ListWindow::fill(const QList<listing::Row>& rows)
{
    m_grid->clearContents();
    // A full grid grows by GrowBy rows past the one it lacks.
    int count = StartRows;
    while (count < rows.size())
        count += 1 + GrowBy;
    m_grid->setRowCount(count);
    m_numbers.clear();
    const QColor fixed = palette().color(QPalette::Button);
    for (int r = 0; r < rows.size(); ++r) {
        const listing::Row& row = rows.at(r);
        m_numbers << row.number;
        m_grid->setItem(r, 0, new QTableWidgetItem(ansi::toUnicode(row.numberText)));
        auto* second = new QTableWidgetItem(ansi::toUnicode(row.second));
        second->setBackground(fixed);
        m_grid->setItem(r, 1, second);
        for (int c = 0; c < row.fields.size(); ++c)
            m_grid->setItem(r, c + 2, new QTableWidgetItem(ansi::toUnicode(row.fields.at(c))));
    }
}

void ListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_chosen = false;
    m_result = -1;
    m_grid->setColumnWidth(0, 0);
    m_grid->setColumnHidden(0, true);
    m_grid->setColumnWidth(1, 40);
    // The narrow number columns of the contact list would clip a ten-digit
    // phone number in this font: they get at least its width.
    const int digitsWidth =
        m_grid->fontMetrics().horizontalAdvance(QStringLiteral("00 00 00 00 00")) + 12;
    for (int c = 2; c < m_grid->columnCount(); ++c)
        if (m_layout.widths.value(c) == 64)
            m_grid->setColumnWidth(c, std::max(m_layout.widths.value(c), digitsWidth));
    fitColumns();
    m_grid->setFocus();
}

void ListWindow::choose(int row)
{
    // An empty row, or a damaged header whose number cannot be read, leaves
    // the window open.
    const int number = m_numbers.value(row, -1);
    if (number < 0)
        return;
    m_chosen = true;
    m_result = number;
    accept();
    m_grid->clearContents();
}

TFListe::TFListe(QWidget* parent)
    : ListWindow({QStringLiteral("Liste des contacts"),
                  {QString(), QString(), QStringLiteral("Nom/Société"), QStringLiteral("Adresse1"),
                   QStringLiteral("Adresse2"), QStringLiteral("C.P."), QStringLiteral("Ville"),
                   QStringLiteral("Téléphone"), QStringLiteral("Fax")},
                  {64, 211, 221, 198, 198, 47, 155, 64, 64}},
                 parent)
{
}

void TFListe::Init(const BlockList& contacts)
{
    fill(listing::rows(contacts, listing::contactColumns()));
}

int TFListe::choose(const QList<listing::Row>& rows, QWidget* parent)
{
    TFListe window(parent);
    window.fill(rows);
    window.exec();
    return window.Result();
}

TFListe2::TFListe2(QWidget* parent)
    : ListWindow({QStringLiteral("Liste des opérations"),
                  {QString(), QString(), QStringLiteral("Type"), QStringLiteral("Résumé"),
                   QStringLiteral("Coû fixe"), QStringLiteral("Coût unitaire"),
                   QStringLiteral("Début"), QStringLiteral("Fin")},
                  {84, 84, 142, 214, 98, 100, 80, 78}},
                 parent)
{
}

void TFListe2::Init(const BlockList& operations)
{
    fill(listing::rows(operations, listing::operationColumns()));
}

int TFListe2::choose(const QList<listing::Row>& rows, QWidget* parent)
{
    TFListe2 window(parent);
    window.fill(rows);
    window.exec();
    return window.Result();
}

} // namespace tarvik
