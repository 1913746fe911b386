#pragma once

#include "storage/block_list.h"
#include "sync/contact_sync.h"

namespace tarvik::sync {

// The follow-ups of the contacts as tasks of one calendar, after the
// contacts: a follow-up set or moved in the file is sent; a task moved on the
// server moves the follow-up; a task completed there (a phone's task app)
// clears the follow-up and stays as it was left; a contact gone on either
// side takes its task with it. Adds its counts to `report`.
class TaskSync
{
public:
    TaskSync(DavClient& client, RecordIds& ids) : m_client(client), m_ids(ids) {}
    void setChoices(const Choices& choices, Choice prefer)
    {
        m_choices = choices;
        m_prefer = prefer;
    }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void setCancel(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }

    // Throws TarvikError when the calendar cannot be read (nothing changed).
    void run(BlockList& list, DavState& state, SyncReport& report);

private:
    class Run;

    DavClient& m_client;
    RecordIds& m_ids;
    Choices m_choices;
    Choice m_prefer = Choice::Undecided;
    bool m_readOnly = false;
    std::function<bool()> m_cancelled;
};

} // namespace tarvik::sync
