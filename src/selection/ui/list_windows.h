#pragma once

#include "selection/list_rows.h"
#include "storage/block_list.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class QFrame;
class QPushButton;
class QTableWidget;

namespace tarvik {

// A grid of every block of a list, one row per block in list order, and the
// choice of one by a double-click on its row. Panel1 holds Button1 "Fermer";
// StringGrid1 shows the headings in its header row, the block's number in the
// hidden column 0, a running or block number in column 1 and fields after it.
// Table row r - 1 is the grid's row r of the r-th block.
class ListWindow : public QDialog
{
    Q_OBJECT
public:
    // The number of the double-clicked block, or -1 when the window was closed
    // without a choice ("Fermer", Escape, the close box).
    int Result() const { return m_chosen ? m_result : -1; }

    QTableWidget* grid() const { return m_grid; }
    QPushButton* closeButton() const { return m_close; }

protected:
    struct Layout
    {
        QString caption;
        QStringList headings; // one per column; the first two are blank
        QList<int> widths;    // initial widths
    };
    ListWindow(const Layout& layout, QWidget* parent);
    void fill(const QList<listing::Row>& rows);
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void choose(int row);
    void fitColumns();

    Layout m_layout;
    QFrame* m_panel;
    QPushButton* m_close;
    QTableWidget* m_grid;
    QList<int> m_numbers; // of the rows filled, -1 where a row cannot be chosen
    bool m_chosen = false;
    int m_result = -1;
};

// "Liste des contacts".
class TFListe : public ListWindow
{
    Q_OBJECT
public:
    explicit TFListe(QWidget* parent = nullptr);
    void Init(const BlockList& contacts);
    // Shows the window modally over the rows; the record number chosen or -1.
    static int choose(const QList<listing::Row>& rows, QWidget* parent);
};

// "Liste des opérations".
class TFListe2 : public ListWindow
{
    Q_OBJECT
public:
    explicit TFListe2(QWidget* parent = nullptr);
    void Init(const BlockList& operations);
    static int choose(const QList<listing::Row>& rows, QWidget* parent);
};

} // namespace tarvik
