#pragma once

#include <QString>
#include <stdexcept>

namespace tarvik {

// A failure the user is told about: the text is French and shown as it stands.
class TarvikError : public std::runtime_error
{
public:
    explicit TarvikError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text)
    {
    }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace tarvik
