#pragma once

#include <QString>
#include <QStringList>

namespace tarvik {

// How every reader of a file the user chose or the program keeps tells what
// went wrong, in one of two ways:
//
// - A failure that stops the read (the file cannot be opened or read, is too
//   large, empty, or not of its kind) throws TarvikError (platform/errors.h)
//   with the French text the user is shown. Nothing is loaded, and what the
//   program held before stays as it was.
// - Damage the reader got past (the file ends early, holds text where none
//   belongs, lines that mean nothing) leaves what could be read loaded, and is
//   returned beside it as ReadNotices: French sentences, each shown to the
//   user in a box of its own once the load is done. Empty notices mean a
//   clean read.
//
// A reader never both throws and loads, and never logs: the user is told.
class ReadNotices
{
public:
    void add(const QString& text) { m_texts << text; }
    bool isEmpty() const { return m_texts.isEmpty(); }
    const QStringList& texts() const { return m_texts; }
    bool operator==(const ReadNotices&) const = default;

private:
    QStringList m_texts;
};

} // namespace tarvik
