#pragma once

#include "tools/rtf/rtf_document.h"

#include <QMetaType>
#include <QTest>

namespace tarvik {

// Shorthands to build expected letters, and a readable form for failed
// comparisons.
namespace rtf {

inline char* toString(const Document& d)
{
    QString s;
    for (const Paragraph& p : d.paragraphs) {
        s += QStringLiteral("\n[%1 fi=%2 li=%3 ri=%4%5]")
                 .arg(int(p.alignment))
                 .arg(p.firstIndent)
                 .arg(p.leftIndent)
                 .arg(p.rightIndent)
                 .arg(p.bullet ? QStringLiteral(" bullet") : QString());
        for (const Run& r : p.runs) {
            QString text = r.text;
            text.replace(QLatin1Char('\t'), QLatin1String("\\t"))
                .replace(QChar(0x2028), QLatin1String("\\n"));
            s += QStringLiteral(" (%1 %2%3%4%5 \"%6\")")
                     .arg(r.font)
                     .arg(r.size)
                     .arg(r.bold ? QStringLiteral(" b") : QString())
                     .arg(r.italic ? QStringLiteral(" i") : QString())
                     .arg(r.underline ? QStringLiteral(" u") : QString())
                     .arg(text);
        }
    }
    return qstrdup(s.toUtf8().constData());
}

} // namespace rtf

namespace build {

enum Style { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };

inline rtf::Run run(const QString& text, int style = Plain, double size = 10,
                    const QString& font = QStringLiteral("Times New Roman"))
{
    rtf::Run r;
    r.text = text;
    r.font = font;
    r.size = size;
    r.bold = style & Bold;
    r.italic = style & Italic;
    r.underline = style & Underline;
    return r;
}

inline rtf::Paragraph para(const QList<rtf::Run>& runs,
                           rtf::Alignment alignment = rtf::Alignment::Left, double first = 0,
                           double left = 0, double right = 0, bool bullet = false)
{
    rtf::Paragraph p;
    p.alignment = alignment;
    p.firstIndent = first;
    p.leftIndent = left;
    p.rightIndent = right;
    p.bullet = bullet;
    for (const rtf::Run& r : runs)
        p.append(r);
    return p;
}

inline rtf::Document doc(const QList<rtf::Paragraph>& paragraphs)
{
    return rtf::Document{paragraphs};
}

} // namespace build

} // namespace tarvik

Q_DECLARE_METATYPE(tarvik::rtf::Document)
