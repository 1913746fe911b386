#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QString>

namespace tarvik {

// Jumps by what the user typed: the first block in list order whose line at a
// fixed offset begins with the query.
namespace search {

// True when `line`, upper-cased (a..z only), begins with `query` byte for
// byte. A line shorter than the query does not match.
bool startsWithUpper(QByteArrayView line, QByteArrayView query);

// The number of the first block (headers with `digits` digits) whose line at
// `offset` begins with `query` (already in the form compared), or -1.
// The stored line is upper-cased before the comparison.
int findBlock(const BlockList& list, int digits, int offset, const QByteArray& query);

// "Fiche " + query + " non trouvée".
QString notFoundText(const QByteArray& query);
// The same for text typed that no stored line can hold, upper-cased as a
// query would be (a..z only).
QString notFoundText(const QString& typed);

} // namespace search

} // namespace tarvik
