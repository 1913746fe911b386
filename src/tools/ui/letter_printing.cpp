#include "tools/ui/letter_printing.h"

#include <QList>
#include <algorithm>
#include <cmath>

namespace tarvik {

namespace letterprint {

namespace {

constexpr double MarginMm = 20;
constexpr double TabStopPoints = 36; // every half inch, as on screen
constexpr double BulletIndentPoints = 18;
const QString Bullet = QStringLiteral("\u2022");
constexpr QChar LineBreak(0x2028);

print::Font fontOf(const rtf::Run& run)
{
    return {run.font, std::max(1, int(std::lround(run.size))), run.bold, run.italic, run.underline};
}

// One piece of a line: a word with the spaces after it, or a tab.
struct Piece
{
    QString text;
    print::Font font;
    int width = 0;  // with the trailing spaces
    int inked = 0;  // without them
    int height = 0; // of the font
    bool tab = false;
    bool lineBreak = false;
};

// A paragraph cut into pieces measured on the device.
QList<Piece> piecesOf(const rtf::Paragraph& paragraph, print::PrintDevice& device)
{
    QList<Piece> pieces;
    for (const rtf::Run& run : paragraph.runs) {
        const print::Font font = fontOf(run);
        device.setFont(font);
        const int height = device.textHeight(QStringLiteral("Ag"));
        qsizetype i = 0;
        const QString& t = run.text;
        while (i < t.size()) {
            Piece piece{QString(), font, 0, 0, height};
            if (t.at(i) == QLatin1Char('\t') || t.at(i) == LineBreak) {
                piece.tab = t.at(i) == QLatin1Char('\t');
                piece.lineBreak = !piece.tab;
                ++i;
            } else {
                qsizetype end = i;
                while (end < t.size() && t.at(end) != QLatin1Char(' ') &&
                       t.at(end) != QLatin1Char('\t') && t.at(end) != LineBreak)
                    ++end;
                const QString word = t.mid(i, end - i);
                while (end < t.size() && t.at(end) == QLatin1Char(' '))
                    ++end;
                piece.text = t.mid(i, end - i);
                piece.inked = device.textWidth(word);
                piece.width = device.textWidth(piece.text);
                i = end;
            }
            pieces << piece;
        }
    }
    return pieces;
}

class Layout
{
public:
    explicit Layout(print::PrintDevice& device)
        : m_device(device), m_perMm(double(device.pageWidth()) / std::max(1, device.pageWidthMM())),
          m_margin(int(std::lround(MarginMm * m_perMm))), m_top(m_margin)
    {
    }

    void paragraph(const rtf::Paragraph& p)
    {
        const int left = m_margin + px(p.firstIndent);
        const int nextLeft = m_margin + px(p.firstIndent + p.leftIndent);
        const int right = m_device.pageWidth() - m_margin - px(p.rightIndent);
        const int bulletWidth = p.bullet ? px(BulletIndentPoints) : 0;
        QList<Piece> pieces = piecesOf(p, m_device);
        const print::Font first = fontOf(p.runs.isEmpty() ? rtf::Run{} : p.runs.first());
        if (pieces.isEmpty()) {
            // An empty paragraph is one blank line of its font.
            m_device.setFont(first);
            newLine(m_device.textHeight(QStringLiteral("Ag")));
            return;
        }
        bool firstLine = true;
        qsizetype at = 0;
        while (at < pieces.size()) {
            const int start = (firstLine ? left : nextLeft) + bulletWidth;
            const qsizetype end = lineEnd(pieces, at, start, std::max(start + 1, right));
            int height = 0;
            for (qsizetype i = at; i < end; ++i)
                height = std::max(height, pieces.at(i).height);
            startLine(height);
            if (firstLine && p.bullet) {
                m_device.setFont(first);
                m_device.textOut(left, m_y, Bullet);
            }
            drawLine(pieces, at, end, start, right, height, p.alignment);
            m_y += height;
            at = end;
            firstLine = false;
        }
    }

private:
    int px(double points) const { return int(std::lround(points / 72 * 25.4 * m_perMm)); }

    int tabFrom(int x, int start) const
    {
        const int step = std::max(1, px(TabStopPoints));
        return start + ((x - start) / step + 1) * step;
    }

    // One past the last piece that fits between start and right; always at
    // least one, so that a word wider than the line is printed on its own.
    qsizetype lineEnd(const QList<Piece>& pieces, qsizetype at, int start, int right) const
    {
        int x = start;
        qsizetype i = at;
        for (; i < pieces.size(); ++i) {
            const Piece& piece = pieces.at(i);
            if (piece.lineBreak)
                return i + 1;
            const int next = piece.tab ? tabFrom(x, start) : x + piece.inked;
            if (next > right && i > at)
                return i;
            x = piece.tab ? next : x + piece.width;
        }
        return i;
    }

    void drawLine(const QList<Piece>& pieces, qsizetype at, qsizetype end, int start, int right,
                  int height, rtf::Alignment alignment)
    {
        // The width the line takes, its last spaces aside, for the alignment.
        int width = 0;
        int x = start;
        for (qsizetype i = at; i < end; ++i) {
            const Piece& piece = pieces.at(i);
            if (piece.tab)
                x = tabFrom(x, start);
            width = x + piece.inked - start;
            x += piece.width;
        }
        int shift = 0;
        if (alignment == rtf::Alignment::Center)
            shift = std::max(0, (right - start - width) / 2);
        else if (alignment == rtf::Alignment::Right)
            shift = std::max(0, right - start - width);
        // Pieces of one font side by side go out as one text; a smaller font
        // stands on the line's foot.
        QString text;
        int textX = 0;
        const Piece* look = nullptr;
        auto out = [&] {
            if (!look || text.isEmpty())
                return;
            m_device.setFont(look->font);
            m_device.textOut(textX + shift, m_y + height - look->height, text);
            text.clear();
        };
        x = start;
        for (qsizetype i = at; i < end; ++i) {
            const Piece& piece = pieces.at(i);
            if (piece.tab) {
                out();
                x = tabFrom(x, start);
                continue;
            }
            if (piece.text.isEmpty())
                continue;
            if (!look || !(look->font == piece.font)) {
                out();
                look = &piece;
                textX = x;
            }
            text += piece.text;
            if (i + 1 == end)
                while (text.endsWith(QLatin1Char(' ')))
                    text.chop(1);
            x += piece.width;
        }
        out();
    }

    void startLine(int height)
    {
        if (m_y > m_top && m_y + height > m_device.pageHeight() - m_margin) {
            m_device.newPage();
            m_y = m_top;
        }
    }

    void newLine(int height)
    {
        startLine(height);
        m_y += height;
    }

    print::PrintDevice& m_device;
    double m_perMm;
    int m_margin;
    int m_top;
    int m_y = m_top;
};

} // namespace

void print(const rtf::Document& letter, print::PrintDevice& device)
{
    device.beginDoc();
    Layout layout(device);
    for (const rtf::Paragraph& paragraph : letter.paragraphs)
        layout.paragraph(paragraph);
    device.endDoc();
}

} // namespace letterprint

} // namespace tarvik
