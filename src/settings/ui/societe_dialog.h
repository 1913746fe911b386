#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <QList>

class QLineEdit;

namespace tarvik {

// The seven lines of the user's company, as letters and envelopes head them.
class TSociete : public QDialog
{
    Q_OBJECT
public:
    explicit TSociete(const settings::CompanyLines& lines, QWidget* parent = nullptr);

    // Shows the dialog modally. "OK" with a first line replaces all seven
    // lines and returns true; "OK" with an empty first line, "Annuler", Esc and
    // the close box change nothing.
    static bool edit(settings::CompanyLines& lines, QWidget* parent);

    settings::CompanyLines lines() const;

private:
    QList<QLineEdit*> m_edits;
};

} // namespace tarvik
