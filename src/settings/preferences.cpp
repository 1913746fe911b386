#include "settings/preferences.h"

#include "platform/errors.h"

#include <QStringList>

namespace tarvik {

void Preferences::ChargeSoc(const QString& folder)
{
    m_company = settings::loadCompany(settings::companyPath(folder));
}

void Preferences::ChargeIni(const QString& folder)
{
    m_ini = settings::loadIni(settings::iniPath(folder));
}

void Preferences::ChargeCombo(const QString& folder)
{
    settings::loadPickLists(settings::pickListPath(folder), m_pickLists);
}

void Preferences::SauveIni(const QString& folder)
{
    settings::saveIni(settings::iniPath(folder), m_ini);
}

void Preferences::SauveSoc(const QString& folder)
{
    settings::saveCompany(settings::companyPath(folder), m_company);
}

void Preferences::SauveCombo(const QString& folder)
{
    settings::savePickLists(settings::pickListPath(folder), m_pickLists);
}

void Preferences::saveAll(const QString& folder)
{
    // Each file on its own: one that cannot be written must not cost the
    // others the changes of the session.
    QStringList failures;
    const auto attempt = [&failures](const auto& write) {
        try {
            write();
        } catch (const TarvikError& e) {
            failures << e.text();
        }
    };
    attempt([&] { SauveIni(folder); });
    attempt([&] { SauveSoc(folder); });
    attempt([&] { SauveCombo(folder); });
    if (!failures.isEmpty())
        throw TarvikError(failures.join(QLatin1Char('\n')));
}

void Preferences::setSelection(int mode, const QByteArray& postcode, const QByteArray& town)
{
    m_ini.selectionMode = mode;
    m_ini.postcodeFilter = postcode;
    m_ini.townFilter = town;
}

void Preferences::setEnvelopeLayout(int orientation, bool guideOnRight)
{
    if (orientation == -1)
        return;
    m_ini.envelopeOrientation = orientation;
    m_ini.envelopeOffset = guideOnRight ? 100 : 0;
}

void Preferences::setPickList(settings::PickList list, const QList<QByteArray>& items)
{
    if (list < 0 || list >= settings::PickListCount)
        return;
    m_pickLists[list] = items;
}

} // namespace tarvik
