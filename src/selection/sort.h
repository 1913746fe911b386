#pragma once

#include "storage/block_list.h"

#include <optional>

namespace tarvik {

// Physical reordering of the contact file: every record, its lines unchanged,
// is renumbered 0 .. n - 1 in the order of a sort key.
namespace sorting {

enum Key : int {
    ByName = 0,
    ByPostcode = 1,
    ByTown = 2,
    ByFollowup = 3, // follow-up date as year, month, day, then the follow-up time
};

// The key of the sort dialog's choice `index` (0 name, 1 postcode, 2 town,
// 3 follow-up), or nullopt for any other.
std::optional<Key> keyAt(int index);

// The sort key of the block whose header stands at `headerIndex`.
QByteArray sortKey(const BlockList& list, qsizetype headerIndex, Key key);

// Sorts the records of `list` with the French collation, letter case ignored:
// key first, then the record's lines one after another (code, name, ...), so
// that the order never depends on where a record stood. Lines outside every
// block are dropped. Returns the number of records written.
int sortRecords(BlockList& list, Key key);

} // namespace sorting

} // namespace tarvik
