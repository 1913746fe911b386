#pragma once

#include "platform/ui/ansi_widgets.h"

#include <QDialog>

namespace tarvik {

// The notepad: the one note of "Contact.nte", loaded before the window shows
// and written back after it closes if it was changed.
class TBlocnotes : public QDialog
{
    Q_OBJECT
public:
    TBlocnotes(const QString& notePath, QWidget* parent = nullptr);

    // Opens the notepad of the program folder modally, then saves the note if
    // it was changed. Returns true when the note was written.
    static bool run(const QString& programFolder, QWidget* parent = nullptr);

    QString notePath() const { return m_path; }
    QByteArray noteText() const; // Windows-1252, lines joined with "\n"
    bool isModified() const;
    // Writes the note if it was changed (shows the error otherwise); true when
    // it wrote.
    bool saveIfModified();

private:
    void print();

    QString m_path;
    AnsiPlainTextEdit* m_memo;
};

} // namespace tarvik
