#include "platform/ui/ansi_widgets.h"

#include "storage/ansi.h"

#include <QKeyEvent>
#include <QMimeData>

namespace tarvik {

QValidator::State AnsiValidator::validate(QString& input, int&) const
{
    return ansi::representable(input) ? Acceptable : Invalid;
}

namespace memo {

QString toText(const QList<QByteArray>& lines)
{
    QStringList parts;
    parts.reserve(lines.size());
    for (const QByteArray& line : lines)
        parts << ansi::toUnicode(line);
    return parts.join(QLatin1Char('\n'));
}

QList<QByteArray> fromText(const QString& text)
{
    QList<QByteArray> lines;
    if (text.isEmpty())
        return lines;
    for (const QString& part : text.split(QLatin1Char('\n')))
        lines << ansi::fromUnicode(part);
    return lines;
}

} // namespace memo

void AnsiPlainTextEdit::setLines(const QList<QByteArray>& lines)
{
    setPlainText(memo::toText(lines));
}

QList<QByteArray> AnsiPlainTextEdit::lines() const
{
    return memo::fromText(toPlainText());
}

void AnsiPlainTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
        !ansi::representable(event->text())) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void AnsiPlainTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    QString text = source->text();
    QString kept;
    for (QChar c : text)
        if (ansi::representable(QString(c)) || c == QLatin1Char('\n'))
            kept += c;
    insertPlainText(kept);
}

} // namespace tarvik
