#include "print/print_device.h"

namespace tarvik {

namespace print {

int Mh(const PrintDevice& device, int mm)
{
    const int perMm = device.pageWidthMM() > 0 ? device.pageWidth() / device.pageWidthMM() : 0;
    return mm * perMm;
}

int Mv(const PrintDevice& device, int mm)
{
    const int perMm = device.pageHeightMM() > 0 ? device.pageHeight() / device.pageHeightMM() : 0;
    return (mm + 3) * perMm;
}

} // namespace print

} // namespace tarvik
