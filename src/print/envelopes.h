#pragma once

#include "print/print_device.h"
#include "print/print_job.h"
#include "selection/filtered_moves.h"
#include "settings/settings.h"
#include "storage/block_list.h"

#include <QByteArray>

namespace tarvik {

namespace print {

// The recipient of an envelope, as the record window shows it or as its block
// stores it.
struct EnvelopeAddress
{
    QByteArray name;
    QByteArray address1;
    QByteArray address2;
    QByteArray postcode;
    QByteArray town;
};

// The sender block (company lines 1 to 4) and the recipient block of one
// envelope, every vertical position lowered by `guideOffset` millimetres.
// Empty lines keep their places.
void envelopeSides(PrintDevice& device, const settings::CompanyLines& company,
                   const EnvelopeAddress& to, int guideOffset);

// The envelope of the shown contact: portrait, or landscape when the envelope
// orientation setting is 1.
void ImpEnv(PrintDevice& device, const settings::CompanyLines& company, const EnvelopeAddress& to,
            int envelopeOrientation, int guideOffset);

// Whether the batch prints the envelope of this block under the selection
// mode of `filter`; every record under mode 1 or an unknown mode.
bool envelopeWanted(const BlockLines& block, const selection::ContactFilter& filter);

// One envelope of the batch from the stored block, then a new page.
void Envelop2(PrintDevice& device, const settings::CompanyLines& company, const BlockLines& block,
              int guideOffset);

// The batch: one envelope per page for each record of the range that the
// selection mode keeps, always landscape.
void Enveloppes(PrintDevice& device, const settings::CompanyLines& company,
                const BlockList& contacts, RecordRange range,
                const selection::ContactFilter& filter, int guideOffset);

} // namespace print

} // namespace tarvik
