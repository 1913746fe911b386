#include "book/record_book.h"

#include "exchange/card_exchange.h"
#include "exchange/csv_contacts.h"
#include "exchange/export.h"
#include "exchange/followup_calendar.h"
#include "exchange/import.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/prompter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace tarvik {

namespace {

void checkReadable(const QString& path)
{
    if (!QFileInfo::exists(path))
        throw TarvikError(QStringLiteral("Le ficher ") + path + QStringLiteral("n'existe pas"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TarvikError(
            QStringLiteral("Impossible de lire le fichier %1 : %2").arg(path, file.errorString()));
}

QByteArray readWhole(const QString& path)
{
    checkReadable(path);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TarvikError(
            QStringLiteral("Impossible de lire le fichier %1 : %2").arg(path, file.errorString()));
    return data;
}

} // namespace

exchange::ImportOutcome RecordBook::importFile(const QString& path)
{
    return importFiles({path}, exchange::ImportFormat::ByName);
}

exchange::ImportOutcome RecordBook::importFiles(const QStringList& paths,
                                                exchange::ImportFormat format,
                                                exchange::ColumnMapper* mapper)
{
    using exchange::ImportFormat;
    // Every file is read before anything is appended: when one cannot be
    // read, nothing of the others is imported either.
    struct Input
    {
        QString path;
        QByteArray data;
        exchange::ForeignRead foreign;
    };
    QList<Input> inputs;
    for (const QString& path : paths) {
        Input in{path, {}, {}};
        switch (format) {
        case ImportFormat::ByName:
        case ImportFormat::Dbase:
            checkReadable(path);
            break;
        case ImportFormat::Text:
        case ImportFormat::Semicolon:
            in.data = readWhole(path);
            break;
        case ImportFormat::Vcard:
            in.foreign = exchange::readVcards(readWhole(path));
            break;
        case ImportFormat::Csv:
            in.foreign = exchange::readCsv(readWhole(path), mapper);
            break;
        }
        if (paths.size() > 1)
            for (QString& line : in.foreign.skipped)
                line = QFileInfo(path).fileName() + QStringLiteral(", ") + line;
        inputs.append(std::move(in));
    }

    exchange::ImportOutcome outcome;
    m_contacts.append([&](BlockList& list, int& count, int& last) {
        for (Input& in : inputs) {
            switch (format) {
            case ImportFormat::ByName:
                outcome += exchange::importContacts(list, count, last, in.path, m_prompter);
                break;
            case ImportFormat::Text:
            case ImportFormat::Semicolon: {
                QBuffer buffer(&in.data);
                buffer.open(QIODevice::ReadOnly);
                outcome +=
                    exchange::importText(list, count, last, buffer,
                                         format == ImportFormat::Text ? '\t' : ';', m_prompter);
                break;
            }
            case ImportFormat::Dbase:
                outcome += exchange::importTable(list, count, last, in.path, m_prompter);
                break;
            case ImportFormat::Vcard:
            case ImportFormat::Csv:
                outcome +=
                    exchange::appendForeign(list, count, last, in.foreign, m_prompter, &m_uids);
                break;
            }
            if (outcome.truncated || !outcome.error.isEmpty())
                break;
        }
    });
    Compteurs();
    Dernier();
    try {
        keepIdentifiers();
    } catch (const TarvikError& e) {
        outcome.skipped.append(e.text()); // the identifiers are written again at the save
    }
    return outcome;
}

void RecordBook::keepIdentifiers()
{
    // Created by the first import or export, so that two exports give the
    // same identifiers even before the contact file is saved.
    if (!m_contactPath.isEmpty() && !m_uids.hadFile())
        m_uids.save(m_contactPath, contacts());
}

QByteArray RecordBook::exportBytes(exchange::ExportFormat format)
{
    QByteArray data;
    switch (format) {
    case exchange::ExportFormat::Vcard:
        data = exchange::exportVcards(contacts(), m_uids);
        break;
    case exchange::ExportFormat::Calendar:
        data = exchange::exportFollowups(contacts(), m_uids, m_clock.now());
        break;
    default:
        return exchange::exportBytes(contacts(), format);
    }
    keepIdentifiers();
    return data;
}

void RecordBook::exportTo(const QString& path, exchange::ExportFormat format)
{
    exchange::writeExport(path, exportBytes(format));
}

void RecordBook::exportFile(const QString& path, int filterIndex)
{
    const exchange::ExportFormat format = exchange::exportFormat(filterIndex);
    exportTo(exchange::exportPath(path, format), format);
}

} // namespace tarvik
