#include "exchange/csv_table.h"

#include "storage/ansi.h"

#include <QStringDecoder>

namespace tarvik {

namespace csv {

namespace {

QString decode(const QByteArray& data)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder wide(data.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                        : QStringConverter::Utf16BE);
        return wide(QByteArrayView(data).sliced(2));
    }
    const QByteArrayView body =
        data.startsWith("\xEF\xBB\xBF") ? QByteArrayView(data).sliced(3) : QByteArrayView(data);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return ansi::toUnicode(body.toByteArray());
}

// How often each candidate stands outside quotes in the first rows.
QChar findSeparator(const QString& text)
{
    const QChar candidates[] = {u',', u';', u'\t'};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    int rows = 0;
    for (qsizetype i = 0; i < text.size() && rows < 20; ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\n')
            ++rows;
        else if (!quoted)
            for (int k = 0; k < 3; ++k)
                if (c == candidates[k])
                    ++counts[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (counts[k] > counts[best])
            best = k;
    return candidates[best];
}

class Parser
{
public:
    Parser(const QString& text, QChar sep, Table& out) : m_text(text), m_sep(sep), m_out(out) {}

    void run()
    {
        const qsizetype n = m_text.size();
        qsizetype pos = 0;
        while (pos < n) {
            const qsizetype start = pos;
            const int line = m_line;
            QStringList fields;
            if (!readRow(pos, fields, true)) {
                // A quote left open: the row is read again up to the end of
                // its line, quotes taken as they stand.
                pos = start;
                m_line = line;
                fields.clear();
                readRow(pos, fields, false);
                m_out.skipped.append(
                    QStringLiteral("ligne %1 : guillemet non fermé, ligne lue telle quelle")
                        .arg(line));
            }
            if (fields.size() == 1 && fields.first().isEmpty())
                continue; // a blank line
            m_out.rows.append(fields);
            m_out.lines.append(line);
        }
    }

private:
    // Reads one row from `pos`; false when a quoted field runs to the end.
    bool readRow(qsizetype& pos, QStringList& fields, bool quotes)
    {
        const qsizetype n = m_text.size();
        QString field;
        bool atFieldStart = true;
        while (pos < n) {
            const QChar c = m_text[pos];
            if (quotes && atFieldStart && c == u'"') {
                ++pos;
                bool closed = false;
                while (pos < n) {
                    const QChar q = m_text[pos];
                    if (q == u'"') {
                        if (pos + 1 < n && m_text[pos + 1] == u'"') {
                            field += u'"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    if (q == u'\r' && pos + 1 < n && m_text[pos + 1] == u'\n') {
                        field += u'\n';
                        pos += 2;
                        ++m_line;
                        continue;
                    }
                    if (q == u'\n' || q == u'\r')
                        ++m_line;
                    field += q == u'\r' ? u'\n' : q;
                    ++pos;
                }
                if (!closed)
                    return false;
                atFieldStart = false;
                continue;
            }
            if (c == m_sep) {
                fields.append(field);
                field.clear();
                atFieldStart = true;
                ++pos;
                continue;
            }
            if (c == u'\r' || c == u'\n') {
                ++pos;
                if (c == u'\r' && pos < n && m_text[pos] == u'\n')
                    ++pos;
                ++m_line;
                break;
            }
            // Text after a closing quote, or a quote inside an unquoted
            // field: kept as it stands.
            field += c;
            atFieldStart = false;
            ++pos;
        }
        fields.append(field);
        return true;
    }

    const QString& m_text;
    QChar m_sep;
    Table& m_out;
    int m_line = 1;
};

} // namespace

Table read(const QByteArray& data)
{
    Table table;
    const QString text = decode(data);
    table.separator = findSeparator(text);
    Parser(text, table.separator, table).run();
    return table;
}

QString row(const QStringList& fields, QChar separator)
{
    QString out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        const QString& f = fields.at(i);
        if (f.contains(separator) || f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r')) {
            QString quoted = f;
            quoted.replace(u'"', QLatin1String("\"\""));
            out += u'"' + quoted + u'"';
        } else {
            out += f;
        }
    }
    out += QLatin1String("\r\n");
    return out;
}

} // namespace csv

} // namespace tarvik
