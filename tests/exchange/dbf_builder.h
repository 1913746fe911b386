#pragma once

#include <QByteArray>
#include <QList>

namespace tarvik {

// Builds dBase III tables and memo files byte by byte for the tests.
struct DbfField
{
    QByteArray name;
    char type = 'C';
    int length = 10;
};

struct DbfTable
{
    QList<DbfField> fields;
    QList<QList<QByteArray>> records; // values, padded with blanks to the field length
    QList<int> deleted;               // 0-based indexes of records marked "*"
    unsigned char version = 0x03;
    int headerLength = -1;   // -1: 32 + 32 * n + 1
    qint64 recordCount = -1; // -1: records.size()

    int recordLength() const
    {
        int n = 1;
        for (const DbfField& f : fields)
            n += f.length;
        return n;
    }

    QByteArray bytes() const
    {
        auto le = [](QByteArray& b, quint32 v, int width) {
            for (int i = 0; i < width; ++i)
                b += char((v >> (8 * i)) & 0xFF);
        };
        const int hl = headerLength >= 0 ? headerLength : 32 + 32 * int(fields.size()) + 1;
        QByteArray b;
        b += char(version);
        b += QByteArray("\x7C\x01\x0F", 3);
        le(b, quint32(recordCount >= 0 ? recordCount : records.size()), 4);
        le(b, quint32(hl), 2);
        le(b, quint32(recordLength()), 2);
        b += QByteArray(20, '\0');
        for (const DbfField& f : fields) {
            QByteArray d = f.name.left(10);
            d += QByteArray(11 - d.size(), '\0');
            d += f.type;
            d += QByteArray(4, '\0');
            d += char(f.length);
            d += QByteArray(15, '\0');
            b += d;
        }
        b += '\x0D';
        if (b.size() < hl)
            b += QByteArray(hl - b.size(), '\0');
        b.truncate(hl);
        for (qsizetype r = 0; r < records.size(); ++r) {
            b += deleted.contains(int(r)) ? '*' : ' ';
            for (qsizetype i = 0; i < fields.size(); ++i) {
                QByteArray v = i < records[r].size() ? records[r][i] : QByteArray();
                v = v.leftJustified(fields[i].length, ' ', true);
                b += v;
            }
        }
        b += '\x1A';
        return b;
    }
};

// A memo file: block 0 is its header, memo k (from 1) stands at k * 512 and
// ends with the pair 0x1A 0x1A.
inline QByteArray dbtBytes(const QList<QByteArray>& memos)
{
    QByteArray b(512, '\0');
    for (const QByteArray& m : memos) {
        QByteArray block = m + "\x1A\x1A";
        const qsizetype blocks = (block.size() + 511) / 512;
        b += block.leftJustified(blocks * 512, '\0');
    }
    return b;
}

} // namespace tarvik
