#include "book/record_book.h"

#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/prompter.h"

exchange::ImportOutcome RecordBook::importFile(const QString& path)
{
    // The shown record goes back into its own block before any is appended:
    // the import of a new file's first record takes the number 0.
    EcritFiche();
    exchange::ImportOutcome outcome;
    int last = m_current;
    try {
        outcome = exchange::importContacts(m_contacts, m_count, last, path, m_prompter);
    } catch (...) {
        setCurrent(std::max(0, std::min(last, m_count - 1)));
        // Whatever was appended before the failure is the user's data now.
        if (blocks::countHeaders(m_contacts) > 0)
            m_flags.fileModified = true;
        throw;
    }
    setCurrent(last);
    // Even when a table stopped in the middle, the blocks appended so far are
    // in the list: the file counts as modified so that they can be saved.
    m_flags.fileModified = true;
    Compteurs();
    Dernier();
    return outcome;
}

void RecordBook::exportFile(const QString& path, int filterIndex)
{
    const exchange::ExportFormat format = exchange::exportFormat(filterIndex);
    exchange::exportContacts(m_contacts, exchange::exportPath(path, format), format);
}
