#include "settings/ui/pick_list_editor.h"

#include "platform/ui/ansi_widgets.h"
#include "storage/ansi.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik {

namespace {

// An item keeps the bytes it was read with, so that an untouched item goes
// back to the file exactly as it came.
constexpr int BytesRole = Qt::UserRole;

struct Titles
{
    const char* caption;
    const char* label;
};

Titles titles(settings::PickList which)
{
    switch (which) {
    case settings::Fonction:
        return {"Les fonctions", "Fonction"};
    case settings::Contact:
        return {"Les types de contacts", "Contact"};
    case settings::Interlocuteur:
        return {"Les interlocuteurs", "Interlocuteur"};
    case settings::Produit:
        return {"Les produits", "Produit"};
    case settings::Reponse:
        return {"Les Réponses", "Réponse"};
    case settings::Arguments:
        return {"nos arguments", "Arguments"};
    case settings::Appreciation:
        return {"Appréciation", "Appréciation"};
    case settings::Relance:
        return {"Les types de relance", "Relance"};
    case settings::Operation:
    case settings::PickListCount:
        break;
    }
    return {"Les types d'opérations", "Type"};
}

void setItemBytes(QListWidgetItem* item, const QByteArray& bytes)
{
    item->setText(ansi::toUnicode(bytes));
    item->setData(BytesRole, bytes);
}

} // namespace

QString TCombo::caption(settings::PickList which)
{
    return QString::fromUtf8(titles(which).caption);
}

QString TCombo::label(settings::PickList which)
{
    return QString::fromUtf8(titles(which).label);
}

TCombo::TCombo(settings::PickList which, const QList<QByteArray>& items, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Combo"));
    setWindowTitle(caption(which));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* layout = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(panel);

    auto* close = new QPushButton(QStringLiteral("Fermer"), panel);
    close->setObjectName(QStringLiteral("Button1"));
    // Enter belongs to the edit; it must never close the editor.
    close->setAutoDefault(false);
    auto* text = new QLabel(label(which), panel);
    text->setObjectName(QStringLiteral("Label1"));
    m_edit = new QLineEdit(panel);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setValidator(new AnsiValidator(m_edit));
    m_edit->setMinimumWidth(220);
    text->setBuddy(m_edit);
    auto* send = new QToolButton(panel);
    send->setObjectName(QStringLiteral("SpeedButton1"));
    send->setToolTip(QStringLiteral("Valider"));
    send->setStatusTip(QStringLiteral("Valider"));
    send->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    send->setText(QStringLiteral("Valider"));
    send->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    row->addWidget(close);
    row->addSpacing(8);
    row->addWidget(text);
    row->addWidget(m_edit, 1);
    row->addWidget(send);
    layout->addWidget(panel);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setMinimumSize(440, 280);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const QByteArray& bytes : items) {
        auto* item = new QListWidgetItem(m_list);
        setItemBytes(item, bytes);
    }
    layout->addWidget(m_list);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(send, &QToolButton::clicked, this, &TCombo::validate);
    // Choosing an item, by mouse or keys, brings it into the edit to be corrected.
    connect(m_list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            m_edit->setText(item->text());
    });
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { m_edit->setText(item->text()); });
    m_edit->installEventFilter(this);
    m_list->installEventFilter(this);

    selectNothing();
    m_edit->setFocus();
}

QList<QByteArray> TCombo::items() const
{
    QList<QByteArray> out;
    out.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->data(BytesRole).toByteArray();
    return out;
}

void TCombo::edit(settings::PickList which, QList<QByteArray>& items, QWidget* parent)
{
    TCombo dialog(which, items, parent);
    dialog.exec();
    items = dialog.items();
}

bool TCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == m_edit && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            validate();
            return true;
        }
        if (watched == m_list && key == Qt::Key_Delete) {
            deleteSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TCombo::validate()
{
    QByteArray bytes;
    if (!ansi::fromUnicode(m_edit->text(), bytes))
        return;
    // An item written as a section name would, at the next start, open that
    // section and carry every following item into the wrong list.
    if (settings::isSectionHeader(bytes)) {
        QApplication::beep();
        return;
    }
    QListWidgetItem* selected = m_list->currentItem();
    if (selected && selected->isSelected()) {
        setItemBytes(selected, bytes);
    } else {
        auto* item = new QListWidgetItem(m_list);
        setItemBytes(item, bytes);
    }
    selectNothing();
}

void TCombo::deleteSelected()
{
    QListWidgetItem* selected = m_list->currentItem();
    if (selected && selected->isSelected())
        delete m_list->takeItem(m_list->row(selected));
    selectNothing();
}

void TCombo::selectNothing()
{
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
    m_edit->clear();
}

} // namespace tarvik
