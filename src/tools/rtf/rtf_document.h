#pragma once

#include <QList>
#include <QString>

namespace tarvik {

// The letter as the word processor keeps it between the editor and an RTF
// file: paragraphs of runs, with only the attributes the editor offers.
namespace rtf {

enum class Alignment { Left, Center, Right, Justify };

struct Run
{
    QString text; // '\t' for a tab, U+2028 for a line break inside the paragraph
    QString font = QStringLiteral("Times New Roman");
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;

    // Same attributes, text aside.
    bool sameLook(const Run& other) const
    {
        return font == other.font && size == other.size && bold == other.bold &&
               italic == other.italic && underline == other.underline;
    }
    bool operator==(const Run&) const = default;
};

// Indents are in points, as the editor's ruler shows them: the first line
// starts at firstIndent from the left margin, the following lines at
// firstIndent + leftIndent, and rightIndent keeps the text from the right
// margin.
struct Paragraph
{
    Alignment alignment = Alignment::Left;
    double firstIndent = 0;
    double leftIndent = 0;
    double rightIndent = 0;
    bool bullet = false;
    QList<Run> runs;

    // Appends a run, joining it to the last one when they look the same; an
    // empty run adds nothing.
    void append(const Run& run);
    QString text() const;
    bool operator==(const Paragraph&) const = default;
};

struct Document
{
    QList<Paragraph> paragraphs;
    bool operator==(const Document&) const = default;
};

} // namespace rtf

} // namespace tarvik
