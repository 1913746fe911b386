#pragma once

#include "print/print_device.h"

#include <QFont>
#include <QPainter>
#include <QPoint>

class QPrinter;

namespace tarvik {

namespace print {

// The print device on a QPrinter: a QPainter drawing in the printer's device
// pixels, from the top-left corner of the printable area. Windows whose
// drawing the device model cannot say (rich text) reach the printer and the
// painter directly once the document has begun.
class QtPrintDevice : public PrintDevice
{
public:
    explicit QtPrintDevice(QPrinter& printer);
    // A document still open (a job that failed half-way) is aborted, so that
    // a partial document is never printed.
    ~QtPrintDevice() override;
    QtPrintDevice(const QtPrintDevice&) = delete;
    QtPrintDevice& operator=(const QtPrintDevice&) = delete;

    QPrinter& printer() { return m_printer; }
    QPainter& painter() { return m_painter; }

    // The font a print font resolves to: "Arial" is drawn in Liberation Sans,
    // whose letters have Arial's widths.
    static QFont qtFont(const Font& font);

    Orientation orientation() const override;
    void setOrientation(Orientation orientation) override;
    void setTitle(const QString& title) override;
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
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
    QPen pen() const;

    QPrinter& m_printer;
    QPainter m_painter;
    Font m_font{QStringLiteral("Arial"), 10, false};
    PenStyle m_penStyle = PenStyle::Solid;
    Rgb m_brush;
    QPoint m_position;
};

} // namespace print

} // namespace tarvik
