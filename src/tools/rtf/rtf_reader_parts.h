#pragma once

// The RTF reader's own parts, shared by the files it is written in: the state
// of a group, and the reader that walks the data once.

#include "tools/rtf/rtf_reader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace tarvik {

namespace rtf {

namespace reading {

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

inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline int hexValue(char c)
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
bool isSkippedDestination(std::string_view w);

// Keeps only what a paragraph of the editor can hold: no NUL or control
// characters other than the tab, no half of a surrogate pair.
void sanitize(QString& text);

class Reader
{
public:
    Reader(const QByteArray& data, const QString& path)
        : m_data(data.constData()), m_size(std::size_t(data.size())), m_path(path)
    {
    }

    std::optional<ReadResult> run();

private:
    State& state() { return m_stack.back(); }

    // The walk over the data; each step returns false when the data ends in
    // the middle of what it reads.
    bool startsLikeRtf();
    bool readEscape();
    bool readControlWord();
    bool readHexEscape();
    void readText();
    ReadResult finish(bool closed);

    void openGroup();
    bool closeGroup(); // false when the document's own group closed

    // The control words, by what they change.
    void controlWord(std::string_view word, bool hasParam, int param);
    void controlSymbol(char c);
    bool destinationWord(std::string_view word);
    bool tableWord(std::string_view word, int param, bool starred);
    bool characterWord(std::string_view word, bool hasParam, int param);
    bool formatWord(std::string_view word, bool hasParam, int param);
    void documentWord(std::string_view word, int param);

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
    QString m_path;
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

} // namespace reading

} // namespace rtf

} // namespace tarvik
