#pragma once

#include "platform/clock.h"
#include "platform/prompter.h"
#include "storage/block_book_rules.h"
#include "storage/block_index.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"
#include "storage/integrity.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <functional>
#include <utility>

namespace tarvik {

// The records of one data file: its block list, the current record number,
// the record count and the shown record, with the moves, the add, the delete,
// the load and the save that both record kinds share. The flags are the
// record book's, shared by the contacts and the operations of one file.
//
// `Codec` says how one record is read from and written to its block:
//   using Record = ...;                       the shown record's values
//   static constexpr BookRules Rules{...};    what differs between the books
//   static Record blank(const Clock&);        a number without a block
//   static void read(const BlockList&, qsizetype header, Record&);
//   static QList<QByteArray> lines(const Record&, int number);  header to trailer
//   static QByteArray& code(Record&);         the customer or operation code
template <typename Codec> class BlockBook
{
public:
    using Record = typename Codec::Record;
    static constexpr BookRules Rules = Codec::Rules;
    static constexpr int MaxRecords = 9999;

    // The number a filtered move reaches from `current`, or `current` itself
    // when no record qualifies.
    using MoveTarget =
        std::function<int(const BlockList& list, int current, int count, blocks::Direction)>;

    BlockBook(BookFlags& flags, const Clock& clock, Prompter& prompter)
        : m_flags(flags), m_clock(clock), m_prompter(prompter), m_shown(Codec::blank(clock))
    {
    }
    virtual ~BlockBook() = default;
    BlockBook(const BlockBook&) = delete;
    BlockBook& operator=(const BlockBook&) = delete;

    const BlockList& list() const { return m_list; }
    int current() const { return m_current; }
    int count() const { return m_count; }
    const Record& shown() const { return m_shown; }

    // Called each time a record is read for show.
    void setOnRead(std::function<void()> onRead) { m_onRead = std::move(onRead); }

    // Shows the record at the current number: its block, or a blank record
    // when it has none. Drops an edit not written back.
    void read()
    {
        changed() = false;
        Record record = Codec::blank(m_clock);
        if (m_onRead)
            m_onRead();
        const qsizetype at = blocks::find(m_list, blocks::header(m_current, Rules.digits));
        if (at >= 0)
            Codec::read(m_list, at, record);
        if ((at >= 0 || Rules.codeWithoutBlock) && Codec::code(record).isEmpty())
            Codec::code(record) = QByteArray::number(nextCode());
        m_shown = std::move(record);
        recordRead();
    }

    // `record` written into `list` as record `number`, where a write back
    // puts it (also for copies of the list that the book does not hold).
    static void writeRecord(BlockList& list, const Record& record, int number)
    {
        const QList<QByteArray> block = Codec::lines(record, number);
        if (Rules.writePlace == WritePlace::InPlace) {
            blocks::replaceBlock(list, block);
        } else {
            blocks::deleteBlock(list, block.first());
            for (const QByteArray& line : block)
                list.append(line);
        }
    }

    // Writes the shown record into its block when it was edited.
    void writeBack()
    {
        if (!changed())
            return;
        m_flags.fileModified = true;
        writeRecord(m_list, m_shown, m_current);
        // The shown record now matches its block: a later write back, after
        // the current number has moved, must not copy it into another block.
        changed() = false;
    }

    // 1 + the largest code of the list (the line after each header), 10000 at
    // the least; a code that is empty or not an integer is ignored.
    int nextCode() const { return blocks::nextCode(m_list); }

    // A move over all records, or through `filtered` when given. Writes the
    // shown record back first, then shows the record reached.
    void move(blocks::Direction direction, const MoveTarget& filtered = {})
    {
        if (guarded(direction))
            return;
        writeBack();
        const int target =
            filtered ? filtered(m_list, m_current, m_count, direction) : plainTarget(direction);
        setCurrent(target);
        read();
    }
    // The record reached by a move computed elsewhere; it is read again even
    // when the number does not change.
    void moveTo(int number)
    {
        writeBack();
        setCurrent(number);
        read();
    }
    // A record chosen by number (list window, search); out of range: nothing.
    void goTo(int number)
    {
        if (number < 0 || number >= m_count)
            return;
        moveTo(number);
    }

    // A new record after the last one, "Le fichier est plein" past 9999. Its
    // block is written at once: a record left without an edit must not leave
    // a hole in the numbering that hides the records after it.
    void add()
    {
        writeBack();
        if (m_count > MaxRecords - 1) {
            m_prompter.information(QStringLiteral("Le fichier est plein"));
            return;
        }
        m_list.append(QByteArray(" "));
        setCurrent(m_count);
        ++m_count;
        read();
        if (Codec::code(m_shown).isEmpty())
            Codec::code(m_shown) = QByteArray::number(nextCode());
        changed() = true;
        writeBack();
    }

    // Deletes the shown record (the caller asked); the records above move
    // down by one.
    void remove()
    {
        // The edits of the deleted record go with it; after the renumbering
        // its number belongs to the next record.
        changed() = false;
        blocks::deleteBlock(m_list, blocks::header(m_current, Rules.digits));
        m_flags.fileModified = true;
        renumberAfter(m_current);
        if (m_current > m_count - 1)
            setCurrent(m_count - 1);
        read();
    }

    // Empties the list for a new file: one blank record.
    void clear()
    {
        // What the save question did not save is dropped.
        changed() = false;
        m_list = BlockList();
        m_count = 1;
        setCurrent(0);
        read();
    }

    // Takes `lines` as the list (a file already read), record 0 shown.
    void setLines(const BlockList& lines)
    {
        changed() = false;
        m_list = lines;
        m_count = std::max(1, blocks::countHeaders(m_list));
        m_current = 0;
        read();
    }

    // Whole-list changes. `change` rearranges the blocks and returns how many
    // records there are; the record at the current number is shown after it.
    void reorder(const std::function<int(BlockList&)>& change)
    {
        // The shown record goes back into its block first: afterwards another
        // record may stand at its number, and the edits must stay with it.
        writeBack();
        m_count = std::max(1, change(m_list));
        if (m_current > m_count - 1)
            setCurrent(m_count - 1);
        read();
        m_flags.fileModified = true;
    }
    // `add` appends records, updating the count and the number to show. What
    // was appended before a failure stays and marks the file modified.
    void append(const std::function<void(BlockList&, int& count, int& last)>& add)
    {
        // The shown record goes back into its own block before any is
        // appended: the first record appended to a new file takes the number 0.
        writeBack();
        int last = m_current;
        try {
            add(m_list, m_count, last);
        } catch (...) {
            setCurrent(std::max(0, std::min(last, m_count - 1)));
            // The record now current is shown: the one shown before belongs
            // to another number, and an edit would write it over this one.
            read();
            if (blocks::countHeaders(m_list) > 0)
                m_flags.fileModified = true;
            throw;
        }
        setCurrent(last);
        // Even when a table stopped in the middle, the blocks appended so far
        // are in the list: the file counts as modified so that they can be saved.
        m_flags.fileModified = true;
    }

protected:
    // The integrity steps of one kind of file, run on the lines just read;
    // true when they changed the list.
    using Repair = std::function<bool(BlockList& list, int& count)>;

    // Takes the lines read from a file, repairs them and shows record 0. An
    // edit of the previous file is dropped with it.
    void loadLines(BlockList lines, const Repair& repair)
    {
        changed() = false;
        m_list = std::move(lines);
        // One pass over the headers and trailers, kept with the list for the
        // count and the checks that follow.
        blocks::BlockIndex::of(m_list, Rules.digits);
        m_count = blocks::countHeaders(m_list);
        if (repair && repair(m_list, m_count))
            m_flags.fileModified = true;
        // A number without a block below the highest one would leave the
        // records behind it out of reach of the moves.
        if (integrity::closeGaps(m_list, m_count, Rules.digits))
            m_flags.fileModified = true;
        if (m_count < 1)
            m_count = 1;
        m_current = 0;
        read();
    }

    // Writes the shown record back, drops leading blank lines and writes the
    // list whole. Throws TarvikError when the file cannot be written; the old
    // file then stays whole.
    void saveTo(const QString& path)
    {
        writeBack();
        dropLeadingBlanks();
        blocks::saveFile(path, m_list);
    }

    void renumberAfter(int deleted) { integrity::renumber(m_list, deleted, m_count, Rules.digits); }
    void dropLeadingBlanks() { blocks::squize(m_list); }

    // The shown record for an edit; the caller sets the flags the edit sets.
    Record& editable() { return m_shown; }
    bool& changed() { return m_flags.*(Rules.changed); }
    BookFlags& flags() { return m_flags; }
    const Clock& clock() const { return m_clock; }
    Prompter& prompter() { return m_prompter; }

    // Runs after every read, for what a book shows beside the record.
    virtual void recordRead() {}

    // The only way the current record number changes.
    void setCurrent(int number)
    {
        // An edit still pending belongs to the block the shown record was
        // read from: it goes there before the number changes, never to the
        // next one.
        if (number != m_current)
            writeBack();
        m_current = number;
    }

private:
    bool guarded(blocks::Direction direction) const
    {
        using blocks::Direction;
        if (m_count >= 2)
            return false;
        return direction == Direction::Last ||
               (direction == Direction::Next && Rules.moveGuard == MoveGuard::NextAndLast);
    }

    int plainTarget(blocks::Direction direction) const
    {
        switch (direction) {
        case blocks::Direction::Previous:
            return std::max(0, m_current - 1);
        case blocks::Direction::Next:
            return std::min(m_count - 1, m_current + 1);
        case blocks::Direction::First:
            return 0;
        case blocks::Direction::Last:
            return m_count - 1;
        }
        return m_current;
    }

    BookFlags& m_flags;
    const Clock& m_clock;
    Prompter& m_prompter;
    BlockList m_list;
    int m_current = 0;
    int m_count = 1;
    Record m_shown;
    std::function<void()> m_onRead;
};

} // namespace tarvik
