// The three settings files of the program folder on arbitrary bytes: no
// crash, and what a load gives survives a save and a second load unchanged.
#include "fuzz_support.h"
#include "platform/errors.h"
#include "settings/settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>

using namespace tarvik;

namespace {

void roundTrip(int which, const QString& folder, const QString& other)
{
    switch (which) {
    case 0: {
        const settings::IniValues first = settings::loadIni(settings::iniPath(folder));
        settings::saveIni(settings::iniPath(other), first);
        const settings::IniValues second = settings::loadIni(settings::iniPath(other));
        FUZZ_CHECK(settings::iniLines(second) == settings::iniLines(first));
        FUZZ_CHECK(settings::iniLines(first).size() == settings::IniLineCount);
        break;
    }
    case 1: {
        const settings::CompanyLines first = settings::loadCompany(settings::companyPath(folder));
        settings::saveCompany(settings::companyPath(other), first);
        FUZZ_CHECK(settings::loadCompany(settings::companyPath(other)) == first);
        break;
    }
    default: {
        settings::PickLists first;
        settings::loadPickLists(settings::pickListPath(folder), first);
        settings::savePickLists(settings::pickListPath(other), first);
        settings::PickLists second;
        settings::loadPickLists(settings::pickListPath(other), second);
        FUZZ_CHECK(second == first);
        break;
    }
    }
}

} // namespace

// Input: one byte choosing the file (0 "Tarvik.ini", 1 "Tarvik.soc", 2
// "Tarvik.cbx"), then its bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString folder = dir.filePath(QStringLiteral("in"));
    static const QString other = dir.filePath(QStringLiteral("out"));
    static const bool made = QDir().mkpath(folder) && QDir().mkpath(other);
    FUZZ_CHECK(made);
    if (size < 1)
        return 0;
    const int which = data[0] % 3;
    const QString paths[] = {settings::iniPath(folder), settings::companyPath(folder),
                             settings::pickListPath(folder)};
    putFile(paths[which], reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        roundTrip(which, folder, other);
    } catch (const TarvikError&) {
        // only a file that cannot be read or written may fail, never a content
        std::abort();
    }
    return 0;
}
