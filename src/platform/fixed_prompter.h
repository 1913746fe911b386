#pragma once

#include "platform/prompter.h"

namespace tarvik {

// A prompter that shows nothing and gives the same answer to every question:
// for programs that only look at the data (benchmarks, fuzz targets), and the
// base of the command-line prompters, which offer no choice of file or text.
class FixedPrompter : public Prompter
{
public:
    explicit FixedPrompter(bool yes = false) : m_yes(yes) {}

    int informations = 0;
    void information(const QString&) override { ++informations; }
    bool confirm(const QString&) override { return m_yes; }
    bool askYesNo(const QString&) override { return m_yes; }
    Answer askYesNoCancel(const QString&) override { return m_yes ? Answer::Yes : Answer::Cancel; }
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

private:
    bool m_yes;
};

} // namespace tarvik
