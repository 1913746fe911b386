#pragma once

#include "book/record_book.h"

#include <QMap>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
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
    QLineEdit* lineEdit(const char* name, contact::Offset field);
    QComboBox* pickCombo(const char* name, contact::Offset field, RecordBook::Edit how);
    QComboBox* appendCombo(const char* name, contact::Offset field);
    void installKeyFilters();
    void deleteHistorySelection();
    // Tab stops of the history memo that line up the columns of its entries.
    void applyHistoryTabs();

    RecordBook& m_book;
    bool m_updating = false;

    QStackedWidget* m_pages = nullptr;   // PageControl1
    QWidget* m_contactsPage = nullptr;   // TabSheet1
    QWidget* m_operationsPage = nullptr; // TabSheet2
    std::function<void()> m_refreshOperations;
    std::function<void()> m_focusOperations;
    QStackedWidget* m_lowerTabs = nullptr;   // PageControl2
    QList<QLabel*> m_counterLabels;          // Label26 .. Label30
    QMap<int, QLineEdit*> m_edits;           // by field offset
    QMap<int, QComboBox*> m_combos;          // by field offset
    QList<QComboBox*> m_appendCombos;        // ComboBox6 .. ComboBox8
    QDateEdit* m_contactDate = nullptr;      // DateTimePicker1
    QTimeEdit* m_contactTime = nullptr;      // DateTimePicker2
    QDateEdit* m_followupDate = nullptr;     // DateTimePicker3
    QTimeEdit* m_followupTime = nullptr;     // DateTimePicker4
    QCheckBox* m_alert = nullptr;            // CheckBox1
    QCheckBox* m_saleClosed = nullptr;       // CheckBox2
    AnsiPlainTextEdit* m_history = nullptr;  // Memo1
    AnsiPlainTextEdit* m_freeText = nullptr; // Memo2
    QPushButton* m_validate = nullptr;       // Button1
    QWidget* m_separator = nullptr;          // Shape1
};

} // namespace tarvik
