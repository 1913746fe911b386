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
const char* const DescriptionPrefix = "MEM3";
const char* const HighlightPrefix = "MEM4";
const char* const EntryPrefix = "DATA";

// A field is one line of the file: a line break inside it would split the
// block and shift every field behind it.
QByteArray oneLine(QByteArray value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

using blocks::fieldLine;

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
    : m_flags(flags), m_clock(clock), m_prompter(prompter)
{
    LitOperation();
}

QString OperationBook::pathFor(const QString& contactPath)
{
    return contactPath.left(contactPath.size() - 3) + QStringLiteral("opr");
}

// ---------------------------------------------------------------- load, save

void OperationBook::ChargeOperation(const QString& contactPath)
{
    const QString path = pathFor(contactPath);
    // Read first: a file that cannot be read leaves the list as it was.
    BlockList lines;
    if (QFileInfo::exists(path))
        lines = blocks::loadFile(path);
    m_list = std::move(lines);
    m_count = blocks::countHeaders(m_list);
    m_current = 0;

    Verif2();
    Doublons2();
    // A number without a block below the highest one would leave the
    // operations behind it out of reach of the moves.
    if (integrity::closeGaps(m_list, m_count, Digits))
        m_flags.fileModified = true;
    if (m_count < 1)
        m_count = 1;

    LitOperation();
    m_flags.operationsChanged = false;
}

void OperationBook::save(const QString& contactPath)
{
    EcritOperation();
    Squize2();
    blocks::saveFile(pathFor(contactPath), m_list);
}

// ---------------------------------------------------------------- read, write

void OperationBook::LitOperation()
{
    m_flags.operationsChanged = false;
    const QDate today = m_clock.today();
    m_shown = OperationRecord();
    m_shown.start_date = today;
    m_shown.end_date = today;
    m_entryDate = today;

    const qsizetype at = blocks::find(m_list, blocks::header(m_current, Digits));
    if (at >= 0) {
        // The block ends at its trailer (or with the list): a block cut short
        // has empty fields, not the lines of the next block.
        const QByteArray trail = blocks::trailer(m_current, Digits);
        qsizetype end = at + 1;
        while (end < m_list.size() && !blocks::sameLine(m_list.at(end), trail))
            ++end;
        auto fixed = [&](int offset) -> QByteArray {
            return at + offset < end ? m_list.at(at + offset) : QByteArray();
        };
        m_shown.op_code = fixed(operation::Code);
        m_shown.op_type = fixed(operation::Type);
        m_shown.summary = fixed(operation::Summary);
        m_shown.fixed_cost = fixed(operation::FixedCost);
        m_shown.unit_cost = fixed(operation::UnitCost);
        // An unreadable start date leaves both pickers on today.
        const QByteArray start = fixed(operation::StartDate);
        const QDate startDate = start.isEmpty() ? QDate() : dates::parse(start);
        if (start.isEmpty() || startDate.isValid()) {
            if (startDate.isValid())
                m_shown.start_date = startDate;
            const QDate endDate = dates::parse(fixed(operation::EndDate));
            if (endDate.isValid())
                m_shown.end_date = endDate;
        }
        m_shown.urgent = fixed(operation::Urgent) == "Y";

        for (qsizetype i = at + operation::FixedLines + 1; i < end; ++i) {
            const QByteArray& line = m_list.at(i);
            if (line.startsWith(DescriptionPrefix)) {
                m_shown.description << line.mid(4);
            } else if (line.startsWith(HighlightPrefix)) {
                m_shown.highlights << line.mid(4);
            } else if (line.startsWith(EntryPrefix)) {
                const QByteArray rest = line.mid(4);
                OperationEntry entry;
                const qsizetype tab1 = rest.indexOf('\t');
                if (tab1 < 0) {
                    entry.date = rest;
                } else {
                    entry.date = rest.left(tab1);
                    const qsizetype tab2 = rest.indexOf('\t', tab1 + 1);
                    if (tab2 < 0) {
                        entry.label = rest.mid(tab1 + 1);
                    } else {
                        entry.label = rest.mid(tab1 + 1, tab2 - tab1 - 1);
                        entry.amount = rest.mid(tab2 + 1);
                    }
                }
                m_shown.entries << entry;
            }
        }
    }
    if (m_shown.op_code.isEmpty())
        m_shown.op_code = QByteArray::number(Numero());
}

void OperationBook::EcritOperation()
{
    if (!m_flags.operationsChanged)
        return;
    m_flags.fileModified = true;
    const QByteArray head = blocks::header(m_current, Digits);
    blocks::deleteBlock(m_list, head);

    // The rewritten block goes to the end of the list, whatever its number.
    const OperationRecord& r = m_shown;
    BlockList block;
    block.reserve(operation::FixedLines + 2 + r.description.size() + r.highlights.size() +
                  r.entries.size());
    block << head << r.op_code << r.op_type << r.summary << r.fixed_cost << r.unit_cost
          << dates::format(r.start_date) << dates::format(r.end_date)
          << QByteArray(r.urgent ? "Y" : "N");
    for (const QByteArray& line : r.description)
        block << DescriptionPrefix + line;
    for (const QByteArray& line : r.highlights)
        block << HighlightPrefix + line;
    // Every entry is kept, however short its text.
    for (const OperationEntry& e : r.entries)
        block << EntryPrefix + e.date + '\t' + e.label + '\t' + e.amount;
    block << blocks::trailerOf(head);
    m_list.append(block);
}

int OperationBook::Numero() const
{
    // The same rule as the customer codes: 1 + the largest code, 10000 at least.
    return blocks::nextCode(m_list);
}

void OperationBook::reset()
{
    m_list.clear();
    m_count = 1;
    m_current = 0;
    LitOperation();
}

// ---------------------------------------------------------------- moves

void OperationBook::move(blocks::Direction direction)
{
    using blocks::Direction;
    if (direction == Direction::Last && m_count <= 1)
        return;
    EcritOperation();
    if (m_mode == 1) {
        m_current = operations::moveByType(m_list, m_current, m_count, direction, m_typeFilter);
    } else {
        switch (direction) {
        case Direction::Previous:
            m_current = std::max(0, m_current - 1);
            break;
        case Direction::Next:
            m_current = std::min(m_count - 1, m_current + 1);
            break;
        case Direction::First:
            m_current = 0;
            break;
        case Direction::Last:
            m_current = m_count - 1;
            break;
        }
    }
    LitOperation();
}

void OperationBook::Precedent()
{
    move(blocks::Direction::Previous);
}
void OperationBook::suivant()
{
    move(blocks::Direction::Next);
}
void OperationBook::Premier()
{
    move(blocks::Direction::First);
}
void OperationBook::Dernier()
{
    move(blocks::Direction::Last);
}

void OperationBook::Ajout()
{
    EcritOperation();
    if (m_count >= MaxOperations) {
        m_prompter.information(QStringLiteral("Le fichier est plein"));
        return;
    }
    // A line outside every block; the new operation's block comes with its
    // first write back.
    m_list.append(QByteArray(" "));
    m_current = m_count;
    ++m_count;
    LitOperation();
}

void OperationBook::Supprime()
{
    blocks::deleteBlock(m_list, blocks::header(m_current, Digits));
    m_flags.fileModified = true;
    Renum2(m_current);
    if (m_current > m_count - 1)
        m_current = m_count - 1;
    LitOperation();
}

void OperationBook::goTo(int number)
{
    if (number < 0 || number >= m_count)
        return;
    EcritOperation();
    m_current = number;
    LitOperation();
}

void OperationBook::setTypeFilter(const QByteArray& value)
{
    m_typeFilter = ansi::upper(value);
}

// ---------------------------------------------------------------- edits

void OperationBook::edit()
{
    m_flags.operationsChanged = true;
}

QByteArray* OperationBook::field(operation::Offset f)
{
    switch (f) {
    case operation::Code:
        return &m_shown.op_code;
    case operation::Type:
        return &m_shown.op_type;
    case operation::Summary:
        return &m_shown.summary;
    case operation::FixedCost:
        return &m_shown.fixed_cost;
    case operation::UnitCost:
        return &m_shown.unit_cost;
    default:
        return nullptr;
    }
}

void OperationBook::setText(operation::Offset f, const QByteArray& value)
{
    if (QByteArray* target = field(f)) {
        *target = fieldLine(value);
        edit();
    }
}

QByteArray OperationBook::text(operation::Offset f) const
{
    if (const QByteArray* source = const_cast<OperationBook*>(this)->field(f))
        return *source;
    return {};
}

void OperationBook::setStartDate(const QDate& date)
{
    if (date.isValid())
        m_shown.start_date = date;
    edit();
}

void OperationBook::setEndDate(const QDate& date)
{
    if (date.isValid())
        m_shown.end_date = date;
    edit();
}

void OperationBook::setUrgent(bool urgent)
{
    m_shown.urgent = urgent;
    edit();
}

void OperationBook::setDescription(const QList<QByteArray>& lines)
{
    m_shown.description.clear();
    for (const QByteArray& line : lines)
        m_shown.description << oneLine(line);
    edit();
}

void OperationBook::setHighlights(const QList<QByteArray>& lines)
{
    m_shown.highlights.clear();
    for (const QByteArray& line : lines)
        m_shown.highlights << oneLine(line);
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
    if (m_shown.entries.size() >= MaxTypedEntries)
        return false;
    m_shown.entries << OperationEntry{dates::format(date.isValid() ? date : m_clock.today()),
                                      oneCell(label), oneCell(money::twoDecimals(amount))};
    m_flags.fileModified = true;
    m_flags.operationsChanged = true;
    return true;
}

bool OperationBook::removeEntry(int index)
{
    if (index < 0 || index >= m_shown.entries.size())
        return false;
    m_shown.entries.removeAt(index);
    m_flags.fileModified = true;
    m_flags.operationsChanged = true;
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

bool OperationBook::Verif2()
{
    if (!integrity::damaged(m_list, Digits))
        return false;
    // No question: the user cannot decline the rebuild, only be warned.
    m_prompter.information(QStringLiteral(
        "Des fichiers ont été altérés\r\nVérifiez s'il n'y a pas eu perte de données"));
    m_count = integrity::rebuild(m_list, m_count, Digits);
    m_flags.fileModified = true;
    return true;
}

bool OperationBook::Doublons2()
{
    if (!integrity::removeDuplicates(m_list, m_count, Digits))
        return false;
    m_flags.fileModified = true;
    return true;
}

void OperationBook::Renum2(int deleted)
{
    integrity::renumber(m_list, deleted, m_count, Digits);
}

void OperationBook::Squize2()
{
    blocks::squize(m_list);
}

} // namespace tarvik
