#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QList>

namespace tarvik {

// The rows of the list windows: one per header of a block list, in list
// order, damaged headers too, so that the user sees the file as it is.
namespace listing {

// Which lines of a block a list shows, and how its rows are numbered.
struct Columns
{
    QList<int> offsets; // the block lines of the field columns
    int digits;         // of the block numbers
    bool runningNumber; // the second column counts rows instead of repeating the number
};

const Columns& contactColumns();
const Columns& operationColumns();

struct Row
{
    // The block's number, or -1 when its header is not exactly a header: such
    // a row is shown but cannot be chosen.
    int number = -1;
    QByteArray numberText; // the header's digits as they stand
    QByteArray second;     // the running number, or the block's number again
    QList<QByteArray> fields;
};

QList<Row> rows(const BlockList& list, const Columns& columns);

// Fewer lines than one whole operation block leave nothing to list: the
// operation list window does not open.
bool hasWholeOperation(const BlockList& operations);

} // namespace listing

} // namespace tarvik
