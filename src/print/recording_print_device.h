#pragma once

#include "print/print_device.h"

#include <QList>
#include <QString>

namespace tarvik {

namespace print {

// A print device that keeps every drawing call, page by page, so that a test
// can say "text X at (x, y) on page n". Text measures are those of a fixed
// pitch font, near enough to Arial's: a character is point size / 5 mm wide
// and a line point size x 2 / 5 mm high (2 mm and 4 mm at 10 points).
class RecordingPrintDevice : public PrintDevice
{
public:
    struct Call
    {
        enum class Kind { Text, MoveTo, LineTo, FillRect, Font, Pen, Brush };
        Kind kind = Kind::Text;
        int page = 0; // 0-based page the call was drawn on
        int x = 0;
        int y = 0;
        int x2 = 0;
        int y2 = 0;
        QString text;
        Font font;
        PenStyle pen = PenStyle::Solid;
        Rgb brush;
    };

    // A device of widthPx x heightPx printable pixels over widthMm x heightMm
    // millimetres, in portrait; landscape swaps the two.
    RecordingPrintDevice(int widthPx = 2362, int heightPx = 3390, int widthMm = 200,
                         int heightMm = 287);

    QList<Call> calls;
    QString title;
    int begun = 0;
    int ended = 0;
    // The orientation each beginDoc() found.
    QList<Orientation> orientationsAtBegin;
    // When set, beginDoc() throws as a printer that cannot start would.
    bool failToBegin = false;

    int pageCount() const { return m_page + (begun > 0 ? 1 : 0); }
    // The text calls, as "page:x:y:text", in drawing order.
    QStringList texts() const;
    // The text calls of one page.
    QList<Call> textsOnPage(int page) const;
    // The first text call whose text is exactly `text`, or nullptr.
    const Call* findText(const QString& text) const;

    Orientation orientation() const override { return m_orientation; }
    void setOrientation(Orientation orientation) override { m_orientation = orientation; }
    void setTitle(const QString& t) override { title = t; }
    void beginDoc() override;
    void newPage() override { ++m_page; }
    void endDoc() override { ++ended; }
    int pageWidth() const override;
    int pageHeight() const override;
    int pageWidthMM() const override;
    int pageHeightMM() const override;
    Font font() const override { return m_font; }
    void setFont(const Font& font) override;
    void setPenStyle(PenStyle style) override;
    void setBrushColor(Rgb colour) override;
    void textOut(int x, int y, const QString& text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void fillRect(int left, int top, int right, int bottom) override;
    int textWidth(const QString& text) const override;
    int textHeight(const QString& text) const override;

private:
    int m_widthPx;
    int m_heightPx;
    int m_widthMm;
    int m_heightMm;
    Orientation m_orientation = Orientation::Portrait;
    Font m_font{QStringLiteral("Arial"), 10, false};
    int m_page = 0;
};

} // namespace print

} // namespace tarvik
