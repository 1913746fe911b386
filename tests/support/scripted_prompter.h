#pragma once

#include "platform/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <stdexcept>

namespace tarvik {

// A prompter that records every question and gives the answers a test queued.
// An unexpected question fails loudly instead of blocking.
class ScriptedPrompter : public Prompter
{
public:
    struct Asked
    {
        // "information", "confirm", "yesno", "infoyesno", "yesnocancel", "input", "open", "save"
        QString kind;
        QString text;
    };

    QList<Asked> asked;
    std::deque<bool> confirmAnswers;
    std::deque<bool> yesNoAnswers;
    std::deque<Answer> yesNoCancelAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<FileChoice>> openAnswers;
    std::deque<std::optional<FileChoice>> saveAnswers;
    QStringList lastFilters;

    QStringList texts(const QString& kind = QString()) const
    {
        QStringList r;
        for (const Asked& a : asked)
            if (kind.isEmpty() || a.kind == kind)
                r << a.text;
        return r;
    }

    void information(const QString& text) override { asked.append({"information", text}); }
    bool confirm(const QString& text) override
    {
        asked.append({"confirm", text});
        return take(confirmAnswers, text);
    }
    bool askYesNo(const QString& text) override
    {
        asked.append({"yesno", text});
        return take(yesNoAnswers, text);
    }
    // Answered from the same queue as askYesNo: only the box differs.
    bool askYesNoInformation(const QString& text) override
    {
        asked.append({"infoyesno", text});
        return take(yesNoAnswers, text);
    }
    Answer askYesNoCancel(const QString& text) override
    {
        asked.append({"yesnocancel", text});
        return take(yesNoCancelAnswers, text);
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString&) override
    {
        asked.append({"input", caption + "|" + prompt});
        return take(inputAnswers, caption);
    }
    std::optional<FileChoice> chooseOpenFile(const QStringList& filters, const QString&) override
    {
        lastFilters = filters;
        asked.append({"open", filters.join(";;")});
        return take(openAnswers, "open dialog");
    }
    std::optional<FileChoice> chooseSaveFile(const QStringList& filters, const QString&,
                                             const QString& initialName) override
    {
        lastFilters = filters;
        asked.append({"save", initialName});
        return take(saveAnswers, "save dialog");
    }

private:
    template <typename T> static T take(std::deque<T>& q, const QString& what)
    {
        if (q.empty())
            throw std::logic_error(("unexpected question: " + what).toStdString());
        T v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace tarvik
