#include "settings/ui/societe_dialog.h"

#include "platform/ui/ansi_widgets.h"
#include "storage/ansi.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik {

TSociete::TSociete(const settings::CompanyLines& lines, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Societe"));
    setWindowTitle(QStringLiteral("Société"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Lignes constituant l'en-tête de la société"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto* form = new QFormLayout;
    for (int k = 0; k < int(lines.size()); ++k) {
        auto* e = new QLineEdit(ansi::toUnicode(lines[k]), this);
        e->setObjectName(QStringLiteral("Edit%1").arg(k + 1));
        e->setValidator(new AnsiValidator(e));
        e->setMinimumWidth(340);
        form->addRow(QStringLiteral("Ligne %1").arg(k + 1), e);
        m_edits << e;
    }
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    // Esc and the close box reject the dialog, exactly like "Annuler".
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

settings::CompanyLines TSociete::lines() const
{
    settings::CompanyLines out;
    for (int k = 0; k < int(out.size()); ++k)
        out[k] = ansi::fromUnicode(m_edits[k]->text());
    return out;
}

bool TSociete::edit(settings::CompanyLines& lines, QWidget* parent)
{
    TSociete dialog(lines, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const settings::CompanyLines edited = dialog.lines();
    if (edited[0].isEmpty())
        return false;
    lines = edited;
    return true;
}

} // namespace tarvik
