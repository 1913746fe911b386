#include "print/ui/print_preview.h"

#include <QSettings>

namespace tarvik {

static const char* const PreviewKey = "print/preview";

bool printPreviewWanted()
{
    return QSettings().value(PreviewKey, false).toBool();
}

void setPrintPreviewWanted(bool wanted)
{
    QSettings().setValue(PreviewKey, wanted);
}

} // namespace tarvik
