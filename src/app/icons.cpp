#include "app/icons.h"

#include "platform/ui/glyph_painter.h"

namespace tarvik {

namespace icons {

namespace {

const char* themeName(Glyph g)
{
    switch (g) {
    case Glyph::NewFile:
        return "document-new";
    case Glyph::Open:
        return "document-open";
    case Glyph::Save:
        return "document-save";
    case Glyph::Copy:
        return "edit-copy";
    case Glyph::Paste:
        return "edit-paste";
    case Glyph::First:
        return "go-first";
    case Glyph::Previous:
        return "go-previous";
    case Glyph::Next:
        return "go-next";
    case Glyph::Last:
        return "go-last";
    case Glyph::HistoryTab:
        return "view-list-details";
    case Glyph::CommentTab:
        return "accessories-text-editor";
    case Glyph::NewRecord:
        return "contact-new";
    case Glyph::Contacts:
        return "x-office-address-book";
    case Glyph::Operations:
        return "x-office-spreadsheet";
    case Glyph::PrintRecord:
        return "document-print";
    case Glyph::Envelope:
        return "mail-message";
    case Glyph::AlignLeft:
        return "format-justify-left";
    case Glyph::AlignCenter:
        return "format-justify-center";
    case Glyph::AlignRight:
        return "format-justify-right";
    case Glyph::Bullets:
        return "format-list-unordered";
    case Glyph::Font:
        return "preferences-desktop-font";
    case Glyph::None:
    case Glyph::Program:
        return "";
    }
    return "";
}

} // namespace

QPixmap programPixmap(int size)
{
    return glyphs::pixmap(Glyph::Program, size);
}

QIcon drawn(Glyph glyph)
{
    return glyphs::drawn(glyph);
}

QIcon icon(Glyph glyph)
{
    if (glyph == Glyph::None)
        return {};
    const QString name = QString::fromLatin1(themeName(glyph));
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return drawn(glyph);
}

} // namespace icons

} // namespace tarvik
