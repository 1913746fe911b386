#include "exchange/ui/column_mapping_dialog.h"

#include "contacts/contact_record.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tarvik {

namespace exchangeui {

ColumnMappingDialog::ColumnMappingDialog(const QList<exchange::UnknownColumn>& columns,
                                         QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ColumnMappingDialog"));
    setWindowTitle(QStringLiteral("Colonnes inconnues"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Ces colonnes du fichier ont un en-tête inconnu. "
                                            "Choisissez le champ de la fiche de chacune, ou "
                                            "laissez-la ignorée."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* area = new QScrollArea(this);
    area->setWidgetResizable(true);
    auto* inner = new QWidget(area);
    auto* form = new QFormLayout(inner);
    QList<int> offered{exchange::ColumnChoice::Ignored};
    for (int offset = contact::Name; offset <= contact::FixedLines; ++offset)
        offered.append(offset);
    offered.append(exchange::ColumnChoice::FreeText);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const exchange::UnknownColumn& c = columns.at(i);
        auto* list = new QComboBox(inner);
        list->setObjectName(QStringLiteral("ColumnChoice%1").arg(i));
        for (int choice : offered)
            list->addItem(exchange::columnChoiceName(choice), choice);
        QString samples = c.samples.join(QStringLiteral(" ; "));
        if (samples.size() > 60)
            samples = samples.left(57) + QStringLiteral("...");
        auto* label = new QLabel(QStringLiteral("<b>%1</b><br><small>%2</small>")
                                     .arg(c.header.toHtmlEscaped(), samples.toHtmlEscaped()),
                                 inner);
        label->setBuddy(list);
        list->setAccessibleName(c.header);
        form->addRow(label, list);
        m_lists.append(list);
    }
    area->setWidget(inner);
    layout->addWidget(area, 1);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, std::min(160 + 56 * int(columns.size()), 560));
}

QList<int> ColumnMappingDialog::choices() const
{
    QList<int> out;
    for (const QComboBox* list : m_lists)
        out.append(list->currentData().toInt());
    return out;
}

std::optional<QList<int>>
DialogColumnMapper::mapColumns(const QList<exchange::UnknownColumn>& columns)
{
    // The wait cursor of the import is not the user's while they choose.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::restoreOverrideCursor();
    ColumnMappingDialog dialog(columns, m_parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!ok)
        return std::nullopt;
    return dialog.choices();
}

std::function<void(bool)> waitCursorHook()
{
    return [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
}

} // namespace exchangeui

} // namespace tarvik
