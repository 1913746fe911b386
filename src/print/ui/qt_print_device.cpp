#include "print/ui/qt_print_device.h"

#include "platform/errors.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPrinter>
#include <algorithm>

namespace tarvik {

namespace print {

QtPrintDevice::QtPrintDevice(QPrinter& printer) : m_printer(printer) {}

QtPrintDevice::~QtPrintDevice()
{
    if (m_painter.isActive()) {
        m_printer.abort();
        m_painter.end();
    }
}

QFont QtPrintDevice::qtFont(const Font& font)
{
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        return true;
    }();
    (void)substituted;
    QFont f(font.name);
    f.setPointSize(std::max(font.pointSize, 1));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

Orientation QtPrintDevice::orientation() const
{
    return m_printer.pageLayout().orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                                          : Orientation::Portrait;
}

void QtPrintDevice::setOrientation(Orientation orientation)
{
    m_printer.setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
}

void QtPrintDevice::setTitle(const QString& title)
{
    m_printer.setDocName(title);
}

void QtPrintDevice::beginDoc()
{
    if (!m_painter.begin(&m_printer))
        throw TarvikError(QStringLiteral("Impossible de lancer l'impression"));
    m_painter.setFont(qtFont(m_font));
    m_painter.setPen(pen());
    m_painter.setBrush(Qt::NoBrush);
}

void QtPrintDevice::newPage()
{
    if (!m_printer.newPage())
        throw TarvikError(QStringLiteral("Impossible de passer à la page suivante"));
}

void QtPrintDevice::endDoc()
{
    if (!m_painter.end())
        throw TarvikError(QStringLiteral("L'impression n'a pas pu être terminée"));
}

int QtPrintDevice::pageWidth() const
{
    return m_printer.width();
}

int QtPrintDevice::pageHeight() const
{
    return m_printer.height();
}

int QtPrintDevice::pageWidthMM() const
{
    return m_printer.widthMM();
}

int QtPrintDevice::pageHeightMM() const
{
    return m_printer.heightMM();
}

void QtPrintDevice::setFont(const Font& font)
{
    m_font = font;
    if (m_painter.isActive())
        m_painter.setFont(qtFont(font));
}

QPen QtPrintDevice::pen() const
{
    // About one pixel of a 300 dpi printer, so that rules show at any
    // resolution; the dashes are as long as that printer's.
    const int width = std::max(1, m_printer.resolution() / 300);
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap);
    if (m_penStyle == PenStyle::Dash)
        pen.setDashPattern({18, 6});
    return pen;
}

void QtPrintDevice::setPenStyle(PenStyle style)
{
    m_penStyle = style;
    if (m_painter.isActive())
        m_painter.setPen(pen());
}

void QtPrintDevice::setBrushColor(Rgb colour)
{
    m_brush = colour;
}

void QtPrintDevice::textOut(int x, int y, const QString& text)
{
    const QFontMetrics metrics = m_painter.fontMetrics();
    m_painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

void QtPrintDevice::moveTo(int x, int y)
{
    m_position = QPoint(x, y);
}

void QtPrintDevice::lineTo(int x, int y)
{
    const QPoint to(x, y);
    m_painter.drawLine(m_position, to);
    m_position = to;
}

void QtPrintDevice::fillRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    m_painter.fillRect(QRect(left, top, right - left, bottom - top),
                       QColor(m_brush.red, m_brush.green, m_brush.blue));
}

int QtPrintDevice::textWidth(const QString& text) const
{
    return QFontMetrics(qtFont(m_font), &m_printer).horizontalAdvance(text);
}

int QtPrintDevice::textHeight(const QString&) const
{
    return QFontMetrics(qtFont(m_font), &m_printer).height();
}

} // namespace print

} // namespace tarvik
