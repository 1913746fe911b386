#pragma once

#include "print/time_file.h"

#include <QDialog>

class Clock;
class QTableView;
class RecordBook;
class TimeTableModel;
namespace print {
class PrintHost;
}

// "Rapport d'activité": the day table of the activity report. Created at
// start and kept for the whole run, hidden until asked for; its table is
// loaded from the time file when the record window is first activated and
// written back at closing.
class TRapport : public QDialog
{
    Q_OBJECT
public:
    explicit TRapport(const Clock& clock, QWidget* parent = nullptr);
    ~TRapport() override;

    activity::TimeTable& table() { return m_table; }
    const activity::TimeTable& table() const { return m_table; }

    // Loads "Tarvik.tps" of `folder` and gives today's time spent to the
    // record book. The user is told when the file is left unread.
    void Charge(const QString& folder, RecordBook& book);
    // Today's row from the record book's activity counters.
    void Init(const RecordBook& book);
    // Writes "Tarvik.tps" of `folder`; throws TarvikError when it cannot.
    void Sauve(const QString& folder) const;
    // Asks for the printer and prints the table; nothing when cancelled.
    void Imprime(print::PrintHost& host);

    // The menu commands of the record window: today's row, then the window
    // shown modally / the table printed.
    void Rapport1(const RecordBook& book);
    void ImpRapport(const RecordBook& book, print::PrintHost& host);

    QTableView* grid() const { return m_grid; }

private:
    void refresh();

    const Clock& m_clock;
    activity::TimeTable m_table;
    TimeTableModel* m_model = nullptr;
    QTableView* m_grid = nullptr; // StringGrid1
};
