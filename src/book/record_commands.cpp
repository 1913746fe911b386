#include "book/record_commands.h"

#include "book/record_book.h"
#include "platform/prompter.h"
#include "selection/search.h"
#include "storage/ansi.h"

namespace tarvik {

namespace recordcommands {

bool deleteShown(RecordBook& book)
{
    if (!book.prompter().confirm(QStringLiteral("Confirmer suppression de la fiche ?")))
        return false;
    book.Supprime();
    return true;
}

bool mayDeleteHistoryText(RecordBook& book)
{
    return book.prompter().confirm(QStringLiteral("Confirmer suppression ?"));
}

void searchSummary(RecordBook& book)
{
    const std::optional<QString> typed = book.prompter().inputText(
        QStringLiteral("Rechercher résumé"), QStringLiteral("Résumé"), QString());
    if (!typed || typed->isEmpty())
        return;
    QByteArray query;
    if (!ansi::fromUnicode(*typed, query)) {
        // No stored summary can hold a character outside the file's code page.
        book.prompter().information(search::notFoundText(*typed));
        return;
    }
    book.RechResume(query);
}

std::optional<ListRequest> openList(RecordBook& book)
{
    if (book.page() == RecordBook::Page::Contacts) {
        book.EcritFiche();
        return ListRequest{true, listing::rows(book.contacts(), listing::contactColumns())};
    }
    OperationBook& ops = book.operations();
    ops.EcritOperation();
    if (!listing::hasWholeOperation(ops.list()))
        return std::nullopt;
    return ListRequest{false, listing::rows(ops.list(), listing::operationColumns())};
}

void chooseFromList(RecordBook& book, int number)
{
    if (number < 0)
        return;
    if (book.page() == RecordBook::Page::Contacts) {
        if (number < book.recordCount())
            book.goToRecord(number);
        return;
    }
    book.operations().goTo(number);
}

} // namespace recordcommands

} // namespace tarvik
