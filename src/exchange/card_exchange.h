#pragma once

#include "exchange/import.h"
#include "storage/block_list.h"

#include <QByteArray>

namespace tarvik {

namespace exchange {

class UidStore;

// Every contact of the list as a vCard 4.0 card, in file order, each with
// its stable identifier from `uids` (new ones are given there).
QByteArray exportVcards(const BlockList& list, UidStore& uids);

// The cards of a file as contacts to append; damaged cards are left out and
// told, characters Windows-1252 cannot hold counted.
ForeignRead readVcards(const QByteArray& data);

} // namespace exchange

} // namespace tarvik
