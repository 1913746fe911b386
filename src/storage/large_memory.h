#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

class QFile;

namespace tarvik {

namespace memory {

// Asks the system to back the whole 2 MiB pages inside [data, data + size)
// with huge pages, where it offers them on request (Linux, transparent huge
// pages in "madvise" mode). A scan over a buffer of tens of megabytes in
// 4 KiB pages pays a page fault for each on first touch and misses the TLB
// all along: on a virtual machine that is most of the time a load takes.
// Call it before the memory is first written; it is only advice, and does
// nothing for small buffers or where the system has no such pages.
void adviseHugePages(const void* data, qsizetype size);

// The same for the storage a table has reserved.
template <typename T> void adviseHugePages(const QList<T>& table)
{
    adviseHugePages(table.constData(), table.capacity() * qsizetype(sizeof(T)));
}

// The whole of `file`, open for reading, from its current position to its
// end, in one buffer advised as above. Throws TarvikError when the read
// fails: a file read in part must never pass for the whole file.
QByteArray readAll(QFile& file);

} // namespace memory

} // namespace tarvik
