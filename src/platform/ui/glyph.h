#pragma once

#include <cstdint>

namespace tarvik {

// The pictures the program draws for its buttons and windows, when the
// desktop theme has none: the main toolbar's, the word processor's and the
// program's own icon. Plain data, so that the command table can name them.
enum class Glyph : std::uint8_t {
    None,
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
    AlignLeft,
    AlignCenter,
    AlignRight,
    Bullets,
    Font,
    Program, // the program's own icon: windows and about box, never a command
};

} // namespace tarvik
