#include "tools/rtf/rtf_writer.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace tarvik {

namespace rtf {
namespace {

// Unicode -> Windows-1252 byte, for the characters from 0x80 up.
const QHash<char16_t, char>& ansiBytes()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> h;
        QStringDecoder decoder("windows-1252");
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QString s = decoder.decode(QByteArray(1, char(b)));
            if (s.size() == 1 && s.at(0) != QChar::ReplacementCharacter)
                h.insert(s.at(0).unicode(), char(b));
        }
        return h;
    }();
    return table;
}

void appendHex(QByteArray& out, unsigned char b)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[b >> 4];
    out += digits[b & 15];
}

void appendNumber(QByteArray& out, long long n)
{
    out += QByteArray::number(n); // digits only: no locale is involved
}

// Text escaped for RTF. Long paragraphs are broken into lines after a space:
// readers ignore the line ends in text.
void appendText(QByteArray& out, const QString& text, qsizetype& lineStart, bool fontName = false)
{
    const auto& bytes = ansiBytes();
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (fontName && c == ';') {
            appendHex(out, ';'); // a bare one ends the name
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += char(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == 0x2028 || c == 0x2029) {
            out += "\\line ";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
            if (c == ' ' && out.size() - lineStart > 200) {
                out += "\r\n";
                lineStart = out.size();
            }
        } else if (c < 0x20 || c == 0x7F) {
            continue; // control characters have no place in a letter
        } else if (const auto it = bytes.find(c); it != bytes.end()) {
            appendHex(out, static_cast<unsigned char>(it.value()));
        } else {
            // Signed 16 bits, as Word writes the characters above 32767.
            out += "\\u";
            appendNumber(out, c > 32767 ? long(c) - 65536 : long(c));
            out += '?';
        }
    }
}

// Indents are kept within 22 inches each way; the first line, counted from
// the left indent, may go twice as far.
long long twips(double points, double limit = 1584)
{
    return std::llround(std::clamp(points, -limit, limit) * 20);
}

// The character attributes as last written: nothing is known at the start,
// so the first run states them all.
struct Look
{
    qsizetype font = -1;
    long long halfPoints = -1;
    int bold = -1;
    int italic = -1;
    int underline = -1;
};

// The font table: the editor's default font first, then every font of the
// runs in order of use, then Symbol for the bullets when there are any.
QStringList fontsOf(const Document& document, bool& bullets)
{
    QStringList fonts{QStringLiteral("Times New Roman")};
    bullets = false;
    for (const Paragraph& p : document.paragraphs) {
        bullets = bullets || p.bullet;
        for (const Run& r : p.runs) {
            if (!fonts.contains(r.font))
                fonts.append(r.font);
        }
    }
    return fonts;
}

void writeHeader(QByteArray& out, const QStringList& fonts, bool bullets)
{
    qsizetype lineStart = 0;
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        out += "{\\f";
        appendNumber(out, i);
        out += "\\fnil\\fcharset0 ";
        appendText(out, fonts.at(i), lineStart, true);
        out += ";}";
    }
    if (bullets) {
        out += "{\\f";
        appendNumber(out, fonts.size());
        out += "\\fnil\\fcharset2 Symbol;}";
    }
    out += "}\r\n\\viewkind4\\uc1\r\n";
}

void writeParagraphFormat(QByteArray& out, const Paragraph& p, qsizetype symbolFont)
{
    out += "\\pard";
    if (p.bullet) {
        out += "{\\pntext\\f";
        appendNumber(out, symbolFont);
        out += "\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf";
        appendNumber(out, symbolFont);
        out += "\\pnindent0{\\pntxtb\\'b7}}";
    }
    switch (p.alignment) {
    case Alignment::Left:
        out += "\\ql";
        break;
    case Alignment::Center:
        out += "\\qc";
        break;
    case Alignment::Right:
        out += "\\qr";
        break;
    case Alignment::Justify:
        out += "\\qj";
        break;
    }
    const long long first = twips(p.firstIndent, 2 * 1584);
    const long long left = twips(p.leftIndent);
    out += "\\fi";
    appendNumber(out, -left);
    out += "\\li";
    appendNumber(out, first + left);
    out += "\\ri";
    appendNumber(out, twips(p.rightIndent));
}

// The attributes of the run that differ from the last ones written.
void writeLook(QByteArray& out, const Run& r, qsizetype font, Look& last)
{
    const long long hp = std::max<long long>(2, std::llround(r.size * 2));
    if (font != last.font) {
        out += "\\f";
        appendNumber(out, font);
        last.font = font;
    }
    if (hp != last.halfPoints) {
        out += "\\fs";
        appendNumber(out, hp);
        last.halfPoints = hp;
    }
    if (int(r.bold) != last.bold) {
        out += r.bold ? "\\b" : "\\b0";
        last.bold = r.bold;
    }
    if (int(r.italic) != last.italic) {
        out += r.italic ? "\\i" : "\\i0";
        last.italic = r.italic;
    }
    if (int(r.underline) != last.underline) {
        out += r.underline ? "\\ul" : "\\ulnone";
        last.underline = r.underline;
    }
}

} // namespace

QByteArray write(const Document& document)
{
    bool bullets = false;
    const QStringList fonts = fontsOf(document, bullets);
    const qsizetype symbolFont = fonts.size();

    QByteArray out;
    writeHeader(out, fonts, bullets);
    qsizetype lineStart = out.size();
    Look look;
    const qsizetype count = document.paragraphs.size();
    for (qsizetype pi = 0; pi < count; ++pi) {
        const Paragraph& p = document.paragraphs.at(pi);
        writeParagraphFormat(out, p, symbolFont);
        for (const Run& r : p.runs) {
            writeLook(out, r, fonts.indexOf(r.font), look);
            out += ' ';
            appendText(out, r.text, lineStart);
        }
        if (pi + 1 < count) {
            out += "\\par\r\n";
            lineStart = out.size();
        }
    }
    out += "\r\n}\r\n";
    return out;
}

} // namespace rtf

} // namespace tarvik
