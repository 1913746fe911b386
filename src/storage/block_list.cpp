#include "storage/block_list.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace tarvik {

namespace blocks {

QByteArray padNumber(int n, int digits)
{
    QByteArray text = QByteArray::number(n);
    if (text.size() >= digits)
        return text;
    return QByteArray(digits - text.size(), '0') + text;
}

QByteArray header(int n, int digits)
{
    return "<BLOC" + padNumber(n, digits) + ">";
}

QByteArray trailer(int n, int digits)
{
    return "</BLOC" + padNumber(n, digits) + ">";
}

QByteArray trailerOf(const QByteArray& header)
{
    QByteArray t = header;
    t.insert(1, '/');
    return t;
}

Marker readMarker(const QByteArray& line, int digits)
{
    Marker m;
    const qsizetype n = line.size();
    if (n < 5 || line.at(0) != '<')
        return m;
    const char* p = line.constData();
    qsizetype at = 1;
    if (p[1] == '/') {
        if (n < 6)
            return m;
        at = 2;
    }
    if (qstrnicmp(p + at, "BLOC", 4) != 0)
        return m;
    m.kind = at == 1 ? Marker::Header : Marker::Trailer;
    m.capitals = std::memcmp(p + at, "BLOC", 4) == 0;
    at += 4;

    if (digits > 0 && n >= at + digits) {
        int lead = 0;
        qsizetype i = at;
        for (; i < at + digits && p[i] >= '0' && p[i] <= '9'; ++i)
            lead = lead * 10 + (p[i] - '0');
        if (i == at + digits)
            m.lead = lead;
    }

    // The exact form: the digits, then ">" ending the line. More digits than
    // `digits` only for a number that needs them (no leading zero).
    const qsizetype width = n - at - 1;
    if (p[n - 1] != '>' || width < digits || width > 9 || (width > digits && p[at] == '0') ||
        width < 1)
        return m;
    int number = 0;
    for (qsizetype i = at; i < n - 1; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return m;
        number = number * 10 + (p[i] - '0');
    }
    m.number = number;
    return m;
}

std::optional<int> headerNumber(const QByteArray& line, int digits)
{
    const Marker m = readMarker(line, digits);
    if (m.kind != Marker::Header || m.lead < 0)
        return std::nullopt;
    return m.lead;
}

std::optional<int> trailerNumber(const QByteArray& line, int digits)
{
    const Marker m = readMarker(line, digits);
    if (m.kind != Marker::Trailer || m.lead < 0)
        return std::nullopt;
    return m.lead;
}

QByteArray fieldLine(const QByteArray& value)
{
    QByteArray line = value;
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    if ((line.size() >= 5 && qstrnicmp(line.constData(), "<BLOC", 5) == 0) ||
        (line.size() >= 6 && qstrnicmp(line.constData(), "</BLOC", 6) == 0))
        line.prepend(' ');
    return line;
}

bool sameLine(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && qstrnicmp(a.constData(), b.constData(), a.size()) == 0;
}

qsizetype find(const BlockList& list, const QByteArray& header, qsizetype from)
{
    const qsizetype n = list.size();
    for (qsizetype i = from; i < n; ++i) {
        const QByteArray& line = list.at(i);
        if (line.size() == header.size() && sameLine(line, header))
            return i;
    }
    return -1;
}

void eraseThrough(BlockList& list, qsizetype index, const QByteArray& trailer)
{
    qsizetype end = index;
    while (end < list.size()) {
        const bool last = sameLine(list.at(end), trailer);
        ++end;
        if (last)
            break;
    }
    list.remove(index, end - index);
}

qsizetype deleteBlock(BlockList& list, const QByteArray& header)
{
    const qsizetype at = find(list, header);
    if (at >= 0)
        eraseThrough(list, at, trailerOf(header));
    return at;
}

void replaceBlock(BlockList& list, const QList<QByteArray>& block)
{
    const QByteArray& head = block.first();
    const qsizetype at = find(list, head);
    if (at < 0) {
        list.append(block);
        return;
    }
    const QByteArray trail = trailerOf(head);
    qsizetype end = at;
    while (end < list.size()) {
        const bool last = sameLine(list.at(end), trail);
        ++end;
        if (last)
            break;
    }
    // Overwrite what the old block and the new one have in common, then
    // insert or erase only the difference: a long list is moved once at most.
    const qsizetype oldSize = end - at;
    const qsizetype common = std::min<qsizetype>(oldSize, block.size());
    for (qsizetype i = 0; i < common; ++i)
        list[at + i] = block.at(i);
    if (oldSize > block.size())
        list.remove(at + common, oldSize - common);
    else if (block.size() > oldSize) {
        list.insert(at + common, block.size() - oldSize, QByteArray());
        std::copy(block.begin() + common, block.end(), list.begin() + at + common);
    }
}

int countHeaders(const BlockList& list)
{
    int n = 0;
    for (const QByteArray& line : list)
        if (isHeader(line))
            ++n;
    return n;
}

static bool blank(const QByteArray& line)
{
    for (char c : line)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

void squize(BlockList& list)
{
    qsizetype drop = 0;
    while (list.size() - drop >= 3 && blank(list.at(drop)))
        ++drop;
    list.remove(0, drop);
}

BlockList splitLines(const QByteArray& data)
{
    BlockList lines;
    qsizetype end = data.indexOf('\0');
    if (end < 0)
        end = data.size();
    lines.reserve(end / 16 + 1);
    const char* p = data.constData();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const char c = p[i];
        if (c == '\r' || c == '\n') {
            lines.append(QByteArray(p + start, i - start));
            if (c == '\r' && i + 1 < end && p[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines.append(QByteArray(p + start, end - start));
    return lines;
}

QByteArray joinLines(const BlockList& list)
{
    qsizetype total = 0;
    for (const QByteArray& line : list)
        total += line.size() + 2;
    // Copied straight into a buffer of the final size: appending line by line
    // costs more than writing the file.
    QByteArray out(total, Qt::Uninitialized);
    char* p = out.data();
    for (const QByteArray& line : list) {
        std::memcpy(p, line.constData(), size_t(line.size()));
        p += line.size();
        *p++ = '\r';
        *p++ = '\n';
    }
    return out;
}

bool holdsMoreThanBlanks(const QString& path)
{
    // Reading lines would stop at a NUL byte, which a binary file may start with.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char buffer[1 << 14];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n <= 0)
            return false;
        for (qint64 i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                return true;
        }
    }
}

BlockList loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TarvikError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                              .arg(QFileInfo(path).fileName(), file.errorString()));
    return splitLines(file.readAll());
}

void saveFile(const QString& path, const BlockList& list)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TarvikError(
            QStringLiteral("Impossible de créer le fichier %1 : %2").arg(path, file.errorString()));
    const QByteArray data = joinLines(list);
    if (file.write(data) != data.size() || !file.commit())
        throw TarvikError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, file.errorString()));
}

int nextCode(const BlockList& list)
{
    long long best = 10000;
    const qsizetype n = list.size();
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (!blocks::isHeader(list.at(i)))
            continue;
        bool ok = false;
        const long long code = list.at(i + 1).trimmed().toLongLong(&ok);
        if (ok && code > best && code < 2000000000)
            best = code;
    }
    return int(best + 1);
}

} // namespace blocks

} // namespace tarvik
