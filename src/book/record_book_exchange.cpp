#include "book/record_book.h"

#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/prompter.h"

namespace tarvik {

exchange::ImportOutcome RecordBook::importFile(const QString& path)
{
    exchange::ImportOutcome outcome;
    m_contacts.append([&outcome, &path, this](BlockList& list, int& count, int& last) {
        outcome = exchange::importContacts(list, count, last, path, m_prompter);
    });
    Compteurs();
    Dernier();
    return outcome;
}

void RecordBook::exportFile(const QString& path, int filterIndex)
{
    const exchange::ExportFormat format = exchange::exportFormat(filterIndex);
    exchange::exportContacts(contacts(), exchange::exportPath(path, format), format);
}

} // namespace tarvik
