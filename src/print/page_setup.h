#pragma once

#include "settings/settings.h"

namespace tarvik {

// The page settings the page-setup dialog edits: the envelope orientation and
// the envelope guide offset. The reserved setting is only read.
namespace print {

struct PageSetupChoice
{
    int orientation = 0; // 0 portrait, 1 landscape
    bool guideOnRight = false;
    friend bool operator==(const PageSetupChoice&, const PageSetupChoice&) = default;
};

// What the dialog shows: the stored values while the reserved setting lies
// in 0..3 and the orientation in 0..1, otherwise "Portrait" and unchecked.
PageSetupChoice pageSetupShown(const settings::IniValues& ini);

// The dialog's result: orientation -1 (cancelled) changes nothing; otherwise
// the orientation, and an offset of 100 when the guide is on the right.
void applyPageSetup(settings::IniValues& ini, int orientation, bool guideOnRight);

} // namespace print

} // namespace tarvik
