#pragma once

#include "platform/text_measure.h"

class QWidget;

namespace tarvik {

// Measures text in the font a widget shows it with, at the time of the call.
class FontTextMeasure : public TextMeasure
{
public:
    explicit FontTextMeasure(const QWidget* widget) : m_widget(widget) {}
    int width(const QByteArray& text) const override;

private:
    const QWidget* m_widget;
};

} // namespace tarvik
