#include "exchange/foreign_text.h"

#include "storage/ansi.h"
#include "storage/block_list.h"

namespace tarvik {

namespace exchange {

QByteArray ForeignText::bytes(const QString& text)
{
    QByteArray out;
    if (!ansi::fromUnicode(text, out)) {
        out = ansi::fromUnicode(text);
        m_lost = true;
    }
    return out;
}

QByteArray ForeignText::line(const QString& text)
{
    QString one = text;
    one.replace(QLatin1String("\r\n"), QLatin1String(" "));
    one.replace(u'\n', u' ');
    one.replace(u'\r', u' ');
    // A NUL would cut the value short wherever it is shown or printed.
    one.replace(QChar(0), u' ');
    return blocks::fieldLine(bytes(one));
}

QList<QByteArray> ForeignText::lines(const QString& text)
{
    QString all = text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    all.replace(u'\r', u'\n');
    QList<QByteArray> out;
    for (const QString& one : all.split(u'\n')) {
        QByteArray b = bytes(one);
        b.replace('\0', ' ');
        do {
            out.append(b.left(FreeTextLine));
            b = b.mid(FreeTextLine);
        } while (!b.isEmpty());
    }
    return out;
}

void ForeignText::endField()
{
    if (m_lost)
        ++m_replaced;
    m_lost = false;
}

} // namespace exchange

} // namespace tarvik
