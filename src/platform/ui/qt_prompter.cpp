#include "platform/ui/qt_prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tarvik {

static const QString Title = QStringLiteral("Tarvik");

void QtPrompter::information(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, Title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    return box.exec() == QMessageBox::Ok;
}

bool QtPrompter::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, Title, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompter::askYesNoInformation(const QString& text)
{
    QMessageBox box(QMessageBox::Information, Title, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    return box.exec() == QMessageBox::Yes;
}

Prompter::Answer QtPrompter::askYesNoCancel(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, Title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::inputText(const QString& caption, const QString& prompt,
                                             const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtPrompter::inputPassword(const QString& caption, const QString& prompt)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

static int indexOfFilter(const QStringList& filters, const QString& selected)
{
    const qsizetype i = filters.indexOf(selected);
    return i < 0 ? 1 : int(i) + 1;
}

std::optional<Prompter::FileChoice> QtPrompter::chooseOpenFile(const QStringList& filters,
                                                               const QString& defaultSuffix)
{
    QFileDialog dialog(m_parent, QString(), QDir::currentPath(), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().first(),
                      indexOfFilter(filters, dialog.selectedNameFilter())};
}

std::optional<Prompter::FileChoice> QtPrompter::chooseSaveFile(const QStringList& filters,
                                                               const QString& defaultSuffix,
                                                               const QString& initialName)
{
    QFileDialog dialog(m_parent, QString(), QDir::currentPath(), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!initialName.isEmpty() && !initialName.contains(QLatin1Char('*')))
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().first(),
                      indexOfFilter(filters, dialog.selectedNameFilter())};
}

} // namespace tarvik
