#include "exchange/export.h"

#include "platform/errors.h"
#include "store/ansi.h"
#include "store/contact_record.h"

#include <QSaveFile>

namespace exchange {

namespace {

constexpr int FirstField = contact::Name; // name .. fax, seven values
constexpr int FieldCount = 7;

const char* const XmlTags[FieldCount] = {"nom", "adr1", "adr2", "cp", "ville", "tel", "fax"};

// The value as XML character data: well-formed whatever the stored bytes.
void appendXmlText(QString& out, const QByteArray& value)
{
    const QString text = ansi::toUnicode(value);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'&')
            out += QLatin1String("&amp;");
        else if (u == u'<')
            out += QLatin1String("&lt;");
        else if (u == u'>' && i >= 2 && text.at(i - 1) == u']' && text.at(i - 2) == u']')
            out += QLatin1String("&gt;"); // "]]>" may not stand in character data
        else if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
            continue; // not a character of XML 1.0
        else if (u == 0xFFFE || u == 0xFFFF)
            continue;
        else
            out += c;
    }
}

QByteArray delimited(const BlockList& list, char separator)
{
    QByteArray out;
    const qsizetype n = list.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!blocks::isHeader(list.at(i)))
            continue;
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
    QString out;
    out += QLatin1String("<?xml version=\"1.0\" ?>\r\n<racine>\r\n");
    const qsizetype n = list.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!blocks::isHeader(list.at(i)))
            continue;
        out += QLatin1String("<record>\r\n");
        for (int f = 0; f < FieldCount; ++f) {
            out += QLatin1Char('<') + QLatin1String(XmlTags[f]) + QLatin1Char('>');
            appendXmlText(out, contact::field(list, i, FirstField + f));
            out += QLatin1String("</") + QLatin1String(XmlTags[f]) + QLatin1String(">\r\n");
        }
        out += QLatin1String("</record>\r\n");
    }
    out += QLatin1String("</racine>\r\n");
    return out.toUtf8();
}

} // namespace

QStringList exportFilters()
{
    return {QStringLiteral("Fichier texte+tabulation (*.txt)"),
            QStringLiteral("Fichier texte+point-virgule (*.csv)"),
            QStringLiteral("Fichier xml (*.xml)")};
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
        return chosen + QStringLiteral(".csv");
    case ExportFormat::Xml:
        return chosen + QStringLiteral(".xml");
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
    case ExportFormat::Text:
        break;
    }
    return delimited(list, '\t');
}

void exportContacts(const BlockList& list, const QString& path, ExportFormat format)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TarvikError(
            QStringLiteral("Impossible de créer le fichier %1 : %2").arg(path, file.errorString()));
    const QByteArray data = exportBytes(list, format);
    if (file.write(data) != data.size() || !file.commit())
        throw TarvikError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, file.errorString()));
}

} // namespace exchange
