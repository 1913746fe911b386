#include "print/recording_print_device.h"

#include "platform/errors.h"

#include <QStringList>

namespace tarvik {

namespace print {

namespace {

RecordingPrintDevice::Call call(RecordingPrintDevice::Call::Kind kind, int page, int x = 0,
                                int y = 0, int x2 = 0, int y2 = 0)
{
    RecordingPrintDevice::Call c;
    c.kind = kind;
    c.page = page;
    c.x = x;
    c.y = y;
    c.x2 = x2;
    c.y2 = y2;
    return c;
}

} // namespace

RecordingPrintDevice::RecordingPrintDevice(int widthPx, int heightPx, int widthMm, int heightMm)
    : m_widthPx(widthPx), m_heightPx(heightPx), m_widthMm(widthMm), m_heightMm(heightMm)
{
}

void RecordingPrintDevice::beginDoc()
{
    if (failToBegin)
        throw TarvikError(QStringLiteral("Impossible de lancer l'impression"));
    orientationsAtBegin.append(m_orientation);
    ++begun;
}

int RecordingPrintDevice::pageWidth() const
{
    return m_orientation == Orientation::Portrait ? m_widthPx : m_heightPx;
}

int RecordingPrintDevice::pageHeight() const
{
    return m_orientation == Orientation::Portrait ? m_heightPx : m_widthPx;
}

int RecordingPrintDevice::pageWidthMM() const
{
    return m_orientation == Orientation::Portrait ? m_widthMm : m_heightMm;
}

int RecordingPrintDevice::pageHeightMM() const
{
    return m_orientation == Orientation::Portrait ? m_heightMm : m_widthMm;
}

void RecordingPrintDevice::setFont(const Font& font)
{
    m_font = font;
    Call c = call(Call::Kind::Font, m_page);
    c.font = font;
    calls.append(c);
}

void RecordingPrintDevice::setPenStyle(PenStyle style)
{
    Call c = call(Call::Kind::Pen, m_page);
    c.pen = style;
    calls.append(c);
}

void RecordingPrintDevice::setBrushColor(Rgb colour)
{
    Call c = call(Call::Kind::Brush, m_page);
    c.brush = colour;
    calls.append(c);
}

void RecordingPrintDevice::textOut(int x, int y, const QString& text)
{
    Call c = call(Call::Kind::Text, m_page, x, y);
    c.text = text;
    calls.append(c);
}

void RecordingPrintDevice::moveTo(int x, int y)
{
    calls.append(call(Call::Kind::MoveTo, m_page, x, y));
}

void RecordingPrintDevice::lineTo(int x, int y)
{
    calls.append(call(Call::Kind::LineTo, m_page, x, y));
}

void RecordingPrintDevice::fillRect(int left, int top, int right, int bottom)
{
    calls.append(call(Call::Kind::FillRect, m_page, left, top, right, bottom));
}

int RecordingPrintDevice::textWidth(const QString& text) const
{
    const int perMm = pageWidthMM() > 0 ? pageWidth() / pageWidthMM() : 1;
    return static_cast<int>(text.size()) * m_font.pointSize * perMm / 5;
}

int RecordingPrintDevice::textHeight(const QString&) const
{
    const int perMm = pageHeightMM() > 0 ? pageHeight() / pageHeightMM() : 1;
    return m_font.pointSize * perMm * 2 / 5;
}

QStringList RecordingPrintDevice::texts() const
{
    QStringList out;
    for (const Call& c : calls)
        if (c.kind == Call::Kind::Text)
            out << QStringLiteral("%1:%2:%3:%4").arg(c.page).arg(c.x).arg(c.y).arg(c.text);
    return out;
}

QList<RecordingPrintDevice::Call> RecordingPrintDevice::textsOnPage(int page) const
{
    QList<Call> out;
    for (const Call& c : calls)
        if (c.kind == Call::Kind::Text && c.page == page)
            out.append(c);
    return out;
}

const RecordingPrintDevice::Call* RecordingPrintDevice::findText(const QString& text) const
{
    for (const Call& c : calls)
        if (c.kind == Call::Kind::Text && c.text == text)
            return &c;
    return nullptr;
}

} // namespace print

} // namespace tarvik
