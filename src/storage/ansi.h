#pragma once

#include <QByteArray>
#include <QString>

namespace tarvik {

// The data files are Windows-1252; the core keeps their bytes, the windows show
// QString. These are the only conversions between the two.
namespace ansi {

QString toUnicode(const QByteArray& bytes);
// Converts to Windows-1252. Returns false (and leaves out nothing silently:
// the output is then unspecified) when a character has no Windows-1252 byte.
bool fromUnicode(const QString& text, QByteArray& out);
QByteArray fromUnicode(const QString& text); // characters that cannot be held become '?'
bool representable(const QString& text);
// Upper-cases a..z only; every other byte stays.
QByteArray upper(const QByteArray& bytes);

} // namespace ansi

} // namespace tarvik
