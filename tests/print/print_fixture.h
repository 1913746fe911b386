#pragma once

#include "contacts/contact_record.h"
#include "print/recording_print_device.h"

#include <QList>
#include <QString>

namespace tarvik {

// Helpers shared by the report tests.
namespace printtest {

using Call = print::RecordingPrintDevice::Call;

// "x:y:text" for every text of one page, in drawing order.
inline QStringList pageTexts(const print::RecordingPrintDevice& d, int page)
{
    QStringList out;
    for (const Call& c : d.textsOnPage(page))
        out << QStringLiteral("%1:%2:%3").arg(c.x).arg(c.y).arg(c.text);
    return out;
}

// Every line drawn, as "page:x1,y1-x2,y2:pen" with pen "solid" or "dash".
inline QStringList lines(const print::RecordingPrintDevice& d)
{
    QStringList out;
    print::PenStyle pen = print::PenStyle::Solid;
    int x = 0;
    int y = 0;
    for (const Call& c : d.calls) {
        if (c.kind == Call::Kind::Pen)
            pen = c.pen;
        else if (c.kind == Call::Kind::MoveTo) {
            x = c.x;
            y = c.y;
        } else if (c.kind == Call::Kind::LineTo) {
            out << QStringLiteral("%1:%2,%3-%4,%5:%6")
                       .arg(c.page)
                       .arg(x)
                       .arg(y)
                       .arg(c.x)
                       .arg(c.y)
                       .arg(pen == print::PenStyle::Dash ? QStringLiteral("dash")
                                                         : QStringLiteral("solid"));
            x = c.x;
            y = c.y;
        }
    }
    return out;
}

// A contact block list of `records`, numbered from 0.
inline BlockList contactList(const QList<ContactRecord>& records)
{
    BlockList list;
    for (int i = 0; i < records.size(); ++i)
        list += contact::blockLines(records.at(i), i);
    return list;
}

inline ContactRecord person(const QByteArray& name)
{
    ContactRecord r;
    r.name = name;
    r.contact_date = QDate(2026, 3, 1);
    r.contact_time = QTime(9, 0, 0);
    r.followup_date = QDate(1900, 1, 1);
    r.followup_time = QTime(0, 0, 0);
    return r;
}

} // namespace printtest

} // namespace tarvik
