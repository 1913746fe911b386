#pragma once

#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"

#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "storage/block_list.h"

#include <QDir>
#include <QTemporaryDir>

namespace tarvik {

// A record book loaded from a contact file written in a temporary folder.
struct SelectFixture
{
    QTemporaryDir dir;
    FixedClock clock;
    ScriptedPrompter prompter;
    RecordBook book{prompter, clock};

    static ContactRecord record(const QByteArray& name, int code)
    {
        ContactRecord r;
        r.code = QByteArray::number(code);
        r.name = name;
        r.contact_date = QDate(2026, 1, 5);
        r.contact_time = QTime(9, 0, 0);
        r.followup_date = QDate(2026, 2, 1);
        r.followup_time = QTime(0, 0, 0);
        return r;
    }

    // Record i of `count`, named "N<i>", code 10001 + i.
    static QList<ContactRecord> plain(int count)
    {
        QList<ContactRecord> r;
        for (int i = 0; i < count; ++i)
            r << record("N" + QByteArray::number(i), 10001 + i);
        return r;
    }

    static BlockList lines(const QList<ContactRecord>& records)
    {
        BlockList l;
        for (int i = 0; i < records.size(); ++i)
            l << contact::blockLines(records.at(i), i);
        return l;
    }

    QString path() const { return QDir(dir.path()).filePath("test.ctc"); }

    void load(const BlockList& l)
    {
        blocks::saveFile(path(), l);
        book.Charge(path());
    }
    void load(const QList<ContactRecord>& records) { load(lines(records)); }

    // The names of the stored blocks, in list order.
    QList<QByteArray> names() const
    {
        QList<QByteArray> r;
        const BlockList& l = book.contacts();
        for (qsizetype i = 0; i < l.size(); ++i)
            if (blocks::isHeader(l.at(i)))
                r << contact::field(l, i, contact::Name);
        return r;
    }
};

} // namespace tarvik
