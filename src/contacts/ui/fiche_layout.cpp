// The layout of the contacts page, built part by part from the top down: the
// order in which the parts are built is the order of the Tab key.
#include "contacts/ui/fiche.h"

#include "platform/ui/ansi_widgets.h"
#include "storage/ansi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tarvik {

namespace {

QLabel* label(const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

} // namespace

QLineEdit* TFiche::lineEdit(const char* name, contact::Offset field)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    e->setValidator(new AnsiValidator(e));
    connect(e, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (!m_updating)
            m_book.setText(field, ansi::fromUnicode(text), RecordBook::Edit::Typed);
    });
    m_edits.insert(field, e);
    return e;
}

QComboBox* TFiche::pickCombo(const char* name, contact::Offset field, RecordBook::Edit how)
{
    auto* c = new QComboBox;
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setValidator(new AnsiValidator(c));
    c->setMinimumContentsLength(8);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(c->lineEdit(), &QLineEdit::textEdited, this, [this, field, how](const QString& text) {
        if (!m_updating)
            m_book.setText(field, ansi::fromUnicode(text), how);
    });
    connect(c, &QComboBox::activated, this, [this, c, field, how](int) {
        if (!m_updating)
            m_book.setText(field, ansi::fromUnicode(c->currentText()), how);
    });
    m_combos.insert(field, c);
    return c;
}

QComboBox* TFiche::appendCombo(const char* name, contact::Offset field)
{
    auto* c = new QComboBox;
    c->setObjectName(QLatin1String(name));
    c->setEditable(false);
    c->setMinimumContentsLength(6);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(c, &QComboBox::activated, this, [this, c, field](int index) {
        if (m_updating || index < 0)
            return;
        m_book.appendPick(field, ansi::fromUnicode(c->itemText(index)));
        refresh();
    });
    m_appendCombos << c;
    return c;
}

QWidget* TFiche::buildContactsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(3);
    v->addLayout(buildCounterLine());
    v->addLayout(buildIdentity());
    v->addWidget(buildSeparator());

    // Lower tab set: contact entry and free text.
    m_lowerTabs = new QStackedWidget;
    m_lowerTabs->setObjectName(QStringLiteral("PageControl2"));
    m_lowerTabs->addWidget(buildEntryTab());
    m_lowerTabs->addWidget(buildFreeTextTab());
    v->addWidget(m_lowerTabs);

    v->addWidget(buildHistory(), 1);
    connectRecordEdits();
    return page;
}

// The code and the five counters.
QLayout* TFiche::buildCounterLine()
{
    using namespace contact;
    auto* top = new QHBoxLayout;
    QLineEdit* code = lineEdit("Edit20", Code);
    code->setMaximumWidth(90);
    top->addWidget(label(QStringLiteral("Code"), code));
    top->addWidget(code);
    top->addSpacing(12);
    const char* counterNames[] = {"Label26", "Label27", "Label28", "Label29", "Label30"};
    const QString counterCaptions[] = {QStringLiteral("Alertes"), QStringLiteral("Ventes abouties"),
                                       QStringLiteral("Relances"), QStringLiteral("Temps passé"),
                                       QStringLiteral("Nbr contacts")};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(counterCaptions[i]);
        l->setObjectName(QLatin1String(counterNames[i]));
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(90);
        l->setAlignment(Qt::AlignCenter);
        m_counterLabels << l;
        top->addWidget(l, 1);
    }
    return top;
}

QLayout* TFiche::buildIdentity()
{
    using namespace contact;
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);
    QLineEdit* name = lineEdit("Edit1", Name);
    g->addWidget(label(QStringLiteral("Nom / Société"), name), 0, 0);
    g->addWidget(name, 0, 1, 1, 3);
    QLineEdit* a1 = lineEdit("Edit2", Address1);
    QLineEdit* a2 = lineEdit("Edit3", Address2);
    g->addWidget(label(QStringLiteral("Adresse"), a1), 1, 0);
    g->addWidget(a1, 1, 1);
    g->addWidget(label(QStringLiteral("Adresse"), a2), 1, 2);
    g->addWidget(a2, 1, 3);
    QLineEdit* pc = lineEdit("Edit4", Postcode);
    QLineEdit* town = lineEdit("Edit5", Town);
    g->addWidget(label(QStringLiteral("Code postal"), pc), 2, 0);
    g->addWidget(pc, 2, 1);
    g->addWidget(label(QStringLiteral("Ville"), town), 2, 2);
    g->addWidget(town, 2, 3);
    QLineEdit* phone = lineEdit("Edit6", Phone);
    QLineEdit* fax = lineEdit("Edit7", Fax);
    g->addWidget(label(QStringLiteral("Téléphone"), phone), 3, 0);
    g->addWidget(phone, 3, 1);
    g->addWidget(label(QStringLiteral("Fax"), fax), 3, 2);
    g->addWidget(fax, 3, 3);
    QLineEdit* activity = lineEdit("Edit8", Activity);
    QLineEdit* email = lineEdit("Edit9", Email);
    g->addWidget(label(QStringLiteral("Activité"), activity), 4, 0);
    g->addWidget(activity, 4, 1);
    g->addWidget(label(QStringLiteral("E.mail"), email), 4, 2);
    g->addWidget(email, 4, 3);
    QComboBox* civility = pickCombo("ComboBox1", Civility, RecordBook::Edit::Typed);
    civility->addItems({QStringLiteral("M."), QStringLiteral("Mme"), QStringLiteral("Mlle")});
    civility->setMinimumContentsLength(4);
    civility->setMaximumWidth(80);
    QLineEdit* decider = lineEdit("Edit10", DecisionMaker);
    auto* deciderRow = new QHBoxLayout;
    deciderRow->addWidget(civility);
    deciderRow->addWidget(decider, 1);
    g->addWidget(label(QStringLiteral("Décideur"), decider), 5, 0);
    g->addLayout(deciderRow, 5, 1);
    QComboBox* function = pickCombo("ComboBox2", Function, RecordBook::Edit::Changed);
    g->addWidget(label(QStringLiteral("Fonction"), function), 5, 2);
    g->addWidget(function, 5, 3);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return g;
}

QWidget* TFiche::buildSeparator()
{
    auto* shape = new QFrame;
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::HLine);
    shape->setFrameShadow(QFrame::Sunken);
    m_separator = shape;
    return shape;
}

// The contact entry: the contact itself, the appended texts, the follow-up.
QWidget* TFiche::buildEntryTab()
{
    using namespace contact;
    auto* entry = new QWidget;
    entry->setObjectName(QStringLiteral("TabSheet11"));
    auto* e = new QGridLayout(entry);
    e->setContentsMargins(0, 0, 0, 0);
    e->setHorizontalSpacing(6);
    e->setVerticalSpacing(3);

    QComboBox* type = pickCombo("ComboBox3", ContactType, RecordBook::Edit::Changed);
    e->addWidget(label(QStringLiteral("Type contact"), type), 0, 0);
    e->addWidget(type, 0, 1);
    m_contactDate = new QDateEdit;
    m_contactDate->setObjectName(QStringLiteral("DateTimePicker1"));
    m_contactDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_contactDate->setCalendarPopup(true);
    m_contactTime = new QTimeEdit;
    m_contactTime->setObjectName(QStringLiteral("DateTimePicker2"));
    m_contactTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* when = new QHBoxLayout;
    when->addWidget(m_contactDate);
    when->addWidget(label(QStringLiteral("Heure"), m_contactTime));
    when->addWidget(m_contactTime);
    when->addStretch();
    e->addWidget(label(QStringLiteral("Date"), m_contactDate), 0, 2);
    e->addLayout(when, 0, 3);

    QComboBox* inter = pickCombo("ComboBox4", Interlocutor, RecordBook::Edit::Interlocutor);
    QComboBox* product = pickCombo("ComboBox5", Product, RecordBook::Edit::Changed);
    e->addWidget(label(QStringLiteral("Interlocuteur"), inter), 1, 0);
    e->addWidget(inter, 1, 1);
    e->addWidget(label(QStringLiteral("Produit/besoin/concurent"), product), 1, 2);
    e->addWidget(product, 1, 3);

    QLineEdit* buy = lineEdit("Edit11", PurchasePrice);
    QLineEdit* sell = lineEdit("Edit12", SalePrice);
    e->addWidget(label(QStringLiteral("Prix achat"), buy), 2, 0);
    e->addWidget(buy, 2, 1);
    e->addWidget(label(QStringLiteral("Prix Vente"), sell), 2, 2);
    e->addWidget(sell, 2, 3);

    // The contact's own rows are 0 to 2.
    addFollowupRows(e, addAppendedRows(e, 3));
    e->setColumnStretch(1, 1);
    e->setColumnStretch(3, 1);
    return entry;
}

// The three texts a pick list's choice is appended to, one row each from
// `row`; the row after them.
int TFiche::addAppendedRows(QGridLayout* e, int row)
{
    using namespace contact;
    struct Appended
    {
        const char* edit;
        const char* combo;
        contact::Offset field;
        QString caption;
    };
    const Appended appended[] = {
        {"Edit13", "ComboBox6", Response, QStringLiteral("Réponse interlocuteur")},
        {"Edit14", "ComboBox7", Arguments, QStringLiteral("Nos arguments")},
        {"Edit15", "ComboBox8", Appraisal, QStringLiteral("Appréciaiton")},
    };
    for (const Appended& a : appended) {
        QLineEdit* edit = lineEdit(a.edit, a.field);
        QComboBox* pick = appendCombo(a.combo, a.field);
        auto* line = new QHBoxLayout;
        line->addWidget(edit, 3);
        line->addWidget(pick, 1);
        e->addWidget(label(a.caption, edit), row, 0);
        e->addLayout(line, row, 1, 1, 3);
        ++row;
    }

    return row;
}

int TFiche::addFollowupRows(QGridLayout* e, int row)
{
    using namespace contact;
    m_followupDate = new QDateEdit;
    m_followupDate->setObjectName(QStringLiteral("DateTimePicker3"));
    m_followupDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_followupDate->setCalendarPopup(true);
    m_followupTime = new QTimeEdit;
    m_followupTime->setObjectName(QStringLiteral("DateTimePicker4"));
    m_followupTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    QComboBox* followType = pickCombo("ComboBox9", FollowupType, RecordBook::Edit::Changed);
    m_alert = new QCheckBox(QStringLiteral("Alerte"));
    m_alert->setObjectName(QStringLiteral("CheckBox1"));
    m_saleClosed = new QCheckBox(QStringLiteral("Vente aboutie"));
    m_saleClosed->setObjectName(QStringLiteral("CheckBox2"));
    m_validate = new QPushButton(QStringLiteral("Valider histor."));
    m_validate->setObjectName(QStringLiteral("Button1"));
    auto* follow = new QHBoxLayout;
    follow->addWidget(m_followupDate);
    follow->addWidget(m_followupTime);
    e->addWidget(label(QStringLiteral("Relance"), m_followupDate), row, 0);
    e->addLayout(follow, row, 1);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(followType, 1);
    e->addWidget(label(QStringLiteral("Type de relance"), followType), row, 2);
    e->addLayout(typeRow, row, 3);
    ++row;
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_alert);
    boxes->addWidget(m_saleClosed);
    boxes->addStretch();
    boxes->addWidget(m_validate);
    e->addLayout(boxes, row, 0, 1, 4);
    return row + 1;
}

QWidget* TFiche::buildFreeTextTab()
{
    auto* free = new QWidget;
    free->setObjectName(QStringLiteral("TabSheet12"));
    auto* f = new QVBoxLayout(free);
    f->setContentsMargins(0, 0, 0, 0);
    m_freeText = new AnsiPlainTextEdit;
    m_freeText->setObjectName(QStringLiteral("Memo2"));
    f->addWidget(label(QStringLiteral("Texte libre"), m_freeText));
    f->addWidget(m_freeText);
    return free;
}

QWidget* TFiche::buildHistory()
{
    m_history = new AnsiPlainTextEdit;
    m_history->setObjectName(QStringLiteral("Memo1"));
    m_history->setReadOnly(true);
    // Read-only, but the caret moves with the keys as in any text: Ctrl+Home
    // and Ctrl+End stay in the memo instead of reaching the record moves.
    m_history->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_history->setFocusPolicy(Qt::ClickFocus);
    m_history->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_history->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_history->setTabStopDistance(
        QFontMetricsF(m_history->font()).horizontalAdvance(QLatin1Char(' ')) * 8);
    applyHistoryTabs();
    m_history->setMinimumHeight(70);
    return m_history;
}

// Each edit of a date, time, check box or the free text goes to the book.
void TFiche::connectRecordEdits()
{
    using namespace contact;
    connect(m_contactDate, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!m_updating)
            m_book.setDate(ContactDate, d);
    });
    connect(m_followupDate, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!m_updating)
            m_book.setDate(FollowupDate, d);
    });
    connect(m_contactTime, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
        if (!m_updating)
            m_book.setTime(ContactTime, t);
    });
    connect(m_followupTime, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
        if (!m_updating)
            m_book.setTime(FollowupTime, t);
    });
    connect(m_alert, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_updating)
            m_book.setCheck(Alert, on);
    });
    connect(m_saleClosed, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_updating)
            m_book.setCheck(SaleClosed, on);
    });
    connect(m_freeText, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            m_book.setFreeText(m_freeText->lines());
    });
    connect(m_validate, &QPushButton::clicked, this, &TFiche::validate);
}

} // namespace tarvik
