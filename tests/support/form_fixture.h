#pragma once

#include "app/main_form.h"
#include "book/record_book.h"

#include <memory>
#include <utility>

namespace tarvik {

// A main window with a record book of its own, as main() pairs them: the
// window that was there goes first, then its book; the new book is made
// before the window that shows it.
template <typename... Rest>
void startForm(std::unique_ptr<TMainForm>& form, std::unique_ptr<RecordBook>& book,
               Prompter& prompter, const Clock& clock, Rest&&... rest)
{
    form.reset();
    book = std::make_unique<RecordBook>(prompter, clock);
    form = std::make_unique<TMainForm>(*book, prompter, clock, std::forward<Rest>(rest)...);
}

} // namespace tarvik
