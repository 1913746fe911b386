#include "storage/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tarvik {

namespace ansi {

QString toUnicode(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

bool fromUnicode(const QString& text, QByteArray& out)
{
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        out = text.toLatin1();
        return true;
    }
    out = encoder.encode(text);
    if (encoder.hasError())
        return false;
    // ICU may map a character it cannot hold to a substitution byte without an
    // error; a round trip tells.
    return toUnicode(out) == text;
}

QByteArray fromUnicode(const QString& text)
{
    QByteArray out;
    if (fromUnicode(text, out))
        return out;
    out.clear();
    for (QChar c : text) {
        QByteArray one;
        out += fromUnicode(QString(c), one) ? one : QByteArray("?");
    }
    return out;
}

bool representable(const QString& text)
{
    QByteArray out;
    return fromUnicode(text, out);
}

QByteArray upper(const QByteArray& bytes)
{
    QByteArray r = bytes;
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return r;
}

} // namespace ansi

} // namespace tarvik
