#include "tools/rtf/rtf_document.h"

namespace tarvik {

namespace rtf {

void Paragraph::append(const Run& run)
{
    if (run.text.isEmpty())
        return;
    if (!runs.isEmpty() && runs.last().sameLook(run))
        runs.last().text += run.text;
    else
        runs.append(run);
}

QString Paragraph::text() const
{
    QString t;
    for (const Run& r : runs)
        t += r.text;
    return t;
}

} // namespace rtf

} // namespace tarvik
