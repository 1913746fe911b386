#include "print/page_setup.h"

namespace tarvik {

namespace print {

PageSetupChoice pageSetupShown(const settings::IniValues& ini)
{
    const bool valid = ini.reservedPage >= 0 && ini.reservedPage <= 3 &&
                       ini.envelopeOrientation >= 0 && ini.envelopeOrientation <= 1;
    if (!valid)
        return {};
    return {ini.envelopeOrientation, ini.envelopeOffset > 0};
}

void applyPageSetup(settings::IniValues& ini, int orientation, bool guideOnRight)
{
    if (orientation == -1)
        return;
    ini.envelopeOrientation = orientation;
    ini.envelopeOffset = guideOnRight ? 100 : 0;
}

} // namespace print

} // namespace tarvik
