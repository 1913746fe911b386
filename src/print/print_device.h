#pragma once

#include <QString>

namespace tarvik {

namespace print {

enum class Orientation { Portrait, Landscape };
enum class PenStyle { Solid, Dash };

struct Rgb
{
    int red = 255;
    int green = 255;
    int blue = 255;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Font
{
    QString name;
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// What a report asks of a printer. Every position is in device pixels from
// the top-left corner of the printable area. The windows give a QPainter on a
// QPrinter; the tests give a recording device.
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;

    virtual Orientation orientation() const = 0;
    virtual void setOrientation(Orientation orientation) = 0;
    // The name the print spooler shows for the job.
    virtual void setTitle(const QString& title) = 0;

    // Starts the document. Throws TarvikError with a French text when it
    // cannot (no printer, a PDF file that cannot be written).
    virtual void beginDoc() = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;

    // The printable area of the current orientation.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int pageWidthMM() const = 0;
    virtual int pageHeightMM() const = 0;

    virtual Font font() const = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setPenStyle(PenStyle style) = 0;
    virtual void setBrushColor(Rgb colour) = 0;

    // Text whose top-left corner stands at (x, y).
    virtual void textOut(int x, int y, const QString& text) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // Fills the rectangle from (left, top) to (right, bottom), right and
    // bottom excluded, with the brush colour.
    virtual void fillRect(int left, int top, int right, int bottom) = 0;

    virtual int textWidth(const QString& text) const = 0;
    virtual int textHeight(const QString& text) const = 0;
};

// The millimetre page model: whole millimetres to device pixels, the
// pixels-per-millimetre factor truncated before it is multiplied. Every
// vertical position is 3 mm lower than asked.
int Mh(const PrintDevice& device, int mm);
int Mv(const PrintDevice& device, int mm);

} // namespace print

} // namespace tarvik
