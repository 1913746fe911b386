#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace tarvik {

// The program's help: French pages shipped in the resources under ":/help",
// a contents tree, a keyword index and a page viewer. One window at most; it
// is not modal, so the user can keep it open beside the record window.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    enum View { Contents, Search, HelpOnHelp };

    static void showHelp(View view, QWidget* parent);
    // The open window, or null before the first showHelp.
    static HelpWindow* instance();

    // Keywords of all pages with the page (and anchor) each leads to, sorted.
    static QList<QPair<QString, QString>> keywords();

    void setView(View view);
    void showPage(const QString& page);
    QString currentPage() const;

private:
    explicit HelpWindow(QWidget* parent);
    void fillContents();
    void fillKeywords();
    void filterKeywords(const QString& text);
    void openSelectedKeyword();

    QTabWidget* m_tabs;
    QTreeWidget* m_contents;
    QLineEdit* m_keyword;
    QListWidget* m_keywordList;
    QTextBrowser* m_browser;
};

} // namespace tarvik
