#pragma once

#include <QByteArray>

namespace tarvik {

// Width in pixels of a Windows-1252 text in the font of the window that shows it.
class TextMeasure
{
public:
    virtual ~TextMeasure() = default;
    virtual int width(const QByteArray& text) const = 0;
};

} // namespace tarvik
