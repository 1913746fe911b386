#pragma once

#include "platform/ui/glyph.h"

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace tarvik {

// The one painter of the program's pictures, drawn on a 24 x 24 grid and
// scaled to the size asked for.
namespace glyphs {

void paint(QPainter& painter, Glyph glyph);
// The picture at the usual icon sizes, for every button size.
QIcon drawn(Glyph glyph);
QPixmap pixmap(Glyph glyph, int size);

} // namespace glyphs

} // namespace tarvik
