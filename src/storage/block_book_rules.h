#pragma once

#include "storage/block_list.h"
#include "storage/book_flags.h"

namespace tarvik {

// Where a record written back goes in its list.
enum class WritePlace {
    InPlace, // the block keeps its place (the contact file keeps its order)
    AtEnd,   // the block moves to the end of the list, whatever its number
};

// Which moves do nothing at all, not even the write back, while the book holds
// fewer than two records.
enum class MoveGuard {
    NextAndLast,
    LastOnly,
};

// The rules in which the two record books differ; everything else about
// them is the same skeleton.
struct BookRules
{
    int digits;               // of the record number in a header
    bool BookFlags::*changed; // the flag an edit of the shown record sets
    WritePlace writePlace;
    MoveGuard moveGuard;
    bool codeWithoutBlock; // a number without a block is shown with the next code
};

// The contact file keeps the order its records were sorted in; a rewritten
// operation moves to the end of its file. A next move on a single operation
// still writes it back and reads it again, and the operations page always
// shows a code, even for a number without a block.
// clang-format off
inline constexpr BookRules ContactRules{
    blocks::ContactDigits,   &BookFlags::recordChanged,     WritePlace::InPlace, MoveGuard::NextAndLast, false};
inline constexpr BookRules OperationRules{
    blocks::OperationDigits, &BookFlags::operationsChanged, WritePlace::AtEnd,   MoveGuard::LastOnly,    true};
// clang-format on

} // namespace tarvik
