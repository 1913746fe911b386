#include "book/exchange_commands.h"

#include "book/record_book.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/errors.h"
#include "platform/prompter.h"

namespace tarvik {

namespace {

// Tells `busy` for the length of a scope.
class BusyScope
{
public:
    explicit BusyScope(const std::function<void(bool)>& busy) : m_busy(busy)
    {
        if (m_busy)
            m_busy(true);
    }
    ~BusyScope()
    {
        if (m_busy)
            m_busy(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& m_busy;
};

} // namespace

ExchangeCommands::ExchangeCommands(RecordBook& book, Prompter& prompter,
                                   exchange::ColumnMapper* mapper, std::function<void(bool)> busy)
    : m_book(book), m_prompter(prompter), m_mapper(mapper), m_busy(std::move(busy))
{
}

bool ExchangeCommands::importFile()
{
    if (m_book.page() != RecordBook::Page::Contacts)
        return false;
    m_book.EcritFiche();
    const auto choice =
        m_prompter.chooseOpenFile(exchange::importFilters(), exchange::importDefaultSuffix());
    if (!choice || choice->path.isEmpty())
        return false;
    exchange::ImportOutcome outcome;
    try {
        BusyScope busy(m_busy);
        outcome = m_book.importFiles({choice->path}, exchange::importFormat(choice->filterIndex),
                                     m_mapper);
    } catch (const TarvikError& e) {
        // A missing or unreadable file is told in a plain box.
        m_prompter.information(e.text());
        return false;
    }
    if (!outcome.error.isEmpty())
        m_prompter.information(outcome.error);
    m_prompter.information(exchange::importSummary(outcome));
    return true;
}

bool ExchangeCommands::exportFile()
{
    if (m_book.page() != RecordBook::Page::Contacts)
        return false;
    m_book.EcritFiche();
    // No default extension: the one that goes with the chosen entry is added
    // to a name typed without any.
    const auto choice = m_prompter.chooseSaveFile(exchange::exportFilters(), QString(),
                                                  exchange::exportDefaultName());
    if (!choice || choice->path.isEmpty())
        return false;
    BusyScope busy(m_busy);
    m_book.exportFile(choice->path, choice->filterIndex);
    return true;
}

std::optional<exchange::ImportFormat> ExchangeCommands::importFormatNamed(const QString& name)
{
    using exchange::ImportFormat;
    if (name == u"vcard")
        return ImportFormat::Vcard;
    if (name == u"csv")
        return ImportFormat::Csv;
    if (name == u"txt")
        return ImportFormat::Text;
    if (name == u"semicolon")
        return ImportFormat::Semicolon;
    if (name == u"dbf")
        return ImportFormat::Dbase;
    return std::nullopt;
}

std::optional<exchange::ExportFormat> ExchangeCommands::exportFormatNamed(const QString& name)
{
    using exchange::ExportFormat;
    if (name == u"vcard")
        return ExportFormat::Vcard;
    if (name == u"ics")
        return ExportFormat::Calendar;
    if (name == u"csv")
        return ExportFormat::Csv;
    if (name == u"txt")
        return ExportFormat::Text;
    if (name == u"semicolon")
        return ExportFormat::Semicolon;
    if (name == u"xml")
        return ExportFormat::Xml;
    return std::nullopt;
}

QString ExchangeCommands::importFiles(const QStringList& paths, exchange::ImportFormat format)
{
    m_book.showContacts();
    const exchange::ImportOutcome outcome = m_book.importFiles(paths, format, m_mapper);
    if (!outcome.error.isEmpty())
        throw TarvikError(outcome.error);
    return exchange::importSummary(outcome);
}

QByteArray ExchangeCommands::exportBytes(exchange::ExportFormat format)
{
    m_book.EcritFiche();
    return m_book.exportBytes(format);
}

void ExchangeCommands::exportTo(const QString& path, exchange::ExportFormat format)
{
    m_book.EcritFiche();
    m_book.exportTo(path, format);
}

} // namespace tarvik
