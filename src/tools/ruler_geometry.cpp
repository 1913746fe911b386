#include "tools/ruler_geometry.h"

#include <cmath>

namespace tarvik {

namespace ruler {

// Every result is truncated towards zero, as the markers move by whole pixels
// and indents by whole points.
static int trunc(double v)
{
    return int(std::trunc(v));
}

Markers place(double firstIndent, double leftIndent, double rightIndent, int rulerWidth)
{
    Markers m;
    m.first = trunc(firstIndent * 4 / 3) + 2;
    m.left = trunc((leftIndent + firstIndent) * 4 / 3) + 2;
    m.right = rulerWidth - TextMargin - trunc((rightIndent + TextMargin) * 4 / 3);
    return m;
}

int firstIndentAt(int markerLeft)
{
    return trunc((markerLeft + dragOffset() - TextMargin) * 0.75);
}

int leftIndentAt(int markerLeft, double firstIndent)
{
    return trunc(trunc((markerLeft + dragOffset() - TextMargin) * 0.75) - firstIndent);
}

int rightIndentAt(int markerLeft, int rulerWidth)
{
    return trunc((rulerWidth + dragOffset() - markerLeft - 2) * 0.75) - 12;
}

int tabTick(int n, double tabStopPixels)
{
    return TextMargin + trunc((n + 1) * tabStopPixels);
}

} // namespace ruler

} // namespace tarvik
