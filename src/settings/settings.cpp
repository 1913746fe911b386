#include "settings/settings.h"

#include <QDir>

// A first cut: the settings developer completes the file formats.
namespace settings {

IniValues loadIni(const QString&) { return {}; }
void saveIni(const QString&, const IniValues&) {}
CompanyLines loadCompany(const QString&) { return {}; }
void saveCompany(const QString&, const CompanyLines&) {}
QByteArray sectionHeader(PickList) { return {}; }
void loadPickLists(const QString&, PickLists&) {}
void savePickLists(const QString&, const PickLists&) {}
QString iniPath(const QString& folder) { return QDir(folder).filePath(QStringLiteral("Tarvik.ini")); }
QString companyPath(const QString& folder) { return QDir(folder).filePath(QStringLiteral("Tarvik.soc")); }
QString pickListPath(const QString& folder) { return QDir(folder).filePath(QStringLiteral("Tarvik.cbx")); }

} // namespace settings
