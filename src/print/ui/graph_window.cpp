#include "print/ui/graph_window.h"

#include "print/operation_stats.h"
#include "print/print_device.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik {

namespace {

// The chart's drawing calls on a widget's painter, in widget pixels, with a
// black pen: the same drawing the tests record.
class PainterDevice : public print::PrintDevice
{
public:
    PainterDevice(QPainter& painter, QSize size) : m_painter(painter), m_size(size)
    {
        m_painter.setPen(QPen(Qt::black, 1));
    }
    print::Orientation orientation() const override { return print::Orientation::Portrait; }
    void setOrientation(print::Orientation) override {}
    void setTitle(const QString&) override {}
    void beginDoc() override {}
    void newPage() override {}
    void endDoc() override {}
    int pageWidth() const override { return m_size.width(); }
    int pageHeight() const override { return m_size.height(); }
    int pageWidthMM() const override { return m_size.width(); }
    int pageHeightMM() const override { return m_size.height(); }
    print::Font font() const override { return m_font; }
    void setFont(const print::Font& font) override { m_font = font; }
    void setPenStyle(print::PenStyle style) override
    {
        QPen pen = m_painter.pen();
        pen.setStyle(style == print::PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
        m_painter.setPen(pen);
    }
    void setBrushColor(print::Rgb colour) override
    {
        m_brush = QColor(colour.red, colour.green, colour.blue);
    }
    void textOut(int x, int y, const QString& text) override
    {
        m_painter.drawText(QRect(x, y, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, text);
    }
    void moveTo(int x, int y) override { m_at = QPoint(x, y); }
    void lineTo(int x, int y) override
    {
        m_painter.drawLine(m_at, QPoint(x, y));
        m_at = QPoint(x, y);
    }
    void fillRect(int left, int top, int right, int bottom) override
    {
        m_painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), m_brush);
    }
    int textWidth(const QString& text) const override
    {
        return m_painter.fontMetrics().horizontalAdvance(text);
    }
    int textHeight(const QString&) const override { return m_painter.fontMetrics().height(); }

private:
    QPainter& m_painter;
    QSize m_size;
    print::Font m_font;
    QColor m_brush = Qt::white;
    QPoint m_at;
};

class PaintBox : public QWidget
{
public:
    PaintBox(const QList<qint64>& values, QWidget* parent) : QWidget(parent), m_values(values) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        PainterDevice device(painter, size());
        stats::drawChart(device, m_values);
    }

private:
    const QList<qint64>& m_values;
};

} // namespace

TGraph::TGraph(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graph"));
    setWindowTitle(QStringLiteral("Graphique"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFixedHeight(33);
    auto* close = new QPushButton(QStringLiteral("Fermer"), panel);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* top = new QHBoxLayout(panel);
    top->setContentsMargins(4, 2, 4, 2);
    top->addWidget(close);
    top->addStretch();

    m_paintBox = new PaintBox(m_values, this);
    m_paintBox->setObjectName(QStringLiteral("PaintBox1"));
    m_paintBox->setFixedSize(stats::ChartWidth, stats::ChartHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(m_paintBox);
    setFixedSize(stats::ChartWidth, 33 + stats::ChartHeight);
}

void TGraph::Init(const QList<QByteArray>& texts)
{
    m_values = stats::chartValues(texts);
    m_paintBox->update();
}

} // namespace tarvik
