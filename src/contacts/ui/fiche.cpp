#include "contacts/ui/fiche.h"

#include "book/record_commands.h"

#include "contacts/history.h"
#include "platform/prompter.h"
#include "platform/ui/ansi_widgets.h"
#include "platform/ui/command_guard.h"
#include "platform/ui/font_text_measure.h"
#include "storage/ansi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextOption>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tarvik {

namespace {

QString shown(const QByteArray& bytes)
{
    return ansi::toUnicode(bytes);
}

} // namespace

TFiche::TFiche(RecordBook& book, QWidget* parent) : QWidget(parent), m_book(book)
{
    setObjectName(QStringLiteral("Fiche"));
    setWindowTitle(QStringLiteral("Fiche"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    outer->addWidget(m_pages);

    m_contactsPage = buildContactsPage();
    m_pages->addWidget(m_contactsPage);

    installKeyFilters();
    refreshPickLists();
    refresh();
}

void TFiche::setOperationsPage(QWidget* page, std::function<void()> refresh,
                               std::function<void()> focus)
{
    m_operationsPage = page;
    m_refreshOperations = std::move(refresh);
    m_focusOperations = std::move(focus);
    m_pages->addWidget(page);
    installKeyFilters();
    this->refresh();
}

void TFiche::installKeyFilters()
{
    const QList<QWidget*> all = findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (w == m_history || w->objectName() == QLatin1String("StringGrid3"))
            continue;
        w->removeEventFilter(this);
        w->installEventFilter(this);
    }
    m_history->removeEventFilter(this);
    m_history->installEventFilter(this);
}

bool TFiche::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() != window())
        return false; // an open drop-down keeps its own keys

    if (watched == m_history) {
        if (key->key() == Qt::Key_Delete) {
            deleteHistorySelection();
            return true;
        }
        return false;
    }
    // A key the memo leaves goes on to its parents: the record keys are not
    // the memo's, whichever of them sees it.
    if (QApplication::focusWidget() == m_history)
        return false;

    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_PageDown:
        next();
        return true;
    case Qt::Key_PageUp:
        previous();
        return true;
    case Qt::Key_Home:
        if (mods == Qt::ControlModifier) {
            first();
            return true;
        }
        return false;
    case Qt::Key_End:
        if (mods == Qt::ControlModifier) {
            last();
            return true;
        }
        return false;
    case Qt::Key_F2:
        emit listRequested();
        return true;
    default:
        return false;
    }
}

void TFiche::applyHistoryTabs()
{
    const FontTextMeasure measure(m_history);
    QList<QTextOption::Tab> tabs;
    for (int x : history::columnTabStops(measure))
        tabs << QTextOption::Tab(x, QTextOption::LeftTab);
    QTextOption option = m_history->document()->defaultTextOption();
    option.setTabs(tabs);
    m_history->document()->setDefaultTextOption(option);
}

void TFiche::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_history)
        applyHistoryTabs();
}

void TFiche::deleteHistorySelection()
{
    QTextCursor cursor = m_history->textCursor();
    if (!cursor.hasSelection())
        return;
    if (!recordcommands::mayDeleteHistoryText(m_book))
        return;
    cursor.removeSelectedText();
    m_book.setHistory(m_history->lines());
}

void TFiche::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
}

bool TFiche::run(const std::function<void()>& command)
{
    const bool ok = runGuarded(this, command);
    refresh();
    return ok;
}

void TFiche::refresh()
{
    using namespace contact;
    m_updating = true;
    const ContactRecord& r = m_book.shown();
    const QByteArray* texts[] = {&r.code,       &r.name,     &r.address1,       &r.address2,
                                 &r.postcode,   &r.town,     &r.phone,          &r.fax,
                                 &r.activity,   &r.email,    &r.decision_maker, &r.purchase_price,
                                 &r.sale_price, &r.response, &r.arguments,      &r.appraisal};
    const int fields[] = {Code,      Name,     Address1,  Address2, Postcode,      Town,
                          Phone,     Fax,      Activity,  Email,    DecisionMaker, PurchasePrice,
                          SalePrice, Response, Arguments, Appraisal};
    for (int i = 0; i < int(std::size(fields)); ++i) {
        QLineEdit* e = m_edits.value(fields[i]);
        const QString text = shown(*texts[i]);
        if (e->text() != text) {
            e->setText(text);
            e->setCursorPosition(0);
        }
    }
    const std::pair<int, const QByteArray*> comboValues[] = {
        {Civility, &r.civility},         {Function, &r.function}, {ContactType, &r.contact_type},
        {Interlocutor, &r.interlocutor}, {Product, &r.product},   {FollowupType, &r.followup_type},
    };
    for (const auto& [field, value] : comboValues) {
        QComboBox* c = m_combos.value(field);
        const QString text = shown(*value);
        if (c->currentText() != text)
            c->setEditText(text);
    }
    for (QComboBox* c : m_appendCombos)
        c->setCurrentIndex(-1);
    m_contactDate->setDate(r.contact_date);
    m_contactTime->setTime(r.contact_time);
    m_followupDate->setDate(r.followup_date);
    m_followupTime->setTime(r.followup_time);
    m_alert->setChecked(r.alert);
    m_saleClosed->setChecked(r.sale_closed);
    const QString historyText = memo::toText(r.history);
    if (m_history->toPlainText() != historyText)
        m_history->setPlainText(historyText);
    const QString freeText = memo::toText(r.freeText);
    if (m_freeText->toPlainText() != freeText)
        m_freeText->setPlainText(freeText);

    m_pages->setCurrentWidget(m_book.page() == RecordBook::Page::Contacts ? m_contactsPage
                                                                          : m_operationsPage);
    if (m_refreshOperations)
        m_refreshOperations();
    refreshCounters();
    m_updating = false;

    const QString caption = m_book.caption();
    if (windowTitle() != caption) {
        setWindowTitle(caption);
        emit captionChanged();
    }
}

void TFiche::refreshCounters()
{
    for (int i = 0; i < m_counterLabels.size(); ++i)
        m_counterLabels[i]->setText(m_book.counterLabel(i));
}

void TFiche::refreshPickLists()
{
    using settings::PickList;
    const std::pair<int, PickList> lists[] = {
        {contact::Function, settings::Fonction},          {contact::ContactType, settings::Contact},
        {contact::Interlocutor, settings::Interlocuteur}, {contact::Product, settings::Produit},
        {contact::FollowupType, settings::Relance},
    };
    const bool was = m_updating;
    m_updating = true;
    for (const auto& [field, list] : lists) {
        QComboBox* c = m_combos.value(field);
        const QString text = c->currentText();
        c->clear();
        for (const QByteArray& item : m_book.pickLists()[list])
            c->addItem(shown(item));
        c->setEditText(text);
    }
    const PickList appendLists[] = {settings::Reponse, settings::Arguments, settings::Appreciation};
    for (int i = 0; i < m_appendCombos.size(); ++i) {
        QComboBox* c = m_appendCombos[i];
        c->clear();
        for (const QByteArray& item : m_book.pickLists()[appendLists[i]])
            c->addItem(shown(item));
        c->setCurrentIndex(-1);
    }
    m_updating = was;
}

// ---------------------------------------------------------------- commands

void TFiche::focusAfterMove()
{
    if (m_book.page() == RecordBook::Page::Contacts) {
        m_lowerTabs->setCurrentIndex(0);
        m_combos.value(contact::ContactType)->setFocus();
    } else if (m_focusOperations) {
        m_focusOperations();
    }
}

void TFiche::previous()
{
    run([this] { m_book.Precedent(); });
    focusAfterMove();
}

void TFiche::next()
{
    run([this] { m_book.Suivant(); });
    focusAfterMove();
}

void TFiche::first()
{
    run([this] { m_book.Premier(); });
    focusAfterMove();
}

void TFiche::last()
{
    run([this] { m_book.Dernier(); });
    focusAfterMove();
}

void TFiche::addRecord()
{
    run([this] { m_book.Ajout(); });
    if (m_book.page() == RecordBook::Page::Contacts) {
        m_lowerTabs->setCurrentIndex(0);
        m_edits.value(contact::Name)->setFocus();
    } else if (m_focusOperations) {
        m_focusOperations();
    }
}

void TFiche::showContactsPage()
{
    run([this] { m_book.showContacts(); });
    emit pageChanged();
}

void TFiche::showOperationsPage()
{
    run([this] { m_book.showOperations(); });
    emit pageChanged();
}

void TFiche::showEntryTab()
{
    m_lowerTabs->setCurrentIndex(0);
}

void TFiche::showFreeTextTab()
{
    m_lowerTabs->setCurrentIndex(1);
}

void TFiche::validate()
{
    run([this] { m_book.Valider(); });
}

} // namespace tarvik
