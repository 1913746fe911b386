#include "storage/line_store.h"

#include "storage/large_memory.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvik {

namespace {

// Lines written after the load go to chunks of this size; a longer line gets
// a chunk of its own.
constexpr qsizetype ArenaChunk = qsizetype(64) * 1024;
constexpr qsizetype MaxChunk = qsizetype(8) * 1024 * 1024;

// `to` becomes a copy of `from` in the storage it already holds when that is
// its own and large enough; else in new storage with some room to grow, so
// that the next copies find it large enough.
template <typename T> void copyInto(QList<T>& to, const QList<T>& from)
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (!to.isDetached() || to.capacity() < from.size()) {
        QList<T> fresh;
        fresh.reserve(from.size() + from.size() / 8 + 16);
        memory::adviseHugePages(fresh);
        to = std::move(fresh);
    }
    // Both keep the storage: clear() truncates a table of its own, and
    // append() copies into the room there is.
    to.clear();
    to.append(from);
}

// How many bytes of p[0 .. n) are `c`.
qsizetype countOf(char c, const char* p, qsizetype n)
{
    qsizetype count = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Each byte of `run` counts the hits in its column, for at most 255
    // rounds; their sum then goes to `total`.
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i zero = _mm_setzero_si128();
    __m128i total = zero;
    while (i + 16 <= n) {
        __m128i run = zero;
        const qsizetype rounds = std::min<qsizetype>(255, (n - i) / 16);
        for (qsizetype r = 0; r < rounds; ++r, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            run = _mm_sub_epi8(run, _mm_cmpeq_epi8(v, wanted));
        }
        total = _mm_add_epi64(total, _mm_sad_epu8(run, zero));
    }
    count =
        qsizetype(_mm_cvtsi128_si64(total) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total)));
#endif
    for (; i < n; ++i)
        count += p[i] == c ? 1 : 0;
    return count;
}

} // namespace

void LineStore::edited()
{
    // One counter for every store of the process: a version is never given
    // twice, so that two stores edited apart never look alike.
    static std::atomic<quint64> last{0};
    m_version = last.fetch_add(1, std::memory_order_relaxed) + 1;
}

void LineStore::assignUnshared(const LineStore& other)
{
    if (&other == this) {
        m_lines.detach();
        m_markers.detach();
        return;
    }
    copyInto(m_lines, other.m_lines);
    copyInto(m_markers, other.m_markers);
    m_chunks = other.m_chunks;
    m_long = other.m_long;
    m_dropped = other.m_dropped;
    m_capacity = other.m_capacity;
    m_version = other.m_version;
    m_index = other.m_index;
    m_indexDigits = other.m_indexDigits;
}

LineStore::LineStore(std::initializer_list<QByteArrayView> lines)
{
    m_lines.reserve(qsizetype(lines.size()));
    for (QByteArrayView line : lines)
        append(line);
}

LineStore::LineStore(const QList<QByteArray>& lines)
{
    append(lines);
}

LineStore::Entry LineStore::entryOf(QByteArrayView line, quint64 address, bool endsWithCrLf)
{
    const auto n = quint64(line.size());
    const quint64 crlf = endsWithCrLf ? EndsWithCrLf : 0;
    if (n < LongLength)
        return address << LengthBits | crlf | n;
    m_long.insert(address, line.size());
    return address << LengthBits | crlf | LongLength;
}

qsizetype LineStore::longLength(Entry e) const
{
    return m_long.value(e >> LengthBits);
}

const LineStore::Chunk& LineStore::chunkOf(quint64 address) const
{
    if (m_chunks.size() == 1 || address < m_chunks.at(1).start)
        return m_chunks.at(0);
    const auto it = std::upper_bound(m_chunks.begin(), m_chunks.end(), address,
                                     [](quint64 a, const Chunk& c) { return a < c.start; });
    return *(it - 1);
}

const char* LineStore::pointerAt(quint64 address) const
{
    const Chunk& chunk = chunkOf(address);
    return chunk.bytes.constData() + (address - chunk.start);
}

QByteArrayView LineStore::view(qsizetype i) const
{
    const Entry e = m_lines.at(i);
    const qsizetype n = lengthOf(e);
    if (n == 0)
        return {};
    return {pointerAt(e >> LengthBits), n};
}

char LineStore::firstByte(qsizetype i) const
{
    const QByteArrayView v = view(i);
    return v.isEmpty() ? '\0' : v.front();
}

// Copies `line` into the arena, followed by CR LF so that lines written one
// after another can be saved as one run.
LineStore::Entry LineStore::store(QByteArrayView line)
{
    const qsizetype need = line.size() + 2;
    Chunk* tail = m_chunks.isEmpty() ? nullptr : &m_chunks.last();
    // A chunk shared with a copy of the store is left to it: writing behind
    // its last byte would detach (copy) it.
    if (!tail || !tail->arena || !tail->bytes.isDetached() ||
        tail->bytes.size() + need > tail->bytes.capacity()) {
        // One address left free behind every chunk: lines of two chunks
        // never look as if they followed on.
        const quint64 start =
            tail ? tail->start + quint64(std::max(tail->bytes.capacity(), tail->bytes.size())) + 1
                 : 0;
        Chunk chunk;
        chunk.start = start;
        chunk.arena = true;
        // Chunks grow with the store, so that a long session of edits on a
        // large file keeps few of them to look a line up in.
        chunk.bytes.reserve(std::max({ArenaChunk, need, std::min(m_capacity / 16, MaxChunk)}));
        m_capacity += chunk.bytes.capacity();
        m_chunks.append(std::move(chunk));
        tail = &m_chunks.last();
    }
    const quint64 address = tail->start + quint64(tail->bytes.size());
    tail->bytes.append(line.data(), line.size());
    tail->bytes.append("\r\n", 2);
    return entryOf(line, address, true);
}

LineStore LineStore::fromBytes(const QByteArray& data)
{
    LineStore s;
    s.edited();
    qsizetype end = data.size();
    if (const void* nul = std::memchr(data.constData(), 0, size_t(end)))
        end = static_cast<const char*>(nul) - data.constData();
    if (end == 0)
        return s;
    // Bytes that the array does not own (raw data) are copied once, so that
    // the store never outlives them.
    QByteArray own = data;
    if (!own.data_ptr().d_ptr())
        own = QByteArray(data.constData(), data.size());
    s.m_chunks.append(Chunk{0, own, false});
    s.m_capacity = own.capacity();
    // The table is sized once from a count of the LFs (one line each, CR LF
    // or not), so that it never moves while it fills; only a file of lone
    // CRs makes it grow.
    s.m_lines.reserve(countOf('\n', own.constData(), end) + 1);
    memory::adviseHugePages(s.m_lines);
    s.m_markers.reserve(end / 256 + 16);

    const char* p = own.constData();
    qsizetype start = 0;
    qsizetype skip = -1; // the LF of a CR LF whose CR ended the line
    auto hit = [&](qsizetype at) {
        if (at == skip)
            return;
        if (at > start && p[start] == '<')
            s.m_markers.append(s.m_lines.size());
        // Empty lines keep their place too, so that saving finds the file's
        // lines still one after another.
        const bool crlf = p[at] == '\r' && at + 1 < end && p[at + 1] == '\n';
        s.m_lines.append(s.entryOf({p + start, at - start}, quint64(start), crlf));
        if (crlf)
            skip = at + 1;
        start = at + 1 + (skip == at + 1 ? 1 : 0);
    };
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a mask of the CR and LF among them.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= end; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        auto mask =
            unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        while (mask) {
            hit(i + __builtin_ctz(mask));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < end; ++i)
        if (p[i] == '\r' || p[i] == '\n')
            hit(i);
    if (start < end) {
        if (p[start] == '<')
            s.m_markers.append(s.m_lines.size());
        s.m_lines.append(s.entryOf({p + start, end - start}, quint64(start), false));
    }
    if (s.m_lines.capacity() > s.m_lines.size() + s.m_lines.size() / 4)
        s.m_lines.squeeze();
    return s;
}

// Keeps the marker list in step with an edit: the markers at or behind
// `from` move by `shift` lines, then the n lines from `from` on that begin
// with "<" are added.
void LineStore::noteMarkers(qsizetype from, qsizetype n, qsizetype shift)
{
    // Lines added behind every marker, as a list written from its start
    // adds them: the new markers go at the end, with nothing to move.
    if (m_markers.isEmpty() || m_markers.last() < from) {
        for (qsizetype i = from; i < from + n; ++i)
            if (firstByte(i) == '<')
                m_markers.append(i);
        return;
    }
    auto it = std::lower_bound(m_markers.begin(), m_markers.end(), from);
    const qsizetype at = it - m_markers.begin();
    if (shift != 0)
        for (auto k = it; k != m_markers.end(); ++k)
            *k += shift;
    QList<qsizetype> added;
    for (qsizetype i = from; i < from + n; ++i)
        if (firstByte(i) == '<')
            added.append(i);
    if (added.isEmpty())
        return;
    m_markers.insert(at, added.size(), 0);
    std::copy(added.begin(), added.end(), m_markers.begin() + at);
}

bool LineStore::sharesBuffersOf(const LineStore& other) const
{
    if (m_chunks.size() < other.m_chunks.size())
        return false;
    for (qsizetype k = 0; k < other.m_chunks.size(); ++k)
        if (m_chunks.at(k).start != other.m_chunks.at(k).start ||
            m_chunks.at(k).bytes.constData() != other.m_chunks.at(k).bytes.constData())
            return false;
    return true;
}

// Counts the bytes of lines i .. i + n - 1 as dropped, before they go.
void LineStore::drop(qsizetype i, qsizetype n)
{
    for (qsizetype k = i; k < i + n; ++k)
        m_dropped += lengthOf(m_lines.at(k)) + 2;
}

void LineStore::compactWhenWasteful()
{
    constexpr qsizetype Floor = qsizetype(1024) * 1024;
    if (m_dropped < Floor || m_dropped < bufferBytes() / 2)
        return;
    qsizetype total = 0;
    for (qsizetype i = 0; i < size(); ++i)
        total += lengthOf(m_lines.at(i)) + 2;
    Chunk chunk;
    chunk.arena = true;
    chunk.bytes.reserve(std::max(total, ArenaChunk));
    memory::adviseHugePages(chunk.bytes.constData(), chunk.bytes.capacity());
    QList<Entry> lines;
    lines.reserve(size());
    memory::adviseHugePages(lines);
    QHash<quint64, qsizetype> longLengths;
    for (qsizetype i = 0; i < size(); ++i) {
        const QByteArrayView v = view(i);
        const auto address = quint64(chunk.bytes.size());
        chunk.bytes.append(v.data(), v.size());
        chunk.bytes.append("\r\n", 2);
        if (quint64(v.size()) < LongLength) {
            lines.append(address << LengthBits | EndsWithCrLf | quint64(v.size()));
        } else {
            longLengths.insert(address, v.size());
            lines.append(address << LengthBits | EndsWithCrLf | LongLength);
        }
    }
    m_lines = std::move(lines);
    m_long = std::move(longLengths);
    m_capacity = chunk.bytes.capacity();
    m_chunks = {std::move(chunk)};
    m_dropped = 0;
}

LineStore LineStore::sharingBytes() const
{
    LineStore out;
    out.m_chunks = m_chunks;
    out.m_capacity = m_capacity;
    out.m_long = m_long;
    return out;
}

void LineStore::appendFrom(const LineStore& source, qsizetype i, qsizetype n)
{
    Q_ASSERT(i >= 0 && n >= 0 && i + n <= source.size());
    if (n > 0)
        edited();
    if (&source == this || !sharesBuffersOf(source)) {
        const LineStore part = source.mid(i, n);
        insert(size(), part);
        return;
    }
    forgetIndex();
    const qsizetype from = size();
    m_lines.reserve(from + n);
    for (qsizetype k = i; k < i + n; ++k) {
        const Entry e = source.m_lines.at(k);
        if ((e & LongLength) == LongLength)
            m_long.insert(e >> LengthBits, source.lengthOf(e));
        m_lines.append(e);
    }
    // The source knows which of these lines are markers.
    const QList<qsizetype>& markers = source.m_markers;
    for (auto it = std::lower_bound(markers.begin(), markers.end(), i);
         it != markers.end() && *it < i + n; ++it)
        m_markers.append(from + (*it - i));
}

void LineStore::replace(qsizetype i, QByteArrayView line)
{
    Q_ASSERT(i >= 0 && i < size());
    edited();
    const bool wasMarker = firstByte(i) == '<';
    const Entry e = store(line);
    drop(i, 1);
    m_lines[i] = e;
    const bool isMarker = !line.isEmpty() && line.front() == '<';
    if (wasMarker || isMarker)
        forgetIndex();
    if (wasMarker != isMarker) {
        auto it = std::lower_bound(m_markers.begin(), m_markers.end(), i);
        if (isMarker)
            m_markers.insert(it, i);
        else
            m_markers.erase(it);
    }
    compactWhenWasteful();
}

void LineStore::insert(qsizetype i, qsizetype n, QByteArrayView line)
{
    Q_ASSERT(i >= 0 && i <= size());
    if (n <= 0)
        return;
    forgetIndex();
    edited();
    m_lines.insert(i, n, store(line));
    noteMarkers(i, !line.isEmpty() && line.front() == '<' ? n : 0, n);
}

void LineStore::insert(qsizetype i, const LineStore& lines)
{
    Q_ASSERT(i >= 0 && i <= size());
    const qsizetype n = lines.size();
    if (n == 0)
        return;
    if (&lines == this) {
        const LineStore copy = lines;
        insert(i, copy);
        return;
    }
    forgetIndex();
    edited();
    // A store that shares this one's buffers (a copy or a part of it) gives
    // its lines as they are; any other has its bytes copied.
    if (sharesBuffersOf(lines) && lines.m_long.isEmpty()) {
        m_lines.insert(i, n, 0);
        std::copy(lines.m_lines.begin(), lines.m_lines.end(), m_lines.begin() + i);
    } else {
        QList<Entry> entries;
        entries.reserve(n);
        for (qsizetype k = 0; k < n; ++k)
            entries.append(store(lines.view(k)));
        m_lines.insert(i, n, 0);
        std::copy(entries.begin(), entries.end(), m_lines.begin() + i);
    }
    noteMarkers(i, n, n);
}

void LineStore::append(const QList<QByteArray>& lines)
{
    m_lines.reserve(size() + lines.size());
    for (const QByteArray& line : lines)
        append(QByteArrayView(line));
}

void LineStore::remove(qsizetype i, qsizetype n)
{
    Q_ASSERT(i >= 0 && n >= 0 && i + n <= size());
    if (n == 0)
        return;
    forgetIndex();
    edited();
    drop(i, n);
    m_lines.remove(i, n);
    auto first = std::lower_bound(m_markers.begin(), m_markers.end(), i);
    auto last = std::lower_bound(first, m_markers.end(), i + n);
    for (auto k = last; k != m_markers.end(); ++k)
        *k -= n;
    m_markers.erase(first, last);
    compactWhenWasteful();
}

QByteArray LineStore::takeAt(qsizetype i)
{
    QByteArray line = at(i);
    remove(i);
    return line;
}

void LineStore::swapItemsAt(qsizetype i, qsizetype j)
{
    if (i == j)
        return;
    edited();
    const bool mi = firstByte(i) == '<';
    const bool mj = firstByte(j) == '<';
    if (mi || mj)
        forgetIndex();
    m_lines.swapItemsAt(i, j);
    if (mi != mj) {
        // One marker moves from one index to the other.
        const qsizetype from = mi ? i : j;
        const qsizetype to = mi ? j : i;
        m_markers.erase(std::lower_bound(m_markers.begin(), m_markers.end(), from));
        m_markers.insert(std::lower_bound(m_markers.begin(), m_markers.end(), to), to);
    }
}

void LineStore::move(qsizetype from, qsizetype to)
{
    Q_ASSERT(from >= 0 && from < size() && to >= 0 && to < size());
    if (from == to)
        return;
    forgetIndex();
    edited();
    m_lines.move(from, to);
    const qsizetype lo = std::min(from, to);
    const qsizetype hi = std::max(from, to);
    m_markers.erase(std::lower_bound(m_markers.begin(), m_markers.end(), lo),
                    std::upper_bound(m_markers.begin(), m_markers.end(), hi));
    noteMarkers(lo, hi - lo + 1, 0);
}

qsizetype LineStore::removeAll(QByteArrayView line)
{
    qsizetype removed = 0;
    for (qsizetype i = size() - 1; i >= 0; --i) {
        if (view(i) != line)
            continue;
        remove(i);
        ++removed;
    }
    return removed;
}

void LineStore::clear()
{
    *this = LineStore();
}

LineStore LineStore::mid(qsizetype pos, qsizetype n) const
{
    LineStore out;
    pos = std::clamp<qsizetype>(pos, 0, size());
    if (n < 0 || pos + n > size())
        n = size() - pos;
    out.m_chunks = m_chunks;
    out.m_capacity = m_capacity;
    out.m_long = m_long;
    out.m_lines = m_lines.mid(pos, n);
    if (n > 0)
        out.edited();
    auto first = std::lower_bound(m_markers.begin(), m_markers.end(), pos);
    auto last = std::lower_bound(first, m_markers.end(), pos + n);
    out.m_markers.reserve(last - first);
    for (auto k = first; k != last; ++k)
        out.m_markers.append(*k - pos);
    return out;
}

QList<QByteArray> LineStore::toList() const
{
    QList<QByteArray> out;
    out.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        out.append(at(i));
    return out;
}

qsizetype LineStore::indexOf(QByteArrayView line, qsizetype from) const
{
    for (qsizetype i = std::max<qsizetype>(from, 0); i < size(); ++i)
        if (view(i) == line)
            return i;
    return -1;
}

QByteArray LineStore::join(QByteArrayView separator) const
{
    QByteArray out;
    for (qsizetype i = 0; i < size(); ++i) {
        if (i > 0)
            out.append(separator);
        out.append(view(i));
    }
    return out;
}

QByteArray LineStore::joined() const
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < size(); ++i)
        total += view(i).size() + 2;
    QByteArray out(total, Qt::Uninitialized);
    char* p = out.data();
    forEachRun([&p](const char* bytes, qsizetype n) {
        std::memcpy(p, bytes, size_t(n));
        p += n;
    });
    return out;
}

qsizetype LineStore::bufferBytes() const
{
    return m_capacity;
}

bool LineStore::operator==(const LineStore& other) const
{
    if (size() != other.size())
        return false;
    // Two empty tables may be one without storage and one with: QList's own
    // comparison would then hand memcmp a null pointer.
    if (isEmpty())
        return true;
    if (m_lines == other.m_lines && m_chunks.size() == other.m_chunks.size() && m_long.isEmpty() &&
        other.m_long.isEmpty()) {
        bool same = true;
        for (qsizetype k = 0; same && k < m_chunks.size(); ++k)
            same = m_chunks.at(k).bytes.constData() == other.m_chunks.at(k).bytes.constData();
        if (same)
            return true;
    }
    for (qsizetype i = 0; i < size(); ++i)
        if (view(i) != other.view(i))
            return false;
    return true;
}

bool operator==(const LineStore& a, const QList<QByteArray>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.view(i) != b.at(i))
            return false;
    return true;
}

} // namespace tarvik
