#pragma once

namespace tarvik {

// The ruler of the word processor: where its markers stand for a paragraph's
// indents, and the indents a marker gives where it is dropped. Indents are in
// points, positions in screen pixels (96 per inch) from the ruler's left edge;
// the text starts 6 pixels in, and a marker's middle shows its indent.
namespace ruler {

constexpr int MarkerWidth = 9;
constexpr int TextMargin = 6; // pixels between the editor's edges and its text
constexpr int TabTicks = 100;

// The half marker width: where in a marker its indent is read.
constexpr int dragOffset()
{
    return MarkerWidth / 2;
}

struct Markers
{
    int first = 0; // left edge of the first-line marker
    int left = 0;  // left edge of the following lines' marker
    int right = 0; // left edge of the right-indent marker
};

// firstIndent: the first line; leftIndent: the following lines against the
// first line; rightIndent: from the right edge.
Markers place(double firstIndent, double leftIndent, double rightIndent, int rulerWidth);

// The first-line indent of the first-line marker dropped at markerLeft.
int firstIndentAt(int markerLeft);
// The following lines' indent, against the first line, for the left marker
// at markerLeft: moving the first line leaves the following lines in place.
int leftIndentAt(int markerLeft, double firstIndent);
int rightIndentAt(int markerLeft, int rulerWidth);

// Horizontal position of the tab tick n (0-based) on the ruler.
int tabTick(int n, double tabStopPixels);

} // namespace ruler

} // namespace tarvik
