#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarvik {

namespace exchange {

// Text of another program (a card, a spreadsheet cell) made into lines of the
// contact file, which is Windows-1252: a character that has no byte there
// becomes "?", and each field where that happened is counted, so that the
// user is told; nothing else is changed.
class ForeignText
{
public:
    // One field line: line breaks become blanks, and a value that would read
    // as a block marker is kept from being taken for one.
    QByteArray line(const QString& text);
    // Free-text lines: one per line of the text, cut into lines the record
    // window can show whole.
    QList<QByteArray> lines(const QString& text);
    // Ends a field: counts it when a character of it was replaced.
    void endField();

    int replacedFields() const { return m_replaced; }

    // The longest free-text line the record window shows whole.
    static constexpr qsizetype FreeTextLine = 255;

private:
    QByteArray bytes(const QString& text);

    bool m_lost = false;
    int m_replaced = 0;
};

} // namespace exchange

} // namespace tarvik
