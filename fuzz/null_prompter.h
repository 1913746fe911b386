#pragma once

#include "platform/prompter.h"

// Answers nothing and shows nothing: the fuzz targets only look at the data.
class NullPrompter : public Prompter
{
public:
    int informations = 0;
    void information(const QString&) override { ++informations; }
    bool confirm(const QString&) override { return false; }
    bool askYesNo(const QString&) override { return false; }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<FileChoice> chooseOpenFile(const QStringList&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<FileChoice> chooseSaveFile(const QStringList&, const QString&,
                                             const QString&) override
    {
        return std::nullopt;
    }
};
