#pragma once

#include "storage/block_list.h"

namespace tarvik {

class Prompter;

// Repairs run on the block lists when a file is loaded and after a deletion.
// `digits` is 5 for the contact file and 4 for the operations file.
namespace integrity {

// Widens old 4-digit contact numbers to 5 digits. Returns true when a header
// was widened (the file then counts as modified).
bool Augmente(BlockList& list);

// True when the headers and trailers do not balance, when a block has no
// trailer of its own before the next header, or when a header or trailer does
// not carry a decimal number of `digits` digits.
bool damaged(const BlockList& list, int digits);

// Rebuilds the list from its blocks in number order, numbered densely from 0,
// dropping lines outside blocks; blocks behind a gap in the numbering are
// kept and numbered to follow the others, and blocks whose header carries no
// decimal number come last. A block that lacks its trailer ends before the
// next header and gets its trailer; stray trailers are dropped, so the result
// always balances. Copies of one number keep a shared number for
// removeDuplicates. Returns the new record count (the number of headers).
int rebuild(BlockList& list, int recordCount, int digits);

// The contact file check: when damaged, asks "Le fichier a été altéré.
// Restaurer ?" and rebuilds on Yes. Returns true when the list was rebuilt.
bool Verif(BlockList& list, int& recordCount, Prompter& prompter);

// Duplicate record numbers: the first copy in list order keeps the number; a
// later copy identical to one kept is removed; one that differs is kept as a
// new record at the end, numbered after the highest number. The record count is the
// number of headers afterwards. Returns true when something changed.
bool removeDuplicates(BlockList& list, int& recordCount, int digits);
inline bool Doublons(BlockList& list, int& recordCount)
{
    return removeDuplicates(list, recordCount, blocks::ContactDigits);
}

// Renumbers every block above the deleted number `deleted` down by one and
// lowers the count (nothing when the count is 1 or less).
void renumber(BlockList& list, int deleted, int& recordCount, int digits);
inline void Renum(BlockList& list, int deleted, int& recordCount)
{
    renumber(list, deleted, recordCount, blocks::ContactDigits);
}

// Numbers that have no block below the highest block number make later
// records unreachable; this renumbers the blocks densely, keeping their order
// of numbers. Returns true when something changed.
bool closeGaps(BlockList& list, int& recordCount, int digits);

} // namespace integrity

} // namespace tarvik
