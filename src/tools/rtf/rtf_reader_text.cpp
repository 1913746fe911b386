#include "tools/rtf/rtf_code_pages.h"
#include "tools/rtf/rtf_reader_parts.h"

#include <algorithm>

// The text of the letter as the reader gathers it: bytes decoded in the code
// page of their font, runs of one look, paragraphs with their numbering.

namespace tarvik {

namespace rtf {

namespace reading {

int Reader::codePageFor(const State& s) const
{
    int font = s.ch.font;
    if (s.dest == Dest::FontTable) {
        const auto it = m_fonts.find(m_fontEntry);
        const int cp = it == m_fonts.end() ? 0 : codePageForCharset(it->second.charset);
        return cp ? cp : m_codePage;
    }
    if (font < 0)
        font = m_defaultFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end()) {
        if (const int cp = codePageForCharset(it->second.charset))
            return cp;
    }
    return m_codePage;
}

QString Reader::fontName(int index) const
{
    if (index < 0)
        index = m_defaultFont;
    auto it = m_fonts.find(index);
    if (it == m_fonts.end() || it->second.name.isEmpty())
        it = m_fonts.find(m_defaultFont);
    if (it == m_fonts.end() || it->second.name.isEmpty())
        return QStringLiteral("Times New Roman");
    return it->second.name;
}

void Reader::addBytes(const char* bytes, std::size_t count)
{
    const Dest dest = state().dest;
    if (dest == Dest::Skip || dest == Dest::Pn || dest == Dest::ListTable ||
        dest == Dest::ListOverrideTable)
        return;
    if (dest == Dest::Text && state().ch.hidden)
        return;
    if (!m_pending.isEmpty() && m_pendingDest != dest)
        flush();
    m_pendingDest = dest;
    m_pending.append(bytes, qsizetype(count));
}

void Reader::flush()
{
    if (m_pending.isEmpty())
        return;
    bool ascii = true;
    for (char c : std::as_const(m_pending)) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    const QString text =
        ascii ? QString::fromLatin1(m_pending) : decode(m_pending, codePageFor(state()));
    m_pending.clear();
    deliver(text);
}

void Reader::deliver(const QString& text)
{
    const State& s = state();
    switch (s.dest) {
    case Dest::Text: {
        if (s.ch.hidden)
            return;
        Run run;
        run.text = text;
        run.font = fontName(s.ch.font);
        run.size = s.ch.halfPoints / 2.0;
        run.bold = s.ch.bold;
        run.italic = s.ch.italic;
        run.underline = s.ch.underline;
        m_paragraph.append(run);
        break;
    }
    case Dest::ListText:
        if (m_listText.isEmpty()) {
            m_listTextLook.font = fontName(s.ch.font);
            m_listTextLook.size = s.ch.halfPoints / 2.0;
            m_listTextLook.bold = s.ch.bold;
            m_listTextLook.italic = s.ch.italic;
            m_listTextLook.underline = s.ch.underline;
        }
        m_listText += text;
        break;
    case Dest::FontTable:
        m_fontNameText += text;
        break;
    default:
        break;
    }
}

void Reader::addUnicode(char16_t unit)
{
    flush();
    deliver(QString(QChar(unit)));
}

bool Reader::isBulletList(int ls, int level) const
{
    const auto o = m_overrides.find(ls);
    const int id = o == m_overrides.end() ? ls : o->second;
    for (const List& list : m_lists) {
        if (list.id != id)
            continue;
        if (list.levelFormats.empty())
            return false;
        const std::size_t l =
            std::min<std::size_t>(std::size_t(std::max(level, 0)), list.levelFormats.size() - 1);
        return list.levelFormats[l] == 23;
    }
    return false;
}

void sanitize(QString& text)
{
    QString out;
    bool changed = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            if (changed)
                out += QStringView(text).mid(i, 2);
            ++i;
            continue;
        }
        if (c.unicode() == 0x2029) { // one kind of line break inside a paragraph
            if (!changed) {
                out = text.left(i);
                changed = true;
            }
            out += QChar(0x2028);
            continue;
        }
        const bool control = (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F;
        const bool broken = c.isSurrogate();
        if (control || broken || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            if (!changed) {
                out = text.left(i);
                changed = true;
            }
            if (broken)
                out += QChar(QChar::ReplacementCharacter);
            continue;
        }
        if (changed)
            out += c;
    }
    if (changed)
        text = out;
}

void Reader::endParagraph()
{
    flush();
    const ParaState& p = state().para;
    Paragraph& para = m_paragraph;
    para.alignment = p.alignment;
    para.firstIndent = (p.leftTwips + p.firstTwips) / 20.0;
    para.leftIndent = -p.firstTwips / 20.0;
    para.rightIndent = p.rightTwips / 20.0;
    if (p.pn != Numbering::None)
        para.bullet = p.pn == Numbering::Bullet;
    else
        para.bullet = p.ls > 0 && isBulletList(p.ls, p.level);
    if (!para.bullet && !m_listText.isEmpty()) {
        // A numbered list keeps its numbers as text: the editor has bullets only.
        Run number = m_listTextLook;
        number.text = m_listText;
        para.runs.prepend(number);
        if (para.runs.size() > 1 && para.runs.at(1).sameLook(number)) {
            para.runs[0].text += para.runs.at(1).text;
            para.runs.removeAt(1);
        }
    }
    // Cleaned, runs may come out empty and their neighbours look alike.
    QList<Run> runs;
    runs.swap(para.runs);
    for (Run& run : runs) {
        sanitize(run.text);
        para.append(run);
    }
    m_document.paragraphs.append(std::move(para));
    m_paragraph = Paragraph{};
    m_listText.clear();
    m_paragraphStarted = false;
}

} // namespace reading

} // namespace rtf

} // namespace tarvik
