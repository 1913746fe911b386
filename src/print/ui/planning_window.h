#pragma once

#include "print/planning.h"

#include <QDialog>
#include <memory>

class QCalendarWidget;
class QTableWidget;

namespace tarvik {

class RecordBook;

// "Planning": the contacts following up on the day picked in the calendar,
// in follow-up order; a double-click on one of them chooses it.
class TPlanning : public QDialog
{
    Q_OBJECT
public:
    explicit TPlanning(QWidget* parent = nullptr);
    ~TPlanning() override;

    // Builds the planning list of `contacts` and shows `today`.
    void Init(const BlockList& contacts, const QDate& today);
    // Fills the grid with the entries whose follow-up date is `day`.
    void LitJour(const QByteArray& day);
    // -1 when nothing was chosen, else the chosen record number.
    int Result() const { return m_chosen ? m_number : -1; }

    QCalendarWidget* calendar() const { return m_calendar; }
    QTableWidget* grid() const { return m_grid; }

    // The record window's "Planning": writes the shown record back, lets the
    // user choose, and makes the chosen contact current. True when one was.
    static bool Relances(RecordBook& book, QWidget* parent);

private:
    void Calendar1Change();
    void StringGrid1DblClick();

    std::unique_ptr<planning::PlanningList> m_list;
    QCalendarWidget* m_calendar = nullptr; // Calendar1
    QTableWidget* m_grid = nullptr;        // StringGrid1
    bool m_chosen = false;
    int m_number = -1;
};

} // namespace tarvik
