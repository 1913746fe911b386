#pragma once

#include "tools/rtf/rtf_document.h"

#include <QFont>

class QTextCursor;
class QTextDocument;
class QTextBlockFormat;
class QTextCharFormat;

namespace tarvik {

// The letter between the document model and the editor's QTextDocument.
// Indents are points in the model and pixels (96 per inch) in the editor.
namespace texte {

constexpr double PixelsPerPoint = 4.0 / 3.0;

// The editor's font for text with no font of its own.
QFont defaultFont();

// Replaces the whole document with the letter.
void fill(QTextDocument& document, const rtf::Document& letter);
// Inserts the letter at the cursor: its first paragraph joins the cursor's,
// the others follow with their own paragraph attributes.
void insert(QTextCursor& cursor, const rtf::Document& letter);
rtf::Document letterOf(const QTextDocument& document);

QTextCharFormat charFormat(const rtf::Run& look);
rtf::Run lookOf(const QTextCharFormat& format);
// The indents of a paragraph, in points.
struct Indents
{
    double first = 0;
    double left = 0;
    double right = 0;
};
Indents indentsOf(const QTextBlockFormat& format);
void setIndents(QTextBlockFormat& format, const Indents& indents);

} // namespace texte

} // namespace tarvik
