// The spreadsheet reader with headers on arbitrary bytes: no crash; every row
// it gives maps to contact fields that are safe lines of the contact file; a
// table written by the row writer reads back to the same cells.
#include "exchange/csv_contacts.h"
#include "exchange/csv_table.h"
#include "fuzz_support.h"
#include "storage/block_list.h"

#include <cstdint>

using namespace tarvik;
using namespace tarvik::exchange;

namespace {

// Answers every unknown column with the next choice in turn, so that every
// kind of answer is tried.
class TurnMapper : public ColumnMapper
{
public:
    std::optional<QList<int>> mapColumns(const QList<UnknownColumn>& columns) override
    {
        QList<int> choices;
        for (qsizetype i = 0; i < columns.size(); ++i)
            choices.append(i % 3 == 0 ? ColumnChoice::FreeText : int(2 + i % 27));
        return choices;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const csv::Table table = csv::read(bytes);
    FUZZ_CHECK(table.lines.size() == table.rows.size());

    // Written again with its separator, the cells read back the same (the
    // separator found may differ: only rows with several cells tell it).
    QString text;
    bool plain = true;
    for (const QStringList& row : table.rows) {
        text += csv::row(row, table.separator);
        for (const QString& cell : row)
            // A lone surrogate (from UTF-16 text cut short) has no UTF-8
            // form: it reads back as a replacement character.
            if (cell.contains(u'\r') || cell.contains(QChar(0xFEFF)) ||
                cell.contains(QChar(0xFFFD)) || !cell.isValidUtf16())
                plain = false;
    }
    if (plain) {
        const csv::Table again = csv::read(text.toUtf8());
        if (again.separator == table.separator)
            FUZZ_CHECK(again.rows == table.rows);
    }

    TurnMapper mapper;
    const ForeignRead read = readCsv(bytes, &mapper);
    FUZZ_CHECK(read.contacts.size() == std::max<qsizetype>(0, table.rows.size() - 1));
    for (const ForeignContact& c : read.contacts) {
        FUZZ_CHECK(c.fields.size() == 27);
        for (const QByteArray& f : c.fields)
            FUZZ_CHECK(!f.contains('\r') && !f.contains('\n') && blocks::fieldLine(f) == f);
        for (const QByteArray& line : c.freeText)
            FUZZ_CHECK(!line.contains('\r') && !line.contains('\n') && line.size() <= 255);
    }
    (void)readCsv(bytes, nullptr);
    return 0;
}
