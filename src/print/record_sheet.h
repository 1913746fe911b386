#pragma once

#include "contacts/contact_record.h"
#include "print/print_device.h"
#include "print/print_job.h"
#include "storage/block_list.h"

namespace tarvik {

struct OperationRecord;

namespace print {

// The record sheet: the shown contact, or the shown operation, as the record
// window shows it, on one portrait page. A history too long for the page goes
// on to the next one rather than off its bottom.
void ImpficheContact(PrintDevice& device, const ContactRecord& shown);
void ImpficheOperation(PrintDevice& device, const OperationRecord& shown);
// The contact or the operation layout alone, on a document already begun.
void contactLayout(PrintDevice& device, const ContactRecord& shown);
void operationLayout(PrintDevice& device, const OperationRecord& shown);

// The address listing: one line per record of the range under the page head
// `Entete1`, landscape.
void Imprime(PrintDevice& device, const BlockList& contacts, RecordRange range);
void Entete1(PrintDevice& device);

} // namespace print

} // namespace tarvik
