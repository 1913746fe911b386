#include "settings/settings.h"

#include "storage/ansi.h"
#include "storage/block_list.h"

#include <QDir>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tarvik {

namespace settings {

namespace {

// The files may have been copied from a system whose file names ignore letter
// case ("TARVIK.INI", "Tarvik.Cbx"): the exact name wins, otherwise the first
// name of the folder that differs from it by case only.
QString existingPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir dir = info.absoluteDir();
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return {};
}

// Blanks at the start of a line, as the reader of numbers skips them.
qsizetype skipBlanks(const QByteArray& line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return i;
}

// The integer at the start of the line; 0 when there is none or it does not
// fit an int.
int readInt(const QByteArray& line)
{
    qsizetype i = skipBlanks(line);
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long value = 0;
    bool any = false;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return 0;
        any = true;
    }
    if (!any)
        return 0;
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(value);
}

// The real number at the start of the line; 0 when there is none. The line
// is written with a decimal point whatever the machine's locale.
double readReal(const QByteArray& line)
{
    const QByteArray text = line.mid(skipBlanks(line));
    // Only plain decimal notation is accepted, never "nan", "inf" or a
    // hexadecimal form, which the file never holds.
    if (text.isEmpty() || !(QByteArrayView("+-.0123456789").contains(text[0])))
        return 0.0;
    const char* first = text.constData();
    const char* last = first + text.size();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-')
        ++first;
    if (first == last || !(*first == '.' || (*first >= '0' && *first <= '9')))
        return 0.0;
    double value = 0.0;
    const auto read = std::from_chars(first, last, value, std::chars_format::general);
    if (read.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

} // namespace

QByteArray formatReal(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    QByteArray text(buffer, written.ptr - buffer);
    // to_chars writes at least two exponent digits and a small "e"; the file
    // holds four digits after a capital "E".
    const qsizetype e = text.indexOf('e');
    const char sign = text[e + 1];
    QByteArray digits = text.mid(e + 2);
    while (digits.size() < 4)
        digits.prepend('0');
    QByteArray mantissa = text.left(e);
    if (!mantissa.startsWith('-'))
        mantissa.prepend(' ');
    return mantissa + 'E' + sign + digits;
}

IniValues loadIni(const QString& path)
{
    IniValues values;
    const QString found = existingPath(path);
    if (found.isEmpty())
        return values;
    BlockList lines = blocks::loadFile(found);
    while (lines.size() < IniLineCount)
        lines.append(QByteArray());

    values.kept1 = readReal(lines[0]);
    values.lastFile = ansi::toUnicode(lines[1]);
    values.autoOpen = readInt(lines[2]);
    values.reservedPage = readInt(lines[3]);
    values.envelopeOrientation = readInt(lines[4]);
    values.envelopeOffset = readInt(lines[5]);
    for (int i = 0; i < 4; ++i)
        values.kept7to10[i] = readInt(lines[6 + i]);
    values.selectionMode = readInt(lines[10]);
    values.postcodeFilter = lines[11];
    values.townFilter = lines[12];
    return values;
}

BlockList iniLines(const IniValues& values)
{
    BlockList lines;
    lines.reserve(IniLineCount);
    lines.append(formatReal(values.kept1));
    // A path character that the code page cannot hold becomes '?': the file
    // is then simply not found at the next start, as a moved file would be.
    lines.append(ansi::fromUnicode(values.lastFile));
    lines.append(QByteArray::number(values.autoOpen));
    lines.append(QByteArray::number(values.reservedPage));
    lines.append(QByteArray::number(values.envelopeOrientation));
    lines.append(QByteArray::number(values.envelopeOffset));
    for (int v : values.kept7to10)
        lines.append(QByteArray::number(v));
    lines.append(QByteArray::number(values.selectionMode));
    lines.append(values.postcodeFilter);
    lines.append(values.townFilter);
    return lines;
}

void saveIni(const QString& path, const IniValues& values)
{
    blocks::saveFile(path, iniLines(values));
}

CompanyLines loadCompany(const QString& path)
{
    CompanyLines company;
    const QString found = existingPath(path);
    if (found.isEmpty())
        return company;
    const BlockList lines = blocks::loadFile(found);
    for (qsizetype i = 0; i < lines.size() && i < qsizetype(company.size()); ++i)
        company[i] = lines[i];
    return company;
}

void saveCompany(const QString& path, const CompanyLines& lines)
{
    blocks::saveFile(path, BlockList(lines.begin(), lines.end()));
}

QByteArray sectionHeader(PickList list)
{
    static const char* const headers[PickListCount] = {
        "[FONCTION]",  "[CONTACT]",      "[INTERLOCUTEUR]", "[PRODUIT]",   "[REPONSE]",
        "[ARGUMENTS]", "[APPRECIATION]", "[RELANCE]",       "[OPERATION]",
    };
    if (list < 0 || list >= PickListCount)
        return {};
    return headers[list];
}

namespace {
int sectionOf(const QByteArray& line)
{
    for (int k = 0; k < PickListCount; ++k) {
        if (line == sectionHeader(PickList(k)))
            return k;
    }
    return -1;
}
} // namespace

void readPickLists(const BlockList& lines, PickLists& lists)
{
    int current = -1;
    for (const QByteArray& line : lines) {
        if (const int section = sectionOf(line); section >= 0)
            current = section;
        else if (current >= 0)
            lists[current].append(line);
    }
}

BlockList pickListLines(const PickLists& lists)
{
    BlockList lines;
    for (int k = 0; k < PickListCount; ++k) {
        lines.append(sectionHeader(PickList(k)));
        lines.append(lists[k]);
    }
    return lines;
}

void loadPickLists(const QString& path, PickLists& lists)
{
    const QString found = existingPath(path);
    if (found.isEmpty())
        return;
    readPickLists(blocks::loadFile(found), lists);
}

void savePickLists(const QString& path, const PickLists& lists)
{
    blocks::saveFile(path, pickListLines(lists));
}

bool isSectionHeader(const QByteArray& line)
{
    return sectionOf(line) >= 0;
}

QString iniPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Tarvik.ini"));
}
QString companyPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Tarvik.soc"));
}
// One name for reading and writing, so that the file written at exit is the
// one read at the next start.
QString pickListPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Tarvik.cbx"));
}

} // namespace settings

} // namespace tarvik
