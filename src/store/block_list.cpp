#include "store/block_list.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

static std::optional<int> numberAt(const QByteArray& line, qsizetype from, int digits)
{
    if (line.size() < from + digits)
        return std::nullopt;
    int n = 0;
    for (qsizetype i = from; i < from + digits; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::optional<int> headerNumber(const QByteArray& line, int digits)
{
    return numberAt(line, 5, digits);
}

std::optional<int> trailerNumber(const QByteArray& line, int digits)
{
    return numberAt(line, 6, digits);
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
    QByteArray out;
    out.reserve(total);
    for (const QByteArray& line : list) {
        out += line;
        out += "\r\n";
    }
    return out;
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

} // namespace blocks
