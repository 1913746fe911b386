#include "exchange/xbase.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace tarvik {

namespace {

quint32 le32(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

int le16(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return int(p[0]) | int(p[1]) << 8;
}

// (headerLength - 34) / 32 rounded to the nearest integer, halves to even:
// a dBase III header of 32 + 32 * n + 1 bytes gives n.
int fieldCountOf(int headerLength)
{
    const int x = headerLength - 34;
    int q = x >= 0 ? x / 32 : -((-x + 31) / 32);
    const int r = x - 32 * q;
    if (r > 16 || (r == 16 && q % 2 != 0))
        ++q;
    return q < 0 ? 0 : q;
}

bool isUpperCase(const QString& s)
{
    return s == s.toUpper() && s != s.toLower();
}

} // namespace

TXBase::~TXBase()
{
    close();
}

QString TXBase::Filename() const
{
    return m_base + m_extension;
}

void TXBase::setFilename(const QString& path)
{
    // Only the file's own name carries the extension: a dot in a folder name
    // must not cut the path short.
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash)
        dot = -1;
    const QString base = dot < 0 ? path : path.left(dot);
    const QString given = dot < 0 ? QString() : path.mid(dot);
    const QString extension =
        given.compare(QLatin1String(".dbf"), Qt::CaseInsensitive) == 0
            ? given
            : (isUpperCase(QFileInfo(base).fileName()) ? QStringLiteral(".DBF")
                                                       : QStringLiteral(".dbf"));
    const bool changed = base != m_base || extension != m_extension;
    m_base = base;
    m_extension = extension;
    if (!m_active)
        return;
    if (changed)
        close();
    if (!QFileInfo::exists(Filename())) {
        m_active = false;
        close();
        return;
    }
    if (!m_opened) {
        try {
            open();
        } catch (...) {
            m_active = false;
            close();
            throw;
        }
    }
}

void TXBase::setActive(bool active)
{
    if (!active || !QFileInfo::exists(Filename())) {
        m_active = false;
        close();
        return;
    }
    m_active = true;
    if (m_opened)
        return;
    try {
        open();
    } catch (...) {
        m_active = false;
        close();
        throw;
    }
}

QString TXBase::memoFilename() const
{
    if (!m_memo.fileName().isEmpty())
        return m_memo.fileName();
    const QString preferred =
        m_extension == QLatin1String(".DBF") ? QStringLiteral(".DBT") : QStringLiteral(".dbt");
    const QString other =
        preferred == QLatin1String(".DBT") ? QStringLiteral(".dbt") : QStringLiteral(".DBT");
    if (!QFileInfo::exists(m_base + preferred) && QFileInfo::exists(m_base + other))
        return m_base + other;
    return m_base + preferred;
}

void TXBase::open()
{
    m_table.setFileName(Filename());
    if (!m_table.open(QIODevice::ReadOnly))
        throw EXBaseException(QStringLiteral("Error Opening Data File: %1 (%2)")
                                  .arg(Filename(), m_table.errorString()));
    m_opened = true;

    const char* headerError = "Error Reading Header Info.";
    m_header = m_table.read(32);
    if (m_header.size() != 32)
        throw EXBaseException(QString::fromLatin1(headerError));
    const qint64 count = le32(m_header, 4);
    m_recordCount = int(std::min<qint64>(count, std::numeric_limits<int>::max()));
    m_headerLength = le16(m_header, 8);
    m_recordLength = le16(m_header, 10);

    const int fieldCount = fieldCountOf(m_headerLength);
    if (fieldCount > MaxFields)
        throw EXBaseException(
            QStringLiteral("Too Many Fields: %1 (at most %2)").arg(fieldCount).arg(MaxFields));
    if (m_recordLength > MaxRecordLength)
        throw EXBaseException(QStringLiteral("Record Too Long: %1 bytes (at most %2)")
                                  .arg(m_recordLength)
                                  .arg(MaxRecordLength));
    if (m_recordLength < 1)
        throw EXBaseException(QString::fromLatin1(headerError));

    int start = 1; // byte 0 of a record is its deletion mark
    m_fields.clear();
    m_fields.reserve(fieldCount);
    for (int n = 1; n <= fieldCount; ++n) {
        if (!m_table.seek(qint64(32) * n))
            throw EXBaseException(QString::fromLatin1(headerError));
        Field f;
        f.descriptor = m_table.read(32);
        if (f.descriptor.size() != 32)
            throw EXBaseException(QString::fromLatin1(headerError));
        f.start = start;
        f.length = static_cast<unsigned char>(f.descriptor[16]);
        start += f.length;
        m_fields.append(f);
    }
    // A field that ends past the record would read what the record does not hold.
    if (start > m_recordLength)
        throw EXBaseException(
            QStringLiteral("Error Reading Header Info.: the fields take %1 bytes, the record %2")
                .arg(start)
                .arg(m_recordLength));

    m_recno = 1;
    readRecord(headerError);

    const unsigned char version = static_cast<unsigned char>(m_header[0]);
    if (version == 0x83 || version == 0x84) {
        const QString memoName = memoFilename();
        m_memo.setFileName(memoName);
        if (!m_memo.open(QIODevice::ReadOnly))
            throw EXBaseException(QStringLiteral("Error Opening Memo File: %1 (%2)")
                                      .arg(memoName, m_memo.errorString()));
        m_memoHeader = m_memo.read(MemoBlock);
    }
}

void TXBase::close()
{
    if (m_table.isOpen())
        m_table.close();
    if (m_memo.isOpen())
        m_memo.close();
    m_memo.setFileName(QString());
    m_opened = false;
    m_fields.clear();
    m_record.clear();
    m_memoHeader.clear();
    m_header.clear();
    m_recno = 0;
    m_recordCount = 0;
    m_headerLength = 0;
    m_recordLength = 0;
    m_modified = false;
}

void TXBase::readRecord(const char* error)
{
    m_modified = false;
    if (m_recordCount == 0) {
        // A table without records: the cursor stands on a blank record.
        m_record = QByteArray(m_recordLength, ' ');
        return;
    }
    const qint64 at = qint64(m_headerLength) + qint64(m_recno - 1) * m_recordLength;
    if (m_table.pos() != at && !m_table.seek(at))
        throw EXBaseException(QString::fromLatin1(error));
    QByteArray data = m_table.read(m_recordLength);
    if (data.size() != m_recordLength)
        throw EXBaseException(QString::fromLatin1(error));
    m_record = std::move(data);
}

bool TXBase::changeAllowed()
{
    bool allowed = true;
    if (OnChanging)
        OnChanging(*this, allowed);
    return allowed;
}

void TXBase::requireOpen() const
{
    if (!m_opened)
        throw EXBaseException(QStringLiteral("Data File Not Open"));
}

void TXBase::First()
{
    requireOpen();
    if (!changeAllowed())
        return;
    m_recno = 1;
    readRecord("Error Reading Record");
}

void TXBase::Next()
{
    requireOpen();
    if (m_recno < m_recordCount && changeAllowed()) {
        ++m_recno;
        readRecord("Error Reading Record");
    }
}

bool TXBase::Deleted() const
{
    return m_opened && !m_record.isEmpty() && m_record.at(0) == '*';
}

void TXBase::setDeleted(bool deleted)
{
    if (!m_opened || m_record.isEmpty())
        return;
    bool allowed = true;
    if (deleted && OnDeleting)
        OnDeleting(*this, allowed);
    m_record[0] = deleted && allowed ? '*' : ' ';
}

int TXBase::fieldType(int n) const
{
    if (n < 1 || n > FieldCount())
        throw EXBaseException(QStringLiteral("Invalid Field Number: %1").arg(n));
    switch (m_fields.at(n - 1).descriptor.at(11)) {
    case 'C':
        return Character;
    case 'D':
        return Date;
    case 'N':
        return Numeric;
    case 'L':
        return Logical;
    case 'M':
        return Memo;
    default:
        return Other;
    }
}

QByteArray TXBase::fieldName(int n) const
{
    if (n < 1 || n > FieldCount())
        throw EXBaseException(QStringLiteral("Invalid Field Number: %1").arg(n));
    const QByteArray name = m_fields.at(n - 1).descriptor.left(11);
    const qsizetype nul = name.indexOf('\0');
    return nul < 0 ? name : name.left(nul);
}

QByteArray TXBase::fieldValue(int n)
{
    if (n < 1 || n > FieldCount())
        throw EXBaseException(QStringLiteral("Invalid Field Number"));
    const Field& f = m_fields.at(n - 1);
    // open() has checked that every field lies within the record.
    QByteArray text = m_record.mid(f.start, f.length);
    if (fieldType(n) != Memo) {
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == ' ')
            --end;
        text.truncate(end);
        return text;
    }
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    if (!ok || number < 1)
        return QByteArray();
    return memoText(number);
}

QByteArray TXBase::memoText(qint64 k)
{
    const QString error = QStringLiteral("Error Reading Memo Record");
    if (!m_memo.isOpen() || k < 0 || k > m_memo.size() / MemoBlock)
        throw EXBaseException(error);
    const qint64 at = k * MemoBlock;
    if (at >= m_memo.size() || !m_memo.seek(at))
        throw EXBaseException(error);
    QByteArray text;
    for (;;) {
        const QByteArray block = m_memo.read(MemoBlock);
        // The end pair may straddle two blocks; search from the last byte kept.
        const qsizetype from = std::max<qsizetype>(0, text.size() - 1);
        text += block;
        const qsizetype end = text.indexOf("\x1A\x1A", from);
        if (end >= 0) {
            text.truncate(end);
            break;
        }
        if (block.size() < MemoBlock)
            break;
    }
    text.replace('\x8D', '\x0D');
    return text;
}

} // namespace tarvik
