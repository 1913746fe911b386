#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tarvik {

// Every menu command, button and key handler runs its work through here: an
// exception never crosses the event loop; its text is shown in a box titled
// "Tarvik". Returns false when the work failed.
bool runGuarded(QWidget* parent, const std::function<void()>& work);

// Shows the wait cursor for the life of the guard.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace tarvik
