#include "sync/ui/sync_conflict_dialog.h"

#include "storage/ansi.h"
#include "sync/sync_job.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik::sync {

namespace {
constexpr int ChoiceColumn = 4;
}

SyncConflictDialog::SyncConflictDialog(const QList<SyncConflict>& conflicts, QWidget* parent)
    : QDialog(parent), m_conflicts(conflicts)
{
    setObjectName(QStringLiteral("SyncConflictDialog"));
    setWindowTitle(QStringLiteral("Conflits de synchronisation"));

    auto* intro = new QLabel(
        QStringLiteral("Ces fiches ont changé ici et sur le serveur. Rien n'a été écrasé : "
                       "choisissez pour chacune la version à garder."),
        this);
    intro->setWordWrap(true);

    m_table = new QTableWidget(int(conflicts.size()), 5, this);
    m_table->setObjectName(QStringLiteral("SyncConflictTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Fiche locale"),
                                        QStringLiteral("Sur le serveur"), QStringLiteral("Conflit"),
                                        QStringLiteral("Différences"),
                                        QStringLiteral("Version gardée")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int row = 0; row < conflicts.size(); ++row) {
        const SyncConflict& c = conflicts.at(row);
        const QString none = QStringLiteral("(supprimée)");
        m_table->setItem(
            row, 0,
            new QTableWidgetItem(c.localName.isEmpty() && c.kind == Conflict::GoneHereEditedThere
                                     ? none
                                     : ansi::toUnicode(c.localName)));
        m_table->setItem(
            row, 1,
            new QTableWidgetItem(c.serverName.isEmpty() && c.kind == Conflict::EditedHereGoneThere
                                     ? none
                                     : ansi::toUnicode(c.serverName)));
        m_table->setItem(row, 2, new QTableWidgetItem(conflictText(c.kind)));
        m_table->setItem(row, 3, new QTableWidgetItem(c.detail));
        auto* choice = new QComboBox(m_table);
        choice->setObjectName(QStringLiteral("SyncConflictChoice%1").arg(row));
        choice->addItem(QStringLiteral("À décider"), int(Choice::Undecided));
        choice->addItem(QStringLiteral("Garder la fiche locale"), int(Choice::Local));
        choice->addItem(QStringLiteral("Prendre celle du serveur"), int(Choice::Server));
        m_table->setCellWidget(row, ChoiceColumn, choice);
    }
    m_table->resizeColumnsToContents();
    // The choice column as wide as its longest choice, and the whole table
    // shown without a horizontal scroll bar.
    int choiceWidth = 0;
    for (int row = 0; row < m_table->rowCount(); ++row)
        choiceWidth =
            std::max(choiceWidth, m_table->cellWidget(row, ChoiceColumn)->sizeHint().width());
    m_table->setColumnWidth(ChoiceColumn,
                            std::max(choiceWidth, m_table->columnWidth(ChoiceColumn)));
    int width = 0;
    for (int column = 0; column < m_table->columnCount(); ++column)
        width += m_table->columnWidth(column);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(width + 2 * m_table->frameWidth() + 4, 220);

    auto* allLocal = new QPushButton(QStringLiteral("Tout garder en local"), this);
    allLocal->setObjectName(QStringLiteral("SyncAllLocalButton"));
    auto* allServer = new QPushButton(QStringLiteral("Tout prendre du serveur"), this);
    allServer->setObjectName(QStringLiteral("SyncAllServerButton"));
    connect(allLocal, &QPushButton::clicked, this, [this] { chooseAll(Choice::Local); });
    connect(allServer, &QPushButton::clicked, this, [this] { chooseAll(Choice::Server); });

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Appliquer"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("SyncApplyButton"));
    buttons->addButton(QStringLiteral("Plus tard"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* all = new QHBoxLayout;
    all->addWidget(allLocal);
    all->addWidget(allServer);
    all->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_table);
    layout->addLayout(all);
    layout->addWidget(buttons);
}

void SyncConflictDialog::chooseAll(Choice choice)
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        auto* box = qobject_cast<QComboBox*>(m_table->cellWidget(row, ChoiceColumn));
        box->setCurrentIndex(box->findData(int(choice)));
    }
}

Choices SyncConflictDialog::choices() const
{
    Choices out;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        auto* box = qobject_cast<QComboBox*>(m_table->cellWidget(row, ChoiceColumn));
        const auto choice = Choice(box->currentData().toInt());
        if (choice != Choice::Undecided)
            out.insert(m_conflicts.at(row).uid, choice);
    }
    return out;
}

Choices SyncConflictDialog::ask(const QList<SyncConflict>& conflicts, QWidget* parent)
{
    SyncConflictDialog dialog(conflicts, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.choices();
}

} // namespace tarvik::sync
