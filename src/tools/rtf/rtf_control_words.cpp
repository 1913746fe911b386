#include "tools/rtf/rtf_code_pages.h"
#include "tools/rtf/rtf_reader_parts.h"

#include <QHash>
#include <algorithm>

// The control words and symbols of RTF, and what each does to the reader.

namespace tarvik {

namespace rtf {

namespace reading {

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
    if (s.dest == Dest::Skip || destinationWord(w) || tableWord(w, param, starred))
        return;
    if (starred) {
        // {\*\word ...} that the reader does not know: skip the whole group.
        flush();
        s.dest = Dest::Skip;
        return;
    }
    if (characterWord(w, hasParam, param))
        return;
    // Every change of state below ends the bytes read under the old one.
    flush();
    if (!formatWord(w, hasParam, param))
        documentWord(w, param);
}

bool Reader::destinationWord(std::string_view w)
{
    State& s = state();
    if (w == "fonttbl") {
        flush();
        s.dest = Dest::FontTable;
    } else if (w == "pntext" || w == "listtext") {
        flush();
        s.dest = Dest::ListText;
    } else if (w == "pn") {
        flush();
        s.dest = Dest::Pn;
        s.para.pn = Numbering::Numbered;
    } else if (w == "listtable") {
        s.dest = Dest::ListTable;
    } else if (w == "listoverridetable") {
        s.dest = Dest::ListOverrideTable;
    } else if (isSkippedDestination(w)) {
        flush();
        s.dest = Dest::Skip;
    } else {
        return false;
    }
    return true;
}

// The words inside the tables of the document's head; true when the word was
// one of the table's, or the table has no use for it.
bool Reader::tableWord(std::string_view w, int param, bool starred)
{
    State& s = state();
    switch (s.dest) {
    case Dest::FontTable:
        if (w == "f") {
            endFontEntry();
            m_fontEntry = param;
            m_fonts[param] = Font{};
            return true;
        }
        if (w == "fcharset") {
            if (m_fontEntry >= 0)
                m_fonts[m_fontEntry].charset = param;
            return true;
        }
        if (w == "u" || w == "uc") // \u: a name outside the code page
            return false;
        break;
    case Dest::Pn:
        if (w == "pnlvlblt") {
            s.para.pn = Numbering::Bullet;
            return true;
        }
        break;
    case Dest::ListTable:
        if (w == "list") {
            m_lists.push_back(List{});
            return true;
        }
        if (m_lists.empty())
            break;
        if (w == "listlevel") {
            m_lists.back().levelFormats.push_back(0);
            return true;
        }
        if ((w == "levelnfc" || w == "levelnfcn") && !m_lists.back().levelFormats.empty()) {
            m_lists.back().levelFormats.back() = param;
            return true;
        }
        if (w == "listid") {
            m_lists.back().id = param;
            return true;
        }
        break;
    case Dest::ListOverrideTable:
        if (w == "listid") {
            m_overrideList = param;
            return true;
        }
        if (w == "ls") {
            m_overrideLs = param;
            return true;
        }
        break;
    default:
        return false;
    }
    if (starred)
        s.dest = Dest::Skip;
    return true;
}

// The words that stand for characters.
bool Reader::characterWord(std::string_view w, bool hasParam, int param)
{
    if (w == "par" || w == "sect" || w == "page" || w == "row") {
        if (state().dest == Dest::Text)
            endParagraph();
        return true;
    }
    if (w == "tab" || w == "cell") {
        addUnicode(u'\t');
        return true;
    }
    if (w == "line") {
        addUnicode(0x2028);
        return true;
    }
    if (w == "u") {
        int unit = param < 0 ? param + 65536 : param;
        if (hasParam && unit > 0 && unit <= 0xFFFF)
            addUnicode(char16_t(unit));
        m_skipCount = state().uc;
        return true;
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
            return true;
        }
    }
    return false;
}

// The look of characters and paragraphs.
bool Reader::formatWord(std::string_view w, bool hasParam, int param)
{
    State& s = state();
    const bool on = !hasParam || param != 0;
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
        if (s.dest == Dest::Text)
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
    } else {
        return false;
    }
    return true;
}

// The code page, the default font and the Unicode fallback count.
void Reader::documentWord(std::string_view w, int param)
{
    if (w == "uc") {
        state().uc = std::clamp(param, 0, 255);
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

} // namespace reading

} // namespace rtf

} // namespace tarvik
