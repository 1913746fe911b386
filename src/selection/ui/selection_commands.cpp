#include "selection/ui/selection_commands.h"

#include "book/record_book.h"
#include "book/record_commands.h"
#include "platform/ui/command_guard.h"
#include "selection/filtered_moves.h"
#include "selection/search.h"
#include "selection/sort.h"
#include "selection/ui/filter_dialogs.h"
#include "selection/ui/list_windows.h"
#include "selection/ui/search_dialogs.h"
#include "selection/ui/sort_dialog.h"

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
    recordcommands::searchSummary(book);
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
    const std::optional<recordcommands::ListRequest> list = recordcommands::openList(book);
    if (!list)
        return;
    const int chosen =
        list->contacts ? TFListe::choose(list->rows, parent) : TFListe2::choose(list->rows, parent);
    recordcommands::chooseFromList(book, chosen);
}

} // namespace selectionui

} // namespace tarvik
