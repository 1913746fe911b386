#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tarvik {

// The single note of the notepad, kept as Windows-1252 text with CR LF line
// ends in "Contact.nte" in the program folder.
namespace notepad {

// The note file of a program folder; a folder that ends with a separator (the
// root "/") gives a single separator before the name.
QString notePath(const QString& programFolder);

// The note's lines joined with "\n", or nullopt when there is no note file.
// Throws TarvikError when the file exists but cannot be read.
std::optional<QByteArray> load(const QString& path);

// Replaces the note file with these lines ("\n" between them), each written
// with CR LF. Throws TarvikError when it cannot be written; the old file stays.
void save(const QString& path, const QByteArray& text);

// Called once the window has closed: writes the note if and only if it was
// changed. Returns true when it wrote.
bool saveIfModified(const QString& path, const QByteArray& text, bool modified);

} // namespace notepad

} // namespace tarvik
