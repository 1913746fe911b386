#pragma once

#include "activity/time_file.h"

#include <QDialog>

class QTableView;

namespace tarvik {

class RecordBook;
class TimeTableModel;
namespace print {
class PrintHost;
}

// "Rapport d'activité": the day table of the activity report, kept by the
// record book (which reads its time file at start and writes it at closing).
// Created at start and kept for the whole run, hidden until asked for.
class TRapport : public QDialog
{
    Q_OBJECT
public:
    explicit TRapport(RecordBook& book, QWidget* parent = nullptr);
    ~TRapport() override;

    const activity::TimeTable& table() const;
    // Shows the table again after the book changed it (its load at start).
    void refresh();
    // Asks for the printer and prints the table; nothing when cancelled.
    void Imprime(print::PrintHost& host);

    // The menu commands of the record window: today's row, then the window
    // shown modally / the table printed.
    void Rapport1();
    void ImpRapport(print::PrintHost& host);

    QTableView* grid() const { return m_grid; }

private:
    RecordBook& m_book;
    TimeTableModel* m_model = nullptr;
    QTableView* m_grid = nullptr; // StringGrid1
};

} // namespace tarvik
