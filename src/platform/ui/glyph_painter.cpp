#include "platform/ui/glyph_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tarvik {

namespace glyphs {

namespace {

const QColor Ink(40, 60, 110);
const QColor Paper(250, 250, 245);
const QColor Accent(210, 140, 30);

void page(QPainter& p, const QRectF& r)
{
    QPolygonF sheet;
    sheet << r.topLeft() << QPointF(r.right() - 5, r.top()) << QPointF(r.right(), r.top() + 5)
          << r.bottomRight() << r.bottomLeft();
    p.setBrush(Paper);
    p.drawPolygon(sheet);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void arrow(QPainter& p, bool left, double x)
{
    QPolygonF a;
    if (left)
        a << QPointF(x + 8, 6) << QPointF(x, 12) << QPointF(x + 8, 18);
    else
        a << QPointF(x, 6) << QPointF(x + 8, 12) << QPointF(x, 18);
    p.setBrush(Ink);
    p.drawPolygon(a);
}

// Five lines of text, flush left (0), centred (1) or flush right (2).
void lines(QPainter& p, int kind)
{
    const double widths[] = {17, 12, 17, 10, 14};
    for (int i = 0; i < 5; ++i) {
        const double w = widths[i];
        const double y = 5 + i * 3.6;
        const double x = kind == 1 ? 12 - w / 2 : kind == 2 ? 20.5 - w : 3.5;
        p.drawLine(QPointF(x, y), QPointF(x + w, y));
    }
}

// Files, sheets and what prints them.
void paintDocumentGlyph(QPainter& p, Glyph g)
{
    switch (g) {
    case Glyph::NewFile:
        page(p, QRectF(5, 2, 14, 20));
        p.setPen(QPen(Accent, 2));
        p.drawLine(QPointF(12, 9), QPointF(12, 17));
        p.drawLine(QPointF(8, 13), QPointF(16, 13));
        break;
    case Glyph::Open: {
        p.setBrush(QColor(240, 200, 90));
        QPolygonF folder;
        folder << QPointF(2, 6) << QPointF(9, 6) << QPointF(11, 8) << QPointF(21, 8)
               << QPointF(21, 19) << QPointF(2, 19);
        p.drawPolygon(folder);
        p.setBrush(QColor(250, 220, 120));
        QPolygonF flap;
        flap << QPointF(5, 11) << QPointF(23, 11) << QPointF(20, 19) << QPointF(2, 19);
        p.drawPolygon(flap);
        break;
    }
    case Glyph::Save:
        p.setBrush(Ink);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(7, 14, 10, 7));
        break;
    case Glyph::Copy:
        page(p, QRectF(3, 2, 12, 15));
        page(p, QRectF(9, 7, 12, 15));
        break;
    case Glyph::Paste:
        p.setBrush(QColor(180, 130, 70));
        p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(8, 2, 8, 4));
        page(p, QRectF(8, 9, 10, 11));
        break;
    case Glyph::PrintRecord:
        p.setBrush(Paper);
        p.drawRect(QRectF(7, 2, 10, 8));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(6, 15, 12, 7));
        break;
    case Glyph::Envelope:
        p.setBrush(Paper);
        p.drawRect(QRectF(2, 5, 20, 14));
        p.drawLine(QPointF(2, 5), QPointF(12, 13));
        p.drawLine(QPointF(22, 5), QPointF(12, 13));
        break;
    default:
        break;
    }
}

// The moves and pages of the record window.
void paintRecordGlyph(QPainter& p, Glyph g)
{
    switch (g) {
    case Glyph::First:
        p.setBrush(Ink);
        p.drawRect(QRectF(5, 6, 2, 12));
        arrow(p, true, 9);
        break;
    case Glyph::Previous:
        arrow(p, true, 8);
        break;
    case Glyph::Next:
        arrow(p, false, 8);
        break;
    case Glyph::Last:
        arrow(p, false, 7);
        p.setBrush(Ink);
        p.drawRect(QRectF(17, 6, 2, 12));
        break;
    case Glyph::HistoryTab:
        page(p, QRectF(4, 2, 16, 20));
        for (int y = 7; y <= 17; y += 4)
            p.drawLine(QPointF(7, y), QPointF(17, y));
        break;
    case Glyph::CommentTab: {
        p.setBrush(QColor(255, 245, 170));
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(2, 3, 20, 13), 4, 4);
        p.drawPath(bubble);
        QPolygonF tail;
        tail << QPointF(7, 15) << QPointF(6, 21) << QPointF(12, 15);
        p.drawPolygon(tail);
        break;
    }
    case Glyph::NewRecord:
        p.setBrush(Paper);
        p.drawRect(QRectF(3, 4, 16, 14));
        p.setPen(QPen(Accent, 2.4));
        p.drawLine(QPointF(18, 11), QPointF(18, 21));
        p.drawLine(QPointF(13, 16), QPointF(23, 16));
        break;
    case Glyph::Contacts:
        p.setBrush(QColor(120, 160, 220));
        p.drawEllipse(QRectF(8, 3, 8, 8));
        p.drawRoundedRect(QRectF(4, 12, 16, 9), 4, 4);
        break;
    case Glyph::Operations:
        p.setBrush(Accent);
        p.drawRect(QRectF(4, 12, 4, 9));
        p.setBrush(QColor(90, 160, 90));
        p.drawRect(QRectF(10, 6, 4, 15));
        p.setBrush(QColor(120, 160, 220));
        p.drawRect(QRectF(16, 9, 4, 12));
        break;
    default:
        break;
    }
}

// The word processor's formatting.
void paintTextGlyph(QPainter& p, Glyph g)
{
    switch (g) {
    case Glyph::AlignLeft:
        lines(p, 0);
        break;
    case Glyph::AlignCenter:
        lines(p, 1);
        break;
    case Glyph::AlignRight:
        lines(p, 2);
        break;
    case Glyph::Bullets:
        for (int i = 0; i < 3; ++i) {
            const double y = 6 + i * 6;
            p.setBrush(Ink);
            p.drawEllipse(QPointF(5, y), 1.9, 1.9);
            p.drawLine(QPointF(10, y), QPointF(21, y));
        }
        break;
    case Glyph::Font: {
        QFont f(QStringLiteral("Times New Roman"));
        f.setPixelSize(19);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    default:
        break;
    }
}

void paintOne(QPainter& p, Glyph g)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 1.4));
    if (g == Glyph::Program) {
        p.setBrush(QColor(30, 80, 150));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
        p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 7), QPointF(18, 7));
        p.drawLine(QPointF(12, 7), QPointF(12, 19));
        p.setPen(QPen(Accent, 2));
        p.drawLine(QPointF(15, 15), QPointF(19, 19));
        return;
    }
    paintDocumentGlyph(p, g);
    paintRecordGlyph(p, g);
    paintTextGlyph(p, g);
}

} // namespace

void paint(QPainter& painter, Glyph glyph)
{
    painter.save();
    paintOne(painter, glyph);
    painter.restore();
}

QPixmap pixmap(Glyph glyph, int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.scale(size / 24.0, size / 24.0);
    paint(p, glyph);
    return pix;
}

QIcon drawn(Glyph glyph)
{
    QIcon icon;
    if (glyph == Glyph::None)
        return icon;
    for (int size : {16, 20, 24, 32, 48})
        icon.addPixmap(pixmap(glyph, size));
    return icon;
}

} // namespace glyphs

} // namespace tarvik
