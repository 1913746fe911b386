#pragma once

#include "book/record_book.h"

#include <QMap>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTimeEdit;

namespace tarvik {

class AnsiPlainTextEdit;

// The record window: shows one contact (or, on its second page, one
// operation) of the record book it is given, and reports every edit to it.
class TFiche : public QWidget
{
    Q_OBJECT
public:
    explicit TFiche(RecordBook& book, QWidget* parent = nullptr);

    // The second page, built by the caller: the window shows it, refreshes it
    // with the rest and gives it the focus after its moves.
    void setOperationsPage(QWidget* page, std::function<void()> refresh,
                           std::function<void()> focus);

    // Runs a command on the book through the error boundary, then shows the
    // book's state again.
    bool run(const std::function<void()>& command);

    // Copies the shown contact (and operation) into the controls.
    void refresh();
    void refreshPickLists();
    void refreshCounters();

    // The moves of the record window, with their focus rules.
    void previous();
    void next();
    void first();
    void last();
    void addRecord();
    void showContactsPage();
    void showOperationsPage();
    void showEntryTab();    // lower tab set: contact entry
    void showFreeTextTab(); // lower tab set: free text
    void validate();        // "Valider histor."
    void focusAfterMove();

signals:
    void listRequested(); // F2
    void pageChanged();   // contacts or operations page shown
    void captionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildContactsPage();
    QLayout* buildCounterLine();
    QLayout* buildIdentity();
    QWidget* buildSeparator();
    QWidget* buildEntryTab();
    int addAppendedRows(QGridLayout* grid, int row);
    int addFollowupRows(QGridLayout* grid, int row);
    QWidget* buildFreeTextTab();
    QWidget* buildHistory();
    void connectRecordEdits();
    QLineEdit* lineEdit(const char* name, contact::Offset field);
    QComboBox* pickCombo(const char* name, contact::Offset field, RecordBook::Edit how);
    QComboBox* appendCombo(const char* name, contact::Offset field);
    void installKeyFilters();
    void deleteHistorySelection();
    // Tab stops of the history memo that line up the columns of its entries.
    void applyHistoryTabs();

    RecordBook& m_book;
    bool m_updating = false;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_contactsPage = nullptr;
    QWidget* m_operationsPage = nullptr;
    std::function<void()> m_refreshOperations;
    std::function<void()> m_focusOperations;
    QStackedWidget* m_lowerTabs = nullptr;
    QList<QLabel*> m_counterLabels;
    QMap<int, QLineEdit*> m_edits;  // by field offset
    QMap<int, QComboBox*> m_combos; // by field offset
    QList<QComboBox*> m_appendCombos;
    QDateEdit* m_contactDate = nullptr;
    QTimeEdit* m_contactTime = nullptr;
    QDateEdit* m_followupDate = nullptr;
    QTimeEdit* m_followupTime = nullptr;
    QCheckBox* m_alert = nullptr;
    QCheckBox* m_saleClosed = nullptr;
    AnsiPlainTextEdit* m_history = nullptr;
    AnsiPlainTextEdit* m_freeText = nullptr;
    QPushButton* m_validate = nullptr;
    QWidget* m_separator = nullptr;
};

} // namespace tarvik
