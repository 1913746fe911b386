#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tarvik {

// Everything the core asks the user goes through this interface: the windows
// implement it with message boxes and file dialogs, the tests with a script.
class Prompter
{
public:
    enum class Answer { Yes, No, Cancel };

    struct FileChoice
    {
        QString path;
        int filterIndex = 1; // 1-based entry of the filter list that was selected
    };

    virtual ~Prompter() = default;

    // Plain box without icon, OK button, titled "Tarvik".
    virtual void information(const QString& text) = 0;
    // Warning box with OK/Cancel; true on OK.
    virtual bool confirm(const QString& text) = 0;
    // Warning box with Yes/No; true on Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // Information box with Yes/No, for a choice that is not a warning; true
    // on Yes. A prompter without such a box asks as askYesNo does.
    virtual bool askYesNoInformation(const QString& text) { return askYesNo(text); }
    // Warning box with Yes/No/Cancel.
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // One-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // The same box for a secret: what is typed is not shown. A prompter
    // that shows nothing of what is typed asks as inputText does.
    virtual std::optional<QString> inputPassword(const QString& caption, const QString& prompt)
    {
        return inputText(caption, prompt, QString());
    }
    // Open dialog. filters are "Label (*.ext)" entries in order.
    virtual std::optional<FileChoice> chooseOpenFile(const QStringList& filters,
                                                     const QString& defaultSuffix) = 0;
    // Save dialog; no overwrite question of its own.
    virtual std::optional<FileChoice> chooseSaveFile(const QStringList& filters,
                                                     const QString& defaultSuffix,
                                                     const QString& initialName) = 0;
};

} // namespace tarvik
