#pragma once

#include "settings/settings.h"

#include <QByteArray>
#include <QString>

namespace tarvik {

// The preferences of the program folder: the values of "Tarvik.ini", the
// company lines of "Tarvik.soc" and the pick lists of "Tarvik.cbx", with
// their loading and saving. Callers change them only through the methods
// here.
class Preferences
{
public:
    const settings::IniValues& ini() const { return m_ini; }
    const settings::CompanyLines& company() const { return m_company; }
    const settings::PickLists& pickLists() const { return m_pickLists; }
    const QList<QByteArray>& pickList(settings::PickList list) const { return m_pickLists[list]; }

    // Each throws TarvikError when its file exists but cannot be read; a
    // missing file gives the defaults.
    void ChargeSoc(const QString& folder);
    void ChargeIni(const QString& folder);
    // The items of the file are added to the lists already held.
    void ChargeCombo(const QString& folder);

    // Each throws TarvikError when its file cannot be written; the old file
    // then stays whole.
    void SauveIni(const QString& folder);
    void SauveSoc(const QString& folder);
    void SauveCombo(const QString& folder);
    // The three files, each tried whatever became of the others; throws one
    // TarvikError naming every file that failed.
    void saveAll(const QString& folder);

    void setAutoOpen(bool on) { m_ini.autoOpen = on ? 1 : 0; }
    bool autoOpen() const { return m_ini.autoOpen == 1; }
    void setLastFile(const QString& path) { m_ini.lastFile = path; }
    // The selection kept from run to run.
    void setSelection(int mode, const QByteArray& postcode, const QByteArray& town);
    // The envelope layout: orientation 0 portrait, 1 landscape, -1 when the
    // page setup was left without a choice (nothing changes); the guide on
    // the right or not.
    void setEnvelopeLayout(int orientation, bool guideOnRight);
    void setCompanyLines(const settings::CompanyLines& lines) { m_company = lines; }
    void setPickList(settings::PickList list, const QList<QByteArray>& items);

private:
    settings::IniValues m_ini;
    settings::CompanyLines m_company;
    settings::PickLists m_pickLists;
};

} // namespace tarvik
