#pragma once

#include <QIcon>
#include <QString>

namespace tarvik {

// Toolbar and program icons: the desktop theme's when it has one, otherwise
// the program's own drawing, so that no button is ever blank.
namespace icons {

enum class Glyph {
    NewFile,
    Open,
    Save,
    Copy,
    Paste,
    First,
    Previous,
    Next,
    Last,
    HistoryTab,
    CommentTab,
    NewRecord,
    Contacts,
    Operations,
    PrintRecord,
    Envelope,
    Program,
};

QIcon icon(Glyph glyph);
QIcon drawn(Glyph glyph); // the program's own drawing only
QPixmap programPixmap(int size);

} // namespace icons

} // namespace tarvik
