#include "operations/operation_book.h"

#include "operations/type_moves.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "storage/ansi.h"
#include "storage/dates.h"
#include "storage/integrity.h"
#include "storage/money.h"
#include "storage/text_helpers.h"

#include <QFileInfo>

namespace tarvik {

namespace {

constexpr int Digits = blocks::OperationDigits;

// A field is one line of the file: a line break inside it would split the
// block and shift every field behind it.
QByteArray oneLine(QByteArray value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

// The parts of an entry line are separated by tabs; a tab inside the label
// would move the label's end into the amount.
QByteArray oneCell(QByteArray value)
{
    value = oneLine(value);
    value.replace('\t', ' ');
    return value;
}

} // namespace

OperationBook::OperationBook(BookFlags& flags, const Clock& clock, Prompter& prompter)
    : BlockBook(flags, clock, prompter)
{
    LitOperation();
}

QString OperationBook::pathFor(const QString& contactPath)
{
    return contactPath.left(contactPath.size() - 3) + QStringLiteral("opr");
}

void OperationBook::load(const QString& contactPath)
{
    const QString path = pathFor(contactPath);
    // Read first: a file that cannot be read leaves the list as it was.
    BlockList lines;
    if (QFileInfo::exists(path))
        lines = blocks::loadFile(path);
    loadLines(std::move(lines), [this](BlockList& list, int& count) {
        const bool rebuilt = Verif2(list, count, prompter());
        const bool deduplicated = Doublons2(list, count);
        return rebuilt || deduplicated;
    });
}

void OperationBook::recordRead()
{
    m_entryDate = clock().today();
}

// ---------------------------------------------------------------- moves

void OperationBook::moveBySelection(blocks::Direction direction)
{
    if (m_mode != operations::Selection::OneType) {
        move(direction);
        return;
    }
    move(direction, [this](const BlockList& list, int current, int count, blocks::Direction d) {
        return operations::moveByType(list, current, count, d, m_typeFilter);
    });
}

void OperationBook::setTypeFilter(const QByteArray& value)
{
    m_typeFilter = ansi::upper(value);
}

// ---------------------------------------------------------------- edits

void OperationBook::edit()
{
    flags().operationsChanged = true;
}

// The member behind each text field of the page, or nullptr.
static QByteArray OperationRecord::*textMember(operation::Offset f)
{
    switch (f) {
    case operation::Code:
        return &OperationRecord::op_code;
    case operation::Type:
        return &OperationRecord::op_type;
    case operation::Summary:
        return &OperationRecord::summary;
    case operation::FixedCost:
        return &OperationRecord::fixed_cost;
    case operation::UnitCost:
        return &OperationRecord::unit_cost;
    default:
        return nullptr;
    }
}

QByteArray* OperationBook::field(operation::Offset f)
{
    const auto member = textMember(f);
    return member ? &(editable().*member) : nullptr;
}

void OperationBook::setText(operation::Offset f, const QByteArray& value)
{
    if (QByteArray* target = field(f)) {
        *target = blocks::fieldLine(value);
        edit();
    }
}

QByteArray OperationBook::text(operation::Offset f) const
{
    const auto member = textMember(f);
    return member ? shown().*member : QByteArray();
}

void OperationBook::setStartDate(const QDate& date)
{
    if (date.isValid())
        editable().start_date = date;
    edit();
}

void OperationBook::setEndDate(const QDate& date)
{
    if (date.isValid())
        editable().end_date = date;
    edit();
}

void OperationBook::setUrgent(bool urgent)
{
    editable().urgent = urgent;
    edit();
}

void OperationBook::setDescription(const QList<QByteArray>& lines)
{
    editable().description.clear();
    for (const QByteArray& line : lines)
        editable().description << oneLine(line);
    edit();
}

void OperationBook::setHighlights(const QList<QByteArray>& lines)
{
    editable().highlights.clear();
    for (const QByteArray& line : lines)
        editable().highlights << oneLine(line);
    edit();
}

void OperationBook::setEntryDate(const QDate& date)
{
    if (date.isValid())
        m_entryDate = date;
    edit();
}

void OperationBook::formatCostField(operation::Offset f, const TextMeasure& measure)
{
    if (f != operation::FixedCost && f != operation::UnitCost)
        return;
    QByteArray* target = field(f);
    if (!text::trimmed(*target).isEmpty())
        *target = formatCost(*target, measure);
}

bool OperationBook::addEntry(const QDate& date, const QByteArray& label, const QByteArray& amount)
{
    if (text::trimmed(label).isEmpty() || text::trimmed(amount).isEmpty())
        return false;
    if (editable().entries.size() >= MaxTypedEntries)
        return false;
    editable().entries << OperationEntry{dates::format(date.isValid() ? date : clock().today()),
                                         oneCell(label), oneCell(money::twoDecimals(amount))};
    flags().fileModified = true;
    flags().operationsChanged = true;
    return true;
}

bool OperationBook::removeEntry(int index)
{
    if (index < 0 || index >= editable().entries.size())
        return false;
    editable().entries.removeAt(index);
    flags().fileModified = true;
    flags().operationsChanged = true;
    return true;
}

QByteArray OperationBook::formatCost(const QByteArray& typed, const TextMeasure& measure)
{
    const QByteArray value = text::trimmed(typed);
    if (value.isEmpty())
        return value;
    return text::rightAlign(money::twoDecimals(value), CostWidth, measure);
}

// ---------------------------------------------------------------- integrity

bool OperationBook::Verif2(BlockList& list, int& count, Prompter& prompter)
{
    if (!integrity::damaged(list, Digits))
        return false;
    // No question: the user cannot decline the rebuild, only be warned.
    prompter.information(QStringLiteral(
        "Des fichiers ont été altérés\r\nVérifiez s'il n'y a pas eu perte de données"));
    count = integrity::rebuild(list, count, Digits);
    return true;
}

bool OperationBook::Doublons2(BlockList& list, int& count)
{
    return integrity::removeDuplicates(list, count, Digits);
}

} // namespace tarvik
