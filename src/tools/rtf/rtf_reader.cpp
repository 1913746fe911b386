#include "tools/rtf/rtf_reader.h"

#include "tools/rtf/rtf_code_pages.h"

#include <QHash>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace tarvik {

namespace rtf {
namespace {

// Where the text of a group goes.
enum class Dest {
    Text,              // the document
    Skip,              // nowhere: pictures, styles, headers, unknown {\*...}
    FontTable,         // font names
    ListText,          // the bullet or number a paragraph shows (\pntext, \listtext)
    Pn,                // WordPad's numbering of a paragraph (\pn)
    ListTable,         // the lists (\listtable)
    ListOverrideTable, // \ls numbers to lists (\listoverridetable)
};

enum class Numbering : std::uint8_t { None, Bullet, Numbered };

struct CharState
{
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
};

struct ParaState
{
    Alignment alignment = Alignment::Left;
    int firstTwips = 0; // \fi: first line against the left indent
    int leftTwips = 0;  // \li
    int rightTwips = 0; // \ri
    Numbering pn = Numbering::None;
    int ls = 0;
    int level = 0;
};

struct State
{
    Dest dest = Dest::Text;
    CharState ch;
    ParaState para;
    int uc = 1;
};

struct Font
{
    QString name;
    int charset = 0;
};

struct List
{
    int id = 0;
    std::vector<int> levelFormats; // \levelnfc of each level; 23 is a bullet
};

// Beyond this depth groups share the deepest state instead of stacking a new
// one, so that a file of nothing but braces cannot exhaust memory.
constexpr std::size_t MaxDepth = 10000;
constexpr int MaxTwips = 31680; // 22 inches, the widest page anyone lays out
constexpr std::int64_t MaxParam = 0x7fffffff;

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose content is never text of the letter.
bool isSkippedDestination(std::string_view w)
{
    static const QHash<QByteArray, bool> skipped = [] {
        QHash<QByteArray, bool> h;
        for (const char* name : {"colortbl",
                                 "stylesheet",
                                 "info",
                                 "pict",
                                 "object",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "atndate",
                                 "atnref",
                                 "fldinst",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "bkmkstart",
                                 "bkmkend",
                                 "themedata",
                                 "datastore",
                                 "latentstyles",
                                 "rsidtbl",
                                 "generator",
                                 "xmlnstbl",
                                 "mmathPr",
                                 "listpicture",
                                 "pgdsctbl",
                                 "revtbl",
                                 "filetbl",
                                 "nonshppict",
                                 "shp",
                                 "shpinst",
                                 "shprslt",
                                 "sp",
                                 "docvar",
                                 "userprops",
                                 "ftnsep",
                                 "ftnsepc",
                                 "ftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "aftncn",
                                 "template",
                                 "password",
                                 "pnseclvl",
                                 "wgrffmtfilter",
                                 "fchars",
                                 "lchars",
                                 "keywords",
                                 "comment",
                                 "title",
                                 "subject",
                                 "author",
                                 "operator",
                                 "doccomm",
                                 "hlinkbase",
                                 "company",
                                 "category",
                                 "manager",
                                 "objdata",
                                 "background",
                                 "pntxta",
                                 "pntxtb",
                                 "leveltext",
                                 "levelnumbers",
                                 "listname",
                                 "colorschememapping",
                                 "passwordhash",
                                 "formfield",
                                 "datafield",
                                 "blipuid",
                                 "picprop",
                                 "private",
                                 "ud",
                                 "fontemb",
                                 "fontfile",
                                 "panose",
                                 "falt",
                                 "expandedcolortbl",
                                 "defchp",
                                 "defpap",
                                 "ftnalt",
                                 "tcn"}) {
            h.insert(QByteArray(name), true);
        }
        return h;
    }();
    return skipped.contains(QByteArray::fromRawData(w.data(), qsizetype(w.size())));
}

void sanitize(QString& text);

class Reader
{
public:
    explicit Reader(const QByteArray& data)
        : m_data(data.constData()), m_size(std::size_t(data.size()))
    {
    }

    std::optional<ReadResult> run();

private:
    State& state() { return m_stack.back(); }
    void openGroup();
    bool closeGroup(); // false when the document's own group closed
    void controlWord(std::string_view word, bool hasParam, int param);
    void controlSymbol(char c);
    void addBytes(const char* bytes, std::size_t count);
    void addUnicode(char16_t unit);
    void flush();
    void deliver(const QString& text);
    void endParagraph();
    void endFontEntry();
    int codePageFor(const State& s) const;
    QString fontName(int index) const;
    bool isBulletList(int ls, int level) const;

    const char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;

    std::vector<State> m_stack;
    std::size_t m_overflow = 0; // groups opened past MaxDepth
    bool m_groupStart = false;  // nothing read yet in the group just opened
    bool m_starred = false;     // \* seen at the start of the group
    int m_skipCount = 0;        // fallback characters still to skip after \u

    int m_codePage = 1252;
    int m_defaultFont = -1;
    std::map<int, Font> m_fonts;
    int m_fontEntry = -1;
    QString m_fontNameText;
    std::vector<List> m_lists;
    std::map<int, int> m_overrides; // \ls number -> list id
    int m_overrideLs = 0;
    int m_overrideList = 0;

    QByteArray m_pending; // bytes not decoded yet, all read under the current state
    Dest m_pendingDest = Dest::Text;

    Paragraph m_paragraph;
    QString m_listText;
    Run m_listTextLook;
    bool m_paragraphStarted = false;
    Document m_document;
    bool m_damaged = false;
};

std::optional<ReadResult> Reader::run()
{
    while (m_pos < m_size && (m_data[m_pos] == ' ' || m_data[m_pos] == '\r' ||
                              m_data[m_pos] == '\n' || m_data[m_pos] == '\t'))
        ++m_pos;
    static const std::string_view Magic = "{\\rtf";
    if (m_size - m_pos < Magic.size() || std::string_view(m_data + m_pos, Magic.size()) != Magic)
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
            ++m_pos;
            if (m_pos >= m_size) {
                m_damaged = true;
                break;
            }
            const char n = m_data[m_pos];
            if (isLetter(n)) {
                const std::size_t start = m_pos;
                while (m_pos < m_size && isLetter(m_data[m_pos]))
                    ++m_pos;
                // Names longer than any real control word are kept whole but
                // match nothing.
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
                    continue;
                }
                controlWord(word, hasParam, param);
                m_groupStart = false;
                if (word == "bin" && hasParam) {
                    // Binary data: skipped by its length, whatever its bytes.
                    const std::size_t length = param > 0 ? std::size_t(param) : 0;
                    if (length > m_size - m_pos) {
                        m_damaged = true;
                        m_pos = m_size;
                        break;
                    }
                    m_pos += length;
                    if (m_skipCount > 0)
                        --m_skipCount;
                }
            } else if (n == '\'') {
                ++m_pos;
                if (m_pos + 1 >= m_size) {
                    m_damaged = true; // the file ends inside the escape
                    m_pos = m_size;
                    break;
                }
                int byte = -1;
                {
                    const int hi = hexValue(m_data[m_pos]);
                    const int lo = hexValue(m_data[m_pos + 1]);
                    if (hi >= 0 && lo >= 0) {
                        byte = hi * 16 + lo;
                        m_pos += 2;
                    }
                }
                m_groupStart = false;
                if (byte < 0)
                    continue; // a broken escape stands for nothing
                if (m_skipCount > 0) {
                    --m_skipCount;
                    continue;
                }
                const char b = char(byte);
                addBytes(&b, 1);
            } else {
                ++m_pos;
                if (m_skipCount > 0 && n != '*') {
                    --m_skipCount;
                    m_groupStart = false;
                    continue;
                }
                controlSymbol(n);
            }
        } else if (c == '\r' || c == '\n') {
            ++m_pos;
        } else {
            m_groupStart = false;
            if (m_skipCount > 0) {
                --m_skipCount;
                ++m_pos;
                continue;
            }
            // A stretch of plain text at once.
            std::size_t end = m_pos;
            const bool fontTable = state().dest == Dest::FontTable;
            while (end < m_size) {
                const char e = m_data[end];
                if (e == '{' || e == '}' || e == '\\' || e == '\r' || e == '\n' ||
                    (fontTable && e == ';'))
                    break;
                ++end;
            }
            if (end == m_pos) { // the ';' closing a font name
                flush();
                endFontEntry();
                ++m_pos;
                continue;
            }
            addBytes(m_data + m_pos, end - m_pos);
            m_pos = end;
        }
    }

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
    return ReadResult{std::move(m_document), m_damaged};
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

// Keeps only what a paragraph of the editor can hold: no NUL or control
// characters other than the tab, no half of a surrogate pair.
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

void Reader::controlSymbol(char c)
{
    switch (c) {
    case '*':
        if (m_groupStart)
            m_starred = true;
        return;
    case '\\':
    case '{':
    case '}':
        m_groupStart = false;
        addBytes(&c, 1);
        return;
    case '~':
        m_groupStart = false;
        addUnicode(0x00A0);
        return;
    case '_':
        m_groupStart = false;
        addUnicode(0x2011);
        return;
    case '\r':
    case '\n':
        m_groupStart = false;
        if (state().dest == Dest::Text)
            endParagraph();
        return;
    default: // \- optional hyphen, \: index entry, \| formula: nothing to show
        m_groupStart = false;
        return;
    }
}

void Reader::controlWord(std::string_view w, bool hasParam, int param)
{
    State& s = state();
    const bool starred = m_starred && m_groupStart;
    m_starred = false;
    const bool on = !hasParam || param != 0;

    if (s.dest == Dest::Skip)
        return;

    // Destinations first.
    if (w == "fonttbl") {
        flush();
        s.dest = Dest::FontTable;
        return;
    }
    if (w == "pntext" || w == "listtext") {
        flush();
        s.dest = Dest::ListText;
        return;
    }
    if (w == "pn") {
        flush();
        s.dest = Dest::Pn;
        s.para.pn = Numbering::Numbered;
        return;
    }
    if (w == "listtable") {
        s.dest = Dest::ListTable;
        return;
    }
    if (w == "listoverridetable") {
        s.dest = Dest::ListOverrideTable;
        return;
    }
    if (isSkippedDestination(w)) {
        flush();
        s.dest = Dest::Skip;
        return;
    }

    switch (s.dest) {
    case Dest::FontTable:
        if (w == "f") {
            endFontEntry();
            m_fontEntry = param;
            m_fonts[param] = Font{};
            return;
        }
        if (w == "fcharset") {
            if (m_fontEntry >= 0)
                m_fonts[m_fontEntry].charset = param;
            return;
        }
        if (w != "u" && w != "uc") { // \u: a name outside the code page
            if (starred)
                s.dest = Dest::Skip;
            return;
        }
        break;
    case Dest::Pn:
        if (w == "pnlvlblt")
            s.para.pn = Numbering::Bullet;
        else if (starred)
            s.dest = Dest::Skip;
        return;
    case Dest::ListTable:
        if (w == "list") {
            m_lists.push_back(List{});
        } else if (w == "listlevel" && !m_lists.empty()) {
            m_lists.back().levelFormats.push_back(0);
        } else if ((w == "levelnfc" || w == "levelnfcn") && !m_lists.empty() &&
                   !m_lists.back().levelFormats.empty()) {
            m_lists.back().levelFormats.back() = param;
        } else if (w == "listid" && !m_lists.empty()) {
            m_lists.back().id = param;
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    case Dest::ListOverrideTable:
        if (w == "listid")
            m_overrideList = param;
        else if (w == "ls")
            m_overrideLs = param;
        else if (starred)
            s.dest = Dest::Skip;
        return;
    default:
        break;
    }

    if (starred) {
        // {\*\word ...} that the reader does not know: skip the whole group.
        flush();
        s.dest = Dest::Skip;
        return;
    }

    const bool text = s.dest == Dest::Text;

    // Characters.
    if (w == "par" || w == "sect" || w == "page" || w == "row") {
        if (text)
            endParagraph();
        return;
    }
    if (w == "tab" || w == "cell") {
        addUnicode(u'\t');
        return;
    }
    if (w == "line") {
        addUnicode(0x2028);
        return;
    }
    if (w == "u") {
        int unit = param < 0 ? param + 65536 : param;
        if (hasParam && unit > 0 && unit <= 0xFFFF)
            addUnicode(char16_t(unit));
        m_skipCount = s.uc;
        return;
    }
    static const std::pair<std::string_view, char16_t> symbols[] = {
        {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003}, {"enspace", 0x2002},
        {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},     {"zwnj", 0x200C},
        {"zwbo", 0x200B},      {"zwnbo", 0x2060},
    };
    for (const auto& [name, unit] : symbols) {
        if (w == name) {
            addUnicode(unit);
            return;
        }
    }

    // Every change of state below ends the bytes read under the old one.
    flush();
    if (w == "plain") {
        s.ch = CharState{};
    } else if (w == "b") {
        s.ch.bold = on;
    } else if (w == "i") {
        s.ch.italic = on;
    } else if (w == "ulnone") {
        s.ch.underline = false;
    } else if (w.size() >= 2 && w.substr(0, 2) == "ul" && w != "ulc") {
        s.ch.underline = on; // \ul and its dotted, double, wavy ... kinds
    } else if (w == "v") {
        s.ch.hidden = on;
    } else if (w == "f") {
        s.ch.font = param;
    } else if (w == "fs") {
        s.ch.halfPoints = hasParam && param > 0 ? std::clamp(param, 2, 3276) : 24;
    } else if (w == "pard") {
        s.para = ParaState{};
        if (text)
            m_paragraphStarted = true;
    } else if (w == "ql") {
        s.para.alignment = Alignment::Left;
    } else if (w == "qc") {
        s.para.alignment = Alignment::Center;
    } else if (w == "qr") {
        s.para.alignment = Alignment::Right;
    } else if (w == "qj" || w == "qd") {
        s.para.alignment = Alignment::Justify;
    } else if (w == "fi") {
        s.para.firstTwips = std::clamp(param, -MaxTwips, MaxTwips);
    } else if (w == "li" || w == "lin") {
        s.para.leftTwips = std::clamp(param, -MaxTwips, MaxTwips);
    } else if (w == "ri" || w == "rin") {
        s.para.rightTwips = std::clamp(param, -MaxTwips, MaxTwips);
    } else if (w == "ls") {
        s.para.ls = param;
    } else if (w == "ilvl") {
        s.para.level = std::clamp(param, 0, 8);
    } else if (w == "uc") {
        s.uc = std::clamp(param, 0, 255);
    } else if (w == "ansicpg") {
        if (param > 0 && !codecNameForCodePage(param).isEmpty())
            m_codePage = param;
    } else if (w == "mac") {
        m_codePage = 10000;
    } else if (w == "pc") {
        m_codePage = 437;
    } else if (w == "pca") {
        m_codePage = 850;
    } else if (w == "ansi") {
        m_codePage = 1252;
    } else if (w == "deff") {
        m_defaultFont = param;
    }
}

} // namespace

std::optional<ReadResult> read(const QByteArray& data)
{
    return Reader(data).run();
}

} // namespace rtf

} // namespace tarvik
