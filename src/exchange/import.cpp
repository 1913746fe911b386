#include "exchange/import.h"

#include "contacts/contact_record.h"
#include "exchange/uid_store.h"
#include "exchange/xbase.h"
#include "platform/errors.h"
#include "platform/prompter.h"
#include "storage/text_helpers.h"

#include <QFile>
#include <QFileInfo>

namespace tarvik {

namespace exchange {

namespace {

constexpr int TextFields = 7;  // name .. fax
constexpr int TableFields = 5; // name .. town
constexpr int TableGap = 3;    // empty lines after each dBase block, outside any block

// A value becomes one line of the contact file: a byte that ends a line there
// (CR, LF, NUL) would shift every later field of the record when the file is
// read back, and a value that reads as a block marker would be taken for a
// record of its own.
QByteArray safeLine(QByteArray value)
{
    for (char& c : value)
        if (c == '\0' || c == '\r' || c == '\n')
            c = ' ';
    if (value.size() >= 5 &&
        (qstrnicmp(value.constData(), "<BLOC", 5) == 0 ||
         (value.size() >= 6 && qstrnicmp(value.constData(), "</BLOC", 6) == 0)))
        value.prepend(' ');
    return value;
}

// Appends the imported records to the list, numbering them after the record
// count and giving consecutive customer codes.
class Appender
{
public:
    Appender(BlockList& list, int& count, int& current, Prompter& prompter, ImportOutcome& out)
        : m_list(list), m_count(count), m_current(current), m_prompter(prompter), m_out(out),
          m_newFile(count == 1 && blocks::countHeaders(list) == 0)
    {
    }

    // False once the record limit stops the import (the user is told).
    bool roomLeft()
    {
        if (m_count <= ImportRecordLimit)
            return true;
        if (!m_out.truncated)
            m_prompter.information(QStringLiteral("Trop de lignes, le fichier a été tronqué"));
        m_out.truncated = true;
        return false;
    }

    // One record: `slotCount` values from the name line on, the rest of the 28
    // fixed lines empty, the values beyond the slotCount as free-text lines.
    // Returns the index of the new record's header line.
    qsizetype append(const QList<QByteArray>& values, int slotCount, int gapAfter,
                     bool counted = true)
    {
        if (m_newFile) {
            // A new file's record 0 has no block yet: the first import takes its number.
            m_count = 0;
            m_newFile = false;
        }
        if (m_nextCode == 0)
            m_nextCode = contact::nextCustomerCode(m_list);
        const int number = m_count;
        ++m_count;
        m_current = number;

        const qsizetype headerIndex = m_list.size();
        m_list.append(blocks::header(number, blocks::ContactDigits));
        m_list.append(QByteArray::number(m_nextCode++));
        for (int i = 0; i < slotCount; ++i)
            m_list.append(i < values.size() ? safeLine(values.at(i)) : QByteArray());
        for (int line = contact::Name + slotCount; line <= contact::FixedLines; ++line)
            m_list.append(QByteArray());
        for (qsizetype i = slotCount; i < values.size(); ++i)
            m_list.append(contact::FreeTextPrefix + safeLine(values.at(i)));
        m_list.append(blocks::trailer(number, blocks::ContactDigits));
        for (int i = 0; i < gapAfter; ++i)
            m_list.append(QByteArray());

        ++m_out.imported;
        if (counted && values.size() != slotCount)
            ++m_out.irregular;
        return headerIndex;
    }

private:
    BlockList& m_list;
    int& m_count;
    int& m_current;
    Prompter& m_prompter;
    ImportOutcome& m_out;
    bool m_newFile;
    int m_nextCode = 0;
};

// Calls f(line) for each line of the input; CR LF, lone CR and lone LF end a
// line, and an end-of-file mark (0x1A) left by DOS programs is no line. Stops
// when f returns false. Returns false on a read error.
template <typename F> bool forEachLine(QIODevice& in, F&& f)
{
    QByteArray pending;
    bool afterCR = false;
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        const char* p = chunk.constData();
        qint64 start = 0;
        for (qint64 i = 0; i < n; ++i) {
            const char c = p[i];
            if (c == '\n' && afterCR) {
                afterCR = false;
                start = i + 1;
                continue;
            }
            afterCR = false;
            if (c == '\r' || c == '\n') {
                pending.append(p + start, i - start);
                if (!f(pending))
                    return true;
                pending.clear();
                afterCR = c == '\r';
                start = i + 1;
            }
        }
        pending.append(p + start, n - start);
    }
    while (pending.endsWith('\x1A'))
        pending.chop(1);
    if (!pending.isEmpty())
        f(pending);
    return true;
}

QString plural(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n > 1 ? many : one);
}

} // namespace

ImportOutcome& ImportOutcome::operator+=(const ImportOutcome& o)
{
    imported += o.imported;
    skippedDeleted += o.skippedDeleted;
    irregular += o.irregular;
    truncated = truncated || o.truncated;
    replacedFields += o.replacedFields;
    skipped += o.skipped;
    headered = headered || o.headered;
    ran = ran || o.ran;
    if (!o.error.isEmpty())
        error = error.isEmpty() ? o.error : error + QLatin1Char('\n') + o.error;
    return *this;
}

QStringList importFilters()
{
    return {QStringLiteral("Ficher texte+tabulations (*.txt)"),
            QStringLiteral("Fichier texte+point-virgule (*.csv)"),
            QStringLiteral("Fichier Dbase (*.dbf)"), QStringLiteral("vCard (*.vcf)"),
            QStringLiteral("CSV avec en-têtes (*.csv)")};
}

ImportFormat importFormat(int filterIndex)
{
    switch (filterIndex) {
    case 4:
        return ImportFormat::Vcard;
    case 5:
        return ImportFormat::Csv;
    default:
        return ImportFormat::ByName;
    }
}

QString importDefaultSuffix()
{
    return QStringLiteral("txt");
}

ImportOutcome importText(BlockList& list, int& recordCount, int& currentRecord, QIODevice& input,
                         char separator, Prompter& prompter)
{
    ImportOutcome out;
    out.ran = true;
    Appender appender(list, recordCount, currentRecord, prompter, out);
    const bool read = forEachLine(input, [&](const QByteArray& line) {
        if (!appender.roomLeft())
            return false;
        appender.append(line.split(separator), TextFields, 0);
        return true;
    });
    if (!read)
        out.error = QStringLiteral("Erreur de lecture du fichier : %1").arg(input.errorString());
    return out;
}

ImportOutcome importTable(BlockList& list, int& recordCount, int& currentRecord,
                          const QString& path, Prompter& prompter)
{
    ImportOutcome out;
    out.ran = true;
    Appender appender(list, recordCount, currentRecord, prompter, out);
    try {
        TXBase table;
        table.setFilename(path);
        table.setActive(true);
        table.First(); // "Data File Not Open" when the table could not be opened
        if (table.RecordCount() == 0)
            return out;
        QList<int> columns;
        for (int n = 1; n <= table.FieldCount(); ++n)
            if (table.fieldType(n) != TXBase::Memo)
                columns.append(n);
        QList<QByteArray> values;
        for (;;) {
            if (table.Deleted()) {
                ++out.skippedDeleted;
            } else {
                if (!appender.roomLeft())
                    break;
                values.clear();
                for (int n : columns)
                    values.append(text::cleanImported(table.fieldValue(n)));
                appender.append(values, TableFields, TableGap);
            }
            if (table.Eof())
                break;
            const int before = table.Recno();
            table.Next();
            if (table.Recno() == before)
                break;
        }
    } catch (const EXBaseException& e) {
        out.error = e.text();
    }
    return out;
}

ImportOutcome importContacts(BlockList& list, int& recordCount, int& currentRecord,
                             const QString& path, Prompter& prompter)
{
    if (!QFileInfo::exists(path))
        throw TarvikError(QStringLiteral("Le ficher ") + path + QStringLiteral("n'existe pas"));

    ImportOutcome out;
    const QString lower = path.toLower();
    auto text = [&](char separator) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TarvikError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                                  .arg(path, file.errorString()));
        out += importText(list, recordCount, currentRecord, file, separator, prompter);
    };
    if (lower.contains(QLatin1String(".txt")))
        text('\t');
    if (lower.contains(QLatin1String(".csv")))
        text(';');
    if (lower.contains(QLatin1String(".dbf")))
        out += importTable(list, recordCount, currentRecord, path, prompter);
    return out;
}

ImportOutcome appendForeign(BlockList& list, int& recordCount, int& currentRecord,
                            const ForeignRead& read, Prompter& prompter, UidStore* uids)
{
    ImportOutcome out;
    out.ran = true;
    out.headered = true;
    out.skipped = read.skipped;
    out.replacedFields = read.replacedFields;
    Appender appender(list, recordCount, currentRecord, prompter, out);
    constexpr int Slots = contact::FixedLines - contact::Name + 1;
    QList<QByteArray> values;
    for (const ForeignContact& c : read.contacts) {
        if (!appender.roomLeft())
            break;
        values = c.fields.mid(0, Slots);
        while (values.size() < Slots)
            values.append(QByteArray());
        values += c.freeText;
        const qsizetype header = appender.append(values, Slots, 0, false);
        if (uids && !c.uid.isEmpty())
            uids->setUid(contact::field(list, header, contact::Code), c.uid);
    }
    return out;
}

QString importSummary(const ImportOutcome& o)
{
    QStringList lines;
    if (!o.error.isEmpty())
        lines << o.error;
    if (!o.ran) {
        lines << QStringLiteral("Aucune fiche importée : le nom du fichier ne contient ni .txt, "
                                "ni .csv, ni .dbf.");
        return lines.join(QLatin1Char('\n'));
    }
    if (o.headered && o.replacedFields > 0)
        lines << QStringLiteral("%1 fiche(s) importée(s), %2 champ(s) avec des caractères "
                                "remplacés par ?")
                     .arg(o.imported)
                     .arg(o.replacedFields);
    else
        lines << plural(o.imported, "fiche importée.", "fiches importées.");
    if (!o.skipped.isEmpty())
        lines << QStringLiteral("Passé(s) :") << o.skipped;
    if (o.skippedDeleted > 0)
        lines << plural(o.skippedDeleted, "fiche marquée supprimée dans la table non importée.",
                        "fiches marquées supprimées dans la table non importées.");
    if (o.irregular > 0)
        lines << plural(o.irregular, "ligne irrégulière", "lignes irrégulières") +
                     QStringLiteral(" : les champs manquants sont laissés vides, les champs en "
                                    "trop sont placés dans le texte libre.");
    if (o.truncated)
        lines << QStringLiteral("Trop de lignes, le fichier a été tronqué");
    return lines.join(QLatin1Char('\n'));
}

} // namespace exchange

} // namespace tarvik
