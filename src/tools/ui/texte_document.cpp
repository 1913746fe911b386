#include "tools/ui/texte_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <cmath>

namespace tarvik {

namespace texte {

QFont defaultFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(10);
    return font;
}

// Points kept to the twip, the finest step an RTF file holds.
static double points(double pixels)
{
    return std::round(pixels / PixelsPerPoint * 20) / 20;
}

QTextCharFormat charFormat(const rtf::Run& look)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{look.font});
    f.setFontPointSize(look.size);
    f.setFontWeight(look.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(look.italic);
    f.setFontUnderline(look.underline);
    return f;
}

rtf::Run lookOf(const QTextCharFormat& format)
{
    rtf::Run r;
    const QFont base = defaultFont();
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        r.font = families.first();
    else if (const QString family = format.stringProperty(QTextFormat::FontFamily);
             !family.isEmpty())
        r.font = family;
    else
        r.font = base.family();
    r.size = format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0
                 ? std::round(format.fontPointSize() * 2) / 2
                 : base.pointSizeF();
    r.bold = format.fontWeight() >= QFont::DemiBold;
    r.italic = format.fontItalic();
    r.underline = format.fontUnderline();
    return r;
}

Indents indentsOf(const QTextBlockFormat& format)
{
    Indents i;
    i.first = points(format.leftMargin() + format.textIndent());
    i.left = points(-format.textIndent());
    i.right = points(format.rightMargin());
    return i;
}

void setIndents(QTextBlockFormat& format, const Indents& indents)
{
    format.setLeftMargin((indents.first + indents.left) * PixelsPerPoint);
    format.setTextIndent(-indents.left * PixelsPerPoint);
    format.setRightMargin(indents.right * PixelsPerPoint);
}

static QTextBlockFormat blockFormat(const rtf::Paragraph& p)
{
    QTextBlockFormat f;
    switch (p.alignment) {
    case rtf::Alignment::Left:
        f.setAlignment(Qt::AlignLeft);
        break;
    case rtf::Alignment::Center:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case rtf::Alignment::Right:
        f.setAlignment(Qt::AlignRight);
        break;
    case rtf::Alignment::Justify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    setIndents(f, Indents{p.firstIndent, p.leftIndent, p.rightIndent});
    return f;
}

static QTextListFormat bulletFormat()
{
    QTextListFormat f;
    f.setStyle(QTextListFormat::ListDisc);
    f.setIndent(1);
    return f;
}

void insert(QTextCursor& cursor, const rtf::Document& letter)
{
    QTextList* list = nullptr;
    bool first = true;
    cursor.beginEditBlock();
    for (const rtf::Paragraph& p : letter.paragraphs) {
        const QTextBlockFormat format = blockFormat(p);
        if (first) {
            if (cursor.block().length() <= 1)
                cursor.setBlockFormat(format);
        } else {
            cursor.insertBlock(format, charFormat(rtf::Run{}));
        }
        // Following bullet paragraphs share one list, as the editor makes them.
        if (p.bullet) {
            if (list)
                list->add(cursor.block());
            else
                list = cursor.createList(bulletFormat());
        } else {
            if (QTextList* l = cursor.block().textList())
                l->remove(cursor.block());
            list = nullptr;
        }
        for (const rtf::Run& r : p.runs)
            cursor.insertText(r.text, charFormat(r));
        first = false;
    }
    cursor.endEditBlock();
}

void fill(QTextDocument& document, const rtf::Document& letter)
{
    document.clear();
    document.setDefaultFont(defaultFont());
    QTextCursor cursor(&document);
    // An empty paragraph takes the default attributes for what is typed in it.
    cursor.setBlockCharFormat(charFormat(rtf::Run{}));
    insert(cursor, letter);
}

rtf::Document letterOf(const QTextDocument& document)
{
    rtf::Document letter;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        rtf::Paragraph p;
        const QTextBlockFormat f = block.blockFormat();
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            p.alignment = rtf::Alignment::Center;
        else if (a & Qt::AlignRight)
            p.alignment = rtf::Alignment::Right;
        else if (a & Qt::AlignJustify)
            p.alignment = rtf::Alignment::Justify;
        const Indents i = indentsOf(f);
        p.firstIndent = i.first;
        p.leftIndent = i.left;
        p.rightIndent = i.right;
        p.bullet = block.textList() != nullptr;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            rtf::Run r = lookOf(fragment.charFormat());
            r.text = fragment.text();
            // Pictures and other objects have no place in the letter's file.
            r.text.remove(QChar::ObjectReplacementCharacter);
            p.append(r);
        }
        letter.paragraphs.append(p);
    }
    return letter;
}

} // namespace texte

} // namespace tarvik
