#pragma once

#include "operations/operation_book.h"
#include "platform/ui/font_text_measure.h"
#include "settings/settings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLineEdit;
class QTableWidget;
class QToolButton;

namespace tarvik {

class AnsiPlainTextEdit;

// The operations page of the record window: shows the book's shown operation
// and hands every edit to the book. The record window's navigation keys are
// left to the record window.
class OperationsPage : public QWidget
{
    Q_OBJECT
public:
    // `lists` is read again at every refresh, so that the type drop-down
    // follows the OPERATION pick list when it is edited.
    OperationsPage(OperationBook& book, const settings::PickLists& lists,
                   QWidget* parent = nullptr);
    ~OperationsPage() override;

    // Copies the shown operation into the controls; marks nothing changed.
    void refresh();
    // The summary field Edit17 takes the focus (after a move or a new operation).
    void focusSummary();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildOperationGroup();
    QGroupBox* buildDatesGroup();
    void buildMemos();
    void buildEntryGrid();
    QFrame* buildEntryPanel();
    void arrange(QGroupBox* operation, QGroupBox* dates, QFrame* entryPanel);
    void connectEdits();
    QLineEdit* textEdit(const char* name, operation::Offset field);
    QLineEdit* costEdit(const char* name, operation::Offset field);
    QDateEdit* dateEdit(const char* name);
    void addEntry();
    void removeSelectedEntry();
    void showEntries();
    void showTypeList();

    OperationBook& m_book;
    const settings::PickLists& m_lists;
    FontTextMeasure m_measure;
    bool m_updating = false;

    QLineEdit* m_code = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_summary = nullptr;
    QLineEdit* m_fixedCost = nullptr;
    QLineEdit* m_unitCost = nullptr;
    QDateEdit* m_start = nullptr;
    QDateEdit* m_end = nullptr;
    QCheckBox* m_urgent = nullptr;
    AnsiPlainTextEdit* m_description = nullptr;
    AnsiPlainTextEdit* m_highlights = nullptr;
    QTableWidget* m_grid = nullptr;
    QDateEdit* m_entryDate = nullptr;
    QLineEdit* m_entryLabel = nullptr;
    QLineEdit* m_entryAmount = nullptr;
    QToolButton* m_ok = nullptr;
    QList<QByteArray> m_typeItems; // the items ComboBox10 offers now
};

} // namespace tarvik
