#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <compare>
#include <initializer_list>
#include <iterator>
#include <memory>

namespace tarvik {

namespace blocks {
class BlockIndex;
}

// An ordered list of text lines kept compact: the bytes of a file as read
// stay in one buffer and each line is an offset and a length into it, so that
// a large file costs one allocation instead of one per line. Lines written
// later go to a side arena of large chunks. The interface is the one of a
// list of byte arrays: reading a line gives a copy (at, operator[]), and view()
// reads it in place without any allocation, which is what the scans use.
//
// Copies share the buffers (they are never written over once a line stands in
// them), so copying a store costs its table of offsets only.
class LineStore
{
public:
    class Line;
    class const_iterator;
    using value_type = QByteArray;
    using size_type = qsizetype;
    using iterator = const_iterator;

    LineStore() = default;
    LineStore(std::initializer_list<QByteArrayView> lines);
    LineStore(const QList<QByteArray>& lines); // NOLINT: a list of lines is a store
    template <typename It, typename = typename std::iterator_traits<It>::iterator_category>
    LineStore(It first, It last)
    {
        for (; first != last; ++first)
            append(QByteArrayView(*first));
    }

    // The lines of `data`: CR LF, a lone CR and a lone LF all end a line; a
    // NUL byte ends the text. The bytes are kept as they are, not copied.
    static LineStore fromBytes(const QByteArray& data);

    qsizetype size() const { return m_lines.size(); }
    qsizetype count() const { return size(); }
    qsizetype length() const { return size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    bool empty() const { return isEmpty(); }

    // Line i in place; valid until the store is changed or destroyed.
    QByteArrayView view(qsizetype i) const;
    // The first byte of line i, or 0 for an empty line.
    char firstByte(qsizetype i) const;
    // Copies, const so that assigning to one is an error rather than lost:
    // a line is written through operator[], first(), last() or replace().
    const QByteArray at(qsizetype i) const { return view(i).toByteArray(); }
    const QByteArray operator[](qsizetype i) const { return at(i); }
    Line operator[](qsizetype i);
    const QByteArray value(qsizetype i) const
    {
        return i >= 0 && i < size() ? at(i) : QByteArray();
    }
    const QByteArray first() const { return at(0); }
    const QByteArray last() const { return at(size() - 1); }
    const QByteArray front() const { return first(); }
    const QByteArray back() const { return last(); }
    Line first();
    Line last();
    Line front();
    Line back();

    void replace(qsizetype i, QByteArrayView line);
    void insert(qsizetype i, QByteArrayView line) { insert(i, 1, line); }
    void insert(qsizetype i, qsizetype n, QByteArrayView line);
    void insert(qsizetype i, const LineStore& lines);
    void append(QByteArrayView line) { insert(size(), line); }
    void append(const char* line) { append(QByteArrayView(line)); }
    void append(const QByteArray& line) { append(QByteArrayView(line)); }
    void append(const LineStore& lines) { insert(size(), lines); }
    void append(const QList<QByteArray>& lines);
    void push_back(QByteArrayView line) { append(line); }
    void prepend(QByteArrayView line) { insert(0, line); }
    void remove(qsizetype i, qsizetype n = 1);
    void removeAt(qsizetype i) { remove(i); }
    void removeFirst() { remove(0); }
    void removeLast() { remove(size() - 1); }
    QByteArray takeAt(qsizetype i);
    QByteArray takeFirst() { return takeAt(0); }
    QByteArray takeLast() { return takeAt(size() - 1); }
    void swapItemsAt(qsizetype i, qsizetype j);
    // Line `from` moves to index `to`, the lines between close up.
    void move(qsizetype from, qsizetype to);
    // Removes every line equal to `line`; gives how many.
    qsizetype removeAll(QByteArrayView line);
    void clear();
    void reserve(qsizetype n) { m_lines.reserve(n); }
    void squeeze() { m_lines.squeeze(); }
    void detach() { m_lines.detach(); }
    bool isDetached() const { return m_lines.isDetached(); }
    // Identity of the table of lines: two stores that give the same address
    // are copies that neither has changed since (every edit detaches it).
    const void* constData() const { return m_lines.constData(); }
    // A number that every edit changes: two stores that give the same one
    // hold the same lines, one a copy of the other that neither has changed
    // since. Unlike constData(), it tells so without keeping the table
    // shared, which would make the next edit copy the whole table.
    quint64 version() const { return m_version; }

    // Makes this store a copy of `other` with a table of lines of its own,
    // written into the table this store already holds when that is its own
    // and large enough: then the copy allocates nothing, and on a large file
    // it costs a copy of memory that is already there. The bytes of the lines
    // stay shared. Unlike a plain copy, whose table stays shared until one
    // side writes and the writer then copies it whole, neither store ever
    // copies anything of the other after this.
    void assignUnshared(const LineStore& other);

    LineStore& operator<<(QByteArrayView line)
    {
        append(line);
        return *this;
    }
    LineStore& operator<<(const char* line) { return *this << QByteArrayView(line); }
    LineStore& operator<<(const QByteArray& line) { return *this << QByteArrayView(line); }
    LineStore& operator<<(const QList<QByteArray>& lines)
    {
        append(lines);
        return *this;
    }
    LineStore& operator<<(const LineStore& lines)
    {
        append(lines);
        return *this;
    }
    template <typename T> LineStore& operator+=(const T& lines) { return *this << lines; }
    LineStore& operator+=(std::initializer_list<QByteArrayView> lines)
    {
        for (QByteArrayView line : lines)
            append(line);
        return *this;
    }
    template <typename T> friend LineStore operator+(LineStore a, const T& b)
    {
        a += b;
        return a;
    }

    // Lines pos .. pos + n - 1 (to the end when n is -1), sharing the bytes.
    LineStore mid(qsizetype pos, qsizetype n = -1) const;
    QList<QByteArray> toList() const;

    qsizetype indexOf(QByteArrayView line, qsizetype from = 0) const;
    bool contains(QByteArrayView line) const { return indexOf(line) >= 0; }

    // The lines with `separator` between them, as QByteArrayList::join.
    QByteArray join(QByteArrayView separator = {}) const;
    QByteArray join(char separator) const { return join(QByteArrayView(&separator, 1)); }

    // Every line followed by CR LF, in one buffer of the final size.
    QByteArray joined() const;
    // The joined text as a few long runs of bytes, handed to `f(data, size)`
    // in order: lines that stand one after another in a buffer, each with its
    // CR LF, make one run, so an unchanged file is its own buffer.
    template <typename F> void forEachRun(F&& f) const;

    // An empty store that shares this one's buffers: lines appended to it
    // from this store with appendFrom cost no copy of their bytes.
    LineStore sharingBytes() const;
    // Appends lines i .. i + n - 1 of `source`.
    void appendFrom(const LineStore& source, qsizetype i, qsizetype n);

    // Indices, in ascending order, of the lines that begin with "<": the only
    // lines that can be block headers or trailers. Kept up to date through
    // every edit, so that the scans for blocks visit these lines alone.
    const QList<qsizetype>& markerLines() const { return m_markers; }

    // Hints for a scan that visits lines far apart, such as the markers of a
    // large file: `ahead` asks for line i's entry to be brought into the
    // cache, `aheadBytes` for its bytes (best once its entry was asked for a
    // few lines earlier). Neither changes anything nor reads out of bounds.
    void ahead(qsizetype i) const
    {
        if (i >= 0 && i < m_lines.size())
            __builtin_prefetch(m_lines.constData() + i);
    }
    void aheadBytes(qsizetype i) const
    {
        if (i >= 0 && i < m_lines.size())
            if (const Entry e = m_lines.constData()[i]; (e & LongLength) != 0)
                __builtin_prefetch(pointerAt(e >> LengthBits));
    }

    // Bytes held by the buffers (the file as read and the arena), for the
    // measurements.
    qsizetype bufferBytes() const;

    bool operator==(const LineStore& other) const;
    bool operator!=(const LineStore& other) const { return !(*this == other); }
    friend bool operator==(const LineStore& a, const QList<QByteArray>& b);
    friend bool operator==(const QList<QByteArray>& a, const LineStore& b) { return b == a; }

    const_iterator begin() const;
    const_iterator end() const;
    const_iterator cbegin() const;
    const_iterator cend() const;
    const_iterator constBegin() const;
    const_iterator constEnd() const;

    // A writable line: what `store[i] = ...` assigns through.
    class Line
    {
    public:
        Line(const Line&) = default;
        Line& operator=(QByteArrayView bytes)
        {
            m_store->replace(m_index, bytes);
            return *this;
        }
        Line& operator=(const char* bytes) { return *this = QByteArrayView(bytes); }
        Line& operator=(const QByteArray& bytes) { return *this = QByteArrayView(bytes); }
        Line& operator=(const Line& other) { return *this = other.m_store->at(other.m_index); }
        operator QByteArray() const { return m_store->at(m_index); }
        QByteArrayView view() const { return m_store->view(m_index); }
        qsizetype size() const { return view().size(); }
        bool isEmpty() const { return view().isEmpty(); }
        bool startsWith(QByteArrayView bytes) const { return view().startsWith(bytes); }
        bool contains(QByteArrayView bytes) const { return view().indexOf(bytes) >= 0; }
        void swap(Line other) { m_store->swapItemsAt(m_index, other.m_index); }
        friend bool operator==(const Line& a, QByteArrayView b) { return a.view() == b; }
        friend bool operator==(const Line& a, const QByteArray& b) { return a.view() == b; }
        friend bool operator==(const Line& a, const char* b)
        {
            return a.view() == QByteArrayView(b);
        }

    private:
        friend class LineStore;
        Line(LineStore* store, qsizetype index) : m_store(store), m_index(index) {}
        LineStore* m_store;
        qsizetype m_index;
    };

    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = QByteArray;
        using difference_type = qsizetype;
        using reference = QByteArray;
        using pointer = void;

        const_iterator() = default;
        QByteArray operator*() const { return m_store->at(m_index); }
        QByteArray operator[](qsizetype n) const { return m_store->at(m_index + n); }
        const_iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++m_index;
            return old;
        }
        const_iterator& operator--()
        {
            --m_index;
            return *this;
        }
        const_iterator operator--(int)
        {
            const_iterator old = *this;
            --m_index;
            return old;
        }
        const_iterator& operator+=(qsizetype n)
        {
            m_index += n;
            return *this;
        }
        const_iterator& operator-=(qsizetype n)
        {
            m_index -= n;
            return *this;
        }
        friend const_iterator operator+(const_iterator it, qsizetype n) { return it += n; }
        friend const_iterator operator+(qsizetype n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, qsizetype n) { return it -= n; }
        friend qsizetype operator-(const const_iterator& a, const const_iterator& b)
        {
            return a.m_index - b.m_index;
        }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b)
        {
            return a.m_index <=> b.m_index;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b)
        {
            return a.m_index == b.m_index;
        }
        qsizetype index() const { return m_index; }

    private:
        friend class LineStore;
        const_iterator(const LineStore* store, qsizetype index) : m_store(store), m_index(index) {}
        const LineStore* m_store = nullptr;
        qsizetype m_index = 0;
    };

private:
    friend class blocks::BlockIndex;

    // One line: where its bytes start in the address space of the chunks (the
    // high bits), whether CR LF follows them in their chunk (so that the save
    // can write a run of such lines straight from the chunk) and its length
    // (the low bits). A length that does not fit is kept in m_long, under
    // the line's address.
    using Entry = quint64;
    static constexpr int LengthBits = 24;
    static constexpr quint64 EndsWithCrLf = quint64(1) << (LengthBits - 1);
    static constexpr quint64 LongLength = EndsWithCrLf - 1;

    qsizetype lengthOf(Entry e) const
    {
        const quint64 n = e & LongLength;
        return n == LongLength ? longLength(e) : qsizetype(n);
    }
    qsizetype longLength(Entry e) const;
    const char* pointerAt(quint64 address) const;

    struct Chunk
    {
        quint64 start = 0; // address of its first byte
        QByteArray bytes;
        bool arena = false; // lines may still be added behind its last byte
    };

    Entry store(QByteArrayView line);
    Entry entryOf(QByteArrayView line, quint64 address, bool endsWithCrLf);
    const Chunk& chunkOf(quint64 address) const;
    bool sharesBuffersOf(const LineStore& other) const;
    void noteMarkers(qsizetype from, qsizetype n, qsizetype shift);
    void drop(qsizetype i, qsizetype n);
    void compactWhenWasteful();

    QList<Entry> m_lines;
    QList<Chunk> m_chunks;
    QHash<quint64, qsizetype> m_long;
    QList<qsizetype> m_markers;
    // Bytes of the lines replaced or removed since the buffers were last
    // compacted: when they outweigh the rest, the live lines are copied into
    // one new buffer, so that a long session of edits does not grow without
    // end.
    qsizetype m_dropped = 0;
    qsizetype m_capacity = 0; // bytes of all the chunks
    // The block index of these lines, once asked for (blocks::BlockIndex::of),
    // kept until an edit moves lines or touches a line that begins with "<":
    // edits of field lines leave every block where it was. Copies share it.
    mutable std::shared_ptr<const blocks::BlockIndex> m_index;
    mutable int m_indexDigits = 0;
    void forgetIndex() { m_index.reset(); }
    quint64 m_version = 0;
    void edited();
};

template <typename F> void LineStore::forEachRun(F&& f) const
{
    static constexpr char crlf[] = "\r\n";
    quint64 runStart = 0;
    quint64 runEnd = 0;
    bool open = false;
    for (const Entry e : m_lines) {
        const quint64 address = e >> LengthBits;
        const qsizetype n = lengthOf(e);
        const bool ended = (e & EndsWithCrLf) != 0;
        // Chunks never touch in the address space: lines whose addresses
        // follow on stand in one chunk.
        if (ended && open && address == runEnd) {
            runEnd += quint64(n) + 2;
            continue;
        }
        if (open)
            f(pointerAt(runStart), qsizetype(runEnd - runStart));
        open = ended;
        if (ended) {
            runStart = address;
            runEnd = address + quint64(n) + 2;
        } else {
            if (n > 0)
                f(pointerAt(address), n);
            f(static_cast<const char*>(crlf), qsizetype(2));
        }
    }
    if (open)
        f(pointerAt(runStart), qsizetype(runEnd - runStart));
}

inline LineStore::const_iterator LineStore::begin() const
{
    return {this, 0};
}
inline LineStore::const_iterator LineStore::end() const
{
    return {this, size()};
}
inline LineStore::const_iterator LineStore::cbegin() const
{
    return begin();
}
inline LineStore::const_iterator LineStore::cend() const
{
    return end();
}
inline LineStore::const_iterator LineStore::constBegin() const
{
    return begin();
}
inline LineStore::const_iterator LineStore::constEnd() const
{
    return end();
}
inline LineStore::Line LineStore::operator[](qsizetype i)
{
    return {this, i};
}
inline LineStore::Line LineStore::first()
{
    return {this, 0};
}
inline LineStore::Line LineStore::last()
{
    return {this, size() - 1};
}
inline LineStore::Line LineStore::front()
{
    return first();
}
inline LineStore::Line LineStore::back()
{
    return last();
}

} // namespace tarvik
