#include "storage/block_list.h"

#include "platform/errors.h"
#include "storage/block_index.h"
#include "storage/large_memory.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
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

QByteArray trailerOf(QByteArrayView header)
{
    QByteArray t = header.toByteArray();
    t.insert(1, '/');
    return t;
}

Marker readMarker(QByteArrayView line, int digits)
{
    Marker m;
    const qsizetype n = line.size();
    if (n < 5 || line.at(0) != '<')
        return m;
    const char* p = line.data();
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

std::optional<int> headerNumber(QByteArrayView line, int digits)
{
    const Marker m = readMarker(line, digits);
    if (m.kind != Marker::Header || m.lead < 0)
        return std::nullopt;
    return m.lead;
}

std::optional<int> trailerNumber(QByteArrayView line, int digits)
{
    const Marker m = readMarker(line, digits);
    if (m.kind != Marker::Trailer || m.lead < 0)
        return std::nullopt;
    return m.lead;
}

QByteArray fieldLine(QByteArrayView value)
{
    QByteArray line = value.toByteArray();
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    if ((line.size() >= 5 && qstrnicmp(line.constData(), "<BLOC", 5) == 0) ||
        (line.size() >= 6 && qstrnicmp(line.constData(), "</BLOC", 6) == 0))
        line.prepend(' ');
    return line;
}

bool sameLine(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

// Headers and trailers begin with "<": a search for one visits the lines the
// store lists as beginning so, not the whole list.
template <typename F>
static qsizetype firstMarkerFrom(const BlockList& list, qsizetype from, F&& is)
{
    const QList<qsizetype>& markers = list.markerLines();
    for (auto it = std::lower_bound(markers.begin(), markers.end(), from); it != markers.end();
         ++it)
        if (is(list.view(*it)))
            return *it;
    return -1;
}

qsizetype find(const BlockList& list, QByteArrayView header, qsizetype from)
{
    // A header in the form the program writes is looked up in the index kept
    // with the list, when there is one: the same line, without the scan. No
    // index is built for it, as the lookups between edits (an import, say)
    // would then build one each.
    if (from <= 0 && header.size() > 6) {
        const int digits = int(header.size()) - 6;
        if (const BlockIndex* index = BlockIndex::kept(list, digits)) {
            if (const Marker m = readMarker(header, digits);
                m.kind == Marker::Header && m.number >= 0) {
                const std::optional<BlockSpan> span = index->find(m.number);
                return span ? span->first : -1;
            }
        }
    }
    const auto equal = [header](QByteArrayView line) { return sameLine(line, header); };
    if (header.startsWith('<'))
        return firstMarkerFrom(list, from, equal);
    for (qsizetype i = std::max<qsizetype>(from, 0); i < list.size(); ++i)
        if (equal(list.view(i)))
            return i;
    return -1;
}

void eraseThrough(BlockList& list, qsizetype index, QByteArrayView trailer)
{
    // The line at `index` goes whatever it holds; the deletion stops after
    // the first line equal to the trailer.
    qsizetype last = -1;
    if (sameLine(list.view(index), trailer))
        last = index;
    else if (trailer.startsWith('<'))
        last = firstMarkerFrom(list, index + 1,
                               [trailer](QByteArrayView line) { return sameLine(line, trailer); });
    else
        for (qsizetype i = index + 1; i < list.size() && last < 0; ++i)
            if (sameLine(list.view(i), trailer))
                last = i;
    const qsizetype end = last < 0 ? list.size() : last + 1;
    list.remove(index, end - index);
}

qsizetype deleteBlock(BlockList& list, QByteArrayView header)
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
    qsizetype end =
        firstMarkerFrom(list, at + 1, [&](QByteArrayView l) { return sameLine(l, trail); });
    end = end < 0 ? list.size() : end + 1;
    // Overwrite what the old block and the new one have in common, then
    // insert or erase only the difference: a long list is moved once at most.
    const qsizetype oldSize = end - at;
    const qsizetype common = std::min<qsizetype>(oldSize, block.size());
    for (qsizetype i = 0; i < common; ++i)
        if (list.view(at + i) != block.at(i))
            list.replace(at + i, block.at(i));
    if (oldSize > block.size())
        list.remove(at + common, oldSize - common);
    else if (block.size() > oldSize)
        list.insert(at + common, BlockList(block.mid(common)));
}

int countHeaders(const BlockList& list)
{
    // The index lists the headers in list order, whatever its digits.
    if (const BlockIndex* index = BlockIndex::keptAny(list))
        return int(index->inListOrder().size());
    int n = 0;
    for (const qsizetype i : list.markerLines())
        if (isHeader(list.view(i)))
            ++n;
    return n;
}

static bool blank(QByteArrayView line)
{
    for (char c : line)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

void squize(BlockList& list)
{
    qsizetype drop = 0;
    while (list.size() - drop >= 3 && blank(list.view(drop)))
        ++drop;
    list.remove(0, drop);
}

BlockList splitLines(const QByteArray& data)
{
    return LineStore::fromBytes(data);
}

QByteArray joinLines(const BlockList& list)
{
    return list.joined();
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
    return splitLines(memory::readAll(file));
}

void saveFile(const QString& path, const BlockList& list)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TarvikError(
            QStringLiteral("Impossible de créer le fichier %1 : %2").arg(path, file.errorString()));
    // The runs of the list's buffers go out as they stand: a file loaded and
    // saved unchanged is one write of the buffer it was read into.
    bool written = true;
    list.forEachRun(
        [&](const char* bytes, qsizetype n) { written = written && file.write(bytes, n) == n; });
    if (!written || !file.commit())
        throw TarvikError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, file.errorString()));
}

int nextCode(const BlockList& list)
{
    long long best = 10000;
    const qsizetype n = list.size();
    for (const qsizetype i : list.markerLines()) {
        if (i + 1 >= n || !blocks::isHeader(list.view(i)))
            continue;
        bool ok = false;
        const long long code = list.view(i + 1).trimmed().toLongLong(&ok);
        if (ok && code > best && code < 2000000000)
            best = code;
    }
    return int(best + 1);
}

} // namespace blocks

} // namespace tarvik
