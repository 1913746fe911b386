#pragma once

#include "storage/line_store.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstring>
#include <optional>

namespace tarvik {

// A whole data file held as its lines, in order. A record is a block: the
// header "<BLOC" + number + ">", its field lines, the trailer "</BLOC" + number
// + ">". Lines outside blocks belong to no record and are kept.
using BlockList = LineStore;

namespace blocks {

constexpr int ContactDigits = 5;
constexpr int OperationDigits = 4;

// n written with `digits` digits, leading zeros (n below 10^digits).
QByteArray padNumber(int n, int digits);
QByteArray header(int n, int digits);
QByteArray trailer(int n, int digits);
// "<BLOCxxxxx>" -> "</BLOCxxxxx>"
QByteArray trailerOf(QByteArrayView header);

// What one line says about the block structure. Every reader of headers and
// trailers goes through readMarker, so that they all agree on what one is.
struct Marker
{
    enum Kind : quint8 { None, Header, Trailer };
    // "<BLOC" or "</BLOC" at the start of the line, letter case ignored.
    Kind kind = None;
    // That start written in capitals: only such lines count as headers and
    // trailers when blocks are counted, checked or repaired.
    bool capitals = false;
    // The `digits` characters after the marker read as a decimal number, or -1
    // when they are not all decimal digits.
    int lead = -1;
    // The number when the line is exactly the header or trailer the program
    // writes for it (header(n, digits), letter case ignored), or -1: the lines
    // that a lookup by number finds.
    int number = -1;

    bool isHeader() const { return kind == Header && capitals; }
    bool isTrailer() const { return kind == Trailer && capitals; }
};

Marker readMarker(QByteArrayView line, int digits);

inline bool isHeader(QByteArrayView line)
{
    return line.size() >= 5 && std::memcmp(line.data(), "<BLOC", 5) == 0;
}
inline bool isTrailer(QByteArrayView line)
{
    return line.size() >= 6 && std::memcmp(line.data(), "</BLOC", 6) == 0;
}

// The number written in a header ("<BLOC" + digits) or a trailer ("</BLOC" +
// digits): the `digits` characters after the marker, read as a decimal number;
// nullopt when they are not all decimal digits.
std::optional<int> headerNumber(QByteArrayView line, int digits);
std::optional<int> trailerNumber(QByteArrayView line, int digits);

// A field value made safe to stand as one line of a block: line breaks become
// spaces, and a value that reads like a header or a trailer gets a leading
// space, so that the next load does not take it for one.
QByteArray fieldLine(QByteArrayView value);

// Line equality of the block list: letter case ignored.
bool sameLine(QByteArrayView a, QByteArrayView b);

// Index of the first line equal to `header` at or after `from`, or -1.
qsizetype find(const BlockList& list, QByteArrayView header, qsizetype from = 0);

// Deletes lines at `index` one by one until the deleted line equals `trailer`
// or the list ends.
void eraseThrough(BlockList& list, qsizetype index, QByteArrayView trailer);

// Deletes the block with this header (header through trailer). Returns the
// index it stood at, or -1 when absent.
qsizetype deleteBlock(BlockList& list, QByteArrayView header);

// Replaces the block with this header by `block` (its whole lines, header and
// trailer included), keeping its place; appends it when the header is absent.
void replaceBlock(BlockList& list, const QList<QByteArray>& block);

// Number of lines that begin with "<BLOC".
int countHeaders(const BlockList& list);

// Drops leading blank lines (trimmed of spaces and control characters) while
// the list holds 3 lines or more.
void squize(BlockList& list);

// CR LF, lone CR and lone LF all end a line; a NUL byte ends the text.
BlockList splitLines(const QByteArray& data);
// Every line followed by CR LF.
QByteArray joinLines(const BlockList& list);

// True when the file holds any byte other than blanks and line ends (the
// whole file, past any NUL byte). False when it cannot be read.
bool holdsMoreThanBlanks(const QString& path);

// Reads a whole file. Throws TarvikError when it exists but cannot be read.
BlockList loadFile(const QString& path);
// Writes a whole file atomically, straight from the list's buffers. Throws
// TarvikError when it cannot be written; the old file then stays whole.
void saveFile(const QString& path, const BlockList& list);

// The next customer or operation code: 1 + the largest code (the line after
// a header) in the list, 10000 as the floor.
int nextCode(const BlockList& list);

} // namespace blocks

} // namespace tarvik
