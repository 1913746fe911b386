#pragma once

#include "print/print_device.h"
#include "print/print_job.h"
#include "storage/block_list.h"

#include <QDate>

namespace tarvik {

// The listing reports: one block per chosen contact of the record range, with
// its identity, the empty heads of a contact attempt and dashed lines to
// write on, under a title repeated on every page. All are landscape.
namespace print {

// Every record; its customer code under "N°".
void ImpPros(PrintDevice& device, const BlockList& contacts, RecordRange range);
// Records whose alert line is "Y", with their latest history entry.
void ImpAlerte(PrintDevice& device, const BlockList& contacts, RecordRange range);
// Records whose follow-up date is `today`.
void ImpRelance(PrintDevice& device, const BlockList& contacts, RecordRange range,
                const QDate& today);
// Records whose closed-sale line is "Y", with their latest history entry.
void ImpVente(PrintDevice& device, const BlockList& contacts, RecordRange range);
// Records with a follow-up to do: a follow-up date neither empty nor
// "01/01/1900".
void ImpRelanceAFaire(PrintDevice& device, const BlockList& contacts, RecordRange range);

} // namespace print

} // namespace tarvik
