#pragma once

#include "platform/errors.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <functional>

namespace tarvik {

// Errors of the dBase reader. The texts are English and shown as they stand.
class EXBaseException : public TarvikError
{
public:
    using TarvikError::TarvikError;
};

// Reads a dBase III table (".dbf") and, for tables with memo fields, its memo
// file (".dbt"), one record at a time, in file order. It only reads: the table
// is opened read-only and a deletion mark set here stays in memory.
class TXBase
{
public:
    // Asked before the cursor moves (OnChanging) or the current record is
    // marked deleted (OnDeleting); setting `allowed` to false cancels.
    using TXBChangeEvent = std::function<void(TXBase& sender, bool& allowed)>;
    using TXBDeleteEvent = std::function<void(TXBase& sender, bool& allowed)>;
    using TNotifyEvent = std::function<void(TXBase& sender)>;

    enum FieldKind { Other = 0, Character = 1, Date = 2, Numeric = 3, Logical = 4, Memo = 5 };

    static constexpr int MaxFields = 128;
    static constexpr int MaxRecordLength = 4000;
    static constexpr int MemoBlock = 512;

    TXBase() = default;
    ~TXBase();
    TXBase(const TXBase&) = delete;
    TXBase& operator=(const TXBase&) = delete;

    // The table path. Stored without its extension and read back with ".dbf"
    // appended (".DBF" when it was given in upper case, so that upper-case
    // tables are found on a case-sensitive file system).
    QString Filename() const;
    // While active, a new name closes the old table and opens the new one;
    // a missing file makes the reader inactive. May throw EXBaseException.
    void setFilename(const QString& path);

    bool Active() const { return m_active; }
    // true opens the table when its file exists (otherwise the reader stays
    // inactive); false closes the table and memo files. Opening may throw
    // EXBaseException; the reader is then inactive and closed.
    void setActive(bool active);

    int Recno() const { return m_recno; }
    int RecordCount() const { return m_recordCount; }
    int FieldCount() const { return int(m_fields.size()); }

    TXBChangeEvent OnChanging;
    TXBDeleteEvent OnDeleting;
    TNotifyEvent OnAppended; // never fired: the reader appends nothing

    bool Bof() const { return m_recno == 1; }
    // True while the cursor stands on the last record (and for a table
    // without records).
    bool Eof() const { return m_recno >= m_recordCount; }

    bool Deleted() const;
    void setDeleted(bool deleted);
    bool Modified() const { return m_modified; }

    void First();
    void Next();

    // The type code of field n (1-based): FieldKind.
    int fieldType(int n) const;
    // The field's 11-byte name, up to its first NUL.
    QByteArray fieldName(int n) const;
    // The text of field n in the current record, trailing spaces removed; for
    // a memo field the memo text its stored number points to (empty when the
    // number is blank or below 1).
    QByteArray fieldValue(int n);
    // The text of memo k: from block k up to the first 0x1A 0x1A pair or the
    // end of the memo file, each 0x8D turned into 0x0D.
    QByteArray memoText(qint64 k);

    // The memo file beside the table (empty when the table has none).
    QString memoFilename() const;

private:
    struct Field
    {
        QByteArray descriptor; // the 32 bytes as read
        int start = 0;         // 0-based position within the record
        int length = 0;
    };

    void open();
    void close();
    void readRecord(const char* error);
    bool changeAllowed();
    void requireOpen() const;

    QString m_base;
    QString m_extension = QStringLiteral(".dbf");
    bool m_active = false;
    bool m_opened = false;
    QFile m_table;
    QFile m_memo;
    QByteArray m_header;
    QList<Field> m_fields;
    QByteArray m_record;
    QByteArray m_memoHeader;
    int m_recno = 0;
    int m_recordCount = 0;
    int m_headerLength = 0;
    int m_recordLength = 0;
    bool m_modified = false;
};

} // namespace tarvik
