#include "selection/ui/list_windows.h"

#include "contacts/contact_record.h"
#include "operations/operation_book.h"
#include "storage/ansi.h"
#include "storage/block_index.h"

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

void ListWindow::fill(const BlockList& list)
{
    m_grid->clearContents();
    m_grid->setRowCount(StartRows);
    const QColor fixed = palette().color(QPalette::Button);
    int r = 0; // table row; the grid row counted with the heading row is r + 1
    const qsizetype n = list.size();
    // Every header in list order, damaged ones too: the user sees the file
    // as it is, and a row whose number cannot be read is not chosen.
    const blocks::BlockIndex index(list, m_layout.digits);
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        if (m_grid->rowCount() < r + 1)
            m_grid->setRowCount(r + 1 + GrowBy);
        const QByteArray number = list.at(block.first).mid(5, m_layout.digits);
        m_grid->setItem(r, 0, new QTableWidgetItem(ansi::toUnicode(number)));
        auto* second = new QTableWidgetItem(m_layout.runningNumber ? QString::number(r + 1)
                                                                   : ansi::toUnicode(number));
        second->setBackground(fixed);
        m_grid->setItem(r, 1, second);
        for (int c = 0; c < m_layout.offsets.size(); ++c) {
            const qsizetype at = block.first + m_layout.offsets.at(c);
            const QByteArray value = at < n ? list.at(at) : QByteArray();
            m_grid->setItem(r, c + 2, new QTableWidgetItem(ansi::toUnicode(value)));
        }
        ++r;
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
    // Only a row that shows a block gives a number: an empty row, or a damaged
    // header whose number cannot be read, leaves the window open.
    const QTableWidgetItem* item = m_grid->item(row, 0);
    if (!item)
        return;
    bool ok = false;
    const int number = item->text().toInt(&ok);
    if (!ok || number < 0 || item->text().size() != m_layout.digits)
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
                  {64, 211, 221, 198, 198, 47, 155, 64, 64},
                  {contact::Name, contact::Address1, contact::Address2, contact::Postcode,
                   contact::Town, contact::Phone, contact::Fax},
                  blocks::ContactDigits,
                  true},
                 parent)
{
}

void TFListe::Init(const BlockList& contacts)
{
    fill(contacts);
}

int TFListe::choose(const BlockList& contacts, QWidget* parent)
{
    TFListe window(parent);
    window.Init(contacts);
    window.exec();
    return window.Result();
}

TFListe2::TFListe2(QWidget* parent)
    : ListWindow({QStringLiteral("Liste des opérations"),
                  {QString(), QString(), QStringLiteral("Type"), QStringLiteral("Résumé"),
                   QStringLiteral("Coû fixe"), QStringLiteral("Coût unitaire"),
                   QStringLiteral("Début"), QStringLiteral("Fin")},
                  {84, 84, 142, 214, 98, 100, 80, 78},
                  {operation::Type, operation::Summary, operation::FixedCost, operation::UnitCost,
                   operation::StartDate, operation::EndDate},
                  blocks::OperationDigits,
                  false},
                 parent)
{
}

void TFListe2::Init(const BlockList& operations)
{
    fill(operations);
}

int TFListe2::choose(const BlockList& operations, QWidget* parent)
{
    TFListe2 window(parent);
    window.Init(operations);
    window.exec();
    return window.Result();
}

} // namespace tarvik
