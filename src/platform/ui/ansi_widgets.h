#pragma once

#include <QByteArray>
#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QValidator>

namespace tarvik {

// Edits of the record window hold Windows-1252 text: a character that the
// code page cannot hold is refused where it is typed or pasted.
class AnsiValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class AnsiPlainTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // Memo lines as stored: one entry per line, none for an empty memo.
    void setLines(const QList<QByteArray>& lines);
    QList<QByteArray> lines() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

namespace memo {
QString toText(const QList<QByteArray>& lines);
QList<QByteArray> fromText(const QString& text);
} // namespace memo

} // namespace tarvik
