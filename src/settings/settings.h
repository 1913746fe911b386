#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

namespace tarvik {

// The files of the program folder that outlive a contact file.
namespace settings {

// "Tarvik.ini": thirteen lines.
constexpr int IniLineCount = 13;
struct IniValues
{
    double kept1 = 0.0;             // line 1, written back in scientific notation
    QString lastFile;               // line 2
    int autoOpen = 0;               // line 3
    int reservedPage = 0;           // line 4
    int envelopeOrientation = 0;    // line 5: 0 portrait, 1 landscape
    int envelopeOffset = 0;         // line 6: 100 when the envelope guide is on the right
    std::array<int, 4> kept7to10{}; // lines 7 to 10, written back unchanged
    int selectionMode = 0;          // line 11
    QByteArray postcodeFilter;      // line 12
    QByteArray townFilter;          // line 13
};

// Missing files give the defaults; a file that cannot be read or written
// throws TarvikError.
IniValues loadIni(const QString& path); // defaults when the file is missing
void saveIni(const QString& path, const IniValues& values);
// The thirteen lines written by saveIni.
BlockList iniLines(const IniValues& values);
// A real as line 1 holds it: 23 characters, " 0.00000000000000E+0000" for 0.
QByteArray formatReal(double value);

// "Tarvik.soc": the seven lines of the user's company.
using CompanyLines = std::array<QByteArray, 7>;
CompanyLines loadCompany(const QString& path);
void saveCompany(const QString& path, const CompanyLines& lines);

// The nine pick lists, in the order of their sections in "Tarvik.cbx".
enum PickList {
    Fonction,
    Contact,
    Interlocuteur,
    Produit,
    Reponse,
    Arguments,
    Appreciation,
    Relance,
    Operation,
    PickListCount
};
using PickLists = std::array<QList<QByteArray>, PickListCount>;
QByteArray sectionHeader(PickList list); // "[FONCTION]" ...
bool isSectionHeader(const QByteArray& line);
// Appends the items of `lines` to `lists`: a header line selects its list,
// every other line (empty ones too) is an item, lines before any header are
// ignored.
void readPickLists(const BlockList& lines, PickLists& lists);
BlockList pickListLines(const PickLists& lists);
// Appends the items of the file to `lists` (they are not cleared first).
void loadPickLists(const QString& path, PickLists& lists);
void savePickLists(const QString& path, const PickLists& lists);

// File names in the program folder. Reading also accepts a file whose name
// differs by letter case only ("Tarvik.Cbx").
QString iniPath(const QString& folder);
QString companyPath(const QString& folder);
QString pickListPath(const QString& folder);

} // namespace settings

} // namespace tarvik
