#pragma once

#include <QWidget>

class QFrame;

namespace tarvik {

// One of the ruler's three indent markers, dragged along the ruler.
class RulerMarker : public QWidget
{
    Q_OBJECT
public:
    enum class Shape { Down, Up, UpHollow };
    RulerMarker(Shape shape, QWidget* parent);

    bool isDragging() const { return m_dragging; }
    int dragOffset() const { return m_dragOffset; }

signals:
    void dropped();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Shape m_shape;
    bool m_dragging = false;
    int m_dragOffset = 0;
};

// The ruler over the letter: tab ticks, a top line and the indent markers of
// the paragraph under the caret.
class TexteRuler : public QWidget
{
    Q_OBJECT
public:
    explicit TexteRuler(QWidget* parent = nullptr);

    RulerMarker* firstMarker() const { return m_first; }
    RulerMarker* leftMarker() const { return m_left; }
    RulerMarker* rightMarker() const { return m_right; }
    QFrame* line() const { return m_line; }
    // Places the markers for a paragraph's indents in points.
    void place(double first, double left, double right);
    void setTabStop(double pixels);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    RulerMarker* m_first;
    RulerMarker* m_left;
    RulerMarker* m_right;
    QFrame* m_line;
    double m_tabStop = 48;
};

} // namespace tarvik
