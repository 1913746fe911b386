#pragma once

#include "book/record_book.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>

namespace tarvik {

// A record book on real files in a temporary folder, with a scripted prompter
// and a fixed clock.
struct BookFixture
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    FixedClock clock;
    RecordBook book{prompter, clock};

    QString path() const { return dir.filePath(QStringLiteral("clients.ctc")); }

    void write(const BlockList& list) { blocks::saveFile(path(), list); }
    void load(const BlockList& list)
    {
        write(list);
        book.Charge(path());
    }
    void reload() { book.Charge(path()); }

    // The names of every record, in the order the moves reach them.
    QList<QByteArray> namesByMoves()
    {
        QList<QByteArray> names;
        book.Premier();
        names << book.shown().name;
        for (int i = 1; i < book.recordCount(); ++i) {
            book.Suivant();
            names << book.shown().name;
        }
        return names;
    }
};

// A contact with recognisable fields, written as block `number`.
inline ContactRecord person(const QByteArray& name, bool alert = false, bool sale = false)
{
    ContactRecord r;
    r.code = "1" + QByteArray::number(qHash(name) % 9000 + 1000);
    r.name = name;
    r.address1 = name + " rue";
    r.address2 = name + " bis";
    r.postcode = "75001";
    r.town = "PARIS";
    r.phone = "01 02 03 04 05";
    r.contact_type = "Appel";
    r.contact_date = QDate(2026, 1, 5);
    r.contact_time = QTime(9, 0, 0);
    r.followup_date = QDate(2026, 2, 1);
    r.followup_time = QTime(0, 0, 0);
    r.alert = alert;
    r.sale_closed = sale;
    r.history << "MEMO-like line of " + name;
    r.freeText << "note " + name;
    return r;
}

inline BlockList fileOf(const QList<QByteArray>& names)
{
    BlockList list;
    for (int i = 0; i < names.size(); ++i)
        list += contact::blockLines(person(names.at(i)), i);
    return list;
}

} // namespace tarvik
