#include "tools/ui/texte_ruler.h"

#include "tools/ruler_geometry.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace tarvik {

static constexpr int MarkerHeight = 8;
static constexpr int LineOffset = 4; // the top line's distance from the ruler's sides
static constexpr int RulerHeight = 28;

RulerMarker::RulerMarker(Shape shape, QWidget* parent) : QWidget(parent), m_shape(shape)
{
    setFixedSize(ruler::MarkerWidth, MarkerHeight);
    setCursor(Qt::SizeHorCursor);
}

void RulerMarker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = width() - 1;
    const int h = height() - 1;
    QPolygon shape;
    if (m_shape == Shape::Down)
        shape << QPoint(0, 0) << QPoint(w, 0) << QPoint(w / 2, h);
    else
        shape << QPoint(w / 2, 0) << QPoint(w, h) << QPoint(0, h);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(m_shape == Shape::UpHollow ? QColor(250, 250, 250) : QColor(60, 60, 60));
    p.drawPolygon(shape);
}

void RulerMarker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The marker's middle comes under the mouse and follows it from there.
    m_dragOffset = width() / 2;
    move(x() + int(event->position().x()) - m_dragOffset, y());
    m_dragging = true;
}

void RulerMarker::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(x() + int(event->position().x()) - m_dragOffset, y());
}

void RulerMarker::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    emit dropped();
}

TexteRuler::TexteRuler(QWidget* parent)
    : QWidget(parent), m_first(new RulerMarker(RulerMarker::Shape::Down, this)),
      m_left(new RulerMarker(RulerMarker::Shape::Up, this)),
      m_right(new RulerMarker(RulerMarker::Shape::UpHollow, this)), m_line(new QFrame(this))
{
    setObjectName(QStringLiteral("Ruler"));
    m_first->setObjectName(QStringLiteral("FirstInd"));
    m_left->setObjectName(QStringLiteral("LeftInd"));
    m_right->setObjectName(QStringLiteral("RightInd"));
    m_line->setObjectName(QStringLiteral("RulerLine"));
    m_line->setFrameShape(QFrame::HLine);
    m_line->setFrameShadow(QFrame::Sunken);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    setFont(font);
    setAutoFillBackground(true);
    setFixedHeight(RulerHeight);
    m_first->move(2, 3);
    m_left->move(2, RulerHeight - MarkerHeight - 1);
    m_right->move(width() - 14, RulerHeight - MarkerHeight - 1);
}

QSize TexteRuler::sizeHint() const
{
    return QSize(400, RulerHeight);
}

void TexteRuler::place(double first, double left, double right)
{
    const ruler::Markers m = ruler::place(first, left, right, width());
    if (!m_first->isDragging())
        m_first->move(m.first, m_first->y());
    if (!m_left->isDragging())
        m_left->move(m.left, m_left->y());
    if (!m_right->isDragging())
        m_right->move(m.right, m_right->y());
}

void TexteRuler::setTabStop(double pixels)
{
    m_tabStop = pixels > 1 ? pixels : 48;
    update();
}

void TexteRuler::resizeEvent(QResizeEvent*)
{
    m_line->setGeometry(LineOffset, 0, width() - 2 * LineOffset, 2);
}

void TexteRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    // A tick at every tab stop, as the editor places them.
    const int top = 11;
    for (int n = 0; n < ruler::TabTicks; ++n) {
        const int x = ruler::tabTick(n, m_tabStop);
        if (x >= width())
            break;
        p.drawLine(x, top, x, top + 6);
    }
}

} // namespace tarvik
