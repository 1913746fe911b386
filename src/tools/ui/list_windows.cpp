#include "tools/ui/list_windows.h"

#include "storage/ansi.h"
#include "tools/reference_tables.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tarvik {

static QListWidget* fillList(QDialog* dialog, const QList<QByteArray>& rows, const QFont& font)
{
    auto* list = new QListWidget(dialog);
    list->setObjectName(QStringLiteral("ListBox1"));
    list->setFont(font);
    QFontMetrics metrics(font);
    int widest = 0;
    for (const QByteArray& row : rows) {
        const QString text = ansi::toUnicode(row);
        list->addItem(text);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    list->setMinimumWidth(widest + 40 + list->verticalScrollBar()->sizeHint().width());
    list->setMinimumHeight(metrics.height() * 16);
    return list;
}

static QPushButton* closeButton(QDialog* dialog, QVBoxLayout* layout)
{
    auto* close = new QPushButton(QStringLiteral("Fermer"), dialog);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    row->addStretch();
    layout->addLayout(row);
    return close;
}

TDepart::TDepart(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Départements"));
    auto* layout = new QVBoxLayout(this);
    QListWidget* list = fillList(this, reftables::departements(), font());
    list->setCurrentRow(0);
    layout->addWidget(list);
    closeButton(this, layout);
}

void TDepart::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TPrenoms::TPrenoms(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Liste des prénoms"));
    auto* layout = new QVBoxLayout(this);
    // The rows are padded with dots to line up the dates: a fixed-pitch font
    // keeps them in a column.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    m_list = fillList(this, reftables::firstNames(), fixed);
    m_list->installEventFilter(this);
    layout->addWidget(m_list);
    closeButton(this, layout);
}

bool TPrenoms::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const int row = reftables::typeAheadRow(reftables::firstNames(), text.at(0));
            if (row >= 0) {
                m_list->setCurrentRow(row);
                m_list->scrollToItem(m_list->item(row), QAbstractItemView::PositionAtTop);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvik
