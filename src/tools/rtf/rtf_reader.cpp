#include "tools/rtf/rtf_reader.h"

#include "tools/rtf/rtf_file.h"
#include "tools/rtf/rtf_reader_parts.h"

#include <algorithm>

namespace tarvik {

namespace rtf {

namespace reading {

bool Reader::startsLikeRtf()
{
    while (m_pos < m_size && (m_data[m_pos] == ' ' || m_data[m_pos] == '\r' ||
                              m_data[m_pos] == '\n' || m_data[m_pos] == '\t'))
        ++m_pos;
    static const std::string_view Magic = "{\\rtf";
    return m_size - m_pos >= Magic.size() &&
           std::string_view(m_data + m_pos, Magic.size()) == Magic;
}

std::optional<ReadResult> Reader::run()
{
    if (!startsLikeRtf())
        return std::nullopt;
    m_stack.reserve(64);
    m_stack.push_back(State{});
    ++m_pos;
    m_groupStart = true;
    bool closed = false;
    while (m_pos < m_size && !closed) {
        const char c = m_data[m_pos];
        if (c == '{') {
            flush();
            ++m_pos;
            openGroup();
        } else if (c == '}') {
            flush();
            ++m_pos;
            closed = !closeGroup();
        } else if (c == '\\') {
            if (!readEscape())
                break;
        } else if (c == '\r' || c == '\n') {
            ++m_pos;
        } else {
            readText();
        }
    }
    return finish(closed);
}

bool Reader::readEscape()
{
    ++m_pos;
    if (m_pos >= m_size) {
        m_damaged = true;
        return false;
    }
    const char n = m_data[m_pos];
    if (isLetter(n))
        return readControlWord();
    if (n == '\'')
        return readHexEscape();
    ++m_pos;
    if (m_skipCount > 0 && n != '*') {
        --m_skipCount;
        m_groupStart = false;
        return true;
    }
    controlSymbol(n);
    return true;
}

bool Reader::readControlWord()
{
    const std::size_t start = m_pos;
    while (m_pos < m_size && isLetter(m_data[m_pos]))
        ++m_pos;
    // Names longer than any real control word are kept whole but match nothing.
    const std::string_view word(m_data + start, m_pos - start);
    bool hasParam = false;
    bool negative = false;
    std::int64_t value = 0;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    while (m_pos < m_size && isDigit(m_data[m_pos])) {
        hasParam = true;
        if (value <= MaxParam)
            value = value * 10 + (m_data[m_pos] - '0');
        ++m_pos;
    }
    value = std::min(value, MaxParam);
    if (m_pos < m_size && m_data[m_pos] == ' ')
        ++m_pos;
    const int param = int(negative ? -value : value);
    if (m_skipCount > 0 && word != "bin") {
        --m_skipCount;
        m_groupStart = false;
        return true;
    }
    controlWord(word, hasParam, param);
    m_groupStart = false;
    if (word == "bin" && hasParam) {
        // Binary data: skipped by its length, whatever its bytes.
        const std::size_t length = param > 0 ? std::size_t(param) : 0;
        if (length > m_size - m_pos) {
            m_damaged = true;
            m_pos = m_size;
            return false;
        }
        m_pos += length;
        if (m_skipCount > 0)
            --m_skipCount;
    }
    return true;
}

bool Reader::readHexEscape()
{
    ++m_pos;
    if (m_pos + 1 >= m_size) {
        m_damaged = true; // the file ends inside the escape
        m_pos = m_size;
        return false;
    }
    int byte = -1;
    const int hi = hexValue(m_data[m_pos]);
    const int lo = hexValue(m_data[m_pos + 1]);
    if (hi >= 0 && lo >= 0) {
        byte = hi * 16 + lo;
        m_pos += 2;
    }
    m_groupStart = false;
    if (byte < 0)
        return true; // a broken escape stands for nothing
    if (m_skipCount > 0) {
        --m_skipCount;
        return true;
    }
    const char b = char(byte);
    addBytes(&b, 1);
    return true;
}

void Reader::readText()
{
    m_groupStart = false;
    if (m_skipCount > 0) {
        --m_skipCount;
        ++m_pos;
        return;
    }
    // A stretch of plain text at once.
    std::size_t end = m_pos;
    const bool fontTable = state().dest == Dest::FontTable;
    while (end < m_size) {
        const char e = m_data[end];
        if (e == '{' || e == '}' || e == '\\' || e == '\r' || e == '\n' || (fontTable && e == ';'))
            break;
        ++end;
    }
    if (end == m_pos) { // the ';' closing a font name
        flush();
        endFontEntry();
        ++m_pos;
        return;
    }
    addBytes(m_data + m_pos, end - m_pos);
    m_pos = end;
}

ReadResult Reader::finish(bool closed)
{
    flush();
    if (!closed) {
        m_damaged = true; // truncated or braces left open
    } else {
        for (std::size_t i = m_pos; i < m_size; ++i) {
            const char c = m_data[i];
            if (c != '\0' && c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != '}') {
                m_damaged = true; // a closing brace too many: text is left behind it
                break;
            }
        }
    }
    if (!m_paragraph.runs.isEmpty() || m_paragraphStarted || !m_listText.isEmpty())
        endParagraph();
    if (m_document.paragraphs.isEmpty())
        m_document.paragraphs.append(Paragraph{});
    ReadResult result{std::move(m_document), {}};
    if (m_damaged)
        result.notices.add(damagedMessage(m_path));
    return result;
}

void Reader::openGroup()
{
    if (m_stack.size() >= MaxDepth)
        ++m_overflow;
    else
        m_stack.push_back(m_stack.back());
    m_groupStart = true;
    m_starred = false;
    m_skipCount = 0;
}

bool Reader::closeGroup()
{
    m_skipCount = 0;
    m_groupStart = false;
    m_starred = false;
    if (m_overflow > 0) {
        --m_overflow;
        return true;
    }
    if (m_stack.size() <= 1)
        return false;
    const State closing = m_stack.back();
    m_stack.pop_back();
    State& parent = m_stack.back();
    switch (closing.dest) {
    case Dest::FontTable:
        endFontEntry(); // {\f1 Arial} without its ';'
        break;
    case Dest::Pn:
        // The numbering belongs to the paragraph around the group.
        if (parent.dest != Dest::Pn)
            parent.para.pn = closing.para.pn;
        break;
    case Dest::ListOverrideTable:
        if (parent.dest == Dest::ListOverrideTable && m_overrideLs != 0) {
            m_overrides[m_overrideLs] = m_overrideList;
            m_overrideLs = 0;
        }
        break;
    default:
        break;
    }
    return true;
}

void Reader::endFontEntry()
{
    if (m_fontEntry >= 0 || !m_fontNameText.isEmpty()) {
        QString name = m_fontNameText;
        sanitize(name);
        name.remove(QLatin1Char('\t'));
        name.remove(QChar(0x2028));
        m_fonts[m_fontEntry].name = name.trimmed();
    }
    m_fontNameText.clear();
    m_fontEntry = -1;
}

} // namespace reading

std::optional<ReadResult> read(const QByteArray& data, const QString& path)
{
    return reading::Reader(data, path).run();
}

} // namespace rtf

} // namespace tarvik
