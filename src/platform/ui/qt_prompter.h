#pragma once

#include "platform/prompter.h"

class QWidget;

namespace tarvik {

// The prompter of the windows: message boxes titled "Tarvik", the input box and
// the file dialogs.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void information(const QString& text) override;
    bool confirm(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool askYesNoInformation(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    std::optional<QString> inputPassword(const QString& caption, const QString& prompt) override;
    std::optional<FileChoice> chooseOpenFile(const QStringList& filters,
                                             const QString& defaultSuffix) override;
    std::optional<FileChoice> chooseSaveFile(const QStringList& filters,
                                             const QString& defaultSuffix,
                                             const QString& initialName) override;

private:
    QWidget* m_parent;
};

} // namespace tarvik
