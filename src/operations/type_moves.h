#pragma once

#include "storage/block_index.h"
#include "storage/block_list.h"

#include <QByteArray>

namespace tarvik {

namespace operations {

// The operation number a move under the type filter reaches from `current`:
// the nearest operation (below for previous, above for next, the lowest for
// first, the highest for last) whose type, upper-cased a..z only, equals
// `typeFilter`. Only numbers below `count` are reachable; `current` itself is
// returned when no operation qualifies.
int moveByType(const BlockList& list, int current, int count, blocks::Direction direction,
               const QByteArray& typeFilter);

} // namespace operations

} // namespace tarvik
