#include "exchange/export.h"

#include "contacts/contact_record.h"
#include "exchange/csv_contacts.h"
#include "platform/errors.h"
#include "storage/ansi.h"
#include "storage/block_index.h"

#include <QSaveFile>

#include <algorithm>

namespace tarvik {

namespace exchange {

namespace {

constexpr int FirstField = contact::Name; // name .. fax, seven values
constexpr int FieldCount = 7;

const char* const XmlTags[FieldCount] = {"nom", "adr1", "adr2", "cp", "ville", "tel", "fax"};

// The value as XML character data, still in Windows-1252: the characters
// XML gives a meaning to are ASCII there, and so are the control characters it
// does not allow. Every other byte decodes to a character XML 1.0 accepts.
void appendXmlText(QByteArray& out, const QByteArray& value)
{
    const qsizetype n = value.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = value.at(i);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>' && out.endsWith("]]"))
            out += "&gt;"; // "]]>" may not stand in character data, also once a
                           // left-out byte has brought the brackets together
        else if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        else
            out += c;
    }
}

QByteArray delimited(const BlockList& list, char separator)
{
    QByteArray out;
    const qsizetype n = list.size();
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        const qsizetype i = block.first;
        for (int f = 0; f < FieldCount; ++f) {
            if (f > 0)
                out += separator;
            const qsizetype at = i + FirstField + f;
            if (at < n)
                out += list.at(at);
        }
        out += "\r\n";
    }
    return out;
}

QByteArray xml(const BlockList& list)
{
    QByteArray out("<?xml version=\"1.0\" ?>\r\n<racine>\r\n");
    const blocks::BlockIndex index(list, blocks::ContactDigits);
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        const qsizetype i = block.first;
        out += "<record>\r\n";
        for (int f = 0; f < FieldCount; ++f) {
            out += '<';
            out += XmlTags[f];
            out += '>';
            appendXmlText(out, contact::field(list, i, FirstField + f));
            out += "</";
            out += XmlTags[f];
            out += ">\r\n";
        }
        out += "</record>\r\n";
    }
    out += "</racine>\r\n";
    // One conversion of the whole document to UTF-8.
    return ansi::toUnicode(out).toUtf8();
}

} // namespace

QStringList exportFilters()
{
    return {QStringLiteral("Fichier texte+tabulation (*.txt)"),
            QStringLiteral("Fichier texte+point-virgule (*.csv)"),
            QStringLiteral("Fichier xml (*.xml)"),
            QStringLiteral("vCard (*.vcf)"),
            QStringLiteral("Relances iCalendar (*.ics)"),
            QStringLiteral("CSV avec en-têtes (*.csv)")};
}

QString exportDefaultName()
{
    return QStringLiteral("Export.txt");
}

QString exportDefaultSuffix()
{
    return QStringLiteral("txt");
}

ExportFormat exportFormat(int filterIndex)
{
    switch (filterIndex) {
    case 2:
        return ExportFormat::Semicolon;
    case 3:
        return ExportFormat::Xml;
    case 4:
        return ExportFormat::Vcard;
    case 5:
        return ExportFormat::Calendar;
    case 6:
        return ExportFormat::Csv;
    default:
        return ExportFormat::Text;
    }
}

QString exportPath(const QString& chosen, ExportFormat format)
{
    // A dot in a folder name is no extension of the file.
    const qsizetype slash = std::max(chosen.lastIndexOf(u'/'), chosen.lastIndexOf(u'\\'));
    if (chosen.indexOf(u'.', slash + 1) >= 0)
        return chosen;
    switch (format) {
    case ExportFormat::Semicolon:
    case ExportFormat::Csv:
        return chosen + QStringLiteral(".csv");
    case ExportFormat::Xml:
        return chosen + QStringLiteral(".xml");
    case ExportFormat::Vcard:
        return chosen + QStringLiteral(".vcf");
    case ExportFormat::Calendar:
        return chosen + QStringLiteral(".ics");
    case ExportFormat::Text:
        break;
    }
    return chosen + QStringLiteral(".txt");
}

QByteArray exportBytes(const BlockList& list, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Semicolon:
        return delimited(list, ';');
    case ExportFormat::Xml:
        return xml(list);
    case ExportFormat::Csv:
        return exportCsv(list);
    case ExportFormat::Vcard:
    case ExportFormat::Calendar:
    case ExportFormat::Text:
        break;
    }
    return delimited(list, '\t');
}

void exportContacts(const BlockList& list, const QString& path, ExportFormat format)
{
    writeExport(path, exportBytes(list, format));
}

void writeExport(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TarvikError(
            QStringLiteral("Impossible de créer le fichier %1 : %2").arg(path, file.errorString()));
    if (file.write(data) != data.size() || !file.commit())
        throw TarvikError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, file.errorString()));
}

} // namespace exchange

} // namespace tarvik
