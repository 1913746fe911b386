#pragma once

#include <QByteArray>
#include <clocale>

namespace tarvik {

// Sets the C library locale of the process for the life of the object, as
// QCoreApplication does from the environment on a user's machine, and puts
// the previous one back.
class ProcessLocale
{
public:
    explicit ProcessLocale(const char* name)
    {
        if (const char* before = std::setlocale(LC_ALL, nullptr))
            m_before = before;
        m_ok = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, m_before.isEmpty() ? "C" : m_before.constData()); }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;

    // False when the machine lacks the locale (scripts/deps.sh generates it).
    bool ok() const { return m_ok; }

private:
    QByteArray m_before;
    bool m_ok = false;
};

// The locale of a French user's machine, whose decimal separator is a comma.
inline constexpr const char* FrenchLocale = "fr_FR.UTF-8";

} // namespace tarvik
