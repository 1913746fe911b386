#include "platform/ui/font_text_measure.h"

#include "storage/ansi.h"

#include <QFontMetrics>
#include <QWidget>

namespace tarvik {

int FontTextMeasure::width(const QByteArray& text) const
{
    return QFontMetrics(m_widget->font()).horizontalAdvance(ansi::toUnicode(text));
}

} // namespace tarvik
