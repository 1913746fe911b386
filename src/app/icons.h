#pragma once

#include "app/command_table.h"

#include <QIcon>
#include <QString>

namespace tarvik {

// Toolbar and program icons: the desktop theme's when it has one, otherwise
// the program's own drawing, so that no button is ever blank.
namespace icons {

using Glyph = commands::Glyph;

QIcon icon(Glyph glyph);
QIcon drawn(Glyph glyph); // the program's own drawing only
QPixmap programPixmap(int size);

} // namespace icons

} // namespace tarvik
