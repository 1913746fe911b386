#include "selection/ui/selection_commands.h"

#include "book/record_book.h"
#include "platform/prompter.h"
#include "platform/ui/command_guard.h"
#include "selection/filtered_moves.h"
#include "selection/search.h"
#include "selection/sort.h"
#include "selection/ui/filter_dialogs.h"
#include "selection/ui/list_windows.h"
#include "selection/ui/search_dialogs.h"
#include "selection/ui/sort_dialog.h"
#include "storage/ansi.h"

namespace tarvik {

namespace selectionui {

void chooseContactMode(RecordBook& book, selection::Mode mode, QWidget* parent)
{
    if (mode == selection::Postcode) {
        if (const auto value = TFcp::ask(parent, book.postcodeFilter()))
            book.setPostcodeFilter(*value);
    } else if (mode == selection::Town) {
        if (const auto value = TVille::ask(parent, book.townFilter()))
            book.setTownFilter(*value);
    }
    {
        // The follow-up modes sort the whole file first.
        WaitCursor wait;
        book.SetSel(mode);
    }
    book.Premier();
}

void chooseOperationMode(RecordBook& book, operations::Selection mode, QWidget* parent)
{
    OperationBook& ops = book.operations();
    ops.SetOpr(mode);
    if (mode == operations::Selection::OneType) {
        const auto value =
            TSTyp::ask(parent, book.pickLists()[settings::Operation], ops.typeFilter());
        if (value)
            ops.setTypeFilter(*value);
    }
    ops.Premier();
}

void searchName(RecordBook& book, QWidget* parent)
{
    const QByteArray query = TRNom::ask(parent);
    if (!query.isEmpty())
        book.RechNom(query);
}

void searchPhone(RecordBook& book, QWidget* parent)
{
    const QByteArray query = TRTel::ask(parent);
    if (!query.isEmpty())
        book.RechTel(query);
}

void searchDecisionMaker(RecordBook& book, QWidget* parent)
{
    const QByteArray query = TRDeci::ask(parent);
    if (!query.isEmpty())
        book.RechDeci(query);
}

void searchSummary(RecordBook& book, QWidget*)
{
    const std::optional<QString> typed = book.prompter().inputText(
        QStringLiteral("Rechercher résumé"), QStringLiteral("Résumé"), QString());
    if (!typed || typed->isEmpty())
        return;
    QByteArray query;
    if (!ansi::fromUnicode(*typed, query)) {
        // No stored summary can hold a character outside the file's code page.
        QString shown = *typed;
        for (QChar& c : shown)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 'a' + 'A');
        book.prompter().information(QStringLiteral("Fiche ") + shown +
                                    QStringLiteral(" non trouvée"));
        return;
    }
    book.RechResume(query);
}

void searchNumber(RecordBook& book, QWidget* parent)
{
    const QByteArray typed = TRNum::ask(parent);
    if (!typed.isEmpty())
        book.RechNum(typed);
}

void sort(RecordBook& book, QWidget* parent)
{
    const std::optional<sorting::Key> key = sorting::keyAt(TTri::ask(parent));
    if (!key)
        return;
    WaitCursor wait;
    book.Trier(*key);
}

void showList(RecordBook& book, QWidget* parent)
{
    if (book.page() == RecordBook::Page::Contacts) {
        book.EcritFiche();
        const int chosen = TFListe::choose(book.contacts(), parent);
        if (chosen >= 0 && chosen < book.recordCount())
            book.goToRecord(chosen);
        return;
    }
    OperationBook& ops = book.operations();
    ops.EcritOperation();
    // Fewer lines than one whole operation block: nothing to list.
    if (ops.list().size() < 10)
        return;
    const int chosen = TFListe2::choose(ops.list(), parent);
    if (chosen >= 0)
        ops.goTo(chosen);
}

} // namespace selectionui

} // namespace tarvik
