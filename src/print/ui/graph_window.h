#pragma once

#include <QDialog>
#include <QList>

namespace tarvik {

// "Graphique": a bar chart of the last 32 values.
class TGraph : public QDialog
{
    Q_OBJECT
public:
    explicit TGraph(QWidget* parent = nullptr);

    // The value texts; only the last 32 are kept.
    void Init(const QList<QByteArray>& texts);
    const QList<qint64>& values() const { return m_values; }
    // The index of the last value, -1 when there is none.
    int lastIndex() const { return int(m_values.size()) - 1; }

    QWidget* paintBox() const { return m_paintBox; }

private:
    QList<qint64> m_values;
    QWidget* m_paintBox = nullptr; // PaintBox1
};

} // namespace tarvik
