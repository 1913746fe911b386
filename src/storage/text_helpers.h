#pragma once

#include <QByteArray>
#include <utility>

namespace tarvik {

class TextMeasure;

// Small text functions shared by the record window's features.
namespace text {

// The part before the first tab, and the rest after it (at most 255 bytes).
// Without a tab: the whole line and an empty rest.
std::pair<QByteArray, QByteArray> splitAtTab(const QByteArray& line);

// An imported value: trimmed of blanks and control characters, every CR LF pair
// removed, the French letters of code page 850 turned into Windows-1252.
QByteArray cleanImported(const QByteArray& value);

// The trimmed text prefixed with spaces, one at a time, while its width is at
// most width - 10; an empty text stays empty.
QByteArray rightAlign(const QByteArray& value, int width, const TextMeasure& measure);

// Leading and trailing spaces and control characters removed.
QByteArray trimmed(const QByteArray& value);

} // namespace text

} // namespace tarvik
