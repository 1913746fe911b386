#include "operations/ui/operations_page.h"

#include "platform/ui/ansi_widgets.h"
#include "platform/ui/command_guard.h"
#include "storage/ansi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace tarvik {

namespace {

const QString Digits = QStringLiteral("1234567890,");
constexpr int GridColumnWidths[3] = {97, 242, 96};

QString shown(const QByteArray& bytes)
{
    return ansi::toUnicode(bytes);
}

// Amounts hold digits and commas; the cost fields also keep the spaces of
// their padding. Anything else pasted in is refused.
class AmountValidator : public QValidator
{
public:
    AmountValidator(bool spaces, QObject* parent) : QValidator(parent), m_spaces(spaces) {}
    State validate(QString& input, int&) const override
    {
        for (QChar c : input)
            if (!Digits.contains(c) && !(m_spaces && c == QLatin1Char(' ')))
                return Invalid;
        return Acceptable;
    }

private:
    bool m_spaces;
};

// A line edit of the page: Enter may run an action (and is then swallowed),
// amounts take "." for "," and drop every other character that is not a digit,
// leaving the field may run an action.
class FieldEdit : public QLineEdit
{
public:
    explicit FieldEdit(bool amount) : m_amount(amount) {}
    std::function<void()> onEnter;
    std::function<void()> onLeave;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && onEnter) {
            event->accept();
            onEnter();
            return;
        }
        const QString text = event->text();
        if (m_amount && text.size() == 1 && text.at(0).isPrint() &&
            !(event->modifiers() & Qt::ControlModifier)) {
            if (text.at(0) == QLatin1Char('.')) {
                QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier,
                                QStringLiteral(","));
                QLineEdit::keyPressEvent(&comma);
                event->accept();
                return;
            }
            if (!Digits.contains(text.at(0))) {
                event->accept();
                return;
            }
        }
        QLineEdit::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        if (onLeave)
            onLeave();
    }

private:
    bool m_amount;
};

QLabel* label(const char* name, const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

void setText(QLineEdit* edit, const QByteArray& value)
{
    const QString text = shown(value);
    if (edit->text() != text)
        edit->setText(text);
}

void setDate(QDateEdit* edit, const QDate& date)
{
    if (date.isValid() && edit->date() != date)
        edit->setDate(date);
}

} // namespace

OperationsPage::OperationsPage(OperationBook& book, const settings::PickLists& lists,
                               QWidget* parent)
    : QWidget(parent), m_book(book), m_lists(lists), m_measure(this)
{
    setObjectName(QStringLiteral("TabSheet2"));
    // Built in the order of the Tab key.
    QGroupBox* operation = buildOperationGroup();
    QGroupBox* dates = buildDatesGroup();
    buildMemos();
    buildEntryGrid();
    arrange(operation, dates, buildEntryPanel());
    connectEdits();
    refresh();
}

// The operation itself: code, type, summary and costs.
QGroupBox* OperationsPage::buildOperationGroup()
{
    auto* group1 = new QGroupBox(this);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    m_code = textEdit("Edit16", operation::Code);
    m_code->setMaximumWidth(110);
    m_type = new QComboBox;
    m_type->setObjectName(QStringLiteral("ComboBox10"));
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    m_type->lineEdit()->setValidator(new AnsiValidator(m_type));
    m_type->setMinimumContentsLength(12);
    m_type->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_summary = textEdit("Edit17", operation::Summary);
    m_fixedCost = costEdit("Edit18", operation::FixedCost);
    m_unitCost = costEdit("Edit19", operation::UnitCost);

    auto* grid1 = new QGridLayout(group1);
    grid1->addWidget(label("Label32", QStringLiteral("Code"), m_code), 0, 0);
    grid1->addWidget(m_code, 0, 1);
    grid1->addWidget(label("Label33", QStringLiteral("Type"), m_type), 0, 2);
    grid1->addWidget(m_type, 0, 3);
    grid1->addWidget(label("Label34", QStringLiteral("Résumé"), m_summary), 1, 0);
    grid1->addWidget(m_summary, 1, 1, 1, 3);
    grid1->addWidget(label("Label35", QStringLiteral("Coût fixe"), m_fixedCost), 2, 0);
    grid1->addWidget(m_fixedCost, 2, 1);
    grid1->addWidget(label("Label36", QStringLiteral("Coût unitaire"), m_unitCost), 2, 2);
    grid1->addWidget(m_unitCost, 2, 3, Qt::AlignLeft);
    grid1->setColumnStretch(3, 1);

    return group1;
}

QGroupBox* OperationsPage::buildDatesGroup()
{
    auto* group2 = new QGroupBox(this);
    group2->setObjectName(QStringLiteral("GroupBox2"));
    m_start = dateEdit("DateTimePicker5");
    m_end = dateEdit("DateTimePicker6");
    m_urgent = new QCheckBox(QStringLiteral("Urgent"));
    m_urgent->setObjectName(QStringLiteral("CheckBox3"));
    auto* grid2 = new QGridLayout(group2);
    grid2->addWidget(label("Label37", QStringLiteral("Début"), m_start), 0, 0);
    grid2->addWidget(m_start, 0, 1);
    grid2->addWidget(label("Label38", QStringLiteral("Fin"), m_end), 1, 0);
    grid2->addWidget(m_end, 1, 1);
    grid2->addWidget(m_urgent, 2, 1);

    return group2;
}

void OperationsPage::buildMemos()
{
    m_description = new AnsiPlainTextEdit;
    m_description->setObjectName(QStringLiteral("Memo3"));
    m_highlights = new AnsiPlainTextEdit;
    m_highlights->setObjectName(QStringLiteral("Memo4"));
    for (AnsiPlainTextEdit* memo : {m_description, m_highlights}) {
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setMinimumWidth(200);
    }
}

// The entries of the operation, one per row.
void OperationsPage::buildEntryGrid()
{
    m_grid = new QTableWidget(OperationBook::MaxTypedEntries, 3);
    m_grid->setObjectName(QStringLiteral("StringGrid3"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Libellé"), QStringLiteral("Montant")});
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    for (int c = 0; c < 3; ++c)
        m_grid->setColumnWidth(c, GridColumnWidths[c]);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->setFixedWidth(GridColumnWidths[0] + GridColumnWidths[1] + GridColumnWidths[2] +
                          m_grid->verticalScrollBar()->sizeHint().width() +
                          2 * m_grid->frameWidth());
    m_grid->installEventFilter(this);
}

// The panel under the grid that adds an entry.
QFrame* OperationsPage::buildEntryPanel()
{
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel3"));
    panel->setFrameShape(QFrame::StyledPanel);
    m_entryDate = dateEdit("DateTimePicker7");
    auto* entryLabel = new FieldEdit(false);
    entryLabel->setObjectName(QStringLiteral("Edit33"));
    entryLabel->setValidator(new AnsiValidator(entryLabel));
    entryLabel->onEnter = [this] { addEntry(); };
    m_entryLabel = entryLabel;
    auto* entryAmount = new FieldEdit(true);
    entryAmount->setObjectName(QStringLiteral("Edit34"));
    entryAmount->setValidator(new AmountValidator(false, entryAmount));
    entryAmount->onEnter = [this] { addEntry(); };
    entryAmount->setAlignment(Qt::AlignRight);
    entryAmount->setFixedWidth(GridColumnWidths[2]);
    m_entryAmount = entryAmount;
    m_ok = new QToolButton;
    m_ok->setObjectName(QStringLiteral("SpeedButton3"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setFocusPolicy(Qt::NoFocus);
    auto* panelRow = new QHBoxLayout(panel);
    panelRow->setContentsMargins(4, 4, 4, 4);
    panelRow->addWidget(m_entryDate);
    panelRow->addWidget(m_entryLabel, 1);
    panelRow->addWidget(m_entryAmount);
    panelRow->addWidget(m_ok);
    panel->setFixedWidth(m_grid->width());

    return panel;
}

void OperationsPage::arrange(QGroupBox* group1, QGroupBox* group2, QFrame* panel)
{
    auto* top = new QHBoxLayout;
    top->addWidget(group1, 1);
    top->addWidget(group2);

    auto* memos = new QVBoxLayout;
    memos->addWidget(label("Label42", QStringLiteral("Description détaillée"), m_description));
    memos->addWidget(m_description, 1);
    memos->addWidget(label("Label1", QStringLiteral("Faits marquants"), m_highlights));
    memos->addWidget(m_highlights, 1);

    auto* entries = new QVBoxLayout;
    entries->addWidget(m_grid, 1);
    entries->addWidget(panel);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(memos, 1);
    bottom->addLayout(entries);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addLayout(top);
    page->addLayout(bottom, 1);
}

// Every edit goes to the book.
void OperationsPage::connectEdits()
{
    connect(m_type, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_updating)
            m_book.setText(operation::Type, ansi::fromUnicode(text));
    });
    connect(m_start, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!m_updating)
            m_book.setStartDate(d);
    });
    connect(m_end, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!m_updating)
            m_book.setEndDate(d);
    });
    connect(m_entryDate, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (!m_updating)
            m_book.setEntryDate(d);
    });
    connect(m_urgent, &QCheckBox::clicked, this, [this](bool on) {
        if (!m_updating)
            m_book.setUrgent(on);
    });
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            m_book.setDescription(m_description->lines());
    });
    connect(m_highlights, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            m_book.setHighlights(m_highlights->lines());
    });
    // The panel's texts are not part of the operation, but typing there is
    // an edit of it all the same.
    for (QLineEdit* e : {m_entryLabel, m_entryAmount})
        connect(e, &QLineEdit::textEdited, this, [this] {
            if (!m_updating)
                m_book.edit();
        });
    connect(m_ok, &QToolButton::clicked, this, [this] { addEntry(); });
}

QLineEdit* OperationsPage::textEdit(const char* name, operation::Offset field)
{
    auto* e = new FieldEdit(false);
    e->setObjectName(QLatin1String(name));
    e->setValidator(new AnsiValidator(e));
    connect(e, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (!m_updating)
            m_book.setText(field, ansi::fromUnicode(text));
    });
    return e;
}

OperationsPage::~OperationsPage()
{
    // Taking the window down moves the focus out of a cost field after this
    // page's own members are gone: its formatting must not run then.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        if (auto* field = dynamic_cast<FieldEdit*>(e))
            field->onLeave = nullptr;
}

QLineEdit* OperationsPage::costEdit(const char* name, operation::Offset field)
{
    auto* e = new FieldEdit(true);
    e->setObjectName(QLatin1String(name));
    e->setValidator(new AmountValidator(true, e));
    // The padding is measured against 100 pixels: the field shows it whole.
    e->setFixedWidth(OperationBook::CostWidth + 16);
    // Typing marks the operation changed, so that a cost typed alone is kept.
    connect(e, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (!m_updating)
            m_book.setText(field, ansi::fromUnicode(text));
    });
    e->onLeave = [this, e, field] {
        m_book.formatCostField(field, m_measure);
        const bool was = m_updating;
        m_updating = true;
        setText(e, m_book.text(field));
        m_updating = was;
    };
    return e;
}

QDateEdit* OperationsPage::dateEdit(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QLatin1String(name));
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setCalendarPopup(true);
    d->setMinimumDate(QDate(100, 1, 1));
    return d;
}

void OperationsPage::refresh()
{
    m_updating = true;
    showTypeList();
    const OperationRecord& r = m_book.shown();
    setText(m_code, r.op_code);
    const QString type = shown(r.op_type);
    if (m_type->currentText() != type) {
        const int at = m_type->findText(type, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        m_type->setCurrentIndex(at);
        if (at < 0)
            m_type->setEditText(type);
    }
    setText(m_summary, r.summary);
    setText(m_fixedCost, r.fixed_cost);
    setText(m_unitCost, r.unit_cost);
    setDate(m_start, r.start_date);
    setDate(m_end, r.end_date);
    m_urgent->setChecked(r.urgent);
    if (m_description->lines() != r.description)
        m_description->setLines(r.description);
    if (m_highlights->lines() != r.highlights)
        m_highlights->setLines(r.highlights);
    setDate(m_entryDate, m_book.entryDate());
    showEntries();
    m_updating = false;
}

void OperationsPage::focusSummary()
{
    m_summary->setFocus();
}

void OperationsPage::showTypeList()
{
    const QList<QByteArray>& items = m_lists[settings::Operation];
    if (items == m_typeItems)
        return;
    m_typeItems = items;
    const QString text = m_type->currentText();
    m_type->clear();
    for (const QByteArray& item : items)
        m_type->addItem(shown(item));
    m_type->setCurrentIndex(-1);
    m_type->setEditText(text);
}

void OperationsPage::showEntries()
{
    const QList<OperationEntry>& entries = m_book.shown().entries;
    // An operation with more entries than the panel takes by hand shows them all.
    const int rows = std::max<int>(OperationBook::MaxTypedEntries, int(entries.size()));
    if (m_grid->rowCount() != rows)
        m_grid->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const OperationEntry entry = row < entries.size() ? entries.at(row) : OperationEntry();
        const QByteArray cells[3] = {entry.date, entry.label, entry.amount};
        for (int c = 0; c < 3; ++c) {
            const QString text = shown(cells[c]);
            QTableWidgetItem* item = m_grid->item(row, c);
            if (!item) {
                item = new QTableWidgetItem;
                if (c == 2)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_grid->setItem(row, c, item);
            }
            if (item->text() != text)
                item->setText(text);
        }
    }
}

void OperationsPage::addEntry()
{
    runGuarded(this, [this] {
        if (m_book.addEntry(m_entryDate->date(), ansi::fromUnicode(m_entryLabel->text()),
                            ansi::fromUnicode(m_entryAmount->text()))) {
            m_entryLabel->clear();
            m_entryAmount->clear();
            showEntries();
        }
    });
}

void OperationsPage::removeSelectedEntry()
{
    runGuarded(this, [this] {
        const int row = m_grid->currentRow();
        if (m_book.removeEntry(row))
            showEntries();
    });
}

bool OperationsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeSelectedEntry();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvik
