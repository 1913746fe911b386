#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tarvik {

class Prompter;
class RecordBook;
namespace exchange {
class ColumnMapper;
enum class ImportFormat;
enum class ExportFormat;
} // namespace exchange

// The import and export commands with their checks, dialogs and messages, the
// same for the main window's "I&mporter..." and "E&xporter..." and for the
// command line: on the contacts page only, the shown contact written back
// first, the file chosen through the prompter, the closing message told.
class ExchangeCommands
{
public:
    // `mapper` answers for spreadsheet columns of unknown headers (none:
    // they are ignored and told); `busy` is told when long work starts
    // (true) and ends (false), for the wait cursor.
    ExchangeCommands(RecordBook& book, Prompter& prompter, exchange::ColumnMapper* mapper = nullptr,
                     std::function<void(bool)> busy = {});

    // "I&mporter...". True when something was imported (the window then
    // enables its commands and selects all records). A file that cannot be
    // read is told, and nothing is imported.
    bool importFile();
    // "E&xporter...". Throws TarvikError when the file cannot be written.
    bool exportFile();

    // For the command line: the format names it takes.
    static std::optional<exchange::ImportFormat> importFormatNamed(const QString& name);
    static std::optional<exchange::ExportFormat> exportFormatNamed(const QString& name);

    // Imports the files (all read first; TarvikError when one cannot be read,
    // nothing imported) and returns the closing message. A dBase reader error
    // throws too, after the import: the caller then saves nothing.
    QString importFiles(const QStringList& paths, exchange::ImportFormat format);
    QByteArray exportBytes(exchange::ExportFormat format);
    void exportTo(const QString& path, exchange::ExportFormat format);

private:
    RecordBook& m_book;
    Prompter& m_prompter;
    exchange::ColumnMapper* m_mapper;
    std::function<void(bool)> m_busy;
};

} // namespace tarvik
